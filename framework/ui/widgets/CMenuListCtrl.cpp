// The menu list.
#include "framework/ui/widgets/CMenuListCtrl.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiTheme.h"

#include <algorithm>

// The record behind each list item's data word.
struct CMenuListCtrl::Row {
    CWString title;
    CWString text;
    void* data = nullptr;
    Deleter deleter = nullptr;
};

CMenuListCtrl::CMenuListCtrl() {
    SetItemHeight(80);
    SetNotify(true);
}

// UiList's own teardown cannot reach OnRemoveItem here, so the rows go now.
CMenuListCtrl::~CMenuListCtrl() { RemoveAll(); }

int CMenuListCtrl::AddRow(const CWString& title, const CWString& text, void* data, Deleter deleter) {
    Row* row = new Row{title, text, data, deleter};
    return AddItem(title.view(), reinterpret_cast<std::uintptr_t>(row));
}

void* CMenuListCtrl::GetRowData(int index) const {
    const Row* row = reinterpret_cast<const Row*>(GetItemData(index));
    return row ? row->data : nullptr;
}

CWString CMenuListCtrl::GetRowTitle(int index) const {
    const Row* row = reinterpret_cast<const Row*>(GetItemData(index));
    return row ? row->title : CWString();
}

CWString CMenuListCtrl::GetRowText(int index) const {
    const Row* row = reinterpret_cast<const Row*>(GetItemData(index));
    return row ? row->text : CWString();
}

void CMenuListCtrl::DrawArrow(CDC& dc, const CRect& row, std::uint32_t color) {
    // A chevron pointing right, 10 × 20 pixels, 20 pixels from the right edge.
    const int midY = row.top + row.Height() / 2;
    const int right = row.right - 20;
    const CPoint chevron[] = {{right - 10, midY - 10}, {right, midY}, {right - 10, midY + 10}};
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 2, color});
    dc.Polyline(chevron, 3);
}

void CMenuListCtrl::DrawItem(CDC& dc, int index, const CRect& rect, bool selected) {
    const Row* row = reinterpret_cast<const Row*>(GetItemData(index));
    if (!row)
        return;
    if (selected)
        dc.DrawSelectionBand(rect);
    const COLORREF color = selected ? UiTheme::kText : GetTextColor();
    const CRect textArea{rect.left + 12, rect.top + 4, rect.right - 44, rect.bottom - 4};
    const int titleHeight = row->text.IsEmpty() ? textArea.Height() : textArea.Height() / 2;
    {
        const CDCStateSaver saved(dc);
        dc.SelectFont({GetFontSize(), 600});
        dc.SetTextColor(color);
        dc.SetBkMode(TRANSPARENT);
        dc.DrawText(row->title.view(), {textArea.left, textArea.top, textArea.right, textArea.top + titleHeight},
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        if (!row->text.IsEmpty()) {
            dc.SelectFont({std::max(12, GetFontSize() - 4), 400});
            dc.DrawText(row->text.view(), {textArea.left, textArea.top + titleHeight, textArea.right, textArea.bottom},
                        DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        }
    }
    DrawArrow(dc, rect, selected ? UiTheme::kText : UiTheme::kSeparator);
}

void CMenuListCtrl::OnRemoveItem(int, std::uintptr_t data) {
    Row* row = reinterpret_cast<Row*>(data);
    if (!row)
        return;
    if (row->deleter && row->data)
        row->deleter(row->data);
    delete row;
}

void CMenuListCtrl::OnLButtonUp(UINT flags, CPoint pt) {
    const int index = ReleaseAndHitTap(flags, pt);
    if (index < 0)
        return;
    SetCurSel(index);
    if (IsNotifyOn())
        NotifyParent(MENULIST_CHOSEN, index);
}
