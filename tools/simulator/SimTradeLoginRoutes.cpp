// The trade login's functions over the broker's accounts.
#include "tools/simulator/SimTradeLoginRoutes.h"

namespace {
// 501/17: every department, name then code.
SimReply Departments(const CSimTradeAccounts& accounts) {
    CDataSetWriter w;
    w.AddSet("yyb");
    w.AddColumn(DataSetType::WideText, "yybmc", u"营业部名称");
    w.AddColumn(DataSetType::AnsiText, "yybdm", u"营业部代码");
    for (const SimSalesDept& dept : accounts.Departments()) {
        w.AddRow();
        w.SetText(0, dept.name);
        w.SetAnsiText(1, dept.code);
    }
    return SimReply::Ok(w);
}
} // namespace

CSimTradeLoginRoutes::CSimTradeLoginRoutes() : CSimTradeLoginRoutes(nullptr) {}

CSimTradeLoginRoutes::CSimTradeLoginRoutes(std::shared_ptr<CSimTradeAccounts> accounts)
    : m_accounts(accounts ? std::move(accounts) : std::make_shared<CSimTradeAccounts>()) {}

void CSimTradeLoginRoutes::AddRoutes(CSimRouteTable& table) {
    std::shared_ptr<CSimTradeAccounts> accounts = m_accounts;
    table.Add(501, 17, [accounts](const SimRequest&, SimContext&) { return Departments(*accounts); });
}
