// The tab bar: a row of segments, each a text that can be shown or hidden
// and pressable or not. Shown segments share the width equally; the current
// one is drawn raised. A tap on a shown, pressable segment makes it current
// and posts WM_COMMAND (id, UI_TAB_PRESSED) with lParam = its index.
#pragma once

#include "platform/win/UiWin.h"

#include <string>
#include <vector>

class UiTabBar : public UiWin {
public:
    UiTabBar();
    ~UiTabBar() override;
    const char* GetClassName() const override { return "UiTabBar"; }

    // Appends a segment; returns its index.
    int AddTab(std::u16string_view text, bool shown = true, bool pressable = true);
    void RemoveAllTabs();
    int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
    void SetTabText(int index, std::u16string_view text);
    std::u16string GetTabText(int index) const;
    void ShowTab(int index, bool shown);
    bool IsTabShown(int index) const;
    void SetTabPressable(int index, bool pressable);
    bool IsTabPressable(int index) const;
    // The current segment, −1 for none; SetCurTab posts nothing.
    void SetCurTab(int index);
    int GetCurTab() const { return m_current; }
    // The segment's rectangle in client coordinates; empty when hidden.
    CRect GetTabRect(int index) const;
    int TabFromPoint(CPoint pt) const;

    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;

private:
    struct Tab {
        std::u16string text;
        bool shown = true;
        bool pressable = true;
    };
    std::vector<Tab> m_tabs;
    int m_current = -1;
    int m_pressed = -1; // segment the finger came down on
};
