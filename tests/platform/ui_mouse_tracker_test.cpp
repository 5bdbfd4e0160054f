// The finger tracker alone: taps, drags, momentum and the two answers a
// window asks before treating a release as a tap.
#include "platform/ui/CMouseTracker.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MouseTrackerTest, EachPressToReleaseIsATapADragOrAFlingAndTheContentFollowsTheFinger) {
    enum Kind { Press, Move, Release };
    struct Event {
        Kind kind;
        int x, y;
        std::uint64_t t;
        int dy; // what Move and Release return
    };
    struct Case {
        const char* what;
        std::vector<Event> events;
        bool moved, moving;
    };
    const Case cases[] = {
        {"eight pixels of wander is still a tap",
         {{Press, 100, 100, 0, 0}, {Move, 108, 92, 10, 0}, {Release, 103, 97, 20, 0}}, false, false},
        {"nine pixels sideways is a move that scrolls nothing",
         {{Press, 100, 100, 0, 0}, {Move, 109, 100, 10, 0}, {Release, 109, 100, 20, 0}}, true, false},
        {"nine pixels up catches up with the whole travel",
         {{Press, 100, 100, 0, 0}, {Move, 100, 91, 10, -9}, {Release, 100, 91, 1000, 0}}, true, false},
        {"a drag follows the finger both ways, held still at the end",
         {{Press, 100, 300, 0, 0}, {Move, 100, 305, 100, 0}, {Move, 100, 320, 200, 20},
          {Move, 100, 280, 300, -40}, {Release, 100, 280, 1000, 0}},
         true, false},
        {"0.2 px/ms stops dead", {{Press, 0, 400, 0, 0}, {Move, 0, 390, 50, -10}, {Release, 0, 380, 100, -10}},
         true, false},
        {"0.3 px/ms flings",
         {{Press, 0, 400, 1000, 0}, {Move, 0, 385, 1050, -15}, {Release, 0, 370, 1100, -15}}, true, true},
        {"fast, then held longer than the speed looks back",
         {{Press, 0, 400, 2000, 0}, {Move, 0, 200, 2010, -200}, {Move, 0, 200, 2020, 0},
          {Release, 0, 200, 2200, 0}},
         true, false},
    };
    CMouseTracker t; // one tracker for all: every press starts afresh
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const Event& e : c.events) {
            if (e.kind == Press)
                t.Press({e.x, e.y}, e.t);
            else
                EXPECT_EQ(e.kind == Move ? t.Move({e.x, e.y}, e.t) : t.Release({e.x, e.y}, e.t), e.dy) << e.t;
        }
        EXPECT_EQ(t.FingerMoved(), c.moved);
        EXPECT_EQ(t.IsTap(), !c.moved);
        EXPECT_EQ(t.IsMoving(), c.moving);
    }
}

TEST(MouseTrackerTest, MomentumRunsOnInTheDragDirectionDiesOutAndAPressOnItIsNoTap) {
    CMouseTracker t;
    EXPECT_EQ(t.Step(100), 0) << "no momentum, no movement";
    t.Press({0, 400}, 1000);
    t.Move({0, 350}, 1010);
    t.Move({0, 300}, 1020);
    t.Release({0, 250}, 1030); // 150 px in 30 ms, upwards
    ASSERT_TRUE(t.IsMoving());
    EXPECT_LT(t.Speed(), 0);
    EXPECT_EQ(t.Step(1030), 0) << "no time has passed";
    int total = 0;
    std::uint64_t now = 1030;
    for (int i = 0; i < 1000 && t.IsMoving(); ++i) {
        now += CMouseTracker::kStepIntervalMs;
        const int step = t.Step(now);
        EXPECT_LE(step, 0);
        total += step;
    }
    EXPECT_FALSE(t.IsMoving()) << "momentum must die out";
    EXPECT_LT(total, -100);
    EXPECT_GT(total, -static_cast<int>(CMouseTracker::kMaxSpeed * CMouseTracker::kDecayMs) - 2)
        << "it keeps scrolling only a little";

    // A release at the press's instant (a test that never advances the
    // clock) flings at the capped speed; a press then stops it.
    t.Press({0, 400}, 0);
    t.Move({0, 300}, 0);
    t.Release({0, 200}, 0);
    EXPECT_DOUBLE_EQ(t.Speed(), -CMouseTracker::kMaxSpeed);
    t.Press({50, 50}, 20);
    EXPECT_FALSE(t.IsMoving());
    EXPECT_TRUE(t.WasScrollingAtPress());
    t.Release({50, 50}, 30);
    EXPECT_FALSE(t.IsTap()) << "a press that stops the content is no tap";
    t.Press({50, 50}, 40);
    t.Release({50, 50}, 50);
    EXPECT_TRUE(t.IsTap()) << "the next press on resting content is";
}
