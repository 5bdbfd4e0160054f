// The minute chart over the market's day paths (SimMarketDay.h): today's
// up to the clock, a past day's through its K-line bar, so the chart, the
// quote tables and the K-line show the same figures.
#include "tools/simulator/SimChartRoutes.h"

#include "core/CQuoteNumber.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/SimKLineRoutes.h"

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
// (a weekend's is the Friday before), day volume and amount. A day without
// trades (yet) sends open 0, which the chart reads as not opened, and the
// previous close as its other prices, as the quote functions do.
void WriteHeaderRow(CDataSetWriter& w, const SimStock& s, const SimMinuteDay& day, double prevClose, int tradeDate,
                    int serverDate) {
    const SimShownPrices shown = SimShownPricesOf(day, prevClose);
    w.AddRow();
    w.SetInt(0, tradeDate);
    w.SetNumber(1, Price(prevClose, s));
    w.SetNumber(2, Price(shown.open, s));
    w.SetNumber(3, Price(shown.high, s));
    w.SetNumber(4, Price(shown.low, s));
    w.SetNumber(5, Price(shown.last, s));
    w.SetInt(6, s.market);
    w.SetInt(7, s.secType);
    w.SetAnsiText(8, s.code);
    w.SetText(9, s.name);
    w.SetAnsiText(11, std::to_string(serverDate));
    w.SetNumber(12, Scaled(static_cast<double>(day.volume)));
    w.SetNumber(13, IsMissing(s.amount) ? Missing() : Scaled(day.amount));
}

void WriteSnapshot(CDataSetWriter& w, const SimStock& s, const SimMinuteDay& day, double prevClose) {
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
    const uint32_t h = SimHash(s.code, 7);
    w.SetNumber(1, Price(opened ? s.OnTick(day.last - prevClose) : 0, s));
    w.SetNumber(2, Ratio(opened && prevClose != 0
                             ? std::round((day.last - prevClose) * 10000.0 / prevClose) / 100.0
                             : 0));
    w.SetNumber(3, Scaled(static_cast<double>(day.volume)));
    w.SetNumber(4, IsMissing(s.amount) ? Missing() : Scaled(day.amount));
    w.SetNumber(5, Price(SimShownPricesOf(day, prevClose).average, s));
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
// One instrument's day on the chart: today's path up to the clock, or a
// past day's whole, through that day's bar.
struct ChartDay {
    SimMinuteDay day;
    double prevClose = 0;
    bool found = true;
};

ChartDay ChartDayOf(const SimStock& s, int tradeDate, const SimMarketTime& now, int64_t nowMs, int line) {
    ChartDay out;
    if (tradeDate == now.date) {
        out.prevClose = s.prevClose;
        out.day = SimMinuteDayOf(s, tradeDate, SimMinutePointsUntil(s.market, now.hhmm), line);
        return out;
    }
    for (const SimKBar& bar : MakeSimKLineBars(s, 513, nowMs)) {
        if (bar.date != tradeDate)
            continue;
        out.prevClose = bar.prevClose;
        const SimDayValues values{bar.open, bar.high, bar.low, bar.close, bar.volume, bar.amount};
        out.day = SimMinutePath(s, values, bar.prevClose, tradeDate, 121, line);
        return out;
    }
    out.found = false;
    return out;
}

SimReply SimMinuteReply(const SimRequest& r, CSimMarket& market, int64_t nowMs) {
    market.SetNow(nowMs);
    const SimStock* s = market.Find(r.Get("code"));
    if (!s || r.Get("code").find('.') == std::string::npos)
        return SimReply::Error(u"无此证券代码");
    const SimMarketTime now = market.Now();
    int tradeDate = now.date;
    int hhmm = now.hhmm;
    const std::string date = r.Get("date");
    if (!date.empty()) {
        const int asked = std::atoi(date.c_str());
        if (asked <= 19900101 || asked > now.today || date.size() != 8)
            return SimReply::Error(u"日期无效");
        if (asked != tradeDate) {
            tradeDate = asked;
            hhmm = 2400;
        }
    }
    const int from = std::atoi(r.Get("time").c_str());
    const ChartDay chart = ChartDayOf(*s, tradeDate, now, nowMs, 0);
    if (!chart.found)
        return SimReply::Error(u"该日无交易");
    const SimMinuteDay& day = chart.day;
    const bool index = s->secType == SimStock::kIndex;
    const SimStock* overlay = index || r.GetInt("addup", 0) == 1 ? OverlayIndexOf(*s, market) : nullptr;
    const ChartDay overlayChart = overlay ? ChartDayOf(*overlay, tradeDate, now, nowMs, index ? 1 : 0) : ChartDay();
    const SimMinuteDay& overlayDay = overlayChart.day;


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
    WriteHeaderRow(w, *s, day, chart.prevClose, tradeDate, now.date);
    if (overlay)
        WriteHeaderRow(w, *overlay, overlayDay, overlayChart.prevClose, tradeDate, now.date);

    if (TakeOne(g_failSet1))
        w.AddErrorSet(u"分时数据暂缺");
    else
        WriteMinuteSet(w, "fs", *s, day, from);
    WriteSnapshot(w, *s, day, chart.prevClose);
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

void CSimChartRoutes::AddRoutes(CSimRouteTable& table) {
    table.Add(kFuncMinutes, Minutes);
    table.Add(kFuncInfoMarks, MarkTexts);
}

void CSimChartRoutes::FailMinuteSets(int set1Count, int set3Count) {
    g_failSet1 = std::max(0, set1Count);
    g_failSet3 = std::max(0, set3Count);
}
