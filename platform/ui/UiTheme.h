// The stock look of the controls: one plain palette legible on the dark
// quote screens and on the light forms, and the few painting routines that
// every control shares (button faces, the pressed look, panels, the
// scroll-bar thumb), so that all controls press and disable alike.
#pragma once

#include "platform/Geometry.h"
#include "platform/gdi/Color.h"

#include <string_view>

class CDC;

class UiTheme {
public:
    // Palette (0x00BBGGRR).
    static constexpr COLORREF kFace = MakeRgb(0xEC, 0xEC, 0xEC);        // button face
    static constexpr COLORREF kFacePressed = MakeRgb(0x3C, 0x78, 0xC8); // pressed face
    static constexpr COLORREF kBorder = MakeRgb(0x64, 0x64, 0x64);      // frames
    static constexpr COLORREF kText = MakeRgb(0x00, 0x00, 0x00);
    static constexpr COLORREF kTextPressed = MakeRgb(0xFF, 0xFF, 0xFF);
    static constexpr COLORREF kTextDisabled = MakeRgb(0xA0, 0xA0, 0xA0);
    static constexpr COLORREF kHint = MakeRgb(0xA0, 0xA0, 0xA0);        // edit hint text
    static constexpr COLORREF kEditBack = MakeRgb(0xFF, 0xFF, 0xFF);
    static constexpr COLORREF kEditReadOnly = MakeRgb(0xF0, 0xF0, 0xF0);
    static constexpr COLORREF kFocusFrame = MakeRgb(0x3C, 0x78, 0xC8);
    static constexpr COLORREF kBarBack = MakeRgb(0x28, 0x28, 0x28);     // bottom bars, tab bar
    static constexpr COLORREF kBarText = MakeRgb(0xFF, 0xFF, 0xFF);
    static constexpr COLORREF kSeparator = MakeRgb(0x64, 0x64, 0x64);
    static constexpr COLORREF kScrollThumb = MakeRgb(0x90, 0x90, 0x90);
    static constexpr COLORREF kPanel = MakeRgb(0xF3, 0xF3, 0xF3);       // dialog panels
    static constexpr COLORREF kPanelTitle = MakeRgb(0x28, 0x28, 0x28);
    static constexpr COLORREF kShade = MakeRgb(0xD2, 0xD2, 0xD2);

    static constexpr int kFontSize = 22;      // pixels, the controls' default text height
    static constexpr int kScrollBarWidth = 4; // pixels

    // A push-button face: rounded, framed, filled with the face colour, or
    // with the pressed colour while pressed; a disabled face is drawn flat.
    static void DrawButtonFace(CDC& dc, const CRect& r, bool pressed, bool enabled);
    // The pressed look laid over anything (rows, image buttons): a band in
    // the pressed colour.
    static void DrawPressedLook(CDC& dc, const CRect& r);
    // A dialog panel: shadow, frame and fill, corner radius 10.
    static void DrawPanel(CDC& dc, const CRect& r);
    // A vertical scroll-bar thumb along the right edge of client for content
    // of contentHeight pixels scrolled by scrollPos; nothing when it all fits.
    static void DrawScrollThumb(CDC& dc, const CRect& client, int contentHeight, int scrollPos);
    // Single-line text centred in r in the given colour, size and weight.
    static void DrawCentredText(CDC& dc, std::u16string_view text, const CRect& r, COLORREF color,
                                int fontSize = kFontSize, bool bold = false);
};
