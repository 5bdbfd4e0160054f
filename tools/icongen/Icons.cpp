// The drawings of the project's icons (see Icons.h).
#include "tools/icongen/Icons.h"

#include <algorithm>
#include <initializer_list>

namespace {
constexpr int S = kSupersample;
constexpr COLORREF kArrowFill = 0xF0F0F0;
constexpr COLORREF kArrowOutline = 0x202020;

// A sort-direction arrow for the quote table header, 16 × 20 pixels: a
// light arrow with a dark rim so that it reads on the grey header and on its
// pressed gradient. Coordinates are canvas samples (4 per pixel); pointing
// down mirrors the shape vertically.
void DrawSortArrow(CDC& dc, bool up) {
    const int height = 20 * S;
    CPoint outer[] = {{32, 2}, {62, 40}, {46, 40}, {46, 76}, {18, 76}, {18, 40}, {2, 40}};
    CPoint inner[] = {{32, 8}, {56, 36}, {42, 36}, {42, 72}, {22, 72}, {22, 36}, {8, 36}};
    if (!up) {
        for (auto& p : outer)
            p.y = height - p.y;
        for (auto& p : inner)
            p.y = height - p.y;
    }
    dc.SelectPen({PS_NULL, 1, 0});
    dc.SelectBrush(CBrush::Solid(kArrowOutline));
    dc.Polygon(outer, static_cast<int>(std::size(outer)));
    dc.SelectBrush(CBrush::Solid(kArrowFill));
    dc.Polygon(inner, static_cast<int>(std::size(inner)));
}

// The quote tables' bottom-bar glyphs, 40 × 40 pixels: light shapes that
// read on the dark bar. Coordinates are canvas samples (4 per pixel, so the
// canvas is 160 × 160).
constexpr COLORREF kGlyph = 0xF0F0F0;
constexpr int kBarIcon = 40;

void FillShape(CDC& dc, std::initializer_list<CPoint> points, COLORREF color = kGlyph) {
    dc.SelectPen({PS_NULL, 1, 0});
    dc.SelectBrush(CBrush::Solid(color));
    dc.Polygon(points.begin(), static_cast<int>(points.size()));
}

void FillBox(CDC& dc, const CRect& r, COLORREF color = kGlyph) {
    dc.SelectPen({PS_NULL, 1, 0});
    dc.SelectBrush(CBrush::Solid(color));
    dc.Rectangle(r);
}

void FillEllipse(CDC& dc, const CRect& r, COLORREF color) {
    dc.SelectPen({PS_NULL, 1, 0});
    dc.SelectBrush(CBrush::Solid(color));
    dc.RoundRect(r, r.Width(), r.Height());
}

// Options: three bars.
void DrawMenuGlyph(CDC& dc) {
    for (int i = 0; i < 3; ++i)
        FillBox(dc, CRect::FromSize(24, 32 + i * 40, 112, 16));
}

// Search: a lens ring with a handle.
void DrawSearchGlyph(CDC& dc) {
    FillEllipse(dc, {16, 16, 112, 112}, kGlyph);
    FillEllipse(dc, {32, 32, 96, 96}, kTransparentKey);
    FillShape(dc, {{92, 104}, {104, 92}, {148, 136}, {136, 148}});
}

// Previous and next page: a bar and a triangle pointing away from it.
void DrawPageGlyph(CDC& dc, bool up) {
    if (up) {
        FillBox(dc, CRect::FromSize(24, 24, 112, 14));
        FillShape(dc, {{80, 52}, {140, 124}, {20, 124}});
    } else {
        FillBox(dc, CRect::FromSize(24, 122, 112, 14));
        FillShape(dc, {{20, 36}, {140, 36}, {80, 108}});
    }
}

// Sectors: four tiles.
void DrawSectorsGlyph(CDC& dc) {
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col)
            FillBox(dc, CRect::FromSize(20 + col * 64, 20 + row * 64, 56, 56));
}

// Back: an arrow pointing left.
void DrawBackGlyph(CDC& dc) {
    FillShape(dc, {{16, 80}, {72, 24}, {72, 60}, {144, 60}, {144, 100}, {72, 100}, {72, 136}});
}
// Edit: a pencil lying across the square.
void DrawEditGlyph(CDC& dc) {
    FillShape(dc, {{40, 136}, {24, 136}, {24, 120}, {108, 36}, {124, 52}});
    FillShape(dc, {{114, 30}, {126, 18}, {142, 34}, {130, 46}});
}

// K-line chart: three candles with their wicks.
void DrawCandlesGlyph(CDC& dc) {
    const int xs[] = {24, 68, 112};
    const int tops[] = {60, 28, 72};
    const int bottoms[] = {120, 96, 136};
    for (int i = 0; i < 3; ++i) {
        FillBox(dc, CRect::FromSize(xs[i] + 10, tops[i] - 16, 4, bottoms[i] - tops[i] + 32));
        FillBox(dc, {xs[i], tops[i], xs[i] + 24, bottoms[i]});
    }
}

// Company information: a page with lines of text.
void DrawInfoGlyph(CDC& dc) {
    FillBox(dc, {28, 12, 132, 148});
    FillBox(dc, {40, 24, 120, 136}, kTransparentKey);
    for (int i = 0; i < 4; ++i)
        FillBox(dc, CRect::FromSize(52, 44 + i * 24, i == 3 ? 36 : 56, 10));
}

// Refresh: an open ring with an arrow head at its end.
void DrawRefreshGlyph(CDC& dc) {
    FillEllipse(dc, {20, 20, 140, 140}, kGlyph);
    FillEllipse(dc, {40, 40, 120, 120}, kTransparentKey);
    FillBox(dc, {80, 10, 150, 80}, kTransparentKey);
    FillShape(dc, {{80, 4}, {128, 30}, {80, 58}});
}

// Confirm: a check mark.
void DrawCheckGlyph(CDC& dc) {
    FillShape(dc, {{16, 84}, {36, 64}, {64, 92}, {124, 28}, {144, 48}, {64, 132}});
}

// Switch view: two opposed arrows.
void DrawSwitchGlyph(CDC& dc) {
    FillShape(dc, {{20, 52}, {60, 16}, {60, 40}, {140, 40}, {140, 64}, {60, 64}, {60, 88}});
    FillShape(dc, {{140, 108}, {100, 72}, {100, 96}, {20, 96}, {20, 120}, {100, 120}, {100, 144}});
}

// Move up or down: a plain arrow.
void DrawMoveGlyph(CDC& dc, bool up) {
    if (up)
        FillShape(dc, {{80, 16}, {144, 84}, {100, 84}, {100, 144}, {60, 144}, {60, 84}, {16, 84}});
    else
        FillShape(dc, {{80, 144}, {16, 76}, {60, 76}, {60, 16}, {100, 16}, {100, 76}, {144, 76}});
}

// Minute chart: a day's price line over a base line.
void DrawMinuteLineGlyph(CDC& dc) {
    FillBox(dc, {16, 132, 144, 144});
    const CPoint line[] = {{16, 96}, {44, 60}, {68, 84}, {100, 36}, {124, 64}, {144, 28}};
    for (size_t i = 1; i < std::size(line); ++i) {
        const CPoint a = line[i - 1], b = line[i];
        FillShape(dc, {{a.x, a.y - 8}, {b.x, b.y - 8}, {b.x, b.y + 8}, {a.x, a.y + 8}});
    }
}

// Delete: a cross.
void DrawDeleteGlyph(CDC& dc) {
    FillShape(dc, {{24, 44}, {44, 24}, {136, 116}, {116, 136}});
    FillShape(dc, {{116, 24}, {136, 44}, {44, 136}, {24, 116}});
}
} // namespace

const std::vector<CIconSpec>& Icons() {
    static const std::vector<CIconSpec> icons = {
        {137, 16, 20, [](CDC& dc) { DrawSortArrow(dc, true); }},
        {138, 16, 20, [](CDC& dc) { DrawSortArrow(dc, false); }},
        {126, kBarIcon, kBarIcon, DrawMenuGlyph},
        {118, kBarIcon, kBarIcon, DrawSearchGlyph},
        {124, kBarIcon, kBarIcon, [](CDC& dc) { DrawPageGlyph(dc, true); }},
        {123, kBarIcon, kBarIcon, [](CDC& dc) { DrawPageGlyph(dc, false); }},
        {140, kBarIcon, kBarIcon, DrawSectorsGlyph},
        {116, kBarIcon, kBarIcon, DrawBackGlyph},
        {133, kBarIcon, kBarIcon, DrawEditGlyph},
        {114, kBarIcon, kBarIcon, DrawCandlesGlyph},
        {115, kBarIcon, kBarIcon, DrawRefreshGlyph},
        {111, kBarIcon, kBarIcon, DrawInfoGlyph},
        {121, kBarIcon, kBarIcon, DrawCheckGlyph},
        {130, kBarIcon, kBarIcon, DrawSwitchGlyph},
        {134, kBarIcon, kBarIcon, [](CDC& dc) { DrawMoveGlyph(dc, true); }},
        {141, kBarIcon, kBarIcon, [](CDC& dc) { DrawMoveGlyph(dc, false); }},
        {131, kBarIcon, kBarIcon, DrawDeleteGlyph},
        {122, kBarIcon, kBarIcon, DrawMinuteLineGlyph},
    };
    return icons;
}
