// The K-line bars and their indicators; see the header and docs/protocol.md.
#include "tools/simulator/SimKLineRoutes.h"

#include "core/CQuoteNumber.h"
#include "core/StrUtil.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/SimMarketDay.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr double kMissing = kSimKLineMissing;
constexpr int kMaxCount = 1000;

bool Missing(double v) { return v == kMissing; }

// A deterministic stream of numbers in [0, 1) per stock and period.
class CSimRandom {
public:
    explicit CSimRandom(uint64_t seed) : m_state(seed) {}
    double Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<double>((z ^ (z >> 31)) >> 11) / 9007199254740992.0;
    }
    // Roughly bell-shaped in [-1, 1].
    double Signed() { return (Next() + Next() + Next()) / 1.5 - 1.0; }

private:
    uint64_t m_state;
};

uint64_t SeedOf(const std::string& key, int period) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : key) h = (h ^ c) * 1099511628211ull;
    return h ^ (static_cast<uint64_t>(period) << 32);
}

int MinutesOf(int period) {
    switch (period) {
    case 257: return 5;
    case 259: return 15;
    case 262: return 30;
    case 268: return 60;
    default: return 0;
    }
}

// Dates of the day, week or month bars, oldest first.
std::vector<std::pair<int32_t, int32_t>> BarStamps(int period, int64_t nowMs) {
    std::vector<std::pair<int32_t, int32_t>> out;
    const int dayCount = period == 513 ? 800 : period == 769 ? 260 * 5 + 5 : 120 * 23;
    const std::vector<int64_t> days = SimTradingDays(nowMs, dayCount);
    for (size_t i = 0; i < days.size(); ++i) {
        const int32_t date = SimDateOfDays(days[i]);
        const bool last = i + 1 == days.size();
        bool closes = true;
        if (period == 769) // the week's last trading day, or today
            closes = last || (days[i + 1] + 3) / 7 != (days[i] + 3) / 7; // Monday starts a week
        else if (period == 1025)
            closes = last || SimDateOfDays(days[i + 1]) / 100 != date / 100;
        if (closes) out.push_back({date, 0});
    }
    if (period == 769 && out.size() > 260) out.erase(out.begin(), out.end() - 260);
    if (period == 1025 && out.size() > 120) out.erase(out.begin(), out.end() - 120);
    return out;
}

double Volatility(int period) {
    switch (period) {
    case 257: return 0.0032;
    case 259: return 0.0055;
    case 262: return 0.0078;
    case 268: return 0.011;
    case 769: return 0.05;
    case 1025: return 0.09;
    default: return 0.022;
    }
}

double VolumeShare(int period, int barsPerDay) {
    if (period == 769) return 5.0;
    if (period == 1025) return 21.0;
    return barsPerDay > 0 ? 1.0 / barsPerDay : 1.0;
}

double Highest(const std::vector<SimKBar>& b, int end, int n) {
    double v = b[end].high;
    for (int i = std::max(0, end - n + 1); i <= end; ++i) v = std::max(v, b[i].high);
    return v;
}

double Lowest(const std::vector<SimKBar>& b, int end, int n) {
    double v = b[end].low;
    for (int i = std::max(0, end - n + 1); i <= end; ++i) v = std::min(v, b[i].low);
    return v;
}

// Exponential average seeded with the first value: e = (2x + (n − 1)e') / (n + 1).
std::vector<double> Ema(const std::vector<double>& x, int n) {
    std::vector<double> out(x.size());
    for (size_t i = 0; i < x.size(); ++i) out[i] = i == 0 ? x[0] : (2 * x[i] + (n - 1) * out[i - 1]) / (n + 1);
    return out;
}

// Wilder's average seeded with the first value: s = (x + (n − 1)s') / n.
std::vector<double> WilderAverage(const std::vector<double>& x, int n) {
    std::vector<double> out(x.size());
    for (size_t i = 0; i < x.size(); ++i) out[i] = i == 0 ? x[0] : (x[i] + (n - 1) * out[i - 1]) / n;
    return out;
}

// Simple average over n values; missing before n values exist or while
// any of them is missing.
std::vector<double> Average(const std::vector<double>& x, int n) {
    std::vector<double> out(x.size(), kMissing);
    for (size_t i = 0; i < x.size(); ++i) {
        if (static_cast<int>(i) + 1 < n) continue;
        double sum = 0;
        bool ok = true;
        for (int k = 0; k < n && ok; ++k) {
            ok = !Missing(x[i - k]);
            sum += x[i - k];
        }
        if (ok) out[i] = sum / n;
    }
    return out;
}

std::vector<double> Closes(const std::vector<SimKBar>& b) {
    std::vector<double> c;
    for (const SimKBar& bar : b) c.push_back(bar.close);
    return c;
}

// Missing for the first n bars.
void WarmUp(std::vector<double>& v, int n) {
    for (int i = 0; i < n && i < static_cast<int>(v.size()); ++i) v[i] = kMissing;
}


using Columns = std::array<std::vector<double>, 3>;

Columns Macd(const std::vector<SimKBar>& b) {
    const std::vector<double> c = Closes(b);
    const std::vector<double> fast = Ema(c, 12), slow = Ema(c, 26);
    std::vector<double> dif(c.size());
    for (size_t i = 0; i < c.size(); ++i) dif[i] = fast[i] - slow[i];
    std::vector<double> dea = Ema(dif, 9);
    std::vector<double> hist(c.size());
    for (size_t i = 0; i < c.size(); ++i) hist[i] = 2 * (dif[i] - dea[i]);
    for (auto* v : {&hist, &dea, &dif}) WarmUp(*v, 25);
    return {hist, dea, dif};
}

Columns Kdj(const std::vector<SimKBar>& b) {
    const size_t n = b.size();
    std::vector<double> k(n), d(n), j(n);
    double pk = 50, pd = 50;
    for (size_t i = 0; i < n; ++i) {
        const double hh = Highest(b, static_cast<int>(i), 9), ll = Lowest(b, static_cast<int>(i), 9);
        const double rsv = hh > ll ? (b[i].close - ll) / (hh - ll) * 100 : 50;
        pk = (2 * pk + rsv) / 3;
        pd = (2 * pd + pk) / 3;
        k[i] = pk;
        d[i] = pd;
        j[i] = 3 * pk - 2 * pd;
    }
    for (auto* v : {&j, &d, &k}) WarmUp(*v, 8);
    return {j, d, k};
}

std::vector<double> Rsi(const std::vector<SimKBar>& b, int n) {
    std::vector<double> up(b.size(), 0), all(b.size(), 0);
    for (size_t i = 1; i < b.size(); ++i) {
        const double change = b[i].close - b[i - 1].close;
        up[i] = std::max(change, 0.0);
        all[i] = std::fabs(change);
    }
    const std::vector<double> su = WilderAverage(up, n), sa = WilderAverage(all, n);
    std::vector<double> out(b.size());
    for (size_t i = 0; i < b.size(); ++i) out[i] = sa[i] > 0 ? su[i] / sa[i] * 100 : 50;
    WarmUp(out, n);
    return out;
}

Columns Boll(const std::vector<SimKBar>& b) {
    const std::vector<double> c = Closes(b);
    const std::vector<double> mid = Average(c, 20);
    std::vector<double> up(c.size(), kMissing), dn(c.size(), kMissing);
    for (size_t i = 19; i < c.size(); ++i) {
        double sq = 0;
        for (int k = 0; k < 20; ++k) sq += (c[i - k] - mid[i]) * (c[i - k] - mid[i]);
        const double sd = std::sqrt(sq / 20);
        up[i] = mid[i] + 2 * sd;
        dn[i] = mid[i] - 2 * sd;
    }
    return {dn, up, mid};
}

std::vector<double> Wr(const std::vector<SimKBar>& b, int n) {
    std::vector<double> out(b.size());
    for (size_t i = 0; i < b.size(); ++i) {
        const double hh = Highest(b, static_cast<int>(i), n), ll = Lowest(b, static_cast<int>(i), n);
        out[i] = hh > ll ? (hh - b[i].close) / (hh - ll) * 100 : 0;
    }
    WarmUp(out, n - 1);
    return out;
}

Columns Dma(const std::vector<SimKBar>& b) {
    const std::vector<double> c = Closes(b);
    const std::vector<double> fast = Average(c, 10), slow = Average(c, 50);
    std::vector<double> ddd(c.size(), kMissing);
    for (size_t i = 0; i < c.size(); ++i)
        if (!Missing(slow[i])) ddd[i] = fast[i] - slow[i];
    return {Average(ddd, 10), ddd, std::vector<double>(c.size(), kMissing)};
}

Columns Aroon(const std::vector<SimKBar>& b) {
    constexpr int n = 25;
    std::vector<double> up(b.size(), kMissing), down(b.size(), kMissing);
    for (size_t i = n; i < b.size(); ++i) {
        size_t hi = i - n, lo = i - n;
        for (size_t k = i - n; k <= i; ++k) {
            if (b[k].high >= b[hi].high) hi = k;
            if (b[k].low <= b[lo].low) lo = k;
        }
        up[i] = (n - static_cast<double>(i - hi)) / n * 100;
        down[i] = (n - static_cast<double>(i - lo)) / n * 100;
    }
    return {down, up, std::vector<double>(b.size(), kMissing)};
}

std::vector<double> Cci(const std::vector<SimKBar>& b) {
    constexpr int n = 14;
    std::vector<double> tp;
    for (const SimKBar& bar : b) tp.push_back((bar.high + bar.low + bar.close) / 3);
    const std::vector<double> ma = Average(tp, n);
    std::vector<double> out(b.size(), kMissing);
    for (size_t i = n - 1; i < b.size(); ++i) {
        double dev = 0;
        for (int k = 0; k < n; ++k) dev += std::fabs(tp[i - k] - ma[i]);
        dev /= n;
        out[i] = dev > 0 ? (tp[i] - ma[i]) / (0.015 * dev) : 0;
    }
    return out;
}

// Parabolic stop and reverse over 4 starting bars, the factor starting at
// 0.02, stepping 0.02 and capped at 0.20.
std::vector<double> Sar(const std::vector<SimKBar>& b) {
    constexpr int n = 4;
    std::vector<double> out(b.size(), kMissing);
    if (static_cast<int>(b.size()) < n) return out;
    bool up = b[n - 1].close >= b[0].close;
    double sar = up ? Lowest(b, n - 1, n) : Highest(b, n - 1, n);
    double ep = up ? Highest(b, n - 1, n) : Lowest(b, n - 1, n);
    double af = 0.02;
    out[n - 1] = sar;
    for (size_t i = n; i < b.size(); ++i) {
        sar += af * (ep - sar);
        if (up) {
            sar = std::min({sar, b[i - 1].low, b[i - 2].low});
            if (b[i].low < sar) {
                up = false;
                sar = ep;
                ep = b[i].low;
                af = 0.02;
            } else if (b[i].high > ep) {
                ep = b[i].high;
                af = std::min(af + 0.02, 0.2);
            }
        } else {
            sar = std::max({sar, b[i - 1].high, b[i - 2].high});
            if (b[i].high > sar) {
                up = true;
                sar = ep;
                ep = b[i].high;
                af = 0.02;
            } else if (b[i].low < ep) {
                ep = b[i].low;
                af = std::min(af + 0.02, 0.2);
            }
        }
        out[i] = sar;
    }
    return out;
}

// The decimals an indicator's values travel with.
int TechDecimals(std::string_view name, const SimStock& s) {
    if (EqualsNoCase(name, "MACD") || EqualsNoCase(name, "DMA")) return 3;
    if (EqualsNoCase(name, "BOLL") || EqualsNoCase(name, "SAR")) return s.PriceDecimals();
    return 2;
}

CQuoteNumber Packed(double v, int decimals) {
    return Missing(v) ? CQuoteNumber(CQuoteNumber::kMissingValue, 0) : CQuoteNumber(v, decimals);
}

CQuoteNumber Count(double v) {
    if (v >= 1e8) return CQuoteNumber(std::round(v / 1e6) / 100.0, 2);
    if (v >= 1e5) return CQuoteNumber(std::round(v / 1e3) / 10.0, 1);
    return CQuoteNumber(v, 0);
}

bool AtOrBefore(const SimKBar& bar, int32_t date, int32_t time) {
    return bar.date < date || (bar.date == date && (time == 0 || bar.time <= time));
}

// 31000/2: code, date, time, type, direct, count, techname.
SimReply KLine(const SimRequest& r, SimContext& context) {
    const SimStock* stock = context.market.Find(r.Get("code"));
    if (!stock) return SimReply::Error(u"证券代码不存在");
    const int period = r.GetInt("type", 513);
    if (!IsSimKLinePeriod(period)) return SimReply::Error(u"K线周期无效");
    const std::vector<SimKBar> bars = MakeSimKLineBars(*stock, period, context.clock.NowMs());
    const int count = std::clamp(r.GetInt("count", 100), 0, kMaxCount);
    const int32_t date = r.GetInt("date", 0);
    const int32_t time = MinutesOf(period) ? r.GetInt("time", 0) : 0;
    const int total = static_cast<int>(bars.size());
    int begin = 0, end = 0; // [begin, end)
    if (date <= 0) {
        end = total;
        begin = std::max(0, end - count);
    } else if (r.GetInt("direct", 1) == 1) {
        end = 0;
        while (end < total && AtOrBefore(bars[end], date, time)) ++end;
        begin = std::max(0, end - count);
    } else {
        begin = 0;
        while (begin < total && AtOrBefore(bars[begin], date, time) &&
               !(bars[begin].date == date && bars[begin].time == time))
            ++begin;
        end = std::min(total, begin + count);
    }
    const std::string tech = r.Get("techname");
    const Columns ind = SimIndicator(tech, bars);
    const std::vector<double> ma[3] = {SimMovingAverage(bars, 30), SimMovingAverage(bars, 10),
                                       SimMovingAverage(bars, 5)};
    const int pd = stock->PriceDecimals();
    const int td = TechDecimals(tech, *stock);

    CDataSetWriter w;
    w.AddSet("hq.kxhead");
    w.AddColumn(DataSetType::Int16, "exchid", u"市场");
    w.AddColumn(DataSetType::Int16, "stktype", u"类别");
    w.AddColumn(DataSetType::AnsiText, "code", u"代码");
    w.AddColumn(DataSetType::WideText, "name", u"名称");
    w.AddColumn(DataSetType::Int32, "count", u"总数");
    for (const char* n : {"zrsp", "jrkp", "zgcj", "zdcj", "zjcj"}) w.AddColumn(DataSetType::Number, n);
    w.AddRow();
    w.SetInt(0, stock->market);
    w.SetInt(1, stock->secType);
    w.SetAnsiText(2, stock->code);
    w.SetText(3, stock->name);
    w.SetInt(4, total);
    // A stock without trades today shows its previous close for every price.
    const double open = stock->open > 0 ? stock->open : stock->prevClose;
    const double head[] = {stock->prevClose, open, stock->high, stock->low, stock->last};
    for (int i = 0; i < 5; ++i) w.SetNumber(5 + i, CQuoteNumber(head[i], pd));

    w.AddSet("hq.kline");
    w.AddColumn(DataSetType::Int32, "date", u"日期");
    w.AddColumn(DataSetType::Int16, "time", u"时间");
    for (const char* n : {"zrsp", "kp", "zg", "zd", "sp", "cjl", "cje"}) w.AddColumn(DataSetType::Number, n);
    w.AddColumn(DataSetType::Int32, "spare");
    w.AddColumn(DataSetType::Int32, "seq");
    for (const char* n : {"ma30", "ma10", "ma5", "tech1", "tech2", "tech3"}) w.AddColumn(DataSetType::Number, n);
    for (int i = begin; i < end; ++i) {
        const SimKBar& b = bars[i];
        w.AddRow();
        w.SetInt(0, b.date);
        w.SetInt(1, b.time);
        const double prices[] = {b.prevClose, b.open, b.high, b.low, b.close};
        for (int c = 0; c < 5; ++c) w.SetNumber(2 + c, CQuoteNumber(prices[c], pd));
        w.SetNumber(7, Count(b.volume));
        w.SetNumber(8, Count(b.amount));
        w.SetInt(10, i);
        for (int c = 0; c < 3; ++c) w.SetNumber(11 + c, Packed(ma[c][i], pd));
        for (int c = 0; c < 3; ++c) w.SetNumber(14 + c, Packed(ind[c][i], td));
    }
    return SimReply::Ok(w);
}

} // namespace

bool IsSimKLinePeriod(int period) {
    switch (period) {
    case 257: case 259: case 262: case 268: case 513: case 769: case 1025: return true;
    default: return false;
    }
}

namespace {

// Bar end times (hhmm) of one day of the market for a minute period.
std::vector<int32_t> SessionTimesOf(int minutes, int market) {
    std::vector<int32_t> out;
    auto add = [&](int from, int to) {
        for (int t = from + minutes; t <= to; t += minutes) out.push_back(t / 60 * 100 + t % 60);
    };
    if (market == 3) {
        add(10 * 60, 12 * 60 + 30);
        add(14 * 60 + 30, 16 * 60);
    } else {
        add(9 * 60 + 30, 11 * 60 + 30);
        add(13 * 60, 15 * 60);
    }
    return out;
}

// The bars of a minute period: each day's path (today's up to the clock, a
// past day's through its day bar) gathered into the period's bars.
std::vector<SimKBar> IntradayBars(const SimStock& stock, int minutes, const SimMarketTime& now, int64_t nowMs) {
    const std::vector<int32_t> times = SessionTimesOf(minutes, stock.market);
    const int days = (480 + static_cast<int>(times.size()) - 1) / static_cast<int>(times.size());
    const std::vector<SimKBar> dayBars = MakeSimKLineBars(stock, 513, nowMs);
    std::vector<SimKBar> out;
    for (int64_t d : SimTradingDays(nowMs, days)) {
        const int32_t date = SimDateOfDays(d);
        SimMinuteDay day;
        double prevClose = stock.prevClose;
        if (d == now.day) {
            day = SimMinuteDayOf(stock, date, SimMinutePointsUntil(stock.market, now.hhmm));
        } else {
            const auto bar = std::find_if(dayBars.begin(), dayBars.end(),
                                          [date](const SimKBar& b) { return b.date == date; });
            if (bar == dayBars.end()) continue;
            prevClose = bar->prevClose;
            const SimDayValues values{bar->open, bar->high, bar->low, bar->close, bar->volume, bar->amount};
            day = SimMinutePath(stock, values, bar->prevClose, date, 121);
        }
        size_t p = 0;
        for (int32_t t : times) {
            if (p >= day.points.size() || day.points[p].time > t) {
                if (p >= day.points.size()) break; // the day goes no further yet
                continue;
            }
            SimKBar b;
            b.date = date;
            b.time = t;
            b.prevClose = out.empty() || out.back().date != date ? prevClose : out.back().close;
            b.open = p == 0 ? day.open : day.points[p].price;
            b.high = b.low = b.open;
            for (; p < day.points.size() && day.points[p].time <= t; ++p) {
                const SimMinutePoint& point = day.points[p];
                b.high = std::max(b.high, point.price);
                b.low = std::min(b.low, point.price);
                b.close = point.price;
                b.volume += static_cast<double>(point.volume);
                b.amount += point.amount;
            }
            out.push_back(b);
        }
    }
    return out;
}

} // namespace

std::vector<SimKBar> MakeSimKLineBars(const SimStock& stock, int period, int64_t nowMs) {
    const SimMarketTime now = SimMarketTimeOf(nowMs);
    if (const int minutes = MinutesOf(period)) return IntradayBars(stock, minutes, now, nowMs);
    const auto stamps = BarStamps(period, nowMs);
    const int n = static_cast<int>(stamps.size());
    std::vector<SimKBar> bars(n);
    if (n == 0) return bars;
    CSimRandom rnd(SeedOf(stock.Key(), period));
    const double vol = Volatility(period);
    const SimDayValues& whole = stock.whole;
    const bool traded = whole.open > 0 && whole.close > 0;
    // The walk runs back from the day's close, so past bars stay put while
    // the day goes on.
    const double end = traded ? whole.close : stock.prevClose;
    const double dayVolume = std::max(whole.volume, 20000.0);
    const bool index = stock.secType == SimStock::kIndex;
    const bool knownAmount = whole.amount != CSimMarket::kMissing && whole.volume > 0;
    // An index's shares are its members': its turnover per share, not the index points.
    const double indexSharePrice = knownAmount ? whole.amount / (whole.volume * 100.0) : 12.0;
    const double floor = stock.OnTick(end * 0.2) > 0 ? stock.OnTick(end * 0.2) : end;
    // Closes walk back from the newest one, drawn towards it so the chart
    // stays in a believable band; yesterday's day bar closes at the previous close.
    std::vector<double> close(n);
    close[n - 1] = end;
    const bool daily = period == 513;
    if (daily && n >= 2) close[n - 2] = stock.prevClose;
    for (int i = (daily ? n - 2 : n - 1); i > 0; --i) {
        const double pull = (end - close[i]) / end * 0.03;
        close[i - 1] = std::max(floor, stock.OnTick(close[i] / (1 + vol * rnd.Signed() - pull)));
    }
    for (int i = 0; i < n; ++i) {
        SimKBar& b = bars[i];
        b.date = stamps[i].first;
        b.time = stamps[i].second;
        b.close = close[i];
        b.prevClose = i > 0 ? close[i - 1] : stock.OnTick(close[0] * (1 - vol * 0.3 * rnd.Signed()));
        b.open = std::max(floor, stock.OnTick(b.prevClose * (1 + vol * 0.3 * rnd.Signed())));
        b.high = stock.OnTick(std::max(b.open, b.close) * (1 + vol * 0.5 * std::fabs(rnd.Signed())));
        b.low = std::max(floor, stock.OnTick(std::min(b.open, b.close) * (1 - vol * 0.5 * std::fabs(rnd.Signed()))));
        b.volume = std::round(dayVolume * VolumeShare(period, 0) * (0.5 + rnd.Next()));
        const double sharePrice = index ? indexSharePrice : (b.high + b.low + b.close) / 3;
        b.amount = std::round(b.volume * 100 * sharePrice);
    }
    // The newest bar holds today as the clock shows it; a day without trades
    // (yet) has no day bar.
    const SimStock today = SimQuoteAt(stock, now);
    const bool tradedNow = today.open > 0;
    SimKBar& newest = bars[n - 1];
    if (daily) {
        if (!tradedNow || newest.date != now.date) {
            if (newest.date == now.date) bars.pop_back();
            return bars;
        }
        newest.prevClose = stock.prevClose;
        newest.open = today.open;
        newest.high = today.high;
        newest.low = today.low;
        newest.close = today.last;
        newest.volume = today.volume;
        newest.amount = today.amount != CSimMarket::kMissing ? today.amount : today.volume * 100 * today.last;
        return bars;
    }
    newest.close = tradedNow ? today.last : stock.prevClose;
    newest.high = std::max(newest.high, tradedNow ? today.high : newest.close);
    newest.low = std::min(newest.low, tradedNow ? today.low : newest.close);
    return bars;
}

std::vector<double> SimMovingAverage(const std::vector<SimKBar>& bars, int n) { return Average(Closes(bars), n); }

std::array<std::vector<double>, 3> SimIndicator(std::string_view name, const std::vector<SimKBar>& bars) {
    if (EqualsNoCase(name, "MACD")) return Macd(bars);
    if (EqualsNoCase(name, "KDJ")) return Kdj(bars);
    if (EqualsNoCase(name, "RSI")) return {Rsi(bars, 24), Rsi(bars, 12), Rsi(bars, 6)};
    if (EqualsNoCase(name, "BOLL")) return Boll(bars);
    if (EqualsNoCase(name, "WR")) return {Wr(bars, 6), Wr(bars, 10), std::vector<double>(bars.size(), kMissing)};
    if (EqualsNoCase(name, "DMA")) return Dma(bars);
    if (EqualsNoCase(name, "AROON")) return Aroon(bars);
    if (EqualsNoCase(name, "CCI"))
        return {Cci(bars), std::vector<double>(bars.size(), kMissing), std::vector<double>(bars.size(), kMissing)};
    if (EqualsNoCase(name, "SAR"))
        return {Sar(bars), std::vector<double>(bars.size(), kMissing), std::vector<double>(bars.size(), kMissing)};
    const std::vector<double> none(bars.size(), kMissing);
    return {none, none, none};
}

void CSimKLineRoutes::AddRoutes(CSimRouteTable& table) { table.Add(kFuncKLine, KLine); }
