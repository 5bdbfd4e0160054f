// The common part of the bottom bars (text toolbar and image bar): a row of
// equally wide buttons, each shown or hidden and enabled or not, that
// report a tap as WM_COMMAND to the parent with control id 101 and the
// button index (wParam = MakeWParam(101, index), lParam = index). A hidden
// button keeps its place; hidden and disabled buttons post nothing.
#pragma once

#include "platform/gdi/CImage.h"
#include "platform/ui/UiDefs.h"
#include "platform/win/UiWin.h"

#include <string>
#include <vector>

class UiButtonBar : public UiWin {
public:
    static constexpr int kHeight = 65; // pixels, the bars' height on every screen

    UiButtonBar();
    ~UiButtonBar() override;
    const char* GetClassName() const override { return "UiButtonBar"; }

    // Creates the bar under parent with id 101.
    bool CreateBar(UiWin* parent, const CRect& rect, bool visible = true);

    int GetButtonCount() const { return static_cast<int>(m_buttons.size()); }
    void EnableButton(int index, bool enable);
    bool IsButtonEnabled(int index) const;
    void EnableAll(bool enable);
    void ShowButton(int index, bool show);
    bool IsButtonShown(int index) const;
    void SetButtonText(int index, std::u16string_view text);
    std::u16string GetButtonText(int index) const;
    // The button's rectangle in client coordinates (empty out of range).
    CRect GetButtonRect(int index) const;
    // The shown button under pt, −1 for none.
    int ButtonFromPoint(CPoint pt) const;
    int GetPressedButton() const { return m_pressed; }

    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnMouseMove(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;

protected:
    struct Button {
        std::u16string text;
        CImage image;
        bool enabled = true;
        bool shown = true;
    };
    // Paints one button's face into r (the pressed look already drawn).
    virtual void DrawButton(CDC& dc, int index, const CRect& r);
    std::vector<Button> m_buttons;

private:
    int m_pressed = -1;  // button under the finger, −1 none
    int m_tracking = -1; // button the press started on, −1 none
};
