// The soft input panel, as a stand-in: the phone shows an on-screen
// keyboard of a requested type; the desktop types on its own keyboard, so
// this only records what was asked (keyboard type and option) and whether
// the panel would be up, for the windows that keep fields above it and for
// tests. Type and option numbers are the phone's (9 numeric, 4 text;
// options 65, 50, 0, −1) and are passed through untouched.
#pragma once

class UiSip {
public:
    static constexpr int kPanelHeight = 240; // pixels the panel would cover at the screen's bottom

    // Records the type and option and shows the panel.
    static void Request(int type, int option);
    static void Show(bool show);
    static bool IsShown();
    static int LastType();   // −1 before any request
    static int LastOption(); // 0 before any request
    static int RequestCount();
    // The height the panel takes while shown, else 0.
    static int VisibleHeight() { return IsShown() ? kPanelHeight : 0; }
    // Forgets everything (tests).
    static void Reset();
};
