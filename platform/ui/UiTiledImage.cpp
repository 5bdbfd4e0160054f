// The picture control.
#include "platform/ui/UiTiledImage.h"

#include "platform/ui/UiDefs.h"

UiTiledImage::UiTiledImage() = default;

UiTiledImage::~UiTiledImage() = default;

int UiTiledImage::OnCreate() {
    const CRect r = GetClientRect();
    m_mem.Create(r.Width(), r.Height(), GetBkColor());
    return UiWin::OnCreate();
}

void UiTiledImage::OnSize(int width, int height) {
    if (width != m_mem.Width() || height != m_mem.Height())
        m_mem.Create(width, height, GetBkColor());
    UiWin::OnSize(width, height);
}

void UiTiledImage::OnPaint(CDC& dc) {
    if (!m_mem.IsCreated()) {
        UiWin::OnPaint(dc);
        return;
    }
    dc.BitBlt(0, 0, m_mem.Width(), m_mem.Height(), *m_mem.GetDC(), 0, 0);
}

bool UiTiledImage::CoversClient() const {
    const CRect r = GetClientRect();
    return m_mem.IsCreated() && m_mem.Width() == r.Width() && m_mem.Height() == r.Height();
}

void UiTiledImage::OnLButtonDown(UINT flags, CPoint pt) { ForwardMouseToParent(this, WM_LBUTTONDOWN, flags, pt); }
void UiTiledImage::OnLButtonUp(UINT flags, CPoint pt) { ForwardMouseToParent(this, WM_LBUTTONUP, flags, pt); }
void UiTiledImage::OnMouseMove(UINT flags, CPoint pt) { ForwardMouseToParent(this, WM_MOUSEMOVE, flags, pt); }
