// The minute chart's arithmetic: ranges, labels, times, marks and the point
// under a finger.
#include "quotes/charts/CFSData.h"
#include "quotes/charts/CChartSeries.h"
#include "quotes/charts/FSChartMath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

CQuoteNumber Q(double v) { return {v, 2}; }

TEST(MinuteMath, TheGridRangeAndItsSevenLabelsFollowThePreviousCloseAndTheLargerMove) {
    const CFSRange range = FSPriceRange(Q(10.00), Q(10.30), Q(9.90));
    EXPECT_EQ(range.top.ToText(), "10.32");
    EXPECT_EQ(range.bottom.ToText(), "9.68");
    const std::vector<CFSPriceLabel> labels = FSPriceLabels(range, true);
    const char* texts[] = {"10.32", "10.21", "10.11", "10.00", "9.89", "9.79", "9.68"};
    const int colors[] = {15, 15, 15, 17, 16, 16, 16};
    ASSERT_EQ(labels.size(), 7u);
    for (size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(labels[i].value.ToText(), texts[i]) << i;
        EXPECT_EQ(labels[i].colorIndex, colors[i]) << i;
    }
    // Not traded yet: still a range of the previous close ± a five-hundredth.
    const CFSRange flat = FSPriceRange(Q(10.00), Q(10.00), Q(10.00));
    EXPECT_EQ(flat.top.ToText(), "10.02");
    EXPECT_EQ(flat.bottom.ToText(), "9.98");
    // Before the first trade the high and low come as 0: no move either, so
    // the scale is the same small band around the previous close, not 0 to
    // twice the previous close.
    const CFSRange untraded = FSPriceRange(Q(22.16), Q(0), Q(0));
    EXPECT_EQ(untraded.top.ToText(), "22.20");
    EXPECT_EQ(untraded.bottom.ToText(), "22.12");
    // Without points only a known previous close is labelled.
    EXPECT_EQ(FSPriceLabels(flat, false).size(), 1u);
    EXPECT_TRUE(FSPriceLabels(FSPriceRange(Q(0), Q(0), Q(0)), false).empty());
}

TEST(MinuteMath, BrokenInputsGiveAFlatRangeThatDrawsNothingNeverANumberOutOfNothing) {
    CQuoteNumber missing;
    missing.FromPacked(CQuoteNumber::kMissingPacked);
    const CFSRange zero = FSPriceRange(Q(0), Q(0), Q(0));
    EXPECT_FALSE(zero.IsDrawable());
    const CFSRange noHigh = FSPriceRange(Q(10.0), missing, Q(9.9));
    EXPECT_EQ(noHigh.top.ToText(), "10.12");
    EXPECT_FALSE(FSPriceRange(missing, Q(1), Q(1)).IsDrawable());
    // A previous close of 0 on either side: both keep their own ranges.
    const CFSRange index = FSPriceRange(Q(3000), Q(3030), Q(2990));
    for (const CFSRange& stock : {zero, FSPriceRange(Q(10.0), Q(10.3), Q(9.9))}) {
        const CFSRange indexZero = FSPriceRange(Q(0), Q(0), Q(0));
        const CFSRanges a = FSNormaliseRanges(stock, &indexZero);
        const CFSRanges b = FSNormaliseRanges(zero, &index);
        for (const CFSRanges& r : {a, b})
            for (const CFSRange& x : {r.price, r.overlay})
                EXPECT_TRUE(std::isfinite(x.top.GetValue()) && std::isfinite(x.bottom.GetValue()));
        EXPECT_EQ(b.overlay.top.GetValue(), index.top.GetValue());
    }
    EXPECT_EQ(FSChangePercent(Q(10.5), Q(0)).GetValue(), 0.0);
    EXPECT_EQ(FSChangePercent(missing, Q(10)).GetValue(), 0.0);
    EXPECT_DOUBLE_EQ(FSChangePercent(Q(10.5), Q(10)).GetValue(), 5.0);
}

TEST(MinuteMath, TheOverlayAndTheStockShareTheWiderRelativeSpread) {
    const CFSRange stock = FSPriceRange(Q(10.00), Q(10.30), Q(9.90)); // +3.2 %
    const CFSRange narrow = FSPriceRange(Q(3000), Q(3015), Q(2990)); // +0.7 %
    const CFSRanges a = FSNormaliseRanges(stock, &narrow);
    EXPECT_NEAR(a.overlay.top.GetValue(), 3096.0, 1e-6);
    EXPECT_NEAR(a.overlay.bottom.GetValue(), 2904.0, 1e-6);
    EXPECT_EQ(a.price.top.GetValue(), stock.top.GetValue());
    const CFSRange wide = FSPriceRange(Q(3000), Q(3150), Q(2990)); // +5.2 %
    const CFSRanges b = FSNormaliseRanges(stock, &wide);
    EXPECT_NEAR(b.price.top.GetValue(), 10.52, 1e-9);
    EXPECT_NEAR(b.price.bottom.GetValue(), 9.48, 1e-9);
    EXPECT_FALSE(FSNormaliseRanges(stock, nullptr).hasOverlay);
}

TEST(MinuteMath, PointTimesSkipTheLunchBreakOfEachMarket) {
    const std::tuple<int, int, const char*> cases[] = {
        {1, 0, "0930"}, {1, 60, "1130"}, {1, 61, "1302"}, {1, 120, "1500"},
        {3, 0, "1000"}, {3, 75, "1230"}, {3, 76, "1432"}, {3, 120, "1600"},
    };
    for (const auto& [market, position, text] : cases)
        EXPECT_EQ(FSPointTimeText(market, position), text) << market << " " << position;
}

TEST(MinuteMath, MarksTakeTheirSlotAndMarksOfOneSlotJoinTheirIds) {
    const std::pair<int, int> slots[] = {{500, 0}, {571, 0}, {690, 60}, {720, 60}, {780, 60},
                                         {782, 61}, {900, 120}, {990, 120}};
    for (const auto& [minutes, slot] : slots)
        EXPECT_EQ(FSMarkSlot(minutes), slot) << minutes;
    const std::vector<CFSMarkSlot> marks = FSMarkSlots({{571, "11"}, {600, "12"}, {570, "13"}, {573, "14"}});
    EXPECT_EQ(marks, (std::vector<CFSMarkSlot>{{0, "11,13"}, {15, "12"}, {1, "14"}}));
    // Joining stops at ten ids of that length, never cut mid-id.
    std::vector<CFSInfoMark> many;
    for (int i = 0; i < 20; ++i)
        many.push_back({600, std::to_string(100 + i)});
    const std::vector<CFSMarkSlot> joined = FSMarkSlots(many);
    ASSERT_EQ(joined.size(), 1u);
    EXPECT_EQ(joined[0].ids, "100,101,102,103,104,105,106,107,108,109");
    EXPECT_EQ(FSMarkNear(marks, 18)->ids, "12");
    EXPECT_EQ(FSMarkNear(marks, 3)->ids, "11,13"); // within 4 of slots 0 and 1: the first held
    EXPECT_EQ(FSMarkNear(marks, 19), nullptr);
}

TEST(MinuteMath, ThePointUnderAFingerIsTheNearestSlotWithinTheHeldPoints) {
    // A grid 240 pixels wide from x 40: two pixels a slot.
    const std::tuple<int, int, int> cases[] = {
        {40, 121, 0},  {41, 121, 1},  {42, 121, 1},    {280, 121, 120}, {900, 121, 120},
        {10, 121, 0},  {100, 10, 9},  {-2147483647, 121, 0}, {2147483647, 121, 120},
    };
    for (const auto& [x, count, point] : cases)
        EXPECT_EQ(FSPointAtX(x, 40, 240, count), point) << x << " " << count;
    EXPECT_EQ(FSPointAtX(100, 40, 240, 0), -1);
    EXPECT_EQ(FSPointAtX(100, 40, 0, 5), 0);
}

// Prices in column 1, the last one missing.
class CPrices : public CChartSeries {
public:
    int GetCount() const override { return 3; }
    int32_t GetInt(int, int) const override { return 0; }
    CQuoteNumber& GetNumber(CQuoteNumber& out, int column, int index) const override {
        out = CQuoteNumber();
        if (column == 1 && index >= 0 && index < 2)
            out = Q(10.0 + index);
        else if (column == 1 && index == 2)
            out.FromPacked(CQuoteNumber::kMissingPacked);
        return out;
    }
};

TEST(MinuteMath, TheCursorCrossesThePriceLineOnlyWhereThereIsAPriceToScale) {
    const CPrices prices;
    const CRect grid{0, 0, 240, 100};
    const CFSRange range{Q(12.0), Q(10.0), Q(11.0)};
    CPoint at{-1, -1};
    ASSERT_TRUE(FSCursorPoint(prices, 1, grid, range, &at));
    EXPECT_EQ(at, (CPoint{2, 50}));
    for (int position : {2, 3, -1})
        EXPECT_FALSE(FSCursorPoint(prices, position, grid, range, &at)) << position;
    EXPECT_FALSE(FSCursorPoint(prices, 0, grid, CFSRange{Q(0), Q(0), Q(0)}, &at));
    EXPECT_EQ(at, (CPoint{2, 50}));
}

} // namespace
