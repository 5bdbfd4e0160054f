// The image bar.
#include "platform/ui/UiImageBar.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiTheme.h"

#include <string>

UiImageBar::UiImageBar() = default;

UiImageBar::~UiImageBar() = default;

int UiImageBar::SetImages(const std::vector<int>& resourceIds) {
    m_buttons.clear();
    m_ids.clear();
    for (int id : resourceIds) {
        if (static_cast<int>(m_buttons.size()) == kMaxButtons)
            break;
        Button b;
        if (!b.image.LoadResource(id)) {
            const std::string digits = std::to_string(id);
            b.text.assign(digits.begin(), digits.end());
        }
        m_buttons.push_back(std::move(b));
        m_ids.push_back(id);
    }
    if (m_selected >= GetButtonCount())
        m_selected = -1;
    Invalidate();
    return GetButtonCount();
}

int UiImageBar::GetImageId(int index) const {
    if (index < 0 || index >= static_cast<int>(m_ids.size()))
        return 0;
    return m_ids[index];
}

void UiImageBar::SetSelected(int index) {
    m_selected = (index >= 0 && index < GetButtonCount()) ? index : -1;
    Invalidate();
}

void UiImageBar::DrawButton(CDC& dc, int index, const CRect& r) {
    if (index == m_selected)
        dc.FillRect(r.Deflate(2, 4), UiTheme::kBorder);
    UiButtonBar::DrawButton(dc, index, r);
}
