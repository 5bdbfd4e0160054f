// Trade session texts handed out and checked; see the header.
#include "tools/simulator/CSimTradeSessions.h"

#include "tools/simulator/CSimTradeAccounts.h"

namespace {
// Logons count S0001, S0002, ...: a longer number is a later one.
bool IsLaterLogon(std::string_view later, std::string_view earlier) {
    return later.size() != earlier.size() ? later.size() > earlier.size() : later > earlier;
}
} // namespace

std::string CSimTradeSessions::Issue(std::string_view fundid, std::string_view serviceId, std::string_view device) {
    std::lock_guard<std::mutex> hold(m_lock);
    std::string number = std::to_string(++m_issued);
    const std::string id = "T" + std::string(number.size() < 4 ? 4 - number.size() : 0, '0') + number;
    m_sessions[id] = Entry{std::string(fundid), std::string(serviceId), std::string(device)};
    std::string text = "custid=";
    text += fundid;
    text += "&tradesession=";
    text += id;
    return text;
}

std::string CSimTradeSessions::Check(const SimRequest& request, const SimSession& session) const {
    const std::string id = request.Get("tradesession");
    const std::string fundid = request.Get("custid");
    if (id.empty() || fundid.empty())
        return {};
    std::lock_guard<std::mutex> hold(m_lock);
    const auto it = m_sessions.find(id);
    if (it == m_sessions.end() || it->second.fundid != fundid || !session.Known())
        return {};
    Entry& entry = it->second;
    if (entry.serviceId == session.id)
        return fundid;
    // The same phone after a fresh service logon: the trade login goes with it.
    const std::string device = request.Get("imei");
    if (device.empty() || device != entry.device || !IsLaterLogon(session.id, entry.serviceId))
        return {};
    entry.serviceId = session.id;
    return fundid;
}

size_t CSimTradeSessions::Count() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_sessions.size();
}

const SimTradeAccount* CSimTradeSessions::Account(const CSimTradeAccounts& accounts, const SimRequest& request,
                                                  const SimContext& context, SimReply* refusal) const {
    const SimTradeAccount* account = accounts.FindFund(Check(request, context.session));
    if (!account) {
        *refusal = SimReply::Error(u"交易登录已失效，请重新登录", 1);
        return nullptr;
    }
    const std::string fundid = request.Get("fundid");
    if (!fundid.empty() && fundid != account->fundid) {
        *refusal = SimReply::Error(u"资金账号与登录账号不符", 1);
        return nullptr;
    }
    return account;
}
