// Push, check and image buttons.
#include "platform/ui/UiButton.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiTheme.h"

UiButton::UiButton() { SetTextColor(UiTheme::kText); }

UiButton::~UiButton() = default;

void UiButton::SetStyle(int style) {
    m_style = style;
    Invalidate();
}

void UiButton::SetChecked(bool checked) {
    if (m_checked != checked) {
        m_checked = checked;
        Invalidate();
    }
}

bool UiButton::SetImages(int normalId, int pressedId) {
    CImage normal;
    CImage pressed;
    bool ok = true;
    if (normalId != 0)
        ok = normal.LoadResource(normalId) && ok;
    if (pressedId != 0)
        ok = pressed.LoadResource(pressedId) && ok;
    SetImages(normal, pressed);
    return ok;
}

void UiButton::SetImages(const CImage& normal, const CImage& pressed) {
    m_normal = normal;
    m_pressedImage = pressed;
    Invalidate();
}

void UiButton::DrawCheckBox(CDC& dc, const CRect& client) {
    const int side = std::min(28, std::min(client.Width(), client.Height()) - 4);
    const CRect box = CRect::FromSize(client.left + 2, client.top + (client.Height() - side) / 2, side, side);
    const COLORREF frame = IsEnabled() ? UiTheme::kBorder : UiTheme::kTextDisabled;
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 2, frame});
    dc.SelectBrush(CBrush::Solid(m_pressed ? UiTheme::kShade : UiTheme::kEditBack));
    dc.Rectangle(box);
    if (m_checked) {
        dc.SelectPen({PS_SOLID, 2, IsEnabled() ? UiTheme::kFacePressed : UiTheme::kTextDisabled});
        const CPoint tick[3] = {{box.left + side / 5, box.top + side / 2},
                                {box.left + side * 2 / 5, box.bottom - side / 4},
                                {box.right - side / 5, box.top + side / 4}};
        dc.Polyline(tick, 3);
    }
    if (!GetText().empty()) {
        dc.SelectFont({m_fontSize, 400});
        dc.SetTextColor(IsEnabled() ? GetTextColor() : UiTheme::kTextDisabled);
        dc.SetBkMode(TRANSPARENT);
        dc.DrawText(GetText(), {box.right + 8, client.top, client.right, client.bottom},
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
}

void UiButton::OnPaint(CDC& dc) {
    UiWin::OnPaint(dc);
    const CRect client = GetClientRect();
    const bool enabled = IsEnabled();
    if (IsToggling() && !HasImage()) {
        DrawCheckBox(dc, client);
        return;
    }
    if (HasImage()) {
        if (m_pressed && m_pressedImage.IsLoaded()) {
            dc.DrawImage(m_pressedImage, client);
        } else {
            if (m_pressed || (IsToggling() && m_checked))
                UiTheme::DrawPressedLook(dc, client);
            dc.DrawImage(m_normal, client);
        }
        if (!enabled) {
            // Grey the image by a sparse veil, so it reads as unavailable.
            for (int y = client.top; y < client.bottom; y += 2)
                for (int x = client.left + (y / 2) % 2; x < client.right; x += 2)
                    dc.SetPixel(x, y, UiTheme::kTextDisabled);
        }
    } else if (m_style == UI_BTN_ROW) {
        if (m_pressed)
            UiTheme::DrawPressedLook(dc, client);
    } else {
        UiTheme::DrawButtonFace(dc, client, m_pressed, enabled);
    }
    COLORREF color = GetTextColor();
    if (!enabled)
        color = UiTheme::kTextDisabled;
    else if (m_pressed && m_style != UI_BTN_ROW && !HasImage())
        color = UiTheme::kTextPressed;
    if (m_style == UI_BTN_DROP) {
        // A down arrow in the middle.
        const int cx = client.Width() / 2;
        const int cy = client.Height() / 2;
        const int s = std::max(3, std::min(client.Width(), client.Height()) / 5);
        const CPoint arrow[3] = {{cx - s, cy - s / 2}, {cx + s, cy - s / 2}, {cx, cy + s / 2 + 1}};
        const CDCStateSaver saved(dc);
        dc.SelectPen({PS_SOLID, 1, color});
        dc.SelectBrush(CBrush::Solid(color));
        dc.Polygon(arrow, 3);
    }
    if (!GetText().empty())
        UiTheme::DrawCentredText(dc, GetText(), client, color, m_fontSize);
}

void UiButton::OnLButtonDown(UINT, CPoint) {
    if (!IsEnabled())
        return;
    m_tracking = true;
    m_pressed = true;
    SetCapture();
    Invalidate();
}

void UiButton::OnMouseMove(UINT, CPoint pt) {
    if (!m_tracking)
        return;
    const bool inside = GetClientRect().Contains(pt);
    if (inside != m_pressed) {
        m_pressed = inside;
        Invalidate();
    }
}

void UiButton::OnLButtonUp(UINT, CPoint pt) {
    if (GetCapture() == this)
        ReleaseCapture();
    if (!m_tracking)
        return;
    m_tracking = false;
    m_pressed = false;
    Invalidate();
    if (!IsEnabled() || !GetClientRect().Contains(pt))
        return;
    if (IsToggling())
        m_checked = !m_checked;
    NotifyParent(BN_CLICKED);
}

