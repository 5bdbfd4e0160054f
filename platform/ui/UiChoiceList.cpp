// The choosing list.
#include "platform/ui/UiChoiceList.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiTheme.h"

UiChoiceList::UiChoiceList() {
    SetTextColor(UiTheme::kText);
    SetSeparators(true, false);
}

UiChoiceList::~UiChoiceList() = default;

void UiChoiceList::DrawItem(CDC& dc, int index, const CRect& rect, bool selected) {
    if (selected)
        dc.DrawSelectionBand(rect);
    const CDCStateSaver saved(dc);
    dc.SelectFont({GetFontSize(), 400});
    dc.SetTextColor(selected ? UiTheme::kText : GetTextColor());
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(Items()[index].text, rect.Deflate(10, 0), m_align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void UiChoiceList::OnLButtonUp(UINT flags, CPoint pt) {
    const int index = ReleaseAndHitTap(flags, pt);
    if (index < 0)
        return;
    SetCurSel(index);
    NotifyParent(UI_LIST_CHOSEN, index);
}
