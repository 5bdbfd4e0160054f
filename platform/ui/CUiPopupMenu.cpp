// The text pop-up menu.
#include "platform/ui/CUiPopupMenu.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/UiTheme.h"

#include <algorithm>
#include <utility>

CUiPopupMenu::CUiPopupMenu() = default;

CUiPopupMenu::~CUiPopupMenu() { m_list.Destroy(); }

void CUiPopupMenu::AppendItem(int id, std::u16string_view text) { m_items.push_back({id, std::u16string(text)}); }

int CUiPopupMenu::GetItemId(int index) const {
    if (index < 0 || index >= GetItemCount())
        return 0;
    return m_items[index].id;
}

int CUiPopupMenu::GetMenuHeight(int workHeight) const {
    return std::min(GetItemCount() * kRowHeight, workHeight);
}

int CUiPopupMenu::TrackPopup(UiWin* owner, int showAnimation, int hideAnimation) {
    CShownModal shown;
    shown.kind = ModalKind::PopupMenu;
    for (const Item& item : m_items)
        shown.items.push_back(item.text);
    return RunModalChoice(std::move(shown), 0, [&](const CRect& workRect) {
        if (m_items.empty() || IsCreated() || !CreateForm(owner, workRect))
            return 0;
        const int chosen = std::max(0, DoModal(showAnimation));
        ShowWindow(false, hideAnimation);
        m_list.Destroy();
        Destroy();
        return chosen;
    });
}

int CUiPopupMenu::OnCreate() {
    const CRect client = GetClientRect();
    const int height = GetMenuHeight(client.Height());
    m_list.SetItemHeight(kRowHeight);
    m_list.SetTextAlign(DT_CENTER);
    m_list.SetFontSize(24);
    m_list.SetBkColor(UiTheme::kPanel);
    for (const Item& item : m_items)
        m_list.AddItem(item.text, static_cast<std::uintptr_t>(item.id));
    if (!m_list.Create(this, {0, client.Height() - height, client.Width(), client.Height()}, 1))
        return -1;
    return CUiWnd::OnCreate();
}

bool CUiPopupMenu::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) != 1 || HighWord(wParam) != UI_LIST_CHOSEN)
        return false;
    EndModal(GetItemId(static_cast<int>(lParam)));
    return true;
}

void CUiPopupMenu::OnLButtonDown(UINT, CPoint) { m_outsidePress = true; }

void CUiPopupMenu::OnLButtonUp(UINT, CPoint) {
    // A tap above the menu dismisses it.
    if (m_outsidePress)
        EndModal(0);
    m_outsidePress = false;
}

void CUiPopupMenu::OnKeyDown(int key) {
    if (key == VK_ESCAPE)
        EndModal(0);
}
