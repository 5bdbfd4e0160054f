// The gate before a quote screen opens an order form.
#pragma once

class UiWin;

// True when a trade account is logged in. Otherwise the trade login is
// started over parent (when the application is there) and false returned.
bool TradeLoggedInOrAsk(UiWin* parent);
