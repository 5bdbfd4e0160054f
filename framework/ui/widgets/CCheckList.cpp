// The check list.
#include "framework/ui/widgets/CCheckList.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiTheme.h"

#include <algorithm>

CCheckList::CCheckList() { SetNotify(true); }

// UiList's own teardown cannot reach OnRemoveItem here, so the records go now.
CCheckList::~CCheckList() { RemoveAll(); }

int CCheckList::AddCheckItem(std::u16string_view text, CCheckItem* record) {
    if (!record)
        record = new CCheckItem();
    return AddItem(text, reinterpret_cast<std::uintptr_t>(record));
}

int CCheckList::AddCheckItem(std::u16string_view text, const char* value, bool checked) {
    return AddCheckItem(text, new CCheckItem(value, checked));
}

CCheckItem* CCheckList::GetCheckItem(int index) const { return reinterpret_cast<CCheckItem*>(GetItemData(index)); }

bool CCheckList::IsChecked(int index) const {
    const CCheckItem* item = GetCheckItem(index);
    return item && item->IsChecked();
}

void CCheckList::SetChecked(int index, bool checked) {
    if (CCheckItem* item = GetCheckItem(index)) {
        item->SetChecked(checked);
        RedrawItem(index);
    }
}

int CCheckList::CountChecked() const {
    int count = 0;
    for (int i = 0; i < GetCount(); ++i)
        count += IsChecked(i) ? 1 : 0;
    return count;
}

void CCheckList::DrawItem(CDC& dc, int index, const CRect& rect, bool selected) {
    // Multi-choice rows show a tick box; single-choice rows mark the selection.
    const int box = std::min(26, rect.Height() - 8);
    const CRect boxRect = CRect::FromSize(rect.right - box - 14, rect.top + (rect.Height() - box) / 2, box, box);
    if (m_single && selected)
        dc.DrawSelectionBand(rect);
    const CDCStateSaver saved(dc);
    dc.SelectFont({GetFontSize(), 400});
    dc.SetTextColor(m_single && selected ? UiTheme::kText : GetTextColor());
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(GetItemText(index), {rect.left + 10, rect.top, boxRect.left - 6, rect.bottom},
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    if (m_single)
        return;
    dc.SelectPen({PS_SOLID, 1, UiTheme::kBorder});
    dc.SelectBrush(CBrush::Solid(UiTheme::kEditBack));
    dc.Rectangle(boxRect);
    if (IsChecked(index)) {
        dc.SelectPen({PS_SOLID, 2, UiTheme::kFocusFrame});
        const CPoint tick[] = {{boxRect.left + 5, boxRect.top + box / 2},
                               {boxRect.left + box / 2 - 1, boxRect.bottom - 6},
                               {boxRect.right - 5, boxRect.top + 5}};
        dc.Polyline(tick, 3);
    }
}

void CCheckList::OnRemoveItem(int, std::uintptr_t data) { delete reinterpret_cast<CCheckItem*>(data); }

void CCheckList::OnLButtonUp(UINT flags, CPoint pt) {
    const int index = ReleaseAndHitTap(flags, pt);
    if (index < 0)
        return;
    if (!m_single) {
        SetChecked(index, !IsChecked(index));
        return;
    }
    SetCurSel(index);
    if (IsNotifyOn())
        NotifyParent(CHECKLIST_CHOSEN, index);
}
