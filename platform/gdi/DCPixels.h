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

// Fills count pixels from p with c, eight at a time where it can (a loop
// the compiler turns into vector stores), the rest one by one.
inline void FillPixels(COLORREF* p, size_t count, COLORREF c) {
    size_t i = 0;
    for (; i + 8 <= count; i += 8)
        for (size_t k = 0; k < 8; ++k)
            p[i + k] = c;
    for (; i < count; ++i)
        p[i] = c;
}

// Fills the rows of r (inside the surface) with c: a wide one's first row by
// wide stores, the others as copies of it, which the C library moves as
// fast as the machine allows.
inline void FillSpanRows(CSurface& surface, const CRect& r, COLORREF c) {
    const size_t count = static_cast<size_t>(r.Width());
    if (c == 0) {
        // Black, the tables' ground, is all zero bytes.
        for (int y = r.top; y < r.bottom; ++y)
            std::memset(surface.Row(y) + r.left, 0, count * sizeof(COLORREF));
        return;
    }
    if (count <= 16) {
        // A column or a short span: stores cost less than calls.
        for (int y = r.top; y < r.bottom; ++y)
            FillPixels(surface.Row(y) + r.left, count, c);
        return;
    }
    COLORREF* first = surface.Row(r.top) + r.left;
    FillPixels(first, count, c);
    for (int y = r.top + 1; y < r.bottom; ++y)
        std::memcpy(surface.Row(y) + r.left, first, count * sizeof(COLORREF));
}

} // namespace dcpixels
