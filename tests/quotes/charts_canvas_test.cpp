// The chart canvas: layouts, cursor rules, legends, the painters' strokes
// and the cached picture.
#include "quotes/charts/CChartCanvas.h"
#include "quotes/charts/CChartSeries.h"
#include "quotes/charts/CChartState.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>

namespace {

CQuoteNumber Q10() { return {10.0, 2}; }
CQuoteNumber Q20() { return {20.0, 2}; }

// A series of prices in column 1 and volumes in column 5.
class CTestSeries : public CChartSeries {
public:
    std::vector<double> prices;
    std::vector<int32_t> volumes;
    int GetCount() const override { return static_cast<int>(prices.size()); }
    int32_t GetInt(int column, int index) const override {
        return column == 5 && index >= 0 && index < static_cast<int>(volumes.size()) ? volumes[index] : 0;
    }
    CQuoteNumber& GetNumber(CQuoteNumber& out, int column, int index) const override {
        out = CQuoteNumber();
        if (column == 1 && index >= 0 && index < GetCount())
            out = prices[index] == CQuoteNumber::kMissingValue ? CQuoteNumber(prices[index], 0) : CQuoteNumber(prices[index], 2);
        return out;
    }
};

// A canvas that counts what it draws.
class CTestCanvas : public CChartCanvas {
public:
    int renders = 0;
    int legends = 0;
    int moved = 0;
    void CalcRanges() override { m_recordCount = records; }
    void DrawTimeAxis(CDC&) override { ++renders; }
    void DrawScale(CDC&) override {}
    void DrawLines(CDC&) override {}
    void DrawLegends(CDC&, bool) override { ++legends; }
    void OnCursorMoved() override { ++moved; }
    void OnTouch(CChartWnd*, UINT, int, int) override {}
    int records = 0;
};

TEST(ChartCanvas, LayoutsSplitPriceAndVolumeAreasInBothOrientations) {
    struct Case {
        bool portrait;
        CRect area;
        CChartLayout expected;
    };
    const CSize label{60, 20};
    const Case cases[] = {
        {true, {0, 0, 480, 613}, {60, 20, {60, 40, 480, 468}, {0, 488, 480, 613}, {0, 0, 480, 613}}},
        {false, {0, 0, 720, 373}, {60, 20, {60, 40, 576, 373}, {576, 0, 720, 373}, {0, 0, 720, 373}}},
        // Exactly three labels wide: no label column; one pixel more: the full one.
        {true, {0, 0, 180, 100}, {0, 20, {0, 40, 180, 60}, {0, 80, 180, 100}, {0, 0, 180, 100}}},
        {true, {0, 0, 181, 100}, {60, 20, {60, 40, 181, 60}, {0, 80, 181, 100}, {0, 0, 181, 100}}},
    };
    for (const Case& c : cases) {
        CTestCanvas canvas;
        if (c.portrait)
            canvas.LayoutPortrait(label, c.area);
        else
            canvas.LayoutLandscape(label, c.area);
        EXPECT_EQ(canvas.GetLayout(), c.expected) << c.area.right << "x" << c.area.bottom;
        EXPECT_TRUE(canvas.IsDirty());
    }
}

TEST(ChartCanvas, TheCursorWrapsAtBothEndsAndAKeptPositionPastTheEndIsTheLastPoint) {
    const std::tuple<int, int, int> wraps[] = {{-1, 10, 9}, {10, 10, 0}, {5, 10, 5}, {3, 0, 0}, {INT_MIN, 10, 9}};
    for (const auto& [index, count, expected] : wraps)
        EXPECT_EQ(WrapCursorIndex(index, count), expected) << index << "/" << count;
    const std::tuple<int, int, int> kept[] = {{-1, 10, -1}, {4, 10, 4}, {10, 10, 9}, {240, 121, 120}, {5, 0, 0}};
    for (const auto& [position, count, expected] : kept)
        EXPECT_EQ(KeptCursorIndex(position, count), expected) << position << "/" << count;

    CTestCanvas canvas;
    canvas.SetCursor(3, 0); // no record: position 0, not shown, no move reported
    EXPECT_EQ(canvas.GetCursorPosition(), 0);
    EXPECT_FALSE(canvas.IsCursorShown());
    EXPECT_EQ(canvas.moved, 0);
    canvas.records = 10;
    canvas.CalcRanges();
    canvas.MoveCursor(0, 0); // back from 0 wraps to the last
    EXPECT_EQ(canvas.GetCursorPosition(), 9);
    EXPECT_TRUE(canvas.IsCursorShown());
    EXPECT_EQ(CChartState::Shared().GetLastCursorPosition(), 9);
    canvas.MoveCursor(3, 0);
    EXPECT_EQ(canvas.GetCursorPosition(), 0);
    canvas.MoveCursor(4, 0);
    EXPECT_FALSE(canvas.IsCursorShown());
    canvas.MoveCursor(7, 0);
    EXPECT_EQ(canvas.moved, 2);
    CChartState::Shared().SetLastCursorPosition(-1);
}

TEST(ChartCanvas, LegendsKeepTheirCapacityAndCutTheirTexts) {
    CTestCanvas canvas;
    const char16_t* labels[] = {u"时间长标签", u"价"};
    const char16_t* values[] = {u"123456789012", nullptr};
    const COLORREF colors[] = {1, 2};
    EXPECT_EQ(canvas.SetLegend(labels, values, colors, 1), 0); // no array yet
    ASSERT_EQ(canvas.InitLegend(1), 1);
    EXPECT_EQ(canvas.InitLegend(4), 0);
    EXPECT_EQ(canvas.SetLegend(labels, values, colors, 2), 0);
    EXPECT_EQ(canvas.GetLegendItem(0), nullptr);
    ASSERT_EQ(canvas.SetLegend(labels, values, colors, 1), 1);
    const CLegendItem* item = canvas.GetLegendItem(0);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(std::u16string(item->label), u"时间长标");
    EXPECT_EQ(std::u16string(item->value), u"123456789");
    EXPECT_EQ(item->color, 1u);
    EXPECT_EQ(canvas.GetLegendItem(1), nullptr);
}

TEST(ChartCanvas, PriceStrokesJoinNeighboursInTheRectangleAndLeaveGapsAroundMissingValues) {
    const double kMissing = CQuoteNumber::kMissingValue;
    const CRect r{0, 0, 100, 100};
    CTestSeries s;
    s.prices = {10.0, 11.0, kMissing, 12.0, 13.0, 14.0};
    // Five slots of 20 pixels, range 10 to 20: 10 pixels a unit.
    const auto line = PriceLineSegments(&s, 1, r, Q20(), Q10(), 5, kChartModeLine, 0);
    EXPECT_EQ(line, (std::vector<CChartSegment>{{{0, 100}, {20, 90}}, {{60, 80}, {80, 70}}}));
    const auto bars = PriceLineSegments(&s, 1, r, Q20(), Q10(), 5, kChartModeBars, 1);
    EXPECT_EQ(bars, (std::vector<CChartSegment>{{{0, 99}, {0, 90}}, {{40, 99}, {40, 80}}, {{60, 99}, {60, 70}},
                                                {{80, 99}, {80, 60}}}));
    // A missing first value starts no stroke.
    CTestSeries first;
    first.prices = {kMissing, 11.0, 12.0};
    EXPECT_EQ(PriceLineSegments(&first, 1, r, Q20(), Q10(), 5, kChartModeLine, 0),
              (std::vector<CChartSegment>{{{20, 90}, {40, 80}}}));
    // One record: no line, one bar.
    CTestSeries one;
    one.prices = {15.0};
    EXPECT_TRUE(PriceLineSegments(&one, 1, r, Q20(), Q10(), 5, kChartModeLine, 0).empty());
    EXPECT_EQ(PriceLineSegments(&one, 1, r, Q20(), Q10(), 5, kChartModeBars, 0).size(), 1u);
}

TEST(ChartCanvas, ScalingNeverDividesByZeroOrOverflows) {
    const CRect r{0, 0, 100, 100};
    CTestSeries s;
    s.prices = {10.0, 1e300, -1e300, 12.0};
    s.volumes = {5, INT_MAX, CQuoteNumber::kMissingPacked, INT_MIN};
    EXPECT_TRUE(PriceLineSegments(&s, 1, r, Q10(), Q10(), 5, kChartModeLine, 0).empty()); // flat range
    EXPECT_TRUE(PriceLineSegments(&s, 1, r, Q20(), Q10(), 0, kChartModeLine, 0).empty()); // no slot
    EXPECT_TRUE(PriceLineSegments(nullptr, 1, r, Q20(), Q10(), 5, kChartModeLine, 0).empty());
    EXPECT_TRUE(PriceLineSegments(&s, 1, r, Q20(), Q10(), 5, 7, 0).empty());
    EXPECT_TRUE(VolumeSegments(&s, 5, r, 0, 0, 5, kChartModeBars, 0).empty());
    // Values far outside the range are off the rectangle, not wrapped into it.
    const auto line = PriceLineSegments(&s, 1, r, Q20(), Q10(), INT_MAX, kChartModeLine, 0);
    EXPECT_TRUE(line.empty());
    const auto bars = VolumeSegments(&s, 5, r, 10, 0, 4, kChartModeBars, 0);
    EXPECT_EQ(bars, (std::vector<CChartSegment>{{{0, 100}, {0, 50}}}));
    EXPECT_EQ(ChartValueY(r, 1e300, 1.0, 0.0), -1073741824);
    EXPECT_EQ(ChartSlotX(0, 100, 0, 5), 0);
}

TEST(ChartCanvas, VolumeLinesBridgePointsOutsideTheRectangle) {
    const CRect r{0, 0, 100, 100};
    CTestSeries s;
    s.prices = {0, 0, 0, 0};
    s.volumes = {0, 500, CQuoteNumber::kMissingPacked, 50};
    EXPECT_EQ(VolumeSegments(&s, 5, r, 100, 0, 4, kChartModeLine, 0),
              (std::vector<CChartSegment>{{{0, 100}, {75, 50}}}));
}

TEST(ChartCanvas, TheSecondLineLeavesGapsAroundMissingValuesAndBridgesValuesOutOfRange) {
    // GetExtraNumber of the base series is zero: a series whose second line is its prices.
    class CExtra : public CTestSeries {
    public:
        CQuoteNumber& GetExtraNumber(CQuoteNumber& out, int, int index) const override {
            return GetNumber(out, 1, index);
        }
    } s;
    s.prices = {12.0, 14.0, 30.0, 16.0, CQuoteNumber::kMissingValue, 18.0, 19.0};
    const CRect r{0, 0, 100, 100};
    EXPECT_EQ(ExtraLineSegments(&s, r, Q20(), Q10(), 5),
              (std::vector<CChartSegment>{{{0, 80}, {20, 60}}, {{20, 60}, {60, 40}}})); // nothing joins 18.0 after the gap
    EXPECT_TRUE(ExtraLineSegments(&s, r, Q10(), Q10(), 5).empty());
}

TEST(ChartCanvas, ThePictureIsDrawnAgainOnlyWhenDirtyAndAnEmptyAreaPaintsNothing) {
    CTestCanvas canvas;
    auto target = CDC::CreateMemoryDC(200, 200);
    canvas.LayoutPortrait({40, 20}, {0, 0, 0, 0});
    canvas.Paint(*target);
    EXPECT_EQ(canvas.GetPaintedSurface(), nullptr);
    EXPECT_EQ(canvas.renders, 0);

    canvas.LayoutPortrait({40, 20}, {0, 0, 200, 150});
    canvas.Paint(*target);
    canvas.Paint(*target);
    EXPECT_EQ(canvas.renders, 1);
    EXPECT_EQ(canvas.legends, 2); // legends over the picture on every paint
    canvas.SetDirty();
    canvas.Paint(*target);
    EXPECT_EQ(canvas.renders, 2);
    canvas.LayoutLandscape({40, 20}, {0, 0, 180, 100}); // a new size: a new picture
    canvas.Paint(*target);
    EXPECT_EQ(canvas.renders, 3);
    EXPECT_EQ(canvas.GetPaintedSurface(), target->GetSurface());
    // Another target: drawn anew there.
    auto other = CDC::CreateMemoryDC(200, 200);
    canvas.Paint(*other);
    EXPECT_EQ(canvas.renders, 4);
    EXPECT_EQ(canvas.GetPaintedSurface(), other->GetSurface());

    // The cursor line is drawn over the picture and what it covered comes
    // back when it goes.
    canvas.records = 4;
    canvas.CalcRanges();
    canvas.SetSlotCount(4);
    canvas.Paint(*target);
    const int x = ChartSlotX(canvas.GetPriceArea().left, canvas.GetPriceArea().Width(), 4, 2);
    const int y = canvas.GetPriceArea().top + 5;
    const COLORREF under = target->GetPixel(x, y);
    canvas.SetCursor(2, 0);
    canvas.Paint(*target);
    EXPECT_EQ(target->GetPixel(x, y), CChartCanvas::PaletteColor(CChartCanvas::kCursorColor));
    canvas.ToggleCursor();
    canvas.Paint(*target);
    EXPECT_EQ(target->GetPixel(x, y), under);
    EXPECT_NE(under, CChartCanvas::PaletteColor(CChartCanvas::kCursorColor));
    EXPECT_EQ(canvas.renders, 5);
    CChartState::Shared().SetLastCursorPosition(-1);
}

// A canvas that tells where its legends drew, and nothing otherwise.
class CQuietLegendCanvas : public CTestCanvas {
public:
    std::vector<CRect> drawn;
    void GetLegendRects(std::vector<CRect>&) override {}
    void GetDrawnLegendRects(std::vector<CRect>& rects) override { rects = drawn; }
};

TEST(ChartCanvas, APaintThatLeavesThePictureAsItWasChangesNothingAndAnyChangeIsTold) {
    CQuietLegendCanvas canvas;
    auto target = CDC::CreateMemoryDC(200, 200);
    canvas.LayoutPortrait({40, 20}, {0, 0, 200, 150});
    canvas.records = 4;
    canvas.CalcRanges();
    canvas.SetSlotCount(4);
    canvas.Paint(*target);
    const auto changedBy = [&](const std::function<void()>& step) {
        step();
        std::vector<CRect> changed;
        EXPECT_TRUE(canvas.PaintChanged(*target, changed));
        return changed;
    };
    // The cursor's rectangles stay the whole area wherever it is (the
    // canvas's own): only its position tells a move.
    EXPECT_FALSE(changedBy([&] { canvas.SetCursor(1, 0); }).empty()) << "shown";
    EXPECT_TRUE(changedBy([&] { canvas.SetCursor(1, 0); }).empty()) << "the same record";
    EXPECT_FALSE(changedBy([&] { canvas.SetCursor(2, 0); }).empty()) << "the next record";
    const CRect whole = canvas.GetWholeArea();
    EXPECT_EQ(changedBy([&] { canvas.drawn = {{5, 6, 7, 8}}; }), (std::vector<CRect>{whole, {5, 6, 7, 8}, whole}))
        << "a legend drawn";
    canvas.drawn.clear();
    EXPECT_FALSE(changedBy([&] { canvas.ToggleCursor(); }).empty()) << "hidden";
    EXPECT_TRUE(changedBy([] {}).empty()) << "still hidden";
    CChartState::Shared().SetLastCursorPosition(-1);
}

} // namespace
