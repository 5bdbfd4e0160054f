// The text label of the screens: text size, colour, one line or wrapped,
// bold, and the link look. A plain label passes presses and drags on to the
// page it sits on; a link takes its taps: it is drawn underlined in the link
// colour and a tap on it posts WM_COMMAND MakeWParam(id, BN_CLICKED) with
// its handle as lParam to its parent (a scrolling page passes it on to the
// window), so links that share an id are told apart.
#pragma once

#include "platform/win/UiWin.h"

#include <cstdint>

class CTextCtrl : public UiWin {
public:
    static constexpr std::uint32_t kLinkColor = 0xFF0000; // 0x00BBGGRR: blue

    CTextCtrl();
    ~CTextCtrl() override;
    const char* GetClassName() const override { return "CTextCtrl"; }

    void SetFontSize(int pixels) { m_fontSize = pixels; Invalidate(); }
    int GetFontSize() const { return m_fontSize; }
    // One line, vertically centred and cut with an ellipsis; otherwise the
    // text wraps from the top.
    void SetSingleLine(bool single) { m_singleLine = single; Invalidate(); }
    bool IsSingleLine() const { return m_singleLine; }
    void SetBold(bool bold) { m_bold = bold; Invalidate(); }
    bool IsBold() const { return m_bold; }
    void SetLink(bool link) { m_link = link; Invalidate(); }
    bool IsLink() const { return m_link; }
    // DT_LEFT, DT_CENTER or DT_RIGHT.
    void SetAlignment(unsigned align) { m_align = align; Invalidate(); }

    // The colour the text is drawn in: the link colour for a link.
    std::uint32_t GetDrawColor() const;

    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnMouseMove(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;

private:
    int m_fontSize = 22; // pixels
    bool m_singleLine = true;
    bool m_bold = false;
    bool m_link = false;
    unsigned m_align = 0; // DT_LEFT
    bool m_pressed = false; // a press on the link is under way
};
