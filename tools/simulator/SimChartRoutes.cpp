// The minute day of a stock is a path through four anchors — the opening
// at the first point, the high and the low somewhere in the day (the low
// first for a stock that rises), the market's last price at the last
// point — with a small deterministic wobble that never leaves the day's
// range, so the chart looks like trading and ends where the quote tables
// say. Volumes follow the usual U shape of a day and add up to the
// market's volume.
#include "tools/simulator/SimChartRoutes.h"

#include "core/CQuoteNumber.h"
#include "tools/simulator/CSimMarket.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string_view>

namespace {

std::atomic<int> g_failSet1{0};
std::atomic<int> g_failSet3{0};

bool TakeOne(std::atomic<int>& count) {
    int n = count.load();
    while (n > 0)
        if (count.compare_exchange_weak(n, n - 1))
            return true;
    return false;
}

uint32_t Hash(std::string_view text, uint32_t seed) {
    uint32_t h = 2166136261u ^ seed;
    for (char c : text)
        h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

// A value in [-1, 1] for point k.
double Wobble(uint32_t seed, int k) {
    const uint32_t h = Hash(std::string_view(reinterpret_cast<const char*>(&k), sizeof k), seed);
    return (static_cast<double>(h % 20001) - 10000.0) / 10000.0;
}

// A smooth swing in about [-1, 1] for point k: slow waves with a little
// tick-to-tick noise, so the line wanders as trading does.
double Swing(uint32_t seed, int k) {
    const double p1 = (seed % 628) / 100.0;
    const double p2 = ((seed >> 10) % 628) / 100.0;
    return 0.55 * std::sin(k / 9.0 + p1) + 0.3 * std::sin(k / 3.7 + p2) + 0.15 * Wobble(seed, k);
}

bool IsMissing(double v) { return v == CSimMarket::kMissing; }
CQuoteNumber Missing() { return CQuoteNumber(CQuoteNumber::kMissingValue, 0); }
CQuoteNumber Price(double v, const SimStock& s) {
    return IsMissing(v) ? Missing() : CQuoteNumber(v, s.PriceDecimals());
}
CQuoteNumber Ratio(double v) { return IsMissing(v) ? Missing() : CQuoteNumber(v, 3); }
// Volumes and amounts with 万 or 亿 as their size asks.
CQuoteNumber Scaled(double v) {
    if (IsMissing(v)) return Missing();
    if (std::fabs(v) >= 1e8) return CQuoteNumber(std::round(v / 1e6) / 100.0, 2);
    if (std::fabs(v) >= 1e4) return CQuoteNumber(std::round(v / 1e3) / 10.0, 1);
    return CQuoteNumber(v, 0);
}

// The server's local date (yyyymmdd) and minute (hhmm) of a clock reading,
// and the trading day it shows: a weekend shows the Friday before, whole.
struct SimToday {
    int date = 0;      // the server's current date
    int tradeDate = 0; // the day the chart shows
    int hhmm = 0;      // the minute; 2400 when the shown day is over
};

int DateOf(const std::tm& t) { return (t.tm_year + 1900) * 10000 + (t.tm_mon + 1) * 100 + t.tm_mday; }

SimToday TodayOf(int64_t ms) {
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm t{};
    localtime_r(&seconds, &t);
    SimToday today;
    today.date = DateOf(t);
    today.tradeDate = today.date;
    today.hhmm = t.tm_hour * 100 + t.tm_min;
    const int back = t.tm_wday == 6 ? 1 : t.tm_wday == 0 ? 2 : 0;
    if (back > 0) {
        const std::time_t friday = seconds - back * 86400;
        std::tm f{};
        localtime_r(&friday, &f);
        today.tradeDate = DateOf(f);
        today.hhmm = 2400;
    }
    return today;
}

// The market index a stock's chart overlays.
const SimStock* OverlayIndexOf(const SimStock& s, const CSimMarket& market) {
    if (s.secType == SimStock::kIndex)
        return &s;
    switch (s.market) {
    case 1: return market.Find("399001.01");
    case 3: return market.Find("100100.03");
    default: return market.Find("000001.02");
    }
}

// The information marks of the simulated days: (stock key, minute after
// midnight, id, title, text).
struct SimMark {
    const char* key;
    int minute;
    const char* id;
    const char16_t* title;
    const char16_t* text;
};

constexpr SimMark kMarks[] = {
    {"600010.02", 571, "81001", u"华岳银行：董事会决议公告", u"公司董事会审议通过年度利润分配预案，每10股派现2.30元。"},
    {"600010.02", 633, "81002", u"华岳银行：大宗交易", u"今日发生大宗交易一笔，成交价8.60元，成交量120万股。"},
    {"600010.02", 632, "81003", u"华岳银行：机构调研", u"本周共有12家机构调研公司，关注零售业务转型。"},
    {"600010.02", 841, "81004", u"华岳银行：融资融券", u"融资余额较上一交易日增加1.2亿元。"},
    {"000031.01", 602, "82001", u"万峰地产：销售简报", u"公司上月实现合同销售面积58.6万平方米。"},
    {"300058.01", 780, "83001", u"智云数据：股价异动公告", u"公司股票连续两个交易日收盘价格涨幅偏离值累计超过20%。"},
};

// One set of minute rows: time, price, volume, amount, average, bar volume.
void WriteMinuteSet(CDataSetWriter& w, const char* tag, const SimStock& s, const SimMinuteDay& day, int from) {
    w.AddSet(tag);
    w.AddColumn(DataSetType::Int16, "time", u"时间");
    w.AddColumn(DataSetType::Number, "price", u"价格");
    w.AddColumn(DataSetType::Number, "volume", u"成交量");
    w.AddColumn(DataSetType::Number, "amount", u"成交额");
    w.AddColumn(DataSetType::Number, "average", u"均价");
    w.AddColumn(DataSetType::Int32, "vol", u"量");
    for (const SimMinutePoint& p : day.points) {
        if (p.time < from)
            continue;
        w.AddRow();
        w.SetInt(0, p.time);
        w.SetNumber(1, Price(p.price, s));
        w.SetNumber(2, Scaled(static_cast<double>(p.volume)));
        w.SetNumber(3, Scaled(p.amount));
        w.SetNumber(4, Price(p.average, s));
        w.SetInt(5, std::min<int64_t>(p.volume, 2000000000));
    }
}

// A header row: trade date, previous close, open, high, low, latest,
// market, type, code, name, (10 unused), the server's current trading day
// (a weekend's is the Friday before), day volume and amount.
void WriteHeaderRow(CDataSetWriter& w, const SimStock& s, const SimMinuteDay& day, int tradeDate, int serverDate) {
    w.AddRow();
    w.SetInt(0, tradeDate);
    w.SetNumber(1, Price(s.prevClose, s));
    w.SetNumber(2, Price(day.open, s));
    w.SetNumber(3, Price(day.high, s));
    w.SetNumber(4, Price(day.low, s));
    w.SetNumber(5, Price(day.last, s));
    w.SetInt(6, s.market);
    w.SetInt(7, s.secType);
    w.SetAnsiText(8, s.code);
    w.SetText(9, s.name);
    w.SetAnsiText(11, std::to_string(serverDate));
    w.SetNumber(12, Scaled(static_cast<double>(day.volume)));
    w.SetNumber(13, IsMissing(s.amount) ? Missing() : Scaled(day.amount));
}

void WriteSnapshot(CDataSetWriter& w, const SimStock& s, const SimMinuteDay& day) {
    w.AddSet("hq");
    w.AddColumn(DataSetType::AnsiText, "code", u"代码");
    for (const char* name : {"zd", "zdf", "cjsl", "cjje", "jj", "wb", "lb", "hsl", "syl"})
        w.AddColumn(DataSetType::Number, name);
    for (int side = 0; side < 2; ++side)
        for (int level = 1; level <= 5; ++level) {
            const std::string n = std::to_string(level);
            w.AddColumn(DataSetType::Number, (side == 0 ? "buy" : "sell") + n);
            w.AddColumn(DataSetType::Int32, (side == 0 ? "buyvol" : "sellvol") + n);
        }
    w.AddRow();
    w.SetAnsiText(0, s.code);
    const bool opened = !day.points.empty();
    const bool index = s.secType == SimStock::kIndex;
    const uint32_t h = Hash(s.code, 7);
    w.SetNumber(1, Price(opened ? s.OnTick(day.last - s.prevClose) : 0, s));
    w.SetNumber(2, Ratio(opened && s.prevClose != 0
                             ? std::round((day.last - s.prevClose) * 10000.0 / s.prevClose) / 100.0
                             : 0));
    w.SetNumber(3, Scaled(static_cast<double>(day.volume)));
    w.SetNumber(4, IsMissing(s.amount) ? Missing() : Scaled(day.amount));
    w.SetNumber(5, Price(opened ? day.points.back().average : 0, s));
    w.SetNumber(6, index ? Ratio(0) : Ratio(s.orderRatio));
    w.SetNumber(7, Ratio(s.volumeRatio));
    w.SetNumber(8, index ? Ratio(0) : Ratio(std::round((h % 900) + 10) / 100.0));
    w.SetNumber(9, index ? Ratio(0) : Ratio(8.0 + (h % 4000) / 100.0));
    if (!opened || index)
        return;
    // Bid 1 at the latest price, ask 1 a tick above; volumes in shares.
    const double tick = s.PriceDecimals() == 3 ? 0.001 : 0.01;
    for (int level = 1; level <= 5; ++level) {
        const int col = 10 + 2 * (level - 1);
        w.SetNumber(col, Price(s.OnTick(day.last - tick * (level - 1)), s));
        w.SetInt(col + 1, 100 * (10 + (level * 37 + static_cast<int>(h % 997)) % 900) + (level * 45) % 100);
        w.SetNumber(col + 10, Price(s.OnTick(day.last + tick * level), s));
        w.SetInt(col + 11, 100 * (10 + (level * 53 + static_cast<int>((h >> 8) % 997)) % 900) + (level * 23) % 100);
    }
}

void WriteMarks(CDataSetWriter& w, const SimStock& s, int tradeDate, int hhmm) {
    const std::string key = s.Key();
    const int minute = hhmm / 100 * 60 + hhmm % 100;
    bool any = false;
    for (const SimMark& m : kMarks)
        any = any || (key == m.key && m.minute <= minute);
    if (!any)
        return;
    w.AddSet("get xxld");
    w.AddColumn(DataSetType::Int32, "date", u"日期");
    w.AddColumn(DataSetType::WideText, "title", u"标题");
    w.AddColumn(DataSetType::Int16, "time", u"时间");
    w.AddColumn(DataSetType::AnsiText, "id", u"编号");
    for (const SimMark& m : kMarks) {
        if (key != m.key || m.minute > minute)
            continue;
        w.AddRow();
        w.SetInt(0, tradeDate);
        w.SetText(1, m.title);
        w.SetInt(2, m.minute);
        w.SetAnsiText(3, m.id);
    }
}

SimReply Minutes(const SimRequest& r, SimContext& context) {
    return SimMinuteReply(r, context.market, context.clock.NowMs());
}

SimReply MarkTexts(const SimRequest& r, SimContext& context) {
    return SimMarkTextReply(r, context.market);
}

} // namespace

// 31000/1: code (a key), addup (1: overlay the market index), time (points
// at or after hhmm; "0" all), date (a past day yyyymmdd; empty: today),
// maxvol and freq (read, not used: every point is two minutes).
SimReply SimMinuteReply(const SimRequest& r, CSimMarket& market, int64_t nowMs) {
    const SimStock* s = market.Find(r.Get("code"));
    if (!s || r.Get("code").find('.') == std::string::npos)
        return SimReply::Error(u"无此证券代码");
    const SimToday today = TodayOf(nowMs);
    int tradeDate = today.tradeDate;
    int hhmm = today.hhmm;
    const std::string date = r.Get("date");
    if (!date.empty()) {
        const int asked = std::atoi(date.c_str());
        if (asked <= 19900101 || asked > today.date || date.size() != 8)
            return SimReply::Error(u"日期无效");
        if (asked != tradeDate) {
            tradeDate = asked;
            hhmm = 2400;
        }
    }
    const int from = std::atoi(r.Get("time").c_str());
    const int count = SimMinutePointsUntil(s->market, hhmm);
    const SimMinuteDay day = SimMinuteDayOf(*s, tradeDate, count);
    const bool index = s->secType == SimStock::kIndex;
    const SimStock* overlay = index || r.GetInt("addup", 0) == 1 ? OverlayIndexOf(*s, market) : nullptr;
    const SimMinuteDay overlayDay =
        overlay ? SimMinuteDayOf(*overlay, tradeDate, count, index ? 1 : 0) : SimMinuteDay();

    CDataSetWriter w;
    w.AddSet("fshead");
    w.AddColumn(DataSetType::Int32, "date", u"日期");
    for (const char* name : {"zrsp", "jrkp", "zgcj", "zdcj", "zjcj"})
        w.AddColumn(DataSetType::Number, name);
    w.AddColumn(DataSetType::Int16, "exchid", u"市场");
    w.AddColumn(DataSetType::Int16, "stktype", u"类别");
    w.AddColumn(DataSetType::AnsiText, "code", u"代码");
    w.AddColumn(DataSetType::WideText, "name", u"名称");
    w.AddColumn(DataSetType::AnsiText, "reserve");
    w.AddColumn(DataSetType::AnsiText, "today", u"当前日期");
    w.AddColumn(DataSetType::Number, "cjsl", u"总量");
    w.AddColumn(DataSetType::Number, "cjje", u"金额");
    WriteHeaderRow(w, *s, day, tradeDate, today.tradeDate);
    if (overlay)
        WriteHeaderRow(w, *overlay, overlayDay, tradeDate, today.tradeDate);

    if (TakeOne(g_failSet1))
        w.AddErrorSet(u"分时数据暂缺");
    else
        WriteMinuteSet(w, "fs", *s, day, from);
    WriteSnapshot(w, *s, day);
    if (overlay) {
        if (TakeOne(g_failSet3))
            w.AddErrorSet(u"指数数据暂缺");
        else
            WriteMinuteSet(w, "hq.fs", *overlay, overlayDay, from);
    }
    WriteMarks(w, *s, tradeDate, hhmm);
    return SimReply::Ok(w);
}

// 504/11: lmdm=xxld, stkcode (a key), id (mark ids joined by ","), date:
// the marks' titles and texts, one line each, in the first set's column 0.
SimReply SimMarkTextReply(const SimRequest& r, CSimMarket& market) {
    const SimStock* s = market.Find(r.Get("stkcode"));
    CDataSetWriter w;
    w.AddSet("xxld");
    w.AddColumn(DataSetType::WideText, "text", u"内容");
    if (!s)
        return SimReply::Ok(w);
    const std::string key = s->Key();
    const std::string all = r.Get("id");
    std::string_view rest = all;
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string_view id = rest.substr(0, comma);
        for (const SimMark& m : kMarks) {
            if (key != m.key || id != m.id)
                continue;
            w.AddRow();
            w.SetText(0, m.title);
            w.AddRow();
            w.SetText(0, m.text);
        }
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return SimReply::Ok(w);
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

SimMinuteDay SimMinuteDayOf(const SimStock& s, int date, int count, int line) {
    SimMinuteDay day;
    count = std::clamp(count, 0, 121);
    if (s.open == 0 || count == 0)
        return day;
    const uint32_t seed = Hash(s.code, static_cast<uint32_t>(date) * 4u + static_cast<uint32_t>(line));
    double last = s.last, high = s.high, low = s.low;
    if (line == 1) {
        // An index's second line: the same opening, a livelier day.
        last = s.OnTick(s.prevClose + (s.last - s.prevClose) * 1.4 + s.prevClose * 0.002);
        high = s.OnTick(std::max(s.open, last) * 1.009);
        low = s.OnTick(std::min(s.open, last) * 0.993);
    }
    const bool rising = last >= s.open;
    const int early = 8 + static_cast<int>(seed % 35);
    const int late = 68 + static_cast<int>((seed >> 8) % 30);
    const int kHigh = rising ? late : early;
    const int kLow = rising ? early : late;
    struct Anchor { int k; double v; };
    Anchor anchors[4] = {{0, s.open}, {std::min(kHigh, kLow), rising ? low : high},
                         {std::max(kHigh, kLow), rising ? high : low}, {120, last}};
    const double amplitude = (high - low) * 0.07;

    // U-shaped volume weights over the whole day, normalised to the day's volume.
    double weights[121];
    double total = 0;
    for (int k = 0; k <= 120; ++k) {
        const double x = (k - 60) / 60.0;
        weights[k] = 1.0 + 1.6 * x * x + 0.35 * Wobble(seed ^ 0x9e3779b9u, k);
        total += weights[k];
    }
    const double dayVolume = s.volume > 0 ? s.volume : 0;
    const bool index = s.secType == SimStock::kIndex;
    double cumVolume = 0, cumAmount = 0, cumPrice = 0;
    for (int k = 0; k < count; ++k) {
        int a = 0;
        while (a < 2 && anchors[a + 1].k < k)
            ++a;
        const Anchor& from = anchors[a];
        const Anchor& to = anchors[a + 1];
        double v = to.k == from.k ? to.v : from.v + (to.v - from.v) * (k - from.k) / (to.k - from.k);
        // The swing fades out towards the anchors, so they stay exact.
        const int nearest = std::min(k - from.k, to.k - k);
        v += amplitude * Swing(seed, k) * std::min(1.0, nearest / 8.0);
        v = s.OnTick(std::clamp(v, low, high));
        SimMinutePoint p;
        p.time = SimMinuteTime(s.market, k);
        p.price = v;
        p.volume = static_cast<int64_t>(std::llround(dayVolume * weights[k] / total));
        // An index trades its members, at some 12 yuan a share.
        const double sharePrice = index ? 12.0 + 0.4 * Swing(seed ^ 0x5bd1e995u, k) : v;
        p.amount = std::round(static_cast<double>(p.volume) * 100.0 * sharePrice);
        cumVolume += static_cast<double>(p.volume);
        cumAmount += p.amount;
        cumPrice += v;
        if (index)
            p.average = s.OnTick(cumPrice / (k + 1));
        else
            p.average = cumVolume > 0 ? s.OnTick(cumAmount / (cumVolume * 100.0)) : v;
        day.points.push_back(p);
        day.high = k == 0 ? v : std::max(day.high, v);
        day.low = k == 0 ? v : std::min(day.low, v);
    }
    day.open = s.open;
    day.high = std::max(day.high, s.open);
    day.low = std::min(day.low, s.open);
    day.last = day.points.back().price;
    day.volume = static_cast<int64_t>(cumVolume);
    day.amount = cumAmount;
    return day;
}

void CSimChartRoutes::AddRoutes(CSimRouteTable& table) {
    table.Add(31000, 1, Minutes);
    table.Add(504, 11, MarkTexts);
}

void CSimChartRoutes::FailMinuteSets(int set1Count, int set3Count) {
    g_failSet1 = std::max(0, set1Count);
    g_failSet3 = std::max(0, set3Count);
}
