// The ranking table's row taps and option menu: the minute chart, orders
// without a trade login, the detail quote and adding to the watch list.
#include "tables_ranking_Fixture.h"

namespace {

class RankingMenuTest : public RankingTest {
protected:
    const std::vector<std::pair<std::string, std::string>>& Opened(const std::string& keyword) {
        return g_ranking.opened[keyword];
    }
};

TEST_F(RankingMenuTest, ATapSelectsARowWhichOpensItsMinuteChartOnEveryTapAndTheRightFifthOpensAtOnce) {
    Start();
    OpenNode(kNodeAllRising);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 0));
    EXPECT_TRUE(Opened("fschart").empty()) << "the first tap only selects";
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 0));
    ASSERT_EQ(Opened("fschart").size(), 2u);
    EXPECT_EQ(Opened("fschart")[0], (std::pair<std::string, std::string>{"", "date=&code=300058.1"}));
    EXPECT_EQ(g_ranking.titles["fschart"][0], u"分时走势");

    const std::optional<CRect> list = CDriverControls::ControlScreenRect(driver, COrbTableWnd::kRowListId);
    ASSERT_TRUE(list);
    ASSERT_TRUE(driver.Tap(list->right - 20, list->top + COrbTableWnd::kRowHeight * 3 / 2)); // row 1
    ASSERT_EQ(Opened("fschart").size(), 3u);
    const std::u16string code = Column(CQuoteRowData::kCode)[1];
    const std::u16string market = Column(CQuoteRowData::kMarket)[1];
    EXPECT_EQ(Opened("fschart")[2].second, "date=&code=" + std::string(code.begin(), code.end()) + "." +
                                               std::string(market.begin(), market.end()));
}

TEST_F(RankingMenuTest, BuyAndSellWithoutATradeLoginRunTheTradeEntryAndOpenNoOrderWindow) {
    Start();
    OpenNode(kNodeAllRising);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 0));
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(ChooseMenu(COrbStockTableWnd::kMenuBuy));
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(ChooseMenu(COrbStockTableWnd::kMenuSell));
    EXPECT_TRUE(Opened("buysale").empty());
    EXPECT_EQ(Opened("CSalesDeptSetWnd").size(), 2u) << "no sales department yet: its window opens instead";
    EXPECT_TRUE(MessageShown(u"请先设置好营业部（之后也可以在“软件设置”中添加和删除营业部）"));
}

TEST_F(RankingMenuTest, TheDetailQuoteOpensForTheSelectedRowAndNeedsOne) {
    Start();
    OpenNode(kNodeAllRising);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(ChooseMenu(COrbStockTableWnd::kMenuDetail));
    EXPECT_TRUE(MessageShown(u"未选中任何股票！"));
    EXPECT_TRUE(Opened("xxhq").empty());

    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 0));
    ASSERT_TRUE(ChooseMenu(COrbStockTableWnd::kMenuDetail));
    ASSERT_EQ(Opened("xxhq").size(), 1u);
    EXPECT_EQ(Opened("xxhq")[0], (std::pair<std::string, std::string>{"code=300058.1", "tc_mfuncno=31000&tc_sfuncno=4"}));
    EXPECT_EQ(g_ranking.titles["xxhq"][0], u"详细报价");
}

TEST_F(RankingMenuTest, AddingTheSelectedRowToTheWatchListStoresItsWidenedKeyOnce) {
    Start();
    OpenNode(kNodeAllRising);
    const std::string before = StoreText();
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 0));
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(ChooseMenu(COrbStockTableWnd::kMenuAddToMyStocks));
    EXPECT_TRUE(MessageShown(u"自选股添加成功!"));
    const std::string expected = before.empty() ? "300058.01" : before + ",300058.01";
    EXPECT_EQ(StoreText(), expected);

    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(ChooseMenu(COrbStockTableWnd::kMenuAddToMyStocks));
    EXPECT_TRUE(MessageShown(u"股票300058.01已在自选股"));
    EXPECT_EQ(StoreText(), expected);
}

TEST_F(RankingMenuTest, CancellingTheMenuDoesNothing) {
    Start();
    OpenNode(kNodeAllRising);
    ASSERT_TRUE(ChooseMenu(COrbStockTableWnd::kMenuCancel));
    ASSERT_TRUE(ChooseMenu(0));
    EXPECT_TRUE(g_ranking.opened.empty());
    EXPECT_EQ(Rankings().size(), 1u);
}

} // namespace
