// The account functions of the simulated broker: the history of past
// orders (500/20) and deals (500/21), the trading password change (500/13),
// and the warrant exercise's pre-check (100/28) and exercise (100/29), for
// the customers of the trade login's group under the sessions it hands out
// (CSimTradeSessions::Check), over the order group's exchange.
//
// History: every customer has a fixed past of orders on the weekdays of the
// 180 days before today (the clock's), in the stocks of its holders'
// markets; some filled, some partly, some cancelled. A page holds the rows
// after the "poststr" cursor (date and contract number, so the order is
// that of the rows), at most request_num and never more than 80.
//
// Warrants: three exercise codes of listed stocks, two in Shanghai A and
// one in Shenzhen A; each customer holds a fixed number of each until it
// exercises them. An exercise pays the exercise price from the yuan funds
// and gives a contract number.
#pragma once

#include "tools/simulator/SimOrderRoutes.h"
#include "tools/simulator/SimRouteGroup.h"
#include "tools/simulator/SimTradeLoginRoutes.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct SimWarrant {
    std::string code;        // the exercise code
    std::string market;      // trade market
    std::u16string name;
    std::string underlying;  // stock key of the underlying ("600010.02")
    std::string exercisePrice; // yuan, two decimals
};

// One past order with what of it was dealt.
struct SimPastOrder {
    std::string date;        // yyyymmdd
    std::string time;        // hhmmss
    std::string ordersno;
    std::string market, secuid, code;
    std::u16string name;
    bool buy = true;
    std::string price;       // yuan as shown
    int64_t quantity = 0;
    int64_t matched = 0;
    std::u16string status;   // "已成", "部撤", "已撤"
    std::string poststr;     // date and contract number
};

class CSimAccountRoutes : public ISimRouteGroup {
public:
    static constexpr int kMaxPageRows = 80;

    CSimAccountRoutes(const CSimTradeLoginRoutes& login, CSimOrderRoutes& orders);

    void AddRoutes(CSimRouteTable& table) override;

    static const std::vector<SimWarrant>& Warrants();
    // The past orders of fundid before the day of nowMs (local time), oldest first.
    std::vector<SimPastOrder> PastOrders(const SimTradeAccount& account, const CSimMarket& market,
                                         int64_t nowMs) const;
    // The warrants of code fundid still holds.
    int64_t WarrantsHeld(const std::string& fundid, const std::string& code);

private:
    const SimTradeAccount* TradeAccount(const SimRequest& request, const SimContext& context,
                                        SimReply* refusal) const;
    SimReply History(const SimRequest& request, SimContext& context, bool deals);
    SimReply ChangePassword(const SimRequest& request, SimContext& context);
    SimReply WarrantPrecheck(const SimRequest& request, SimContext& context);
    SimReply Exercise(const SimRequest& request, SimContext& context);

    std::shared_ptr<CSimTradeAccounts> m_accounts;
    std::shared_ptr<CSimTradeSessions> m_sessions;
    CSimExchange& m_exchange;
    std::map<std::string, int64_t> m_warrantsHeld; // by fundid and code
    int m_nextAuth = 1;
    int m_nextExercise = 1;
};
