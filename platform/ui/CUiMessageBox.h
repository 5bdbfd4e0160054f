// The message box: a caption, a text and one to two buttons (MB_OK,
// MB_OKCANCEL, MB_YESNO), run modally over the work area; it answers IDOK,
// IDCANCEL, IDYES or IDNO.
//
// UiMessageBox first asks CModalScript for a scripted answer: with one it
// records the caption, text and answer and returns at once, showing
// nothing. Otherwise it runs a real box drawn by this library and records
// the box with the answer the user gave. A box that cannot run (no loop)
// or whose run ends without a button (the program quits) answers the
// negative choice: IDCANCEL, IDNO, or IDOK for a lone OK.
#pragma once

#include "platform/ui/CUiWnd.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiDefs.h"

#include <memory>
#include <string>
#include <vector>

int UiMessageBox(UiWin* owner, std::u16string_view text, std::u16string_view caption, int buttons = MB_OK);

class CUiMessageBox : public CUiWnd {
public:
    static constexpr int kButtonHeight = 60; // pixels
    static constexpr int kCaptionHeight = 50; // pixels

    CUiMessageBox(std::u16string_view text, std::u16string_view caption, int buttons);
    ~CUiMessageBox() override;
    const char* GetClassName() const override { return "CUiMessageBox"; }

    // The button ids of a button set, left to right, and their labels.
    static std::vector<int> ButtonIds(int buttons);
    static std::u16string ButtonLabel(int id);
    // The answer given when the box ends without a button.
    static int NegativeAnswer(int buttons);

    // The panel in client coordinates (laid out at creation).
    CRect GetPanelRect() const { return m_panel; }
    UiButton* GetButton(int id) const;

    int OnCreate() override;
    void OnPaint(CDC& dc) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnKeyDown(int key) override;

private:
    std::u16string m_text;
    std::u16string m_caption;
    int m_buttons;
    CRect m_panel;
    CRect m_textRect;
    std::vector<std::unique_ptr<UiButton>> m_buttonCtrls;
};
