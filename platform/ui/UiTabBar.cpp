// The tab bar.
#include "platform/ui/UiTabBar.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiDefs.h"
#include "platform/ui/UiTheme.h"

UiTabBar::UiTabBar() {
    SetBkColor(UiTheme::kBarBack);
    SetTextColor(UiTheme::kBarText);
}

UiTabBar::~UiTabBar() = default;

int UiTabBar::AddTab(std::u16string_view text, bool shown, bool pressable) {
    m_tabs.push_back({std::u16string(text), shown, pressable});
    Invalidate();
    return GetTabCount() - 1;
}

void UiTabBar::RemoveAllTabs() {
    m_tabs.clear();
    m_current = m_pressed = -1;
    Invalidate();
}

void UiTabBar::SetTabText(int index, std::u16string_view text) {
    if (index >= 0 && index < GetTabCount()) {
        m_tabs[index].text = text;
        Invalidate();
    }
}

std::u16string UiTabBar::GetTabText(int index) const {
    return (index >= 0 && index < GetTabCount()) ? m_tabs[index].text : std::u16string();
}

void UiTabBar::ShowTab(int index, bool shown) {
    if (index >= 0 && index < GetTabCount()) {
        m_tabs[index].shown = shown;
        Invalidate();
    }
}

bool UiTabBar::IsTabShown(int index) const { return index >= 0 && index < GetTabCount() && m_tabs[index].shown; }

void UiTabBar::SetTabPressable(int index, bool pressable) {
    if (index >= 0 && index < GetTabCount()) {
        m_tabs[index].pressable = pressable;
        Invalidate();
    }
}

bool UiTabBar::IsTabPressable(int index) const {
    return index >= 0 && index < GetTabCount() && m_tabs[index].pressable;
}

void UiTabBar::SetCurTab(int index) {
    m_current = (index >= 0 && index < GetTabCount()) ? index : -1;
    Invalidate();
}

CRect UiTabBar::GetTabRect(int index) const {
    if (!IsTabShown(index))
        return {};
    int shown = 0;
    int slot = 0;
    for (int i = 0; i < GetTabCount(); ++i) {
        if (!m_tabs[i].shown)
            continue;
        if (i < index)
            ++slot;
        ++shown;
    }
    const CRect client = GetClientRect();
    return {client.Width() * slot / shown, 0, client.Width() * (slot + 1) / shown, client.Height()};
}

int UiTabBar::TabFromPoint(CPoint pt) const {
    for (int i = 0; i < GetTabCount(); ++i)
        if (GetTabRect(i).Contains(pt))
            return i;
    return -1;
}

void UiTabBar::OnPaint(CDC& dc) {
    UiWin::OnPaint(dc);
    for (int i = 0; i < GetTabCount(); ++i) {
        if (!m_tabs[i].shown)
            continue;
        const CRect r = GetTabRect(i);
        const bool current = i == m_current;
        if (current || i == m_pressed)
            UiTheme::DrawButtonFace(dc, r.Deflate(3, 4), i == m_pressed, true);
        COLORREF color = current ? UiTheme::kText : GetTextColor();
        if (i == m_pressed)
            color = UiTheme::kTextPressed;
        else if (!m_tabs[i].pressable)
            color = UiTheme::kTextDisabled;
        UiTheme::DrawCentredText(dc, m_tabs[i].text, r, color);
    }
}

void UiTabBar::OnLButtonDown(UINT, CPoint pt) {
    const int index = TabFromPoint(pt);
    if (index < 0 || !m_tabs[index].pressable)
        return;
    m_pressed = index;
    SetCapture();
    Invalidate();
}

void UiTabBar::OnLButtonUp(UINT, CPoint pt) {
    if (GetCapture() == this)
        ReleaseCapture();
    const int index = m_pressed;
    m_pressed = -1;
    if (index < 0)
        return;
    Invalidate();
    if (TabFromPoint(pt) != index || !IsTabPressable(index))
        return;
    m_current = index;
    NotifyParent(UI_TAB_PRESSED, index);
}
