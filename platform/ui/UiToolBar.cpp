// The three-button text toolbar.
#include "platform/ui/UiToolBar.h"

UiToolBar::UiToolBar() {
    m_buttons.resize(kButtons);
    m_buttons[1].text = u"确定";
}

UiToolBar::~UiToolBar() = default;

void UiToolBar::SetTexts(std::u16string_view left, std::u16string_view middle, std::u16string_view right) {
    SetButtonText(0, left);
    SetButtonText(1, middle);
    SetButtonText(2, right);
}
