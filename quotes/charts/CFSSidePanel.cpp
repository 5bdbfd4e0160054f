// The minute chart's side panel: its page, pressed level and drawing.
#include "quotes/charts/CFSSidePanel.h"

#include "quotes/charts/CChartCanvas.h"
#include "quotes/charts/CChartState.h"
#include "quotes/charts/CFSData.h"

#include <vector>

namespace {

constexpr const char16_t* kMissingText = u"-";

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

bool PageZeroOnly(const CFSData* data) {
    return data && (data->IsIndex() || data->IsHistory());
}

COLORREF PaletteColor(int index) {
    return CChartCanvas::PaletteColor(index);
}

void FillTriangle(CDC& dc, CPoint a, CPoint b, CPoint c, COLORREF color) {
    const CPoint points[3] = {a, b, c};
    CDCStateSaver save(dc);
    dc.SelectPen(CPen{PS_SOLID, 1, color});
    dc.SelectBrush(CBrush::Solid(color));
    dc.Polygon(points, 3);
}

} // namespace

static_assert(CChartState::kPanelPages == kFSPanelPages);

int CFSSidePanel::ShownPage(const CFSData* data, bool portrait) {
    return FSShownPage(CChartState::Shared().GetPanelPage(), portrait, PageZeroOnly(data));
}

void CFSSidePanel::TurnPage(const CFSData* data, bool backwards) {
    CChartState& state = CChartState::Shared();
    const int page = state.GetPanelPage();
    if (PageZeroOnly(data))
        state.SetPanelPage(0);
    else
        state.SetPanelPage(backwards ? (page + 3) % 4 : (page + 1) % 4);
    m_pressed = false;
    m_dirty = true;
}

int CFSSidePanel::Hit(const CFSData* data, const CFSLayout& fs, int x, int y) {
    if (!data || data->GetCount() <= 0)
        return 0;
    const int page = ShownPage(data, fs.portrait);
    const CFSPanelHit hit =
        fs.portrait ? FSHitPanelPortrait(fs.panel, page, x, y) : FSHitPanelLandscape(fs.panel, page, x, y);
    if (hit.label < 0)
        return 0;
    const std::u16string price = FSPanelValue(data, hit.label, nullptr, nullptr);
    // A level without a price is never an order price.
    if (price == kMissingText) {
        m_pressedPrice.clear();
        return 0;
    }
    m_pressedPrice = Narrow(price);
    m_sell = hit.sell;
    m_pressed = true;
    m_pressedCell = hit.cell;
    m_dirty = true;
    return 1;
}

bool CFSSidePanel::Release() {
    if (!m_pressed)
        return false;
    m_pressed = false;
    m_dirty = true;
    return true;
}

void CFSSidePanel::Draw(CDC& dc, const CChartCanvas& canvas, const CFSData* data, const CFSLayout& fs) {
    m_dirty = false;
    const CRect& panel = fs.panel;
    if (panel.Width() <= 2 || panel.Height() <= 2)
        return;
    CDCStateSaver save(dc);
    dc.SelectFont(canvas.GetFont());
    dc.SetBkMode(TRANSPARENT);
    dc.FillRect(panel, canvas.GetBackgroundColor());
    dc.SelectPen(CPen{PS_SOLID, 1, PaletteColor(kFSFrameColor)});
    dc.SelectBrush(CBrush::Null());
    dc.Rectangle(panel);

    const bool zeroOnly = PageZeroOnly(data);
    const int page = ShownPage(data, fs.portrait);
    const std::vector<CFSPanelCell> cells = FSPanelCells(panel.Deflate(1, 1), page, fs.portrait, zeroOnly);
    for (size_t i = 0; i < cells.size(); ++i) {
        const CFSPanelCell& cell = cells[i];
        const CRect r{cell.rect.left + 4, cell.rect.top, cell.rect.right - 2, cell.rect.bottom};
        const std::u16string label = FSPanelLabel(cell.label);
        dc.SetTextColor(PaletteColor(kFSLabelColor));
        dc.DrawText(label, r, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        int color = kFSLabelColor;
        std::u16string volume;
        const bool level = cell.label >= kFSFirstLevelLabel;
        const std::u16string value = FSPanelValue(data, cell.label, &color, level ? &volume : nullptr);
        int x = r.left + canvas.TextExtent(dc, label).cx + 2;
        dc.SetTextColor(PaletteColor(color));
        dc.DrawText(value, {x, r.top, r.right, r.bottom}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        if (level) {
            x += canvas.TextExtent(dc, value).cx + 6;
            dc.SetTextColor(PaletteColor(kFSPanelVolumeColor));
            dc.DrawText(volume, {x, r.top, r.right, r.bottom}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        }
        if (m_pressed && static_cast<int>(i) == m_pressedCell)
            dc.DrawEdge(cell.rect, EDGE_SUNKEN, BF_RECT);
    }
    if (!zeroOnly) {
        // The page turn: a triangle pointing up at the top, one pointing
        // down at the bottom, at the right edge.
        const int right = panel.right - 6;
        FillTriangle(dc, {right - 10, panel.top + 14}, {right, panel.top + 14}, {right - 5, panel.top + 6}, 0xFFFFFF);
        FillTriangle(dc, {right - 10, panel.bottom - 14}, {right, panel.bottom - 14}, {right - 5, panel.bottom - 6},
                     0xFFFFFF);
    }
}
