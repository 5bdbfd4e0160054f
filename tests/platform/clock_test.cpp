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

TEST_F(ClockTest, AManualClockShowsTheSetTimeWithItsWeekdayComputed) {
    CClock& clock = CClock::Instance();
    clock.UseManual({2024, 3, 13, 0 /* ignored */, 9, 16, 5, 250});
    CLocalTime now = clock.LocalNow();
    EXPECT_EQ(now.year, 2024);
    EXPECT_EQ(now.month, 3);
    EXPECT_EQ(now.day, 13);
    EXPECT_EQ(now.weekday, 3); // Wednesday
    EXPECT_EQ(now.hour, 9);
    EXPECT_EQ(now.minute, 16);
    EXPECT_EQ(now.second, 5);
    EXPECT_EQ(now.millisecond, 250);
    EXPECT_TRUE(clock.IsManual());
}

TEST_F(ClockTest, AManualClockStandsStillUntilAdvancedAcrossDaysAndLeapDays) {
    CClock& clock = CClock::Instance();
    clock.UseManual({2024, 2, 28, 0, 23, 59, 59, 0});
    std::uint64_t ticks = clock.TickCount();
    EXPECT_EQ(clock.TickCount(), ticks);
    clock.Advance(1000);
    CLocalTime now = clock.LocalNow();
    EXPECT_EQ(now.month, 2);
    EXPECT_EQ(now.day, 29);
    EXPECT_EQ(now.weekday, 4); // Thursday
    EXPECT_EQ(now.hour, 0);
    EXPECT_EQ(clock.TickCount(), ticks + 1000);
    clock.Advance(2LL * 86400 * 1000);
    now = clock.LocalNow();
    EXPECT_EQ(now.month, 3);
    EXPECT_EQ(now.day, 2);
    EXPECT_EQ(now.weekday, 6); // Saturday
    clock.Advance(-5000);      // ignored: time does not go back
    EXPECT_EQ(clock.LocalNow().day, 2);
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
    EXPECT_FALSE(clock.IsManual());
}

TEST_F(ClockTest, TickCountsNeverGoBackAcrossAChangeOfMode) {
    CClock& clock = CClock::Instance();
    std::uint64_t before = clock.TickCount();
    clock.UseManual({2024, 3, 13, 0, 10, 0, 0, 0});
    EXPECT_GE(clock.TickCount(), before);
    clock.Advance(10LL * 3600 * 1000);
    std::uint64_t manual = clock.TickCount();
    clock.UseSystem();
    EXPECT_GE(clock.TickCount(), manual);
}

TEST_F(ClockTest, TheSystemClockGivesAPlausibleLocalTimeAndCannotBeAdvanced) {
    CClock& clock = CClock::Instance();
    CLocalTime now = clock.LocalNow();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.weekday, 0);
    EXPECT_LE(now.weekday, 6);
    const std::uint64_t before = clock.TickCount();
    clock.Advance(3600 * 1000);
    EXPECT_LT(clock.TickCount(), before + 3600 * 1000) << "only a manual clock moves on request";
    EXPECT_FALSE(clock.IsManual());
}
