// The tabbed query window base: a tab bar (id 252) below the caption bar
// and one CQueryTabPage per tab; a tab press shows its page. It sends the
// trade query of the query tables (BuildQueryRequest in QueryRequests.h,
// sealed), takes the paging key name ("position", default "poststr") from
// its request text, and has the toolbar "首页" / "刷新" / "返回".
#pragma once

#include "core/CAString.h"
#include "framework/ui/CNetWnd.h"
#include "framework/ui/CQueryTabPage.h"
#include "platform/ui/UiTabBar.h"

#include <memory>
#include <vector>

class CQueryTabBaseWnd : public CNetWnd {
public:
    static constexpr int kTabBarId = 252;
    static constexpr int kTabBarHeight = 50; // pixels

    CQueryTabBaseWnd();
    ~CQueryTabBaseWnd() override;
    const char* GetClassName() const override { return "CQueryTabBaseWnd"; }

    // Deletes the pages and their tabs.
    void ClearPages();
    // Replaces the pages by n empty ones.
    void SetPageCount(int n);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CQueryTabPage* GetPage(int index) const;
    // Creates and places the pages and the tabs (captions from the pages).
    void LayoutPages();
    // Shows page index and hides the others.
    void SelectPage(int index);
    int GetSelectedPage() const { return m_selected; }
    UiTabBar& GetTabBar() { return m_tabBar; }
    // The reply column the pages leave out ("position"; "poststr" by default).
    const CAString& GetPagingKey() const { return m_pagingKey; }

    // Takes "position" from the parameter text and then the request text,
    // which overrides it; then CNetWnd::SetMenuParams.
    void SetMenuParams(int menuId, const char* param, const char* request) override;
    // "%s&fundid=%s&%s" of (preset request, fund id, login id); 0 without
    // a login.
    int BuildRequest(CAString& out) override;
    // 0 closes with code 0, 1 sends the request again, 2 closes with code 1.
    void OnToolbarCommand(int index) override;
    int OnInitDialog() override;
    void OnLayout() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CRect PageRect() const;
    UiTabBar m_tabBar;
    std::vector<std::unique_ptr<CQueryTabPage>> m_pages;
    int m_selected = -1;
    CAString m_pagingKey{"poststr"};
};
