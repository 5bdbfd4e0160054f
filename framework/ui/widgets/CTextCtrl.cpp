// The text label.
#include "framework/ui/widgets/CTextCtrl.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiDefs.h"

#include <algorithm>

CTextCtrl::CTextCtrl() = default;

CTextCtrl::~CTextCtrl() = default;

std::uint32_t CTextCtrl::GetDrawColor() const { return m_link ? kLinkColor : GetTextColor(); }

void CTextCtrl::OnPaint(CDC& dc) {
    UiWin::OnPaint(dc);
    const CRect client = GetClientRect();
    const CDCStateSaver saved(dc);
    dc.SelectFont({m_fontSize, m_bold ? 700 : 400});
    dc.SetTextColor(GetDrawColor());
    dc.SetBkMode(TRANSPARENT);
    const unsigned format = m_align | (m_singleLine ? DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS : DT_WORDBREAK);
    dc.DrawText(GetText(), client, format);
    if (m_link && !GetText().empty()) {
        // Underline the drawn text, one line under its cells.
        const CRect cells = dc.CalcTextRect(GetText(), client, format);
        int left = client.left;
        if (m_align & DT_CENTER)
            left = client.left + (client.Width() - cells.Width()) / 2;
        else if (m_align & DT_RIGHT)
            left = client.right - cells.Width();
        int bottom = cells.bottom;
        if (m_singleLine)
            bottom = client.top + (client.Height() + cells.Height()) / 2;
        bottom = std::min(bottom, client.bottom) - 1;
        dc.SelectPen({PS_SOLID, 1, kLinkColor});
        dc.MoveTo(std::max(left, client.left), bottom);
        dc.LineTo(std::min(left + cells.Width(), client.right), bottom);
    }
}

void CTextCtrl::OnLButtonDown(UINT flags, CPoint pt) {
    if (!m_link) {
        ForwardMouseToParent(this, WM_LBUTTONDOWN, flags, pt);
        return;
    }
    m_pressed = true;
    SetCapture();
}

void CTextCtrl::OnMouseMove(UINT flags, CPoint pt) {
    if (!m_link && !m_pressed)
        ForwardMouseToParent(this, WM_MOUSEMOVE, flags, pt);
}

void CTextCtrl::OnLButtonUp(UINT flags, CPoint pt) {
    if (!m_pressed) {
        ForwardMouseToParent(this, WM_LBUTTONUP, flags, pt);
        return;
    }
    m_pressed = false;
    if (GetCapture() == this)
        ReleaseCapture();
    // A tap: the finger let go over the link.
    if (m_link && GetClientRect().Contains(pt))
        NotifyParent(BN_CLICKED, reinterpret_cast<LPARAM>(GetHandle()));
}
