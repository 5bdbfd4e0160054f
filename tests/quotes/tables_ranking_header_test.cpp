// The ranking table's header: the direction flip on the "涨幅" title and its
// arrow; and the cells of a stock not traded today. Rise and fall colours as
// drawn are the reference screens' and the colour mapping's.
#include "tables_ranking_Fixture.h"

#include "quotes/tables/CQuoteHeaderList.h"

#include <algorithm>

namespace {

class RankingHeaderTest : public RankingTest {};

TEST_F(RankingHeaderTest, ATapOnTheLastTitleAsksForTheOtherDirectionFromPageZeroAndSwapsTheArrow) {
    Start();
    OpenNode(kNodeAllRising);
    EXPECT_EQ(OnTable([](COrbStockTableWnd& t) { return t.GetHeaderList().GetArrowImageId(); }), 138);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 3)); // page 1
    ASSERT_TRUE(TapHeaderAt(0.9));
    const std::vector<SimRequest> sent = Rankings();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2].Get("direct"), "0");
    EXPECT_EQ(sent[2].Get("offset"), "0");
    EXPECT_EQ(OnTable([](COrbStockTableWnd& t) { return t.GetHeaderList().GetArrowImageId(); }), 137);
    EXPECT_TRUE(OnTable([](COrbStockTableWnd& t) { return t.GetHeaderList().IsArrowShown(); }));
    EXPECT_EQ(Column(CQuoteRowData::kName).front(), u"博远生物") << "the largest fall first";

    ASSERT_TRUE(TapHeaderAt(0.9));
    EXPECT_EQ(Rankings().back().Get("direct"), "1");
    EXPECT_EQ(OnTable([](COrbStockTableWnd& t) { return t.GetHeaderList().GetArrowImageId(); }), 138);
}

TEST_F(RankingHeaderTest, AStockNotTradedTodayShowsADashInTheDefaultColourAndKeepsItsChangeColours) {
    Start();
    OpenNode(kNodeShanghaiRising);
    const std::vector<std::u16string> names = Column(CQuoteRowData::kName);
    const auto it = std::find(names.begin(), names.end(), u"宏驰汽车");
    ASSERT_NE(it, names.end());
    const int index = static_cast<int>(it - names.begin());
    const COLORREF normal = driver.RunOnGui([] { return CAppData::Instance()->GetColor(14); });
    const auto cell = [&](int c) {
        return OnTable([index, c](COrbStockTableWnd& t) { return t.GetRowData(index)->GetCell(c); });
    };
    EXPECT_EQ(cell(CQuoteRowData::kLast).text, u"-");
    EXPECT_EQ(cell(CQuoteRowData::kLast).color, normal);
    EXPECT_EQ(cell(CQuoteRowData::kChange).color, 0xFFFFFFu) << "flat: palette 17";
    EXPECT_EQ(cell(CQuoteRowData::kChangePct).color, 0xFFFFFFu);
}

} // namespace
