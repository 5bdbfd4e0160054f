// The simulated market's one clock and one day: the calendar and hours it
// trades (China time, UTC+8), and each instrument's intraday path, from
// which every quote function reads. A route asks what the clock shows
// (SimMarketTimeOf), and a stock's values at a minute are its path cut
// there: nothing before 09:30, flat over the lunch break, the whole day
// after the close; a weekend or a holiday shows the last trading day whole.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

struct SimStock;

// A well-mixed 32-bit hash of text under seed: the one source of the
// market's fixed per-stock and per-point variety.
uint32_t SimHash(std::string_view text, uint32_t seed);

// What the clock shows.
struct SimMarketTime {
    int64_t day = 0;  // the trading day shown, in days since 1970-01-01
    int date = 0;     // its yyyymmdd
    int today = 0;    // the calendar date in China, yyyymmdd
    int hhmm = 0;     // the minute of the shown day; 2400 when it is over

    bool operator==(const SimMarketTime&) const = default;
};

SimMarketTime SimMarketTimeOf(int64_t nowMs);
// yyyymmdd of a day count since 1970-01-01, and back.
int32_t SimDateOfDays(int64_t days);
int64_t SimDaysOfDate(int year, int month, int day);
// Milliseconds since 1970 (UTC) of a minute in China time.
int64_t SimChinaMs(int year, int month, int day, int hour, int minute);
// Monday to Friday except New Year's day and the May and October holidays.
bool IsSimTradingDay(int64_t days);
// The n latest trading days on or before the one the clock shows, oldest first.
std::vector<int64_t> SimTradingDays(int64_t nowMs, int n);

// The figures of one whole trading day; open 0 when it did not trade.
struct SimDayValues {
    double open = 0, high = 0, low = 0, close = 0;
    double volume = 0; // hands
    double amount = 0; // yuan; kSimMissing when the server does not know it
};

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

// A day's path through its figures: the opening at the first point, the
// high and the low somewhere in the day (the low first for a rising day),
// the close at the last, with a small deterministic wobble that never leaves
// the range; volumes in the usual U shape add up to the day's volume and
// amounts to its amount. Cut to the first count points. line 1 is an
// index's second line.
SimMinuteDay SimMinutePath(const SimStock& stock, const SimDayValues& day, double prevClose, int date, int count,
                           int line = 0);
// The path of the stock's whole day of today (SimStock::whole).
SimMinuteDay SimMinuteDayOf(const SimStock& stock, int date, int count, int line = 0);

// The prices a day shows: its own once it traded; before its first trade
// open 0 (what the client reads as not opened) and the previous close as
// high, low, last and average, so no price of a quote is a bare 0.
struct SimShownPrices {
    double open = 0, high = 0, low = 0, last = 0, average = 0;
};
SimShownPrices SimShownPricesOf(const SimMinuteDay& day, double prevClose);

// The stock as the clock shows it: its day's path cut at the clock's minute.
// One not traded (yet) shows open 0, its previous close as last, high and
// low, and no volume or amount.
SimStock SimQuoteAt(const SimStock& stock, const SimMarketTime& time);
