// The minute-chart functions of the simulated server: 31000/1, a trading
// day of two-minute points for every stock and index, with the market
// index overlaid on demand and the day's information marks, and 504/11,
// the marks' texts. The day is the market's path (SimMarketDay.h) up to
// the server's clock, so each refresh in trading hours brings new points; a
// past day's path runs through that day's K-line bar.
#pragma once

#include "tools/simulator/SimMarketDay.h"
#include "tools/simulator/SimRouteGroup.h"

#include <cstdint>
#include <string>
#include <vector>

struct SimStock;

// The replies of the two functions, for a server clock reading nowMs.
SimReply SimMinuteReply(const SimRequest& request, CSimMarket& market, int64_t nowMs);
SimReply SimMarkTextReply(const SimRequest& request, CSimMarket& market);

// The routes, and the fault hook of the minute function: the next n
// replies carry an "error" set in place of the stock's minutes (set 1) or
// of the overlay (set 3).
class CSimChartRoutes : public ISimRouteGroup {
public:
    void AddRoutes(CSimRouteTable& table) override;

    static void FailMinuteSets(int set1Count, int set3Count);
};
