// What the order form computes without a window: its opening parameters,
// its request texts, the shareholder list, the quantity slider, the quote
// panel's rows, the input checks and the layout. The form
// (CTradeBuySaleWnd) walks these results; tests read them directly.
//
// A value from the opener, a reply or the user goes into a request only
// when it is what it should be (a six-digit code, plain letters and
// digits), so "&", "=" and "%" never slip in.
#pragma once

#include "core/CChoiceItem.h"
#include "platform/Geometry.h"
#include "trade/orders/OrderRequests.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CDataSet;

// The opening text as ReadOrderOpening takes it (framework/ui/OrderOpening.h). A margin
// form's preset query ("creditflag" without "MMLB") is not read: that form
// sets its kind and code itself.
struct OrderFormParams {
    bool credit = false;   // a margin preset: nothing below was read
    int kind = 1;          // 1 buy, 2 sell: "MMLB" 1 sells, any other value (or none) buys
    std::string code;      // the code part of the key when it is one to six digits, else empty
    std::string price;     // digits with at most one point, else empty
    int quoteMarket = -1;  // −1 when absent
    int type = -1;         // −1 when absent
};
OrderFormParams ReadOrderFormParams(std::string_view request);


// The maximum-quantity query: 500/4 with "B" for a buy side kind, 500/5
// with "S" for a sell; empty when the login, the password, the code or the
// fund id cannot travel.
std::string MaxQuantityRequest(std::string_view loginId, std::string_view password, int kind, std::string_view code,
                               std::string_view fundid);

// The trade kinds: odd ones buy, even ones sell. The margin form sets 3..7.
enum : int {
    kKindBuy = 1,
    kKindSell = 2,
    kKindBuyToReturn = 3,  // 买券还券
    kKindSellToRepay = 4,  // 卖券还款: the form shows the amount to repay
    kKindFinancedBuy = 5,  // 融资买入
    kKindShortSell = 6,    // 融券卖出
    kKindDirectReturn = 7, // 直接还券: the caption is the margin form's own
};
// The caption word of a kind ("买入" ... "融券卖出"); empty for others.
std::u16string_view TradeKindWord(int kind);
// The caption after a maximum-quantity reply: the kind's word, a blank and
// the stock's name; nullopt for kind 7, whose caption stays.
std::optional<std::u16string> FormCaption(int kind, std::u16string_view stockName);

// The amount to repay of the fund account (kind 4):
// "tc_mfuncno=500&tc_sfuncno=75&" login "&creditid=0&fundid=&moneytype=0";
// empty when the login or the fund id cannot travel.
std::string RepaymentRequest(std::string_view loginId, std::string_view fundid);
// True for a preset query a margin form opens with: "key=value" pairs
// joined by "&", keys of letters, digits and "_", values plain, with a
// numeric "tc_mfuncno" and "tc_sfuncno", and none of the keys the form
// appends itself (so no value of the user's can be overridden).
bool IsPresetQuery(std::string_view preset);
// The maximum-quantity query of kinds 3 and above: the preset, then the
// login, "&trdpwd=&stkcode=&fundid="; empty when any of them cannot travel.
std::string PresetQueryRequest(std::string_view preset, std::string_view loginId, std::string_view password,
                               std::string_view code, std::string_view fundid);

// The panel's field list; its reply has 34 columns in this order.
inline constexpr char kPanelQuoteFields[] =
    "1|2|3|4|11|13|14|15|16|17|18|32|29|30|50|51|52|53|54|55|56|57|58|59|70|71|72|73|74|75|76|77|78|79";
inline constexpr int kPanelQuoteColumns = 34;
// The stock key of the panel's quote: code "." quote market of the trade
// market (TradeMarketToQuoteMarket, B shares included); empty when the
// code is not six digits or the market is none of the four.
std::string PanelQuoteCode(std::string_view stkcode, std::string_view tradeMarket);
// "tc_mfuncno=31000&tc_sfuncno=4&code=<key>&field=<list>"; empty without a key.
std::string PanelQuoteRequest(std::string_view quoteCode);

// The shareholder items of the holder set: text "~market" + "secuid",
// value "market=&secuid=&fundid="; only rows of market when it is given
// (case ignored). Rows whose values could not travel are left out.
std::vector<CChoiceItem> HolderItems(CDataSet* holders, const char* market);
// The item whose value is keep, else 0; −1 for no items.
int KeepHolder(const std::vector<CChoiceItem>& items, std::string_view keep);
// The first item whose text holds "深" (quote market 1) or "沪" (2), then
// "B" when (type & 0x120) == 0x120, else "A"; −1 when none does.
int HolderByQuoteMarket(const std::vector<CChoiceItem>& items, int quoteMarket, int type);

// The quantity slider after a maximum of num shares: whole lots of 100
// when num ≥ 100; below that a sell of an odd lot counts shares (and the
// quantity takes them all), a buy disables it.
struct QuantitySlider {
    bool enabled = false;
    int max = 0;          // positions
    int pos = 0;
    int unit = 100;       // shares per position
    std::string quantity; // for the quantity edit; empty: leave it
};
QuantitySlider SliderForMaximum(long long num, int kind);
// The quantity of a released slider: position times its unit ("0" for an
// empty range).
std::string SliderQuantity(int pos, int max, int unit);

// One row of the five-level panel.
struct PanelCell {
    std::u16string text;
    std::uint32_t color = 0;
};
struct PanelRow {
    PanelCell name, price, volume;
};
// The palette the panel's prices are coloured with (colours 15, 16, 17).
struct PanelColors {
    std::uint32_t rise = 0x0000FF, fall = 0x00A000, flat = 0x000000;
};
// The ten level names with empty cells.
std::vector<PanelRow> EmptyPanelRows();
// The rows of a quote reply's first set: nullopt when it has no row
// (nothing changes), no rows for an index, else the ten levels. Only
// columns the set has are read; a missing value shows "-".
std::optional<std::vector<PanelRow>> PanelRowsFrom(CDataSet& set, const PanelColors& colors);
// The code of a quote row (column 2), to drop a reply for another stock.
std::string PanelRowCode(CDataSet& set);

// What the form holds when OK is pressed.
struct OrderFormInput {
    std::string code;        // the code edit
    std::string replyCode;   // "stkcode" of the last maximum-quantity reply
    bool replyHasMarket = false;
    bool hasHolder = false;
    std::string bsflag;      // the selected price type's code
    bool marketPrice = false;
    std::string price;
    std::string quantity;
};
// The first fault of the form, in the order the user meets them (code,
// reply, market, holder, price type, quantity, price); OrderFault::None
// when the order may go to the confirmation page.
OrderFault CheckOrderForm(const OrderFormInput& in);

// Where the form's controls go, in page coordinates.
struct OrderFormLayout {
    CRect labels[7];              // holder, code, name, price type, price, maximum, quantity
    CRect holder, holderDrop, code, name, priceType, priceTypeDrop, price, priceUnit, max, all, quantity,
        quantityUnit, slider;
    bool hasRepay = false;        // kind 4: the repayment row after the price type
    CRect repayLabel, repay;
    CRect form;
    CRect panel;
    int panelRowHeight = 0;
};
// windowWidth: the page's width; 720 keeps the right third for the panel.
// Kind 4 inserts the repayment row and draws the panel's rows taller.
OrderFormLayout LayoutOrderForm(int windowWidth, int kind = kKindBuy);
