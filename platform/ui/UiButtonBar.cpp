// The bottom bars' shared buttons and tap handling.
#include "platform/ui/UiButtonBar.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiTheme.h"

UiButtonBar::UiButtonBar() {
    SetBkColor(UiTheme::kBarBack);
    SetTextColor(UiTheme::kBarText);
}

UiButtonBar::~UiButtonBar() = default;

bool UiButtonBar::CreateBar(UiWin* parent, const CRect& rect, bool visible) {
    return Create(parent, rect, UI_BOTTOM_BAR_ID, visible);
}

void UiButtonBar::EnableButton(int index, bool enable) {
    if (index < 0 || index >= GetButtonCount())
        return;
    m_buttons[index].enabled = enable;
    if (!enable && m_tracking == index)
        m_tracking = m_pressed = -1;
    Invalidate();
}

bool UiButtonBar::IsButtonEnabled(int index) const {
    return index >= 0 && index < GetButtonCount() && m_buttons[index].enabled;
}

void UiButtonBar::EnableAll(bool enable) {
    for (int i = 0; i < GetButtonCount(); ++i)
        EnableButton(i, enable);
}

void UiButtonBar::ShowButton(int index, bool show) {
    if (index < 0 || index >= GetButtonCount())
        return;
    m_buttons[index].shown = show;
    Invalidate();
}

bool UiButtonBar::IsButtonShown(int index) const {
    return index >= 0 && index < GetButtonCount() && m_buttons[index].shown;
}

void UiButtonBar::SetButtonText(int index, std::u16string_view text) {
    if (index < 0 || index >= GetButtonCount())
        return;
    m_buttons[index].text = text;
    Invalidate();
}

std::u16string UiButtonBar::GetButtonText(int index) const {
    if (index < 0 || index >= GetButtonCount())
        return {};
    return m_buttons[index].text;
}

CRect UiButtonBar::GetButtonRect(int index) const {
    const int n = GetButtonCount();
    if (index < 0 || index >= n)
        return {};
    const CRect client = GetClientRect();
    const int left = client.Width() * index / n;
    const int right = client.Width() * (index + 1) / n;
    return {left, 0, right, client.Height()};
}

int UiButtonBar::ButtonFromPoint(CPoint pt) const {
    for (int i = 0; i < GetButtonCount(); ++i)
        if (m_buttons[i].shown && GetButtonRect(i).Contains(pt))
            return i;
    return -1;
}

void UiButtonBar::DrawButton(CDC& dc, int index, const CRect& r) {
    const Button& b = m_buttons[index];
    const COLORREF color = b.enabled ? GetTextColor() : UiTheme::kTextDisabled;
    if (b.image.IsLoaded()) {
        // The image at its own size, centred, shrunk when too large.
        int w = b.image.Width();
        int h = b.image.Height();
        if (w > r.Width() || h > r.Height()) {
            const double scale = std::min(static_cast<double>(r.Width()) / w, static_cast<double>(r.Height()) / h);
            w = static_cast<int>(w * scale);
            h = static_cast<int>(h * scale);
        }
        const CRect dst = CRect::FromSize(r.left + (r.Width() - w) / 2, r.top + (r.Height() - h) / 2, w, h);
        dc.DrawImage(b.image, dst);
        if (!b.enabled) {
            for (int y = dst.top; y < dst.bottom; y += 2)
                for (int x = dst.left + (y / 2) % 2; x < dst.right; x += 2)
                    dc.SetPixel(x, y, GetBkColor());
        }
    }
    if (!b.text.empty())
        UiTheme::DrawCentredText(dc, b.text, r, color, 24);
}

void UiButtonBar::OnPaint(CDC& dc) {
    UiWin::OnPaint(dc);
    for (int i = 0; i < GetButtonCount(); ++i) {
        if (!m_buttons[i].shown)
            continue;
        const CRect r = GetButtonRect(i);
        if (i == m_pressed)
            UiTheme::DrawPressedLook(dc, r.Deflate(2, 4));
        DrawButton(dc, i, r);
    }
}

void UiButtonBar::OnLButtonDown(UINT, CPoint pt) {
    const int index = ButtonFromPoint(pt);
    if (index < 0 || !m_buttons[index].enabled)
        return;
    m_tracking = m_pressed = index;
    SetCapture();
    Invalidate();
}

void UiButtonBar::OnMouseMove(UINT, CPoint pt) {
    if (m_tracking < 0)
        return;
    const int pressed = GetButtonRect(m_tracking).Contains(pt) ? m_tracking : -1;
    if (pressed != m_pressed) {
        m_pressed = pressed;
        Invalidate();
    }
}

void UiButtonBar::OnLButtonUp(UINT, CPoint pt) {
    if (GetCapture() == this)
        ReleaseCapture();
    const int index = m_tracking;
    m_tracking = m_pressed = -1;
    if (index < 0)
        return;
    Invalidate();
    if (index < GetButtonCount() && m_buttons[index].enabled && m_buttons[index].shown &&
        GetButtonRect(index).Contains(pt))
        NotifyParent(index, index);
}
