// The order form panel's quote over the simulated market, and the amount to repay.
#include "tools/simulator/SimOrderFormRoutes.h"

#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/CSimTradeAccounts.h"
#include "tools/simulator/CSimTradeSessions.h"

#include <cstdint>

namespace {
// The order form's field list, as it sends it.
constexpr char kPanelFields[] =
    "1|2|3|4|11|13|14|15|16|17|18|32|29|30|50|51|52|53|54|55|56|57|58|59|70|71|72|73|74|75|76|77|78|79";
constexpr int kErrTrade = 1;
} // namespace

CSimOrderFormRoutes::CSimOrderFormRoutes(const CSimTradeLoginRoutes& login)
    : m_accounts(login.SharedAccounts()), m_sessions(login.SharedSessions()) {}

void CSimOrderFormRoutes::AddRoutes(CSimRouteTable& table) {
    const CSimRouteTable::Entry* before = table.Find(kFuncQuoteFields);
    SimHandler next = before ? before->handler : SimHandler();
    table.Add(kFuncQuoteFields, [next](const SimRequest& r, SimContext& context) -> SimReply {
        if (r.Get("field") != kPanelFields)
            return next ? next(r, context) : SimReply::Error(u"无此功能");
        const std::vector<int> fields = CSimMarket::ParseFieldList(kPanelFields);
        CDataSetWriter w;
        w.AddSet("hq.zx");
        CSimMarket::AddFieldColumns(w, fields);
        // One stock, by its full key; an unknown key gives no row.
        if (const SimStock* s = context.market.Find(r.Get("code")); s && r.Get("code").find('.') != std::string::npos)
            CSimMarket::WriteFieldRow(w, fields, *s);
        return SimReply::Ok(w);
    });
    if (m_accounts && m_sessions)
        table.Add(kFuncMaxQuantity, [this](const SimRequest& r, SimContext& c) { return Repayment(r, c); });
}

std::string CSimOrderFormRoutes::RepayAmount(std::string_view fundid) {
    // FNV-1a of the fund account: between 500.00 and 50499.99 yuan.
    std::uint32_t h = 2166136261u;
    for (char c : fundid) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    const std::uint32_t fen = 50000u + h % 5000000u;
    std::string out = std::to_string(fen / 100);
    out += '.';
    out += static_cast<char>('0' + fen % 100 / 10);
    out += static_cast<char>('0' + fen % 10);
    return out;
}

SimReply CSimOrderFormRoutes::Repayment(const SimRequest& request, const SimContext& context) const {
    SimReply refusal;
    const SimTradeAccount* account = m_sessions->Account(*m_accounts, request, context, &refusal);
    if (!account)
        return refusal;
    if (request.Get("creditid") != "0" || request.Get("moneytype") != "0")
        return SimReply::Error(u"信用合同或币种有误", kErrTrade);
    CDataSetWriter w;
    w.AddSet("repay");
    const int fund = w.AddColumn(DataSetType::AnsiText, "fundid", u"资金账号");
    const int repay = w.AddColumn(DataSetType::AnsiText, "repay", u"需还款额");
    w.AddRow();
    w.SetAnsiText(fund, account->fundid);
    w.SetAnsiText(repay, RepayAmount(account->fundid));
    return SimReply::Ok(w);
}
