// Codes shared by the controls and the windows that host them: notification
// codes, control styles, message-box button sets and the bottom-bar id.
//
// Controls report to their window with WM_COMMAND: wParam is
// MakeWParam(control id, code) and lParam a value, posted through
// UiWin::NotifyParent. The values the phone's screens name (button style 11,
// slide mode 2, edit input mode 60, bar id 101, edit message 0xFFF10045) keep
// their numbers; the others are this library's own choice.
#pragma once

#include "platform/Geometry.h"
#include "platform/win/Message.h"

class UiWin;

// Button notification: a tap on an enabled button.
enum : int { BN_CLICKED = 0 };

// Edit notifications (WM_COMMAND codes).
enum : int { EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300 };

// The edit's own change message, posted to the parent beside EN_CHANGE:
// wParam = the edit's control id, lParam = one of the UI_EDIT_CHANGE_ codes.
constexpr UINT UIM_EDIT_NOTIFY = 0xFFF10045;
enum : int {
    UI_EDIT_CHANGE_TYPED = 1,   // a character was typed
    UI_EDIT_CHANGE_DELETED = 2, // a character was erased
    UI_EDIT_CHANGE_SET = 3,     // the program replaced the text
};

// Edit input modes (UiEdit::SetInputMode).
enum : int { UI_EDIT_INPUT_TEXT = 0, UI_EDIT_INPUT_PASSWORD = 60 };

// Button styles (UiButton::SetStyle). Styles 11 and 547 toggle their checked
// state on every tap; the others are push buttons that differ in look only.
enum : int {
    UI_BTN_PUSH = 1,      // framed push button
    UI_BTN_ROUND = 6,     // rounded push button with a raised face
    UI_BTN_CHECK = 11,    // toggling check button: a box with a tick
    UI_BTN_ROW = 261,     // flat form-row background; shows only the pressed look
    UI_BTN_DROP = 265,    // drop-down button: a down arrow
    UI_BTN_CHECK_ALT = 547, // toggling check button, same look as 11
};

// The id of the bottom bars (text toolbar and image bar). A press posts
// WM_COMMAND with wParam = MakeWParam(101, index) and lParam = index, so
// either half carries the button index: read it with BarButtonIndex.
constexpr int UI_BOTTOM_BAR_ID = 101;
constexpr int BarButtonIndex(WPARAM /*wParam*/, LPARAM lParam) { return static_cast<int>(lParam); }

// Tab bar: a press on a shown, pressable tab posts code UI_TAB_PRESSED with
// lParam = the tab index.
enum : int { UI_TAB_PRESSED = 1 };

// Slider: the finger left the slider; lParam = the value.
enum : int { UI_SLIDER_RELEASED = 1 };

// Choice list: a tap chose an item; lParam = the item index.
enum : int { UI_LIST_CHOSEN = 2 };

// List slide modes (UiList::SetSlideMode).
enum : int {
    UI_SLIDE_NORMAL = 0, // drags scroll; a fast release keeps scrolling a little
    UI_SLIDE_NONE = 2,   // never scrolls (a page around it may)
};

// Message-box button sets (the phone's style values).
enum : int { MB_OK = 0, MB_OKCANCEL = 1, MB_YESNO = 4 };

// Forwards a mouse message to the parent in the parent's client coordinates,
// for controls (labels, pictures) that leave presses and drags to the page
// they sit on. Does nothing without a parent.
void ForwardMouseToParent(UiWin* self, UINT msg, UINT flags, CPoint pt);
