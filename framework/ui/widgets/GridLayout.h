// The table grid's geometry as pure functions: which columns show after a
// horizontal scroll, where each falls, and which row lies under a point.
// The grid paints and hit-tests from these, so they are tested without a
// window.
//
// Columns: the shown columns are the non-hidden ones in index order. The
// first `fixed` shown columns always stay at the left; the others scroll
// sideways by whole columns, `firstScrolled` being how many of them have
// left the screen. At most `onScreen` columns (fixed included) are on the
// screen at once, each clientWidth / min(onScreen, shown) pixels wide; the
// last one on the screen takes the leftover pixels.
#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <vector>

struct CGridColumnSpan {
    int column = 0; // grid column index
    int left = 0;   // pixels, client coordinates
    int right = 0;  // pixels, exclusive
    friend bool operator==(const CGridColumnSpan&, const CGridColumnSpan&) = default;
};

namespace GridLayout {

// The shown (non-hidden) column indices in order.
std::vector<int> ShownColumns(const std::vector<bool>& hidden);

// How many scrolling columns may leave the screen: shown − onScreen, never
// below 0, and 0 when the fixed columns fill every slot on the screen. An
// onScreen below 1 counts as 1.
int MaxFirstScrolled(const std::vector<bool>& hidden, int fixed, int onScreen);

// The columns on the screen, left to right, with their spans.
// firstScrolled is clamped to [0, MaxFirstScrolled].
std::vector<CGridColumnSpan> LayoutColumns(int clientWidth, const std::vector<bool>& hidden, int fixed,
                                           int onScreen, int firstScrolled);

// The column scroll that a horizontal drag of dx pixels (positive: finger
// to the right, showing earlier columns) gives from startFirst, moving one
// column per columnWidth pixels, rounded to the nearest, clamped.
int FirstScrolledAfterDrag(int startFirst, int dx, int columnWidth, int maxFirst);

// The data row under y (client coordinates) for rows of rowHeight pixels
// below a header band of headerHeight pixels, the rows scrolled up by
// scrollPos pixels; −1 in the header band, above, or below the last row.
int RowAt(int y, int headerHeight, int rowHeight, int scrollPos, int rowCount);

// The most the rows scroll: their height beyond the client's height
// without the header band, never below 0.
int MaxScroll(int clientHeight, int headerHeight, int rowHeight, int rowCount);

// The colour a cell's text takes on the light selection band: its own hue,
// darkened as far as needed to read at kSelectedContrast or better on
// every shade of the band (a dark colour stays as it is). 0x00BBGGRR.
// Above the 4.5 of ordinary text: the glyphs' soft edges read lighter.
constexpr double kSelectedContrast = 7.0;
std::uint32_t SelectedTextColor(std::uint32_t color);

} // namespace GridLayout
