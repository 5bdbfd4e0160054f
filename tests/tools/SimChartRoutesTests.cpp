// The simulated minute chart (31000/1) and mark texts (504/11): the day's
// points as the clock has them, the overlay table, the header and snapshot
// as the client reads them, the marks, and the fault hook.
#include "core/CDataSetList.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/SimChartRoutes.h"

#include <gtest/gtest.h>

#include <ctime>
#include <memory>

namespace {

// The ms of a day and minute in China time, the simulator's clock.
int64_t LocalMs(int year, int month, int day, int hour, int minute) { return SimChinaMs(year, month, day, hour, minute); }

const int64_t kMondayAt1015 = LocalMs(2026, 12, 7, 10, 15);
const int64_t kSaturday = LocalMs(2026, 12, 5, 9, 0);

SimRequest Request(std::vector<std::pair<std::string, std::string>> params) {
    SimRequest r;
    r.main = 31000;
    r.sub = 1;
    r.params = std::move(params);
    return r;
}

std::unique_ptr<CDataSetList> Reply(const SimRequest& r, int64_t now) {
    CSimMarket market;
    const SimReply reply = SimMinuteReply(r, market, now);
    return std::make_unique<CDataSetList>(reply.body.data(), static_cast<int>(reply.body.size()));
}

std::vector<int> Times(CDataSet* set) {
    std::vector<int> times;
    if (set && set->MoveFirst())
        do
            times.push_back(set->GetFieldInt16(0));
        while (set->MoveNext());
    return times;
}

TEST(SimMinuteDay, TheDayHas121TwoMinutePointsWithTheLunchBreakSkippedInBothMarkets) {
    const struct {
        int market, k, time;
    } cases[] = {{2, 0, 930}, {2, 60, 1130}, {2, 61, 1302}, {2, 120, 1500},
                 {3, 0, 1000}, {3, 75, 1230}, {3, 76, 1432}, {3, 120, 1600}};
    for (const auto& c : cases)
        EXPECT_EQ(SimMinuteTime(c.market, c.k), c.time) << c.market << "/" << c.k;
    EXPECT_EQ(SimMinutePointsUntil(2, 929), 0);
    EXPECT_EQ(SimMinutePointsUntil(2, 1015), 23);
    EXPECT_EQ(SimMinutePointsUntil(2, 1259), 61);
    EXPECT_EQ(SimMinutePointsUntil(3, 2400), 121);
}

TEST(SimMinuteDay, AWholeDayEndsAtTheMarketsLastPriceInsideItsRangeWithItsVolume) {
    CSimMarket market;
    for (const char* key : {"600010.02", "600209.02", "000001.02", "100100.03", "510880.02"}) {
        const SimStock& s = *market.Find(key);
        const SimMinuteDay day = SimMinuteDayOf(s, 20261207, 121);
        ASSERT_EQ(day.points.size(), 121u) << key;
        EXPECT_EQ(day.points.front().price, s.open) << key;
        EXPECT_EQ(day.points.back().price, s.last) << key;
        int64_t volume = 0;
        for (const SimMinutePoint& p : day.points) {
            EXPECT_GE(p.price, s.low) << key;
            EXPECT_LE(p.price, s.high) << key;
            volume += p.volume;
        }
        EXPECT_NEAR(static_cast<double>(volume), s.volume, 121.0) << key;
    }
    EXPECT_TRUE(SimMinuteDayOf(*market.Find("600372.02"), 20261207, 121).points.empty()) << "not traded";
}

TEST(SimMinuteRoute, PointsGoUpToTheClockAndFromTheAskedTime) {
    auto now = Reply(Request({{"code", "600010.02"}, {"time", "0"}}), kMondayAt1015);
    EXPECT_EQ(Times(*now->GetAt(1)).size(), 23u);
    auto later = Reply(Request({{"code", "600010.2"}, {"time", "1010"}}), kMondayAt1015);
    EXPECT_EQ(Times(*later->GetAt(1)), (std::vector<int>{1010, 1012, 1014}));
    auto weekend = Reply(Request({{"code", "100100.03"}, {"time", "0"}}), kSaturday);
    const std::vector<int> hk = Times(*weekend->GetAt(1));
    ASSERT_EQ(hk.size(), 121u);
    EXPECT_EQ(hk.front(), 1000);
    EXPECT_EQ(hk.back(), 1600);
    // The Friday before a weekend is the day shown, whole.
    CDataSet* header = *weekend->GetAt(0);
    ASSERT_TRUE(header->MoveFirst());
    EXPECT_EQ(header->GetFieldInt32(0), 20261204);
    EXPECT_EQ(header->GetFieldText(11).ToAnsi(), "20261204") << "a weekend's chart is no history chart";
}

TEST(SimMinuteRoute, TheOverlayTableComesWithAddupAndAlwaysForAnIndex) {
    const struct {
        const char* code;
        const char* addup;
        int headerRows;
        bool overlay;
    } cases[] = {
        {"600010.02", "0", 1, false},
        {"600010.02", "1", 2, true},
        {"000001.02", "0", 2, true},
        {"399001.01", "1", 2, true},
    };
    for (const auto& c : cases) {
        auto list = Reply(Request({{"code", c.code}, {"addup", c.addup}, {"time", "0"}}), kSaturday);
        CDataSet* header = *list->GetAt(0);
        ASSERT_NE(header, nullptr);
        EXPECT_STRCASENE(header->GetTag(), "hq.info");
        EXPECT_EQ(header->GetRowCount(), c.headerRows) << c.code << " addup " << c.addup;
        CDataSet* overlay = *list->GetAt(3);
        EXPECT_EQ(overlay != nullptr && std::string(overlay->GetTag()) == "hq.fs", c.overlay) << c.code;
        if (c.overlay) {
            EXPECT_EQ(overlay->GetRowCount(), 121);
        }
    }
}

TEST(SimMinuteRoute, APastDateIsAWholeHistoryDayAgainstTheServersDate) {
    auto list = Reply(Request({{"code", "600010.02"}, {"date", "20261202"}, {"time", "0"}}), kMondayAt1015);
    CDataSet* header = *list->GetAt(0);
    ASSERT_TRUE(header->MoveFirst());
    EXPECT_EQ(header->GetFieldInt32(0), 20261202);
    EXPECT_EQ(header->GetFieldText(11).ToAnsi(), "20261207");
    EXPECT_EQ(Times(*list->GetAt(1)).size(), 121u);
    for (const char* bad : {"20261208", "2026120", "1202"}) {
        auto refused = Reply(Request({{"code", "600010.02"}, {"date", bad}}), kMondayAt1015);
        EXPECT_TRUE(refused->IsError()) << bad;
    }
}

TEST(SimMinuteRoute, TheSnapshotHasThePartsColumnTypesAndLevelVolumesInShares) {
    auto list = Reply(Request({{"code", "600010.02"}, {"time", "0"}}), kSaturday);
    CDataSet* snapshot = *list->GetAt(2);
    ASSERT_NE(snapshot, nullptr);
    ASSERT_EQ(snapshot->GetColumnCount(), 30);
    for (int c = 1; c < 30; ++c) {
        const bool volume = c >= 10 && c % 2 == 1;
        EXPECT_EQ(snapshot->GetColumn(c)->GetType(), volume ? DataSetType::Int32 : DataSetType::Number) << c;
    }
    ASSERT_TRUE(snapshot->MoveFirst());
    bool oddShares = false;
    for (int c = 11; c < 30; c += 2) {
        EXPECT_GT(snapshot->GetFieldInt32(c), 0) << c;
        oddShares = oddShares || snapshot->GetFieldInt32(c) % 100 != 0;
    }
    EXPECT_TRUE(oddShares) << "shares, not lots";
}

TEST(SimMinuteRoute, MarksComeForSomeStocksUpToTheClockAndTheirTextsByJoinedIds) {
    auto morning = Reply(Request({{"code", "600010.02"}, {"time", "0"}}), kMondayAt1015);
    CDataSet* marks = *morning->GetAt(morning->GetCount() - 1);
    ASSERT_STREQ(marks->GetTag(), "get xxld");
    EXPECT_EQ(marks->GetRowCount(), 1);
    auto whole = Reply(Request({{"code", "600010.02"}, {"time", "0"}}), kSaturday);
    EXPECT_EQ((*whole->GetAt(whole->GetCount() - 1))->GetRowCount(), 4);
    auto none = Reply(Request({{"code", "600023.02"}, {"time", "0"}}), kSaturday);
    EXPECT_EQ(none->GetCount(), 3);

    CSimMarket market;
    SimRequest texts;
    texts.params = {{"lmdm", "xxld"}, {"stkcode", "600010.02"}, {"id", "81002,81003"}, {"date", "20261204"}};
    const SimReply reply = SimMarkTextReply(texts, market);
    CDataSetList list(reply.body.data(), static_cast<int>(reply.body.size()));
    ASSERT_NE(*list.GetAt(0), nullptr);
    EXPECT_EQ((*list.GetAt(0))->GetRowCount(), 4);
}

TEST(SimMinuteRoute, TheFaultHookPutsAnErrorSetInPlaceOfTheMinutesOrTheOverlay) {
    CSimChartRoutes::FailMinuteSets(1, 1);
    auto failed = Reply(Request({{"code", "600010.02"}, {"addup", "1"}}), kSaturday);
    EXPECT_TRUE((*failed->GetAt(1))->IsError());
    EXPECT_TRUE((*failed->GetAt(3))->IsError());
    EXPECT_FALSE((*failed->GetAt(2))->IsError()) << "the snapshot still comes";
    auto next = Reply(Request({{"code", "600010.02"}, {"addup", "1"}}), kSaturday);
    EXPECT_EQ(next->GetErrorIndex(), -1);
}

} // namespace
