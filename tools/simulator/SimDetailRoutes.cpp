// The deal details over the simulated market.
#include "tools/simulator/SimDetailRoutes.h"

#include "tools/simulator/CSimMarket.h"

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

// The trading minutes of a day, hhmm.
std::vector<int> TradingMinutes() {
    std::vector<int> minutes;
    for (int m = 9 * 60 + 30; m <= 11 * 60 + 30; ++m)
        minutes.push_back(m / 60 * 100 + m % 60);
    for (int m = 13 * 60; m <= 15 * 60; ++m)
        minutes.push_back(m / 60 * 100 + m % 60);
    return minutes;
}

// 31000/9: "code", "date" ("0" today; every day is the same here), "time",
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
        const std::vector<SimDeal> deals = SimDealsOf(*s);
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

std::vector<SimDeal> SimDealsOf(const SimStock& s) {
    std::vector<SimDeal> deals;
    if (s.open == 0 || s.last == 0)
        return deals;
    const std::vector<int> minutes = TradingMinutes();
    const double tick = s.PriceDecimals() == 3 ? 0.001 : 0.01;
    // The path: open, then the high a third of the way, the low two thirds
    // of the way (or the other way round for a falling stock), then last.
    const bool rising = s.last >= s.open;
    const double first = rising ? s.low : s.high;
    const double second = rising ? s.high : s.low;
    const double knots[4] = {s.open, first, second, s.last};
    const size_t n = minutes.size();
    double previous = s.open;
    for (size_t k = 0; k < n; ++k) {
        const uint32_t h = Mix(s.code, static_cast<uint32_t>(k));
        int perMinute = static_cast<int>(h % 4);
        if (k == 0 || k + 1 == n)
            perMinute = std::max(perMinute, 1); // the opening and closing deals
        const double at = static_cast<double>(k) / static_cast<double>(n - 1) * 3.0;
        const int leg = std::min(2, static_cast<int>(at));
        const double base = knots[leg] + (knots[leg + 1] - knots[leg]) * (at - leg);
        for (int j = 0; j < perMinute; ++j) {
            const uint32_t g = Mix(s.code, static_cast<uint32_t>(k * 4 + j + 7919));
            double price = base + (static_cast<int>(g % 5) - 2) * tick;
            if (k == 0 && j == 0)
                price = s.open;
            if (k + 1 == n && j + 1 == perMinute)
                price = s.last;
            price = s.OnTick(std::clamp(price, s.low, s.high));
            SimDeal d;
            d.time = minutes[k];
            d.price = price;
            d.lots = 1 + static_cast<int>((g >> 8) % 300);
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
    table.Add(31000, 9, Deals);
}
