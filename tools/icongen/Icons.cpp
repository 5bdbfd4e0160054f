// The drawings of the project's icons (see Icons.h).
#include "tools/icongen/Icons.h"

#include <algorithm>

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
} // namespace

const std::vector<CIconSpec>& Icons() {
    static const std::vector<CIconSpec> icons = {
        {137, 16, 20, [](CDC& dc) { DrawSortArrow(dc, true); }},
        {138, 16, 20, [](CDC& dc) { DrawSortArrow(dc, false); }},
    };
    return icons;
}
