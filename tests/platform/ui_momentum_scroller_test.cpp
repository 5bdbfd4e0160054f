// The momentum scroller alone: finger events and timer ticks in, offsets
// out, within the bounds its owner gives.
#include "platform/ui/CMomentumScroller.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct CScrollerProbe {
    int limit = 1000;
    std::vector<int> offsets; // every offset the owner was told about
    CMomentumScroller scroller{[this] { return limit; },
                               [this](int oldOffset, int newOffset) {
                                   EXPECT_EQ(oldOffset, offsets.empty() ? 0 : offsets.back());
                                   offsets.push_back(newOffset);
                               }};

    // An upward fling of 150 pixels in 30 ms from 'at': a glide towards the end.
    bool Fling(std::uint64_t at) {
        scroller.Press({0, 400}, at);
        scroller.Drag({0, 350}, at + 10);
        scroller.Drag({0, 300}, at + 20);
        return scroller.Release({0, 250}, at + 30);
    }
    // Ticks until the glide ends; returns the tick count.
    int TickOut(std::uint64_t from) {
        int ticks = 0;
        while (ticks < 1000 && scroller.Tick(from + ++ticks * CMouseTracker::kStepIntervalMs)) {
        }
        return ticks;
    }
};
} // namespace

TEST(MomentumScrollerTest, AFlingGlidesOnTowardsTheEndUntilItWearsOutOrMeetsTheEnd) {
    CScrollerProbe probe;
    ASSERT_TRUE(probe.Fling(0));
    EXPECT_EQ(probe.scroller.Offset(), 150) << "the content followed the finger first";
    probe.TickOut(30);
    EXPECT_FALSE(probe.scroller.IsGliding());
    const int rest = probe.scroller.Offset();
    EXPECT_GT(rest, 250);
    EXPECT_LT(rest, 150 + static_cast<int>(CMouseTracker::kMaxSpeed * CMouseTracker::kDecayMs) + 2);
    for (size_t i = 1; i < probe.offsets.size(); ++i)
        EXPECT_GT(probe.offsets[i], probe.offsets[i - 1]) << "a glide never turns back";

    // Near the end the same fling stops at the limit on the tick that meets it.
    probe.limit = rest + 200;
    ASSERT_TRUE(probe.Fling(10000));
    const int ticks = probe.TickOut(10030);
    EXPECT_EQ(probe.scroller.Offset(), probe.limit);
    EXPECT_FALSE(probe.scroller.IsGliding());
    EXPECT_EQ(probe.offsets.back(), probe.limit);
    EXPECT_LE(ticks, 20) << "the glide ends at the end, not when it wears out";

    // A press on gliding content stops it and says so; on resting content it does not.
    ASSERT_TRUE(probe.Fling(20000));
    probe.scroller.ScrollTo(0);
    EXPECT_TRUE(probe.scroller.Press({0, 0}, 20100));
    EXPECT_FALSE(probe.scroller.IsGliding());
    EXPECT_FALSE(probe.scroller.Press({0, 0}, 20200));
}

TEST(MomentumScrollerTest, OffsetsStayWithinTheOwnersBoundsWithNoSlackAndLiftingNeverGlides) {
    CScrollerProbe probe;
    probe.limit = 300;
    probe.scroller.ScrollTo(-20);
    EXPECT_EQ(probe.scroller.Offset(), 0);
    EXPECT_TRUE(probe.offsets.empty()) << "no change, no callback";
    probe.scroller.ScrollTo(5000);
    EXPECT_EQ(probe.scroller.Offset(), 300);
    probe.limit = -10; // content shorter than the window
    probe.scroller.ScrollTo(40);
    EXPECT_EQ(probe.scroller.Offset(), 0);

    // A drag the owner keeps for itself moves nothing until it says so.
    probe.limit = 300;
    probe.scroller.Press({0, 200}, 0);
    EXPECT_EQ(probe.scroller.Track({0, 100}, 10), -100);
    EXPECT_EQ(probe.scroller.Offset(), 0);
    EXPECT_EQ(probe.scroller.Lift({0, 50}, 20), -50);
    EXPECT_FALSE(probe.scroller.IsGliding()) << "a fast lift still stops dead";
    EXPECT_FALSE(probe.scroller.Tick(40));
    EXPECT_EQ(probe.scroller.Offset(), 0);
    EXPECT_FALSE(probe.scroller.Tracker().IsTap());

    // Pulled down past the top the content stays; the way back moves it at once, with no slack.
    probe.scroller.Press({0, 100}, 100);
    probe.scroller.Drag({0, 400}, 110);
    EXPECT_EQ(probe.scroller.Offset(), 0);
    probe.scroller.Drag({0, 350}, 120);
    EXPECT_EQ(probe.scroller.Offset(), 50);
}
