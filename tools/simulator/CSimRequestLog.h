// The server's request log: the newest requests, bounded in count and in the
// bytes they hold, numbered in the order read, and a count per function for
// the whole run. Every member may be called from any thread.
#pragma once

#include "tools/simulator/SimRouteGroup.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

class CSimRequestLog {
public:
    // Keeps the newest maxRequests requests, fewer when they would hold more
    // than maxBytes of bodies, parameters and headers (the newest one stays).
    void SetBounds(size_t maxRequests, size_t maxBytes);

    // Numbers the request and keeps it.
    void Add(SimRequest request);
    // See CBrokerSimulator for these.
    std::vector<SimRequest> GetAll() const;
    std::vector<SimRequest> GetSince(uint64_t after) const;
    void Clear();
    bool WaitFor(size_t count, int ms) const;
    int Count(int main, int sub) const;

private:
    void Trim();  // under m_mu

    mutable std::mutex m_mu;
    mutable std::condition_variable m_cv;
    std::deque<SimRequest> m_log;
    size_t m_footprint = 0;                     // bytes the kept requests hold, about
    size_t m_maxRequests = 4096, m_maxBytes = 32u << 20;
    uint64_t m_counter = 0;                     // numbers the requests
    size_t m_sinceClear = 0;
    std::map<std::pair<int, int>, int> m_counts;  // requests per function, whole run
};
