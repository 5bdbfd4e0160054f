// The minute view's geometry and side panel without a window: its areas in
// both orientations, the panel's pages and cells, what a held press hits,
// the texts and colours of the panel's values, and the shared page and
// pressed level of the side panel.
#include "charts_simMinute_Fixture.h"
#include "quotes/charts/CChartCanvas.h"
#include "quotes/charts/CChartState.h"
#include "quotes/charts/CFSChartView.h"
#include "quotes/charts/CFSData.h"
#include "quotes/charts/CFSSidePanel.h"
#include "quotes/charts/FSChartPanel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using sim_minute::DataOf;

std::u16string Panel(const CFSData* data, int label, int* color = nullptr, std::u16string* volume = nullptr) {
    int scratch = 0;
    return FSPanelValue(data, label, color ? color : &scratch, volume);
}

const CRect kPortraitPanel{0, 500, 480, 600};   // 3 rows of 33, 2 columns of 240
const CRect kLandscapePanel{576, 0, 720, 400};  // 10 rows of 40

TEST(FSLayoutRule, GridAndVolumeAreaSplitThePriceAreaAndNeverGoNegative) {
    const CFSLayout portrait = FSLayout({60, 40, 480, 460}, kPortraitPanel, 20, true);
    EXPECT_EQ(portrait.columnStep, 105);
    EXPECT_EQ(portrait.volumeHeight, 84);
    EXPECT_EQ(portrait.rowHeight, 52); // (420 − 84 − 20) / 6
    EXPECT_EQ(portrait.grid, (CRect{60, 40, 479, 40 + 6 * 52 - 1}));
    EXPECT_EQ(portrait.volume, (CRect{60, portrait.grid.bottom + 20, 479, 460}));
    const CFSLayout landscape = FSLayout({60, 40, 576, 480}, kLandscapePanel, 20, false);
    EXPECT_EQ(landscape.volume.bottom, 460) << "the time labels below it in landscape";
    EXPECT_TRUE(portrait.Drawable());
    for (const CRect& tiny : {CRect{0, 0, 0, 0}, CRect{0, 0, 3, 10}, CRect{10, 10, 5, 5}})
        EXPECT_FALSE(FSLayout(tiny, {}, 20, true).Drawable());
}

TEST(FSPanelPages, IndicesAndHistoryChartsShowPageZeroWithPreviousCloseInPlaceOfOrderRatio) {
    EXPECT_EQ(FSShownPage(2, true, true), 0);
    EXPECT_EQ(FSShownPage(3, false, false), 0) << "landscape shows page 3 as page 0";
    EXPECT_EQ(FSShownPage(3, true, false), 3);
    EXPECT_EQ(FSShownPage(7, true, false), 0);
    const std::vector<CFSPanelCell> zero = FSPanelCells(kPortraitPanel, 2, true, true);
    ASSERT_EQ(zero.size(), 9u);
    EXPECT_EQ(zero[8].label, 9);
    EXPECT_EQ(std::u16string(FSPanelLabel(zero[8].label)), u"昨收");
}

TEST(FSPanelPages, CellsOfEachPageInBothOrientations) {
    auto labels = [](const std::vector<CFSPanelCell>& cells) {
        std::vector<int> out;
        for (const CFSPanelCell& c : cells)
            out.push_back(c.label);
        return out;
    };
    EXPECT_EQ(labels(FSPanelCells(kPortraitPanel, 1, true, false)), (std::vector<int>{9, 10, 11, 12, 13}));
    EXPECT_EQ(FSPanelCells(kPortraitPanel, 1, true, false)[4].rect, (CRect{240, 533, 480, 566}))
        << "the last two cells are half the panel wide";
    EXPECT_EQ(labels(FSPanelCells(kPortraitPanel, 2, true, false)), (std::vector<int>{14, 15, 16, 17, 18, 19}));
    EXPECT_EQ(labels(FSPanelCells(kPortraitPanel, 3, true, false)), (std::vector<int>{20, 21, 22, 23}));
    EXPECT_EQ(labels(FSPanelCells(kLandscapePanel, 2, false, false)),
              (std::vector<int>{22, 20, 18, 16, 14, 15, 17, 19, 21, 23}));
    EXPECT_EQ(FSPanelCells(kLandscapePanel, 0, false, false).size(), 9u);
    EXPECT_TRUE(FSPanelCells({}, 2, true, false).empty());
}

TEST(FSPanelHits, APortraitPressHitsItsLevelWithTheColumnClampedAndRowsOutsideRefused) {
    const struct {
        int page, x, y;
        CFSPanelHit hit;
    } cases[] = {
        {2, 10, 505, {14, 0, false}},   // 卖一
        {2, 300, 505, {15, 1, true}},   // 买一: a bid, sold to
        {2, 300, 540, {17, 3, true}},
        {2, 10, 570, {18, 4, false}},   // row 2 only on page 2
        {3, 10, 505, {20, 0, false}},
        {3, 479, 540, {23, 3, true}},
        {3, 10, 570, {}},
        {2, 5000, 505, {15, 1, true}},  // right of the panel: the right column
        {2, -40, 505, {14, 0, false}},  // left of it: the left column
        {2, 10, 700, {}},               // below the rows
        {2, 10, 400, {}},               // above the panel
        {0, 10, 505, {}},
        {1, 10, 505, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FSHitPanelPortrait(kPortraitPanel, c.page, c.x, c.y), c.hit) << c.page << " " << c.x << "," << c.y;
    EXPECT_EQ(FSHitPanelPortrait({0, 0, 1, 2}, 2, 0, 0), CFSPanelHit{}) << "too small to divide";
}

TEST(FSPanelHits, ALandscapePressHitsAsksTopDownThenBidsOnPageTwoOnly) {
    const struct {
        int page, y;
        CFSPanelHit hit;
    } cases[] = {
        {2, 5, {22, 0, false}},   // 卖五 at the top
        {2, 170, {14, 4, false}}, // 卖一
        {2, 205, {15, 5, true}},  // 买一
        {2, 399, {23, 9, true}},  // 买五
        {2, 400, {}},
        {2, -1, {}},
        {3, 5, {}},
        {0, 5, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FSHitPanelLandscape(kLandscapePanel, c.page, 600, c.y), c.hit) << c.page << " " << c.y;
}

TEST(FSPanelValues, ATradingStockShowsItsQuoteAndLevelsInLots) {
    const auto data = DataOf("600010.02");
    int color = 0;
    std::u16string volume;
    EXPECT_EQ(Panel(data.get(), kFSLabelLatest, &color), u"8.62");
    EXPECT_EQ(color, CChartCanvas::kRiseColor);
    EXPECT_EQ(Panel(data.get(), kFSLabelPrevClose, &color), u"8.52");
    EXPECT_EQ(color, CChartCanvas::kFlatColor);
    EXPECT_EQ(Panel(data.get(), kFSLabelChangePercent), u"1.170%");
    EXPECT_EQ(Panel(data.get(), kFSLabelTotalVolume, &color), u"185.4万");
    EXPECT_EQ(color, kFSPanelVolumeColor);
    EXPECT_EQ(Panel(data.get(), kFSFirstLevelLabel, &color, &volume), u"8.63"); // 卖一
    const std::string lots = std::to_string(data->GetAsk(0).volume);
    EXPECT_EQ(volume, std::u16string(lots.begin(), lots.end()));
    EXPECT_LT(data->GetAsk(0).volume, 1000) << "lots, not the shares of the reply";
    EXPECT_EQ(Panel(data.get(), kFSFirstLevelLabel + 1), u"8.62"); // 买一
    EXPECT_EQ(Panel(nullptr, kFSLabelLatest), u"-");
    EXPECT_EQ(Panel(data.get(), kFSPanelLabelCount), u"-");
}

TEST(FSPanelValues, MissingUnknownAndNotYetTradedValuesShowADash) {
    const auto missing = DataOf("600131.02"); // amount and order ratio unknown to the server
    EXPECT_EQ(Panel(missing.get(), kFSLabelAmount), u"-");
    EXPECT_EQ(Panel(missing.get(), kFSLabelOrderRatio), u"-");
    const auto idle = DataOf("600372.02"); // not traded today
    for (int label : std::initializer_list<int>{kFSLabelOpen, kFSLabelHigh, kFSLabelLow, kFSLabelChange, kFSLabelChangePercent,
                      kFSLabelTotalVolume, kFSLabelAmount, kFSFirstLevelLabel, kFSFirstLevelLabel + 1})
        EXPECT_EQ(Panel(idle.get(), label), u"-") << label;
    EXPECT_EQ(Panel(idle.get(), kFSLabelPrevClose), u"22.16");
    // The server sends the previous close as the latest price until the first trade.
    EXPECT_EQ(Panel(idle.get(), kFSLabelLatest), u"22.16");
    // A history day's change is its latest against the previous close.
    const auto history = DataOf("600010.02", "20261202");
    ASSERT_TRUE(history->IsHistory());
    EXPECT_EQ(Panel(history.get(), kFSLabelChange), u"-0.04");
    EXPECT_EQ(Panel(history.get(), kFSLabelTotalVolume), history->GetHistoryVolume().ToWideTextWithUnit().str());
}

TEST(FSPanelValues, EachNamedLabelIsTheTextItShows) {
    const struct {
        int label;
        const char16_t* text;
    } cases[] = {{kFSLabelLatest, u"最新"},      {kFSLabelOpen, u"开盘"},          {kFSLabelHigh, u"最高"},
                 {kFSLabelLow, u"最低"},         {kFSLabelChange, u"涨跌"},        {kFSLabelChangePercent, u"涨幅"},
                 {kFSLabelTotalVolume, u"总手"}, {kFSLabelAmount, u"金额"},        {kFSLabelOrderRatio, u"委比"},
                 {kFSLabelPrevClose, u"昨收"},   {kFSLabelAverage, u"均价"},       {kFSLabelVolumeRatio, u"量比"},
                 {kFSLabelTurnover, u"换手率"},  {kFSLabelPeRatio, u"市盈率"},     {kFSFirstLevelLabel, u"卖一"},
                 {kFSFirstLevelLabel + 1, u"买一"}, {kFSPanelLabelCount - 1, u"买五"}};
    for (const auto& c : cases)
        EXPECT_EQ(std::u16string(FSPanelLabel(c.label)), c.text) << c.label;
}

TEST(FSPanelValues, ComparedValuesTakeTheColourOfTheirDirectionAndMissingOnesADash) {
    const CQuoteNumber close(10.0, 2);
    const CQuoteNumber missing(CQuoteNumber::kMissingValue, 2);
    int color = 0;
    EXPECT_EQ(FSComparedValue(close, CQuoteNumber(10.5, 2), &color), u"10.50");
    EXPECT_EQ(color, CChartCanvas::kRiseColor);
    EXPECT_EQ(FSComparedValue(close, CQuoteNumber(9.5, 2), &color), u"9.50");
    EXPECT_EQ(color, CChartCanvas::kFallColor);
    EXPECT_EQ(FSComparedValue(missing, CQuoteNumber(9.5, 2), &color), u"9.50");
    EXPECT_EQ(color, CChartCanvas::kFlatColor) << "no reference: no direction";
    color = 0;
    EXPECT_EQ(FSComparedValue(close, missing, &color), u"-");
    EXPECT_EQ(color, CChartCanvas::kFlatColor);
    EXPECT_EQ(FSPercentOf(CQuoteNumber(9.0, 2), close, &color).back(), u'%');
    EXPECT_EQ(color, CChartCanvas::kFallColor);
    color = 0;
    EXPECT_EQ(FSPercentOf(CQuoteNumber(9.0, 2), CQuoteNumber(0, 2), &color), u"-") << "never divides by zero";
    EXPECT_EQ(color, CChartCanvas::kFlatColor);
    EXPECT_EQ(FSPercentOf(missing, close, &color), u"-");
}

TEST(FSPanelValues, WithoutASnapshotOrWithoutOutputsEveryLabelIsADash) {
    const CFSData empty;
    std::u16string volume = u"x";
    int color = 0;
    for (int label = -1; label <= kFSPanelLabelCount; ++label) {
        EXPECT_EQ(FSPanelValue(&empty, label, &color, &volume), u"-") << label;
        EXPECT_EQ(color, CChartCanvas::kFlatColor) << label;
        EXPECT_EQ(volume, u"-") << label;
    }
    // Neither the colour nor the volume is required.
    const auto data = DataOf("600010.02");
    EXPECT_EQ(FSPanelValue(data.get(), kFSFirstLevelLabel, nullptr, nullptr), u"8.63");
}


TEST(FSSidePanel, PagesWrapBothWaysAreSharedAndAHistoryDayStaysOnPageZero) {
    const auto stock = DataOf("600010.02");
    const auto history = DataOf("600010.02", "20261202");
    CChartState::Shared().SetPanelPage(0);
    CFSSidePanel panel;
    panel.TurnPage(stock.get(), true);
    EXPECT_EQ(CChartState::Shared().GetPanelPage(), 3);
    EXPECT_EQ(CFSSidePanel::ShownPage(stock.get(), true), 3);
    EXPECT_EQ(CFSSidePanel::ShownPage(stock.get(), false), 0) << "landscape has no page 3";
    CFSSidePanel other;
    other.TurnPage(stock.get(), false);
    EXPECT_EQ(CChartState::Shared().GetPanelPage(), 0) << "one page for every minute chart";
    other.TurnPage(stock.get(), false);
    other.TurnPage(stock.get(), false);
    EXPECT_EQ(CFSSidePanel::ShownPage(history.get(), true), 0);
    other.TurnPage(history.get(), false);
    EXPECT_EQ(CChartState::Shared().GetPanelPage(), 0);
    CChartState::Shared().SetPanelPage(7);
    EXPECT_EQ(CChartState::Shared().GetPanelPage(), 0) << "an unknown page is page 0";
}

TEST(FSSidePanel, AHeldLevelLooksPressedUntilReleasedOrThePageTurns) {
    const auto stock = DataOf("600010.02");
    CChartState::Shared().SetPanelPage(2);
    const CFSLayout fs = FSLayout({0, 20, 480, 520}, kPortraitPanel, 20, true);
    CFSSidePanel panel;
    EXPECT_TRUE(panel.IsDirty());
    const CFSChartView canvas(nullptr);
    const std::unique_ptr<CDC> dc = CDC::CreateMemoryDC(480, 620);
    panel.Draw(*dc, canvas, stock.get(), fs);
    EXPECT_FALSE(panel.IsDirty());
    ASSERT_EQ(panel.Hit(stock.get(), fs, kPortraitPanel.left + 10, kPortraitPanel.top + 5), 1);
    EXPECT_EQ(panel.GetPressedPrice(), "8.63");
    EXPECT_FALSE(panel.IsSellLevel());
    EXPECT_TRUE(panel.IsCellPressed());
    EXPECT_TRUE(panel.IsDirty());
    EXPECT_TRUE(panel.Release());
    EXPECT_FALSE(panel.Release()) << "nothing left to release";
    ASSERT_EQ(panel.Hit(stock.get(), fs, kPortraitPanel.right - 10, kPortraitPanel.top + 5), 1);
    EXPECT_TRUE(panel.IsSellLevel());
    panel.TurnPage(stock.get(), false);
    EXPECT_FALSE(panel.IsCellPressed());
    EXPECT_EQ(panel.Hit(nullptr, fs, kPortraitPanel.left + 10, kPortraitPanel.top + 5), 0);
    CChartState::Shared().SetPanelPage(0);
}

} // namespace
