// The functions of the trade login: 501/17 the broker's sales departments
// (set "yyb": field 0 "yybmc" the name, field 1 "yybdm" the code) and 500/1
// the trade login, which hands out the trade sessions (CSimTradeSessions)
// that every later trade route checks. The
// group keeps the broker's accounts and tokens (CSimTradeAccounts), which
// a test may share to set token seeds:
//
//     auto accounts = std::make_shared<CSimTradeAccounts>();
//     sim.AddRoutes(std::make_unique<CSimTradeLoginRoutes>(accounts));
//     accounts->SetTokenSeed("000300056789", seed);
#pragma once

#include "tools/simulator/CSimTradeAccounts.h"
#include "tools/simulator/CSimTradeSessions.h"
#include "tools/simulator/SimRouteGroup.h"

#include <memory>

class CSimTradeLoginRoutes : public ISimRouteGroup {
public:
    // Over a fresh set of accounts.
    CSimTradeLoginRoutes();
    // Over accounts shared with the caller (null: a fresh set).
    explicit CSimTradeLoginRoutes(std::shared_ptr<CSimTradeAccounts> accounts);

    void AddRoutes(CSimRouteTable& table) override;
    CSimTradeAccounts& Accounts() { return *m_accounts; }
    CSimTradeSessions& Sessions() { return *m_sessions; }

private:
    std::shared_ptr<CSimTradeAccounts> m_accounts;
    std::shared_ptr<CSimTradeSessions> m_sessions = std::make_shared<CSimTradeSessions>();
};
