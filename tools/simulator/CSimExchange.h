// The simulated broker's small exchange: what each customer of the trade
// login (CSimTradeAccounts, which keeps who they are: fund id, holders,
// passwords, tokens) holds and does today, by fund id: funds per currency,
// positions with their available quantities (odd lots included), and its
// orders with their contract numbers. Orders at or through the market's
// last price fill at that price at once, moving funds and positions;
// others rest, holding their funds or shares, until cancelled.
//
// Trade markets: "0" Shenzhen A, "1" Shanghai A, "2" Shenzhen B, "3"
// Shanghai B (no Hong Kong). Currencies: "0" yuan for A shares, "1" US
// dollars for Shanghai B, "2" Hong Kong dollars for Shenzhen B. Amounts
// are kept in thousandths of the currency, so B-share prices stay exact.
// A position is kept per fund id, market and code, whichever of the
// customer's holders of that market trades it.
//
// Not thread-safe by itself: the server calls routes one at a time.
#pragma once

#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/CSimTradeAccounts.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct SimPosition {
    std::string market;      // trade market
    std::string code;
    int64_t quantity = 0;    // shares held
    int64_t available = 0;   // shares that may be sold now (not frozen, not bought today)
};

struct SimFunds {
    std::string currency;    // "0" yuan, "1" US dollars, "2" HK dollars
    int64_t balance = 0;     // thousandths
    int64_t available = 0;   // thousandths: balance less what resting buys hold
};

struct SimOrder {
    std::string ordersno;    // the contract number
    std::string fundid, market, secuid, code;
    std::u16string name;
    bool buy = true;
    std::string bsflag;
    int64_t price = 0;       // thousandths: the order's price (a market order's, the last price it met)
    int64_t quantity = 0;
    int64_t fillPrice = 0;   // thousandths: what the fill paid; 0 before one
    int64_t fillQuantity = 0; // shares filled
    enum class Status { Resting, Filled, Cancelled } status = Status::Resting;
    int64_t held = 0;        // resting: thousandths (buy) or shares (sell) held for it
};

// What a placed order came to: an order (contract number) or a refusal.
struct SimOrderResult {
    std::u16string refusal;  // empty when placed
    const SimOrder* order = nullptr;
};

class CSimExchange {
public:
    // Funds and positions seeded for the customers of accounts (the same
    // on every run); a customer without a seed starts with nothing.
    explicit CSimExchange(const CSimTradeAccounts& accounts);

    // The trade market of a listed stock: Shenzhen "0" / "2" (B shares),
    // Shanghai "1" / "3"; empty for an index or a Hong Kong quote.
    static std::string TradeMarketOf(const SimStock& stock);
    // The currency of a trade market.
    static std::string CurrencyOf(std::string_view market);
    // Whether bsflag is a price type of the market and direction.
    static bool IsPriceTypeOf(std::string_view bsflag, std::string_view market, bool buy);

    // Whether orders are taken (a test closes the market).
    void SetMarketOpen(bool open) { m_open = open; }
    bool IsMarketOpen() const { return m_open; }

    std::vector<SimPosition>& Positions(std::string_view fundid);
    std::vector<SimFunds>& Funds(std::string_view fundid);
    const std::vector<SimOrder>& Orders() const { return m_orders; }
    SimFunds* FundsIn(std::string_view fundid, std::string_view currency);
    SimPosition* PositionOf(std::string_view fundid, std::string_view market, std::string_view code);
    // Read-only views for the query functions: the account's orders of
    // today in placing order, its funds and its positions (empty for an
    // unknown fund id; nothing is added).
    std::vector<const SimOrder*> OrdersOf(std::string_view fundid) const;
    std::vector<SimFunds> FundsOf(std::string_view fundid) const;
    std::vector<SimPosition> PositionsOf(std::string_view fundid) const;

    // The most a buy at price (thousandths) can take in whole lots of 100,
    // or the available shares for a sell.
    int64_t MaxQuantity(std::string_view fundid, const SimStock& stock, bool buy, int64_t price);

    // Places an order of holder (its market and account checked by the
    // caller) for stock: price empty for a market-price type, which takes
    // the last price. Refusals: market closed, bad price type, bad price
    // or price step, bad quantity, insufficient funds or position.
    SimOrderResult Place(const SimTradeAccount& account, const SimHolderAccount& holder, const SimStock& stock,
                         std::string_view bsflag, std::string_view price, std::string_view qty);
    // Cancels an order of the account; a refusal text, or empty when done.
    std::u16string Cancel(std::string_view fundid, std::string_view ordersno);

private:
    void Fill(SimOrder& order, int64_t price);

    bool m_open = true;
    int m_nextOrder = 1;
    std::map<std::string, std::vector<SimPosition>, std::less<>> m_positions; // by fund id
    std::map<std::string, std::vector<SimFunds>, std::less<>> m_funds;        // by fund id
    std::vector<SimOrder> m_orders;                                           // in placing order
};
