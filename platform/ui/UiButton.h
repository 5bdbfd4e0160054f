// The button control: push buttons, toggling check buttons and image
// buttons. A tap (press and release inside the button) on an enabled button
// posts WM_COMMAND (id, BN_CLICKED) to the parent; a toggling style flips
// its checked state first. Disabled buttons draw greyed and post nothing.
//
// Styles are the UI_BTN_ codes of UiDefs.h. Images, when set, replace the
// face: the normal image, and the pressed image while pressed (or the
// normal one under the stock pressed look when there is none).
#pragma once

#include "platform/gdi/CImage.h"
#include "platform/ui/UiDefs.h"
#include "platform/win/UiWin.h"

#include <string>

class UiButton : public UiWin {
public:
    UiButton();
    ~UiButton() override;
    const char* GetClassName() const override { return "UiButton"; }

    void SetStyle(int style);
    int GetStyle() const { return m_style; }
    bool IsToggling() const { return m_style == UI_BTN_CHECK || m_style == UI_BTN_CHECK_ALT; }

    void SetChecked(bool checked);
    bool IsChecked() const { return m_checked; }
    bool IsPressed() const { return m_pressed; }

    // Images by resource id (0: none); false when an id does not load.
    bool SetImages(int normalId, int pressedId = 0);
    // Images given directly; an unloaded pressed image means none.
    void SetImages(const CImage& normal, const CImage& pressed = CImage());
    bool HasImage() const { return m_normal.IsLoaded(); }

    void SetFontSize(int pixels) { m_fontSize = pixels; Invalidate(); }

    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnMouseMove(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;

private:
    void DrawCheckBox(CDC& dc, const CRect& client);

    int m_style = UI_BTN_PUSH;
    bool m_checked = false;
    bool m_pressed = false;   // finger down and inside
    bool m_tracking = false;  // finger down on this button
    int m_fontSize = 22;      // pixels
    CImage m_normal;
    CImage m_pressedImage;
};
