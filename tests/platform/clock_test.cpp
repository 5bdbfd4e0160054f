// The program clock: manual local time with computed weekdays, advancing,
// the core library's UTC seam and tick counts that never go back.
#include "core/UnixTime.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

namespace {
class ClockTest : public ::testing::Test {
protected:
    void TearDown() override { CClock::Instance().UseSystem(); }
};
} // namespace

TEST_F(ClockTest, AManualClockStandsStillUntilAdvancedAcrossDaysAndLeapDaysWithItsWeekdayComputed) {
    struct Step {
        std::int64_t advanceMs;
        int month, day, weekday, hour, minute, second;
    };
    const Step steps[] = {
        {0, 2, 28, 3, 23, 59, 59},                 // Wednesday
        {1000, 2, 29, 4, 0, 0, 0},                 // the leap day, a Thursday
        {2LL * 86400 * 1000 + 61000, 3, 2, 6, 0, 1, 1}, // Saturday
        {-5000, 3, 2, 6, 0, 1, 1},                 // time does not go back
    };
    CClock& clock = CClock::Instance();
    clock.UseManual({2024, 2, 28, 0 /* ignored */, 23, 59, 59, 250});
    EXPECT_TRUE(clock.IsManual());
    std::uint64_t ticks = clock.TickCount();
    for (const Step& s : steps) {
        SCOPED_TRACE(s.advanceMs);
        clock.Advance(s.advanceMs);
        ticks += s.advanceMs > 0 ? s.advanceMs : 0;
        const CLocalTime now = clock.LocalNow();
        EXPECT_EQ(now.year, 2024);
        EXPECT_EQ(now.month, s.month);
        EXPECT_EQ(now.day, s.day);
        EXPECT_EQ(now.weekday, s.weekday);
        EXPECT_EQ(now.hour, s.hour);
        EXPECT_EQ(now.minute, s.minute);
        EXPECT_EQ(now.second, s.second);
        EXPECT_EQ(now.millisecond, 250);
        EXPECT_EQ(clock.TickCount(), ticks);
    }
}

TEST_F(ClockTest, UtcIsLocalTimeLessTheOffsetAndReachesTheCoreLibrary) {
    CClock& clock = CClock::Instance();
    clock.UseManual({1970, 1, 1, 0, 8, 0, 10, 0}, 8 * 3600);
    EXPECT_EQ(clock.UtcSeconds(), 10);
    EXPECT_EQ(GetUnixTime(), 10);
    clock.UseManual({2024, 3, 13, 0, 10, 30, 0, 0}, 0);
    EXPECT_EQ(GetUnixTime(), 1710325800);
    clock.UseSystem();
    EXPECT_GT(GetUnixTime(), 1710325800);
}

TEST_F(ClockTest, TickCountsNeverGoBackAcrossAChangeOfModeAndOnlyAManualClockMovesOnRequest) {
    CClock& clock = CClock::Instance();
    const std::uint64_t before = clock.TickCount();
    clock.UseManual({2024, 3, 13, 0, 10, 0, 0, 0});
    EXPECT_GE(clock.TickCount(), before);
    clock.Advance(10LL * 3600 * 1000);
    const std::uint64_t manual = clock.TickCount();
    clock.UseSystem();
    EXPECT_FALSE(clock.IsManual());
    EXPECT_GE(clock.TickCount(), manual);
    clock.Advance(3600 * 1000);
    EXPECT_LT(clock.TickCount(), manual + 3600 * 1000);
    const CLocalTime now = clock.LocalNow();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.weekday, 0);
    EXPECT_LE(now.weekday, 6);
}
