// The K-line data: pages merged in front of the held bars, the overlap
// trim, reading bars across stored sets and the replies it refuses.
#include "charts_kline_Fixture.h"
#include "quotes/charts/CKXData.h"

#include <gtest/gtest.h>

using namespace kline_fixture;

namespace {

int Feed(CKXData& data, const Reply& r) {
    auto list = List(r);
    return data.ParseReply(*list);
}

Reply Page(std::vector<Bar> bars, const std::string& code = "600000", int market = 2) {
    Reply r;
    r.bars = std::move(bars);
    r.code = code;
    r.market = market;
    return r;
}

TEST(KLineData, ColumnsReadAsTheirTypesAndOthersGiveZero) {
    CKXData data;
    std::vector<Bar> bars = DailyBars(3);
    bars[1].time = 1435;
    ASSERT_EQ(Feed(data, Page(bars)), 3);
    EXPECT_EQ(data.GetInt(0, 1), 20260102);
    EXPECT_EQ(data.GetInt(1, 1), 1435);
    EXPECT_EQ(data.GetInt(10, 2), 20260103 % 97);
    EXPECT_EQ(data.GetInt(2, 1), 0);
    EXPECT_EQ(data.GetInt(0, 3), 0);
    EXPECT_EQ(data.GetInt(0, -1), 0);
    CQuoteNumber n;
    EXPECT_DOUBLE_EQ(data.GetNumber(n, 6, 2).GetValue(), bars[2].close);
    EXPECT_DOUBLE_EQ(data.GetNumber(n, 7, 0).GetValue(), 1000);
    for (int column : {0, 1, 10})
        EXPECT_EQ(data.GetNumber(n, column, 0).GetValue(), 0) << column;
    EXPECT_EQ(data.GetNumber(n, 6, 3).GetValue(), 0);
    const CKXBar& bar = data.CalcBar(2);
    EXPECT_EQ(bar.date, 20260103);
    EXPECT_DOUBLE_EQ(bar.high.GetValue(), bars[2].high);
    EXPECT_DOUBLE_EQ(bar.tech3.GetValue(), 0.3);
    EXPECT_EQ(data.GetCode(), "600000");
    EXPECT_EQ(data.GetMarket(), 2);
    EXPECT_EQ(data.GetName(), u"华岳银行");
}

TEST(KLineData, OlderPageGoesInFrontAndBarsReadAcrossTheStoredSets) {
    CKXData data;
    Feed(data, Page(DailyBars(5, 20260110)));
    // The page overlaps by the first held bar and carries one newer bar.
    std::vector<Bar> older = DailyBars(7, 20260105);
    EXPECT_EQ(Feed(data, Page(older)), 5);
    ASSERT_EQ(data.GetCount(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(data.GetInt(0, i), 20260105 + i) << i;
    EXPECT_EQ(data.GetFirstDate(), "20260105");
    // A page of nothing older adds nothing, however often it comes.
    EXPECT_EQ(Feed(data, Page(DailyBars(1, 20260105))), 0);
    EXPECT_EQ(data.GetCount(), 10);
}

TEST(KLineData, OverlapTrimComparesTimeOnlyForMinuteBars) {
    struct Case {
        int heldDate, heldTime, pageDate, pageTime;
        bool kept;
    };
    const Case cases[] = {
        {20260110, 0, 20260110, 0, false},     {20260110, 0, 20260109, 0, true},
        {20260110, 1000, 20260110, 1000, false}, {20260110, 1000, 20260110, 935, true},
        {20260110, 1000, 20260110, 1005, false}, {20260110, 935, 20260109, 1500, true},
        {20260110, 0, 20260110, 1500, false},
    };
    for (const Case& c : cases) {
        CKXData data;
        std::vector<Bar> held = DailyBars(1, c.heldDate);
        held[0].time = c.heldTime;
        Feed(data, Page(held));
        std::vector<Bar> page = DailyBars(1, c.pageDate);
        page[0].time = c.pageTime;
        EXPECT_EQ(Feed(data, Page(page)), c.kept ? 1 : 0) << c.pageDate << " " << c.pageTime;
    }
}

TEST(KLineData, AnotherStockReplacesEverythingEvenWhilePaging) {
    CKXData data;
    Feed(data, Page(DailyBars(5, 20260110)));
    EXPECT_EQ(Feed(data, Page(DailyBars(3, 20260101, 20.0), "000001", 1)), 3); // all of them new
    EXPECT_EQ(data.GetCount(), 3);
    EXPECT_EQ(data.GetCode(), "000001");
    // The same code on another market is another stock as well.
    Feed(data, Page(DailyBars(2, 20260101), "000001", 2));
    EXPECT_EQ(data.GetCount(), 2);
    EXPECT_EQ(data.GetMarket(), 2);
}

TEST(KLineData, AnErrorBarSetKeepsTheBarsAndTakesTheHeader) {
    CKXData data;
    Feed(data, Page(DailyBars(4)));
    Reply error = Page({});
    error.errorBars = true;
    error.name = u"新名称";
    EXPECT_EQ(Feed(data, error), 0);
    EXPECT_EQ(data.GetCount(), 4);
    EXPECT_EQ(data.GetName(), u"新名称");
    // On a first load it stores the header and no bars.
    CKXData fresh;
    Feed(fresh, error);
    EXPECT_EQ(fresh.GetCount(), 0);
    EXPECT_EQ(fresh.GetFirstDate(), "0");
}

TEST(KLineData, RefusedRepliesChangeNothing) {
    Reply hqInfo = Page(DailyBars(2, 20250101));
    hqInfo.headerTag = "HQ.INFO";
    Reply errorAfter = Page(DailyBars(2, 20250101));
    errorAfter.errorThird = true;
    Reply oneSet = Page({}, "000002", 1);
    oneSet.withBarSet = false;
    for (const Reply& r : {hqInfo, errorAfter, oneSet}) {
        CKXData data;
        Feed(data, Page(DailyBars(4)));
        EXPECT_EQ(Feed(data, r), 0);
        EXPECT_EQ(data.GetCount(), 4);
        EXPECT_EQ(data.GetCode(), "600000");
    }
    CKXData data;
    Feed(data, Page(DailyBars(4)));
    CDataSetList unreadable("xx", 2);
    EXPECT_EQ(data.ParseReply(unreadable), 0);
    const std::vector<uint8_t> errorOnly = CDataSetWriter::ErrorBody(u"错误");
    CDataSetList error(errorOnly.data(), static_cast<int>(errorOnly.size()));
    EXPECT_EQ(data.ParseReply(error), 0);
    EXPECT_EQ(data.GetCount(), 4);
}

TEST(KLineData, AnEmptyBarSetGivesFirstDateZero) {
    CKXData data;
    EXPECT_EQ(data.GetFirstDate(), "0");
    Feed(data, Page({}));
    EXPECT_EQ(data.GetFirstDate(), "0");
    EXPECT_EQ(data.GetFirstTime(), "0");
    EXPECT_EQ(data.GetCount(), 0);
    // Bars arriving later become the first ones.
    EXPECT_EQ(Feed(data, Page(DailyBars(2, 20260301))), 2);
    EXPECT_EQ(data.GetFirstDate(), "20260301");
}

} // namespace
