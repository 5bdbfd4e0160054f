// The label control.
#include "platform/ui/UiStatic.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiDefs.h"

UiStatic::UiStatic() : m_format(DT_LEFT | DT_VCENTER | DT_SINGLELINE) {}

UiStatic::~UiStatic() = default;

void UiStatic::OnPaint(CDC& dc) {
    UiWin::OnPaint(dc);
    if (GetText().empty())
        return;
    const CDCStateSaver saved(dc);
    dc.SelectFont({m_fontSize, m_bold ? 700 : 400});
    dc.SetTextColor(GetTextColor());
    dc.SetBkMode(TRANSPARENT);
    unsigned format = m_format;
    if (!(format & DT_WORDBREAK))
        format |= DT_END_ELLIPSIS;
    dc.DrawText(GetText(), GetClientRect(), format);
}

void UiStatic::OnLButtonDown(UINT flags, CPoint pt) { ForwardMouseToParent(this, WM_LBUTTONDOWN, flags, pt); }
void UiStatic::OnLButtonUp(UINT flags, CPoint pt) { ForwardMouseToParent(this, WM_LBUTTONUP, flags, pt); }
void UiStatic::OnMouseMove(UINT flags, CPoint pt) { ForwardMouseToParent(this, WM_MOUSEMOVE, flags, pt); }
