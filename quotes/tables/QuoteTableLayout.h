// The geometry of the quote tables, apart from drawing so that it is tested
// without a window: the four column widths and the gap shared by the header
// and the rows, the header's tap zones, and the rectangles of a row's cells.
#pragma once

#include "platform/Geometry.h"

// Column widths for an item rectangle of width w: with W = w − 10, each
// truncated, c0 = 0.3·W, c1 = 0.24·W, c2 = 0.2·W, c3 = 0.2·W, gap = 0.02·W.
struct CQuoteColumns {
    int c0 = 0, c1 = 0, c2 = 0, c3 = 0, gap = 0; // pixels

    static CQuoteColumns ForWidth(int width);
};

// The header's title rectangles from the left edge of rect (the item
// rectangle shrunk by 2): "名称" over c0, then "现价", "涨跌", "涨幅" each
// over their width plus the gap.
struct CQuoteHeaderLayout {
    CRect titles[4];

    static CQuoteHeaderLayout For(const CRect& shrunk, const CQuoteColumns& columns);
};

// The header column under x for a control spanning [left, right] of width
// w: zone 0 (left, left + 0.3·w), zone 1 the next 0.24·w, zone 2 the next
// 0.2·w, zone 3 (right − 0.2·w, right), all bounds strict; −1 elsewhere.
int QuoteHeaderZoneAt(int x, int left, int right);

// True when x lies in the right-most fifth (right − 0.2·w, right) of a
// control spanning [left, right]: a row tap there also asks for the menu.
bool InRightFifth(int x, int left, int right);

// The cell rectangles of one row for its item rectangle r, before the text
// heights: name and code share the left span, the name on top with
// nameHeight, the code directly below with codeHeight.
struct CQuoteRowLayout {
    CRect inner;     // r shrunk by 5 left and right, 2 top and bottom
    CRect name;
    CRect code;
    CRect last;
    CRect change;
    CRect percentBox; // the rounded box of the change in percent

    static CQuoteRowLayout For(const CRect& r, int nameHeight, int codeHeight);
};
