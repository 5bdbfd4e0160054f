// A device context in the manner of the phone's GDI, over a CSurface.
//
// Drawing objects are small values: selecting one returns the previously
// selected value, and nothing can leak. A routine that changes them keeps a
// CDCStateSaver for its scope, which puts them all back however it returns
// (see below). Pixel conventions are GDI's: 1-pixel lines are
// aliased and leave out their last pixel; Rectangle, FillRect and RoundRect
// exclude the right and bottom edges.
//
// A DC has an origin (where its 0,0 falls on the surface) and a clip
// rectangle in surface pixels, so a window's DC draws in client coordinates.
//
// The details GDI leaves to the device, as this layer draws them:
// - a 2-pixel pen widens each path pixel up and to the left, so a line's
//   pixels lie on its path and on the row above (column left of) it; the
//   outlines of Rectangle and RoundRect lie wholly inside their rectangle;
// - a dashed pen draws 6 pixels and skips 3, its pattern running on from one
//   LineTo to the next until MoveTo (RoundRect draws dashed pens solid);
// - Polygon fills by the even-odd rule at pixel centres, then outlines;
// - Rectangle with a null pen fills the whole rectangle with the brush;
// - RoundRect's corners are quarter ellipses cornerWidth × cornerHeight;
// - text is drawn anti-aliased (see CFontEngine.h for how the font height
//   maps to glyph size) and logged on the surface (see DrawText).
//
// Any int coordinate is safe: nothing overflows, and a far-flung shape costs
// no more than its part inside the clip.
//
// Fills that paint a whole rectangle (FillRect, Rectangle and RoundRect with
// a brush, the opaque text background, the stock looks, BitBlt) drop the
// logged texts lying wholly inside what they paint.
#pragma once

#include "platform/Geometry.h"
#include "platform/gdi/CSurface.h"
#include "platform/gdi/Color.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum : int { PS_SOLID = 0, PS_DASH = 1, PS_NULL = 5 };

struct CPen {
    int style = PS_SOLID;
    int width = 1; // 1 or 2 pixels
    COLORREF color = 0;
    friend bool operator==(const CPen&, const CPen&) = default;
};

struct CBrush {
    bool isNull = false;
    COLORREF color = 0xFFFFFF;
    static CBrush Solid(COLORREF c) { return {false, c}; }
    static CBrush Null() { return {true, 0}; }
    friend bool operator==(const CBrush&, const CBrush&) = default;
};

struct CFont {
    int height = 22;   // pixels, the line's cell height
    int weight = 400;  // 400 normal, 600 and more bold
    friend bool operator==(const CFont&, const CFont&) = default;
};

// DrawText format flags.
enum : unsigned {
    DT_LEFT = 0x0000,
    DT_CENTER = 0x0001,
    DT_RIGHT = 0x0002,
    DT_VCENTER = 0x0004,
    DT_BOTTOM = 0x0008,
    DT_WORDBREAK = 0x0010,
    DT_SINGLELINE = 0x0020,
    DT_NOCLIP = 0x0100,
    DT_CALCRECT = 0x0400,
    DT_END_ELLIPSIS = 0x8000,
};

enum : int { TRANSPARENT = 1, OPAQUE = 2 };

// DrawEdge styles and edges (only the sunken edge is drawn distinctly).
enum : unsigned { EDGE_SUNKEN = 0x000A, EDGE_RAISED = 0x0005, BF_RECT = 0x000F };

class CImage;

class CDC {
public:
    // Draws on the whole surface.
    explicit CDC(CSurface* surface);
    // Draws with (0,0) at origin, clipped to clip (surface pixels).
    CDC(CSurface* surface, CPoint origin, const CRect& clip);
    ~CDC();

    CSurface* GetSurface() const { return m_surface; }
    CPoint GetOrigin() const { return m_origin; }
    CRect GetClipRect() const; // in this DC's coordinates
    // The part of the clip this paint draws: all of it, or the part inside
    // the surface's damage when only that is repainted (DC coordinates).
    CRect GetDrawRect() const;

    // Memory DCs: a DC over a surface the DC owns ("compatible bitmap").
    static std::unique_ptr<CDC> CreateMemoryDC(int width, int height);

    CPen SelectPen(const CPen& pen);
    CBrush SelectBrush(const CBrush& brush);
    CFont SelectFont(const CFont& font);
    const CPen& GetPen() const { return m_pen; }
    const CBrush& GetBrush() const { return m_brush; }
    const CFont& GetFont() const { return m_font; }
    COLORREF SetTextColor(COLORREF c);
    COLORREF GetTextColor() const { return m_textColor; }
    COLORREF SetBkColor(COLORREF c);
    COLORREF GetBkColor() const { return m_bkColor; }
    int SetBkMode(int mode);
    int GetBkMode() const { return m_bkMode; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const CPoint* points, int count);
    void Polygon(const CPoint* points, int count); // filled with the brush, outlined with the pen
    void Rectangle(const CRect& r);                // outline with the pen, inside with the brush
    void FillRect(const CRect& r, COLORREF color);
    void FillRect(const CRect& r, const CBrush& brush);
    void RoundRect(const CRect& r, int cornerWidth, int cornerHeight);
    void SetPixel(int x, int y, COLORREF c);
    COLORREF GetPixel(int x, int y) const;
    void DrawEdge(const CRect& r, unsigned edge, unsigned flags);

    // Draws text in the selected font and text colour; returns the text height
    // (lines × font height). Vertical placement (DT_VCENTER, DT_BOTTOM) applies
    // to single-line text only, as in GDI. Without DT_NOCLIP the glyphs are
    // clipped to r. With DT_CALCRECT nothing is drawn or logged (r cannot be
    // changed here: CalcTextRect gives the rectangle). The text is logged on
    // the surface as drawn: after the ellipsis, several lines joined by '\n',
    // with the lines' cells (advance width × font height) as its rectangle,
    // clipped; a text clipped away entirely is not logged.
    int DrawText(std::u16string_view text, const CRect& r, unsigned format);
    // The rectangle DrawText with DT_CALCRECT would compute: r's top-left,
    // the widest line's width and the lines' height.
    CRect CalcTextRect(std::u16string_view text, const CRect& r, unsigned format) const;
    void TextOut(int x, int y, std::u16string_view text);
    CSize GetTextExtent(std::u16string_view text) const;

    // Copies a w × h block of src (from sx, sy) to (x, y).
    void BitBlt(int x, int y, int w, int h, const CDC& src, int sx, int sy);
    enum class ImageFilter { Nearest, Bilinear };
    // Draws an image stretched (or shrunk) to dst, blended by its alpha.
    // Bilinear unless the image is drawn at its own size.
    void DrawImage(const CImage& image, const CRect& dst);
    void DrawImage(const CImage& image, const CRect& dst, ImageFilter filter);

    // The platform's stock looks for a pressed header column and a selected
    // list row.
    void DrawGradientBar(const CRect& r);
    void DrawSelectionBand(const CRect& r);

private:
    struct TextLine {
        std::u32string text;
        int width = 0; // pixels
    };
    CRect ToSurface(const CRect& r) const; // pulled in to the drawable range first
    int LineHeight() const;                 // the font's height, limited to what is drawable
    void FillSurfaceRect(const CRect& surfaceRect, COLORREF c);
    void PenDot(std::int64_t x, std::int64_t y, bool dashOn);
    void PenSegment(CPoint from, CPoint to);
    int LineWidth(const std::u32string& line) const;
    std::vector<TextLine> LayoutText(std::u16string_view text, int maxWidth, unsigned format) const;
    void DrawTextLine(const TextLine& line, int x, int y, const CRect& surfaceClip);
    void LogText(const std::vector<TextLine>& lines, const CRect& cells, const CRect& surfaceClip);
    void FillGradient(const CRect& r, COLORREF top, COLORREF bottom);

    CSurface* m_surface;
    std::unique_ptr<CSurface> m_owned;
    CPoint m_origin;
    CRect m_clip;    // surface pixels drawn: the window's clip within the surface's damage
    CRect m_logClip; // surface pixels the text log sees: the window's clip
    CPen m_pen;
    CBrush m_brush;
    CFont m_font;
    COLORREF m_textColor = 0;
    COLORREF m_bkColor = 0xFFFFFF;
    int m_bkMode = OPAQUE;
    CPoint m_current;
    int m_dashPhase = 0; // pixels along the current dashed path
};

// Remembers a DC's pen, brush, font, text colour, background colour and
// background mode, and selects them back when it leaves scope, early
// returns included. Savers nest: each restores what it found. The origin
// and clip are fixed for a DC's life and need no saving.
class CDCStateSaver {
public:
    explicit CDCStateSaver(CDC& dc);
    ~CDCStateSaver();
    CDCStateSaver(const CDCStateSaver&) = delete;
    CDCStateSaver& operator=(const CDCStateSaver&) = delete;

private:
    CDC& m_dc;
    CPen m_pen;
    CBrush m_brush;
    CFont m_font;
    COLORREF m_textColor;
    COLORREF m_bkColor;
    int m_bkMode;
};
