// A scrolling page of child controls. Children are created in page
// coordinates; scrolling moves them all by the offset, so a child's
// GetRect is where it shows now. A drag on the page itself (or on a label,
// which passes its presses on) scrolls it; taps and drags on other controls
// stay theirs. The page passes its children's reports (WM_COMMAND and the
// edit message) on to its own parent, so the window hosting the page hears
// its controls as if they sat on it.
#pragma once

#include "platform/ui/CMomentumScroller.h"
#include "platform/win/UiWin.h"

class UiScrollWin : public UiWin {
public:
    UiScrollWin();
    ~UiScrollWin() override;
    const char* GetClassName() const override { return "UiScrollWin"; }

    // The page's height in pixels; 0 (the default) takes the lowest child's
    // bottom.
    void SetContentHeight(int pixels) { m_contentHeight = pixels; SetScrollPos(GetScrollPos()); }
    int GetContentHeight() const;
    int GetScrollPos() const { return m_scroller.Offset(); }
    int GetMaxScroll() const;
    // Scrolls to pixels (clamped), moving every child.
    void SetScrollPos(int pixels);
    // Scrolls the least needed to show child whole above bottomReserve
    // pixels at the page's bottom (the input panel's share, say).
    void EnsureVisible(UiWin* child, int bottomReserve = 0);
    const CMouseTracker& Tracker() const { return m_scroller.Tracker(); }

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnMouseMove(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
    void OnSize(int width, int height) override;

private:
    int m_contentHeight = 0; // pixels, 0: from the children
    CMomentumScroller m_scroller;
};
