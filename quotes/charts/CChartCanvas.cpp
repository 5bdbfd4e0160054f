// The chart canvas: layout, the cached picture, cursor, legends, painters
// and the shared compare-colour rule.
#include "quotes/charts/CChartCanvas.h"

#include "framework/app/CAppData.h"
#include "quotes/charts/CChartSeries.h"
#include "quotes/charts/CChartState.h"

#include <algorithm>
#include <cmath>

namespace {

// The default scheme's chart colours, for a canvas without application state.
COLORREF DefaultPaletteColor(int index) {
    switch (index) {
    case 12: return 0x3030B0;
    case 13: return 0x000000;
    case 15: return 0x2626FF;
    case 16: return 0x17FF17;
    case 20: return 0xC0C0C0;
    case 21: return 0xB0B0B0;
    case 26: return 0x00FFFF;
    case 28: return 0x00FFFF;
    default: return 0xFFFFFF;
    }
}

void CopyCut(char16_t* to, int room, const char16_t* from) {
    int i = 0;
    for (; from && from[i] && i < room; ++i)
        to[i] = from[i];
    to[i] = 0;
}

} // namespace

void CLegendItem::Reset() {
    std::fill(std::begin(value), std::end(value), u'\0');
    std::fill(std::begin(label), std::end(label), u'\0');
    color = 0xFFFFFF;
}

// ---- Colours ----

int CChartCanvas::GetCompareColorIndex(const CQuoteNumber& reference, const CQuoteNumber& value) {
    if (reference < value)
        return kRiseColor;
    if (reference > value)
        return kFallColor;
    return kFlatColor;
}

COLORREF CChartCanvas::GetCompareColor(const CQuoteNumber& reference, const CQuoteNumber& value) {
    return PaletteColor(GetCompareColorIndex(reference, value));
}

COLORREF CChartCanvas::PaletteColor(int index) {
    if (const CAppData* app = CAppData::Instance())
        return app->GetColor(index);
    return DefaultPaletteColor(index);
}

// ---- Life ----

CChartCanvas::CChartCanvas()
    : m_background(PaletteColor(kBackgroundColor)), m_secondColor(PaletteColor(kSecondColor)) {}

CChartCanvas::~CChartCanvas() = default;

// ---- Layout ----

void CChartCanvas::ApplyLayout(const CChartLayout& layout) {
    m_layout = layout;
    m_dirty = true;
}

void CChartCanvas::LayoutPortrait(CSize label, const CRect& area) {
    m_portrait = true;
    m_labelSize = label;
    ApplyLayout(ChartLayoutPortrait(label, area));
}

void CChartCanvas::LayoutLandscape(CSize label, const CRect& area) {
    m_portrait = false;
    m_labelSize = label;
    ApplyLayout(ChartLayoutLandscape(label, area));
}

bool CChartCanvas::FitLabelColumn(CDC& dc, int fallbackWidth, int leastWidth) {
    const int widest = MeasureScaleLabels(dc, u"").cx;
    const int width = std::max(widest > 0 ? widest : fallbackWidth, leastWidth);
    if (width == m_labelSize.cx)
        return false;
    const int previousSlots = m_slotCount;
    const CSize label{width, m_labelSize.cy};
    const CRect area = m_layout.wholeArea;
    if (m_portrait)
        LayoutPortrait(label, area);
    else
        LayoutLandscape(label, area);
    OnLabelColumnChanged(previousSlots);
    return true;
}

// ---- Painting ----

void CChartCanvas::Paint(CDC& target) {
    const CRect& whole = m_layout.wholeArea;
    if (whole.Width() <= 0 || whole.Height() <= 0 || !target.GetSurface())
        return;
    // The picture's (0,0) at the whole area's top-left, clipped to it.
    const CPoint origin = target.GetOrigin();
    const CRect clip = whole.Intersect(target.GetClipRect()).Offset(origin.x, origin.y);
    CDC picture(target.GetSurface(), {origin.x + whole.left, origin.y + whole.top}, clip);
    if (m_dirty || !IsLastTarget(target)) {
        // Drawn straight into the target: no picture of its own to copy.
        m_underRects.clear();
        m_underPixels.clear();
        Render(picture);
        m_dirty = false;
    } else {
        RestoreUnderCursor(target);
    }
    {
        const CDCStateSaver saved(picture);
        picture.SelectFont(m_font);
        DrawLegends(picture, m_recordCount >= 1);
    }
    m_legendsDrawn.clear();
    GetDrawnLegendRects(m_legendsDrawn);
    m_lastTarget = target.GetSurface();
    m_lastTargetSize = CSize{m_lastTarget->Width(), m_lastTarget->Height()};
    m_cursorDrawn.clear();
    m_cursorDrawnAt = m_cursorShown ? m_cursorPos : -1;
    // The cursor line is drawn over what it covers, kept to be put back.
    if (m_cursorShown) {
        GetCursorRects(m_cursorDrawn);
        SaveUnderCursor(target);
        DrawCursorLine(target);
        for (CRect& r : m_cursorDrawn)
            r = r.Offset(-whole.left, -whole.top);
    }
}

bool CChartCanvas::PaintChanged(CDC& target, std::vector<CRect>& changed) {
    const CRect& whole = m_layout.wholeArea;
    if (m_dirty || whole.Width() <= 0 || whole.Height() <= 0 || !IsLastTarget(target))
        return false;
    std::vector<CRect> parts = m_cursorDrawn;
    const size_t cursorParts = parts.size();
    const int cursorBefore = m_cursorDrawnAt;
    GetLegendRects(parts);
    Paint(target);
    // A finger moving within one record draws the cursor where it was and
    // no legend anew: the picture is as it was, and nothing needs showing.
    if (parts.size() == cursorParts && m_legendsDrawn.empty() && m_cursorDrawnAt == cursorBefore &&
        std::equal(parts.begin(), parts.end(), m_cursorDrawn.begin(), m_cursorDrawn.end()))
        return true;
    parts.insert(parts.end(), m_legendsDrawn.begin(), m_legendsDrawn.end());
    parts.insert(parts.end(), m_cursorDrawn.begin(), m_cursorDrawn.end());
    const CRect picture{0, 0, whole.Width(), whole.Height()};
    for (const CRect& part : parts) {
        const CRect r = part.Intersect(picture);
        if (!r.IsEmpty())
            changed.push_back(r.Offset(whole.left, whole.top));
    }
    return true;
}

bool CChartCanvas::IsLastTarget(const CDC& target) const {
    const CSurface* surface = target.GetSurface();
    return surface && surface == m_lastTarget && surface->Width() == m_lastTargetSize.cx &&
           surface->Height() == m_lastTargetSize.cy;
}

namespace {

// Copies a row of n pixels; the cursor's lines are mostly one pixel wide.
void CopyRow(const COLORREF* from, int n, COLORREF* to) {
    if (n == 1)
        *to = *from;
    else
        std::copy(from, from + n, to);
}

} // namespace

void CChartCanvas::SaveUnderCursor(const CDC& target) {
    m_underRects.clear();
    const CSurface& surface = *target.GetSurface();
    const CPoint origin = target.GetOrigin();
    const CRect bounds{0, 0, surface.Width(), surface.Height()};
    size_t count = 0;
    for (const CRect& part : m_cursorDrawn) {
        const CRect r = part.Offset(origin.x, origin.y).Intersect(bounds);
        if (r.IsEmpty())
            continue;
        m_underRects.push_back(r);
        count += static_cast<size_t>(r.Width()) * static_cast<size_t>(r.Height());
    }
    m_underPixels.resize(count);
    COLORREF* to = m_underPixels.data();
    for (const CRect& r : m_underRects)
        for (int y = r.top; y < r.bottom; ++y, to += r.Width())
            CopyRow(surface.Row(y) + r.left, r.Width(), to);
}

void CChartCanvas::RestoreUnderCursor(CDC& target) {
    CSurface& surface = *target.GetSurface();
    // Last saved first: the parts overlap.
    size_t end = m_underPixels.size();
    for (auto it = m_underRects.rbegin(); it != m_underRects.rend(); ++it) {
        const CRect& r = *it;
        end -= static_cast<size_t>(r.Width()) * static_cast<size_t>(r.Height());
        if (r.right > surface.Width() || r.bottom > surface.Height())
            continue;
        const COLORREF* from = m_underPixels.data() + end;
        for (int y = r.top; y < r.bottom; ++y, from += r.Width())
            CopyRow(from, r.Width(), surface.Row(y) + r.left);
    }
    m_underRects.clear();
    m_underPixels.clear();
}

void CChartCanvas::GetLegendRects(std::vector<CRect>& rects) {
    rects.push_back({0, 0, m_layout.wholeArea.Width(), m_layout.wholeArea.Height()});
}

void CChartCanvas::GetCursorRects(std::vector<CRect>& rects) { rects.push_back(m_layout.wholeArea); }

void CChartCanvas::Render(CDC& dc) {
    const CDCStateSaver saved(dc);
    dc.SelectFont(m_font);
    dc.SelectBrush(CBrush::Solid(m_background));
    dc.SelectPen({PS_NULL, 1, 0});
    dc.SetBkMode(TRANSPARENT);
    dc.Rectangle(CRect{0, 0, m_layout.wholeArea.Width(), m_layout.wholeArea.Height()});
    DrawTimeAxis(dc);
    DrawScale(dc);
    DrawLines(dc);
    DrawTitle(dc);
    OnPictureRendered();
}

void CChartCanvas::ResetBitmap() {
    m_dirty = true;
    m_lastTarget = nullptr;
    m_underRects.clear();
    m_underPixels.clear();
}

// ---- Cursor ----

void CChartCanvas::SetCursor(int index, int /*extra*/) {
    if (m_recordCount <= 0) {
        m_cursorPos = 0;
    } else {
        m_cursorPos = WrapCursorIndex(index, m_recordCount);
        OnCursorMoved();
        m_cursorShown = true;
    }
    CChartState::Shared().SetLastCursorPosition(m_cursorPos);
}

void CChartCanvas::MoveCursor(int direction, int extra) {
    switch (direction) {
    case 0:
    case 2:
        SetCursor(m_cursorPos - 1, extra);
        break;
    case 1:
    case 3:
        SetCursor(m_cursorPos + 1, extra);
        break;
    case 4:
        ToggleCursor();
        break;
    default:
        break;
    }
}

void CChartCanvas::DrawCursorLine(CDC& dc) {
    const CRect& p = m_layout.priceArea;
    if (m_slotCount < 1 || p.IsEmpty())
        return;
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 1, PaletteColor(kCursorColor)});
    const int x = ChartSlotX(p.left, p.Width(), m_slotCount, m_cursorPos);
    Line(dc, x, p.top, x, p.bottom - 1);
}

// ---- Text ----

CSize CChartCanvas::TextExtent(CDC& dc, std::u16string_view text) const {
    const int height = dc.GetTextExtent(text).cy;
    const CFont previous = dc.SelectFont(m_font);
    const int width = dc.GetTextExtent(text).cx;
    dc.SelectFont(previous);
    return {width, height};
}

CSize CChartCanvas::MeasureScaleLabels(CDC& dc, std::u16string_view sample) const {
    CSize size{0, TextExtent(dc, sample).cy};
    for (const std::u16string& text : ScaleLabelTexts())
        size.cx = std::max(size.cx, TextExtent(dc, text).cx);
    return size;
}

void CChartCanvas::DrawNumber(CDC& dc, const CQuoteNumber& number, COLORREF color, int y, bool withUnit) {
    const CDCStateSaver saved(dc);
    dc.SetTextColor(color);
    dc.SetBkMode(TRANSPARENT);
    const CWString text = withUnit ? number.ToWideTextWithUnit() : number.ToWideText();
    dc.DrawText(text.view(), CRect{1, y, m_layout.labelMargin, y + m_layout.labelHeight},
                DT_RIGHT | DT_SINGLELINE | DT_NOCLIP);
}

// ---- Geometry and painters ----

void CChartCanvas::Line(CDC& dc, int x1, int y1, int x2, int y2) {
    const CPoint points[2] = {{x1, y1}, {x2, y2}};
    dc.Polyline(points, 2);
}

void CChartCanvas::DrawSegments(CDC& dc, const std::vector<CChartSegment>& segments, COLORREF color) {
    if (segments.empty())
        return;
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 1, color});
    for (const CChartSegment& s : segments)
        Line(dc, s.from.x, s.from.y, s.to.x, s.to.y);
}

void CChartCanvas::DrawPriceLine(CDC& dc, const CChartSeries* series, int column, COLORREF color, const CRect& r,
                                 const CQuoteNumber& max, const CQuoteNumber& min, int n, int mode, int start) {
    DrawSegments(dc, PriceLineSegments(series, column, r, max, min, n, mode, start), color);
}

void CChartCanvas::DrawVolumeBars(CDC& dc, const CChartSeries* series, int column, COLORREF color, const CRect& r,
                                  int32_t max, int32_t min, int n, int mode, int start) {
    DrawSegments(dc, VolumeSegments(series, column, r, max, min, n, mode, start), color);
}

// ---- Legend ----

int CChartCanvas::InitLegend(int capacity) {
    if (!m_legend.empty() || capacity < 1)
        return 0;
    m_legend.assign(static_cast<size_t>(capacity), CLegendItem{});
    m_legendCount = 0;
    return 1;
}

int CChartCanvas::SetLegend(const char16_t* const* labels, const char16_t* const* values, const COLORREF* colors,
                            int n) {
    if (m_legend.empty() || n < 0 || n > static_cast<int>(m_legend.size()))
        return 0;
    for (CLegendItem& item : m_legend)
        item.Reset();
    for (int i = 0; i < n; ++i) {
        CLegendItem& item = m_legend[static_cast<size_t>(i)];
        CopyCut(item.label, CLegendItem::kLabelChars, labels ? labels[i] : nullptr);
        CopyCut(item.value, CLegendItem::kValueChars, values ? values[i] : nullptr);
        if (colors)
            item.color = colors[i];
    }
    m_legendCount = n;
    return 1;
}

const CLegendItem* CChartCanvas::GetLegendItem(int i) const {
    if (i < 0 || i >= m_legendCount)
        return nullptr;
    return &m_legend[static_cast<size_t>(i)];
}
