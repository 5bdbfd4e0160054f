// The K-line view's rules without a window: panels and visible counts,
// ranges per indicator, the shift when older bars arrive, bar shapes, the
// strip and legend texts, and the touch, scroll and indicator decisions.
#include "charts_kline_Fixture.h"
#include "quotes/charts/CKXChartView.h"
#include "quotes/charts/KLineMath.h"
#include "platform/gdi/CSurface.h"

#include <gtest/gtest.h>

using namespace kline_fixture;

namespace {

constexpr CSize kLabel{60, 20};

std::vector<Bar> WithTech(std::vector<Bar> bars, double t1, double t2, double t3) {
    for (Bar& b : bars) {
        b.tech[0] = t1;
        b.tech[1] = t2;
        b.tech[2] = t3;
    }
    return bars;
}

void Feed(CKXChartView& view, std::vector<Bar> bars) {
    Reply r;
    r.bars = std::move(bars);
    auto list = List(r);
    view.AddReply(*list);
}

TEST(KLineViewLayout, PanelsAndVisibleCountsInPortraitAndLandscape) {
    struct Case {
        bool portrait;
        CRect area;
        CKLinePanels panels;
        int visible[4];
    };
    const Case cases[] = {
        {true, {0, 0, 480, 560}, {{60, 40, 480, 234}, {60, 254, 480, 306}, {60, 326, 480, 428}}, {46, 69, 138, 208}},
        {false, {0, 0, 720, 400}, {{60, 40, 576, 220}, {60, 240, 576, 287}, {60, 307, 576, 400}}, {56, 85, 170, 256}},
    };
    for (const Case& c : cases) {
        for (int level = 0; level < kKLineZoomLevels; ++level) {
            CKXChartView view(kKLineZoom[level], nullptr);
            if (c.portrait)
                view.LayoutPortrait(kLabel, c.area);
            else
                view.LayoutLandscape(kLabel, c.area);
            EXPECT_EQ(view.GetPanels(), c.panels) << c.portrait;
            EXPECT_EQ(view.GetVisibleCount(), c.visible[level]) << c.portrait << " level " << level;
        }
    }
    // A tiny area gives no slot and panels that are never inverted; a step of 0 none either.
    CKXChartView tiny(kKLineZoom[0], nullptr);
    tiny.LayoutPortrait(kLabel, {0, 0, 12, 12});
    EXPECT_EQ(tiny.GetVisibleCount(), 0);
    for (const CRect* r : {&tiny.GetPanels().price, &tiny.GetPanels().volume, &tiny.GetPanels().indicator})
        EXPECT_GE(r->bottom, r->top);
    EXPECT_EQ(KLineVisibleCount(400, {kKLineCandles, 0, 0}), 0);
    Feed(tiny, DailyBars(5));
    EXPECT_EQ(tiny.GetFirstVisible(), 5);
}

TEST(KLineViewRanges, EachIndicatorCountsItsOwnColumns) {
    CKXData data;
    std::vector<Bar> bars = WithTech(DailyBars(3), -1.0, 5.0, 9.0);
    bars[0].tech[0] = kMissing; // a warm-up value never counts
    bars[2].ma30 = kMissing;
    Reply r;
    r.bars = bars;
    auto list = List(r);
    data.ParseReply(*list);
    struct Case {
        const char* key;
        double max, min;
    };
    const double high = bars[2].high, low = bars[0].low;
    const Case cases[] = {
        {"MACD", 9, -1}, {"kdj", 9, -1}, {"WR", 5, -1}, {"dma", 5, -1}, {"aroon", 5, -1},
        {"cci", 0, -1},  {"SAR", high, -1}, {"boll", high, -1}, {"other", 9, -1},
    };
    for (const Case& c : cases) {
        const CKLineRanges ranges = KLineVisibleRanges(data, 0, 10, c.key);
        EXPECT_DOUBLE_EQ(ranges.techMax.GetValue(), c.max) << c.key;
        EXPECT_DOUBLE_EQ(ranges.techMin.GetValue(), c.min) << c.key;
        EXPECT_DOUBLE_EQ(ranges.priceMax.GetValue(), high) << c.key;
        EXPECT_DOUBLE_EQ(ranges.priceMin.GetValue(), low) << c.key;
    }
    // Only the visible bars count.
    EXPECT_DOUBLE_EQ(KLineVisibleRanges(data, 2, 1, "MACD").priceMin.GetValue(), bars[2].low);
}

TEST(KLineViewRanges, MissingValuesNeverCountAndAFlatRangeDrawsNothing) {
    CKXData data;
    std::vector<Bar> bars = WithTech(DailyBars(2), kMissing, kMissing, kMissing);
    bars[1].volume = 5000;
    Reply r;
    r.bars = bars;
    auto list = List(r);
    data.ParseReply(*list);
    const CKLineRanges ranges = KLineVisibleRanges(data, 0, 5, "MACD");
    EXPECT_EQ(ranges.techMax.GetValue(), 0);
    EXPECT_EQ(ranges.techMin.GetValue(), 0);
    EXPECT_EQ(ranges.volumeMax.GetValue(), 5000);
    const CRect panel{0, 0, 100, 50};
    EXPECT_EQ(KLinePriceY(panel, 5, 5, 5), 49);
    EXPECT_EQ(KLineVolumeY(panel, 0, 0), 49);
    EXPECT_EQ(KLineVolumeY(panel, 1000, 0), 49);
    EXPECT_EQ(KLineCursorY(panel, CQuoteNumber(5, 2), CQuoteNumber(5, 2), CQuoteNumber(5, 2)), 25);
    EXPECT_EQ(KLineCursorY(panel, CQuoteNumber(kMissing, 0), CQuoteNumber(6, 2), CQuoteNumber(5, 2)), -1);
}

TEST(KLineViewData, OlderPagesKeepTheSameBarsOnScreenUntilTooManyAreHeld) {
    CKXChartView view(kKLineZoom[1], nullptr);
    view.LayoutPortrait(kLabel, {0, 0, 480, 560});
    ASSERT_EQ(view.GetVisibleCount(), 69);
    Feed(view, DailyBars(5, 20260101));
    EXPECT_EQ(view.GetFirstVisible(), 0);
    EXPECT_EQ(view.GetCursorPosition(), 4);
    view.Reset();
    Feed(view, DailyBars(150, 20260300));
    EXPECT_EQ(view.GetFirstVisible(), 81);
    EXPECT_EQ(view.GetCursorPosition(), 68);
    // A page adding nothing changes nothing.
    Feed(view, DailyBars(1, 20260300));
    EXPECT_EQ(view.GetFirstVisible(), 81);
    Feed(view, DailyBars(101, 20260200)); // the last one overlaps
    EXPECT_EQ(view.GetData().GetCount(), 250);
    EXPECT_EQ(view.GetFirstVisible(), 181);
    // Past visible + 150 bars, the next page replaces everything.
    Feed(view, DailyBars(40, 20260100));
    EXPECT_EQ(view.GetData().GetCount(), 40);
    EXPECT_EQ(view.GetFirstVisible(), 0);
    EXPECT_EQ(view.GetCursorPosition(), 39);
}

TEST(KLineViewShapes, CandlesAndOhlcBars) {
    const CRect panel{0, 0, 100, 102}; // scale 1 pixel per 0.01 over 10.00 .. 11.00
    const auto n = [](double v) { return CQuoteNumber(v, 2); };
    using K = CKLineShape;
    struct Case {
        int style;
        double o, h, l, c;
        int color;
        std::vector<CKLineShape> shapes;
    };
    const Case cases[] = {
        // Falling: filled body, lower wick from the low to the close, upper from the high to the open.
        {1, 10.8, 10.9, 10.1, 10.2, 16,
         {{K::FilledBox, {}, {}, {10, 20, 15, 81}}, {K::Line, {12, 90}, {12, 80}, {}}, {K::Line, {12, 10}, {12, 20}, {}}}},
        // Rising: hollow body, no wick where the body reaches the extreme.
        {1, 10.2, 10.8, 10.2, 10.8, 15, {{K::HollowBox, {}, {}, {10, 20, 15, 81}}}},
        // Equal open and close: a line and one wick.
        {1, 10.5, 10.6, 10.4, 10.5, 17, {{K::Line, {10, 50}, {15, 50}, {}}, {K::Line, {12, 40}, {12, 60}, {}}}},
        // OHLC: the close tick and the high-low line.
        {2, 10.5, 10.6, 10.4, 10.55, 15, {{K::Line, {12, 45}, {15, 45}, {}}, {K::Line, {12, 40}, {12, 60}, {}}}},
        // A missing value: nothing.
        {1, kMissing, 10.6, 10.4, 10.5, 17, {}},
    };
    for (const Case& c : cases) {
        const CKLineBarShapes s = KLineBarShapes(c.style, 10, 5, panel, 11.0, 10.0, n(c.o), n(c.h), n(c.l), n(c.c));
        EXPECT_EQ(s.color, c.color) << c.o << " " << c.c;
        EXPECT_EQ(s.shapes, c.shapes) << c.o << " " << c.c;
    }
    // Open and close a hair apart fall on one row: a line.
    const CKLineBarShapes flat =
        KLineBarShapes(1, 0, 4, {0, 0, 10, 12}, 100.0, 0.0, n(50.0), n(50.0), n(50.0), n(50.01));
    ASSERT_EQ(flat.shapes.size(), 1u);
    EXPECT_EQ(flat.shapes[0].kind, K::Line);
}

TEST(KLineViewTexts, StripCellsAndLegendsOfABarAndOfNone) {
    for (const CKLineCell& c : KLineStripCells(nullptr, 0))
        EXPECT_EQ(c.value, u"-") << std::string(c.label.begin(), c.label.end()).size();
    CKXBar bar;
    bar.date = 20261204;
    bar.prevClose = CQuoteNumber(10.0, 2);
    bar.open = CQuoteNumber(9.9, 2);
    bar.high = CQuoteNumber(10.5, 2);
    bar.low = CQuoteNumber(9.8, 2);
    bar.close = CQuoteNumber(10.2, 2);
    bar.volume = CQuoteNumber(12.5, 1);
    bar.amount = CQuoteNumber(kMissing, 0);
    bar.ma5 = CQuoteNumber(10.12, 2);
    bar.ma10 = CQuoteNumber(kMissing, 0);
    bar.tech1 = CQuoteNumber(-0.05, 3);
    const std::array<CKLineCell, 9> cells = KLineStripCells(&bar, 0);
    const std::u16string values[] = {u"9.90", u"10.50", u"9.80", u"10.20", u"12.5万", u"-", u"0.20", u"2.00%", u"261204"};
    const int colors[] = {16, 15, 16, 15, 28, 28, 15, 15, 17};
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(cells[k].value, values[k]) << k;
        EXPECT_EQ(cells[k].color, colors[k]) << k;
    }
    EXPECT_EQ(cells[7].label, u"涨幅");
    EXPECT_EQ(KLineBarTime(20261204, 935), u"12040935");
    bar.prevClose = CQuoteNumber(0, 2);
    EXPECT_EQ(KLineStripCells(&bar, 0)[7].value, u"1020.00%");

    const auto ma = KLineMaLegend(&bar);
    EXPECT_EQ(ma[0].label + ma[0].value, u"MA5 10.12");
    EXPECT_EQ(ma[1].label + ma[1].value, u"MA10 -");
    EXPECT_EQ(KLineMaLegend(nullptr)[2].label, u"MA30 - ");

    const CKLineTechLegend macd = KLineTechLegend("macd", bar);
    EXPECT_EQ(macd.title, u"MACD(12,26,9)");
    ASSERT_EQ(macd.items.size(), 3u);
    EXPECT_EQ(macd.items[2].label + macd.items[2].value, u" M:-0.050");
    EXPECT_EQ(macd.items[0].color, 33);
    EXPECT_EQ(KLineTechLegend("BOLL", bar).items[1].label, u" U:");
    EXPECT_TRUE(KLineTechLegend("vol", bar).title.empty());
    EXPECT_TRUE(KLineTechLegend("vol", bar).items.empty());
}

TEST(KLineViewTouch, SlotScrollAndIndicatorCycle) {
    // Slots round to the nearest and stay within 0 .. visible − 1.
    const std::tuple<int, int> slots[] = {{60, 0}, {62, 0}, {64, 1}, {480, 69}, {800, 69}, {0, 0}};
    for (const auto& [x, slot] : slots)
        EXPECT_EQ(KLineTouchSlot(x, 60, 480, 70), slot) << x;
    EXPECT_EQ(KLineTouchSlot(100, 60, 480, 0), -1);
    EXPECT_EQ(KLineTouchSlot(100, 60, 60, 5), -1);

    struct Case {
        int first, count, visible, step;
        int newFirst;
        bool older, redraw;
    };
    const Case scrolls[] = {
        {2, 100, 50, -3, 0, true, true},   {0, 100, 50, -3, 0, true, false}, {20, 100, 50, -3, 17, false, true},
        {14, 100, 50, -3, 11, true, true}, {48, 100, 50, 50, 50, false, true}, {50, 100, 50, 50, 50, false, false},
        {0, 30, 50, 50, 0, false, false},  {10, 100, 50, 3, 10, false, false},
    };
    for (const Case& c : scrolls) {
        const CKLineScroll s = KLineScrollStep(c.first, c.count, c.visible, c.step);
        EXPECT_EQ(s.first, c.newFirst) << c.first << " " << c.step;
        EXPECT_EQ(s.askOlder, c.older) << c.first << " " << c.step;
        EXPECT_EQ(s.redraw, c.redraw) << c.first << " " << c.step;
    }

    const std::vector<std::string> names = {"MACD", "KDJ", "RSI"};
    EXPECT_EQ(KLineNextTech(names, "kdj", false), "RSI");
    EXPECT_EQ(KLineNextTech(names, "rsi", false), "MACD");
    EXPECT_EQ(KLineNextTech(names, "macd", true), "RSI");
    EXPECT_EQ(KLineNextTech(names, "vol", false), "MACD");
    EXPECT_EQ(KLineNextTech({}, "MACD", false), "");

    // The cursor button stays within the panel's width and grows 5 up, down, left and 10 right.
    const CRect panel{60, 40, 480, 234};
    EXPECT_EQ(KLineCursorButton(panel, 200, 20), (CRect{185, 229, 220, 259}));
    EXPECT_EQ(KLineCursorButton(panel, 478, 20), (CRect{455, 229, 490, 259}));
    EXPECT_EQ(KLineCursorButton(panel, 61, 20), (CRect{55, 229, 90, 259}));
}

TEST(KLineViewCursor, StaysOnHeldVisibleBars) {
    CKXChartView view(kKLineZoom[1], nullptr);
    view.LayoutPortrait(kLabel, {0, 0, 480, 560});
    Feed(view, DailyBars(10));
    for (const auto& [asked, kept] : {std::pair{100, 9}, {-5, 0}, {3, 3}}) {
        view.SetCursor(asked, 0);
        EXPECT_EQ(view.GetCursorPosition(), kept) << asked;
    }
    EXPECT_FALSE(view.GetCursorButton().IsEmpty());
    EXPECT_EQ(view.MinuteChartRequest(), "date=20260104&code=600000.2");
}

TEST(KLineRequest, TextCountTitleAndPinch) {
    EXPECT_EQ(KLineRequestText("600010.02", "0", "0", 513, 1, 84, "MACD"),
              "tc_mfuncno=31000&tc_sfuncno=2&code=600010.02&date=0&time=0&type=513&direct=1&count=84&techname=MACD");
    EXPECT_EQ(KLineRequestText("600010.02", "0", "0", 513, 1, 84, "MA&CD"), "");
    EXPECT_EQ(KLineRequestText("600010=02", "0", "0", 513, 1, 84, "MACD"), "");
    EXPECT_EQ(KLineRequestCount(69, 1), 84);
    EXPECT_EQ(KLineRequestCount(69, 0), 69);
    EXPECT_EQ(KLineRequestCount(0, 0), 30);
    EXPECT_EQ(KLineRequestCount(-15, 1), 30);
    const std::pair<int, const char16_t*> titles[] = {{257, u""},       {259, u" 15分钟"}, {268, u" 60分钟"},
                                                      {513, u" 日线 "}, {769, u" 周线 "},  {1025, u" 月线 "}};
    for (const auto& [period, title] : titles)
        EXPECT_EQ(KLinePeriodTitle(period), title) << period;
    struct Case {
        std::vector<int> codes;
        int level;
    };
    const Case pinches[] = {{{3, 3, 3}, 0}, {{3, 4, 3}, 0}, {{4, 4, 4}, 2}, {{3, 3}, 1}, {{3, 3, 3, 3, 3, 3}, 0},
                            {{4, 4, 4, 4, 4, 4, 4, 4, 4}, 3}, {{5, 5, 5}, 1}};
    for (const Case& c : pinches) {
        CKLinePinch s;
        for (int code : c.codes)
            s = KLinePinchStep(s, code);
        EXPECT_EQ(s.level, c.level) << c.codes.size();
    }
}

} // namespace

namespace {

TEST(KLineViewPaint, ACursorMoveLeavesThePixelsOfAFullPaint) {
    CKXChartView view(kKLineZoom[0], nullptr);
    view.SetTechName("MACD");
    view.LayoutPortrait(kLabel, {0, 0, 480, 560});
    Feed(view, WithTech(DailyBars(80), -0.2, 0.1, 0.3));
    CSurface kept(480, 560);
    CDC keptDc(&kept);
    view.Paint(keptDc);
    for (int slot : {5, 30, 12}) {
        view.SetCursor(slot, 0);
        view.Paint(keptDc);
    }
    CSurface fresh(480, 560);
    CDC freshDc(&fresh);
    view.Paint(freshDc);
    int differing = 0;
    for (int y = 0; y < 560; ++y)
        for (int x = 0; x < 480; ++x)
            differing += kept.Row(y)[x] != fresh.Row(y)[x];
    EXPECT_EQ(differing, 0);
}

// Values of very different lengths side by side: a cursor move from a long
// value to a short one must wipe all of the long one, in the strip, the
// moving averages and the indicator's items alike.
TEST(KLineViewPaint, AShorterValueLeavesNothingOfTheLongerOneBefore) {
    CKXChartView view(kKLineZoom[0], nullptr);
    view.SetTechName("MACD");
    view.LayoutPortrait(kLabel, {0, 0, 480, 560});
    std::vector<Bar> bars = WithTech(DailyBars(40), -0.2, 0.1, 0.3);
    for (size_t i = 0; i < bars.size(); i += 2) {
        Bar& b = bars[i];
        b.open = b.prevClose = 8888.88;
        b.high = 9999.99;
        b.low = 1111.11;
        b.close = 7777.77;
        b.volume = 987654321;
        b.amount = 123456789012.0;
        b.ma5 = b.ma10 = b.ma30 = 6666.66;
        b.tech[0] = -12345.678;
        b.tech[1] = 23456.789;
        b.tech[2] = -34567.891;
    }
    Feed(view, bars);
    CSurface kept(480, 560);
    CDC keptDc(&kept);
    view.Paint(keptDc);
    for (int slot : {10, 11, 12, 13, 11, 30, 31}) {
        view.SetCursor(slot, 0);
        view.Paint(keptDc);
        CSurface fresh(480, 560);
        CDC freshDc(&fresh);
        view.Paint(freshDc); // another target: drawn whole
        int differing = 0;
        for (int y = 0; y < 560; ++y)
            for (int x = 0; x < 480; ++x)
                differing += kept.Row(y)[x] != fresh.Row(y)[x];
        EXPECT_EQ(differing, 0) << "slot " << slot;
        view.Paint(keptDc); // back to the kept target: drawn whole again
    }
}

} // namespace
