// The minute chart view: the cached picture, the legends and marks drawn
// over it, the cursor, and touches (the side panel draws itself).
#include "quotes/charts/CFSChartView.h"

#include "platform/win/UiGesture.h"
#include "quotes/charts/CChartState.h"
#include "quotes/charts/CFSData.h"
#include "quotes/charts/IFSChartHost.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char16_t* kMissingText = u"-";
constexpr int kMarkSize = 9; // an information mark's dots lie within this square

std::u16string Widen(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

bool IsZero(const CQuoteNumber& n) {
    return n.GetValue() == 0;
}

} // namespace

CFSChartView::CFSChartView(IFSChartHost* owner) : m_owner(owner) {
    SetSlotCount(kFSSlots);
    m_recordCount = 0;
    m_cursorPos = 0;
    InitLegend(4);
    if (m_owner) {
        SetData(m_owner->GetData());
        SetOverlay(m_owner->IsOverlayWanted());
    }
}

CFSChartView::~CFSChartView() = default;

// ---- Data ----

void CFSChartView::SetData(CFSData* data) {
    if (!data)
        return;
    m_data = data;
    CalcRanges();
}

void CFSChartView::SetOverlay(bool shown) {
    if (shown == m_overlayShown)
        return;
    m_overlayShown = shown;
    SetDirty();
}

void CFSChartView::ClearInfoMarks() {
    m_marks.clear();
}

void CFSChartView::SetInfoMarks(const std::vector<CFSInfoMark>& marks) {
    m_marks = FSMarkSlots(marks);
}

bool CFSChartView::HasPoints() const {
    return m_data && m_data->GetCount() > 0;
}

void CFSChartView::CalcRanges() {
    if (!m_data) {
        CChartState::Shared().SetLastCursorPosition(-1);
        m_cursorShown = false;
        m_cursorPos = -1;
        m_recordCount = 0;
        OnCursorMoved();
        return;
    }
    m_reference = m_data->GetLatest();
    m_market = m_data->GetMarket();
    m_type = m_data->GetType();
    m_name = m_data->GetName();
    m_code = m_data->GetCode();
    m_recordCount = m_data->GetCount();
    m_prevClose = m_data->GetPrevClose();
    m_change = m_data->GetChange();
    m_changePercent = m_data->GetChangePercent();
    m_ranges = FSCalcRanges(*m_data);
    const int kept = CChartState::Shared().GetLastCursorPosition();
    if (kept < 0 || m_recordCount == 0) {
        m_cursorShown = false;
        m_cursorPos = m_recordCount - 1;
    } else {
        // A position kept by a chart with more slots goes to the last point.
        m_cursorShown = true;
        m_cursorPos = KeptCursorIndex(kept, m_recordCount);
    }
    OnCursorMoved();
    m_panel.SetDirty();
    SetDirty();
}

// ---- Layout ----

std::vector<std::u16string> CFSChartView::ScaleLabelTexts() const {
    std::vector<std::u16string> texts;
    for (const CFSPriceLabel& label : FSPriceLabels(m_ranges.price, HasPoints()))
        texts.push_back(label.value.ToWideText().str());
    return texts;
}

void CFSChartView::LayoutPortrait(CSize label, const CRect& area) {
    CChartCanvas::LayoutPortrait(label, area);
    ApplyViewLayout(true);
}

void CFSChartView::LayoutLandscape(CSize label, const CRect& area) {
    CChartCanvas::LayoutLandscape(label, area);
    ApplyViewLayout(false);
}

void CFSChartView::ApplyViewLayout(bool portrait) {
    m_fs = FSLayout(GetPriceArea(), GetVolumeArea(), GetLabelHeight(), portrait);
    SetSlotCount(kFSSlots);
    m_panel.SetDirty();
    if (m_owner) {
        // Swipes count in the panel only: elsewhere a finger moves the cursor.
        m_owner->SetSwipeArea(m_fs.panel);
    }
}

// ---- Drawing ----

void CFSChartView::SelectTextLook(CDC& dc) const {
    dc.SelectFont(GetFont());
    dc.SetBkMode(TRANSPARENT);
}

void CFSChartView::DrawTimeAxis(CDC& dc) {
    if (!m_fs.Drawable())
        return;
    CDCStateSaver save(dc);
    SelectTextLook(dc);
    const CRect& p = m_fs.chart;
    const CRect& grid = m_fs.grid;
    const CRect& volume = m_fs.volume;
    const int step = m_fs.columnStep;

    // Time labels in the band below the volume area.
    dc.SetTextColor(PaletteColor(kAxisColor));
    const std::vector<std::u16string> times = FSTimeAxisLabels(m_market);
    const int width = TextExtent(dc, u"09:30").cx;
    const int top = volume.bottom + 1;
    const CRect band{p.left, top, p.left + 4 * step, top + m_fs.labelHeight};
    dc.DrawText(times[0], band, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    for (int k = 1; k <= 3; ++k) {
        const int x = p.left + k * step;
        dc.DrawText(times[k], {x - width, top, x + width, band.bottom}, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    }
    dc.DrawText(times[4], band, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);

    // Frames and grid.
    const COLORREF frame = PaletteColor(kFrameColor);
    dc.SelectPen(CPen{PS_SOLID, 1, frame});
    dc.SelectBrush(CBrush::Null());
    dc.Rectangle({grid.left, grid.top, grid.right + 1, grid.bottom + 1});
    dc.Rectangle({volume.left, volume.top, volume.right + 1, volume.bottom + 1});
    for (int k = 1; k <= 3; ++k) {
        const int x = p.left + k * step;
        Line(dc, x, grid.top, x, grid.bottom);
        Line(dc, x, volume.top, x, volume.bottom);
    }
    for (int k = 1; k <= 5; ++k) {
        const int y = grid.top + k * m_fs.rowHeight;
        if (k == 3)
            dc.SelectPen(CPen{PS_SOLID, 2, frame});
        Line(dc, grid.left, y, grid.right, y);
        if (k == 3)
            dc.SelectPen(CPen{PS_SOLID, 1, frame});
    }

    // Price labels, centred on their lines.
    if (GetLabelMargin() <= 0)
        return;
    const std::vector<CFSPriceLabel> labels = FSPriceLabels(m_ranges.price, HasPoints());
    const int half = m_fs.labelHeight / 2;
    for (size_t k = 0; k < labels.size(); ++k) {
        int line = labels.size() == 1 ? 3 : static_cast<int>(k);
        int y = grid.top + line * m_fs.rowHeight - half;
        if (line == 0)
            y = grid.top;
        else if (line == 6)
            y = grid.bottom - m_fs.labelHeight;
        DrawNumber(dc, labels[k].value, PaletteColor(labels[k].colorIndex), y, false);
    }
}

void CFSChartView::DrawLines(CDC& dc) {
    if (!HasPoints() || !m_fs.Drawable())
        return;
    const CQuoteNumber& top = m_ranges.price.top;
    const CQuoteNumber& bottom = m_ranges.price.bottom;
    DrawPriceLine(dc, m_data, CFSData::kColPrice, PaletteColor(kPriceColor), m_fs.grid, top, bottom, kFSPaintSlots,
                  kChartModeLine, 0);
    if (!m_data->IsIndex())
        DrawPriceLine(dc, m_data, CFSData::kColAverage, PaletteColor(kAverageColor), m_fs.grid, top, bottom,
                      kFSPaintSlots, kChartModeLine, 0);
    DrawVolumeBars(dc, m_data, CFSData::kColBarVolume, PaletteColor(kVolumeColor), m_fs.volume,
                   m_data->GetMaxVolume(), 0, kFSPaintSlots, kChartModeBars, 0);
    if (m_data->HasOverlayTable() && (m_overlayShown || m_data->IsIndex()))
        DrawOverlay(dc);
}

void CFSChartView::DrawOverlay(CDC& dc) {
    if (!m_ranges.hasOverlay || !m_ranges.overlay.IsDrawable())
        return;
    const COLORREF color = m_data->IsIndex() ? PaletteColor(kVolumeColor) : kOverlayColor;
    DrawSegments(dc, ExtraLineSegments(m_data, m_fs.grid, m_ranges.overlay.top, m_ranges.overlay.bottom, kFSSlots),
                 color);
}

void CFSChartView::DrawCursorLine(CDC& dc) {
    if (!m_cursorShown || m_cursorPos < 0 || !HasPoints() || !m_fs.Drawable())
        return;
    const CRect& grid = m_fs.grid;
    const int x = ChartSlotX(grid.left, grid.Width(), kFSSlots, m_cursorPos);
    CDCStateSaver save(dc);
    dc.SelectPen(CPen{PS_SOLID, 1, PaletteColor(kCursorColor)});
    CPoint at;
    if (FSCursorPoint(*m_data, m_cursorPos, grid, m_ranges.price, &at) && at.y >= grid.top && at.y <= grid.bottom)
        Line(dc, grid.left, at.y, grid.right, at.y);
    Line(dc, x, grid.top, x, grid.bottom);
    Line(dc, x, m_fs.volume.top, x, m_fs.volume.bottom);
}

void CFSChartView::GetCursorRects(std::vector<CRect>& rects) {
    // A pixel of slack around each line of DrawCursorLine.
    const CRect& grid = m_fs.grid;
    const int x = ChartSlotX(grid.left, grid.Width(), kFSSlots, m_cursorPos);
    CPoint at;
    if (HasPoints() && FSCursorPoint(*m_data, m_cursorPos, grid, m_ranges.price, &at))
        rects.push_back({grid.left - 1, at.y - 1, grid.right + 2, at.y + 2});
    rects.push_back({x - 1, grid.top - 1, x + 2, grid.bottom + 2});
    rects.push_back({x - 1, m_fs.volume.top - 1, x + 2, m_fs.volume.bottom + 2});
}

void CFSChartView::GetLegendRects(std::vector<CRect>& rects) {
    // What DrawLegends fills and writes: the legend band, the volume
    // caption, a panel that changed and the marks.
    const CRect& p = m_fs.chart;
    const CRect& grid = m_fs.grid;
    rects.push_back({p.left, grid.top - m_fs.labelHeight, p.right, grid.top});
    rects.push_back({p.left, grid.bottom + 1, p.right, m_fs.volume.top});
    if (m_panel.IsDirty())
        rects.push_back(m_fs.panel);
    for (const CFSMarkSlot& mark : m_marks) {
        const int x = ChartSlotX(grid.left, grid.Width(), kFSSlots, mark.slot) - 4;
        rects.push_back({x, grid.top + 1, x + kMarkSize, grid.top + 1 + kMarkSize});
    }
}

void CFSChartView::OnCursorMoved() {
    static const char16_t* const kLabels[4] = {u"时", u"价", u"均", u"涨"};
    std::u16string values[4] = {kMissingText, kMissingText, kMissingText, kMissingText};
    COLORREF colors[4];
    std::fill(std::begin(colors), std::end(colors), PaletteColor(kFlatColor));
    if (HasPoints() && m_cursorPos >= 0 && m_cursorPos < m_data->GetCount()) {
        const int pos = m_cursorPos;
        const std::string time = FSPointTimeText(m_market, pos);
        values[0] = Widen(time);
        CQuoteNumber price;
        m_data->GetNumber(price, CFSData::kColPrice, pos);
        int color = kFlatColor;
        values[1] = FSComparedValue(m_prevClose, price, &color);
        colors[1] = PaletteColor(color);
        CQuoteNumber average;
        m_data->GetNumber(average, CFSData::kColAverage, pos);
        if (m_data->IsIndex() && !average.IsInvalid()) {
            const CQuoteNumber& overlayClose = m_data->GetOverlayPrevClose();
            average = IsZero(overlayClose) || overlayClose.IsInvalid()
                          ? m_prevClose
                          : CQuoteNumber(average.GetValue() * m_prevClose.GetValue() / overlayClose.GetValue(),
                                         m_prevClose.GetCode());
        }
        values[2] = FSComparedValue(m_prevClose, average, &color);
        colors[2] = PaletteColor(color);
        values[3] = FSPercentOf(price, m_prevClose, &color);
        colors[3] = PaletteColor(color);
    }
    const char16_t* texts[4] = {values[0].c_str(), values[1].c_str(), values[2].c_str(), values[3].c_str()};
    SetLegend(kLabels, texts, colors, 4);
}

void CFSChartView::DrawLegends(CDC& dc, bool hasData) {
    if (!m_fs.Drawable())
        return;
    CDCStateSaver save(dc);
    SelectTextLook(dc);
    const CRect& p = m_fs.chart;
    const int lh = m_fs.labelHeight;

    // The legend band above the grid: four cells of label and value.
    const CRect legend{p.left, m_fs.grid.top - lh, p.right, m_fs.grid.top};
    dc.FillRect(legend, GetBackgroundColor());
    const int cell = p.Width() / 4;
    for (int i = 0; i < 4; ++i) {
        const CLegendItem* item = GetLegendItem(i);
        const int x = p.left + i * cell;
        const std::u16string label = item ? item->label : u"";
        dc.SetTextColor(PaletteColor(kLabelColor));
        dc.DrawText(label, {x, legend.top, x + cell, legend.bottom}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        const int labelWidth = TextExtent(dc, label).cx + 2;
        dc.SetTextColor(hasData && item ? item->color : PaletteColor(kLabelColor));
        dc.DrawText(hasData && item ? std::u16string(item->value) : std::u16string(kMissingText),
                    {x + labelWidth, legend.top, x + cell, legend.bottom}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    }

    // The volume caption band between grid and volume area.
    const CRect caption{p.left, m_fs.grid.bottom + 1, p.right, m_fs.volume.top};
    if (caption.Height() > 0) {
        dc.FillRect(caption, GetBackgroundColor());
        dc.SelectPen(CPen{PS_SOLID, 1, PaletteColor(kFrameColor)});
        dc.SelectBrush(CBrush::Null());
        dc.Rectangle(caption);
        const bool index = m_data && m_data->IsIndex();
        const std::u16string title = index ? u"成交额" : u"成交量";
        const CRect text = caption.Deflate(2, 0);
        dc.SetTextColor(PaletteColor(kLabelColor));
        dc.DrawText(title, text, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        if (m_market == 3 && !index)
            dc.DrawText(u"(港股延时15分钟)", text, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
        if (hasData && HasPoints() && m_cursorPos >= 0) {
            CQuoteNumber value;
            m_data->GetNumber(value, index ? CFSData::kColAmount : CFSData::kColVolume, m_cursorPos);
            dc.SetTextColor(PaletteColor(kVolumeColor));
            const int x = text.left + TextExtent(dc, title).cx + 4;
            dc.DrawText(value.IsInvalid() ? std::u16string(kMissingText) : value.ToWideTextWithUnit().str(),
                        {x, text.top, text.right, text.bottom}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        }
    }

    if (m_panel.IsDirty())
        m_panel.Draw(dc, *this, m_data, m_fs);
    DrawMarks(dc);
}

void CFSChartView::DrawMarks(CDC& dc) {
    // Within kMarkSize × kMarkSize.
    static const CPoint kDots[] = {{4, 0}, {1, 1}, {4, 1}, {7, 1}, {3, 3}, {4, 3}, {5, 3}, {0, 4}, {1, 4}, {3, 4}, {4, 4},
                                   {5, 4}, {7, 4}, {8, 4}, {3, 5}, {4, 5}, {5, 5}, {1, 7}, {4, 7}, {7, 7}, {4, 8}};
    const CRect& grid = m_fs.grid;
    for (const CFSMarkSlot& mark : m_marks) {
        const int x = ChartSlotX(grid.left, grid.Width(), kFSSlots, mark.slot) - 4;
        const int y = grid.top + 1;
        const COLORREF color = m_cursorShown && mark.slot == m_cursorPos ? MakeRgb(0, 0, 255) : MakeRgb(255, 255, 0);
        for (const CPoint& d : kDots)
            dc.SetPixel(x + d.x, y + d.y, color);
    }
}

void CFSChartView::DrawTitle(CDC& dc) {
    CDCStateSaver save(dc);
    SelectTextLook(dc);
    dc.SetTextColor(0xFFFFFF);
    const CRect band{0, 0, GetWholeArea().Width(), GetLabelHeight()};
    if (m_data && !m_data->GetCode().IsEmpty()) {
        std::u16string title = m_data->GetName().str() + u" " + m_data->GetCode().ToWide() + u" 分时";
        dc.DrawText(title, band.Deflate(2, 0), DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        if (m_data->IsHistory())
            dc.DrawText(Widen(std::to_string(m_data->GetTradeDate())), band.Deflate(2, 0),
                        DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    }
    m_panel.Draw(dc, *this, m_data, m_fs);
}

// ---- Side panel ----

void CFSChartView::ReleasePressedCell() {
    if (m_panel.Release())
        Repaint();
}

// ---- Touches ----

void CFSChartView::Repaint() {
    if (m_owner)
        m_owner->RepaintView();
}

void CFSChartView::OnTouch(CChartWnd* /*owner*/, UINT message, int x, int y) {
    if (message == kTouchPress)
        m_pressInPanel = PtInChartRect(m_fs.panel, x, y);
    if (PtInChartRect(m_fs.panel, x, y))
        OnPanelTouch(message, x, y);
    else
        OnChartTouch(message, x, y);
    if (message == kTouchRelease) {
        m_heldPress = false;
        m_pressInPanel = false;
    }
}

void CFSChartView::OnPanelTouch(UINT message, int x, int y) {
    if (message == kTouchPress) {
        m_heldPress = false;
        const int page = GetShownPage();
        if (!HasPoints() || (page != 2 && page != 3))
            return;
        if (!UiGesture::RecognizeHold())
            return;
        // The finger is still down: its release must not turn the page.
        m_heldPress = true;
        const int hit = HitPanel(x, y);
        if (!hit)
            return;
        Repaint();
        if (m_owner)
            m_owner->OnLevelHeld(x, y);
        return;
    }
    if (message == kTouchRelease && m_pressInPanel && !m_heldPress) {
        TurnPanelPage(false);
        Repaint();
    }
}

void CFSChartView::OnChartTouch(UINT message, int x, int y) {
    if (message == kTouchRelease || !HasPoints() || !m_fs.Drawable())
        return;
    const CRect& grid = m_fs.grid;
    const int index = FSPointAtX(x, grid.left, grid.Width(), m_data->GetCount());
    // Only the press opens a mark's page, so a drag across the band opens one.
    if (message == kTouchPress && FSInMarkBand(y, grid.top)) {
        if (const CFSMarkSlot* mark = FSMarkNear(m_marks, index); mark && m_owner)
            m_owner->PostInfoMine(mark->ids);
    }
    SetCursor(index, 0);
    Repaint();
}

void CFSChartView::MoveCursor(int direction, int extra) {
    switch (direction) {
    case 0:
    case 1:
        CChartCanvas::MoveCursor(direction, extra);
        Repaint();
        break;
    case 2:
    case 3:
        if (m_owner) {
            TurnPanelPage(direction == 2);
            Repaint();
        }
        break;
    case 4: {
        const bool onMark = std::any_of(m_marks.begin(), m_marks.end(),
                                        [this](const CFSMarkSlot& m) { return m.slot == m_cursorPos; });
        if (onMark)
            break;
        ToggleCursor();
        CChartState::Shared().SetLastCursorPosition(-1);
        Repaint();
        break;
    }
    default:
        break;
    }
}
