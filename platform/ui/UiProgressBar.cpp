// The progress bar.
#include "platform/ui/UiProgressBar.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiTheme.h"

#include <algorithm>

UiProgressBar::UiProgressBar() = default;

UiProgressBar::~UiProgressBar() = default;

void UiProgressBar::SetRange(int min, int max) {
    if (min > max)
        std::swap(min, max);
    m_min = min;
    m_max = max;
    m_pos = std::clamp(m_pos, m_min, m_max);
    Invalidate();
}

void UiProgressBar::SetPos(int pos) {
    m_pos = std::clamp(pos, m_min, m_max);
    Invalidate();
}

void UiProgressBar::StepIt(int step) {
    int pos = m_pos + step;
    if (pos > m_max)
        pos = m_min;
    SetPos(pos);
}

void UiProgressBar::OnPaint(CDC& dc) {
    const CRect client = GetClientRect();
    dc.FillRect(client, UiTheme::kShade);
    if (m_max > m_min) {
        const int w = static_cast<int>(static_cast<long long>(client.Width()) * (m_pos - m_min) / (m_max - m_min));
        dc.FillRect({0, 0, w, client.Height()}, UiTheme::kFacePressed);
    }
}
