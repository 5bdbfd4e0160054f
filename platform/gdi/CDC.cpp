// Drawing primitives over a CSurface, with GDI's pixel conventions (see
// CDC.h): the device context's state, pixels, rectangles, rounded boxes,
// edges, lines and polygons. Text is CDCText.cpp's; blocks, images and the
// stock looks are CDCBlocks.cpp's.
//
// Everything is computed in surface pixels after adding the origin, and every
// pixel write goes through the clip rectangle, which is already limited to
// the surface, so no primitive can write outside it. Callers may pass any
// int: rectangles are first pulled in to ±kFar, which keeps all sums in
// range and changes nothing on a surface, and lines are walked in 64 bits
// from the first pixel that can reach the clip, so a far-flung line costs
// no more than its visible part.
#include "platform/gdi/CDC.h"
#include "platform/system/ThreadSlot.h"

#include "platform/gdi/DCPixels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

using namespace dcpixels;

namespace {
// A dashed pen draws kDashOn pixels, then skips kDashOff, along its path.
constexpr int kDashOn = 6;
constexpr int kDashOff = 3;

// DrawEdge sides.
constexpr unsigned kBfLeft = 0x1, kBfTop = 0x2, kBfRight = 0x4, kBfBottom = 0x8;
// The 3D colours of the stock edges.
constexpr COLORREF kEdgeHighlight = 0xFFFFFF, kEdgeLight = 0xE0E0E0, kEdgeShadow = 0x808080,
                   kEdgeDarkShadow = 0x404040;

// The row spans of one rounded shape, relative to its top-left corner,
// each measured on first use.
struct CShapeRows {
    static constexpr int kMaxRows = 4096; // taller shapes are measured every time
    struct Span {
        int left = 0, right = 0;
    };
    struct Row {
        Span span;
        bool known = false;
    };
    int width = -1, height = -1, cornerWidth = 0, cornerHeight = 0;
    std::vector<Row> rows;
    bool Is(int w, int h, int cw, int ch) const {
        return w == width && h == height && cw == cornerWidth && ch == cornerHeight;
    }
};

// The rows of the last few shapes drawn on this thread (a screen's boxes
// come in a few shapes); a new shape takes the place of the oldest.
CShapeRows& ThreadShapeRows(int width, int height, int cornerWidth, int cornerHeight) {
    struct CShapes {
        std::array<CShapeRows, 4> rows;
        size_t next = 0;
    };
    static CThreadSlot<CShapes> perThread;
    std::array<CShapeRows, 4>& shapes = perThread.Get().rows;
    size_t& next = perThread.Get().next;
    for (CShapeRows& shape : shapes)
        if (shape.Is(width, height, cornerWidth, cornerHeight))
            return shape;
    CShapeRows& shape = shapes[next];
    next = (next + 1) % shapes.size();
    shape.width = width;
    shape.height = height;
    shape.cornerWidth = cornerWidth;
    shape.cornerHeight = cornerHeight;
    shape.rows.assign(static_cast<size_t>(height), CShapeRows::Row{});
    return shape;
}

} // namespace

CDC::CDC(CSurface* surface) : CDC(surface, {0, 0}, surface ? CRect{0, 0, surface->Width(), surface->Height()} : CRect{}) {}

CDC::CDC(CSurface* surface, CPoint origin, const CRect& clip)
    : m_surface(surface), m_origin{Near(origin.x), Near(origin.y)} {
    if (!m_surface)
        return;
    m_logClip = clip.Intersect({0, 0, m_surface->Width(), m_surface->Height()});
    m_clip = m_surface->HasDamage() ? m_logClip.Intersect(m_surface->GetDamage()) : m_logClip;
}

CDC::~CDC() = default;

CRect CDC::ToSurface(const CRect& r) const { return Near(r).Offset(m_origin.x, m_origin.y); }

CRect CDC::GetClipRect() const { return m_logClip.Offset(-m_origin.x, -m_origin.y); }

CRect CDC::GetDrawRect() const { return m_clip.Offset(-m_origin.x, -m_origin.y); }

std::unique_ptr<CDC> CDC::CreateMemoryDC(int width, int height) {
    auto surface = std::make_unique<CSurface>(width, height, 0);
    auto dc = std::make_unique<CDC>(surface.get());
    dc->m_owned = std::move(surface);
    return dc;
}

CPen CDC::SelectPen(const CPen& pen) { return std::exchange(m_pen, pen); }
CBrush CDC::SelectBrush(const CBrush& brush) { return std::exchange(m_brush, brush); }
CFont CDC::SelectFont(const CFont& font) { return std::exchange(m_font, font); }
COLORREF CDC::SetTextColor(COLORREF c) { return std::exchange(m_textColor, c); }
COLORREF CDC::SetBkColor(COLORREF c) { return std::exchange(m_bkColor, c); }
int CDC::SetBkMode(int mode) { return std::exchange(m_bkMode, mode); }

CDCStateSaver::CDCStateSaver(CDC& dc)
    : m_dc(dc), m_pen(dc.GetPen()), m_brush(dc.GetBrush()), m_font(dc.GetFont()), m_textColor(dc.GetTextColor()),
      m_bkColor(dc.GetBkColor()), m_bkMode(dc.GetBkMode()) {}

CDCStateSaver::~CDCStateSaver() {
    m_dc.SelectPen(m_pen);
    m_dc.SelectBrush(m_brush);
    m_dc.SelectFont(m_font);
    m_dc.SetTextColor(m_textColor);
    m_dc.SetBkColor(m_bkColor);
    m_dc.SetBkMode(m_bkMode);
}

// ---------------------------------------------------------------------------
// Pixels and rectangles

void CDC::FillSurfaceRect(const CRect& surfaceRect, COLORREF c) {
    if (!m_surface)
        return;
    const CRect painted = Normalized(surfaceRect).Intersect(m_logClip);
    if (painted.IsEmpty())
        return;
    if (painted == CRect{0, 0, m_surface->Width(), m_surface->Height()})
        m_surface->ClearTexts();
    else
        m_surface->ClearTextsIn(painted);
    const CRect r = painted.Intersect(m_clip);
    if (!r.IsEmpty())
        FillSpanRows(*m_surface, r, c & 0x00FFFFFF);
}

void CDC::SetPixel(int x, int y, COLORREF c) {
    if (!m_surface)
        return;
    CPoint p{Near(x) + m_origin.x, Near(y) + m_origin.y};
    if (m_clip.Contains(p))
        m_surface->SetPixel(p.x, p.y, c);
}

COLORREF CDC::GetPixel(int x, int y) const {
    CPoint p{Near(x) + m_origin.x, Near(y) + m_origin.y};
    if (!m_surface || !m_clip.Contains(p))
        return 0xFFFFFFFF;
    return m_surface->GetPixel(p.x, p.y);
}

void CDC::FillRect(const CRect& r, COLORREF color) { FillSurfaceRect(ToSurface(r), color); }

void CDC::FillRect(const CRect& r, const CBrush& brush) {
    if (!brush.isNull)
        FillRect(r, brush.color);
}

void CDC::Rectangle(const CRect& rect) {
    CRect r = Normalized(rect);
    if (r.IsEmpty())
        return;
    bool pen = m_pen.style != PS_NULL;
    int w = pen ? std::max(m_pen.width, 1) : 0;
    if (!m_brush.isNull)
        FillRect(r.Deflate(w, w), m_brush.color);
    if (!pen)
        return;
    if (r.Width() <= 2 * w || r.Height() <= 2 * w) {
        // No room inside the outline: the pen covers it all.
        if (m_pen.style == PS_SOLID) {
            FillRect(r, m_pen.color);
            return;
        }
    }
    // The outline's path runs so that a pen dot of width w stays inside r.
    int x0 = r.left + w / 2, y0 = r.top + w / 2;
    int x1 = r.right - w + w / 2, y1 = r.bottom - w + w / 2;
    m_dashPhase = 0;
    PenSegment({x0, y0}, {x1, y0});
    PenSegment({x1, y0}, {x1, y1});
    PenSegment({x1, y1}, {x0, y1});
    PenSegment({x0, y1}, {x0, y0});
    if (x0 == x1 && y0 == y1)
        PenDot(x0, y0, true);
}

void CDC::RoundRect(const CRect& rect, int cornerWidth, int cornerHeight) {
    CRect r = Normalized(rect);
    if (r.IsEmpty())
        return;
    if (cornerWidth <= 0 || cornerHeight <= 0) {
        Rectangle(r);
        return;
    }
    const double rx = std::min(cornerWidth, r.Width()) / 2.0;
    const double ry = std::min(cornerHeight, r.Height()) / 2.0;
    // Pixel (x, y) belongs to the shape when its centre lies inside.
    auto inside = [&](int x, int y) {
        if (x < r.left || x >= r.right || y < r.top || y >= r.bottom)
            return false;
        double cx = x + 0.5, cy = y + 0.5;
        double ex = cx < r.left + rx ? r.left + rx : (cx > r.right - rx ? r.right - rx : cx);
        double ey = cy < r.top + ry ? r.top + ry : (cy > r.bottom - ry ? r.bottom - ry : cy);
        double dx = (cx - ex) / rx, dy = (cy - ey) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
    // The shape is convex and symmetric, so each row is one span [left,
    // right) around the middle column; its ends are found by bisection with
    // the same test, so the pixels are those of the test run pixel by pixel.
    using Span = CShapeRows::Span;
    auto measureRow = [&](int y) -> Span {
        // Between the corners a row holds both ends, so all of it.
        if (inside(r.left, y) && inside(r.right - 1, y))
            return {r.left, r.right};
        const int mid = static_cast<int>(r.left + static_cast<std::int64_t>(r.Width()) / 2);
        int seed = inside(mid, y) ? mid : (mid > r.left && inside(mid - 1, y) ? mid - 1 : r.right);
        if (seed == r.right)
            return {};
        int lo = r.left, hi = seed; // the first inside pixel lies in [lo, hi]
        while (lo < hi) {
            const int m = static_cast<int>(lo + (static_cast<std::int64_t>(hi) - lo) / 2);
            if (inside(m, y))
                hi = m;
            else
                lo = m + 1;
        }
        const int left = lo;
        lo = seed;
        hi = r.right - 1; // the last inside pixel lies in [lo, hi]
        while (lo < hi) {
            const int m = static_cast<int>(lo + (static_cast<std::int64_t>(hi) - lo + 1) / 2);
            if (inside(m, y))
                lo = m;
            else
                hi = m - 1;
        }
        return {left, lo + 1};
    };
    // Every value the test computes is a multiple of 0.5 well inside a
    // double's exact range, so a row's span is the same wherever the shape
    // lies: the rows of the last few shapes are kept, relative to their
    // corner (a table's percent boxes are all one shape).
    const bool keep = r.Height() <= CShapeRows::kMaxRows;
    CShapeRows* kept = keep ? &ThreadShapeRows(r.Width(), r.Height(), cornerWidth, cornerHeight) : nullptr;
    auto rowSpan = [&](int y) -> Span {
        if (y < r.top || y >= r.bottom)
            return {};
        if (!kept)
            return measureRow(y);
        CShapeRows::Row& row = kept->rows[static_cast<size_t>(y - r.top)];
        if (!row.known) {
            const Span span = measureRow(y);
            row = {span.left < span.right ? Span{span.left - r.left, span.right - r.left} : Span{}, true};
        }
        return row.span.left < row.span.right ? Span{row.span.left + r.left, row.span.right + r.left} : Span{};
    };
    const bool pen = m_pen.style != PS_NULL;
    const int w = pen ? std::max(m_pen.width, 1) : 0;
    const CRect target = ToSurface(r).Intersect(m_clip);
    if (m_surface && !m_brush.isNull)
        m_surface->ClearTextsIn(ToSurface(r).Intersect(m_logClip));
    if (!m_surface || target.IsEmpty())
        return;
    // The spans of the rows in reach of the target's rows, pen width above
    // and below included.
    const int firstRow = target.top - m_origin.y - w;
    const int rowCount = target.Height() + 2 * w;
    std::vector<Span> spans(static_cast<size_t>(rowCount));
    for (int i = 0; i < rowCount; ++i)
        spans[static_cast<size_t>(i)] = rowSpan(firstRow + i);
    const COLORREF penColor = m_pen.color & 0x00FFFFFF;
    const COLORREF brushColor = m_brush.color & 0x00FFFFFF;
    auto fill = [&](int sy, std::int64_t from, std::int64_t to, COLORREF c) {
        from = std::max<std::int64_t>(from + m_origin.x, target.left);
        to = std::min<std::int64_t>(to + m_origin.x, target.right);
        if (from < to)
            FillSpanRows(*m_surface, CRect{static_cast<int>(from), sy, static_cast<int>(to), sy + 1}, c);
    };
    for (int sy = target.top; sy < target.bottom; ++sy) {
        const int i = sy - target.top + w;
        const Span row = spans[static_cast<size_t>(i)];
        if (row.left >= row.right)
            continue;
        // A pixel is border when a pixel up to w away along an axis is
        // outside: inside the row's ends less w, and inside every row
        // within w above and below.
        std::int64_t inLeft = static_cast<std::int64_t>(row.left) + w;
        std::int64_t inRight = static_cast<std::int64_t>(row.right) - w;
        for (int k = 1; k <= w; ++k) {
            for (const Span& other : {spans[static_cast<size_t>(i - k)], spans[static_cast<size_t>(i + k)]}) {
                inLeft = std::max<std::int64_t>(inLeft, other.left);
                inRight = std::min<std::int64_t>(inRight, other.right);
            }
        }
        if (inLeft >= inRight) {
            if (pen)
                fill(sy, row.left, row.right, penColor);
            else if (!m_brush.isNull)
                fill(sy, row.left, row.right, brushColor);
            continue;
        }
        if (pen) {
            fill(sy, row.left, inLeft, penColor);
            fill(sy, inRight, row.right, penColor);
        }
        if (!m_brush.isNull)
            fill(sy, inLeft, inRight, brushColor);
    }
}

void CDC::DrawEdge(const CRect& rect, unsigned edge, unsigned flags) {
    CRect r = Normalized(rect);
    bool raised = (edge & EDGE_SUNKEN) == 0 && (edge & EDGE_RAISED) != 0;
    COLORREF outerTL = raised ? kEdgeLight : kEdgeShadow;
    COLORREF outerBR = raised ? kEdgeDarkShadow : kEdgeHighlight;
    COLORREF innerTL = raised ? kEdgeHighlight : kEdgeDarkShadow;
    COLORREF innerBR = raised ? kEdgeShadow : kEdgeLight;
    for (int ring = 0; ring < 2 && !r.IsEmpty(); ++ring) {
        COLORREF tl = ring == 0 ? outerTL : innerTL;
        COLORREF br = ring == 0 ? outerBR : innerBR;
        // Bottom and right first so the top-left colour owns the shared corners.
        if (flags & kBfBottom)
            FillRect({r.left, r.bottom - 1, r.right, r.bottom}, br);
        if (flags & kBfRight)
            FillRect({r.right - 1, r.top, r.right, r.bottom}, br);
        if (flags & kBfTop)
            FillRect({r.left, r.top, r.right - 1, r.top + 1}, tl);
        if (flags & kBfLeft)
            FillRect({r.left, r.top, r.left + 1, r.bottom - 1}, tl);
        r = r.Deflate(1, 1);
    }
}

// ---------------------------------------------------------------------------
// Lines

void CDC::PenDot(std::int64_t x, std::int64_t y, bool dashOn) {
    if (!m_surface || !dashOn)
        return;
    int w = std::max(m_pen.width, 1);
    if (w == 1) {
        const std::int64_t px = x + m_origin.x, py = y + m_origin.y;
        if (px >= m_clip.left && px < m_clip.right && py >= m_clip.top && py < m_clip.bottom)
            m_surface->Row(static_cast<int>(py))[px] = m_pen.color & 0x00FFFFFF;
        return;
    }
    // A 2-pixel pen covers the path pixel and the one above or left of it.
    std::int64_t sx = x + m_origin.x - w / 2, sy = y + m_origin.y - w / 2;
    for (int dy = 0; dy < w; ++dy)
        for (int dx = 0; dx < w; ++dx)
            if (m_clip.Contains({Near(sx + dx), Near(sy + dy)}))
                m_surface->SetPixel(static_cast<int>(sx + dx), static_cast<int>(sy + dy), m_pen.color);
}

// Bresenham from `from` towards `to`, leaving out `to` itself. Each step
// moves one pixel along the major axis, so the steps whose major coordinate
// lies off the clip are skipped by computing the state at the first step
// that matters (the error term after n major and m minor steps is
// dx·(m+1) − |dy|·(n+1)); the dash pattern runs on as if every step ran.
void CDC::PenSegment(CPoint from, CPoint to) {
    if (m_pen.style == PS_NULL)
        return;
    const std::int64_t dx = std::abs(std::int64_t{to.x} - from.x);
    const std::int64_t dy = -std::abs(std::int64_t{to.y} - from.y);
    const int sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
    const bool xMajor = dx >= -dy;
    const std::int64_t steps = xMajor ? dx : -dy;
    const std::int64_t phase = m_dashPhase;
    m_dashPhase = static_cast<int>((phase + steps) % (kDashOn + kDashOff));
    if (!m_surface || steps == 0 || m_clip.IsEmpty())
        return;
    // Steps whose major coordinate lies within the clip, widened by the pen.
    const int w = std::max(m_pen.width, 1);
    const std::int64_t start = xMajor ? from.x : from.y;
    const int dir = xMajor ? sx : sy;
    const std::int64_t lo = (xMajor ? m_clip.left - m_origin.x : m_clip.top - m_origin.y) - w;
    const std::int64_t hi = (xMajor ? m_clip.right - m_origin.x : m_clip.bottom - m_origin.y) + w;
    std::int64_t first = dir > 0 ? lo - start : start - hi;
    std::int64_t last = dir > 0 ? hi - start : start - lo;
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, steps - 1);
    if (first > last)
        return;
    if (m_pen.style != PS_DASH && (dx == 0 || dy == 0)) {
        // A solid level or upright segment: its pen dots make one rectangle.
        const std::int64_t end0 = start + dir * first, end1 = start + dir * last;
        const std::int64_t major0 = std::min(end0, end1) - w / 2, major1 = std::max(end0, end1) - w / 2 + w;
        const std::int64_t minor0 = (xMajor ? from.y : from.x) - w / 2, minor1 = minor0 + w;
        const std::int64_t left = (xMajor ? major0 : minor0) + m_origin.x, right = (xMajor ? major1 : minor1) + m_origin.x;
        const std::int64_t top = (xMajor ? minor0 : major0) + m_origin.y, bottom = (xMajor ? minor1 : major1) + m_origin.y;
        const CRect box = CRect{static_cast<int>(std::max<std::int64_t>(left, m_clip.left)),
                                static_cast<int>(std::max<std::int64_t>(top, m_clip.top)),
                                static_cast<int>(std::min<std::int64_t>(right, m_clip.right)),
                                static_cast<int>(std::min<std::int64_t>(bottom, m_clip.bottom))};
        if (!box.IsEmpty())
            FillSpanRows(*m_surface, box, m_pen.color & 0x00FFFFFF);
        return;
    }
    const std::int64_t a = -dy;
    // Minor steps taken before step `first`; 128 bits, as 2·|d|·first may
    // pass 2^64.
    using Wide = __int128;
    const std::int64_t minor = xMajor ? static_cast<std::int64_t>((Wide{2} * a * first + dx) / (Wide{2} * dx))
                                      : static_cast<std::int64_t>((Wide{2} * dx * first + a) / (Wide{2} * a));
    const std::int64_t nx = xMajor ? first : minor, ny = xMajor ? minor : first;
    std::int64_t x = from.x + sx * nx, y = from.y + sy * ny;
    std::int64_t err = static_cast<std::int64_t>(Wide{dx} * (ny + 1) - Wide{a} * (nx + 1));
    // One step of the line to its next pixel.
    auto step = [&] {
        const std::int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    };
    if (m_pen.style != PS_DASH && w == 1) {
        // A solid thin line: its pixels, each inside the clip, written as
        // they come.
        const COLORREF color = m_pen.color & 0x00FFFFFF;
        const CRect clip = m_clip.Offset(-m_origin.x, -m_origin.y);
        for (std::int64_t k = first; k <= last; ++k, step())
            if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom)
                m_surface->Row(static_cast<int>(y + m_origin.y))[x + m_origin.x] = color;
        return;
    }
    for (std::int64_t k = first; k <= last; ++k, step())
        PenDot(x, y, m_pen.style != PS_DASH || (phase + k) % (kDashOn + kDashOff) < kDashOn);
}

void CDC::MoveTo(int x, int y) {
    m_current = {x, y};
    m_dashPhase = 0;
}

void CDC::LineTo(int x, int y) {
    PenSegment(m_current, {x, y});
    m_current = {x, y};
}

void CDC::Polyline(const CPoint* points, int count) {
    if (!points || count < 2)
        return;
    m_dashPhase = 0;
    for (int i = 1; i < count; ++i)
        PenSegment(points[i - 1], points[i]);
}

void CDC::Polygon(const CPoint* points, int count) {
    if (!points || count < 2 || !m_surface)
        return;
    if (!m_brush.isNull && count >= 3) {
        // Even-odd scanline fill sampled at pixel centres.
        int minY = points[0].y, maxY = points[0].y;
        for (int i = 1; i < count; ++i) {
            minY = std::min(minY, points[i].y);
            maxY = std::max(maxY, points[i].y);
        }
        minY = std::max(minY, m_clip.top - m_origin.y);
        maxY = std::min(maxY, m_clip.bottom - m_origin.y);
        std::vector<double> xs;
        for (int y = minY; y < maxY; ++y) {
            double cy = y + 0.5;
            xs.clear();
            for (int i = 0; i < count; ++i) {
                CPoint a = points[i], b = points[(i + 1) % count];
                if (a.y == b.y)
                    continue;
                if (cy < std::min(a.y, b.y) || cy >= std::max(a.y, b.y))
                    continue;
                xs.push_back(a.x + (cy - a.y) * (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y));
            }
            std::sort(xs.begin(), xs.end());
            for (size_t i = 0; i + 1 < xs.size(); i += 2) {
                int x0 = Near(static_cast<std::int64_t>(std::clamp(std::ceil(xs[i] - 0.5), -1e12, 1e12)));
                int x1 = Near(static_cast<std::int64_t>(std::clamp(std::ceil(xs[i + 1] - 0.5), -1e12, 1e12)));
                CRect span = CRect{x0, y, x1, y + 1}.Offset(m_origin.x, m_origin.y).Intersect(m_clip);
                for (int sx = span.left; sx < span.right; ++sx)
                    m_surface->SetPixel(sx, span.top, m_brush.color);
            }
        }
    }
    m_dashPhase = 0;
    for (int i = 0; i < count; ++i)
        PenSegment(points[i], points[(i + 1) % count]);
}

