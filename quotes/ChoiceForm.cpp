// The shared pieces of the quote screens' choice forms.
#include "quotes/ChoiceForm.h"

#include "framework/ui/CBaseWnd.h"
#include "framework/ui/CClientArea.h"
#include "framework/ui/widgets/CCheckList.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/UiStatic.h"

bool CreateChoiceLabel(UiStatic& label, CClientArea* page, int id, const char16_t* text) {
    if (!label.Create(page, {}, id, true))
        return false;
    label.SetText(text);
    label.SetFormat(DT_VCENTER | DT_SINGLELINE);
    label.SetFontSize(26);
    label.SetTextColor(0x000000);
    return true;
}

bool CreateChoiceList(CCheckList& list, CClientArea* page, int id, int itemHeight) {
    if (!list.Create(page, {}, id, true))
        return false;
    list.SetSingleChoice(true);
    list.SetSlideMode(UI_SLIDE_NONE);
    list.SetNotify(false);
    list.SetItemHeight(itemHeight);
    list.SetFontSize(23);
    list.SetTextColor(0x000000);
    list.SetSeparators(true, false);
    return true;
}

std::string ChosenValue(const CCheckList& list) {
    const CCheckItem* item = list.GetCheckItem(list.GetCurSel());
    return item ? item->GetValue().str() : std::string();
}

void DrawChoiceListBox(CDC& dc, const CPoint& origin, const CCheckList& list) {
    if (!list.IsCreated())
        return;
    CBaseWnd::DrawRoundButton(dc, list.GetScreenRect().Offset(-origin.x, -origin.y), true);
}

void PlaceAtPageTop(CClientArea* page, const std::function<void()>& place) {
    const int scroll = page ? page->GetScrollPos() : 0;
    if (page)
        page->SetScrollPos(0);
    place();
    if (page)
        page->SetScrollPos(scroll);
}
