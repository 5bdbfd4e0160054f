// The K-line's indicator panel; see the header.
#include "quotes/charts/CKXIndicatorPainter.h"

#include "core/StrUtil.h"
#include "quotes/charts/CChartCanvas.h"
#include "quotes/charts/CKXData.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

bool KeyIs(std::string_view key, const char* name) {
    return StrEqualNoCase(std::string(key).c_str(), name) == 0;
}

constexpr int kRiseColor = CChartCanvas::kRiseColor;
constexpr int kFallColor = CChartCanvas::kFallColor;
constexpr int kFlatColor = CChartCanvas::kFlatColor;

COLORREF PaletteColor(int index) {
    return CChartCanvas::PaletteColor(index);
}

void Line(CDC& dc, int x1, int y1, int x2, int y2) {
    CChartCanvas::Line(dc, x1, y1, x2, y2);
}

} // namespace

CKXIndicatorPainter::CKXIndicatorPainter(CChartCanvas& canvas, const CKXData& data, const CKLineMetrics& metrics,
                                         const CKLineRanges& ranges, int first, int slots, int records)
    : m_canvas(canvas), m_data(data), m_metrics(metrics), m_ranges(ranges), m_first(first), m_slots(slots),
      m_records(records) {}

void CKXIndicatorPainter::Draw(CDC& dc, std::string_view key, const CRect& t) {
    const int span = (m_metrics.width + m_metrics.gap) * m_slots;
    const CRect r{t.left, t.top + 2, t.left + span, t.bottom - 1};
    if (KeyIs(key, "MACD")) {
        DrawHistogram(dc, CKXData::kColTech1, r);
        DrawLine(dc, CKXData::kColTech2, 34, r);
        DrawLine(dc, CKXData::kColTech3, 33, r);
    } else if (KeyIs(key, "wr") || KeyIs(key, "dma") || KeyIs(key, "aroon")) {
        DrawLine(dc, CKXData::kColTech1, 34, r);
        DrawLine(dc, CKXData::kColTech2, 33, r);
    } else if (KeyIs(key, "cci")) {
        DrawLine(dc, CKXData::kColTech1, 33, r);
    } else if (KeyIs(key, "sar")) {
        DrawSar(dc, r);
    } else if (KeyIs(key, "boll")) {
        DrawBoll(dc, r);
    } else {
        DrawLine(dc, CKXData::kColTech1, 35, r);
        DrawLine(dc, CKXData::kColTech2, 34, r);
        DrawLine(dc, CKXData::kColTech3, 33, r);
    }
}

void CKXIndicatorPainter::DrawLine(CDC& dc, int column, int colorIndex, const CRect& r) {
    m_canvas.DrawPriceLine(dc, &m_data, column, PaletteColor(colorIndex), r, m_ranges.techMax, m_ranges.techMin,
                           m_slots, kChartModeLine, m_first);
}

void CKXIndicatorPainter::DrawHistogram(CDC& dc, int column, const CRect& r) {
    const double max = m_ranges.techMax.GetValue(), min = m_ranges.techMin.GetValue();
    if (m_records < 1 || m_slots < 1 || !(max > min) || r.IsEmpty())
        return;
    const CDCStateSaver saved(dc);
    const int y0 = std::clamp(ChartValueY(r, 0, max, min), r.top, r.bottom);
    dc.SelectPen({PS_DASH, 1, PaletteColor(kFlatColor)});
    Line(dc, r.left, y0, r.right, y0);
    dc.SelectPen({PS_SOLID, 1, PaletteColor(kRiseColor)});
    CQuoteNumber v;
    for (int k = 0; k < m_slots && m_first + k < m_records; ++k) {
        m_data.GetNumber(v, column, m_first + k);
        if (v.IsInvalid())
            continue;
        if (v.GetValue() > 0)
            dc.SelectPen({PS_SOLID, 1, PaletteColor(kRiseColor)});
        else if (v.GetValue() < 0)
            dc.SelectPen({PS_SOLID, 1, PaletteColor(kFallColor)});
        const int x = ChartSlotX(r.left, r.Width(), m_slots, k);
        const int y = std::clamp(ChartValueY(r, v.GetValue(), max, min), r.top, r.bottom);
        if (PtInChartRect(r, x, y))
            Line(dc, x, y0, x, y);
    }
}

void CKXIndicatorPainter::DrawBoll(CDC& dc, const CRect& r) {
    const double max = m_ranges.techMax.GetValue(), min = m_ranges.techMin.GetValue();
    if (m_records < 1 || m_slots < 1 || !(max > min))
        return;
    const CDCStateSaver saved(dc);
    const int n = std::min(m_slots, m_records - m_first);
    const int step = m_metrics.width + m_metrics.gap;
    const int bands[3] = {CKXData::kColTech3, CKXData::kColTech2, CKXData::kColTech1};
    std::vector<CPoint> points[3];
    CQuoteNumber v, open, high, low, close;
    for (int k = 0; k < n; ++k) {
        const int i = m_first + k;
        const int x = ChartSlotX(r.left, r.Width(), m_slots, k);
        for (int b = 0; b < 3; ++b) {
            m_data.GetNumber(v, bands[b], i);
            points[b].push_back({x, v.IsInvalid() ? 0 : ChartValueY(r, v.GetValue(), max, min)});
        }
        if (!m_data.ReadPrices(i, open, high, low, close))
            continue;
        const int bx = r.left + step * k;
        dc.SelectPen({PS_SOLID, 1, PaletteColor(close > open ? kRiseColor : kFallColor)});
        DrawPriceTick(dc, r, bx, max, min, high, low, close);
    }
    for (int b = 0; b < 3; ++b) {
        dc.SelectPen({PS_SOLID, 1, PaletteColor(33 + b)});
        for (size_t k = 1; k < points[b].size(); ++k)
            if (points[b][k - 1].y != 0 && points[b][k].y != 0)
                Line(dc, points[b][k - 1].x, points[b][k - 1].y, points[b][k].x, points[b][k].y);
    }
}

void CKXIndicatorPainter::DrawSar(CDC& dc, const CRect& r) {
    const double max = m_ranges.techMax.GetValue(), min = m_ranges.techMin.GetValue();
    if (m_records < 1 || m_slots < 1 || !(max > min))
        return;
    const CDCStateSaver saved(dc);
    const int step = m_metrics.width + m_metrics.gap;
    CQuoteNumber sar, open, high, low, close;
    for (int k = 0; k < m_slots && m_first + k < m_records; ++k) {
        const int i = m_first + k;
        const int x = r.left + step * k;
        m_data.GetNumber(sar, CKXData::kColTech1, i);
        if (!m_data.ReadPrices(i, open, high, low, close))
            continue;
        dc.SelectPen({PS_SOLID, 1, PaletteColor(close > open ? kRiseColor : kFallColor)});
        if (!sar.IsInvalid()) {
            const int y = ChartValueY(r, sar.GetValue(), max, min);
            if (PtInChartRect(r, x, y))
                DrawMarker(dc, {x + m_metrics.width / 2, y}, m_metrics.width,
                           PaletteColor(sar > close ? kFallColor : kRiseColor));
        }
        DrawPriceTick(dc, r, x, max, min, high, low, close);
    }
}

void CKXIndicatorPainter::DrawPriceTick(CDC& dc, const CRect& r, int x, double max, double min,
                                        const CQuoteNumber& high, const CQuoteNumber& low, const CQuoteNumber& close) {
    Line(dc, x, ChartValueY(r, high.GetValue(), max, min), x, ChartValueY(r, low.GetValue(), max, min));
    const int yc = ChartValueY(r, close.GetValue(), max, min);
    Line(dc, x, yc, x + m_metrics.width, yc);
}

void CKXIndicatorPainter::DrawMarker(CDC& dc, CPoint c, int size, COLORREF color) {
    if (size % 2 == 0)
        ++size;
    const int r = std::max(size / 2, 0);
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            if (std::abs(dx) + std::abs(dy) <= r)
                dc.SetPixel(c.x + dx, c.y + dy, color);
}
