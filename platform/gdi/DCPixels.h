// What the device context's sources share (CDC.cpp: shapes and lines,
// CDCText.cpp: text, CDCBlocks.cpp: blocks, images and stock looks): the
// range coordinates are pulled in to and the row fill. Not for use outside
// the drawing layer's device context.
#pragma once

#include "platform/Geometry.h"
#include "platform/gdi/CSurface.h"
#include "platform/gdi/Color.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace dcpixels {

// Coordinates beyond this (pixels) lie off any surface; a rectangle is
// pulled in to it before any arithmetic, so sums of two never overflow.
constexpr int kFar = 1 << 28;
// The tallest text line drawn, as the font engine's largest size (pixels).
constexpr int kMaxFontHeight = 4096;

inline int Near(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -kFar, kFar)); }
inline CRect Near(const CRect& r) { return {Near(r.left), Near(r.top), Near(r.right), Near(r.bottom)}; }

// Ordered corners, pulled in to ±kFar.
inline CRect Normalized(const CRect& r) {
    return Near(CRect{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                      std::max(r.top, r.bottom)});
}

// Fills count pixels from p with c, in the widest stores the machine has
// (DCPixels.cpp).
void FillPixels(COLORREF* p, size_t count, COLORREF c);
// Whether count pixels from p are all ground, read likewise.
bool IsPlain(const COLORREF* p, size_t count, COLORREF ground);

// Fills the rows of r (inside the surface) with c, row by row in wide
// stores: copying a first row would read as much as it writes.
inline void FillSpanRows(CSurface& surface, const CRect& r, COLORREF c) {
    if (r.left == 0 && r.right == surface.Width() && r.bottom - r.top > 1) {
        // Whole rows lie one after another: one fill, which the C library
        // does fastest when long.
        const size_t all = static_cast<size_t>(r.Width()) * static_cast<size_t>(r.bottom - r.top);
        if (c == 0)
            std::memset(surface.Row(r.top), 0, all * sizeof(COLORREF));
        else
            FillPixels(surface.Row(r.top), all, c);
        return;
    }
    const size_t count = static_cast<size_t>(r.Width());
    if (c == 0) {
        // Black, the tables' ground, is all zero bytes.
        for (int y = r.top; y < r.bottom; ++y)
            std::memset(surface.Row(y) + r.left, 0, count * sizeof(COLORREF));
        return;
    }
    for (int y = r.top; y < r.bottom; ++y)
        FillPixels(surface.Row(y) + r.left, count, c);
}

} // namespace dcpixels
