// The private window messages the window bases exchange, with what their
// parameters carry. The request road's own messages (0xFFF20000..3 and
// 0xFFF20100) are in framework/net/NetMessages.h.
#pragma once

#include "platform/win/Message.h"

#include <cstdlib>

enum : UINT {
    WND_MSG_OPEN_MENU_CHILD = 0xFFF20004, // lParam: the child index to open
    WND_MSG_CLOSE = 0xFFF20005,           // lParam: the close code
    // To a parent: a child it ran has closed. wParam: the close code;
    // lParam: the closed window's handle (HWND), for identification only.
    // The parent never deletes on it: the creator owns the child (CBaseWnd.h).
    WND_MSG_CHILD_CLOSED = 0xFFF20007,
    WND_MSG_ROW_CLICKED = 0xFFF2000A,
    WND_MSG_PARAMS_CHOSEN = 0xFFF2000B,   // lParam: a new choice record the receiver deletes
    // lParam: a new int array (new[]) of chosen indices, the first one the
    // choice; the receiver frees it with FreeChoiceIndices.
    WND_MSG_PICKER_RESULT = 0xFFF2000C,
    WND_MSG_TRADE_LOGGED_IN = 0xFFF2000E, // lParam: the caller's notify value
    WND_MSG_FUND_RISK_AGREED = 0xFFF2000F, // lParam: the menu id of the account opening
    WND_MSG_OPEN_FSCHART = 0xFFF20010,    // lParam: a malloc'd request text the receiver frees
    WND_MSG_OPEN_KXCHART = 0xFFF20011,    // lParam: a malloc'd request text the receiver frees
    // Messages a window posts to itself, numbered here so that none shares
    // a number with another (0xFFF20006 is the gesture notice, platform/win).
    WND_MSG_STARTUP_NEXT_STEP = 0xFFF20012, // start-up logon (framework/app spells it); wParam: the step
    WND_MSG_REFETCH_WATCH_LIST = 0xFFF20013, // watch-list editor
    WND_MSG_INFO_MARKS_CHOSEN = 0xFFF20014,  // minute frame; lParam: a malloc'd id text the receiver frees
    WND_MSG_OPEN_DYNCODE = 0xFFF20015,       // trade login
    WND_MSG_LEVEL_HELD = 0xFFF20016,         // minute chart to its frame; wParam, lParam: x, y
    WND_MSG_ORDER_SEND_QUERY = 0xFFF20017,   // order form; wParam: the query kind
    WND_MSG_ORDER_TELL = 0xFFF20018,         // order form; wParam: what to tell
    WND_MSG_CONFIRM_TELL_OUTCOME = 0xFFF20019,  // order confirmation
    WND_MSG_CONFIRM_TELL_NOT_SENT = 0xFFF2001A, // order confirmation
    // The caption bar's two buttons, sent to its window.
    WND_MSG_CAPTION_BACK = 0xFFFFF661,
    WND_MSG_CAPTION_TRADE = 0xFFFFF662,
};

// Frees the index array of a WND_MSG_PICKER_RESULT message (also what the
// loop runs when the receiver is gone).
inline void FreeChoiceIndices(LPARAM lParam) {
    delete[] reinterpret_cast<int*>(lParam);
}

// Frees the request text of a WND_MSG_OPEN_FSCHART or WND_MSG_OPEN_KXCHART
// message (also what the loop runs when the receiver is gone).
inline void FreeChartRequestText(LPARAM lParam) {
    std::free(reinterpret_cast<char*>(lParam));
}
