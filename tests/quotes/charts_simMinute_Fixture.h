// The minute data of a simulated server's reply on a fixed Saturday
// morning, for the minute view's and side panel's tests.
#pragma once

#include "core/CDataSetList.h"
#include "quotes/charts/CFSData.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/SimChartRoutes.h"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <memory>

namespace sim_minute {

inline int64_t SaturdayMs() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 5;
    t.tm_hour = 9;
    t.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&t)) * 1000;
}

// The minute data of a simulated reply; edit may change the sets first.
inline std::unique_ptr<CFSData> DataOf(const char* code, const char* date = "",
                                       const std::function<void(CDataSetList&)>& edit = {}) {
    CSimMarket market;
    SimRequest r;
    r.params = {{"code", code}, {"time", "0"}, {"date", date}};
    const SimReply reply = SimMinuteReply(r, market, SaturdayMs());
    CDataSetList list(reply.body.data(), static_cast<int>(reply.body.size()));
    if (edit)
        edit(list);
    auto data = std::make_unique<CFSData>();
    EXPECT_EQ(data->ParseReply(list), 1) << code;
    return data;
}

} // namespace sim_minute
