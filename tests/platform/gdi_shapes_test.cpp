// Pixel conventions of the device context read back from a surface: which
// pixels lines, rectangles and fills touch, pens, clipping and the origin.
#include "platform/gdi/CDC.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cmath>

namespace {
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kRed = 0x2626FF;
constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kWhite = 0xFFFFFF;

// Counts the pixels of colour c inside r.
int CountPixels(const CSurface& s, const CRect& r, COLORREF c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += s.GetPixel(x, y) == c;
    return n;
}

CSurface WhiteSurface(int w = 40, int h = 40) { return CSurface(w, h, kWhite); }
} // namespace

TEST(GdiLines, AHorizontalLineLeavesOutItsLastPixel) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.SelectPen({PS_SOLID, 1, kRed});
    dc.MoveTo(0, 0);
    dc.LineTo(10, 0);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(s.GetPixel(x, 0), kRed) << "x = " << x;
    EXPECT_EQ(s.GetPixel(10, 0), kWhite);
    EXPECT_EQ(CountPixels(s, {0, 1, 40, 40}, kRed), 0);
}

TEST(GdiLines, ADiagonalLineStepsOnePixelPerColumnAndStopsBeforeItsEnd) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.MoveTo(2, 2);
    dc.LineTo(8, 8);
    for (int i = 2; i < 8; ++i)
        EXPECT_EQ(s.GetPixel(i, i), kBlack);
    EXPECT_EQ(s.GetPixel(8, 8), kWhite);
    EXPECT_EQ(CountPixels(s, {0, 0, 40, 40}, kBlack), 6);
}

TEST(GdiLines, LineToMovesTheCurrentPositionSoConsecutiveSegmentsJoin) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.MoveTo(0, 5);
    dc.LineTo(5, 5);
    dc.LineTo(5, 10);
    EXPECT_EQ(s.GetPixel(5, 5), kBlack);
    EXPECT_EQ(s.GetPixel(5, 9), kBlack);
    EXPECT_EQ(s.GetPixel(5, 10), kWhite);
}

TEST(GdiLines, ADashedPenAlternatesSixPixelsOnAndThreeOff) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.SelectPen({PS_DASH, 1, kBlue});
    dc.MoveTo(0, 3);
    dc.LineTo(30, 3);
    for (int x = 0; x < 30; ++x)
        EXPECT_EQ(s.GetPixel(x, 3), x % 9 < 6 ? kBlue : kWhite) << "x = " << x;
}

TEST(GdiLines, ATwoPixelPenCoversThePathAndThePixelsAboveAndLeftOfIt) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.SelectPen({PS_SOLID, 2, kRed});
    dc.MoveTo(5, 10);
    dc.LineTo(15, 10);
    // Path pixels 5..14, each widened to 2 × 2 up and left: columns 4..14, rows 9..10.
    EXPECT_EQ(CountPixels(s, {4, 9, 15, 11}, kRed), 22);
    EXPECT_EQ(CountPixels(s, {0, 0, 40, 40}, kRed), 22);
    EXPECT_EQ(s.GetPixel(4, 9), kRed);
    EXPECT_EQ(s.GetPixel(14, 10), kRed);
}

TEST(GdiLines, ANullPenDrawsNothing) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.SelectPen({PS_NULL, 1, kRed});
    dc.MoveTo(0, 0);
    dc.LineTo(30, 30);
    CPoint pts[] = {{0, 0}, {20, 0}, {20, 20}};
    dc.Polyline(pts, 3);
    EXPECT_EQ(CountPixels(s, {0, 0, 40, 40}, kRed), 0);
}

TEST(GdiLines, PolylineDrawsEverySegmentAndLeavesOutOnlyTheFinalPoint) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    CPoint pts[] = {{0, 0}, {10, 0}, {10, 10}};
    dc.Polyline(pts, 3);
    EXPECT_EQ(s.GetPixel(9, 0), kBlack);
    EXPECT_EQ(s.GetPixel(10, 0), kBlack);
    EXPECT_EQ(s.GetPixel(10, 9), kBlack);
    EXPECT_EQ(s.GetPixel(10, 10), kWhite);
}

TEST(GdiRectangles, ARectangleOutlineTouchesTheLastInsideColumnButNotTheRightEdge) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.SelectBrush(CBrush::Solid(kBlue));
    dc.Rectangle({0, 0, 10, 10});
    EXPECT_EQ(s.GetPixel(0, 0), kBlack);
    EXPECT_EQ(s.GetPixel(9, 5), kBlack);
    EXPECT_EQ(s.GetPixel(5, 9), kBlack);
    EXPECT_EQ(s.GetPixel(9, 9), kBlack);
    EXPECT_EQ(s.GetPixel(10, 5), kWhite);
    EXPECT_EQ(s.GetPixel(5, 10), kWhite);
    EXPECT_EQ(CountPixels(s, {0, 0, 10, 10}, kBlack), 36);
    EXPECT_EQ(CountPixels(s, {0, 0, 40, 40}, kBlue), 64);
}

TEST(GdiRectangles, ATwoPixelPenOutlineStaysInsideTheRectangle) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.SelectPen({PS_SOLID, 2, kRed});
    dc.SelectBrush(CBrush::Null());
    dc.Rectangle({5, 5, 15, 15});
    EXPECT_EQ(CountPixels(s, {5, 5, 15, 15}, kRed), 100 - 36);
    EXPECT_EQ(CountPixels(s, {0, 0, 40, 40}, kRed), 64);
    EXPECT_EQ(s.GetPixel(10, 10), kWhite);
}

TEST(GdiRectangles, FillRectExcludesTheRightAndBottomEdges) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.FillRect({2, 3, 7, 9}, kRed);
    EXPECT_EQ(CountPixels(s, {0, 0, 40, 40}, kRed), 5 * 6);
    EXPECT_EQ(s.GetPixel(2, 3), kRed);
    EXPECT_EQ(s.GetPixel(6, 8), kRed);
    EXPECT_EQ(s.GetPixel(7, 8), kWhite);
    EXPECT_EQ(s.GetPixel(6, 9), kWhite);
}

TEST(GdiRectangles, FillRectWithANullBrushLeavesThePixels) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.FillRect({0, 0, 40, 40}, CBrush::Null());
    EXPECT_EQ(CountPixels(s, {0, 0, 40, 40}, kWhite), 1600);
}

TEST(GdiRectangles, ARoundRectCutsItsCornersAndFillsItsMiddle) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.SelectPen({PS_SOLID, 1, kRed});
    dc.SelectBrush(CBrush::Solid(kBlue));
    dc.RoundRect({0, 0, 30, 20}, 10, 10);
    EXPECT_EQ(s.GetPixel(0, 0), kWhite);
    EXPECT_EQ(s.GetPixel(29, 19), kWhite);
    EXPECT_EQ(s.GetPixel(15, 0), kRed);
    EXPECT_EQ(s.GetPixel(0, 10), kRed);
    EXPECT_EQ(s.GetPixel(29, 10), kRed);
    EXPECT_EQ(s.GetPixel(15, 19), kRed);
    EXPECT_EQ(s.GetPixel(15, 10), kBlue);
    EXPECT_EQ(CountPixels(s, {30, 0, 40, 40}, kRed) + CountPixels(s, {0, 20, 40, 40}, kRed), 0);
}

TEST(GdiRectangles, APolygonFillsItsInsideAndOutlinesItsEdges) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.SelectPen({PS_SOLID, 1, kRed});
    dc.SelectBrush(CBrush::Solid(kBlue));
    CPoint square[] = {{5, 5}, {15, 5}, {15, 15}, {5, 15}};
    dc.Polygon(square, 4);
    EXPECT_EQ(s.GetPixel(10, 10), kBlue);
    EXPECT_EQ(s.GetPixel(5, 5), kRed);
    EXPECT_EQ(s.GetPixel(15, 15), kRed);
    EXPECT_EQ(s.GetPixel(16, 10), kWhite);
    EXPECT_EQ(CountPixels(s, {0, 0, 40, 40}, kRed), 40);
    EXPECT_EQ(CountPixels(s, {0, 0, 40, 40}, kBlue), 81);
}

TEST(GdiRectangles, ATriangleIsFilledOnlyBetweenItsEdges) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.SelectPen({PS_NULL, 1, 0});
    dc.SelectBrush(CBrush::Solid(kBlue));
    CPoint tri[] = {{0, 0}, {20, 0}, {0, 20}};
    dc.Polygon(tri, 3);
    EXPECT_EQ(s.GetPixel(1, 1), kBlue);
    EXPECT_EQ(s.GetPixel(18, 18), kWhite);
    EXPECT_EQ(s.GetPixel(12, 12), kWhite);
    EXPECT_EQ(s.GetPixel(8, 8), kBlue);
}

TEST(GdiRectangles, ASunkenEdgeIsDarkTopLeftAndLightBottomRight) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.FillRect({0, 0, 40, 40}, 0xC0C0C0);
    dc.DrawEdge({0, 0, 20, 20}, EDGE_SUNKEN, BF_RECT);
    auto luma = [&](int x, int y) {
        COLORREF c = s.GetPixel(x, y);
        return GetRValue(c) + GetGValue(c) + GetBValue(c);
    };
    EXPECT_LT(luma(10, 0), luma(10, 19));
    EXPECT_LT(luma(0, 10), luma(19, 10));
    EXPECT_LT(luma(10, 1), luma(10, 18));
    EXPECT_EQ(s.GetPixel(10, 2), 0xC0C0C0u);
    EXPECT_EQ(s.GetPixel(20, 10), 0xC0C0C0u);
}

TEST(GdiClipping, NothingIsDrawnOutsideTheClipRectangle) {
    CSurface s = WhiteSurface();
    CDC dc(&s, {0, 0}, {10, 10, 20, 20});
    dc.SelectBrush(CBrush::Solid(kRed));
    dc.SelectPen({PS_SOLID, 2, kRed});
    dc.FillRect({0, 0, 40, 40}, kRed);
    dc.MoveTo(0, 15);
    dc.LineTo(40, 15);
    dc.Rectangle({5, 5, 35, 35});
    dc.RoundRect({5, 5, 35, 35}, 8, 8);
    CPoint tri[] = {{0, 0}, {40, 0}, {0, 40}};
    dc.Polygon(tri, 3);
    dc.SetPixel(25, 25, kRed);
    EXPECT_EQ(CountPixels(s, {0, 0, 40, 40}, kRed), 100);
    EXPECT_EQ(CountPixels(s, {10, 10, 20, 20}, kRed), 100);
}

TEST(GdiClipping, DrawingFarOutsideTheSurfaceIsHarmless) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.MoveTo(-1000, -1000);
    dc.LineTo(-900, 2000);
    dc.FillRect({-50, -50, -10, 100000}, kRed);
    dc.SelectPen({PS_SOLID, 2, kRed});
    dc.Rectangle({-5, -5, 1, 1});
    EXPECT_EQ(CountPixels(s, {0, 0, 40, 40}, kRed), 1);
    EXPECT_EQ(dc.GetPixel(-1, 0), 0xFFFFFFFFu);
}

TEST(GdiClipping, ADcWithAnOriginDrawsInClientCoordinates) {
    CSurface s = WhiteSurface();
    CDC dc(&s, {10, 20}, {10, 20, 30, 30});
    EXPECT_EQ(dc.GetClipRect(), (CRect{0, 0, 20, 10}));
    dc.FillRect({0, 0, 2, 2}, kRed);
    dc.SetPixel(19, 9, kBlue);
    EXPECT_EQ(s.GetPixel(10, 20), kRed);
    EXPECT_EQ(s.GetPixel(11, 21), kRed);
    EXPECT_EQ(s.GetPixel(29, 29), kBlue);
    EXPECT_EQ(dc.GetPixel(0, 0), kRed);
    dc.SetPixel(20, 9, kBlue);
    EXPECT_EQ(s.GetPixel(30, 29), kWhite);
}

TEST(GdiObjects, SelectingReturnsThePreviouslySelectedObject) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    CPen red{PS_SOLID, 2, kRed};
    CPen first = dc.SelectPen(red);
    EXPECT_EQ(first, (CPen{}));
    EXPECT_EQ(dc.SelectPen(first), red);
    EXPECT_EQ(dc.GetPen(), first);

    CBrush brush = CBrush::Solid(kBlue);
    CBrush oldBrush = dc.SelectBrush(brush);
    EXPECT_EQ(dc.SelectBrush(CBrush::Null()), brush);
    EXPECT_EQ(dc.SelectBrush(oldBrush), CBrush::Null());

    CFont big{30, 700};
    CFont oldFont = dc.SelectFont(big);
    EXPECT_EQ(dc.SelectFont(oldFont), big);

    EXPECT_EQ(dc.SetTextColor(kRed), 0u);
    EXPECT_EQ(dc.SetTextColor(kBlue), kRed);
    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc.SetBkMode(OPAQUE), TRANSPARENT);
    EXPECT_EQ(dc.SetBkColor(kRed), kWhite);
}

TEST(GdiRectangles, ARoundRectWithANullBrushLeavesItsMiddleAlone) {
    CSurface s = WhiteSurface();
    CDC dc(&s);
    dc.SelectPen({PS_SOLID, 2, kRed});
    dc.SelectBrush(CBrush::Null());
    dc.RoundRect({0, 0, 30, 20}, 10, 10);
    EXPECT_EQ(s.GetPixel(15, 0), kRed);
    EXPECT_EQ(s.GetPixel(15, 1), kRed);
    EXPECT_EQ(s.GetPixel(15, 2), kWhite);
    EXPECT_EQ(s.GetPixel(15, 10), kWhite);
}

TEST(GdiStockLooks, TheGradientBarDarkensDownwardsAndStaysInItsRectangle) {
    CSurface s = WhiteSurface();
    CDC dc(&s, {0, 0}, {0, 0, 40, 30});
    dc.DrawGradientBar({5, 10, 25, 50});
    auto luma = [&](int x, int y) {
        COLORREF c = s.GetPixel(x, y);
        return GetRValue(c) + GetGValue(c) + GetBValue(c);
    };
    EXPECT_GT(luma(10, 10), luma(10, 29));
    EXPECT_EQ(GetRValue(s.GetPixel(10, 20)), GetBValue(s.GetPixel(10, 20))); // grey
    EXPECT_EQ(s.GetPixel(10, 20), s.GetPixel(24, 20));
    EXPECT_EQ(s.GetPixel(4, 20), kWhite);
    EXPECT_EQ(s.GetPixel(25, 20), kWhite);
    EXPECT_EQ(s.GetPixel(10, 9), kWhite);
    EXPECT_EQ(s.GetPixel(10, 30), kWhite);
}

TEST(GdiStockLooks, TheSelectionBandIsALightColouredBandOverTheWholeRow) {
    CSurface s(40, 40, 0);
    CDC dc(&s);
    dc.DrawSelectionBand({0, 10, 40, 30});
    for (int y = 10; y < 30; ++y) {
        COLORREF c = s.GetPixel(20, y);
        EXPECT_NE(c, 0u) << "y = " << y;
        EXPECT_NE(GetRValue(c), GetBValue(c)) << "a tinted, not a grey band";
        EXPECT_EQ(s.GetPixel(0, y), s.GetPixel(39, y));
    }
    COLORREF top = s.GetPixel(20, 10);
    EXPECT_GT(GetRValue(top) + GetGValue(top) + GetBValue(top), 3 * 160);
    EXPECT_EQ(s.GetPixel(20, 9), 0u);
    EXPECT_EQ(s.GetPixel(20, 30), 0u);
}

TEST(GdiClipping, TheWholeIntRangeNeitherOverflowsNorTakesLong) {
    CSurface s = WhiteSurface();
    CDC dc(&s, {10, 10}, {0, 0, 40, 40});
    const int lo = INT_MIN, hi = INT_MAX;
    const CRect all{lo, lo, hi, hi};
    auto start = std::chrono::steady_clock::now();
    dc.SelectBrush(CBrush::Solid(kRed));
    dc.SelectPen({PS_DASH, 2, kBlue});
    dc.FillRect(all, kRed);
    EXPECT_EQ(CountPixels(s, {0, 0, 40, 40}, kRed), 1600);
    dc.Rectangle(all);
    dc.RoundRect(all, hi, hi);
    dc.DrawEdge(all, EDGE_SUNKEN, BF_RECT);
    dc.MoveTo(lo, lo);
    dc.LineTo(hi, hi);
    dc.LineTo(lo, hi);
    CPoint poly[] = {{lo, lo}, {hi, lo}, {0, hi}};
    dc.Polygon(poly, 3);
    dc.Polyline(poly, 3);
    dc.SelectFont({hi, 700});
    dc.DrawText(u"行情", all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.DrawText(u"行情\n行情", all, DT_RIGHT | DT_WORDBREAK | DT_END_ELLIPSIS);
    dc.CalcTextRect(u"行情", all, DT_CALCRECT);
    dc.TextOut(hi, hi, u"x");
    dc.SetPixel(hi, hi, kRed);
    EXPECT_EQ(dc.GetPixel(lo, lo), 0xFFFFFFFFu);
    dc.BitBlt(hi, hi, hi, hi, dc, lo, lo);
    dc.BitBlt(lo, lo, hi, hi, dc, hi, hi);
    dc.DrawGradientBar(all);
    dc.DrawSelectionBand(all);
    CDC far(&s, {hi, lo}, {0, 0, 40, 40});
    far.FillRect({0, 0, 10, 10}, kBlue);
    far.MoveTo(0, 0);
    far.LineTo(hi, hi);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(GdiLines, ALineFromFarOutsideCrossesTheSurfaceOnItsIdealPathWithItsDashesInStep) {
    // One pixel per column, each within half a pixel of the ideal line.
    CSurface s(200, 60, kWhite);
    CDC dc(&s);
    dc.SelectPen({PS_SOLID, 1, kRed});
    const CPoint from{-100000, -2999}, to{100003, 3001};
    dc.MoveTo(from.x, from.y);
    dc.LineTo(to.x, to.y);
    const double slope = static_cast<double>(to.y - from.y) / (to.x - from.x);
    for (int x = 0; x < 200; ++x) {
        const double ideal = from.y + (x - from.x) * slope;
        int found = 0;
        for (int y = 0; y < 60; ++y) {
            if (s.GetPixel(x, y) == kRed) {
                ++found;
                EXPECT_LE(std::abs(y - ideal), 0.5) << "column " << x;
            }
        }
        EXPECT_EQ(found, ideal >= -0.5 && ideal < 59.5 ? 1 : 0) << "column " << x;
    }
    // A dashed line's pattern counts the pixels walked off the surface too.
    CSurface row(100, 1, kWhite);
    CDC rowDc(&row);
    rowDc.SelectPen({PS_DASH, 1, kBlue});
    rowDc.MoveTo(-1000003, 0);
    rowDc.LineTo(1000, 0);
    for (int x = 0; x < 100; ++x)
        EXPECT_EQ(row.GetPixel(x, 0) == kBlue, (x + 1000003) % 9 < 6) << "x " << x;
}
