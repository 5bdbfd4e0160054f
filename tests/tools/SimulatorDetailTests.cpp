// The simulator's deal details (31000/9) and the detail page's quote fields:
// a whole day of deals from the open to the last price, pages by time and
// offset in both directions, and the book's volumes in shares.
#include "SimTestClient.h"

#include "quotes/info/StockDetail.h"
#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/SimDetailRoutes.h"

#include <gtest/gtest.h>

namespace {
const std::string kHead = "tc_service=300&tc_isunicode=1&";

TEST(SimulatorDeals, ADayRunsFromTheOpenToTheLastInsideTheRangeAndTicksGiveTheDirection) {
    const CSimMarket market;
    for (const SimStock& s : market.Stocks()) {
        SCOPED_TRACE(s.Key());
        const std::vector<SimDeal> day = SimDealsOf(s);
        if (s.open == 0) {
            EXPECT_TRUE(day.empty());
            continue;
        }
        ASSERT_GT(day.size(), 200u);
        EXPECT_EQ(day.front().time, 930);
        EXPECT_EQ(day.back().time, 1500);
        EXPECT_DOUBLE_EQ(day.front().price, s.open);
        EXPECT_DOUBLE_EQ(day.back().price, s.last);
        for (size_t i = 0; i < day.size(); ++i) {
            EXPECT_GE(day[i].price, s.low);
            EXPECT_LE(day[i].price, s.high);
            EXPECT_GE(day[i].lots, 1);
            if (i > 0) {
                EXPECT_LE(day[i - 1].time, day[i].time);
                const int want = day[i].price > day[i - 1].price ? 1 : day[i].price < day[i - 1].price ? 2 : 0;
                EXPECT_EQ(day[i].direct, want);
            }
        }
    }
}

TEST(SimulatorDeals, PagesCountTheOffsetWithinTheCursorsMinute) {
    // Times of a small day: 0 930, 1 930, 2 931, 3 931, 4 931, 5 932.
    std::vector<SimDeal> day(6);
    const int times[] = {930, 930, 931, 931, 931, 932};
    for (int i = 0; i < 6; ++i)
        day[i].time = times[i];
    using Page = std::vector<size_t>;
    EXPECT_EQ(SimDealPage(day, 0, 0, 1, 4), (Page{5, 4, 3, 2})) << "the latest, newest first";
    EXPECT_EQ(SimDealPage(day, 931, 2, 1, 10), (Page{2, 1, 0})) << "before the two latest of 9:31";
    EXPECT_EQ(SimDealPage(day, 930, 2, 1, 10), Page{}) << "nothing before the day";
    EXPECT_EQ(SimDealPage(day, 931, 1, 0, 10), (Page{3, 4, 5})) << "after the earliest of 9:31";
    EXPECT_EQ(SimDealPage(day, 932, 1, 0, 10), Page{}) << "nothing after the day";
    EXPECT_EQ(SimDealPage(day, 930, 0, 0, 2), (Page{0, 1}));
    EXPECT_EQ(SimDealPage(day, 931, 9, 1, 10), Page{}) << "an offset past the start";
}

TEST(SimulatorDeals, TheRouteAnswersAHeaderAndTheDealsAndAnUnknownCodeNeither) {
    CBrokerSimulator server;
    const int port = server.Start(0);
    ASSERT_GT(port, 0);
    auto ask = [&](const std::string& params) {
        return OpenReply(PostRaw(port, kHead + "TC_MFUNCNO=31000&TC_SFUNCNO=9&" + params), "");
    };
    auto reply = ask("code=600010.02&date=0&time=0&offset=0&direct=1&count=11");
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->GetCount(), 2);
    CDataSet* header = *reply->GetAt(0);
    EXPECT_STRCASENE(header->GetTag(), "hq.info");
    ASSERT_TRUE(header->MoveFirst());
    EXPECT_EQ(header->GetFieldTextByName("name").value_or(CWString()).str(), u"华岳银行");
    CDataSet* deals = *reply->GetAt(1);
    EXPECT_EQ(deals->GetRowCount(), 11);
    EXPECT_EQ(deals->GetColumn(deals->FindColumn("direct"))->GetType(), DataSetType::Int8);
    ASSERT_TRUE(deals->MoveFirst());
    EXPECT_EQ(deals->GetFieldInt16ByName("tm"), 1500) << "newest first";

    auto unknown = ask("code=999999.02&date=0&time=0&offset=0&direct=1&count=11");
    ASSERT_TRUE(unknown);
    ASSERT_EQ(unknown->GetCount(), 2);
    EXPECT_EQ((*unknown->GetAt(0))->GetRowCount(), 0);
    EXPECT_EQ((*unknown->GetAt(1))->GetRowCount(), 0);
}

TEST(SimulatorDeals, TheDetailFieldsGiveThirtyFourColumnsWithTheBookInShares) {
    CBrokerSimulator server;
    const int port = server.Start(0);
    ASSERT_GT(port, 0);
    auto reply = OpenReply(PostRaw(port, kHead + "TC_MFUNCNO=31000&TC_SFUNCNO=4&code=600010.02&field=" +
                                             std::string(kDetailFields)),
                           "");
    ASSERT_TRUE(reply);
    CDataSet* set = *reply->GetAt(0);
    ASSERT_EQ(set->GetColumnCount(), kDetailColumns);
    EXPECT_STRCASENE(set->GetTag(), "hq.info");
    ASSERT_TRUE(set->MoveFirst());
    for (int column = 15; column < 34; column += 2) {
        const int shares = set->GetFieldInt32(column);
        EXPECT_GE(shares, 1000) << column;
        EXPECT_LT(shares, 91000) << column;
    }
}

} // namespace
