// The tabbed query window base: a tab bar (id 252) below the caption bar
// and one CQueryTabPage per tab; a tab press shows its page.
#pragma once

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

    int OnInitDialog() override;
    void OnLayout() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CRect PageRect() const;
    UiTabBar m_tabBar;
    std::vector<std::unique_ptr<CQueryTabPage>> m_pages;
    int m_selected = -1;
};
