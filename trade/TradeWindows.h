// Registers the trade screens' keywords with the window manager.
#pragma once

// "tradeexit": every trade account logged out, no window opened; "yywd":
// the branch directory by region.
void RegisterTradeWindows();
