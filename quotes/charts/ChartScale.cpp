// The canvas's layouts, cursor rules and series scaling.
#include "quotes/charts/ChartScale.h"

#include "quotes/charts/CChartSeries.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Coordinates beyond this from the rectangle are off-screen anyway; pinning
// them keeps the conversion to int defined.
constexpr double kPinLimit = 1073741824.0;

int PinnedInt(double v) {
    if (std::isnan(v))
        return 0;
    if (v > kPinLimit)
        return static_cast<int>(kPinLimit);
    if (v < -kPinLimit)
        return static_cast<int>(-kPinLimit);
    return static_cast<int>(v);
}

CChartLayout LabelPart(CSize label, const CRect& area) {
    CChartLayout l;
    l.labelHeight = label.cy;
    // Only an area wider than three labels has room for the label column.
    l.labelMargin = area.Width() > 3 * label.cx ? label.cx : 0;
    l.wholeArea = area;
    return l;
}

// A record's point, or nothing for a missing value.
bool NumberY(const CChartSeries& series, int column, int index, const CRect& r, double max, double min, int* y) {
    CQuoteNumber v;
    series.GetNumber(v, column, index);
    if (v.IsInvalid())
        return false;
    *y = ChartValueY(r, v.GetValue(), max, min);
    return true;
}

} // namespace

CChartLayout ChartLayoutPortrait(CSize label, const CRect& area) {
    CChartLayout l = LabelPart(label, area);
    const int fifth = area.Height() / 5;
    l.volumeArea = {area.left, area.top + 4 * fifth, area.right, area.bottom};
    l.priceArea = {area.left + l.labelMargin, area.top + 2 * l.labelHeight, area.right,
                   area.top + 4 * fifth - l.labelHeight};
    return l;
}

CChartLayout ChartLayoutLandscape(CSize label, const CRect& area) {
    CChartLayout l = LabelPart(label, area);
    const int fifth = area.Width() / 5;
    l.volumeArea = {area.left + 4 * fifth, area.top, area.right, area.bottom};
    l.priceArea = {area.left + l.labelMargin, area.top + 2 * l.labelHeight, area.left + 4 * fifth, area.bottom};
    return l;
}

bool PtInChartRect(const CRect& r, int x, int y) {
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

int WrapCursorIndex(int index, int count) {
    if (count <= 0)
        return 0;
    if (index < 0)
        return count - 1;
    if (index >= count)
        return 0;
    return index;
}

int KeptCursorIndex(int kept, int count) {
    if (kept < 0)
        return -1;
    if (count <= 0)
        return 0;
    return kept >= count ? count - 1 : kept;
}

int ChartSlotX(int left, int width, int n, int i) {
    if (n < 1)
        return left;
    const double step = static_cast<double>(width) / n;
    return PinnedInt(left + std::trunc(step * i + 0.5));
}

int ChartValueY(const CRect& r, double value, double max, double min) {
    if (!(max > min))
        return r.bottom;
    const double scale = static_cast<double>(r.Height()) / (max - min);
    return PinnedInt(r.bottom - std::trunc((value - min) * scale + 0.5));
}

std::vector<CChartSegment> PriceLineSegments(const CChartSeries* series, int column, const CRect& r,
                                             const CQuoteNumber& max, const CQuoteNumber& min, int n, int mode,
                                             int start) {
    std::vector<CChartSegment> out;
    if (!series || n < 1 || !(max > min) || max.IsInvalid() || min.IsInvalid() || start < 0)
        return out;
    const int count = series->GetCount();
    if (count <= 0 || start >= count || (mode != kChartModeLine && mode != kChartModeBars))
        return out;
    const double hi = max.GetValue();
    const double lo = min.GetValue();
    CPoint prev{r.left, r.bottom - 1};
    int first = start;
    if (mode == kChartModeLine) {
        // A missing first value puts the first point outside, so no stroke
        // starts from it.
        if (!NumberY(*series, column, start, r, hi, lo, &prev.y))
            prev.y = r.bottom + 10;
        first = start + 1;
    }
    const int end = static_cast<int>(std::min<int64_t>(count, static_cast<int64_t>(start) + n));
    for (int i = first; i < end; ++i) {
        CPoint p{ChartSlotX(r.left, r.Width(), n, i - start), r.bottom + 10};
        if (!NumberY(*series, column, i, r, hi, lo, &p.y))
            p.y = r.bottom + 10;
        if (PtInChartRect(r, p.x, p.y)) {
            if (mode == kChartModeBars)
                out.push_back({{p.x, prev.y}, p});
            else if (PtInChartRect(r, prev.x, prev.y))
                out.push_back({prev, p});
        }
        if (mode == kChartModeLine)
            prev = p;
    }
    return out;
}

std::vector<CChartSegment> VolumeSegments(const CChartSeries* series, int column, const CRect& r, int32_t max,
                                          int32_t min, int n, int mode, int start) {
    std::vector<CChartSegment> out;
    if (!series || n < 1 || max <= min || start < 0)
        return out;
    const int count = series->GetCount();
    if (count <= 0 || start >= count || (mode != kChartModeLine && mode != kChartModeBars))
        return out;
    const auto valueY = [&](int i, int* y) {
        const int32_t v = series->GetInt(column, i);
        if (v == CQuoteNumber::kMissingPacked)
            return false;
        *y = ChartValueY(r, v, max, min);
        return true;
    };
    CPoint prev{r.left, r.bottom};
    int first = start;
    if (mode == kChartModeLine) {
        if (!valueY(start, &prev.y))
            prev.y = r.bottom + 10;
        first = start + 1;
    }
    const int end = static_cast<int>(std::min<int64_t>(count, static_cast<int64_t>(start) + n));
    for (int i = first; i < end; ++i) {
        CPoint p{ChartSlotX(r.left, r.Width(), n, i - start), 0};
        if (!valueY(i, &p.y) || !PtInChartRect(r, p.x, p.y))
            continue;
        if (mode == kChartModeBars) {
            out.push_back({{p.x, r.bottom}, p});
        } else {
            if (PtInChartRect(r, prev.x, prev.y))
                out.push_back({prev, p});
            prev = p;
        }
    }
    return out;
}

std::vector<CChartSegment> ExtraLineSegments(const CChartSeries* series, const CRect& r, const CQuoteNumber& max,
                                             const CQuoteNumber& min, int n) {
    std::vector<CChartSegment> out;
    if (!series || n < 1 || !(max > min) || max.IsInvalid() || min.IsInvalid())
        return out;
    const int count = series->GetCount();
    const double hi = max.GetValue();
    const double lo = min.GetValue();
    // A missing value is a point below the rectangle: a gap on both sides.
    const auto pointOf = [&](int i, bool* missing) {
        CQuoteNumber v;
        series->GetExtraNumber(v, 0, i);
        *missing = v.IsInvalid();
        CPoint p{ChartSlotX(r.left, r.Width(), n, i), r.bottom + 10};
        if (!*missing)
            p.y = ChartValueY(r, v.GetValue(), hi, lo);
        return p;
    };
    if (count <= 0)
        return out;
    bool missing = false;
    CPoint prev = pointOf(0, &missing);
    prev.x = r.left;
    for (int i = 0; i < count && i <= n; ++i) {
        const CPoint p = pointOf(i, &missing);
        if (!PtInChartRect(r, p.x, p.y)) {
            // An out-of-range value is bridged, a missing one is not.
            if (missing)
                prev = p;
            continue;
        }
        if (PtInChartRect(r, prev.x, prev.y) && !(prev == p))
            out.push_back({prev, p});
        prev = p;
    }
    return out;
}
