// One instrument of the simulated market as its quote functions read it,
// apart from the market that lists it, so that the day's path
// (SimMarketDay.h) and the market (CSimMarket.h) both build on it.
#pragma once

#include "tools/simulator/SimMarketDay.h"

#include <string>

// The marker of a value the server does not know.
inline constexpr double kSimMissing = 999999999.0;

struct SimStock {
    std::string code;          // "600010"
    int market = 0;            // quote market: 1 Shenzhen, 2 Shanghai, 3 Hong Kong
    int secType = 1;           // kAShare, kIndex, kFund or kBShare
    std::u16string name;
    std::string pinyin;        // upper-case initials of the name ("HYYH")
    double prevClose = 0;      // yuan (index points for an index)
    double open = 0;           // 0: not traded today
    double high = 0, low = 0, last = 0;
    double volume = 0;         // hands (lots of 100 shares)
    double amount = 0;         // yuan; missing when the server does not know it
    double orderRatio = 0;     // 委比, percent; missing likewise
    double volumeRatio = 0;    // 量比
    std::string sectors;       // sector codes the stock belongs to, "|"-joined
    SimDayValues whole;        // today's figures at the close, which the day's path runs to

    static constexpr int kAShare = 1, kIndex = 2, kFund = 3, kBShare = 4;

    // "600010.02": the code, a point and the two-digit market.
    std::string Key() const;
    // The decimals of its prices: 3 for funds and B shares, 2 otherwise.
    int PriceDecimals() const;
    // v rounded to the price tick.
    double OnTick(double v) const;
    double Change() const;     // last - previous close; 0 when not opened
    double ChangePct() const;  // percent; 0 when not opened
};

// v rounded to hundredths.
double SimRound2(double v);
