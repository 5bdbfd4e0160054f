// The client area of a window: a scrolling page between the caption bar
// and the bottom bar that also passes its presses and releases on to the
// window, so the window sees swipes that start on the page.
#pragma once

#include "platform/ui/UiScrollWin.h"

class CClientArea : public UiScrollWin {
public:
    const char* GetClassName() const override { return "CClientArea"; }
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
};
