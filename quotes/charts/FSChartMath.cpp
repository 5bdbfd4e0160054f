// The minute chart's ranges, labels, times, marks and hit rules.
#include "quotes/charts/FSChartMath.h"

#include "quotes/charts/CFSData.h"
#include "quotes/charts/ChartScale.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// A missing extreme counts as no move from the previous close; so does 0,
// which is what a stock that has not traded yet reports as its high and low.
CQuoteNumber KnownOr(const CQuoteNumber& value, const CQuoteNumber& fallback) {
    return value.IsInvalid() || value.GetValue() == 0.0 ? fallback : value;
}

bool HasSpread(const CFSRange& r) {
    return r.prevClose.GetValue() != 0.0 && !r.prevClose.IsInvalid();
}

} // namespace

CFSRange FSPriceRange(const CQuoteNumber& prevClose, const CQuoteNumber& high, const CQuoteNumber& low) {
    CFSRange r;
    r.prevClose = prevClose;
    if (prevClose.IsInvalid()) {
        r.top = r.bottom = prevClose;
        return r;
    }
    const CQuoteNumber up = (KnownOr(high, prevClose) - prevClose).Abs();
    const CQuoteNumber down = (KnownOr(low, prevClose) - prevClose).Abs();
    const CQuoteNumber half = CQuoteNumber::Max(up, down);
    const CQuoteNumber margin = prevClose.DivideInt(500);
    r.top = prevClose + margin + half;
    r.bottom = prevClose - margin - half;
    return r;
}

CFSRanges FSNormaliseRanges(const CFSRange& price, const CFSRange* overlay) {
    CFSRanges out;
    out.price = price;
    if (!overlay)
        return out;
    out.overlay = *overlay;
    out.hasOverlay = true;
    if (!HasSpread(price) || !HasSpread(*overlay))
        return out;
    const double pc = price.prevClose.GetValue();
    const double opc = overlay->prevClose.GetValue();
    const double r = (price.top.GetValue() - pc) / pc;
    const double ro = (overlay->top.GetValue() - opc) / opc;
    if (r > ro) {
        out.overlay.top = {opc + opc * r, overlay->prevClose.GetCode()};
        out.overlay.bottom = {opc - opc * r, overlay->prevClose.GetCode()};
    } else {
        out.price.top = {pc + pc * ro, price.prevClose.GetCode()};
        out.price.bottom = {pc - pc * ro, price.prevClose.GetCode()};
    }
    return out;
}

CFSRanges FSCalcRanges(const CFSData& data) {
    const CFSRange price = FSPriceRange(data.GetPrevClose(), data.GetHigh(), data.GetLow());
    if (!data.HasOverlayTable())
        return FSNormaliseRanges(price, nullptr);
    const CFSRange overlay = FSPriceRange(data.GetOverlayPrevClose(), data.GetOverlayHigh(), data.GetOverlayLow());
    return FSNormaliseRanges(price, &overlay);
}

std::vector<CFSPriceLabel> FSPriceLabels(const CFSRange& range, bool hasPoints) {
    std::vector<CFSPriceLabel> labels;
    if (!hasPoints) {
        if (range.prevClose.GetValue() != 0.0)
            labels.push_back({range.prevClose, 17});
        return labels;
    }
    const double step = (range.top.GetValue() - range.bottom.GetValue()) / 6;
    const int code = range.top.GetCode();
    const auto below = [&](int k) { return CQuoteNumber(range.top.GetValue() - step * k, code); };
    labels = {{range.top, 15}, {below(1), 15},      {below(2), 15},    {range.prevClose, 17},
              {below(4), 16},  {below(5), 16},      {range.bottom, 16}};
    return labels;
}

int FSPointMinutes(int market, int position) {
    if (market == 3) {
        const int m = 600 + 2 * position;
        return m > 750 ? m + 120 : m;
    }
    const int m = 570 + 2 * position;
    return m > 690 ? m + 90 : m;
}

std::string FSPointTimeText(int market, int position) {
    const int m = FSPointMinutes(market, position);
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d", m / 60, m % 60);
    return text;
}

int FSMarkSlot(int minutes) {
    const int slot = (minutes - 570) / 2;
    if (slot < 0)
        return 0;
    if (slot < 61)
        return slot;
    if (slot < 105)
        return 60; // the lunch break
    return slot - 45 > 120 ? 120 : slot - 45;
}

std::vector<CFSMarkSlot> FSMarkSlots(const std::vector<CFSInfoMark>& marks) {
    std::vector<CFSMarkSlot> slots;
    for (const CFSInfoMark& mark : marks) {
        const int slot = FSMarkSlot(mark.minutes);
        CFSMarkSlot* held = nullptr;
        for (CFSMarkSlot& s : slots)
            if (s.slot == slot)
                held = &s;
        if (held && !mark.id.empty()) {
            // A slot joins a handful of ids, as many as the page can ask for.
            if (held->ids.size() < 9 * (mark.id.size() + 1)) {
                held->ids.push_back(',');
                held->ids.append(mark.id);
            }
        } else {
            slots.push_back({slot, mark.id});
        }
    }
    return slots;
}

const CFSMarkSlot* FSMarkNear(const std::vector<CFSMarkSlot>& marks, int position) {
    for (const CFSMarkSlot& m : marks)
        if (std::abs(m.slot - position) < 4)
            return &m;
    return nullptr;
}

int FSPointAtX(int x, int left, int width, int count) {
    if (count <= 0)
        return -1;
    if (width <= 0)
        return 0;
    if (x > left + width)
        x = left + width;
    const double step = static_cast<double>(width) / kFSSlots;
    const double index = std::trunc((static_cast<double>(x) - left) / step + 0.5);
    if (index < 0)
        return 0;
    return index > count - 1 ? count - 1 : static_cast<int>(index);
}

bool FSCursorPoint(const CChartSeries& series, int position, const CRect& grid, const CFSRange& range, CPoint* at) {
    if (!at || position < 0 || position >= series.GetCount() || !range.IsDrawable() || range.top.IsInvalid())
        return false;
    CQuoteNumber price;
    series.GetNumber(price, CFSData::kColPrice, position);
    if (price.IsInvalid())
        return false;
    *at = {ChartSlotX(grid.left, grid.Width(), kFSSlots, position),
           ChartValueY(grid, price.GetValue(), range.top.GetValue(), range.bottom.GetValue())};
    return true;
}

CQuoteNumber FSChangePercent(const CQuoteNumber& price, const CQuoteNumber& prevClose) {
    if (prevClose.GetValue() == 0.0 || prevClose.IsInvalid() || price.IsInvalid())
        return {0.0, 2};
    return {(price.GetValue() - prevClose.GetValue()) * 100 / prevClose.GetValue(), 2};
}
