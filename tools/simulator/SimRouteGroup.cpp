// The request accessors, the market clock and the route table.
#include "tools/simulator/SimRouteGroup.h"

#include "core/StrUtil.h"
#include "core/UnixTime.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <strings.h>

namespace {
int ParseInt(const std::string& text, int fallback) {
    if (text.empty()) return fallback;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end || errno || v < -2147483647L || v > 2147483647L) return fallback;
    return static_cast<int>(v);
}
} // namespace

std::string SimRequest::Get(std::string_view name) const {
    for (const auto& [k, v] : params)
        if (EqualsNoCase(k, name)) return v;
    return {};
}

bool SimRequest::Has(std::string_view name) const {
    for (const auto& p : params)
        if (EqualsNoCase(p.first, name)) return true;
    return false;
}

int SimRequest::GetInt(std::string_view name, int fallback) const { return ParseInt(Get(name), fallback); }

std::string SimRequest::GetHeader(std::string_view name) const {
    for (const auto& [k, v] : headers)
        if (EqualsNoCase(k, name)) return v;
    return {};
}

int64_t SimClock::NowMs() const {
    if (fixedMs >= 0) return fixedMs;
    // The program's clock: the wall clock, or the driver's in a test.
    return GetUnixTime() * 1000;
}

void CSimRouteTable::Add(int main, int sub, SimHandler handler, SimNeeds needs) {
    m_entries[{main, sub}] = Entry{std::move(handler), needs};
}

const CSimRouteTable::Entry* CSimRouteTable::Find(int main, int sub) const {
    auto it = m_entries.find({main, sub});
    return it == m_entries.end() ? nullptr : &it->second;
}
