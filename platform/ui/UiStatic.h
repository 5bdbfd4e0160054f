// The label control: text in a colour, size and weight, placed by DrawText
// format flags (DT_CENTER, DT_VCENTER, DT_SINGLELINE, DT_WORDBREAK, ...).
// A label takes no input of its own: presses and drags go on to the page
// it sits on, so a scrolling page scrolls from its labels too.
#pragma once

#include "platform/win/UiWin.h"

class UiStatic : public UiWin {
public:
    UiStatic();
    ~UiStatic() override;
    const char* GetClassName() const override { return "UiStatic"; }

    void SetFontSize(int pixels) { m_fontSize = pixels; Invalidate(); }
    int GetFontSize() const { return m_fontSize; }
    void SetBold(bool bold) { m_bold = bold; Invalidate(); }
    bool IsBold() const { return m_bold; }
    // DrawText format flags; the default is left aligned, vertically
    // centred, one line.
    void SetFormat(unsigned format) { m_format = format; Invalidate(); }
    unsigned GetFormat() const { return m_format; }

    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
    void OnMouseMove(UINT flags, CPoint pt) override;

private:
    int m_fontSize = 22; // pixels
    bool m_bold = false;
    unsigned m_format;   // DT_ flags
};
