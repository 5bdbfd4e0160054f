// Trade session texts handed out and checked; see the header.
#include "tools/simulator/CSimTradeSessions.h"


std::string CSimTradeSessions::Issue(std::string_view fundid, std::string_view serviceId) {
    std::lock_guard<std::mutex> hold(m_lock);
    std::string number = std::to_string(++m_issued);
    const std::string id = "T" + std::string(number.size() < 4 ? 4 - number.size() : 0, '0') + number;
    m_sessions[id] = Entry{std::string(fundid), std::string(serviceId)};
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
    if (it == m_sessions.end() || it->second.fundid != fundid || it->second.serviceId != session.id)
        return {};
    return fundid;
}

size_t CSimTradeSessions::Count() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_sessions.size();
}
