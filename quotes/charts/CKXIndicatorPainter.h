// Draws the K-line's indicator panel into the cached picture: the
// indicator's lines, the MACD histogram, the BOLL bands over price ticks
// and the SAR markers. It reads what the view holds (the bars, the visible
// window, the ranges, the bar metrics) and draws with the canvas's
// painters; the view makes one for each picture it draws.
#pragma once

#include "platform/gdi/CDC.h"
#include "quotes/charts/KLineMath.h"

#include <string_view>

class CChartCanvas;
class CKXData;

class CKXIndicatorPainter {
public:
    // All references must outlive the painter. first is the bar in the
    // leftmost slot, slots the visible slots, records the bars held.
    CKXIndicatorPainter(CChartCanvas& canvas, const CKXData& data, const CKLineMetrics& metrics,
                        const CKLineRanges& ranges, int first, int slots, int records);

    // The indicator techName (case ignored; an unknown one as three lines)
    // in the indicator panel, within the span of the visible slots.
    void Draw(CDC& dc, std::string_view techName, const CRect& panel);

private:
    void DrawLine(CDC& dc, int column, int colorIndex, const CRect& r);
    void DrawHistogram(CDC& dc, int column, const CRect& r);
    void DrawBoll(CDC& dc, const CRect& r);
    void DrawSar(CDC& dc, const CRect& r);
    // A bar's high-low line at x with its close tick to the right, in the
    // current pen.
    void DrawPriceTick(CDC& dc, const CRect& r, int x, double max, double min, const CQuoteNumber& high,
                       const CQuoteNumber& low, const CQuoteNumber& close);
    static void DrawMarker(CDC& dc, CPoint centre, int size, COLORREF color);

    CChartCanvas& m_canvas;
    const CKXData& m_data;
    const CKLineMetrics& m_metrics;
    const CKLineRanges& m_ranges;
    int m_first = 0;   // the bar in the leftmost slot
    int m_slots = 0;   // visible slots
    int m_records = 0; // bars held
};
