// The table grid's geometry without a window: shown columns, the columns
// on the screen after a sideways scroll, drags, row hit tests and the
// vertical scroll range.
#include "framework/ui/widgets/GridLayout.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> Columns(const std::vector<CGridColumnSpan>& spans) {
    std::vector<int> out;
    for (const CGridColumnSpan& s : spans)
        out.push_back(s.column);
    return out;
}

} // namespace

TEST(GridLayout, ShownColumnsLeaveOutTheHiddenOnes) {
    EXPECT_EQ(GridLayout::ShownColumns({false, true, false, false, true}), (std::vector<int>{0, 2, 3}));
    EXPECT_TRUE(GridLayout::ShownColumns({}).empty());
}

TEST(GridLayout, ColumnsShareTheWidthAndTheLastTakesTheLeftoverPixels) {
    const auto spans = GridLayout::LayoutColumns(481, std::vector<bool>(3, false), 0, 3, 0);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0], (CGridColumnSpan{0, 0, 160}));
    EXPECT_EQ(spans[1], (CGridColumnSpan{1, 160, 320}));
    EXPECT_EQ(spans[2], (CGridColumnSpan{2, 320, 481}));
}

TEST(GridLayout, FewerColumnsThanTheScreenHoldsFillTheWholeWidth) {
    const auto spans = GridLayout::LayoutColumns(480, std::vector<bool>(2, false), 1, 4, 0);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[1].right, 480);
    EXPECT_EQ(GridLayout::MaxFirstScrolled(std::vector<bool>(2, false), 1, 4), 0);
}

TEST(GridLayout, ScrollingSidewaysKeepsTheFixedColumnsAtTheLeft) {
    const std::vector<bool> hidden(8, false);
    EXPECT_EQ(GridLayout::MaxFirstScrolled(hidden, 2, 4), 4);
    EXPECT_EQ(Columns(GridLayout::LayoutColumns(480, hidden, 2, 4, 0)), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(Columns(GridLayout::LayoutColumns(480, hidden, 2, 4, 3)), (std::vector<int>{0, 1, 5, 6}));
    // Scrolled past the end it stops at the last columns.
    EXPECT_EQ(Columns(GridLayout::LayoutColumns(480, hidden, 2, 4, 99)), (std::vector<int>{0, 1, 6, 7}));
    EXPECT_EQ(Columns(GridLayout::LayoutColumns(480, hidden, 2, 4, -5)), (std::vector<int>{0, 1, 2, 3}));
}

TEST(GridLayout, HiddenColumnsTakeNoRoomAndNeverScrollIntoView) {
    // The query tables hide their sign and paging columns.
    const std::vector<bool> hidden{false, false, true, false, false, true};
    EXPECT_EQ(GridLayout::MaxFirstScrolled(hidden, 1, 3), 1);
    EXPECT_EQ(Columns(GridLayout::LayoutColumns(300, hidden, 1, 3, 0)), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(Columns(GridLayout::LayoutColumns(300, hidden, 1, 3, 1)), (std::vector<int>{0, 3, 4}));
}

TEST(GridLayout, WhenEveryScreenColumnIsFixedNothingScrolls) {
    const std::vector<bool> hidden(6, false);
    EXPECT_EQ(GridLayout::MaxFirstScrolled(hidden, 3, 3), 0);
    EXPECT_EQ(Columns(GridLayout::LayoutColumns(300, hidden, 5, 3, 2)), (std::vector<int>{0, 1, 2}));
}

TEST(GridLayout, NoColumnsOrNoWidthGiveNoSpans) {
    EXPECT_TRUE(GridLayout::LayoutColumns(480, {}, 0, 3, 0).empty());
    EXPECT_TRUE(GridLayout::LayoutColumns(0, std::vector<bool>(3, false), 0, 3, 0).empty());
    EXPECT_TRUE(GridLayout::LayoutColumns(480, std::vector<bool>(3, true), 0, 3, 0).empty());
    EXPECT_EQ(GridLayout::LayoutColumns(480, std::vector<bool>(3, false), 0, 0, 0).size(), 1u)
        << "a screen of no columns holds one";
}

TEST(GridLayout, ADragMovesOneColumnPerColumnWidthRoundedAndClamped) {
    EXPECT_EQ(GridLayout::FirstScrolledAfterDrag(0, -120, 120, 5), 1) << "finger to the left shows later columns";
    EXPECT_EQ(GridLayout::FirstScrolledAfterDrag(0, -170, 120, 5), 1);
    EXPECT_EQ(GridLayout::FirstScrolledAfterDrag(0, -190, 120, 5), 2);
    EXPECT_EQ(GridLayout::FirstScrolledAfterDrag(3, 240, 120, 5), 1) << "finger to the right goes back";
    EXPECT_EQ(GridLayout::FirstScrolledAfterDrag(1, 999, 120, 5), 0);
    EXPECT_EQ(GridLayout::FirstScrolledAfterDrag(4, -999, 120, 5), 5);
    EXPECT_EQ(GridLayout::FirstScrolledAfterDrag(2, -999, 0, 5), 2) << "no width: no move";
}

TEST(GridLayout, RowAtCountsRowsBelowTheHeaderBandWithTheScroll) {
    EXPECT_EQ(GridLayout::RowAt(10, 48, 48, 0, 5), -1) << "the header band is no row";
    EXPECT_EQ(GridLayout::RowAt(48, 48, 48, 0, 5), 0);
    EXPECT_EQ(GridLayout::RowAt(95, 48, 48, 0, 5), 0);
    EXPECT_EQ(GridLayout::RowAt(96, 48, 48, 0, 5), 1);
    EXPECT_EQ(GridLayout::RowAt(48, 48, 48, 100, 5), 2);
    EXPECT_EQ(GridLayout::RowAt(48 + 5 * 48, 48, 48, 0, 5), -1) << "below the last row";
    EXPECT_EQ(GridLayout::RowAt(0, 0, 48, 0, 5), 0) << "without a header row 0 starts at the top";
    EXPECT_EQ(GridLayout::RowAt(50, 0, 0, 0, 5), -1);
}

TEST(GridLayout, MaxScrollIsTheRowsBeyondTheRoomBelowTheHeader) {
    EXPECT_EQ(GridLayout::MaxScroll(480, 48, 48, 5), 0);
    EXPECT_EQ(GridLayout::MaxScroll(480, 48, 48, 20), 20 * 48 - 432);
    EXPECT_EQ(GridLayout::MaxScroll(480, 0, 48, 0), 0);
}
