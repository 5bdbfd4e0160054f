// The K-line chart's arithmetic; see the header.
#include "quotes/charts/KLineMath.h"

#include "core/FunctionNumbers.h"
#include "core/StrUtil.h"
#include "quotes/charts/CChartCanvas.h"
#include "quotes/charts/CChartSeries.h"
#include "quotes/charts/CKXData.h"
#include "quotes/tables/QuoteRequests.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kPinLimit = 1073741824.0;

int Pinned(double v) {
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::clamp(v, -kPinLimit, kPinLimit));
}

bool KeyIs(std::string_view key, const char* name) { return EqualsNoCase(key, name); }

std::u16string Ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }

std::u16string NumberText(const CQuoteNumber& n, bool withUnit = false) {
    if (n.IsInvalid())
        return u"-";
    return std::u16string((withUnit ? n.ToWideTextWithUnit() : n.ToWideText()).view());
}

// Widens [lo, hi] with v; seen tells whether any value came before.
void Widen(const CQuoteNumber& v, CQuoteNumber& hi, CQuoteNumber& lo, bool& seen) {
    if (v.IsInvalid())
        return;
    if (!seen) {
        lo = v;
        seen = true;
    }
    hi = CQuoteNumber::Max(hi, v);
    lo = CQuoteNumber::Min(lo, v);
}

} // namespace

CKLinePanels KLinePanels(const CRect& a, int labelHeight) {
    const int h = std::max(0, a.Height());
    CKLinePanels p;
    const auto row = [&](int top, int bottom) {
        top = std::clamp(top, a.top, std::max(a.top, a.bottom));
        return CRect{a.left, top, a.right, std::max(top, std::min(bottom, std::max(a.top, a.bottom)))};
    };
    p.price = row(a.top, a.top + 5 * h / 10);
    p.volume = row(p.price.bottom + labelHeight, a.top + 11 * h / 16);
    p.indicator = row(p.volume.bottom + labelHeight, a.bottom);
    return p;
}

int KLineVisibleCount(int areaWidth, const CKLineMetrics& m) {
    const int step = m.width + m.gap;
    if (step <= 0 || areaWidth <= 4)
        return 0;
    return (areaWidth - 4) / step;
}

CKLineRanges KLineVisibleRanges(const CChartSeries& s, int first, int visible, std::string_view key) {
    CKLineRanges r;
    const int count = s.GetCount();
    const bool withPrices = KeyIs(key, "boll") || KeyIs(key, "sar");
    const bool use15 = !KeyIs(key, "cci") && !KeyIs(key, "sar");
    const bool use16 = use15 && !KeyIs(key, "wr") && !KeyIs(key, "dma") && !KeyIs(key, "aroon");
    bool priceSeen = false, techSeen = false;
    double volumeMax = -1;
    CQuoteNumber v;
    for (int i = std::max(first, 0); i < count && i - first < visible; ++i) {
        for (int c : {CKXData::kColHigh, CKXData::kColLow, CKXData::kColMa30, CKXData::kColMa10, CKXData::kColMa5})
            Widen(s.GetNumber(v, c, i), r.priceMax, r.priceMin, priceSeen);
        Widen(s.GetNumber(v, CKXData::kColTech1, i), r.techMax, r.techMin, techSeen);
        if (use15)
            Widen(s.GetNumber(v, CKXData::kColTech2, i), r.techMax, r.techMin, techSeen);
        if (use16)
            Widen(s.GetNumber(v, CKXData::kColTech3, i), r.techMax, r.techMin, techSeen);
        if (withPrices) {
            Widen(s.GetNumber(v, CKXData::kColHigh, i), r.techMax, r.techMin, techSeen);
            Widen(s.GetNumber(v, CKXData::kColLow, i), r.techMax, r.techMin, techSeen);
        }
        s.GetNumber(v, CKXData::kColVolume, i);
        if (!v.IsInvalid() && v.ToRaw() > volumeMax) {
            volumeMax = v.ToRaw();
            r.volumeMax = v;
        }
    }
    return r;
}

int KLinePriceY(const CRect& panel, double v, double max, double min) {
    if (!(max > min))
        return panel.bottom - 1;
    const double s = (panel.bottom - (panel.top + 2)) / (max - min);
    return Pinned(std::trunc(panel.bottom - 1 - ((v - min) * s + 0.5)));
}

int KLineVolumeY(const CRect& panel, double raw, double rawMax) {
    if (!(rawMax > 0) || raw <= 0)
        return panel.bottom - 1;
    return Pinned(std::trunc((panel.bottom - 1) - raw * (panel.Height() - 2) / (rawMax * 1.07)));
}

CKLineBarShapes KLineBarShapes(int style, int x, int width, const CRect& panel, double max, double min,
                               const CQuoteNumber& open, const CQuoteNumber& high, const CQuoteNumber& low,
                               const CQuoteNumber& close) {
    CKLineBarShapes out;
    if (open.IsInvalid() || high.IsInvalid() || low.IsInvalid() || close.IsInvalid())
        return out;
    out.color = close < open ? CChartCanvas::kFallColor : close > open ? CChartCanvas::kRiseColor
                                                                      : CChartCanvas::kFlatColor;
    const auto y = [&](const CQuoteNumber& v) { return KLinePriceY(panel, v.GetValue(), max, min); };
    const int half = width / 2;
    const auto line = [&](int x1, int y1, int x2, int y2) {
        out.shapes.push_back({CKLineShape::Line, {x1, y1}, {x2, y2}, {}});
    };
    const auto wick = [&](const CQuoteNumber& from, const CQuoteNumber& to) {
        line(x + half, y(from), x + half, y(to));
    };
    if (style == kKLineOhlc) {
        line(x + half, y(close), x + width, y(close));
        if (high > low)
            wick(high, low);
        return out;
    }
    if (style != kKLineCandles)
        return out;
    const int yo = y(open), yc = y(close);
    if (open == close) {
        line(x, yo, x + width, yo);
        if (high > low)
            wick(high, low);
        return out;
    }
    if (yo == yc)
        line(x, yo, x + width, yo);
    else
        out.shapes.push_back({close < open ? CKLineShape::FilledBox : CKLineShape::HollowBox, {}, {},
                              CRect{x, std::min(yo, yc), x + width, std::max(yo, yc) + 1}});
    const CQuoteNumber& top = close < open ? open : close;
    const CQuoteNumber& bottom = close < open ? close : open;
    if (low < bottom)
        wick(low, bottom);
    if (high > top)
        wick(high, top);
    return out;
}

std::u16string KLineBarTime(int32_t date, int32_t time) {
    char buf[16];
    if (time < 1)
        std::snprintf(buf, sizeof buf, "%06d", static_cast<int>(date % 1000000));
    else
        std::snprintf(buf, sizeof buf, "%08d", static_cast<int>((date % 10000) * 10000 + time % 10000));
    return Ascii(buf);
}

std::array<CKLineCell, 9> KLineStripCells(const CKXBar* bar, int32_t time) {
    std::array<CKLineCell, 9> c;
    const char16_t* labels[] = {u"开盘", u"最高", u"最低", u"收盘", u"成交", u"金额", u"涨跌", u"涨幅", u"时间"};
    for (size_t k = 0; k < c.size(); ++k) {
        c[k].label = labels[k];
        c[k].value.assign(1, u'-');
        c[k].color = CChartCanvas::kFlatColor;
    }
    c[4].color = c[5].color = 28;
    if (!bar)
        return c;
    const CQuoteNumber& ref = bar->prevClose;
    const CQuoteNumber* prices[] = {&bar->open, &bar->high, &bar->low, &bar->close};
    for (int k = 0; k < 4; ++k) {
        c[k].value = NumberText(*prices[k]);
        if (!prices[k]->IsInvalid() && !ref.IsInvalid())
            c[k].color = CChartCanvas::GetCompareColorIndex(ref, *prices[k]);
    }
    c[4].value = NumberText(bar->volume, true);
    c[5].value = NumberText(bar->amount, true);
    if (!bar->close.IsInvalid() && !ref.IsInvalid()) {
        const CQuoteNumber change = bar->close - ref;
        c[6].value = NumberText(change);
        c[6].color = c[7].color = CChartCanvas::GetCompareColorIndex(CQuoteNumber(), change);
        CQuoteNumber pct = change.MultiplyInt(100);
        if (ref.GetValue() != 0)
            pct = pct / ref;
        c[7].value = NumberText(CQuoteNumber(pct.GetValue(), 2)) + u"%";
    }
    c[8].value = KLineBarTime(bar->date, time);
    return c;
}

std::array<CKLineLegendItem, 3> KLineMaLegend(const CKXBar* bar) {
    std::array<CKLineLegendItem, 3> out;
    const char16_t* labels[] = {u"MA5 ", u"MA10 ", u"MA30 "};
    const CQuoteNumber* values[] = {bar ? &bar->ma5 : nullptr, bar ? &bar->ma10 : nullptr,
                                    bar ? &bar->ma30 : nullptr};
    for (int i = 0; i < 3; ++i) {
        out[i].color = 33 + i;
        if (!bar) {
            out[i].label = std::u16string(labels[i]) + u"- ";
            continue;
        }
        out[i].label = labels[i];
        out[i].value = values[i]->IsInvalid() ? u"-" : Ascii(values[i]->ToText().view());
    }
    return out;
}

CKLineTechLegend KLineTechLegend(std::string_view key, const CKXBar& bar) {
    struct Item {
        const char16_t* label;
        int column;
    };
    struct Row {
        const char* key;
        const char16_t* title;
        std::vector<Item> items;
    };
    static const Row kRows[] = {
        {"wr", u"WR(10,6) ", {{u" WR1:", 15}, {u" WR2:", 14}}},
        {"dma", u"DMA(10,50,10)", {{u" D:", 15}, {u" A:", 14}}},
        {"aroon", u"AROON", {{u" UP:", 15}, {u" DOWN:", 14}}},
        {"cci", u"CCI(14) ", {{u" CCI:", 14}}},
        {"sar", u"SAR(4,2,2,20 )", {{u" SAR:", 14}}},
        {"MACD", u"MACD(12,26,9)", {{u" D:", 16}, {u" D:", 15}, {u" M:", 14}}},
        {"kdj", u"KDJ(9,3,3)", {{u" K:", 16}, {u" D:", 15}, {u" J:", 14}}},
        {"rsi", u"RSI(6,12,24)", {{u" R1:", 16}, {u" R2:", 15}, {u" R3:", 14}}},
        {"boll", u"BOLL(20)", {{u" B:", 16}, {u" U:", 15}, {u" L:", 14}}},
    };
    CKLineTechLegend out;
    for (const Row& row : kRows) {
        if (!KeyIs(key, row.key))
            continue;
        out.title = row.title;
        int color = 33;
        for (const Item& item : row.items) {
            const CQuoteNumber& v = item.column == 14 ? bar.tech1 : item.column == 15 ? bar.tech2 : bar.tech3;
            out.items.push_back({item.label, v.IsInvalid() ? u"-" : Ascii(v.ToText().view()), color++});
        }
        break;
    }
    return out;
}

int KLineTouchSlot(int x, int left, int right, int visible) {
    if (visible < 1 || right <= left)
        return -1;
    const double step = static_cast<double>(right - left) / visible;
    const int slot = Pinned(std::trunc((x - left) / step + 0.5));
    return std::clamp(slot, 0, visible - 1);
}

CKLineScroll KLineScrollStep(int first, int count, int visible, int step) {
    CKLineScroll s;
    s.first = first;
    if (step >= visible) {
        s.first = std::min(first + 3, std::max(count - visible, 0));
        s.redraw = s.first != first;
    } else if (step < 0) {
        s.askOlder = first < 15;
        if (first > 0) {
            s.first = std::max(first - 3, 0);
            s.redraw = true;
        }
    }
    return s;
}

std::string KLineNextTech(const std::vector<std::string>& names, std::string_view current, bool previous) {
    if (names.empty())
        return {};
    const int n = static_cast<int>(names.size());
    int at = -1;
    for (int i = 0; i < n && at < 0; ++i)
        if (KeyIs(current, names[i].c_str()))
            at = i;
    if (at < 0)
        return previous ? names.back() : names.front();
    return names[static_cast<size_t>(((previous ? at - 1 : at + 1) + n) % n)];
}

CRect KLineCursorButton(const CRect& p, int x, int lh) {
    int left = x - lh / 2;
    if (x + lh / 2 > p.right)
        left = p.right - lh;
    if (x - lh / 2 < p.left)
        left = p.left;
    return {left - 5, p.bottom - 5, left + lh + 10, p.bottom + lh + 5};
}

int KLineCursorY(const CRect& p, const CQuoteNumber& close, const CQuoteNumber& max, const CQuoteNumber& min) {
    if (close.IsInvalid())
        return -1;
    if (!(max > min))
        return p.top + p.Height() / 2;
    const double scale = p.Height() / (max.GetValue() - min.GetValue());
    return Pinned(p.bottom - std::trunc((close.GetValue() - min.GetValue()) * scale + 0.5));
}

std::u16string KLinePeriodTitle(int period) {
    switch (period) {
    case kPeriod15Min: return u" 15分钟";
    case kPeriod30Min: return u" 30分钟";
    case kPeriod60Min: return u" 60分钟";
    case kPeriodDay: return u" 日线 ";
    case kPeriodWeek: return u" 周线 ";
    case kPeriodMonth: return u" 月线 ";
    default: return {};
    }
}

int KLineRequestCount(int visible, int mode) {
    const int count = mode == 0 ? visible : visible + 15;
    return count <= 0 ? 30 : count;
}

std::string KLineRequestText(std::string_view code, std::string_view date, std::string_view time, int type,
                             int direct, int count, std::string_view tech) {
    for (std::string_view v : {code, date, time, tech})
        if (!IsRequestValue(v))
            return {};
    std::string t = std::string(kRequestHead<kFuncKLine>) + "&code=";
    t.append(code).append("&date=").append(date).append("&time=").append(time);
    t.append("&type=").append(std::to_string(type));
    t.append("&direct=").append(std::to_string(direct));
    t.append("&count=").append(std::to_string(count));
    t.append("&techname=").append(tech);
    return t;
}

CKLinePinch KLinePinchStep(CKLinePinch s, int code) {
    if (code != 3 && code != 4)
        return s;
    if (++s.counter < 3)
        return s;
    s.counter = 0;
    s.level = std::clamp(s.level + (code == 3 ? -1 : 1), 0, kKLineZoomLevels - 1);
    return s;
}

std::vector<CKLineScaleLabel> KLineScaleLabels(const CKLineRanges& r) {
    const auto middle = [](const CQuoteNumber& max, const CQuoteNumber& min) {
        return CQuoteNumber((max.GetValue() + min.GetValue()) / 2, max.GetCode());
    };
    return {{r.priceMax, false}, {middle(r.priceMax, r.priceMin), false}, {r.priceMin, false}, {r.volumeMax, true},
            {r.techMax, false},  {middle(r.techMax, r.techMin), false},   {r.techMin, false}};
}
