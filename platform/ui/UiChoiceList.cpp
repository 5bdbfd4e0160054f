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
    const CFont oldFont = dc.SelectFont({GetFontSize(), 400});
    const COLORREF oldColor = dc.SetTextColor(selected ? UiTheme::kText : GetTextColor());
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    dc.DrawText(Items()[index].text, rect.Deflate(10, 0), m_align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldColor);
    dc.SelectFont(oldFont);
}

void UiChoiceList::OnLButtonUp(UINT flags, CPoint pt) {
    const int index = ReleaseAndHitTap(flags, pt);
    if (index < 0)
        return;
    SetCurSel(index);
    NotifyParent(UI_LIST_CHOSEN, index);
}
