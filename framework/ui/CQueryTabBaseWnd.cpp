// Tab pages and their tab bar.
#include "framework/ui/CQueryTabBaseWnd.h"

#include "framework/ui/CQueryTableWnd.h"
#include "platform/ui/UiDefs.h"

CQueryTabBaseWnd::CQueryTabBaseWnd() {
    SetSealRequest(true);
}

CQueryTabBaseWnd::~CQueryTabBaseWnd() {
    Destroy();
}

int CQueryTabBaseWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    UseTextToolbar(u"首页", u"刷新", u"返回");
    RemoveClientArea();
    const CRect client = GetClientRect();
    if (!m_tabBar.Create(this, CRect::FromSize(0, kCaptionHeight, client.Width(), kTabBarHeight), kTabBarId))
        return 0;
    return 1;
}

void CQueryTabBaseWnd::SetMenuParams(int menuId, const char* param, const char* request) {
    CQueryTableWnd::ReadQueryKeys(param, nullptr, &m_pagingKey);
    CQueryTableWnd::ReadQueryKeys(request, nullptr, &m_pagingKey);
    CNetWnd::SetMenuParams(menuId, param, request);
}

int CQueryTabBaseWnd::BuildRequest(CAString& out) {
    return CQueryTableWnd::BuildTradeQuery(GetRequestText(), out);
}

void CQueryTabBaseWnd::OnToolbarCommand(int index) {
    if (!HandleHomeOrBack(index) && index == kToolbarMiddle)
        Refresh();
}

CRect CQueryTabBaseWnd::PageRect() const {
    const CRect client = GetClientRect();
    return {0, kCaptionHeight + kTabBarHeight, client.right, client.bottom - GetBottomBarHeight()};
}

void CQueryTabBaseWnd::ClearPages() {
    m_pages.clear();
    m_selected = -1;
    if (m_tabBar.IsCreated())
        m_tabBar.RemoveAllTabs();
}

void CQueryTabBaseWnd::SetPageCount(int n) {
    ClearPages();
    for (int i = 0; i < n; ++i)
        m_pages.push_back(std::make_unique<CQueryTabPage>());
}

CQueryTabPage* CQueryTabBaseWnd::GetPage(int index) const {
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return m_pages[index].get();
}

void CQueryTabBaseWnd::LayoutPages() {
    if (!IsCreated())
        return;
    if (m_tabBar.IsCreated()) {
        m_tabBar.RemoveAllTabs();
        for (auto& page : m_pages)
            m_tabBar.AddTab(page->GetCaption().view());
    }
    for (auto& page : m_pages) {
        if (!page->IsCreated())
            page->Create(this, PageRect(), 0, false);
        else
            page->MoveWindow(PageRect());
        page->LayoutRows();
    }
    SelectPage(m_selected >= 0 && m_selected < GetPageCount() ? m_selected : 0);
}

void CQueryTabBaseWnd::SelectPage(int index) {
    if (index < 0 || index >= GetPageCount())
        return;
    m_selected = index;
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_pages[i]->IsCreated())
            m_pages[i]->ShowWindow(i == index);
    if (m_tabBar.IsCreated())
        m_tabBar.SetCurTab(index);
    Invalidate();
}

void CQueryTabBaseWnd::OnLayout() {
    CNetWnd::OnLayout();
    if (m_tabBar.IsCreated())
        m_tabBar.MoveWindow(CRect::FromSize(0, kCaptionHeight, GetClientRect().Width(), kTabBarHeight));
    LayoutPages();
}

bool CQueryTabBaseWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) == kTabBarId && HighWord(wParam) == UI_TAB_PRESSED) {
        SelectPage(static_cast<int>(lParam));
        return true;
    }
    return CNetWnd::OnCommand(wParam, lParam);
}
