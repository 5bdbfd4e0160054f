// The deal details over the simulated market.
#include "tools/simulator/SimDetailRoutes.h"

#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/SimMarketDay.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace {
constexpr int kMaxCount = 1000; // deals in one reply

// A small deterministic mix of the stock's code and a number.
uint32_t Mix(const std::string& code, uint32_t n) {
    uint32_t h = 2166136261u;
    for (char c : code)
        h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    h ^= n * 2654435761u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return h;
}

// 31000/9: "code", "date" ("0" today; the day the clock shows), "time",
// "offset", "direct", "count". Set 0 the header ("zrsp", "name", "code"),
// set 1 the deals ("tm", "zjcj", "cjsl", "direct").
SimReply Deals(const SimRequest& r, SimContext& context) {
    const SimStock* s = context.market.Find(r.Get("code"));
    CDataSetWriter w;
    w.AddSet("hq");
    w.AddColumn(DataSetType::Number, "zrsp", u"昨收");
    w.AddColumn(DataSetType::WideText, "name", u"名称");
    w.AddColumn(DataSetType::AnsiText, "code", u"代码");
    if (s) {
        w.AddRow();
        w.SetNumber(0, CQuoteNumber(s->prevClose, s->PriceDecimals()));
        w.SetText(1, s->name);
        w.SetAnsiText(2, s->code);
    }
    w.AddSet("cjmx");
    w.AddColumn(DataSetType::Int16, "tm", u"时间");
    w.AddColumn(DataSetType::Number, "zjcj", u"价格");
    w.AddColumn(DataSetType::Int32, "cjsl", u"数量");
    w.AddColumn(DataSetType::Int8, "direct", u"方向");
    if (s) {
        const std::vector<SimDeal> deals = SimDealsOf(*s, context.market.Now());
        const int count = std::clamp(r.GetInt("count", 11), 0, kMaxCount);
        for (size_t i : SimDealPage(deals, r.GetInt("time", 0), r.GetInt("offset", 0), r.GetInt("direct", 1), count)) {
            w.AddRow();
            w.SetInt(0, deals[i].time);
            w.SetNumber(1, CQuoteNumber(deals[i].price, s->PriceDecimals()));
            w.SetInt(2, deals[i].lots);
            w.SetInt(3, deals[i].direct);
        }
    }
    return SimReply::Ok(w);
}
} // namespace

std::vector<SimDeal> SimDealsOf(const SimStock& s, const SimMarketTime& now) {
    std::vector<SimDeal> deals;
    const SimMinuteDay day = SimMinuteDayOf(s, now.date, SimMinutePointsUntil(s.market, now.hhmm));
    const double tick = s.PriceDecimals() == 3 ? 0.001 : 0.01;
    double previous = day.open;
    for (size_t k = 0; k < day.points.size(); ++k) {
        const SimMinutePoint& point = day.points[k];
        // One to four deals between the point before and this one, the last
        // at this point's price, sharing its volume.
        const uint32_t h = Mix(s.code, static_cast<uint32_t>(k));
        const int count = 1 + static_cast<int>(h % 4);
        const double from = k == 0 ? day.open : day.points[k - 1].price;
        const double lo = std::min(from, point.price), hi = std::max(from, point.price);
        const int minute = point.time / 100 * 60 + point.time % 100;
        int64_t left = point.volume;
        for (int j = 0; j < count; ++j) {
            const uint32_t g = Mix(s.code, static_cast<uint32_t>(k * 4 + j + 7919));
            const bool closing = j + 1 == count;
            double price = from + (point.price - from) * (j + 1) / count + (static_cast<int>(g % 3) - 1) * tick;
            if (closing) price = point.price;
            if (k == 0 && j == 0) price = day.open;
            price = s.OnTick(std::clamp(price, lo, hi));
            const int64_t lots = closing ? left : point.volume * (1 + static_cast<int64_t>((g >> 8) % 3)) / (3 * count);
            left -= lots;
            SimDeal d;
            // The deals of a two-minute point fall in its two minutes.
            const int at = k == 0 || j < count / 2 ? minute - (k == 0 ? 0 : 1) : minute;
            d.time = at / 60 * 100 + at % 60;
            d.price = price;
            d.lots = static_cast<int>(std::min<int64_t>(lots, 2000000000));
            d.direct = price > previous ? 1 : price < previous ? 2 : 0;
            previous = price;
            deals.push_back(d);
        }
    }
    return deals;
}

std::vector<size_t> SimDealPage(const std::vector<SimDeal>& deals, int time, int offset, int direct, int count) {
    std::vector<size_t> page;
    count = std::clamp(count, 0, kMaxCount);
    offset = std::max(0, offset);
    const size_t size = deals.size();
    if (direct == 1) {
        // Everything up to the deals of the minute shown already.
        size_t end = size;
        if (time != 0) {
            const auto after = std::upper_bound(deals.begin(), deals.end(), time,
                                                [](int t, const SimDeal& d) { return t < d.time; });
            end = static_cast<size_t>(after - deals.begin());
            end = end > static_cast<size_t>(offset) ? end - offset : 0;
        }
        for (size_t i = end; i > 0 && static_cast<int>(page.size()) < count; --i)
            page.push_back(i - 1);
    } else {
        const auto from = std::lower_bound(deals.begin(), deals.end(), time,
                                           [](const SimDeal& d, int t) { return d.time < t; });
        size_t begin = static_cast<size_t>(from - deals.begin()) + offset;
        for (size_t i = begin; i < size && static_cast<int>(page.size()) < count; ++i)
            page.push_back(i);
    }
    return page;
}

void CSimDetailRoutes::AddRoutes(CSimRouteTable& table) {
    table.Add(kFuncDeals, Deals);
}
