// Registers the trade screens' keywords with the window manager.
#pragma once

// "yybsz" and "CSalesDeptSetWnd": the sales departments;
// "tradeexit": every trade account logged out, no window opened.
void RegisterTradeWindows();
