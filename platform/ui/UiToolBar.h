// The text toolbar at the bottom of a form: three text buttons, the middle
// one carrying the form's action ("确定" by default). Taps report as
// WM_COMMAND with control id 101 and the button index (see UiButtonBar).
#pragma once

#include "platform/ui/UiButtonBar.h"

class UiToolBar : public UiButtonBar {
public:
    static constexpr int kButtons = 3;

    UiToolBar();
    ~UiToolBar() override;
    const char* GetClassName() const override { return "UiToolBar"; }

    // Sets the three texts at once.
    void SetTexts(std::u16string_view left, std::u16string_view middle, std::u16string_view right);
    void SetMiddleText(std::u16string_view text) { SetButtonText(1, text); }
    std::u16string GetMiddleText() const { return GetButtonText(1); }
};
