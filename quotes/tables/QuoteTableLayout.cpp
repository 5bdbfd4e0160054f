// Column widths, header tap zones and row cell rectangles of the quote tables.
#include "quotes/tables/QuoteTableLayout.h"

CQuoteColumns CQuoteColumns::ForWidth(int width) {
    const double w = width - 10;
    CQuoteColumns c;
    c.c0 = static_cast<int>(0.3 * w);
    c.c1 = static_cast<int>(0.24 * w);
    c.c2 = static_cast<int>(0.2 * w);
    c.c3 = static_cast<int>(0.2 * w);
    c.gap = static_cast<int>(0.02 * w);
    return c;
}

CQuoteHeaderLayout CQuoteHeaderLayout::For(const CRect& shrunk, const CQuoteColumns& c) {
    CQuoteHeaderLayout h;
    const int widths[4] = {c.c0, c.c1 + c.gap, c.c2 + c.gap, c.c3 + c.gap};
    int x = shrunk.left;
    for (int i = 0; i < 4; ++i) {
        h.titles[i] = {x, shrunk.top, x + widths[i], shrunk.bottom};
        x += widths[i];
    }
    return h;
}

int QuoteHeaderZoneAt(int x, int left, int right) {
    const double w = right - left;
    const double z0 = left + 0.3 * w;
    const double z1 = z0 + 0.24 * w;
    const double z2 = z1 + 0.2 * w;
    if (x > left && x < z0)
        return 0;
    if (x > z0 && x < z1)
        return 1;
    if (x > z1 && x < z2)
        return 2;
    if (x > right - 0.2 * w && x < right)
        return 3;
    return -1;
}

bool InRightFifth(int x, int left, int right) {
    const double w = right - left;
    return x > right - 0.2 * w && x < right;
}

CQuoteRowLayout CQuoteRowLayout::For(const CRect& r, int nameHeight, int codeHeight) {
    CQuoteRowLayout l;
    const CQuoteColumns c = CQuoteColumns::ForWidth(r.Width());
    l.inner = {r.left + 5, r.top + 2, r.right - 5, r.bottom - 2};
    const int left = l.inner.left;
    l.name = {left, l.inner.top, left + c.c0 + c.gap, l.inner.top + nameHeight};
    l.code = {left, l.name.bottom, left + c.c0 + c.gap, l.name.bottom + codeHeight};
    l.last = {left + c.c0 + c.gap + 2, l.inner.top, left + c.c0 + c.c1 + 2 * c.gap, l.inner.bottom};
    l.change = {l.last.right, l.inner.top, l.last.right + c.c2 + c.gap, l.inner.bottom};
    l.percentBox = {l.change.left + c.c3 + c.gap, l.inner.top + 5, l.inner.right, l.inner.bottom - 5};
    return l;
}
