// A new screen group's routes are listed here and nowhere else.
#include "tools/simulator/SimRouteGroups.h"

#include "tools/simulator/SimAccountRoutes.h"
#include "tools/simulator/SimBranchRoutes.h"
#include "tools/simulator/SimChartRoutes.h"
#include "tools/simulator/SimDetailRoutes.h"
#include "tools/simulator/SimInfoRoutes.h"
#include "tools/simulator/SimKLineRoutes.h"
#include "tools/simulator/SimOrderFormRoutes.h"
#include "tools/simulator/SimOrderRoutes.h"
#include "tools/simulator/SimQuoteRoutes.h"
#include "tools/simulator/SimStartupRoutes.h"
#include "tools/simulator/SimTokenRoutes.h"
#include "tools/simulator/SimTradeLoginRoutes.h"
#include "tools/simulator/SimTradeQueryRoutes.h"

std::vector<std::unique_ptr<ISimRouteGroup>> MakeRouteGroups() {
    std::vector<std::unique_ptr<ISimRouteGroup>> groups;
    groups.push_back(std::make_unique<CSimDetailRoutes>());
    groups.push_back(std::make_unique<CSimStartupRoutes>());
    groups.push_back(std::make_unique<CSimQuoteRoutes>());
    groups.push_back(std::make_unique<CSimChartRoutes>());
    auto login = std::make_unique<CSimTradeLoginRoutes>();
    // The order functions trade for the customers the login knows, under
    // the sessions it hands out.
    auto orders = std::make_unique<CSimOrderRoutes>(*login);
    // A token applied for works for the login: the same accounts.
    auto tokens = std::make_unique<CSimTokenRoutes>(login->SharedAccounts());
    // The same-day queries read the exchange the order functions keep.
    auto queries = std::make_unique<CSimTradeQueryRoutes>(*login, orders->Exchange());
    // History, password change and warrant exercise, over the same customers and exchange.
    auto accountRoutes = std::make_unique<CSimAccountRoutes>(*login, *orders);
    // The order form's amount to repay, for the same customers and sessions.
    auto orderForm = std::make_unique<CSimOrderFormRoutes>(*login);
    groups.push_back(std::move(login));
    groups.push_back(std::move(orders));
    groups.push_back(std::move(tokens));
    groups.push_back(std::move(queries));
    groups.push_back(std::move(accountRoutes));
    groups.push_back(std::make_unique<CSimInfoRoutes>());
    groups.push_back(std::make_unique<CSimBranchRoutes>());
    groups.push_back(std::make_unique<CSimKLineRoutes>());
    // After the quote group: it hands the other 31000/4 requests on to it.
    groups.push_back(std::move(orderForm));
    return groups;
}
