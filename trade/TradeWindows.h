// Registers the trade screens' keywords with the window manager.
#pragma once

// "yybsz" and "CSalesDeptSetWnd": the sales departments;
// "COrbTradeLoginWnd": the trade login (the caller's notify value);
// "CTradeLoginAccountWnd": the logged-in accounts;
// "yywd": the branch directory by region;
// "CMobileDynCodeCtrWnd": the phone-token window;
// "tradeexit": every trade account logged out, no window opened;
// "trademenu" and "openfund": the trade menu;
// "tradequery" and "wtcd": the same-day tables, the cancel table;
// "trade_zjcx": the funds per currency;
// "hisquery", "xgmm", "qzxq": the history query, the password change and
// the warrant exercise.
void RegisterTradeWindows();
