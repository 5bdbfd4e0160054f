// The ranking sort form over the ranking table: the round trip of a choice,
// "返回", and values too long to carry. What it shows is a reference screen.
#include "tables_ranking_Fixture.h"

#include "platform/ui/UiScrollWin.h"
#include "quotes/tables/CStockSortParamWnd.h"

namespace {

class SortFormTest : public RankingTest {
protected:
    // Opens the form from the ranking table's menu.
    void OpenForm() {
        ASSERT_TRUE(ChooseMenu(COrbStockTableWnd::kMenuSortParams));
        ASSERT_TRUE(CDriverControls::ListItems(driver, CStockSortParamWnd::kMarketListId));
    }
    // Scrolls the form's page to a list and taps its item.
    bool Choose(int listId, int index) {
        driver.RunOnGui([listId] {
            UiWin* list = CDriverControls::FindShownControl(listId);
            if (auto* page = list ? dynamic_cast<UiScrollWin*>(list->GetParent()) : nullptr)
                page->EnsureVisible(list);
        });
        driver.WaitForRest();
        return CDriverControls::TapListItem(driver, listId, index);
    }
    std::optional<int> Selection(int listId) { return CDriverControls::ListSelection(driver, listId); }
};

TEST_F(SortFormTest, AChoiceTravelsBackOnceAndAsksForTheNewRankingOnce) {
    Start();
    OpenNode(kNodeAllRising);
    OpenForm();
    const size_t before = Rankings().size();
    ASSERT_TRUE(Choose(CStockSortParamWnd::kMarketListId, 1));    // 上海
    ASSERT_TRUE(Choose(CStockSortParamWnd::kFieldListId, 1));     // 跌幅
    ASSERT_TRUE(Choose(CStockSortParamWnd::kDirectionListId, 0)); // 正序
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 0));   // 确定
    EXPECT_EQ(g_ranking.paramsChosen, 1);
    const std::vector<SimRequest> sent = Rankings();
    ASSERT_EQ(sent.size(), before + 1);
    for (const auto& [key, value] : {std::pair<const char*, const char*>{"market", "2"}, {"class", "A"},
                                     {"type", "df"}, {"direct", "0"}, {"offset", "0"}})
        EXPECT_EQ(sent.back().Get(key), value) << key;
    EXPECT_EQ(Caption(), u"上海A股跌幅");
    EXPECT_EQ(OnTable([](COrbStockTableWnd& t) { return t.GetHeaderList().GetArrowImageId(); }), 137);
    EXPECT_FALSE(CDriverControls::ListItems(driver, CStockSortParamWnd::kMarketListId)) << "the form is gone";
}

TEST_F(SortFormTest, ReturnPostsNothingAndTheRankingStays) {
    Start();
    OpenNode(kNodeAllRising);
    OpenForm();
    ASSERT_TRUE(Choose(CStockSortParamWnd::kMarketListId, 2));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2)); // 返回
    EXPECT_EQ(g_ranking.paramsChosen, 0);
    EXPECT_EQ(Rankings().back().Get("market"), "12");
    EXPECT_EQ(Caption(), u"沪深A股涨幅");
}

TEST_F(SortFormTest, AValueTooLongForTheCodeFieldIsNotCarriedAndTheTableKeepsItsCode) {
    Start([](CDataSetWriter& w) {
        const std::pair<const char*, const char16_t*> groups[] = {
            {"market", u"12^沪深#ABCDEFGHIJ^超长#"}, {"type", u"A^A股#"}, {"sort", u"zf^涨幅#df^跌幅#"}};
        for (const auto& [name, value] : groups) {
            w.AddSet("config");
            w.AddColumn(DataSetType::AnsiText, "name", u"名称");
            w.AddColumn(DataSetType::WideText, "value", u"取值");
            w.AddRow();
            w.SetAnsiText(0, name);
            w.SetText(1, value);
        }
    });
    OpenNode(kNodeAllRising);
    OpenForm();
    ASSERT_TRUE(Choose(CStockSortParamWnd::kMarketListId, 1));
    ASSERT_TRUE(Choose(CStockSortParamWnd::kFieldListId, 1));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 0));
    EXPECT_EQ(g_ranking.paramsChosen, 1);
    EXPECT_EQ(Rankings().back().Get("market"), "12");
    EXPECT_EQ(Rankings().back().Get("type"), "df");
    EXPECT_EQ(Caption(), u"沪深A股跌幅");
}

} // namespace
