// The order form's own queries.
//
// Quote panel: 31000/4 asked with the panel's field list (the five bid and
// ask levels among them) is answered with one set tagged "hq.zx", 34
// columns in field order, the way the form tells its panel reply from its
// trade replies. Any other 31000/4 goes on to the handler that was there
// before (the quote tables' and the detail page's), so this group is
// listed after the quote group.
//
// Amount to repay: 500/75 ("creditid=0&fundid=&moneytype=0" after the
// trade session) gives one set "repay" with the fund account and what its
// margin debt in yuan comes to: a fixed amount per customer, derived from
// its fund account, so runs are the same. Only with the trade login's
// customers and sessions (the constructor that takes the login group).
#pragma once

#include "tools/simulator/SimRouteGroup.h"
#include "tools/simulator/SimTradeLoginRoutes.h"

#include <memory>
#include <string>
#include <string_view>

class CSimOrderFormRoutes : public ISimRouteGroup {
public:
    CSimOrderFormRoutes() = default;
    explicit CSimOrderFormRoutes(const CSimTradeLoginRoutes& login);
    void AddRoutes(CSimRouteTable& table) override;

    // The repayment amount of a fund account, "yuan.fen".
    static std::string RepayAmount(std::string_view fundid);

private:
    SimReply Repayment(const SimRequest& request, const SimContext& context) const;

    std::shared_ptr<CSimTradeAccounts> m_accounts;
    std::shared_ptr<CSimTradeSessions> m_sessions;
};
