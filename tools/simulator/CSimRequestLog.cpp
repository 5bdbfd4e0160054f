// The request log's ring and counts.
#include "tools/simulator/CSimRequestLog.h"

#include <algorithm>
#include <chrono>

namespace {
constexpr size_t kMaxCountedFunctions = 4096;  // a peer may invent any number of function numbers

// About what a logged request holds on to, for the log's byte bound.
size_t Footprint(const SimRequest& r) {
    size_t n = sizeof r + r.rawBody.size() + r.target.size() + r.sessionKey.size();
    for (const auto& [k, v] : r.params) n += k.size() + v.size() + 64;
    for (const auto& [k, v] : r.headers) n += k.size() + v.size() + 64;
    return n;
}
} // namespace

void CSimRequestLog::SetBounds(size_t maxRequests, size_t maxBytes) {
    std::lock_guard<std::mutex> lock(m_mu);
    m_maxRequests = maxRequests;
    m_maxBytes = maxBytes;
    Trim();
}

void CSimRequestLog::Trim() {
    size_t keep = std::max<size_t>(m_maxRequests, 1);
    // The newest request stays even when it alone is over the byte bound.
    while (m_log.size() > keep || (m_log.size() > 1 && m_footprint > m_maxBytes)) {
        m_footprint -= Footprint(m_log.front());
        m_log.pop_front();
    }
}

void CSimRequestLog::Add(SimRequest request) {
    {
        std::lock_guard<std::mutex> lock(m_mu);
        // Numbered under the same lock as the push, so the log is in number order.
        request.number = ++m_counter;
        auto counted = m_counts.find({request.main, request.sub});
        if (counted != m_counts.end())
            ++counted->second;
        else if (m_counts.size() < kMaxCountedFunctions)
            m_counts.emplace(std::make_pair(request.main, request.sub), 1);
        ++m_sinceClear;
        m_footprint += Footprint(request);
        m_log.push_back(std::move(request));
        Trim();
    }
    m_cv.notify_all();
}

std::vector<SimRequest> CSimRequestLog::GetAll() const {
    std::lock_guard<std::mutex> lock(m_mu);
    return {m_log.begin(), m_log.end()};
}

std::vector<SimRequest> CSimRequestLog::GetSince(uint64_t after) const {
    std::lock_guard<std::mutex> lock(m_mu);
    auto first = std::find_if(m_log.begin(), m_log.end(), [after](const SimRequest& r) { return r.number > after; });
    return {first, m_log.end()};
}

void CSimRequestLog::Clear() {
    std::lock_guard<std::mutex> lock(m_mu);
    m_log.clear();
    m_footprint = 0;
    m_sinceClear = 0;
}

bool CSimRequestLog::WaitFor(size_t count, int ms) const {
    std::unique_lock<std::mutex> lock(m_mu);
    return m_cv.wait_for(lock, std::chrono::milliseconds(ms), [&] { return m_sinceClear >= count; });
}

int CSimRequestLog::Count(int main, int sub) const {
    std::lock_guard<std::mutex> lock(m_mu);
    auto it = m_counts.find({main, sub});
    return it == m_counts.end() ? 0 : it->second;
}
