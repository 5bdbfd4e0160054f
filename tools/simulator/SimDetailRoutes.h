// The stock information functions of the simulated server that the detail
// pages need beyond the quote fields (31000/4, SimQuoteRoutes): 31000/9, a
// trading day of tick-by-tick deals for every stock and index that traded,
// paged by time and offset.
//
// The day is whole whatever the clock says (09:30 to 11:30, 13:00 to 15:00),
// so pages and screens are the same on every run: each minute holds zero to
// three deals, the price walks from the open through the high and the low to
// the last price, and a deal is a buy (1) when it ticks up, a sell (2) when
// it ticks down and 0 when it stays.
#pragma once

#include "tools/simulator/SimRouteGroup.h"

#include <vector>

struct SimStock;

struct SimDeal {
    int time = 0;       // hhmm
    double price = 0;   // on the stock's tick
    int lots = 0;       // hands of 100 shares
    int direct = 0;     // 0 none, 1 buy, 2 sell
};

// The stock's deals of the day, oldest first; none for one not traded.
std::vector<SimDeal> SimDealsOf(const SimStock& stock);

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
