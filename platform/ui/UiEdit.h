// The edit box: one line (or a wrapped block) of text typed with WM_CHAR,
// erased with WM_KEYDOWN VK_BACK, with the caret always at the end.
//
// It reports to its parent: WM_COMMAND EN_SETFOCUS / EN_KILLFOCUS as it
// gains and loses the focus (a tap gives it the focus), and on every change
// of its text both WM_COMMAND EN_CHANGE and UIM_EDIT_NOTIFY (wParam = id,
// lParam = UI_EDIT_CHANGE_TYPED, _DELETED or _SET). Gaining the focus asks
// the soft input panel for the edit's keyboard type; losing it hides it.
//
// The text never exceeds the maximum length: typing beyond it is ignored
// and a longer text set by the program is cut, never between the two units
// of a surrogate pair.
#pragma once

#include "platform/ui/UiDefs.h"
#include "platform/win/UiWin.h"

#include <string>

class UiEdit : public UiWin {
public:
    UiEdit();
    ~UiEdit() override;
    const char* GetClassName() const override { return "UiEdit"; }

    // Replaces the text (cut to the maximum length); notifies with
    // UI_EDIT_CHANGE_SET when the text changes. Hides UiWin::SetText.
    void SetText(std::u16string_view text);
    int GetLength() const { return static_cast<int>(GetText().size()); }

    // Maximum length in UTF-16 units; 0 means no limit. Cuts a longer text.
    void SetLimitText(int maxChars);
    int GetLimitText() const { return m_limit; }
    // Grey text shown while the box is empty.
    void SetHintText(std::u16string_view hint) { m_hint = hint; Invalidate(); }
    const std::u16string& GetHintText() const { return m_hint; }
    // UI_EDIT_INPUT_TEXT or UI_EDIT_INPUT_PASSWORD (shown as dots).
    void SetInputMode(int mode) { m_inputMode = mode; Invalidate(); }
    int GetInputMode() const { return m_inputMode; }
    bool IsPassword() const { return m_inputMode == UI_EDIT_INPUT_PASSWORD; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; Invalidate(); }
    bool IsReadOnly() const { return m_readOnly; }
    void SetSingleLine(bool single) { m_singleLine = single; Invalidate(); }
    // DT_LEFT, DT_CENTER or DT_RIGHT.
    void SetAlignment(unsigned align) { m_align = align; Invalidate(); }
    void SetFontSize(int pixels) { m_fontSize = pixels; Invalidate(); }
    // Soft keyboard type and option asked for when the box takes the focus.
    void SetSipMode(int type, int option) { m_sipType = type; m_sipOption = option; }
    int GetSipType() const { return m_sipType; }
    int GetSipOption() const { return m_sipOption; }

    // The text as drawn: dots for a password, the text otherwise.
    std::u16string GetDisplayText() const;

    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnChar(char16_t ch) override;
    void OnKeyDown(int key) override;
    void OnSetFocus() override;
    void OnKillFocus() override;

private:
    void NotifyChange(int how);

    std::u16string m_hint;
    int m_limit = 0;          // UTF-16 units, 0 unlimited
    int m_inputMode = UI_EDIT_INPUT_TEXT;
    bool m_readOnly = false;
    bool m_singleLine = true;
    unsigned m_align = 0;     // DT_LEFT
    int m_fontSize = 22;      // pixels
    int m_sipType = 4;        // the text keyboard
    int m_sipOption = 0;
};
