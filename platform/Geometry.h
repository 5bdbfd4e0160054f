// Integer screen geometry shared by windows, drawing and controls.
//
// Rectangles follow the phone platform's convention: right and bottom are
// exclusive, so a rectangle {0, 0, 480, 720} covers exactly 480 × 720 pixels.
#pragma once

#include <algorithm>
#include <vector>

struct CPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const CPoint&, const CPoint&) = default;
};

struct CSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const CSize&, const CSize&) = default;
};

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static CRect FromSize(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    // Left and top inclusive, right and bottom exclusive.
    bool Contains(CPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    CRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    // Shrinks by dx on the left and right and dy on the top and bottom (negative grows).
    CRect Deflate(int dx, int dy) const { return {left + dx, top + dy, right - dx, bottom - dy}; }
    CRect Intersect(const CRect& o) const {
        CRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        if (r.IsEmpty())
            return {};
        return r;
    }
    CPoint TopLeft() const { return {left, top}; }
    friend bool operator==(const CRect&, const CRect&) = default;
};

// The parts of area that none of holes covers, as disjoint rectangles (in
// bands from top to bottom). Painting uses it to fill only what no opaque
// window above will fill again.
std::vector<CRect> SubtractRects(const CRect& area, const std::vector<CRect>& holes);
