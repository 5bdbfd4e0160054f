// The simulator's K-line function: bars of every period, paging by date
// and time, the header's layout, and the averages and indicators checked
// against their formulas recomputed from the bars of the reply.
#include "core/CDataSetList.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/SimKLineRoutes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

// 2026-12-04 (a Friday) 07:30 UTC, 15:30 in China.
constexpr int64_t kNowMs = 1796369400000;
constexpr int32_t kMissing = CQuoteNumber::kMissingPacked;

struct CKLineCall {
    CSimMarket market;
    SimClock clock{kNowMs};
    SimSession session;
    CSimRouteTable table;
    CKLineCall() { CSimKLineRoutes().AddRoutes(table); }

    std::unique_ptr<CDataSetList> Get(const std::string& params) {
        SimRequest r;
        std::string rest = params;
        while (!rest.empty()) {
            const size_t amp = rest.find('&');
            const std::string item = rest.substr(0, amp);
            const size_t eq = item.find('=');
            r.params.push_back({item.substr(0, eq), item.substr(eq + 1)});
            rest = amp == std::string::npos ? "" : rest.substr(amp + 1);
        }
        SimContext context{market, clock, session};
        const SimReply reply = table.Find(31000, 2)->handler(r, context);
        return std::make_unique<CDataSetList>(reply.body.data(), static_cast<int>(reply.body.size()));
    }
};

struct Row {
    int32_t date, time;
    double open, high, low, close;
    int32_t cols[6]; // packed 11..16
};

std::vector<Row> Rows(CDataSetList& list) {
    std::vector<Row> out;
    CDataSet* set = *list.GetAt(1);
    if (!set)
        return out;
    set->MoveFirst();
    for (int i = 0; i < set->GetRowCount(); ++i, set->MoveNext()) {
        Row r{set->GetFieldInt32(0), set->GetFieldInt16(1), 0, 0, 0, 0, {}};
        CQuoteNumber n;
        double* prices[] = {&r.open, &r.high, &r.low, &r.close};
        for (int c = 0; c < 4; ++c)
            *prices[c] = (set->GetFieldNumber(n, 3 + c), n.GetValue());
        for (int c = 0; c < 6; ++c)
            r.cols[c] = set->GetFieldInt32(11 + c);
        out.push_back(r);
    }
    return out;
}

double Value(int32_t packed) { return CQuoteNumber().FromPacked(packed).GetValue(); }

TEST(SimKLine, EveryPeriodGivesOrderedConsistentBarsAndAnInt16Header) {
    CKLineCall call;
    for (int period : {257, 259, 262, 268, 513, 769, 1025}) {
        auto list = call.Get("code=600010.02&date=0&time=0&type=" + std::to_string(period) +
                             "&direct=1&count=100&techname=MACD");
        ASSERT_EQ(list->GetCount(), 2) << period;
        CDataSet* head = *list->GetAt(0);
        EXPECT_EQ(head->GetColumn(0)->GetType(), DataSetType::Int16);
        EXPECT_EQ(head->GetColumn(1)->GetType(), DataSetType::Int16);
        head->MoveFirst();
        EXPECT_EQ(head->GetFieldInt16(0), 2);
        const std::vector<Row> rows = Rows(*list);
        ASSERT_EQ(rows.size(), 100u) << period;
        EXPECT_EQ(rows.back().date, 20261204) << period;
        const bool minutes = period < 513;
        EXPECT_EQ(rows.back().time, minutes ? 1500 : 0) << period;
        for (size_t i = 0; i < rows.size(); ++i) {
            const Row& r = rows[i];
            EXPECT_LE(r.low, std::min(r.open, r.close)) << period << " " << i;
            EXPECT_GE(r.high, std::max(r.open, r.close)) << period << " " << i;
            EXPECT_GT(r.low, 0);
            if (i > 0) {
                EXPECT_TRUE(r.date > rows[i - 1].date || (r.date == rows[i - 1].date && r.time > rows[i - 1].time));
            }
        }
    }
    auto bad = call.Get("code=600010.02&type=514");
    EXPECT_GE((*bad->GetAt(0))->IsError() ? 1 : 0, 1);
    EXPECT_TRUE((*call.Get("code=999999.02&type=513")->GetAt(0))->IsError());
}

TEST(SimKLine, PagesEndWithTheNamedBarInclusiveAndStopBeforeTheFirst) {
    CKLineCall call;
    const std::vector<Row> all = Rows(*call.Get("code=600010.02&date=0&type=257&count=1000"));
    ASSERT_GT(all.size(), 200u);
    const Row& at = all[150];
    auto page = Rows(*call.Get("code=600010.02&type=257&direct=1&count=20&date=" + std::to_string(at.date) +
                               "&time=" + std::to_string(at.time)));
    ASSERT_EQ(page.size(), 20u);
    EXPECT_EQ(page.back().date, at.date);
    EXPECT_EQ(page.back().time, at.time);
    EXPECT_EQ(page.front().time, all[131].time);
    // Day bars page by the date alone; before the first bar nothing comes.
    const std::vector<Row> days = Rows(*call.Get("code=600010.02&date=0&type=513&count=1000"));
    auto first = Rows(*call.Get("code=600010.02&type=513&count=30&time=1500&date=" + std::to_string(days[0].date)));
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].date, days[0].date);
    auto none = call.Get("code=600010.02&type=513&count=30&date=" + std::to_string(days[0].date - 1));
    ASSERT_EQ(none->GetCount(), 2);
    EXPECT_EQ((*none->GetAt(1))->GetRowCount(), 0);
}

TEST(SimKLine, AveragesAndIndicatorsFollowTheirFormulas) {
    CKLineCall call;
    const auto get = [&](const char* tech) {
        return Rows(*call.Get(std::string("code=600010.02&date=0&type=513&count=1000&techname=") + tech));
    };
    const std::vector<Row> macd = get("macd");
    ASSERT_EQ(macd.size(), 800u);
    const double tick = 0.0051; // one packed step and the rounding of the inputs
    // Moving averages: columns 11, 12, 13 are MA30, MA10, MA5.
    for (size_t i : {29u, 100u, 799u}) {
        double s5 = 0, s30 = 0;
        for (size_t k = 0; k < 30; ++k)
            s30 += macd[i - k].close, s5 += k < 5 ? macd[i - k].close : 0;
        EXPECT_NEAR(Value(macd[i].cols[0]), s30 / 30, tick) << i;
        EXPECT_NEAR(Value(macd[i].cols[2]), s5 / 5, tick) << i;
    }
    EXPECT_EQ(macd[28].cols[0], kMissing);
    EXPECT_EQ(macd[3].cols[2], kMissing);
    // MACD: DIF in 16, DEA in 15, histogram in 14.
    double fast = macd[0].close, slow = fast, dea = 0;
    for (size_t i = 0; i < macd.size(); ++i) {
        if (i > 0) {
            fast = (2 * macd[i].close + 11 * fast) / 13;
            slow = (2 * macd[i].close + 25 * slow) / 27;
        }
        const double dif = fast - slow;
        dea = i == 0 ? dif : (2 * dif + 8 * dea) / 10;
        if (i < 25) {
            EXPECT_EQ(macd[i].cols[5], kMissing) << i;
        } else if (i % 97 == 0) {
            EXPECT_NEAR(Value(macd[i].cols[5]), dif, 0.0006) << i;
            EXPECT_NEAR(Value(macd[i].cols[4]), dea, 0.0006) << i;
            EXPECT_NEAR(Value(macd[i].cols[3]), 2 * (dif - dea), 0.0011) << i;
        }
    }
    // BOLL: middle 16 = MA20, the bands two deviations apart.
    const std::vector<Row> boll = get("BOLL");
    for (size_t i : {19u, 400u}) {
        double sum = 0, sq = 0;
        for (size_t k = 0; k < 20; ++k)
            sum += boll[i - k].close;
        for (size_t k = 0; k < 20; ++k)
            sq += std::pow(boll[i - k].close - sum / 20, 2);
        EXPECT_NEAR(Value(boll[i].cols[5]), sum / 20, tick);
        EXPECT_NEAR(Value(boll[i].cols[4]) - Value(boll[i].cols[3]), 4 * std::sqrt(sq / 20), 2 * tick);
    }
    // KDJ: J = 3K − 2D; WR within 0..100; CCI alone in column 14.
    for (const Row& r : get("kdj")) {
        if (r.cols[5] != kMissing) {
            EXPECT_NEAR(Value(r.cols[3]), 3 * Value(r.cols[5]) - 2 * Value(r.cols[4]), 0.03);
        }
    }
    for (const Row& r : get("WR")) {
        if (r.cols[3] != kMissing) {
            EXPECT_TRUE(Value(r.cols[3]) >= 0 && Value(r.cols[3]) <= 100);
        }
    }
    const std::vector<Row> cci = get("CCI");
    EXPECT_EQ(cci[12].cols[3], kMissing);
    EXPECT_NE(cci[13].cols[3], kMissing);
    EXPECT_EQ(cci[500].cols[4], kMissing);
    // SAR lies outside the bar it follows: below lows in a rise, above highs in a fall.
    for (const Row& r : get("sar")) {
        if (r.cols[3] != kMissing) {
            EXPECT_TRUE(Value(r.cols[3]) <= r.high + tick || Value(r.cols[3]) >= r.low - tick);
        }
    }
    for (const Row& r : get("none"))
        EXPECT_EQ(r.cols[3], kMissing);
}

} // namespace
