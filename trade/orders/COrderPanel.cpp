// The order form's five-level quote panel.
#include "trade/orders/COrderPanel.h"

#include "platform/gdi/CDC.h"

void COrderPanel::SetUp() {
    SetTable(10, 3, false, 3, 0);
    SetSlideMode(UI_SLIDE_NONE);
    SetFontSize(kFontSize);
    SetBkColor(0xFFFFFF);
    SetLineColor(0xD0D0D0);
}

void COrderPanel::SetRows(const std::vector<PanelRow>& rows) {
    DeleteAllRows();
    for (const PanelRow& row : rows) {
        CGridCell cells[3];
        for (int i = 0; i < 3; ++i) {
            const PanelCell& c = i == 0 ? row.name : i == 1 ? row.price : row.volume;
            cells[i].text.Assign(c.text);
            cells[i].color = c.color;
        }
        AddRow(cells, 3);
    }
    SetSelectedRow(-1);
    Invalidate();
}

std::optional<std::u16string> COrderPanel::TakePrice(int row) {
    if (row < 0 || row >= GetRowCount())
        return std::nullopt;
    const CGridCell* cell = GetCell(row, 1);
    if (!cell || cell->text.IsEmpty())
        return std::nullopt;
    SetSelectedRow(row);
    return cell->text.view() == u"-" ? std::u16string(u"0.0") : cell->text.str();
}

void COrderPanel::OnPaint(CDC& dc) {
    CGridCtrl::OnPaint(dc);
    if (GetRowCount() < 10)
        return;
    const int y = 5 * GetRowHeight() - GetScrollPos();
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 1, 0x000000});
    dc.MoveTo(5, y);
    dc.LineTo(GetClientRect().Width() - 5, y);
}
