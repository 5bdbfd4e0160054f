// The minute data: what a reply does to the held day, refresh by refresh.
#include "quotes/charts/CFSData.h"
#include "quotes/charts_minute_Fixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace minute_fixture;

// Takes a reply of header, minutes and snapshot (and what follows).
int Take(CFSData& data, const Header& h, const std::vector<Point>& points, std::unique_ptr<CDataSet> fourth = {},
         std::unique_ptr<CDataSet> fifth = {}) {
    CDataSetList list;
    Fill(list, Sets(HeaderSet(h), MinuteSet(points), SnapshotSet(), std::move(fourth), std::move(fifth)));
    return data.ParseReply(list);
}

std::vector<int> Times(const CFSData& data) {
    std::vector<int> times;
    for (int i = 0; i < data.GetCount(); ++i)
        times.push_back(data.GetInt(CFSData::kColTime, i));
    return times;
}

double Price(const CFSData& data, int i) {
    CQuoteNumber n;
    return data.GetNumber(n, CFSData::kColPrice, i).GetValue();
}

TEST(MinuteData, TheFirstReplyStartsAtTheMarketsOpeningAtTheOpeningPriceUnlessItAlreadyDoes) {
    struct Case {
        int market;
        int firstTime;
        int rows;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {1, 932, 2, {930, 932, 934}},
        {1, 930, 2, {930, 932}},
        {1, 0, 0, {930}},                // no point yet: the opening alone
        {3, 1002, 1, {1000, 1002}},      // Hong Kong opens at 10:00
        {3, 1000, 1, {1000}},
    };
    for (const Case& c : cases) {
        CFSData data;
        Header h;
        h.market = c.market;
        h.open = 9.95;
        ASSERT_EQ(Take(data, h, Points(c.firstTime, c.rows, 10.02)), 1);
        EXPECT_EQ(Times(data), c.expected) << c.market << " " << c.firstTime;
        if (c.expected.size() > static_cast<size_t>(c.rows)) {
            CQuoteNumber avg;
            EXPECT_DOUBLE_EQ(Price(data, 0), 9.95);
            EXPECT_DOUBLE_EQ(data.GetNumber(avg, CFSData::kColAverage, 0).GetValue(), 9.95);
            EXPECT_EQ(data.GetInt(CFSData::kColBarVolume, 0), 0);
        }
    }
}

TEST(MinuteData, BeforeTheFirstTradeNoOpeningRowIsInventedAtPriceZero) {
    // Not traded yet: the server sends an opening (and high and low) of 0.
    CFSData data;
    Header h;
    h.open = h.high = h.low = h.latest = 0;
    ASSERT_EQ(Take(data, h, {}), 1);
    EXPECT_EQ(data.GetCount(), 0);
    // The first trade's refresh starts the chart.
    h.open = h.high = h.low = h.latest = 10.05;
    ASSERT_EQ(Take(data, h, Points(932, 1, 10.05)), 1);
    EXPECT_EQ(Times(data), (std::vector<int>{932}));
    // A missing opening price is no price either.
    CFSData missing;
    CDataSetList list;
    auto header = HeaderSet({});
    header->MoveFirst();
    SetInt32(*header, 2, CQuoteNumber::kMissingPacked);
    Fill(list, Sets(std::move(header), MinuteSet(Points(934, 1)), SnapshotSet()));
    ASSERT_EQ(missing.ParseReply(list), 1);
    EXPECT_EQ(Times(missing), (std::vector<int>{934}));
}

TEST(MinuteData, AFirstReplyOutOfOrderOrWithTwoRowsForAMinuteKeepsOneRowPerMinuteTheLaterWinning) {
    CFSData data;
    Header h;
    h.open = 10.0;
    std::vector<Point> points = {{930, 10.00, 100, 100}, {934, 10.04, 300, 300}, {932, 10.02, 200, 200},
                                 {934, 10.06, 400, 400}, {930, 10.01, 150, 150}, {936, 10.08, 500, 500}};
    ASSERT_EQ(Take(data, h, points), 1);
    EXPECT_EQ(Times(data), (std::vector<int>{930, 932, 934, 936}));
    EXPECT_DOUBLE_EQ(Price(data, 0), 10.01); // the second report of 09:30
    EXPECT_DOUBLE_EQ(Price(data, 1), 10.02);
    EXPECT_DOUBLE_EQ(Price(data, 2), 10.06); // the second report of 09:34
    EXPECT_EQ(data.GetInt(CFSData::kColBarVolume, 2), 400);
    EXPECT_DOUBLE_EQ(Price(data, 3), 10.08);
    // A refresh then merges after the ordered day.
    ASSERT_EQ(Take(data, h, Points(936, 2, 10.09)), 1);
    EXPECT_EQ(Times(data), (std::vector<int>{930, 932, 934, 936, 938}));
}

TEST(MinuteData, AnEmptyHeaderOnTheFirstLoadInsertsNoOpeningRow) {
    CFSData data;
    CDataSetList list;
    Fill(list, Sets(HeaderSet({}, false), MinuteSet(Points(932, 2)), SnapshotSet()));
    ASSERT_EQ(data.ParseReply(list), 1);
    EXPECT_EQ(Times(data), (std::vector<int>{932, 934}));
    EXPECT_TRUE(data.HasNoData());
}

TEST(MinuteData, ARefreshSkipsOlderRowsOverwritesTheSameTimeAndAppendsNewerOnesNeverDuplicating) {
    CFSData data;
    ASSERT_EQ(Take(data, {}, Points(930, 4)), 1); // 930 .. 936
    // What the next request's "time" asks for: the second-to-last point on.
    EXPECT_EQ(data.FormatTime(), "0934");
    std::vector<Point> refresh = Points(934, 4, 20.0); // 934 older, 936 same, 938, 940 new
    refresh.push_back({940, 30.0, 5, 5});            // a repeated time inside the reply
    refresh.push_back({932, 30.0, 5, 5});            // and an older one
    ASSERT_EQ(Take(data, {}, refresh), 1);
    EXPECT_EQ(Times(data), (std::vector<int>{930, 932, 934, 936, 938, 940}));
    EXPECT_DOUBLE_EQ(Price(data, 2), 10.02); // the older reply row was skipped
    EXPECT_DOUBLE_EQ(Price(data, 3), 20.01); // the same time overwrote
    EXPECT_DOUBLE_EQ(Price(data, 4), 20.02);
    EXPECT_DOUBLE_EQ(Price(data, 5), 30.0); // the repeated time overwrote again
}

TEST(MinuteData, AtMostOneTradingDayIsHeldAndAnotherTradeDateReloadsTheDay) {
    CFSData data;
    ASSERT_EQ(Take(data, {}, Points(930, CFSData::kDayPoints)), 1);
    ASSERT_EQ(data.GetCount(), CFSData::kDayPoints);
    ASSERT_EQ(Take(data, {}, Points(1500, 5)), 1); // past the day's last point
    EXPECT_EQ(data.GetCount(), CFSData::kDayPoints);

    Header next;
    next.date = 20261208;
    next.dateText = "20261208";
    ASSERT_EQ(Take(data, next, Points(930, 3)), 1);
    EXPECT_EQ(Times(data), (std::vector<int>{930, 932, 934}));
    EXPECT_EQ(data.GetTradeDate(), 20261208);
}

TEST(MinuteData, AnotherCodeMarketOrOverlayStateReloadsInsteadOfMerging) {
    Header other;
    other.code = "600001";
    Header market;
    market.market = 2;
    Header index;
    index.indexRow = true;
    struct Case {
        const char* what;
        Header header;
        bool overlay;
    };
    const Case cases[] = {{"code", other, false}, {"market", market, false}, {"overlay on", index, true}};
    for (const Case& c : cases) {
        CFSData data;
        ASSERT_EQ(Take(data, {}, Points(930, 10)), 1);
        ASSERT_EQ(Take(data, c.header, Points(940, 2), c.overlay ? MinuteSet(Points(940, 2, 3000.0), "hq.fs") : nullptr),
                  1);
        EXPECT_EQ(Times(data), (std::vector<int>{930, 940, 942})) << c.what;
    }
    // And off again: the overlay goes with a reload.
    CFSData data;
    Header h;
    h.indexRow = true;
    ASSERT_EQ(Take(data, h, Points(930, 3), MinuteSet(Points(930, 3, 3000.0), "hq.fs")), 1);
    ASSERT_TRUE(data.HasOverlayTable());
    ASSERT_EQ(Take(data, h, Points(934, 2)), 1);
    EXPECT_FALSE(data.HasOverlayTable());
    EXPECT_EQ(Times(data), (std::vector<int>{930, 934, 936}));
}

TEST(MinuteData, TheOverlayTableIsMergedBesideTheStocksAndAnIndexsSecondLineIsItsPrice) {
    CFSData data;
    Header h;
    h.indexRow = true;
    h.indexOpen = 2990.0;
    h.type = 2;
    ASSERT_EQ(Take(data, h, Points(932, 2), MinuteSet(Points(932, 2, 3000.0), "hq.fs")), 1);
    ASSERT_TRUE(data.HasOverlayTable());
    CQuoteNumber n;
    EXPECT_DOUBLE_EQ(data.GetExtraNumber(n, 0, 0).GetValue(), 2990.0); // the index's opening row
    EXPECT_EQ(data.GetExtraInt(0, 2), 934);
    EXPECT_DOUBLE_EQ(data.GetNumber(n, CFSData::kColAverage, 2).GetValue(), 3000.01);
    ASSERT_EQ(Take(data, h, Points(934, 2, 50.0), MinuteSet(Points(934, 2, 3100.0), "hq.fs")), 1);
    EXPECT_EQ(data.GetMinuteTable(1)->GetRowCount(), 4);
    EXPECT_DOUBLE_EQ(data.GetExtraNumber(n, 0, 3).GetValue(), 3100.01);
    EXPECT_DOUBLE_EQ(data.GetOverlayPrevClose().GetValue(), 3000.0);
    EXPECT_DOUBLE_EQ(data.GetOverlayHigh().GetValue(), 3030.0);
}

TEST(MinuteData, ErrorMinuteOrIndexSetsKeepTheHeldTablesAndStillTakeTheHeader) {
    CFSData data;
    Header h;
    h.indexRow = true;
    ASSERT_EQ(Take(data, h, Points(930, 3), MinuteSet(Points(930, 3, 3000.0), "hq.fs")), 1);
    h.latest = 10.2;
    // An error in place of the index's points: the stock's merge, the held index stays.
    ASSERT_EQ(Take(data, h, Points(934, 2), ErrorSet()), 1);
    EXPECT_TRUE(data.HasOverlayTable());
    EXPECT_EQ(Times(data), (std::vector<int>{930, 932, 934, 936}));
    EXPECT_EQ(data.GetMinuteTable(1)->GetRowCount(), 3);
    // An error in place of the stock's points: nothing merged, the header read.
    h.latest = 10.25;
    CDataSetList list;
    Fill(list, Sets(HeaderSet(h), ErrorSet(), SnapshotSet(), MinuteSet(Points(936, 2, 3000.0), "hq.fs")));
    ASSERT_EQ(data.ParseReply(list), 1);
    EXPECT_EQ(data.GetCount(), 4);
    EXPECT_EQ(data.GetMinuteTable(1)->GetRowCount(), 3);
    EXPECT_DOUBLE_EQ(data.GetLatest().GetValue(), 10.25);
}

TEST(MinuteData, RefusedRepliesLeaveTheModelUnchanged) {
    const auto header = [] { return HeaderSet({}); };
    const auto minutes = [] { return MinuteSet(Points(936, 2)); };
    const std::pair<const char*, std::function<void(CDataSetList&)>> cases[] = {
        {"no set", [](CDataSetList&) {}},
        {"error header", [&](CDataSetList& l) { Fill(l, Sets(ErrorSet(), minutes(), SnapshotSet())); }},
        {"error snapshot", [&](CDataSetList& l) { Fill(l, Sets(header(), minutes(), ErrorSet())); }},
        {"two sets", [&](CDataSetList& l) { Fill(l, Sets(header(), minutes())); }},
        {"marks for a snapshot", [&](CDataSetList& l) { Fill(l, Sets(header(), minutes(), MarkSet({{"600", "1"}}))); }},
        {"null header", [&](CDataSetList& l) {
             Fill(l, Sets(header(), minutes(), SnapshotSet()));
             l.Detach(0);
         }},
    };
    CFSData data;
    ASSERT_EQ(Take(data, {}, Points(930, 3)), 1);
    for (const auto& [what, fill] : cases) {
        CDataSetList list;
        fill(list);
        EXPECT_EQ(data.ParseReply(list), 0) << what;
        EXPECT_EQ(data.GetCount(), 3) << what;
    }
    const uint8_t zero[4] = {0, 0, 0, 0};
    CDataSetList zeroSets(zero, 4);
    EXPECT_EQ(data.ParseReply(zeroSets), 0);
    EXPECT_EQ(data.GetCode(), "600000");
}

TEST(MinuteData, TheMarksSetIsTakenOutFirstAndNeverReadAsAnOverlay) {
    CFSData data;
    ASSERT_EQ(Take(data, {}, Points(930, 3), MarkSet({{"571", "101"}, {"600", "a&b=1"}, {"", "7"}, {"720", "102"}})), 1);
    EXPECT_FALSE(data.HasOverlayTable());
    EXPECT_TRUE(data.ReplyHadInfoMarks());
    // An id that would change a request, and a row without a time, are left out.
    EXPECT_EQ(data.GetInfoMarks(), (std::vector<CFSInfoMark>{{571, "101"}, {720, "102"}}));
    ASSERT_EQ(Take(data, {}, Points(934, 2)), 1);
    EXPECT_FALSE(data.ReplyHadInfoMarks());
    EXPECT_EQ(data.GetInfoMarks().size(), 2u); // kept until a reply brings new ones
}

TEST(MinuteData, MaximumVolumeIgnoresMissingValuesAndNeverFallsBelow1000) {
    CFSData data;
    std::vector<Point> points = Points(930, 3);
    points[1].barVolume = CQuoteNumber::kMissingPacked;
    points[1].volume = CQuoteNumber::kMissingPacked;
    ASSERT_EQ(Take(data, {}, points), 1);
    EXPECT_EQ(data.GetMaxVolume(), 1000);
    EXPECT_EQ(data.FormatVolume(), std::to_string(Packed(102, 0)));

    std::vector<Point> refresh = Points(934, 3);
    refresh[1].barVolume = 5000;
    refresh[1].volume = 5000;
    refresh[2].barVolume = CQuoteNumber::kMissingPacked;
    refresh[2].volume = CQuoteNumber::kMissingPacked;
    ASSERT_EQ(Take(data, {}, refresh), 1);
    EXPECT_EQ(data.GetMaxVolume(), 5000);
    EXPECT_EQ(data.FormatVolume(), std::to_string(Packed(5000, 0)));

    CFSData fresh;
    EXPECT_EQ(fresh.FormatVolume(), "999999999");
    EXPECT_EQ(fresh.FormatTime(), "0");
}

TEST(MinuteData, ARefreshWithOtherColumnsIsNotMerged) {
    CFSData data;
    ASSERT_EQ(Take(data, {}, Points(930, 3)), 1);
    CDataSetList list;
    Fill(list, Sets(HeaderSet({}), MinuteSet(Points(936, 2), "hq.fsdata", true), SnapshotSet()));
    ASSERT_EQ(data.ParseReply(list), 1);
    EXPECT_EQ(Times(data), (std::vector<int>{930, 932, 934}));
}

TEST(MinuteData, TheSnapshotGivesLevelsInLotsAndTheHeaderTheStock) {
    CFSData data;
    Header h;
    h.dateText = "20261201";
    ASSERT_EQ(Take(data, h, Points(930, 2)), 1);
    EXPECT_FALSE(data.HasNoData());
    EXPECT_EQ(data.GetBid(0).volume, 123);
    EXPECT_DOUBLE_EQ(data.GetBid(0).price.GetValue(), 9.99);
    EXPECT_EQ(data.GetAsk(1).volume, 2);
    EXPECT_EQ(data.GetAsk(4).volume, CQuoteNumber::kMissingPacked);
    EXPECT_EQ(data.GetName(), u"华岳银行");
    EXPECT_EQ(data.GetStockKey(), "600000.01");
    EXPECT_TRUE(data.IsHistory()); // the data's day is not the server's
    EXPECT_FALSE(IntTextDiffers(CAString("20261207153000"), 20261207));
    EXPECT_FALSE(IntTextDiffers(CAString(""), 20261207));
    EXPECT_DOUBLE_EQ(data.GetHistoryVolume().GetValue(), 12.5);

    Header bad;
    bad.code = "60&0=1";
    CFSData other;
    ASSERT_EQ(Take(other, bad, Points(930, 2)), 1);
    EXPECT_EQ(other.GetStockKey(), ""); // never reaches a request
}

} // namespace
