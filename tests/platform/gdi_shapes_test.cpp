// Pixel conventions of the device context read back from a surface: which
// pixels lines, rectangles and fills touch, pens, clipping and the origin,
// and that no coordinate, however far, reaches outside the clip.
#include "platform/gdi/CDC.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <thread>
#include <vector>

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
} // namespace

TEST(GdiShapes, EachShapeTouchesExactlyItsPixelsAndNothingOutsideTheClip) {
    struct Pixel {
        int x, y;
        COLORREF c;
    };
    struct Count {
        CRect r;
        COLORREF c;
        int n;
    };
    struct Case {
        const char* what;
        CPen pen;     // selected before draw runs
        CBrush brush; // likewise
        std::function<void(CDC&)> draw;
        std::vector<Pixel> pixels;
        std::vector<Count> counts;
        CPoint origin{0, 0};
        CRect clip{0, 0, 40, 40};
    };
    const CRect all{0, 0, 40, 40};
    const CPen black{}, red1{PS_SOLID, 1, kRed}, red2{PS_SOLID, 2, kRed}, none{PS_NULL, 1, 0};
    const CBrush white{}, blue = CBrush::Solid(kBlue), hollow = CBrush::Null();
    const Case cases[] = {
        {"a line leaves out its last pixel", red1, white, [](CDC& dc) { dc.MoveTo(0, 0); dc.LineTo(10, 0); },
         {{9, 0, kRed}, {10, 0, kWhite}}, {{{0, 0, 10, 1}, kRed, 10}, {all, kRed, 10}}},
        {"a diagonal steps one pixel per column", black, white, [](CDC& dc) { dc.MoveTo(2, 2); dc.LineTo(8, 8); },
         {{2, 2, kBlack}, {5, 5, kBlack}, {7, 7, kBlack}, {8, 8, kWhite}}, {{all, kBlack, 6}}},
        {"LineTo moves the current position so segments join", black, white,
         [](CDC& dc) { dc.MoveTo(0, 5); dc.LineTo(5, 5); dc.LineTo(5, 10); },
         {{5, 5, kBlack}, {5, 9, kBlack}, {5, 10, kWhite}}, {{all, kBlack, 10}}},
        {"a dashed pen draws six and skips three", {PS_DASH, 1, kBlue}, white,
         [](CDC& dc) { dc.MoveTo(0, 3); dc.LineTo(30, 3); },
         {{0, 3, kBlue}, {5, 3, kBlue}, {6, 3, kWhite}, {8, 3, kWhite}, {9, 3, kBlue}, {27, 3, kBlue}},
         {{all, kBlue, 21}}},
        {"a two-pixel pen widens the path up and left", red2, white,
         [](CDC& dc) { dc.MoveTo(5, 10); dc.LineTo(15, 10); },
         {{4, 9, kRed}, {14, 10, kRed}}, {{{4, 9, 15, 11}, kRed, 22}, {all, kRed, 22}}},
        {"a two-pixel diagonal widens each step up and left", red2, white,
         [](CDC& dc) { dc.MoveTo(5, 5); dc.LineTo(10, 10); },
         {{4, 4, kRed}, {5, 4, kRed}, {9, 9, kRed}, {10, 10, kWhite}, {10, 9, kWhite}}, {{all, kRed, 16}}},
        {"a null pen draws nothing", {PS_NULL, 1, kRed}, white,
         [](CDC& dc) {
             dc.LineTo(30, 30);
             const CPoint pts[] = {{0, 0}, {20, 0}, {20, 20}};
             dc.Polyline(pts, 3);
         },
         {}, {{all, kRed, 0}}},
        {"a polyline leaves out only its final point", black, white,
         [](CDC& dc) { const CPoint pts[] = {{0, 0}, {10, 0}, {10, 10}}; dc.Polyline(pts, 3); },
         {{9, 0, kBlack}, {10, 0, kBlack}, {10, 9, kBlack}, {10, 10, kWhite}}, {{all, kBlack, 20}}},
        {"a rectangle's outline stays off its right and bottom edges", black, blue,
         [](CDC& dc) { dc.Rectangle({0, 0, 10, 10}); },
         {{0, 0, kBlack}, {9, 5, kBlack}, {5, 9, kBlack}, {9, 9, kBlack}, {10, 5, kWhite}, {5, 10, kWhite}},
         {{{0, 0, 10, 10}, kBlack, 36}, {all, kBlue, 64}}},
        {"a two-pixel outline stays inside the rectangle", red2, hollow,
         [](CDC& dc) { dc.Rectangle({5, 5, 15, 15}); },
         {{10, 10, kWhite}}, {{{5, 5, 15, 15}, kRed, 64}, {all, kRed, 64}}},
        {"FillRect leaves out the right and bottom edges, a null brush everything", black, white,
         [all](CDC& dc) { dc.FillRect({2, 3, 7, 9}, kRed); dc.FillRect(all, CBrush::Null()); },
         {{2, 3, kRed}, {6, 8, kRed}, {7, 8, kWhite}, {6, 9, kWhite}}, {{all, kRed, 30}}},
        {"a round rectangle cuts its corners and fills its middle", red1, blue,
         [](CDC& dc) { dc.RoundRect({0, 0, 30, 20}, 10, 10); },
         {{0, 0, kWhite}, {29, 19, kWhite}, {15, 0, kRed}, {0, 10, kRed}, {29, 10, kRed}, {15, 19, kRed},
          {15, 10, kBlue}},
         {{{30, 0, 40, 40}, kRed, 0}, {{0, 20, 40, 40}, kRed, 0}}},
        {"a round rectangle with a null brush leaves its middle", red2, hollow,
         [](CDC& dc) { dc.RoundRect({0, 0, 30, 20}, 10, 10); },
         {{15, 0, kRed}, {15, 1, kRed}, {15, 2, kWhite}, {15, 10, kWhite}}, {}},
        {"a polygon is filled inside and outlined on its edges", red1, blue,
         [](CDC& dc) { const CPoint square[] = {{5, 5}, {15, 5}, {15, 15}, {5, 15}}; dc.Polygon(square, 4); },
         {{10, 10, kBlue}, {5, 5, kRed}, {15, 15, kRed}, {16, 10, kWhite}}, {{all, kRed, 40}, {all, kBlue, 81}}},
        {"a triangle is filled only between its edges", none, blue,
         [](CDC& dc) { const CPoint tri[] = {{0, 0}, {20, 0}, {0, 20}}; dc.Polygon(tri, 3); },
         {{1, 1, kBlue}, {6, 12, kBlue}, {7, 12, kWhite}, {12, 12, kWhite}}, {}},
        {"a sunken edge is dark above and left, light below and right, two rings deep", black, white,
         [](CDC& dc) {
             dc.FillRect({0, 0, 40, 40}, 0xC0C0C0);
             dc.DrawEdge({0, 0, 20, 20}, EDGE_SUNKEN, BF_RECT);
         },
         {{10, 0, 0x808080}, {0, 10, 0x808080}, {10, 1, 0x404040}, {10, 19, kWhite}, {19, 10, kWhite},
          {10, 18, 0xE0E0E0}, {18, 10, 0xE0E0E0}, {10, 2, 0xC0C0C0}},
         {{{20, 0, 40, 40}, 0xC0C0C0, 800}}},
        // The band's colours: the reference screens.
        {"the stock looks fill their rectangle, the bar darkening downwards", black, white,
         [](CDC& dc) {
             dc.DrawGradientBar({5, 10, 25, 20});
             dc.DrawSelectionBand({0, 30, 40, 38});
         },
         {{10, 10, 0xDCDCDC}, {24, 19, 0x8C8C8C}, {4, 15, kWhite}, {25, 15, kWhite}, {10, 9, kWhite},
          {20, 38, kWhite}},
         {{{5, 10, 25, 20}, kWhite, 0}, {{0, 30, 40, 38}, kWhite, 0}}},
        {"nothing is drawn outside the clip", red2, CBrush::Solid(kRed),
         [](CDC& dc) {
             dc.FillRect({0, 0, 40, 40}, kRed);
             dc.MoveTo(0, 15);
             dc.LineTo(40, 15);
             dc.Rectangle({5, 5, 35, 35});
             dc.RoundRect({5, 5, 35, 35}, 8, 8);
             const CPoint tri[] = {{0, 0}, {40, 0}, {0, 40}};
             dc.Polygon(tri, 3);
             dc.SetPixel(25, 25, kRed);
         },
         {}, {{all, kRed, 100}, {{10, 10, 20, 20}, kRed, 100}}, {0, 0}, {10, 10, 20, 20}},
        {"drawing far outside the surface is harmless", black, white,
         [](CDC& dc) {
             dc.MoveTo(-1000, -1000);
             dc.LineTo(-900, 2000);
             dc.FillRect({-50, -50, -10, 100000}, kRed);
             dc.SelectPen({PS_SOLID, 2, kRed});
             dc.Rectangle({-5, -5, 1, 1});
             EXPECT_EQ(dc.GetPixel(-1, 0), 0xFFFFFFFFu);
         },
         {{0, 0, kRed}}, {{all, kRed, 1}, {all, kBlack, 0}}},
        {"a DC with an origin draws in client coordinates", black, white,
         [](CDC& dc) {
             EXPECT_EQ(dc.GetClipRect(), (CRect{0, 0, 20, 10}));
             dc.FillRect({0, 0, 2, 2}, kRed);
             dc.SetPixel(19, 9, kBlue);
             dc.SetPixel(20, 9, kBlue);
             EXPECT_EQ(dc.GetPixel(0, 0), kRed);
         },
         {{10, 20, kRed}, {11, 21, kRed}, {29, 29, kBlue}, {30, 29, kWhite}}, {{all, kRed, 4}, {all, kBlue, 1}},
         {10, 20}, {10, 20, 30, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CSurface s(40, 40, kWhite);
        CDC dc(&s, c.origin, c.clip);
        dc.SelectPen(c.pen);
        dc.SelectBrush(c.brush);
        c.draw(dc);
        for (const Pixel& p : c.pixels)
            EXPECT_EQ(s.GetPixel(p.x, p.y), p.c) << "(" << p.x << ", " << p.y << ")";
        for (const Count& n : c.counts)
            EXPECT_EQ(CountPixels(s, n.r, n.c), n.n) << n.c;
    }
}

TEST(GdiShapes, RoundedBoxesOfOneShapeAnywhereHaveThePixelsOfEachDrawnAlone) {
    // A few shapes' rows are kept per thread: the same shape elsewhere (off
    // the surface's corner too, clipped, through an origin), more shapes in
    // between than are kept and a pen of another width must give what a
    // thread that drew nothing before gives.
    struct Use {
        CRect box;
        int corner;
        int penWidth;
        CPoint origin;
    };
    const Use uses[] = {{{2, 2, 32, 22}, 10, 1, {0, 0}},    {{10, 15, 40, 35}, 10, 1, {0, 0}},
                        {{-7, -4, 23, 16}, 10, 2, {0, 0}},  {{5, 5, 35, 30}, 12, 1, {0, 0}},
                        {{2, 2, 32, 22}, 10, 3, {6, 9}},    {{25, 28, 55, 48}, 10, 1, {0, 0}},
                        {{5, 5, 35, 30}, 12, 1, {-3, 2}},   {{1, 1, 21, 13}, 6, 1, {0, 0}},
                        {{3, 4, 39, 34}, 16, 2, {0, 0}},    {{9, 9, 21, 21}, 20, 1, {0, 0}},
                        {{30, 2, 38, 10}, 4, 1, {0, 0}},    {{2, 2, 32, 22}, 10, 1, {0, 0}},
                        {{5, 5, 35, 30}, 12, 1, {0, 0}}};
    auto draw = [](const Use& use) {
        CSurface s(40, 40, kWhite);
        CDC dc(&s, use.origin, {0, 0, 40, 40});
        dc.SelectPen({PS_SOLID, use.penWidth, kRed});
        dc.SelectBrush(CBrush::Solid(kBlue));
        dc.RoundRect(use.box, use.corner, use.corner);
        return s;
    };
    for (const Use& use : uses) {
        const CSurface warm = draw(use);
        CSurface cold(1, 1, 0);
        std::thread([&] { cold = draw(use); }).join();
        int differing = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                differing += warm.GetPixel(x, y) != cold.GetPixel(x, y);
        EXPECT_EQ(differing, 0) << use.box.left << "," << use.box.top << " corner " << use.corner;
    }
}

TEST(GdiShapes, TheWholeIntRangeNeitherOverflowsNorReachesOutsideTheClip) {
    // Its cost beside the same shapes drawn within the surface: bench/gdi_bench.cpp.
    CSurface s(40, 40, kWhite);
    CDC dc(&s, {10, 10}, {0, 0, 40, 40});
    const int lo = INT_MIN, hi = INT_MAX;
    const CRect all{lo, lo, hi, hi};
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
}

TEST(GdiShapes, ALineFromFarOutsideCrossesTheSurfaceOnItsIdealPathWithItsDashesInStep) {
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
