// The numeric keypad that CWndManager::ShowDigitInput runs over a form: a
// prompt, the typed number and twelve keys (digits, the point and erase).
// Every key writes the number into the form's edit at once; "取消" puts
// the edit's old text back. It closes with kDigitOk or kDigitCancel, codes
// that make its parent do nothing but show itself again.
#pragma once

#include "framework/ui/CBaseWnd.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiStatic.h"

#include <array>
#include <memory>
#include <string>

class UiEdit;

class CDigitInputWnd : public CBaseWnd {
public:
    static constexpr int kDigitOk = 10;
    static constexpr int kDigitCancel = -1;
    static constexpr int kFirstKeyId = 200; // keys 200..211: "1".."9", ".", "0", erase
    static constexpr int kKeyCount = 12;
    static constexpr int kPromptId = 190;
    static constexpr int kDisplayId = 191;

    // edit: the field typed into (not owned; may be null); prompt may be null.
    CDigitInputWnd(UiEdit* edit, const char16_t* prompt);
    ~CDigitInputWnd() override;
    const char* GetClassName() const override { return "CDigitInputWnd"; }

    const std::u16string& GetTypedText() const { return m_text; }
    // The key's text ("1".."9", ".", "0", "←").
    static std::u16string KeyText(int index);
    // Applies one key to the typed text: a digit appends, "." appends once,
    // erase drops the last character.
    static void ApplyKey(std::u16string& text, int index);

    int OnInitDialog() override;
    void OnLayout() override;
    void OnToolbarCommand(int index) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void Update();

    HWND m_edit;                 // the form's edit, by handle: it may go first
    std::u16string m_prompt;
    std::u16string m_original;   // the edit's text before the keypad
    std::u16string m_text;
    UiStatic m_promptLabel;
    UiStatic m_display;
    std::array<std::unique_ptr<UiButton>, kKeyCount> m_keys;
};
