// The picture control: shows the memory bitmap (UiMemDC) its owner draws
// into. The bitmap follows the control's size. Presses and drags go on to
// the window the picture sits on, which owns the chart logic.
#pragma once

#include "platform/ui/UiMemDC.h"
#include "platform/win/UiWin.h"

class UiTiledImage : public UiWin {
public:
    UiTiledImage();
    ~UiTiledImage() override;
    const char* GetClassName() const override { return "UiTiledImage"; }

    // The memory DC of the control's size (created with the control and
    // recreated, cleared, when its size changes).
    UiMemDC& GetMemDC() { return m_mem; }
    CDC* GetDC() { return m_mem.GetDC(); }

    int OnCreate() override;
    void OnSize(int width, int height) override;
    void OnPaint(CDC& dc) override;
    // The bitmap is copied over the whole control once it has its size.
    bool CoversClient() const override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
    void OnMouseMove(UINT flags, CPoint pt) override;

private:
    UiMemDC m_mem;
};
