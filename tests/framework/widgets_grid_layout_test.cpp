// The table grid's geometry without a window, where the grid on a form
// (widgets_grid_test) does not reach: leftover pixels, clamping, rounding,
// scrolled rows and a grid without a header.
#include "framework/ui/widgets/GridLayout.h"
#include "platform/gdi/Color.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(GridLayout, ColumnsShareTheWidthTheLastTakesTheLeftoverPixelsAndTheScrollIsClamped) {
    const std::vector<bool> none(8, false);
    EXPECT_EQ(GridLayout::LayoutColumns(481, std::vector<bool>(3, false), 0, 3, 0),
              (std::vector<CGridColumnSpan>{{0, 0, 160}, {1, 160, 320}, {2, 320, 481}}));
    EXPECT_EQ(GridLayout::LayoutColumns(480, std::vector<bool>(2, false), 1, 4, 0),
              (std::vector<CGridColumnSpan>{{0, 0, 240}, {1, 240, 480}}))
        << "fewer columns than the screen holds fill the whole width";
    EXPECT_EQ(GridLayout::LayoutColumns(480, none, 2, 4, 99), GridLayout::LayoutColumns(480, none, 2, 4, 4));
    EXPECT_EQ(GridLayout::LayoutColumns(480, none, 2, 4, -5), GridLayout::LayoutColumns(480, none, 2, 4, 0));
    EXPECT_EQ(GridLayout::MaxFirstScrolled(std::vector<bool>(6, false), 3, 3), 0) << "every screen column fixed";
    EXPECT_TRUE(GridLayout::LayoutColumns(480, {}, 0, 3, 0).empty());
    EXPECT_TRUE(GridLayout::LayoutColumns(0, std::vector<bool>(3, false), 0, 3, 0).empty());
    EXPECT_TRUE(GridLayout::LayoutColumns(480, std::vector<bool>(3, true), 0, 3, 0).empty());
    EXPECT_EQ(GridLayout::LayoutColumns(480, std::vector<bool>(3, false), 0, 0, 0).size(), 1u)
        << "a screen of no columns holds one";
}

TEST(GridLayout, ADragMovesOneColumnPerColumnWidthRoundedAndClamped) {
    // start, dx (negative: finger to the left, later columns), column width, result; at most 5
    const std::tuple<int, int, int, int> cases[] = {
        {0, -120, 120, 1}, {0, -170, 120, 1}, {0, -190, 120, 2}, {3, 240, 120, 1},
        {1, 999, 120, 0},  {4, -999, 120, 5}, {2, -999, 0, 2}, // no width: no move
    };
    for (auto [start, dx, width, result] : cases)
        EXPECT_EQ(GridLayout::FirstScrolledAfterDrag(start, dx, width, 5), result) << start << " " << dx;
}

TEST(GridLayout, RowAtCountsRowsBelowTheHeaderBandWithTheScrollAndMaxScrollTheRowsBeyondTheRoom) {
    // y, header, row height, scroll, result; 5 rows
    const std::tuple<int, int, int, int, int> cases[] = {
        {95, 48, 48, 0, 0}, {96, 48, 48, 0, 1}, {48, 48, 48, 100, 2}, {0, 0, 48, 0, 0}, {50, 0, 0, 0, -1},
    };
    for (auto [y, header, height, scroll, row] : cases)
        EXPECT_EQ(GridLayout::RowAt(y, header, height, scroll, 5), row) << y << " " << header << " " << scroll;
    EXPECT_EQ(GridLayout::MaxScroll(480, 48, 48, 5), 0);
    EXPECT_EQ(GridLayout::MaxScroll(480, 48, 48, 20), 20 * 48 - 432);
}

TEST(GridLayout, ASelectedRowDarkensEachTextColourOnlyAsFarAsTheBandNeedsToReadItAndKeepsItsHue) {
    const COLORREF colors[] = {0xFFFFFF, 0x00FFFF /* volume yellow */, 0x17FF17 /* fall green */,
                               0x2626FF /* rise red */, 0xC0C0C0, 0x1E1EFF};
    for (COLORREF color : colors) {
        const COLORREF shown = GridLayout::SelectedTextColor(color);
        SCOPED_TRACE(testing::Message() << std::hex << color << " -> " << shown);
        for (COLORREF band : {kSelectionBandTop, kSelectionBandBottom})
            EXPECT_GE(ContrastRatio(shown, band), std::max(4.5, GridLayout::kSelectedContrast));
        EXPECT_LT(ContrastRatio(shown, kSelectionBandBottom), GridLayout::kSelectedContrast + 0.7) << "not darker than it needs";
        // One factor for every channel: the hue stays.
        const int before[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
        const int after[3] = {GetRValue(shown), GetGValue(shown), GetBValue(shown)};
        const int ref = static_cast<int>(std::max_element(before, before + 3) - before);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(after[c] * 255.0 / after[ref], before[c] * 255.0 / before[ref], 4.0) << "channel " << c;
    }
    EXPECT_EQ(GridLayout::SelectedTextColor(0x202020), 0x202020u) << "a dark colour stays";
    EXPECT_EQ(GridLayout::SelectedTextColor(0x000000), 0x000000u);
}
