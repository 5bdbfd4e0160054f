// The scrolling page.
#include "platform/ui/UiScrollWin.h"

#include "platform/Clock.h"
#include "platform/ui/UiDefs.h"
#include "platform/ui/UiTheme.h"

#include <algorithm>

UiScrollWin::UiScrollWin() = default;

UiScrollWin::~UiScrollWin() = default;

int UiScrollWin::GetContentHeight() const {
    if (m_contentHeight > 0)
        return m_contentHeight;
    int bottom = 0;
    for (const UiWin* child : GetChildren())
        bottom = std::max(bottom, child->GetRect().bottom + m_scrollPos);
    return bottom;
}

int UiScrollWin::GetMaxScroll() const { return std::max(0, GetContentHeight() - GetClientRect().Height()); }

void UiScrollWin::SetScrollPos(int pixels) {
    const int pos = std::clamp(pixels, 0, GetMaxScroll());
    const int dy = m_scrollPos - pos;
    if (dy == 0)
        return;
    m_scrollPos = pos;
    for (UiWin* child : GetChildren())
        child->MoveWindow(child->GetRect().Offset(0, dy), false);
    Invalidate();
}

void UiScrollWin::EnsureVisible(UiWin* child, int bottomReserve) {
    if (!child || child->GetParent() != this)
        return;
    const CRect r = child->GetRect();
    const int visibleBottom = GetClientRect().Height() - bottomReserve;
    if (r.top < 0)
        SetScrollPos(m_scrollPos + r.top);
    else if (r.bottom > visibleBottom)
        SetScrollPos(m_scrollPos + std::min(r.top, r.bottom - visibleBottom));
}

LRESULT UiScrollWin::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if ((msg == WM_COMMAND || msg == UIM_EDIT_NOTIFY) && GetParent()) {
        GetParent()->PostMessage(msg, wParam, lParam);
        return 0;
    }
    return UiWin::WndProc(msg, wParam, lParam);
}

void UiScrollWin::OnPaint(CDC& dc) {
    UiWin::OnPaint(dc);
    UiTheme::DrawScrollThumb(dc, GetClientRect(), GetContentHeight(), m_scrollPos);
}

void UiScrollWin::OnLButtonDown(UINT, CPoint pt) {
    m_tracker.Press(pt, CClock::Instance().TickCount());
    SetCapture();
}

void UiScrollWin::OnMouseMove(UINT, CPoint pt) {
    if (m_tracker.IsPressed())
        SetScrollPos(m_scrollPos - m_tracker.Move(pt, CClock::Instance().TickCount()));
}

void UiScrollWin::OnLButtonUp(UINT, CPoint pt) {
    if (GetCapture() == this)
        ReleaseCapture();
    if (!m_tracker.IsPressed())
        return;
    SetScrollPos(m_scrollPos - m_tracker.Release(pt, CClock::Instance().TickCount()));
    m_tracker.Stop(); // a page stops where the finger leaves it
}

void UiScrollWin::OnSize(int, int) { SetScrollPos(m_scrollPos); }
