// The order functions of the simulated broker over its small exchange
// (CSimExchange): the maximum quantity of a buy (500/4) and a sell (500/5),
// orders (500/6), cancellations (500/7) and batch orders (100/20), for the
// customers of the trade login's group (CSimTradeLoginRoutes). Each needs
// a session that group's 500/1 handed out, under the same service logon
// (CSimTradeSessions::Check), and a "fundid" or "secuid" it sends must be
// that account's; all but the cancellation also check "trdpwd".
#pragma once

#include "tools/simulator/CSimExchange.h"
#include "tools/simulator/SimRouteGroup.h"
#include "tools/simulator/SimTradeLoginRoutes.h"

#include <memory>

class CSimOrderRoutes : public ISimRouteGroup {
public:
    // Over the customers and trade sessions of login.
    explicit CSimOrderRoutes(const CSimTradeLoginRoutes& login);

    void AddRoutes(CSimRouteTable& table) override;

    // The exchange behind the routes; a test that added its own group
    // reads and changes it between requests.
    CSimExchange& Exchange() { return m_exchange; }

private:
    // The customer of the request's trade session; null, with the refusal,
    // when it carries none handed out under its logon or names another
    // customer's fund account.
    const SimTradeAccount* TradeAccount(const SimRequest& request, const SimContext& context,
                                        SimReply* refusal) const;
    SimReply MaxQuantity(const SimRequest& request, SimContext& context, bool buy);
    SimReply Order(const SimRequest& request, SimContext& context);
    SimReply CancelOrder(const SimRequest& request, SimContext& context);
    SimReply BatchOrder(const SimRequest& request, SimContext& context);

    std::shared_ptr<CSimTradeAccounts> m_accounts;
    std::shared_ptr<CSimTradeSessions> m_sessions;
    CSimExchange m_exchange;
};
