// The generic item picker.
#include "platform/ui/UiPicker.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/UiTheme.h"

#include <utility>

UiPicker::UiPicker() = default;

UiPicker::~UiPicker() {
    m_list.Destroy();
    m_cancel.Destroy();
}

int UiPicker::Pick(UiWin* owner, int animation) {
    CShownModal shown;
    shown.kind = ModalKind::Picker;
    shown.caption = m_title;
    shown.items = m_items;
    return RunModalChoice(std::move(shown), -1, [&](const CRect& workRect) {
        if (IsCreated() || !CreateForm(owner, workRect))
            return -1;
        int chosen = DoModal(animation);
        if (chosen < 0 || chosen >= static_cast<int>(m_items.size()))
            chosen = -1;
        m_list.Destroy();
        m_cancel.Destroy();
        Destroy();
        return chosen;
    });
}

int UiPicker::OnCreate() {
    SetBkColor(UiTheme::kPanel);
    const CRect client = GetClientRect();
    m_list.SetItemHeight(kRowHeight);
    m_list.ShowScrollBar(true);
    for (const std::u16string& item : m_items)
        m_list.AddItem(item);
    m_list.SetCurSel(m_initial);
    const int bottom = client.Height() - 80;
    if (!m_list.Create(this, {0, kTitleHeight, client.Width(), bottom}, kListId))
        return -1;
    m_list.EnsureItemVisible(m_initial);
    m_cancel.SetStyle(UI_BTN_ROUND);
    m_cancel.SetText(u"取消");
    if (!m_cancel.Create(this, {client.Width() / 4, bottom + 10, client.Width() * 3 / 4, client.Height() - 10},
                         kCancelId))
        return -1;
    return CUiWnd::OnCreate();
}

void UiPicker::OnPaint(CDC& dc) {
    CUiWnd::OnPaint(dc);
    const CRect title{0, 0, GetClientRect().Width(), kTitleHeight};
    dc.FillRect(title, UiTheme::kPanelTitle);
    UiTheme::DrawCentredText(dc, m_title, title, UiTheme::kBarText, 24, true);
}

bool UiPicker::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LowWord(wParam);
    if (id == kListId && HighWord(wParam) == UI_LIST_CHOSEN) {
        EndModal(static_cast<int>(lParam));
        return true;
    }
    if (id == kCancelId && HighWord(wParam) == BN_CLICKED) {
        EndModal(-1);
        return true;
    }
    return false;
}
