// A simulated instrument's key and tick; see the header.
#include "tools/simulator/SimStock.h"

#include <cmath>
#include <cstdio>

namespace {
double RoundTo(double v, int decimals) {
    double scale = decimals == 3 ? 1000.0 : 100.0;
    // The nudge keeps a half written in decimal (6.505) from rounding down
    // for being stored a hair below it.
    return std::round(v * scale + (v >= 0 ? 1e-7 : -1e-7)) / scale;
}
} // namespace

double SimRound2(double v) { return std::round(v * 100.0) / 100.0; }

std::string SimStock::Key() const {
    char key[32];
    std::snprintf(key, sizeof key, "%s.%02d", code.c_str(), market);
    return key;
}

int SimStock::PriceDecimals() const { return secType == kFund || secType == kBShare ? 3 : 2; }

double SimStock::OnTick(double v) const { return RoundTo(v, PriceDecimals()); }

double SimStock::Change() const { return open == 0 ? 0 : OnTick(last - prevClose); }

double SimStock::ChangePct() const {
    if (open == 0 || prevClose == 0) return 0;
    return SimRound2((last - prevClose) * 100.0 / prevClose);
}
