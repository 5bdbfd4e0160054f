// The arithmetic of the chart canvas as pure functions: the split of a
// chart into price and volume areas, the cursor's index rules, and the
// scaling of a series into the line segments a painter draws. The canvas's
// drawing operations walk what these return, so every rule is tested
// without a device context.
//
// Scaling never divides by zero and never overflows: a slot count below 1,
// a flat or inverted range or an empty rectangle gives no segment, a
// missing value (999999999) is no point, and a coordinate far outside the
// rectangle is pinned before it becomes an int.
#pragma once

#include "core/CQuoteNumber.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <vector>

class CChartSeries;

// The areas of one layout. Rectangles carry right and bottom as the chart
// code uses them: PtInChartRect counts all four edges in.
struct CChartLayout {
    int labelMargin = 0; // pixels of the value-label column left of the price area, 0 without room
    int labelHeight = 0; // pixels of one text line
    CRect priceArea;
    CRect volumeArea;
    CRect wholeArea;
    friend bool operator==(const CChartLayout&, const CChartLayout&) = default;
};

// Portrait: the volume area is the bottom fifth, the price area above it
// leaves two label lines at the top and one above the volume area.
CChartLayout ChartLayoutPortrait(CSize label, const CRect& area);
// Landscape: the volume area is the right fifth; the price area runs to
// the area's bottom.
CChartLayout ChartLayoutLandscape(CSize label, const CRect& area);

// left <= x <= right and top <= y <= bottom.
bool PtInChartRect(const CRect& r, int x, int y);

// The cursor index that selecting index on count records gives: 0 with no
// record; the last record for an index below 0; record 0 for an index at
// or past the count (so stepping wraps at both ends); index otherwise.
int WrapCursorIndex(int index, int count);
// A kept cursor position for count records: -1 (none kept) stays -1, a
// position at or past the count goes to the last record, 0 with none.
int KeptCursorIndex(int kept, int count);

// x of slot i (from the first slot) across width pixels in n slots:
// left + trunc(width / n * i + 0.5); left for n < 1.
int ChartSlotX(int left, int width, int n, int i);
// y of value in [min, max] over the rectangle's height:
// bottom − trunc((value − min) × height / (max − min) + 0.5), pinned to
// bottom ± 2^30; bottom for a flat or inverted range.
int ChartValueY(const CRect& r, double value, double max, double min);

// One straight stroke of a painter.
struct CChartSegment {
    CPoint from;
    CPoint to;
    friend bool operator==(const CChartSegment&, const CChartSegment&) = default;
};

enum : int {
    kChartModeLine = 0, // a line through the records
    kChartModeBars = 1, // a vertical bar per record from the baseline
};

// The strokes that draw numbers of column from record start on across n
// slots of r, ranged [min, max] (CChartCanvas::DrawPriceLine). Line mode
// starts at record start and joins neighbours that both lie in r; a
// missing value leaves a gap on both sides. Bar mode draws a bar from
// r.bottom − 1 to each point in r. Empty without a series, a record,
// n < 1, max <= min, or another mode.
std::vector<CChartSegment> PriceLineSegments(const CChartSeries* series, int column, const CRect& r,
                                             const CQuoteNumber& max, const CQuoteNumber& min, int n, int mode,
                                             int start);
// The same for integers of column (CChartCanvas::DrawVolumeBars): a point
// outside r, or a missing value, is skipped and the line bridges it; bars
// rise from r.bottom.
std::vector<CChartSegment> VolumeSegments(const CChartSeries* series, int column, const CRect& r, int32_t max,
                                          int32_t min, int n, int mode, int start);
// The second line of the series (GetExtraNumber) across n slots of r,
// ranged [min, max], records 0 to n inclusive while the series has them;
// missing values leave gaps.
std::vector<CChartSegment> ExtraLineSegments(const CChartSeries* series, const CRect& r, const CQuoteNumber& max,
                                             const CQuoteNumber& min, int n);
