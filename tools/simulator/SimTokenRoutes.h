// The phone-token functions: 500/69 the token application (sealed; needs a
// logon) and 100/5 the token texts.
//
// 500/69 takes inputtype, custorgid, inputid, trdpwd and mobileno, checks
// the account and its trading password like the login, and gives the
// customer a new token: a seed of 40 hexadecimal characters, different at
// each application, set on the shared accounts (CSimTradeAccounts) with
// the counter at 1, so a code of the stored seed then works for the login.
// One set "token", row 0: "seed", "fundidlist" (the fund account) and
// "secuidlist" (the holder accounts), lists comma-separated.
//
// 100/5: set 0 "dyncode" with "usage", "risk" and "tip", one row a paragraph.
#pragma once

#include "tools/simulator/CSimTradeAccounts.h"
#include "tools/simulator/SimRouteGroup.h"

#include <map>
#include <memory>
#include <string>

class CSimTokenRoutes : public ISimRouteGroup {
public:
    explicit CSimTokenRoutes(std::shared_ptr<CSimTradeAccounts> accounts);
    void AddRoutes(CSimRouteTable& table) override;

    // The seed the n-th application (from 1) of fundid hands out.
    static std::string SeedFor(std::string_view fundid, int application);

private:
    std::shared_ptr<CSimTradeAccounts> m_accounts;
    std::shared_ptr<std::map<std::string, int>> m_applications = std::make_shared<std::map<std::string, int>>();
};
