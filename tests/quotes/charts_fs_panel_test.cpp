// The minute view's geometry without a window: its areas in both
// orientations, the side panel's pages and cells, and what a held press hits.
#include "quotes/charts/FSChartPanel.h"

#include <gtest/gtest.h>

namespace {

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

} // namespace
