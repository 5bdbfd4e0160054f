// What the confirmation page shows and sends, as functions of its entries,
// so that what can reach the server is known without a window: the lines
// of an entry, the checks an entry must pass, and the request texts of an
// order (500/6), a cancellation (500/7) and a batch of orders (100/20).
//
// Texts are built by appending; no length cap cuts a long session text or
// a big batch short. A value travels only when it is what it should be: a
// code of six digits, a price of digits with at most one point, a quantity
// of one to nine digits, a holder's market, account and fund id and an
// order serial of ASCII letters, digits and "." — so ",", "&", "=" and "%"
// never get in, and no value adds or changes a parameter.
#pragma once

#include "framework/app/TradeSession.h"
#include "trade/orders/CPriceTypeItem.h"

#include <string>
#include <string_view>
#include <vector>

// The page's modes; all entries of one page share one.
enum class ConfirmMode { None = 0, Buy = 1, Sell = 2, Cancel = 3, Batch = 4 };

// One entry of the page, as its opener hands it over.
struct ConfirmEntry {
    std::u16string code;
    std::u16string name;
    std::u16string price;    // "-" for a market-price order; a cancel: the order's price
    std::u16string quantity; // a cancel: the order's quantity as shown
    std::u16string serial;   // the order serial ("ordersno") of a cancel
    std::string holder;      // "market=..&secuid=..&fundid=.." (keys in any order)
};

// The holder of an entry, read from its parameter text.
struct HolderParams {
    std::string market, secuid, fundid;
};
// The three keys of a holder text (key case ignored; absent keys empty).
HolderParams ReadHolderParams(std::string_view holder);

// The lines the page shows for an entry: the mode word, code, name, price,
// quantity, the price type's name when the page holds one, and the serial
// of a cancel.
std::vector<std::u16string> ConfirmLines(ConfirmMode mode, const ConfirmEntry& entry, const CPriceTypeItem* priceType);

// Why an order may not go on: one list and one message table for the
// order form (CheckOrderForm, what the user has yet to fill in) and the
// confirmation page (CheckEntry, the values an order carries).
enum class OrderFault {
    None,
    // An entry's values, told by the confirmation page.
    BadCode,      // "不是合法的股票代码": not six digits
    BadQuantity,  // "委托数量有误": not a whole number of 1 to 9 digits above 0
    BadPrice,     // "委托价格有误": a limit order without a price above 0
    NoPriceType,  // "请选择报价方式": no price type, or one without a code
    BadHolder,    // "股东代码有误": no market "0".."3" or no account
    BadSerial,    // "委托序号有误": a cancel without its serial
    // What the form still lacks, told by the form.
    Code,       // "请输入6位证券代码！"
    Stale,      // the last reply is not for the code shown: asked again, no message
    NoMarket,   // the reply named no market: "无法确定证券所属市场，不能委托！"
    NoHolder,   // "您没有该市场的股东代码，不能委托！"
    PriceType,  // "请选择报价方式"
    NoQuantity, // "请输入买卖数量！"
    Quantity,   // "委托数量有误"
    NoPrice,    // a limit order without a price: asked again, no message
};
// The message shown for a fault (empty for None, Stale and NoPrice).
std::u16string_view OrderFaultText(OrderFault fault);
// True for exactly six digits.
bool IsSixDigitCode(std::string_view code);
// A quantity an order carries: one to nine digits, above zero.
bool IsOrderQuantity(std::string_view quantity);
// The checks of one entry of the mode. A cancel needs only its serial and
// holder; a market-price order needs no price (it sends none).
OrderFault CheckEntry(ConfirmMode mode, const ConfirmEntry& entry, const CPriceTypeItem* priceType);

// IsSendablePassword and IsSendableLoginId: framework/app/TradeSession.h.

// "tc_mfuncno=500&tc_sfuncno=6&" login id "&trdpwd=&bsflag=&price=&qty=
// &stkcode=&market=&secuid=&fundid=": the price empty for a market-price
// type. Empty when the entry fails CheckEntry or the login id or password
// is missing or not sendable.
std::string OrderRequest(std::string_view loginId, std::string_view password, const ConfirmEntry& entry,
                         const CPriceTypeItem& priceType, ConfirmMode mode);
// "tc_mfuncno=500&tc_sfuncno=7&" login id "&ordersno=&market=&secuid=
// &fundid=": no password. Empty when refused likewise.
std::string CancelRequest(std::string_view loginId, const ConfirmEntry& entry);
// The indices of the batch entries that fail their checks, in order.
std::vector<int> IncompleteBatchEntries(const std::vector<ConfirmEntry>& entries);
// "tc_mfuncno=100&tc_sfuncno=20&" login id "&trdpwd=&codes=&price=&qty=
// &fundids=&secuids=&markets=", each list the complete entries' values
// joined by ",". incomplete (may be null) gets the indices of the entries
// left out. Empty when no entry is complete or the login is refused.
std::string BatchRequest(std::string_view loginId, std::string_view password, const std::vector<ConfirmEntry>& entries,
                         std::vector<int>* incomplete);
