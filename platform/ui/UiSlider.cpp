// The slider.
#include "platform/ui/UiSlider.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiDefs.h"
#include "platform/ui/UiTheme.h"

#include <algorithm>
#include <cmath>

UiSlider::UiSlider() = default;

UiSlider::~UiSlider() = default;

void UiSlider::SetRange(int min, int max) {
    if (min > max)
        std::swap(min, max);
    m_min = min;
    m_max = max;
    m_value = std::clamp(m_value, m_min, m_max);
    Invalidate();
}

void UiSlider::SetPos(int value) {
    m_value = std::clamp(value, m_min, m_max);
    Invalidate();
}

int UiSlider::ValueFromX(int x) const {
    const int left = kThumbWidth / 2;
    const int span = GetClientRect().Width() - kThumbWidth;
    if (span <= 0 || m_max == m_min)
        return m_min;
    const double t = std::clamp(static_cast<double>(x - left) / span, 0.0, 1.0);
    // The range may span more than an int holds.
    const long long range = static_cast<long long>(m_max) - m_min;
    return static_cast<int>(m_min + std::llround(t * static_cast<double>(range)));
}

int UiSlider::XFromValue(int value) const {
    const int left = kThumbWidth / 2;
    const int span = std::max(0, GetClientRect().Width() - kThumbWidth);
    if (m_max == m_min)
        return left;
    const long long offset = static_cast<long long>(std::clamp(value, m_min, m_max)) - m_min;
    const long long range = static_cast<long long>(m_max) - m_min;
    return left + static_cast<int>(static_cast<double>(span) * static_cast<double>(offset) / static_cast<double>(range));
}

void UiSlider::OnPaint(CDC& dc) {
    UiWin::OnPaint(dc);
    const CRect client = GetClientRect();
    const int cy = client.Height() / 2;
    const bool enabled = IsEnabled();
    const int x = XFromValue(m_value);
    dc.FillRect({kThumbWidth / 2, cy - 3, client.Width() - kThumbWidth / 2, cy + 3}, UiTheme::kShade);
    dc.FillRect({kThumbWidth / 2, cy - 3, x, cy + 3}, enabled ? UiTheme::kFacePressed : UiTheme::kTextDisabled);
    const CRect thumb = {x - kThumbWidth / 2, cy - kThumbWidth / 2 - 4, x + kThumbWidth / 2,
                         cy + kThumbWidth / 2 + 4};
    UiTheme::DrawButtonFace(dc, thumb, m_dragging, enabled);
}

void UiSlider::OnLButtonDown(UINT, CPoint pt) {
    if (!IsEnabled())
        return;
    m_dragging = true;
    SetCapture();
    SetPos(ValueFromX(pt.x));
}

void UiSlider::OnMouseMove(UINT, CPoint pt) {
    if (m_dragging)
        SetPos(ValueFromX(pt.x));
}

void UiSlider::OnLButtonUp(UINT, CPoint pt) {
    if (GetCapture() == this)
        ReleaseCapture();
    if (!m_dragging)
        return;
    m_dragging = false;
    SetPos(ValueFromX(pt.x));
    NotifyParent(UI_SLIDER_RELEASED, m_value);
}
