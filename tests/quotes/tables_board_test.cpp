// The board stock table against the simulated server: one sector's stocks
// sorted on the device by change in percent, the header flipping the order
// without a request, a row tap opening the minute chart, and the close
// codes.
#include "tables_ranking_Fixture.h"

#include <algorithm>

namespace {

class BoardTableTest : public RankingTest {
protected:
    // The sector's member names by change in percent, largest first.
    std::vector<std::u16string> MembersByChange(const char* sector) {
        std::vector<std::pair<double, std::u16string>> members;
        sim.WithMarket([&](CSimMarket& m) {
            for (const SimStock* s : m.SectorMembers(sector))
                members.emplace_back(s->ChangePct(), s->name);
        });
        std::stable_sort(members.begin(), members.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        std::vector<std::u16string> names;
        for (const auto& m : members)
            names.push_back(m.second);
        return names;
    }
};

TEST_F(BoardTableTest, TheSectorsStocksShowLargestRiseFirstUnderTheSectorsName) {
    Start();
    OpenNode(kNodeBoardAi);
    const std::vector<SimRequest> sent = Requests(100, 31);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Get("sector"), "gn");
    EXPECT_EQ(sent[0].Get("sectorcode"), "GN02");
    EXPECT_FALSE(sent[0].Has("offset")) << "no paging";
    const std::vector<std::u16string> expected = MembersByChange("GN02");
    ASSERT_EQ(expected.size(), 7u);
    EXPECT_EQ(Column(CQuoteRowData::kName), expected);
    EXPECT_EQ(Caption(), u"人工智能");
}

TEST_F(BoardTableTest, TheChangeTitleFlipsTheOrderOnTheDeviceAndARefreshKeepsIt) {
    Start();
    OpenNode(kNodeBoardAi);
    std::vector<std::u16string> ascending = MembersByChange("GN02");
    std::reverse(ascending.begin(), ascending.end());
    ASSERT_TRUE(TapHeaderAt(0.9));
    EXPECT_EQ(Column(CQuoteRowData::kName), ascending);
    EXPECT_EQ(Requests(100, 31).size(), 1u) << "sorting sends nothing";
    EXPECT_EQ(OnTable([](COrbStockTableWnd& t) { return t.GetHeaderList().GetArrowImageId(); }), 137);

    driver.RunOnGui([] { g_ranking.table->Refresh(); });
    driver.WaitForRest();
    EXPECT_EQ(Requests(100, 31).size(), 2u);
    EXPECT_EQ(Column(CQuoteRowData::kName), ascending);

    ASSERT_TRUE(TapHeaderAt(0.9));
    EXPECT_EQ(Column(CQuoteRowData::kName), MembersByChange("GN02"));
    EXPECT_EQ(OnTable([](COrbStockTableWnd& t) { return t.GetHeaderList().GetArrowImageId(); }), 138);
}

TEST_F(BoardTableTest, ATapOnTheSelectedRowOpensItsMinuteChartAsInTheRankingTable) {
    Start();
    OpenNode(kNodeBoardAi);
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 1));
    const auto& opened = g_ranking.opened["fschart"];
    ASSERT_EQ(opened.size(), 1u) << "the first tap only selects";
    const std::u16string code = Column(CQuoteRowData::kCode)[1];
    const std::u16string market = Column(CQuoteRowData::kMarket)[1];
    EXPECT_EQ(opened[0].second, "date=&code=" + std::string(code.begin(), code.end()) + "." +
                                    std::string(market.begin(), market.end()));
    EXPECT_EQ(g_ranking.titles["fschart"][0], u"分时走势");
}

TEST_F(BoardTableTest, HomeClosesWithCodeZeroAndReturnWithCodeOne) {
    Start();
    OpenNode(kNodeBoardAi);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2));
    OpenNode(kNodeBoardAi);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 0));
    EXPECT_EQ(g_ranking.hostChildCodes, (std::vector<int>{1, 0}));
}

} // namespace
