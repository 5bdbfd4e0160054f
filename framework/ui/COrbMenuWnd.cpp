// Menu rows from the menu tree, and opening a child.
#include "framework/ui/COrbMenuWnd.h"

#include "framework/app/CMenuNode.h"
#include "framework/ui/WndMessages.h"

COrbMenuWnd::COrbMenuWnd() = default;

COrbMenuWnd::~COrbMenuWnd() {
    Destroy();
}

int COrbMenuWnd::OnInitDialog() {
    if (!CListWnd::OnInitDialog())
        return 0;
    RemoveClientArea();
    m_list.SetItemHeight(kItemHeight);
    m_list.SetNotify(true);
    if (!m_list.Create(this, GetBodyRect(), kListId, true))
        return 0;
    FillMenu();
    return 1;
}

void COrbMenuWnd::FillMenu() {
    if (!m_list.IsCreated())
        return;
    m_list.RemoveAll();
    CMenuNode* node = GetMenuNode();
    for (CMenuNode* child = node ? node->firstChild : nullptr; child; child = child->nextSibling)
        m_list.AddRow(child->title, CWString());
    m_list.Invalidate();
}

void COrbMenuWnd::SetMenuParams(int menuId, const char* param, const char* request) {
    const int before = GetMenuId();
    CListWnd::SetMenuParams(menuId, param, request);
    if (GetMenuId() != before)
        FillMenu();
}

void COrbMenuWnd::OnLayout() {
    CListWnd::OnLayout();
    if (m_list.IsCreated())
        m_list.MoveWindow(GetBodyRect());
}

bool COrbMenuWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) == kListId && HighWord(wParam) == MENULIST_CHOSEN) {
        OnItemChosen(static_cast<int>(lParam));
        return true;
    }
    return CListWnd::OnCommand(wParam, lParam);
}

void COrbMenuWnd::OnItemChosen(int index) {
    PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, index);
}

LRESULT COrbMenuWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WND_MSG_OPEN_MENU_CHILD) {
        OpenMenuChild(static_cast<int>(lParam));
        return 0;
    }
    return CListWnd::OnMessage(msg, wParam, lParam);
}
