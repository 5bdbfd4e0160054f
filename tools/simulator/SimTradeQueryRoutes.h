// The same-day query functions of the simulated broker over its small
// exchange: today's orders (500/10), today's deals (500/11), the orders
// that may still be cancelled (500/14) and the funds per currency
// (500/12), for the customer of the request's trade session (checked as
// the order functions check it; a "fundid" sent must be that customer's).
// The order tables share their columns: "stkcode", "stkname",
// "orderprice", "orderqty", "ordersno", "market" (the trade market "0" to
// "3"), "secuid", "sign" (1 buy, -1 sell) and the paging column "poststr",
// with a few display columns besides.
#pragma once

#include "tools/simulator/CSimExchange.h"
#include "tools/simulator/SimRouteGroup.h"
#include "tools/simulator/SimTradeLoginRoutes.h"

#include <memory>

class CSimTradeQueryRoutes : public ISimRouteGroup {
public:
    // Over the customers and sessions of login and the exchange the order
    // functions keep (both outlive the routes: the server owns the groups).
    CSimTradeQueryRoutes(const CSimTradeLoginRoutes& login, const CSimExchange& exchange);

    void AddRoutes(CSimRouteTable& table) override;

private:
    enum class Table { Orders, Deals, Cancellable };
    const SimTradeAccount* TradeAccount(const SimRequest& request, const SimContext& context, SimReply* refusal) const;
    SimReply OrderTable(const SimRequest& request, SimContext& context, Table table) const;
    SimReply FundsTable(const SimRequest& request, SimContext& context) const;

    std::shared_ptr<CSimTradeAccounts> m_accounts;
    std::shared_ptr<CSimTradeSessions> m_sessions;
    const CSimExchange& m_exchange;
};
