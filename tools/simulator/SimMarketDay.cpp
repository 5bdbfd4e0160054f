// The market's calendar, hours and intraday paths; see the header.
#include "tools/simulator/SimMarketDay.h"

#include "tools/simulator/SimStock.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

constexpr int64_t kChinaOffsetSeconds = 8 * 3600;

// A value in [-1, 1] for point k.
double Wobble(uint32_t seed, int k) {
    const uint32_t h = SimHash(std::string_view(reinterpret_cast<const char*>(&k), sizeof k), seed);
    return (static_cast<double>(h % 20001) - 10000.0) / 10000.0;
}

// A smooth swing in about [-1, 1] for point k: slow waves with a little
// tick-to-tick noise, so the line wanders as trading does.
double Swing(uint32_t seed, int k) {
    const double p1 = (seed % 628) / 100.0;
    const double p2 = ((seed >> 10) % 628) / 100.0;
    return 0.55 * std::sin(k / 9.0 + p1) + 0.3 * std::sin(k / 3.7 + p2) + 0.15 * Wobble(seed, k);
}

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

} // namespace

uint32_t SimHash(std::string_view text, uint32_t seed) {
    uint32_t h = 2166136261u ^ seed;
    for (char c : text)
        h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

int32_t SimDateOfDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t y = yoe + era * 400;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
    return static_cast<int32_t>(y * 10000 + m * 100 + d);
}

int64_t SimDaysOfDate(int year, int month, int day) {
    const int64_t y = year - (month <= 2);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int64_t SimChinaMs(int year, int month, int day, int hour, int minute) {
    return (SimDaysOfDate(year, month, day) * 86400 + hour * 3600 + minute * 60 - kChinaOffsetSeconds) * 1000;
}

bool IsSimTradingDay(int64_t days) {
    const int64_t weekday = ((days + 4) % 7 + 7) % 7; // 0 Sunday
    if (weekday == 0 || weekday == 6)
        return false;
    const int md = SimDateOfDays(days) % 10000;
    return md != 101 && !(md >= 501 && md <= 503) && !(md >= 1001 && md <= 1007);
}

SimMarketTime SimMarketTimeOf(int64_t nowMs) {
    const int64_t seconds = FloorDiv(nowMs, 1000) + kChinaOffsetSeconds;
    SimMarketTime t;
    t.day = FloorDiv(seconds, 86400);
    t.today = SimDateOfDays(t.day);
    const int64_t second = seconds - t.day * 86400;
    t.hhmm = static_cast<int>(second / 3600 * 100 + second % 3600 / 60);
    if (!IsSimTradingDay(t.day)) {
        while (!IsSimTradingDay(t.day))
            --t.day;
        t.hhmm = 2400;
    }
    t.date = SimDateOfDays(t.day);
    return t;
}

std::vector<int64_t> SimTradingDays(int64_t nowMs, int n) {
    int64_t day = SimMarketTimeOf(nowMs).day;
    std::vector<int64_t> out;
    while (static_cast<int>(out.size()) < n) {
        if (IsSimTradingDay(day))
            out.push_back(day);
        --day;
    }
    std::reverse(out.begin(), out.end());
    return out;
}

int SimMinuteTime(int market, int k) {
    int minute;
    if (market == 3)
        minute = k <= 75 ? 600 + 2 * k : 870 + 2 * (k - 75);
    else
        minute = k <= 60 ? 570 + 2 * k : 780 + 2 * (k - 60);
    return minute / 60 * 100 + minute % 60;
}

int SimMinutePointsUntil(int market, int hhmm) {
    int n = 0;
    while (n <= 120 && SimMinuteTime(market, n) <= hhmm)
        ++n;
    return n;
}

SimMinuteDay SimMinutePath(const SimStock& s, const SimDayValues& d, double prevClose, int date, int count, int line) {
    SimMinuteDay day;
    count = std::clamp(count, 0, 121);
    if (d.open == 0 || count == 0)
        return day;
    const uint32_t seed = SimHash(s.code, static_cast<uint32_t>(date) * 4u + static_cast<uint32_t>(line));
    double last = d.close, high = d.high, low = d.low;
    if (line == 1) {
        // An index's second line: the same opening, a livelier day.
        last = s.OnTick(prevClose + (d.close - prevClose) * 1.4 + prevClose * 0.002);
        high = s.OnTick(std::max(d.open, last) * 1.009);
        low = s.OnTick(std::min(d.open, last) * 0.993);
    }
    const bool rising = last >= d.open;
    const int early = 8 + static_cast<int>(seed % 35);
    const int late = 68 + static_cast<int>((seed >> 8) % 30);
    const int kHigh = rising ? late : early;
    const int kLow = rising ? early : late;
    struct Anchor { int k; double v; };
    const Anchor anchors[4] = {{0, d.open}, {std::min(kHigh, kLow), rising ? low : high},
                               {std::max(kHigh, kLow), rising ? high : low}, {120, last}};
    const double amplitude = (high - low) * 0.07;

    // The whole day first, so that volumes and amounts add up to the day's.
    double prices[121];
    for (int k = 0; k <= 120; ++k) {
        int a = 0;
        while (a < 2 && anchors[a + 1].k < k)
            ++a;
        const Anchor& from = anchors[a];
        const Anchor& to = anchors[a + 1];
        double v = to.k == from.k ? to.v : from.v + (to.v - from.v) * (k - from.k) / (to.k - from.k);
        // The swing fades out towards the anchors, so they stay exact.
        const int nearest = std::min(k - from.k, to.k - k);
        v += amplitude * Swing(seed, k) * std::min(1.0, nearest / 8.0);
        prices[k] = s.OnTick(std::clamp(v, low, high));
    }
    // U-shaped volume weights, the rounding's remainder on the closing point.
    double weights[121];
    double total = 0;
    for (int k = 0; k <= 120; ++k) {
        const double x = (k - 60) / 60.0;
        weights[k] = 1.0 + 1.6 * x * x + 0.35 * Wobble(seed ^ 0x9e3779b9u, k);
        total += weights[k];
    }
    const int64_t dayVolume = d.volume > 0 ? static_cast<int64_t>(std::llround(d.volume)) : 0;
    int64_t volumes[121];
    int64_t volumeSum = 0;
    for (int k = 0; k < 120; ++k) {
        volumes[k] = static_cast<int64_t>(std::floor(static_cast<double>(dayVolume) * weights[k] / total));
        volumeSum += volumes[k];
    }
    volumes[120] = dayVolume - volumeSum;
    // An index trades its members at about the day's average share price.
    const bool index = s.secType == SimStock::kIndex;
    const bool knownAmount = d.amount != kSimMissing && d.amount > 0;
    const double sharePrice = index && knownAmount && d.volume > 0 ? d.amount / (d.volume * 100.0) : 12.0;
    double amounts[121];
    double rawSum = 0;
    for (int k = 0; k <= 120; ++k) {
        const double price = index ? sharePrice * (1.0 + 0.03 * Swing(seed ^ 0x5bd1e995u, k)) : prices[k];
        amounts[k] = static_cast<double>(volumes[k]) * 100.0 * price;
        rawSum += amounts[k];
    }
    const double scale = knownAmount && rawSum > 0 ? d.amount / rawSum : 1.0;
    double amountSum = 0;
    for (int k = 0; k < 120; ++k) {
        amounts[k] = std::round(amounts[k] * scale);
        amountSum += amounts[k];
    }
    amounts[120] = knownAmount ? d.amount - amountSum : std::round(amounts[120]);

    double cumVolume = 0, cumAmount = 0, cumPrice = 0;
    for (int k = 0; k < count; ++k) {
        SimMinutePoint p;
        p.time = SimMinuteTime(s.market, k);
        p.price = prices[k];
        p.volume = volumes[k];
        p.amount = amounts[k];
        cumVolume += static_cast<double>(p.volume);
        cumAmount += p.amount;
        cumPrice += p.price;
        if (index)
            p.average = s.OnTick(cumPrice / (k + 1));
        else
            p.average = cumVolume > 0 ? s.OnTick(cumAmount / (cumVolume * 100.0)) : p.price;
        day.points.push_back(p);
        day.high = k == 0 ? p.price : std::max(day.high, p.price);
        day.low = k == 0 ? p.price : std::min(day.low, p.price);
    }
    day.open = d.open;
    day.last = day.points.back().price;
    day.volume = static_cast<int64_t>(cumVolume);
    day.amount = cumAmount;
    return day;
}

SimMinuteDay SimMinuteDayOf(const SimStock& s, int date, int count, int line) {
    return SimMinutePath(s, s.whole, s.prevClose, date, count, line);
}

SimShownPrices SimShownPricesOf(const SimMinuteDay& day, double prevClose) {
    if (day.points.empty())
        return {0, prevClose, prevClose, prevClose, prevClose};
    return {day.open, day.high, day.low, day.last, day.points.back().average};
}

SimStock SimQuoteAt(const SimStock& stock, const SimMarketTime& time) {
    SimStock s = stock;
    const SimMinuteDay day = SimMinuteDayOf(stock, time.date, SimMinutePointsUntil(stock.market, time.hhmm));
    const SimShownPrices shown = SimShownPricesOf(day, stock.prevClose);
    s.open = shown.open;
    s.high = shown.high;
    s.low = shown.low;
    s.last = shown.last;
    if (day.points.empty()) {
        s.volume = 0;
        s.amount = stock.whole.amount == kSimMissing ? kSimMissing : 0;
        return s;
    }
    s.volume = static_cast<double>(day.volume);
    s.amount = stock.whole.amount == kSimMissing ? kSimMissing : day.amount;
    return s;
}
