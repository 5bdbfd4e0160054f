// An order's price type (报价方式) and the four fixed tables the order form
// offers, one per exchange and direction: a limit order at the user's
// price ("0B" buy, "0S" sell) or one of the exchange's market-price kinds.
// The code travels to the server as the order's "bsflag"; every code
// begins with the digit zero.
//
// A market-price order carries no price of its own: the confirmation page
// shows "-" for it and the request sends an empty "price" value.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CPriceTypeItem {
public:
    CPriceTypeItem() = default;
    // Copies of both texts; an absent (null) or empty one stays empty.
    CPriceTypeItem(const char16_t* name, const char* code);
    CPriceTypeItem(std::u16string_view name, std::string_view code) : m_name(name), m_code(code) {}

    const std::u16string& GetName() const { return m_name; }
    const std::string& GetCode() const { return m_code; }
    // Both texts are there: the entry can be shown and sent.
    bool IsComplete() const { return !m_name.empty() && !m_code.empty(); }
    // A market-price type: it has a code and the code is not a limit code.
    bool IsMarketPrice() const;

private:
    std::u16string m_name; // shown in the picker and on the confirmation page
    std::string m_code;    // the two-character "bsflag" value
};

// The limit codes; every other code is a market-price type.
inline constexpr std::string_view kLimitBuyCode = "0B";
inline constexpr std::string_view kLimitSellCode = "0S";
bool IsLimitPriceCode(std::string_view code);

// Trade kinds of an order: odd kinds buy, even kinds sell.
inline constexpr int kTradeKindBuy = 1;
inline constexpr int kTradeKindSell = 2;
inline constexpr int kTradeKindShortSell = 6;

// The four tables, in the order the picker shows them.
const std::vector<CPriceTypeItem>& ShenzhenBuyPriceTypes();
const std::vector<CPriceTypeItem>& ShenzhenSellPriceTypes();
const std::vector<CPriceTypeItem>& ShanghaiBuyPriceTypes();
const std::vector<CPriceTypeItem>& ShanghaiSellPriceTypes();

// The price types offered for an order of tradeKind on a shareholder
// account of trade market ("0" Shenzhen A, "1" Shanghai A, "2" Shenzhen B,
// "3" Shanghai B): a short sell gets the limit buy entry alone whatever the
// market; markets "0" and "2" the Shenzhen table of the order's direction,
// "1" and "3" the Shanghai one; any other market the direction's limit
// entry alone. The first entry is the one selected.
std::vector<CPriceTypeItem> PriceTypesFor(std::string_view market, int tradeKind);
