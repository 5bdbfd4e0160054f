// The road of CAppData::CheckTradeLogin: the sales-department window when
// no department is configured, else the trade login, or the list of the
// logged-in accounts when one is.
#pragma once

class CAppData;
class UiWin;

// Runs the window the trade entry point needs over parent; its close code,
// or −1 when none ran.
int RunTradeEntry(CAppData& app, UiWin* parent, int notifyValue, bool newLogin);
