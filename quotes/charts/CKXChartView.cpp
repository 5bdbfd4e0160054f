// The K-line chart view: layout, ranges, the cached picture, legends,
// cursor and touches.
#include "quotes/charts/CKXChartView.h"

#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "quotes/charts/CChartState.h"
#include "quotes/charts/CChartWnd.h"
#include "quotes/charts/IKXChartHost.h"
#include "quotes/charts/CKXIndicatorPainter.h"
#include "quotes/tables/QuoteRequests.h"
#include "quotes/tables/QuoteTableOptions.h"

#include <algorithm>
#include <cmath>

namespace {

std::u16string DateText(int32_t date) {
    const std::string s = std::to_string(date);
    return std::u16string(s.begin(), s.end());
}

} // namespace

CKXChartView::CKXChartView(const CKLineMetrics& metrics, IKXChartHost* owner)
    : m_owner(owner), m_data(std::make_unique<CKXData>()) {
    SetBarMetrics(metrics);
}

CKXChartView::~CKXChartView() = default;

// ---- Settings ----

void CKXChartView::SetBarMetrics(const CKLineMetrics& metrics) {
    m_metrics = metrics;
    m_slotCount = KLineVisibleCount(m_panels.price.Width(), m_metrics);
    CalcRanges();
    SetDirty();
}

void CKXChartView::SetTitle(std::u16string_view title) {
    if (title.size() <= kTitleChars)
        m_title.assign(title);
}

void CKXChartView::SetTechName(std::string_view name) {
    if (!name.empty())
        m_techName.assign(name);
    m_allBarRanges.reset();
}

void CKXChartView::Reset() {
    m_allBarRanges.reset();
    m_data->Clear();
    m_recordCount = 0;
    m_cursorPos = 0;
    m_first = 0;
    m_code.Clear();
    m_market = 0;
    m_ranges = {};
    m_buttonRect = {};
    SetDirty();
}

// ---- Data ----

int CKXChartView::AddReply(CDataSetList& list) {
    if (!CKXData::IsAcceptedReply(list))
        return 0;
    m_allBarRanges.reset();
    if (m_data->GetCount() > m_slotCount + 150) {
        // Too much held: the new page replaces it all.
        m_market = 0;
        m_code.Clear();
        m_data->Clear();
    }
    const int before = m_data->GetCount();
    const int added = m_data->ParseReply(list);
    const int after = m_data->GetCount();
    const bool same = m_data->GetMarket() == m_market && m_data->GetCode().EqualsNoCase(m_code);
    if (before > 0 && same && after > before) {
        // The same bars stay on screen.
        m_first += after - before;
        m_recordCount = after;
        CalcVisibleRanges();
    } else if (!(same && after == before && before > 0)) {
        CalcRanges();
    }
    SetDirty();
    return added;
}

void CKXChartView::CalcRanges() {
    m_allBarRanges.reset();
    m_cursorPos = 0;
    m_recordCount = m_data->GetCount();
    if (m_recordCount > 0) {
        m_market = m_data->GetMarket();
        m_type = m_data->GetType();
        m_name = m_data->GetName();
        m_code = m_data->GetCode();
        m_cursorShown = false;
        m_cursorPos = std::max(0, std::min(m_slotCount, m_recordCount) - 1);
        m_first = std::max(m_recordCount - m_slotCount, 0);
    } else {
        m_first = 0;
    }
    m_buttonRect = {};
    CalcVisibleRanges();
}

void CKXChartView::CalcVisibleRanges() {
    m_allBarRanges.reset();
    m_ranges = KLineVisibleRanges(*m_data, m_first, m_slotCount, m_techName);
    PlaceCursorButton();
}

int CKXChartView::GetSelectedBar() const {
    const int i = m_first + m_cursorPos;
    return m_recordCount > 0 && i >= 0 && i < m_recordCount && m_cursorPos < std::max(m_slotCount, 1) ? i : -1;
}

std::string CKXChartView::MinuteChartRequest() const {
    const int i = GetSelectedBar();
    const int32_t date = i >= 0 ? m_data->GetInt(CKXData::kColDate, i) : 0;
    if (date <= 0 || !IsRequestValue(m_code.view()))
        return {};
    return "date=" + std::to_string(date) + "&code=" + m_code.str() + "." + std::to_string(m_market);
}

// ---- Layout ----

void CKXChartView::LayoutPortrait(CSize label, const CRect& area) {
    CChartCanvas::LayoutPortrait(label, area);
    AfterLayout(true);
}

void CKXChartView::LayoutLandscape(CSize label, const CRect& area) {
    CChartCanvas::LayoutLandscape(label, area);
    AfterLayout(false);
}

void CKXChartView::AfterLayout(bool portrait) {
    m_portrait = portrait;
    m_slotCount = KLineVisibleCount(GetPriceArea().Width(), m_metrics);
    m_panels = KLinePanels(GetPriceArea(), GetLabelHeight());
    // Swipes inside the strip switch screens; drags elsewhere scroll.
    if (m_owner)
        m_owner->SetSwipeArea(GetVolumeArea());
    m_buttonRect = {};
    m_squares[0] = m_squares[1] = {};
    if (portrait) {
        const CRect& w = GetWholeArea();
        const int lh = GetLabelHeight();
        m_squares[0] = {w.right - lh, w.top, w.right, w.top + lh};
        m_squares[1] = m_squares[0].Offset(-(lh + 2), 0);
    }
}

// ---- The cached picture ----

void CKXChartView::DrawTimeAxis(CDC& dc) {
    const CDCStateSaver saved(dc);
    const COLORREF grid = PaletteColor(kGridColor);
    dc.SelectBrush(CBrush::Null());
    dc.SelectPen({PS_SOLID, 1, grid});
    for (const CRect* r : {&m_panels.price, &m_panels.volume, &m_panels.indicator})
        if (!r->IsEmpty())
            dc.Rectangle(*r); // the outline's right edge is right − 1
    dc.SelectPen({PS_DASH, 1, grid});
    const CRect& p = m_panels.price;
    for (int k = 1; k <= 3; ++k)
        Line(dc, p.left, p.top + k * p.Height() / 4, p.right - 1, p.top + k * p.Height() / 4);
    for (const CRect* r : {&m_panels.volume, &m_panels.indicator})
        Line(dc, r->left, r->top + r->Height() / 2, r->right - 1, r->top + r->Height() / 2);
    dc.SelectPen({PS_SOLID, 1, grid});
    const CRect& strip = GetVolumeArea();
    Line(dc, strip.left, strip.top - 1, strip.right, strip.top - 1);
    if (m_recordCount <= 1)
        return;
    dc.SetTextColor(PaletteColor(kDateColor));
    dc.SetBkMode(TRANSPARENT);
    const CRect& area = GetPriceArea();
    const int lh = GetLabelHeight();
    const int step = m_metrics.width + m_metrics.gap;
    const int last = std::min(m_first + m_slotCount - 1, m_recordCount - 1);
    dc.DrawText(DateText(m_data->GetInt(CKXData::kColDate, m_first)), {area.left, area.bottom, area.right, area.bottom + lh},
                DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
    const int right = area.left + std::min(m_recordCount - m_first, m_slotCount - 1) * step;
    dc.DrawText(DateText(m_data->GetInt(CKXData::kColDate, last)), {area.left, area.bottom, right, area.bottom + lh},
                DT_RIGHT | DT_SINGLELINE | DT_NOCLIP);
}

void CKXChartView::DrawScale(CDC& dc) {
    if (m_recordCount < 1)
        return;
    const int lh = GetLabelHeight();
    const CRect& p = m_panels.price;
    const CRect& t = m_panels.indicator;
    const COLORREF rise = PaletteColor(kRiseColor);
    const COLORREF volume = PaletteColor(kVolumeColor);
    const std::vector<CKLineScaleLabel> labels = KLineScaleLabels(m_ranges);
    const int ys[7] = {p.top, p.top + p.Height() / 2 - lh / 2, p.bottom - lh, m_panels.volume.top,
                       t.top, t.top + t.Height() / 2 - lh / 2, t.bottom - lh};
    for (size_t k = 0; k < labels.size() && k < 7; ++k)
        DrawNumber(dc, labels[k].value, k < 3 ? rise : volume, ys[k], labels[k].withUnit);
}

void CKXChartView::OnLabelColumnChanged(int previousSlots) {
    if (m_recordCount > 0) {
        // The same selected bar; the newest bars stay in view when they were.
        const int selected = m_first + m_cursorPos;
        const int newestFirst = std::max(m_recordCount - m_slotCount, 0);
        if (m_first + previousSlots >= m_recordCount || m_first > newestFirst)
            m_first = newestFirst;
        const int shown = std::min(m_slotCount, m_recordCount - m_first);
        m_cursorPos = std::clamp(selected - m_first, 0, std::max(shown - 1, 0));
    }
    CalcVisibleRanges();
}

std::vector<std::u16string> CKXChartView::ScaleLabelTexts() const {
    std::vector<std::u16string> texts;
    if (m_recordCount < 1)
        return texts;
    // The labels of every held bar as well as of the visible ones: a
    // scroll then never needs a wider column than the layout gave.
    if (!m_allBarRanges)
        m_allBarRanges = KLineVisibleRanges(*m_data, 0, m_recordCount, m_techName);
    for (const CKLineRanges& r : {m_ranges, *m_allBarRanges})
        for (const CKLineScaleLabel& label : KLineScaleLabels(r))
            texts.push_back(label.withUnit ? label.value.ToWideTextWithUnit().str() : label.value.ToWideText().str());
    return texts;
}

void CKXChartView::DrawLines(CDC& dc) {
    if (m_recordCount < 1 || !(m_ranges.priceMax > m_ranges.priceMin))
        return;
    DrawBars(dc);
    const CRect& p = m_panels.price;
    const int span = (m_metrics.width + m_metrics.gap) * m_slotCount;
    const CRect r{p.left, p.top + 2, p.left + span, p.bottom - 1};
    const int columns[] = {CKXData::kColMa5, CKXData::kColMa10, CKXData::kColMa30};
    for (int i = 0; i < 3; ++i)
        DrawPriceLine(dc, m_data.get(), columns[i], PaletteColor(36 + i), r, m_ranges.priceMax, m_ranges.priceMin,
                      m_slotCount, kChartModeLine, m_first);
    CKXIndicatorPainter(*this, *m_data, m_metrics, m_ranges, m_first, m_slotCount, m_recordCount)
        .Draw(dc, m_techName, m_panels.indicator);
}

void CKXChartView::DrawBars(CDC& dc) {
    const CDCStateSaver saved(dc);
    const CRect& p = m_panels.price;
    const CRect& v = m_panels.volume;
    const double max = m_ranges.priceMax.GetValue();
    const double min = m_ranges.priceMin.GetValue();
    const double volumeMax = m_ranges.volumeMax.ToRaw();
    const int step = m_metrics.width + m_metrics.gap;
    const COLORREF colors[3] = {PaletteColor(kRiseColor), PaletteColor(kFallColor), PaletteColor(kFlatColor)};
    const auto colorOf = [&](int index) { return colors[index == kRiseColor ? 0 : index == kFallColor ? 1 : 2]; };
    CPoint previous{0, 0};
    bool havePrevious = false;
    CQuoteNumber open, high, low, close, volume;
    for (int k = 0; k < m_slotCount && m_first + k < m_recordCount; ++k) {
        const int i = m_first + k;
        const int x = p.left + step * k;
        m_data->ReadPrices(i, open, high, low, close);
        const CKLineBarShapes bar = KLineBarShapes(m_metrics.style, x, m_metrics.width, p, max, min, open, high,
                                                   low, close);
        const COLORREF pen = colorOf(bar.color);
        dc.SelectPen({PS_SOLID, 1, pen});
        if (m_metrics.style == kKLineCloseLine) {
            if (!close.IsInvalid()) {
                const CPoint now{x, KLinePriceY(p, close.GetValue(), max, min)};
                if (havePrevious)
                    Line(dc, previous.x, previous.y, now.x, now.y);
                previous = now;
                havePrevious = true;
            } else {
                havePrevious = false;
            }
        }
        for (const CKLineShape& s : bar.shapes) {
            if (s.kind == CKLineShape::Line) {
                Line(dc, s.a.x, s.a.y, s.b.x, s.b.y);
            } else {
                dc.SelectBrush(s.kind == CKLineShape::FilledBox ? CBrush::Solid(colors[1]) : CBrush::Null());
                dc.Rectangle(s.box);
            }
        }
        m_data->GetNumber(volume, CKXData::kColVolume, i);
        if (volume.IsInvalid())
            continue;
        const int y = KLineVolumeY(v, volume.ToRaw(), volumeMax);
        if (m_metrics.width < 2) {
            Line(dc, x, y, x, v.bottom - 1);
        } else {
            dc.SelectBrush(bar.color == kFallColor ? CBrush::Solid(colors[1]) : CBrush::Null());
            dc.Rectangle({x, y, x + m_metrics.width, v.bottom - 1 + 1});
        }
    }
}

void CKXChartView::DrawTitle(CDC& dc) {
    const CDCStateSaver saved(dc);
    dc.SetTextColor(0xFFFFFF);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(m_title, {0, 0, GetWholeArea().right, GetLabelHeight()}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
}

// ---- Legends ----

CRect CKXChartView::StripCell(int k) const {
    const CRect& s = GetVolumeArea();
    if (m_portrait) {
        const int w = s.Width() / 3, h = s.Height() / 3;
        return CRect::FromSize(s.left + (k % 3) * w, s.top + (k / 3) * h, w, h);
    }
    const int h = s.Height() / 9;
    return CRect::FromSize(s.left + 2, s.top + k * h + 10, s.Width() - 2, h);
}

CRect CKXChartView::MaRow() const {
    const CRect& p = m_panels.price;
    return {GetWholeArea().left, p.top - GetLabelHeight(), p.right, p.top};
}

CRect CKXChartView::TechRow() const {
    const CRect& t = m_panels.indicator;
    const CRect& whole = GetWholeArea();
    return {whole.left, t.top - GetLabelHeight(), m_portrait ? whole.right : GetVolumeArea().left, t.top};
}

void CKXChartView::DrawStrip(CDC& dc, const std::array<CKLineCell, 9>& cells) {
    const CRect& s = GetVolumeArea();
    dc.SelectPen({PS_SOLID, 1, PaletteColor(kGridColor)});
    dc.Rectangle({s.left - 1, s.top - 1, s.right + 1, s.bottom});
    for (int k = 0; k < 9; ++k) {
        const CRect cell = StripCell(k);
        dc.SetTextColor(PaletteColor(kFlatColor));
        dc.DrawText(cells[k].label, cell.Deflate(2, 0), DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        const int x = cell.left + 2 + dc.GetTextExtent(cells[k].label).cx + 2;
        dc.SetTextColor(PaletteColor(cells[k].color));
        dc.DrawText(cells[k].value, {x, cell.top, cell.right, cell.bottom}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        m_stripValueX[static_cast<size_t>(k)] = x;
    }
}

int CKXChartView::ItemsWidth(CDC& dc, const std::vector<CKLineLegendItem>& items) {
    int width = 0;
    for (const CKLineLegendItem& item : items)
        width += dc.GetTextExtent(item.label + item.value).cx;
    return width;
}

void CKXChartView::RedrawValue(CDC& dc, const CRect& r, const CRect& limit, int lineHeight,
                               const std::u16string& was, const std::u16string& value, COLORREF color) {
    // The value's line in r, where a whole legend draws it (clipped to r),
    // as far as the longer of the two texts reaches.
    const int top = r.top + (r.Height() - lineHeight) / 2;
    const int advance = std::max(dc.GetTextExtent(was).cx, dc.GetTextExtent(value).cx);
    const int right = std::min(r.right, r.left + advance + InkOverhang(lineHeight));
    const CRect box = CRect{r.left, top, right, top + lineHeight}.Intersect(r).Intersect(limit);
    if (box.IsEmpty())
        return;
    // What the whole legend draws there: the background and the value,
    // clipped to the box.
    const CPoint origin = dc.GetOrigin();
    const CRect clip = box.Intersect(dc.GetClipRect()).Offset(origin.x, origin.y);
    CDC clipped(dc.GetSurface(), origin, clip);
    clipped.SelectFont(dc.GetFont());
    clipped.SetBkMode(TRANSPARENT);
    clipped.FillRect(box, m_background);
    clipped.SetTextColor(color);
    clipped.DrawText(value, r, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    m_legendsDrawn.push_back(box);
}

void CKXChartView::DrawLegendItems(CDC& dc, int x, const CRect& row, const std::vector<CKLineLegendItem>& items) {
    for (const CKLineLegendItem& item : items) {
        const std::u16string text = item.label + item.value;
        dc.SetTextColor(PaletteColor(item.color));
        dc.DrawText(text, {x, row.top, row.right, row.bottom}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        x += dc.GetTextExtent(text).cx;
    }
}

void CKXChartView::DrawMaRow(CDC& dc, const std::array<CKLineLegendItem, 3>& ma) {
    // Moving averages above the price panel, three fields of a third of its width.
    const CRect maRow = MaRow();
    dc.FillRect(maRow, m_background);
    const int field = m_panels.price.Width() / 3;
    for (int i = 0; i < 3; ++i) {
        const CRect f{maRow.left + i * field, maRow.top, maRow.left + (i + 1) * field, maRow.bottom};
        dc.SetTextColor(PaletteColor(kFlatColor));
        dc.DrawText(ma[i].label, f, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        dc.SetTextColor(PaletteColor(ma[i].color));
        const int x = f.left + dc.GetTextExtent(ma[i].label).cx;
        dc.DrawText(ma[i].value, {x, f.top, f.right, f.bottom}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        m_maValueX[static_cast<size_t>(i)] = x;
    }
}

void CKXChartView::DrawTechRow(CDC& dc, const CKLineTechLegend& legend) {
    // The indicator's values above its panel.
    const CRect techRow = TechRow();
    dc.FillRect(techRow, m_background);
    m_techItemsX = techRow.left + 2;
    if (legend.title.empty())
        return;
    dc.SetTextColor(PaletteColor(kFlatColor));
    dc.DrawText(legend.title, {m_techItemsX, techRow.top, techRow.right, techRow.bottom},
                DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    m_techItemsX += dc.GetTextExtent(legend.title).cx;
    DrawLegendItems(dc, m_techItemsX, techRow, legend.items);
}

void CKXChartView::RedrawTechItems(CDC& dc, const CKLineTechLegend& was, const CKLineTechLegend& legend,
                                   int lineHeight) {
    // After the title, which stays: the items' line as far as the longer
    // of the two runs of items reaches.
    const CRect row = TechRow();
    const int top = row.top + (row.Height() - lineHeight) / 2;
    const int advance = std::max(ItemsWidth(dc, was.items), ItemsWidth(dc, legend.items));
    const int right = std::min(row.right, m_techItemsX + advance + InkOverhang(lineHeight));
    const CRect box = CRect{m_techItemsX, top, right, top + lineHeight}.Intersect(row);
    if (box.IsEmpty())
        return;
    const CPoint origin = dc.GetOrigin();
    CDC clipped(dc.GetSurface(), origin, box.Intersect(dc.GetClipRect()).Offset(origin.x, origin.y));
    clipped.SelectFont(dc.GetFont());
    clipped.SetBkMode(TRANSPARENT);
    clipped.FillRect(box, m_background);
    DrawLegendItems(clipped, m_techItemsX, row, legend.items);
    m_legendsDrawn.push_back(box);
}

void CKXChartView::DrawLegends(CDC& dc, bool hasData) {
    // The canvas has selected the chart font: texts are measured in the dc.
    const CDCStateSaver saved(dc);
    dc.SelectBrush(CBrush::Solid(m_background));
    dc.SetBkMode(TRANSPARENT);
    const int selected = hasData ? GetSelectedBar() : -1;
    const CKXBar* bar = selected >= 0 ? &m_data->CalcBar(selected) : nullptr;
    const int32_t time = selected >= 0 ? m_data->GetInt(CKXData::kColTime, selected) : 0;
    const std::array<CKLineCell, 9> cells = KLineStripCells(bar, time);
    const std::array<CKLineLegendItem, 3> ma = KLineMaLegend(bar);
    const CKXBar zero;
    const CKLineTechLegend tech = KLineTechLegend(m_techName, bar ? *bar : zero);
    m_legendsDrawn.clear();
    if (!m_legendsShown) {
        DrawStrip(dc, cells);
        DrawMaRow(dc, ma);
        DrawTechRow(dc, tech);
        const CRect& s = GetVolumeArea();
        m_legendsDrawn = {{s.left - 1, s.top - 1, s.right + 1, s.bottom}, MaRow(), TechRow()};
    } else {
        // Over the legends the picture holds: only what differs. A cell
        // whose label changed is drawn whole.
        const CRect& s = GetVolumeArea();
        const CRect inside{s.left, s.top, s.right, s.bottom - 1}; // within the strip's frame
        const int lineHeight = dc.GetTextExtent(u"0").cy;
        for (int k = 0; k < 9; ++k) {
            const size_t i = static_cast<size_t>(k);
            const CKLineCell& was = m_shownCells[i];
            if (cells[k] == was)
                continue;
            if (cells[k].label != was.label) {
                m_legendsShown = false;
                return DrawLegends(dc, hasData);
            }
            const CRect cell = StripCell(k);
            RedrawValue(dc, {m_stripValueX[i], cell.top, cell.right, cell.bottom}, inside, lineHeight, was.value,
                        cells[k].value, PaletteColor(cells[k].color));
        }
        const CRect maRow = MaRow();
        const int field = m_panels.price.Width() / 3;
        for (size_t i = 0; i < 3; ++i) {
            if (ma[i] == m_shownMa[i])
                continue;
            if (ma[i].label != m_shownMa[i].label) {
                m_legendsShown = false;
                return DrawLegends(dc, hasData);
            }
            const int right = maRow.left + (static_cast<int>(i) + 1) * field;
            RedrawValue(dc, {m_maValueX[i], maRow.top, right, maRow.bottom}, maRow, lineHeight, m_shownMa[i].value,
                        ma[i].value, PaletteColor(ma[i].color));
        }
        if (tech.title != m_shownTech.title || tech.items.size() != m_shownTech.items.size()) {
            DrawTechRow(dc, tech);
            m_legendsDrawn.push_back(TechRow());
        } else if (tech != m_shownTech && !tech.title.empty()) {
            RedrawTechItems(dc, m_shownTech, tech, lineHeight);
        }
    }
    m_shownCells = cells;
    m_shownMa = ma;
    m_shownTech = tech;
    m_legendsShown = true;
}

// ---- Cursor ----

void CKXChartView::PlaceCursorButton() {
    if (!m_cursorShown || GetSelectedBar() < 0) {
        m_buttonRect = {};
        return;
    }
    const int x = m_panels.price.left + (m_metrics.width + m_metrics.gap) * m_cursorPos;
    m_buttonRect = KLineCursorButton(m_panels.price, x, GetLabelHeight());
}

void CKXChartView::SetCursor(int index, int /*extra*/) {
    if (m_recordCount <= 0) {
        m_cursorPos = 0;
    } else {
        const int last = std::max(0, std::min(m_slotCount, m_recordCount - m_first) - 1);
        m_cursorPos = std::clamp(index, 0, last);
        OnCursorMoved();
        m_cursorShown = true;
    }
    PlaceCursorButton();
    CChartState::Shared().SetLastCursorPosition(m_cursorPos);
}

void CKXChartView::CalcCursorParts() {
    m_cursorParts.clear();
    m_cursorY = -1;
    PlaceCursorButton();
    const int i = GetSelectedBar();
    if (i < 0)
        return;
    const CRect& p = m_panels.price;
    const int x = p.left + (m_metrics.width + m_metrics.gap) * m_cursorPos;
    CQuoteNumber close;
    m_data->GetNumber(close, CKXData::kColClose, i);
    const int y = KLineCursorY(p, close, m_ranges.priceMax, m_ranges.priceMin);
    if (y >= p.top && y <= p.bottom) {
        m_cursorY = y;
        m_cursorParts.push_back({p.left, y, p.right + 1, y + 1});
    }
    m_cursorParts.push_back({x, m_panels.price.top, x + 1, m_panels.indicator.bottom});
    m_cursorParts.push_back(m_buttonRect);
}

void CKXChartView::DrawCursorLine(CDC& dc) {
    CalcCursorParts();
    if (GetSelectedBar() < 0)
        return;
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 1, PaletteColor(kCursorColor)});
    const CRect& p = m_panels.price;
    const int x = p.left + (m_metrics.width + m_metrics.gap) * m_cursorPos;
    if (m_cursorY >= 0)
        Line(dc, p.left, m_cursorY, p.right, m_cursorY);
    for (const CRect* r : {&m_panels.price, &m_panels.volume, &m_panels.indicator})
        Line(dc, x, r->top, x, r->bottom - 1);
    if (m_buttonRect.IsEmpty())
        return;
    if (!m_buttonImageTried) {
        m_buttonImageTried = true;
        auto image = std::make_unique<CImage>();
        const CAppData* app = CAppData::Instance();
        const bool loaded = (app && image->LoadFile(app->MakeDataPath(u"fs.png").ToAnsi())) ||
                            image->LoadResource(kMinuteChartImage);
        if (loaded)
            m_buttonImage = std::move(image);
    }
    if (m_buttonImage)
        dc.DrawImage(*m_buttonImage, m_buttonRect);
    else
        dc.Rectangle(m_buttonRect);
}

void CKXChartView::ToggleCursor() {
    if (!m_cursorShown) {
        m_cursorShown = true;
        PlaceCursorButton();
        return;
    }
    if (!m_owner || m_owner->GetShownPeriod() != kPeriodDay)
        return;
    const std::string request = MinuteChartRequest();
    if (!request.empty())
        m_owner->OpenDayMinuteChart(request);
}

void CKXChartView::GetLegendRects(std::vector<CRect>& /*rects*/) {
    // DrawLegends says what it drew: only the cells that changed.
}

void CKXChartView::GetDrawnLegendRects(std::vector<CRect>& rects) {
    rects.insert(rects.end(), m_legendsDrawn.begin(), m_legendsDrawn.end());
}

void CKXChartView::GetCursorRects(std::vector<CRect>& rects) {
    CalcCursorParts();
    rects.insert(rects.end(), m_cursorParts.begin(), m_cursorParts.end());
}

// ---- Touch ----

void CKXChartView::Scroll(int step) {
    if (m_recordCount < 1) {
        m_cursorPos = 0;
        return;
    }
    const CKLineScroll s = KLineScrollStep(m_first, m_recordCount, m_slotCount, step);
    if (s.askOlder && m_owner)
        m_owner->RequestOlder();
    if (s.redraw) {
        m_first = s.first;
        SetDirty();
        CalcVisibleRanges();
    }
}

void CKXChartView::OnTouch(CChartWnd* /*owner*/, UINT message, int x, int y) {
    if (message == kTouchPress)
        m_lastTouchX = x;
    const bool inButton = !m_buttonRect.IsEmpty() && PtInChartRect(m_buttonRect, x, y);
    if (message == kTouchRelease) {
        if (inButton && m_buttonArmed)
            ToggleCursor();
        m_buttonArmed = false;
        return;
    }
    if (inButton) {
        m_buttonArmed = true;
        return;
    }
    for (const CRect& square : m_squares)
        if (!square.IsEmpty() && PtInChartRect(square, x, y))
            return;
    const CRect& area = GetPriceArea();
    int X = x;
    if (!PtInChartRect(area, x, y)) {
        if (y > m_panels.volume.bottom)
            return;
        X = x < area.left ? area.left : area.right;
    }
    if (m_recordCount < 1)
        return;
    const int k = KLineTouchSlot(X, area.left, area.right, m_slotCount);
    if (k < 0 || m_first + k >= m_recordCount)
        return;
    SetCursor(k, 0);
    if (message == kTouchMove && PtInChartRect(m_panels.price, X, y)) {
        if (X > m_lastTouchX)
            Scroll(-3);
        else if (X < m_lastTouchX)
            Scroll(m_slotCount);
        m_lastTouchX = X;
    } else if (message == kTouchPress && PtInChartRect(m_panels.indicator, X, y) && m_owner) {
        std::vector<std::string> names;
        const CNameValueList options = LoadQuoteOptionGroup("tech");
        for (int i = 0; i < options.GetCount(); ++i)
            names.push_back(CWString(options.GetName(i)).ToAnsi());
        const bool upper = y < m_panels.indicator.top + m_panels.indicator.Height() / 2;
        const std::string next = KLineNextTech(names, m_techName, upper);
        if (!next.empty())
            m_owner->SetTechName(next.c_str());
    }
}
