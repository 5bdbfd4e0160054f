// The stock information functions of the simulated server that the detail
// pages need beyond the quote fields (31000/4, SimQuoteRoutes): 31000/9, a
// trading day of tick-by-tick deals for every stock and index that traded,
// paged by time and offset.
//
// The deals follow the day's path (SimMarketDay.h) up to the market's clock:
// each two-minute point brings one to four deals that walk from the point
// before to it and share its volume, so the last deal is the quote's last
// price and the deals add up to its volume. A deal is a buy (1) when it
// ticks up, a sell (2) when it ticks down and 0 when it stays.
#pragma once

#include "tools/simulator/SimRouteGroup.h"

#include <vector>

struct SimStock;
struct SimMarketTime;

struct SimDeal {
    int time = 0;       // hhmm
    double price = 0;   // on the stock's tick
    int lots = 0;       // hands of 100 shares
    int direct = 0;     // 0 none, 1 buy, 2 sell
};

// The stock's deals of the day up to the clock, oldest first; none for one
// not traded (yet).
std::vector<SimDeal> SimDealsOf(const SimStock& stock, const SimMarketTime& now);

// The deals one request asks for, as indices into deals in reply order:
// direct 1 the count deals before (time, offset) newest first, time 0 the
// latest; direct 0 the count deals after (time, offset) oldest first. The
// offset counts the deals of that minute the client shows already: the
// latest of the minute for direct 1, the earliest for direct 0.
std::vector<size_t> SimDealPage(const std::vector<SimDeal>& deals, int time, int offset, int direct, int count);

class CSimDetailRoutes : public ISimRouteGroup {
public:
    void AddRoutes(CSimRouteTable& table) override;
};
