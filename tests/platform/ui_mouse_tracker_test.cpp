// The finger tracker alone: taps, drags, momentum and the two answers a
// window asks before treating a release as a tap.
#include "platform/ui/CMouseTracker.h"

#include <gtest/gtest.h>

TEST(MouseTrackerTest, AFingerThatStaysWithinEightPixelsIsATapAndOneMoreIsAMove) {
    CMouseTracker t;
    t.Press({100, 100}, 0);
    EXPECT_EQ(t.Move({108, 92}, 10), 0);
    EXPECT_EQ(t.Release({103, 97}, 20), 0);
    EXPECT_TRUE(t.IsTap());
    EXPECT_FALSE(t.FingerMoved());
    EXPECT_FALSE(t.IsMoving());

    // Nine pixels on either axis is a move; sideways it moves nothing.
    t.Press({100, 100}, 100);
    EXPECT_EQ(t.Move({109, 100}, 110), 0);
    t.Release({109, 100}, 120);
    EXPECT_TRUE(t.FingerMoved());
    EXPECT_FALSE(t.IsTap());
    t.Press({100, 100}, 200);
    EXPECT_EQ(t.Move({100, 91}, 210), -9) << "the content catches up with the whole travel";
    t.Release({100, 91}, 1000);
    EXPECT_FALSE(t.IsTap());
}

TEST(MouseTrackerTest, ADragBeyondTheSlopMovesTheContentWithTheFingerAndIsNoTap) {
    CMouseTracker t;
    t.Press({100, 300}, 0);
    EXPECT_EQ(t.Move({100, 305}, 100), 0); // inside the slop: still a tap
    const int first = t.Move({100, 320}, 200);
    EXPECT_EQ(first, 20) << "the content catches up with the finger once it moved";
    EXPECT_EQ(t.Move({100, 280}, 300), -40);
    t.Release({100, 280}, 1000); // held still a long time: no momentum
    EXPECT_TRUE(t.FingerMoved());
    EXPECT_FALSE(t.IsTap());
    EXPECT_FALSE(t.IsMoving());
}

TEST(MouseTrackerTest, ASidewaysMoveCountsAsMovedThoughOnlyTheVerticalScrolls) {
    CMouseTracker t;
    t.Press({100, 100}, 0);
    EXPECT_EQ(t.Move({150, 100}, 10), 0);
    t.Release({150, 100}, 20);
    EXPECT_TRUE(t.FingerMoved());
}

TEST(MouseTrackerTest, AQuickReleaseKeepsScrollingInTheDragDirectionThenStops) {
    CMouseTracker t;
    t.Press({0, 400}, 1000);
    t.Move({0, 350}, 1010);
    t.Move({0, 300}, 1020);
    t.Release({0, 250}, 1030); // 150 px in 30 ms, upwards
    ASSERT_TRUE(t.IsMoving());
    EXPECT_LT(t.Speed(), 0);
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
}

TEST(MouseTrackerTest, ASlowDragOrOneThatPausedBeforeTheReleaseStopsDead) {
    CMouseTracker t;
    // 20 pixels in 100 ms: 0.2 px/ms, under the fling speed.
    t.Press({0, 400}, 0);
    t.Move({0, 390}, 50);
    t.Release({0, 380}, 100);
    EXPECT_TRUE(t.FingerMoved());
    EXPECT_FALSE(t.IsMoving());
    // 30 pixels in 100 ms: 0.3 px/ms, a fling.
    t.Press({0, 400}, 1000);
    t.Move({0, 385}, 1050);
    t.Release({0, 370}, 1100);
    EXPECT_TRUE(t.IsMoving());
    // Fast, then held still for longer than the speed looks back: no fling.
    t.Press({0, 400}, 2000);
    t.Move({0, 200}, 2010);
    t.Move({0, 200}, 2020);
    t.Release({0, 200}, 2200);
    EXPECT_FALSE(t.IsMoving());
}

TEST(MouseTrackerTest, APressOnMovingContentStopsItAndIsReportedAsStillScrolling) {
    CMouseTracker t;
    t.Press({0, 400}, 0);
    t.Move({0, 300}, 5);
    t.Release({0, 200}, 10);
    ASSERT_TRUE(t.IsMoving());
    t.Press({50, 50}, 20);
    EXPECT_FALSE(t.IsMoving());
    EXPECT_TRUE(t.WasScrollingAtPress());
    t.Release({50, 50}, 30);
    EXPECT_FALSE(t.IsTap()) << "a press that stops the list is no tap";
    // The next press on resting content is a tap again.
    t.Press({50, 50}, 40);
    t.Release({50, 50}, 50);
    EXPECT_TRUE(t.IsTap());
}

TEST(MouseTrackerTest, StepsAtTheSameInstantOrWithoutMomentumMoveNothing) {
    CMouseTracker t;
    EXPECT_EQ(t.Step(100), 0);
    t.Press({0, 400}, 0);
    t.Move({0, 300}, 0);
    t.Release({0, 200}, 0); // a test that never advances the clock
    ASSERT_TRUE(t.IsMoving());
    EXPECT_DOUBLE_EQ(t.Speed(), -CMouseTracker::kMaxSpeed) << "the speed is capped";
    EXPECT_EQ(t.Step(0), 0);
}
