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

// The trade login: the account named by type and id, its proof: a one-time
// code of its token (authtype 5), its pass phrase (2), or nothing (0) for an
// account without one, and its trading password. Set 0 holds the session
// text, set 1 the holder accounts.
//
// The code is checked first, whatever the password: the phone spends a code
// on every attempt, a mistyped password included, so the server spends it
// too and its counter keeps pace with the phone's.
SimReply TradeLogin(const SimRequest& request, SimContext& context, CSimTradeAccounts& accounts,
                    CSimTradeSessions& sessions) {
    const SimTradeAccount* account = accounts.FindLogin(request.Get("inputtype"), request.Get("inputid"));
    if (!account)
        return SimReply::Error(u"账号或交易密码错误");
    const int authType = request.GetInt("authtype", -1);
    const std::string authData = request.Get("authdata");
    if (authType == 5) {
        switch (accounts.CheckTokenCode(account->fundid, authData)) {
        case CSimTradeAccounts::TokenCheck::Accepted:
            break;
        case CSimTradeAccounts::TokenCheck::Refused:
            return SimReply::Error(u"令牌验证失败");
        case CSimTradeAccounts::TokenCheck::NoToken:
            return SimReply::Error(u"此认证方式没有申请");
        }
    }
    if (account->password != request.Get("trdpwd"))
        return SimReply::Error(u"账号或交易密码错误");
    if (account->locked)
        return SimReply::Error(u"账户已被锁定，请与营业部联系");
    switch (authType) {
    case 5:
        break;
    case 2:
        if (!account->passPhrase.empty() && account->passPhrase != authData)
            return SimReply::Error(u"认证口令错误");
        break;
    case 0:
        if (!account->passPhrase.empty())
            return SimReply::Error(u"请输入认证口令");
        break;
    default:
        return SimReply::Error(u"不支持的认证方式");
    }
    CDataSetWriter w;
    w.AddSet("session");
    w.AddColumn(DataSetType::AnsiText, "session");
    w.AddRow();
    w.SetAnsiText(0, sessions.Issue(account->fundid, context.session.id, request.Get("imei")));
    w.AddSet("holder");
    const int market = w.AddColumn(DataSetType::AnsiText, "market");
    const int marketName = w.AddColumn(DataSetType::WideText, "~market");
    const int secuid = w.AddColumn(DataSetType::AnsiText, "secuid");
    const int fundid = w.AddColumn(DataSetType::AnsiText, "fundid");
    const int custname = w.AddColumn(DataSetType::WideText, "custname");
    const int orgid = w.AddColumn(DataSetType::AnsiText, "orgid");
    for (const SimHolderAccount& holder : account->holders) {
        w.AddRow();
        w.SetAnsiText(market, holder.market);
        w.SetText(marketName, holder.marketName);
        w.SetAnsiText(secuid, holder.secuid);
        w.SetAnsiText(fundid, account->fundid);
        w.SetText(custname, account->custname);
        w.SetAnsiText(orgid, account->orgid);
    }
    return SimReply::Ok(w);
}
} // namespace

CSimTradeLoginRoutes::CSimTradeLoginRoutes() : CSimTradeLoginRoutes(nullptr) {}

CSimTradeLoginRoutes::CSimTradeLoginRoutes(std::shared_ptr<CSimTradeAccounts> accounts)
    : m_accounts(accounts ? std::move(accounts) : std::make_shared<CSimTradeAccounts>()) {}

void CSimTradeLoginRoutes::AddRoutes(CSimRouteTable& table) {
    std::shared_ptr<CSimTradeAccounts> accounts = m_accounts;
    std::shared_ptr<CSimTradeSessions> sessions = m_sessions;
    table.Add(kFuncSalesDepartments, [accounts](const SimRequest&, SimContext&) { return Departments(*accounts); });
    table.Add(
        kFuncTradeLogin,
        [accounts, sessions](const SimRequest& request, SimContext& context) {
            return TradeLogin(request, context, *accounts, *sessions);
        },
        SimNeeds::Session);
}
