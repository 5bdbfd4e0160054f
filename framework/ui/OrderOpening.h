// How a screen opens the order form ("buysale"): the opening it hands over,
// written and read here only, and the trade-login gate in front of it.
// Quote and trade screens both open the form; the form reads the text.
//
// The text: "MMLB=<0 buy|1 sell>", with a stock "code=<key>&" in front,
// then optionally "&price=" after the code and "&market=&type=" (quote
// market and security type) before "MMLB".
#pragma once

#include <string>
#include <string_view>

class UiWin;

struct OrderOpening {
    static OrderOpening Of(bool sell, std::string code = {}) {
        OrderOpening o;
        o.sell = sell;
        o.code = std::move(code);
        return o;
    }

    bool sell = false;
    std::string code;  // a stock key ("600010.02") or a bare code; empty: no stock
    std::string price; // empty: no price
    int market = -1;   // quote market; −1: not given
    int type = -1;     // security type; −1: not given
};

// The opening text; empty when the code or the price is not a plain value
// (so "&", "=" and "%" never slip in) or the price not a decimal number.
// Without a code only "MMLB=" is written.
std::string OrderOpeningText(const OrderOpening& opening);

// What the form takes of a text: "MMLB" 1 sells, any other value (or none)
// buys; the code part of the key when it is one to six digits, else empty;
// the price when digits with at most one point, else empty; market and
// type when integers, else −1.
OrderOpening ReadOrderOpening(std::string_view text);
// True when the text carries "MMLB" (an opening, not a margin preset).
bool HasOrderSide(std::string_view text);

// How a screen asks for the trade login when none is in.
struct OrderGate {
    std::u16string_view tellFirst = {}; // a message box shown before the login; empty: none
    int notifyValue = -1;               // handed to the login window
};
// True when a trade account is logged in. Otherwise the trade login is
// started over parent (when the application is there) and false returned.
bool TradeLoggedInOrAsk(UiWin* parent, const OrderGate& gate = {});

// Opens the order form over parent, titled title, with an opening text
// (OrderOpeningText); false (nothing opened) for an empty, refused text.
// The gate is the caller's: each screen checks what it shows first.
bool OpenOrderForm(UiWin* parent, std::u16string_view title, std::string_view text);
