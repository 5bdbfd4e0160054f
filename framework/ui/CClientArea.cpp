// The client page's presses, shared with its window.
#include "framework/ui/CClientArea.h"

#include "platform/ui/UiDefs.h"

void CClientArea::OnLButtonDown(UINT flags, CPoint pt) {
    UiScrollWin::OnLButtonDown(flags, pt);
    ForwardMouseToParent(this, WM_LBUTTONDOWN, flags, pt);
}

void CClientArea::OnLButtonUp(UINT flags, CPoint pt) {
    UiScrollWin::OnLButtonUp(flags, pt);
    ForwardMouseToParent(this, WM_LBUTTONUP, flags, pt);
}
