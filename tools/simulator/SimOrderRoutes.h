// The order functions of the simulated broker over its small exchange
// (CSimExchange): the maximum quantity of a buy (500/4) and a sell (500/5),
// orders (500/6), cancellations (500/7) and batch orders (100/20). Each
// needs a trade login: the request's "tradesid" must name an account, and
// a "fundid" or "secuid" it sends must be that account's; all but the
// cancellation also check "trdpwd".
#pragma once

#include "tools/simulator/CSimExchange.h"
#include "tools/simulator/SimRouteGroup.h"

class CSimOrderRoutes : public ISimRouteGroup {
public:
    void AddRoutes(CSimRouteTable& table) override;

    // The exchange behind the routes; a test that added its own group
    // reads and changes it between requests.
    CSimExchange& Exchange() { return m_exchange; }

private:
    SimReply MaxQuantity(const SimRequest& request, SimContext& context, bool buy);
    SimReply Order(const SimRequest& request, SimContext& context);
    SimReply CancelOrder(const SimRequest& request, SimContext& context);
    SimReply BatchOrder(const SimRequest& request, SimContext& context);

    CSimExchange m_exchange;
};
