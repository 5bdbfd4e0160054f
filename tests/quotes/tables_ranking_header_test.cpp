// The ranking table's header and row drawing: the direction flip on the
// "涨幅" title, the arrow, and the rise and fall colours as drawn.
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

TEST_F(RankingHeaderTest, TheOtherTitlesAndADragOnTheLastOneSendNothing) {
    Start();
    OpenNode(kNodeAllRising);
    for (double share : {0.1, 0.4, 0.65, 0.77})
        ASSERT_TRUE(TapHeaderAt(share));
    const std::optional<CRect> r = CDriverControls::ControlScreenRect(driver, COrbTableWnd::kHeaderListId);
    ASSERT_TRUE(r);
    const int y = (r->top + r->bottom) / 2;
    ASSERT_TRUE(driver.Drag({r->right - 30, y}, {r->right - 30, y + 40}));
    EXPECT_EQ(Rankings().size(), 1u);
    EXPECT_EQ(OnTable([](COrbStockTableWnd& t) { return t.GetHeaderList().GetDirection(); }), 0);
}

TEST_F(RankingHeaderTest, RisingAndFallingRowsAreDrawnInTheirMappedColours) {
    Start();
    OpenNode(kNodeAllRising);
    ASSERT_EQ(OnTable([](COrbStockTableWnd& t) { return t.GetSelectedRow(); }), -1);
    const std::u16string riseLast = Column(CQuoteRowData::kLast).front();
    const std::u16string riseChange = Column(CQuoteRowData::kChange).front();
    std::vector<CDrawnText> row = TextsInRow(0);
    EXPECT_EQ(ColorOf(row, riseLast), 0x2626FFu);
    EXPECT_EQ(ColorOf(row, riseChange), 0x2626FFu);
    EXPECT_EQ(ColorOf(row, u"智云数据"), 0xFFFFFFu) << "names are white on an unselected row";
    EXPECT_EQ(ColorOf(row, Column(CQuoteRowData::kChangePct).front() + u"%"), 0xE6E6E6u);

    ASSERT_TRUE(TapHeaderAt(0.9)); // falls first
    const std::u16string fallLast = Column(CQuoteRowData::kLast).front();
    row = TextsInRow(0);
    EXPECT_EQ(ColorOf(row, fallLast), 0x14C814u) << "the fall colour 0x17FF17 mapped for a row not selected";
    EXPECT_EQ(OnTable([](COrbStockTableWnd& t) { return t.GetRowData(0)->GetColor(CQuoteRowData::kLast); }),
              0x17FF17u);

    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 0));
    row = TextsInRow(0);
    EXPECT_EQ(ColorOf(row, fallLast), 0x147814u) << "the selected-row mapping";
    EXPECT_EQ(ColorOf(row, u"博远生物"), 0x000000u);
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
    const std::vector<CDrawnText> row = TextsInRow(index);
    EXPECT_EQ(ColorOf(row, u"-"), normal);
    EXPECT_EQ(ColorOf(row, u"宏驰汽车"), 0xFFFFFFu);
}

} // namespace
