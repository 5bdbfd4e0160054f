// The K-line function 31000/2 over the simulated market: bars of every
// period, paged back by date and time, with the moving averages and one
// indicator computed from the bars (formulas in docs/protocol.md).
//
// Each stock's bars are a deterministic walk ending at its quote of the
// day (the newest day bar is the day's open, high, low and last), dated
// back from the latest weekday on the server's clock (China time).
#pragma once

#include "tools/simulator/SimRouteGroup.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

struct SimStock;

// One bar as the simulator keeps it (yuan, hands).
struct SimKBar {
    int32_t date = 0; // yyyymmdd
    int32_t time = 0; // hhmm for minute periods, 0 otherwise
    double prevClose = 0, open = 0, high = 0, low = 0, close = 0;
    double volume = 0, amount = 0;
};

// Every K-line period code: 5, 15, 30, 60 minutes, day, week, month.
bool IsSimKLinePeriod(int period);
// The bars of the stock for the period, oldest first, ending at nowMs.
std::vector<SimKBar> MakeSimKLineBars(const SimStock& stock, int period, int64_t nowMs);

// The missing marker of a computed value (warm-up bars).
inline constexpr double kSimKLineMissing = 999999999.0;
// Simple moving average of the closes over n bars.
std::vector<double> SimMovingAverage(const std::vector<SimKBar>& bars, int n);
// The three indicator columns 14, 15, 16 of the named indicator (ignoring
// case); all missing for an unknown name.
std::array<std::vector<double>, 3> SimIndicator(std::string_view name, const std::vector<SimKBar>& bars);

class CSimKLineRoutes : public ISimRouteGroup {
public:
    void AddRoutes(CSimRouteTable& table) override;
};
