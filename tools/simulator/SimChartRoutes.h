// The minute-chart functions of the simulated server: 31000/1, a trading
// day of two-minute points for every stock and index, with the market
// index overlaid on demand and the day's information marks, and 504/11,
// the marks' texts. The day moves with the server's clock: a request in
// trading hours gets the points up to that minute, so each refresh brings
// new ones; a weekend shows the Friday before, whole.
#pragma once

#include "tools/simulator/SimRouteGroup.h"

#include <cstdint>
#include <string>
#include <vector>

struct SimStock;

// One two-minute point of a simulated day.
struct SimMinutePoint {
    int time = 0;         // hhmm
    double price = 0;     // on the stock's tick
    double average = 0;   // the day's average price up to this point
    int64_t volume = 0;   // hands (lots of 100 shares)
    double amount = 0;    // yuan
};

// A day's points: 121 when whole, fewer when the day is still on.
struct SimMinuteDay {
    std::vector<SimMinutePoint> points;
    double open = 0, high = 0, low = 0, last = 0; // over the points held; 0 before the opening
    int64_t volume = 0;   // hands
    double amount = 0;    // yuan
};

// The time (hhmm) of point k (0..120): 0930..1130 then 1302..1500; for
// Hong Kong (market 3) 1000..1230 then 1432..1600.
int SimMinuteTime(int market, int k);
// The number of points of a day whose time is at or before hhmm.
int SimMinutePointsUntil(int market, int hhmm);
// The stock's day: its own path from the opening to the market's last price
// through its high and low (all 121 points), varied by date, cut to the
// first count points. line 1 is an index's second line.
SimMinuteDay SimMinuteDayOf(const SimStock& stock, int date, int count, int line = 0);

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
