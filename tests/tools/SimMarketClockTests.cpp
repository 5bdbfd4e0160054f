// The simulated market's one clock: at every time of a day (before the
// open, the morning, the lunch break, the afternoon, after the close, a
// weekend) each quote route shows a stock with the same open, last, high,
// low, volume and amount, and no intraday row later than the clock; one not
// traded (yet) shows open 0 and its previous close for every other price on
// every route; a past day's minute chart runs through that day's K-line bar.
#include "SimTestClient.h"

#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/SimMarketDay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {
const std::string kHead = "tc_service=300&tc_isunicode=1&";
// The order form's quote panel asks exactly these fields.
const std::string kPanelFields =
    "1|2|3|4|11|13|14|15|16|17|18|32|29|30|50|51|52|53|54|55|56|57|58|59|70|71|72|73|74|75|76|77|78|79";

// A volume or amount as a comparable number: the 万 or 亿 form the quote
// functions send, whichever way a route rounded it.
double Norm(const CQuoteNumber& n) {
    const double v = n.GetValue();
    if (n.GetCode() == 0 && std::fabs(v) >= 1e8) return std::round(v / 1e6) / 100.0;
    if (n.GetCode() == 0 && std::fabs(v) >= 1e4) return std::round(v / 1e3) / 10.0;
    return v;
}

struct Figures {
    double last = 0, high = 0, low = 0, volume = 0, amount = 0;
};

void ExpectSame(const Figures& want, const Figures& got, const std::string& where) {
    EXPECT_DOUBLE_EQ(got.last, want.last) << where;
    EXPECT_DOUBLE_EQ(got.high, want.high) << where;
    EXPECT_DOUBLE_EQ(got.low, want.low) << where;
    EXPECT_DOUBLE_EQ(got.volume, want.volume) << where;
    EXPECT_DOUBLE_EQ(got.amount, want.amount) << where;
}

class SimMarketClock : public ::testing::Test {
protected:
    void SetUp() override { port = server.Start(0); ASSERT_GT(port, 0); }

    std::unique_ptr<CDataSetList> Ask(const std::string& text) {
        std::unique_ptr<CDataSetList> list = OpenReply(PostRaw(port, kHead + text), "");
        EXPECT_TRUE(list && !list->IsError()) << text;
        return list;
    }
    static CDataSet* Set(const std::unique_ptr<CDataSetList>& list, int index) {
        return list && index < list->GetCount() ? *list->GetAt(index) : nullptr;
    }
    static double Num(CDataSet* set, const char* name) {
        CQuoteNumber n;
        set->GetFieldNumberByName(n, name);
        return n.GetValue();
    }
    static double Count(CDataSet* set, const char* name) {
        CQuoteNumber n;
        set->GetFieldNumberByName(n, name);
        return Norm(n);
    }
    // The row of a quote-field set whose code is code.
    static bool Seek(CDataSet* set, const std::string& code) {
        if (!set || !set->MoveFirst()) return false;
        do
            if (set->GetFieldText(set->FindColumn("code")) == std::u16string(code.begin(), code.end()).c_str()) return true;
        while (set->MoveNext());
        return false;
    }
    static Figures QuoteRow(CDataSet* set) {
        return {Num(set, "zjcj"), Num(set, "zgcj"), Num(set, "zdcj"), Count(set, "cjsl"), Count(set, "cjje")};
    }

    CBrokerSimulator server;
    int port = -1;
};

int Minutes(int hhmm) { return hhmm / 100 * 60 + hhmm % 100; }
} // namespace

TEST_F(SimMarketClock, EveryQuoteRouteShowsTheSameDayUpToTheClock) {
    const struct {
        const char* name;
        int64_t ms;
        int date, hhmm; // the trading day shown and the clock's minute on it
    } clocks[] = {
        {"before the open", SimChinaMs(2026, 12, 7, 9, 10), 20261207, 910},
        {"morning", SimChinaMs(2026, 12, 7, 10, 31), 20261207, 1031},
        {"lunch", SimChinaMs(2026, 12, 7, 12, 15), 20261207, 1215},
        {"afternoon", SimChinaMs(2026, 12, 7, 14, 7), 20261207, 1407},
        {"after the close", SimChinaMs(2026, 12, 7, 16, 40), 20261207, 2400},
        {"a weekend", SimChinaMs(2026, 12, 6, 11, 0), 20261204, 2400},
        {"a holiday", SimChinaMs(2026, 10, 2, 10, 0), 20260930, 2400},
    };
    const char* keys[] = {"600010.02", "600372.02", "510880.02", "000031.01", "000001.02", "100100.03"};
    for (const auto& clock : clocks) {
        server.SetClock(clock.ms);
        for (const char* key : keys) {
            const std::string k = key, code = k.substr(0, 6);
            const bool hongKong = k.ends_with(".03");
            const int shownMinute = hongKong && clock.hhmm < 2400 && clock.hhmm >= 1230 && clock.hhmm < 1432
                                        ? 1230 : clock.hhmm;
            const std::string where = std::string(clock.name) + " " + k;
            const bool index = k == "000001.02" || k == "100100.03";
            auto quote = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=" + k + "&field=3|16|14|15|17|18|13|11|32");
            CDataSet* q = Set(quote, 0);
            ASSERT_TRUE(q && q->MoveFirst()) << where;
            const Figures want = QuoteRow(q);
            const bool traded = Num(q, "jrkp") != 0;
            const double prevClose = Num(q, "zrsp");
            ASSERT_GT(prevClose, 0) << where;
            if (!traded) {
                ExpectSame({prevClose, prevClose, prevClose, 0, 0}, want, where + ": no trades show the previous close");
                EXPECT_DOUBLE_EQ(Num(q, "jj"), prevClose) << where << ": the average too";
            }
            const bool notYet = clock.hhmm < (hongKong ? 1000 : 930);
            if (notYet) {
                EXPECT_FALSE(traded) << where;
            }

            // The order form's panel.
            if (!index) {
                auto panel = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=" + code + "." + k.substr(8) +
                                 "&field=" + kPanelFields);
                CDataSet* p = Set(panel, 0);
                ASSERT_TRUE(p && p->MoveFirst()) << where;
                ExpectSame(want, QuoteRow(p), where + ": order panel");
                EXPECT_DOUBLE_EQ(Num(p, "jrkp"), Num(q, "jrkp")) << where << ": order panel";
                EXPECT_DOUBLE_EQ(Num(p, "zrsp"), prevClose) << where << ": order panel";
            }

            // The minute chart: its header and its points; a stock's with
            // its market index overlaid, whose row is that index's quote.
            auto minute = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=1&code=" + k + "&time=0&date=&addup=" + (index ? "0" : "1"));
            CDataSet* head = Set(minute, 0);
            ASSERT_TRUE(head && head->MoveFirst()) << where;
            EXPECT_EQ(head->GetFieldInt32(0), clock.date) << where;
            ExpectSame(want, QuoteRow(head), where + ": minute header");
            EXPECT_DOUBLE_EQ(Num(head, "zrsp"), prevClose) << where;
            EXPECT_DOUBLE_EQ(Num(head, "jrkp"), Num(q, "jrkp")) << where << ": open 0 only before the first trade";
            if (!index) {
                const std::string overlayKey = k.ends_with(".01") ? "399001.01" : "000001.02";
                auto overlayQuote = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=" + overlayKey + "&field=3|16|14|15|17|18|13|11");
                CDataSet* oq = Set(overlayQuote, 0);
                ASSERT_TRUE(oq && oq->MoveFirst() && head->MoveNext()) << where;
                ExpectSame(QuoteRow(oq), QuoteRow(head), where + ": the overlaid index's header row");
                EXPECT_DOUBLE_EQ(Num(head, "jrkp"), Num(oq, "jrkp")) << where;
                EXPECT_DOUBLE_EQ(Num(head, "zrsp"), Num(oq, "zrsp")) << where;
            }
            CDataSet* snapshot = Set(minute, 2);
            ASSERT_TRUE(snapshot && snapshot->MoveFirst()) << where;
            if (!traded) {
                EXPECT_DOUBLE_EQ(Num(snapshot, "jj"), prevClose) << where << ": the chart's average";
                EXPECT_DOUBLE_EQ(Num(snapshot, "zd"), 0) << where;
            }
            CDataSet* points = Set(minute, 1);
            ASSERT_TRUE(points) << where;
            double lastPrice = prevClose;
            if (points->MoveFirst())
                do {
                    EXPECT_LE(Minutes(points->GetFieldInt16(0)), Minutes(shownMinute)) << where;
                    lastPrice = Num(points, "price");
                } while (points->MoveNext());
            EXPECT_DOUBLE_EQ(lastPrice, want.last) << where;
            EXPECT_EQ(points->GetRowCount() > 0, traded) << where;

            // The K-line: its header, and today's bar only when it traded.
            auto kline = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=2&code=" + k + "&type=513&count=3&date=0");
            CDataSet* khead = Set(kline, 0);
            CDataSet* bars = Set(kline, 1);
            ASSERT_TRUE(khead && khead->MoveFirst() && bars && bars->MoveLast()) << where;
            EXPECT_DOUBLE_EQ(Num(khead, "zjcj"), want.last) << where;
            EXPECT_EQ(bars->GetFieldInt32(0) == clock.date, traded) << where;
            if (traded)
                ExpectSame(want, {Num(bars, "sp"), Num(bars, "zg"), Num(bars, "zd"), Count(bars, "cjl"),
                                  Count(bars, "cje")}, where + ": today's bar");
            else
                EXPECT_DOUBLE_EQ(Num(bars, "sp"), prevClose) << where << ": yesterday closed at the previous close";
            // Today's 30-minute bars end at the clock.
            auto thirty = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=2&code=" + k + "&type=262&count=20&date=0");
            CDataSet* tbars = Set(thirty, 1);
            ASSERT_TRUE(tbars && tbars->MoveLast()) << where;
            if (tbars->GetFieldInt32(0) == clock.date) {
                EXPECT_TRUE(traded) << where;
                EXPECT_LE(Minutes(tbars->GetFieldInt16(1)), Minutes(shownMinute) + 29) << where;
                EXPECT_DOUBLE_EQ(Num(tbars, "sp"), want.last) << where;
            }

            // The deals: the last is the last price, their range and volume the day's.
            if (!hongKong && k != "000001.02") {
                auto deals = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=9&code=" + k + "&date=0&time=0&offset=0&direct=1&count=1000");
                CDataSet* dealHead = Set(deals, 0);
                ASSERT_TRUE(dealHead && dealHead->MoveFirst()) << where;
                EXPECT_DOUBLE_EQ(Num(dealHead, "zrsp"), prevClose) << where;
                CDataSet* d = Set(deals, 1);
                ASSERT_TRUE(d) << where;
                EXPECT_EQ(d->GetRowCount() > 0, traded) << where;
                if (d->MoveFirst()) {
                    EXPECT_DOUBLE_EQ(Num(d, "zjcj"), want.last) << where << ": the newest deal";
                    double high = 0, low = 1e9, lots = 0;
                    do {
                        EXPECT_LE(Minutes(d->GetFieldInt16(0)), Minutes(shownMinute)) << where;
                        high = std::max(high, Num(d, "zjcj"));
                        low = std::min(low, Num(d, "zjcj"));
                        lots += d->GetFieldInt32(2);
                    } while (d->MoveNext());
                    EXPECT_DOUBLE_EQ(high, want.high) << where;
                    EXPECT_DOUBLE_EQ(low, want.low) << where;
                    EXPECT_DOUBLE_EQ(Norm(CQuoteNumber(lots, 0)), want.volume) << where;
                }
            }
        }
        // The ranking and a sector show the same figures as the quote, a
        // traded stock's and the untraded one's.
        const std::string fields = "&field=3|16|14|15|17|18|13|32";
        auto ranking = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=3&market=12&class=A&type=zf&direct=1&offset=0&count=200" +
                           fields);
        for (const auto& [code, sectorCode] : {std::pair{"600010", "HY01"}, std::pair{"600372", "GN01"}}) {
            const std::string where = std::string(clock.name) + " " + code;
            auto quote = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=" + std::string(code) + ".02" + fields);
            auto sector = Ask(std::string("TC_MFUNCNO=100&TC_SFUNCNO=31&sectorcode=") + sectorCode + fields);
            CDataSet* q = Set(quote, 0);
            ASSERT_TRUE(q && q->MoveFirst()) << where;
            for (CDataSet* table : {Set(ranking, 0), Set(sector, 0)}) {
                ASSERT_TRUE(Seek(table, code)) << where;
                ExpectSame(QuoteRow(q), QuoteRow(table), where + ": ranking and sector");
                EXPECT_DOUBLE_EQ(Num(table, "jrkp"), Num(q, "jrkp")) << where;
                EXPECT_DOUBLE_EQ(Num(table, "jj"), Num(q, "jj")) << where;
            }
        }
        // The world table's Hang Seng row is the market's.
        auto world = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=8");
        auto hs = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=100100.03&field=3|16");
        CDataSet* w = Set(world, 0);
        bool found = false;
        if (w && w->MoveFirst())
            do
                if (w->GetFieldText(0) == u"恒生指数") {
                    found = true;
                    ASSERT_TRUE(Set(hs, 0) && Set(hs, 0)->MoveFirst());
                    EXPECT_DOUBLE_EQ(Num(w, "zjcj"), Num(Set(hs, 0), "zjcj")) << clock.name;
                }
            while (w->MoveNext());
        EXPECT_TRUE(found);
    }
}

TEST_F(SimMarketClock, APastDaysMinuteChartRunsThroughItsKLineBar) {
    server.SetClock(SimChinaMs(2026, 12, 7, 10, 31));
    for (const char* key : {"600010.02", "000001.02", "600372.02"}) {
        auto kline = Ask(std::string("TC_MFUNCNO=31000&TC_SFUNCNO=2&code=") + key + "&type=513&count=6&date=0");
        CDataSet* bars = Set(kline, 1);
        ASSERT_TRUE(bars && bars->MoveFirst()) << key;
        const int date = bars->GetFieldInt32(0);
        auto minute = Ask(std::string("TC_MFUNCNO=31000&TC_SFUNCNO=1&code=") + key + "&time=0&date=" +
                          std::to_string(date));
        CDataSet* head = Set(minute, 0);
        ASSERT_TRUE(head && head->MoveFirst()) << key;
        EXPECT_EQ(head->GetFieldInt32(0), date);
        EXPECT_DOUBLE_EQ(Num(head, "zrsp"), Num(bars, "zrsp")) << key;
        EXPECT_DOUBLE_EQ(Num(head, "jrkp"), Num(bars, "kp")) << key;
        ExpectSame({Num(bars, "sp"), Num(bars, "zg"), Num(bars, "zd"), Count(bars, "cjl"), Count(bars, "cje")},
                   QuoteRow(head), std::string(key) + " on " + std::to_string(date));
        EXPECT_EQ(Set(minute, 1)->GetRowCount(), 121) << key;
    }
}

TEST(SimMarketDay, TheCalendarSkipsWeekendsAndHolidaysAndTheClockReadsChinaTime) {
    EXPECT_EQ(SimDateOfDays(SimDaysOfDate(2026, 12, 7)), 20261207);
    EXPECT_FALSE(IsSimTradingDay(SimDaysOfDate(2026, 12, 5))) << "Saturday";
    EXPECT_FALSE(IsSimTradingDay(SimDaysOfDate(2026, 10, 1)));
    EXPECT_FALSE(IsSimTradingDay(SimDaysOfDate(2027, 1, 1)));
    EXPECT_TRUE(IsSimTradingDay(SimDaysOfDate(2026, 12, 7)));
    const SimMarketTime monday = SimMarketTimeOf(SimChinaMs(2026, 12, 7, 9, 29));
    EXPECT_EQ(monday.date, 20261207);
    EXPECT_EQ(monday.hhmm, 929);
    // 01:30 UTC on Monday is 09:30 in China.
    EXPECT_EQ(SimMarketTimeOf(SimChinaMs(2026, 12, 7, 9, 30)).hhmm, 930);
    const SimMarketTime sunday = SimMarketTimeOf(SimChinaMs(2026, 12, 6, 23, 59));
    EXPECT_EQ(sunday.date, 20261204);
    EXPECT_EQ(sunday.today, 20261206);
    EXPECT_EQ(sunday.hhmm, 2400);
}

TEST(SimMarketDay, AStockFollowsTheClockAndAHeldPriceStaysWhateverItSays) {
    CSimMarket market;
    const SimStock whole = *market.Find("600010.02");
    market.SetNow(SimChinaMs(2026, 12, 7, 9, 0));
    EXPECT_EQ(market.Find("600010.02")->open, 0.0) << "before the open";
    EXPECT_EQ(market.Find("600010.02")->last, whole.prevClose);
    market.SetNow(SimChinaMs(2026, 12, 7, 11, 30));
    const SimStock noon = *market.Find("600010.02");
    market.SetNow(SimChinaMs(2026, 12, 7, 12, 59));
    EXPECT_EQ(market.Find("600010.02")->last, noon.last) << "flat over the lunch break";
    EXPECT_EQ(market.Find("600010.02")->volume, noon.volume);
    EXPECT_LT(noon.volume, whole.volume);
    market.SetNow(SimChinaMs(2026, 12, 7, 15, 0));
    EXPECT_EQ(market.Find("600010.02")->last, whole.last) << "the whole day at the close";
    EXPECT_EQ(market.Find("600010.02")->volume, whole.volume);
    ASSERT_TRUE(market.SetLast("600010.02", 9.004));
    market.SetNow(SimChinaMs(2026, 12, 8, 10, 0));
    EXPECT_DOUBLE_EQ(market.Find("600010.02")->last, 9.0);
}
