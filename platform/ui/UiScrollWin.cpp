// The scrolling page.
#include "platform/ui/UiScrollWin.h"

#include "platform/Clock.h"
#include "platform/ui/UiDefs.h"
#include "platform/ui/UiTheme.h"

#include <algorithm>

UiScrollWin::UiScrollWin()
    : m_scroller([this] { return GetMaxScroll(); },
                 [this](int oldPos, int newPos) {
                     for (UiWin* child : GetChildren())
                         child->MoveWindow(child->GetRect().Offset(0, oldPos - newPos), false);
                     Invalidate();
                 }) {}

UiScrollWin::~UiScrollWin() = default;

int UiScrollWin::GetContentHeight() const {
    if (m_contentHeight > 0)
        return m_contentHeight;
    int bottom = 0;
    for (const UiWin* child : GetChildren())
        bottom = std::max(bottom, child->GetRect().bottom + GetScrollPos());
    return bottom;
}

int UiScrollWin::GetMaxScroll() const { return std::max(0, GetContentHeight() - GetClientRect().Height()); }

void UiScrollWin::SetScrollPos(int pixels) { m_scroller.ScrollTo(pixels); }

void UiScrollWin::EnsureVisible(UiWin* child, int bottomReserve) {
    if (!child || child->GetParent() != this)
        return;
    const CRect r = child->GetRect();
    const int visibleBottom = GetClientRect().Height() - bottomReserve;
    if (r.top < 0)
        SetScrollPos(GetScrollPos() + r.top);
    else if (r.bottom > visibleBottom)
        SetScrollPos(GetScrollPos() + std::min(r.top, r.bottom - visibleBottom));
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
    UiTheme::DrawScrollThumb(dc, GetClientRect(), GetContentHeight(), GetScrollPos());
}

void UiScrollWin::OnLButtonDown(UINT, CPoint pt) {
    m_scroller.Press(pt, CClock::Instance().TickCount());
    SetCapture();
}

// Every move re-clamps, one inside the slop too: children may have gone
// since the last scroll.
void UiScrollWin::OnMouseMove(UINT, CPoint pt) {
    if (Tracker().IsPressed())
        SetScrollPos(GetScrollPos() - m_scroller.Track(pt, CClock::Instance().TickCount()));
}

void UiScrollWin::OnLButtonUp(UINT, CPoint pt) {
    if (GetCapture() == this)
        ReleaseCapture();
    if (!Tracker().IsPressed())
        return;
    // A page stops where the finger leaves it.
    SetScrollPos(GetScrollPos() - m_scroller.Lift(pt, CClock::Instance().TickCount()));
}

void UiScrollWin::OnSize(int, int) { SetScrollPos(GetScrollPos()); }
