// The chart canvas: the abstract drawing surface under the minute and
// K-line chart views. It owns the chart font, the split of the chart into a
// price and a volume area, a cursor (a selected record shown as a vertical
// line), a small legend array and the painters that scale a series into a
// rectangle. The views fill in the drawing steps through the virtual
// operations; the chart window (CChartWnd) owns one canvas at a time, lays
// it out, paints it into its picture and hands it touches in chart
// coordinates.
//
// Painting: the picture (frames, scales, lines) is drawn straight into the
// target, again only when the canvas is dirty (a layout or data change) or
// the target is not the one painted last; the legends are drawn over it on
// every paint, and the cursor line last, the pixels under it kept so the
// next paint puts them back. A cursor move so costs the cursor's strips and
// the legends that changed, never a copy of the whole picture. An area too
// small to hold a picture paints nothing.
//
// It also holds the colour rule every quote screen shares: how a value
// compares with its reference (the previous close for prices, 0 for
// changes).
#pragma once

#include "core/CAString.h"
#include "core/CQuoteNumber.h"
#include "core/CWString.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/Color.h"
#include "platform/win/Message.h"
#include "quotes/charts/ChartScale.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CChartSeries;
class CChartWnd;

// One legend cell: a short label and its value.
struct CLegendItem {
    static constexpr int kValueChars = 9;
    static constexpr int kLabelChars = 4;
    char16_t value[kValueChars + 1] = {};
    char16_t label[kLabelChars + 1] = {};
    COLORREF color = 0xFFFFFF;
    // Both texts empty, colour white.
    void Reset();
};

class CChartCanvas {
public:
    // Palette indexes of the compare rule.
    static constexpr int kRiseColor = 15;
    static constexpr int kFallColor = 16;
    static constexpr int kFlatColor = 17;
    // Palette indexes of the canvas.
    static constexpr int kBackgroundColor = 13;
    static constexpr int kSecondColor = 14;
    static constexpr int kCursorColor = 20;
    // The chart font.
    static constexpr int kFontHeight = 20;
    // Touch messages handed to OnTouch.
    static constexpr UINT kTouchMove = 512;
    static constexpr UINT kTouchPress = 513;
    static constexpr UINT kTouchRelease = 514;

    CChartCanvas();
    virtual ~CChartCanvas();
    CChartCanvas(const CChartCanvas&) = delete;
    CChartCanvas& operator=(const CChartCanvas&) = delete;

    // 15 when reference < value, 16 when reference > value, 17 when equal
    // (the double values compared; two missing markers are equal).
    static int GetCompareColorIndex(const CQuoteNumber& reference, const CQuoteNumber& value);
    // The palette colour of that index in the application state's scheme,
    // or of the default scheme without one.
    static COLORREF GetCompareColor(const CQuoteNumber& reference, const CQuoteNumber& value);
    // A palette colour of the application's scheme, or of the default one.
    static COLORREF PaletteColor(int index);

    // ---- Virtual operations the views fill in ----
    // Takes the series in: the record count and the value ranges.
    virtual void CalcRanges() = 0;
    // Frames, grid and axis labels.
    virtual void DrawTimeAxis(CDC& dc) = 0;
    // Value labels.
    virtual void DrawScale(CDC& dc) = 0;
    // The data.
    virtual void DrawLines(CDC& dc) = 0;
    // After every cursor change; the view reads the new position.
    virtual void OnCursorMoved() {}
    // Drawn over the picture on every paint.
    virtual void DrawLegends(CDC& /*dc*/, bool /*hasData*/) {}
    virtual void DrawTitle(CDC& /*dc*/) {}
    // The texts the value-label column shows with the current ranges; the
    // chart window makes the column as wide as the widest.
    virtual std::vector<std::u16string> ScaleLabelTexts() const { return {}; }
    // Lay the canvas out in area with labels of the size label; both mark
    // the canvas dirty.
    virtual void LayoutPortrait(CSize label, const CRect& area);
    virtual void LayoutLandscape(CSize label, const CRect& area);
    // A touch in chart coordinates: kTouchMove, kTouchPress or kTouchRelease.
    virtual void OnTouch(CChartWnd* owner, UINT message, int x, int y) = 0;
    // Direction 0 or 2 one record back, 1 or 3 one on (wrapping at both
    // ends), 4 toggles the cursor; other values nothing.
    virtual void MoveCursor(int direction, int extra);
    // Selects a record (WrapCursorIndex), calls OnCursorMoved and shows the
    // cursor; with no record the position becomes 0 and nothing else
    // happens. The position is also kept as the last cursor position
    // (CChartState).
    virtual void SetCursor(int index, int extra);
    // The vertical cursor line over the price area.
    virtual void DrawCursorLine(CDC& dc);
    // Where the next DrawLegends draws (picture coordinates) and where
    // DrawCursorLine draws (target coordinates; asked before it draws, so
    // what it covers is kept): a paint over the same target changes only
    // these rectangles. Both say
    // the whole area unless a view knows better.
    virtual void GetLegendRects(std::vector<CRect>& rects);
    virtual void GetCursorRects(std::vector<CRect>& rects);
    // Where the last DrawLegends drew beyond what GetLegendRects said
    // before it (picture coordinates): a view that redraws only the legend
    // cells that changed tells them here.
    virtual void GetDrawnLegendRects(std::vector<CRect>& /*rects*/) {}
    virtual void ToggleCursor() { m_cursorShown = !m_cursorShown; }

    // Makes the value-label column as wide as the widest of
    // ScaleLabelTexts (fallbackWidth without any) and at least leastWidth,
    // laying the canvas out
    // again in its area and orientation when that changes the column;
    // true when it did. The ranges may then change with the layout (a
    // K-line shows another number of bars), so a caller repeats it a few
    // times until it settles.
    bool FitLabelColumn(CDC& dc, int fallbackWidth, int leastWidth);

    // ---- Painting ----
    // Draws the chart into target with the whole area's top-left at its
    // place: the picture (drawn again when dirty or on another target), the
    // legends over it, then the cursor line when shown. Nothing for an
    // empty area. When the target is the one painted last, only what
    // changed is drawn: the pixels under the last cursor line put back, the
    // legends, the new line; whoever else draws into that target calls
    // SetDirty before the next paint.
    void Paint(CDC& target);
    // A paint over the target painted last, with an up-to-date picture:
    // paints it and adds the rectangles of target it changed (the old and
    // new cursor lines and the legends), none when the cursor stayed where
    // it was and no legend was drawn. False, painting nothing, when it
    // would draw the whole picture (dirty, or another target).
    bool PaintChanged(CDC& target, std::vector<CRect>& changed);
    // Draws the picture: background, DrawTimeAxis, DrawScale, DrawLines,
    // DrawTitle.
    void Render(CDC& dc);
    // Marks the canvas dirty and forgets the target painted last (resized
    // or cleared), so the next paint draws the whole picture.
    void ResetBitmap();
    void SetDirty() { m_dirty = true; }
    bool IsDirty() const { return m_dirty; }
    // The surface holding the picture as it stands (null before the first
    // paint and while dirty), for tests.
    const CSurface* GetPaintedSurface() const { return m_dirty ? nullptr : m_lastTarget; }

    // ---- Text ----
    // The text's width in the chart font and height in the dc's font.
    CSize TextExtent(CDC& dc, std::u16string_view text) const;
    // The width of the widest of the scale's labels (0 without any) and the
    // height of sample.
    CSize MeasureScaleLabels(CDC& dc, std::u16string_view sample) const;
    // The number (with its unit word when withUnit) right-aligned in the
    // value-label column (1, y, label margin, y + label height).
    void DrawNumber(CDC& dc, const CQuoteNumber& number, COLORREF color, int y, bool withUnit);
    const CFont& GetFont() const { return m_font; }

    // ---- Geometry ----
    static bool PtInRect(const CRect& r, int x, int y) { return PtInChartRect(r, x, y); }
    static void Line(CDC& dc, int x1, int y1, int x2, int y2);
    // Draws the strokes with a solid 1-pixel pen of colour.
    static void DrawSegments(CDC& dc, const std::vector<CChartSegment>& segments, COLORREF color);

    // ---- Painters ----
    void DrawPriceLine(CDC& dc, const CChartSeries* series, int column, COLORREF color, const CRect& r,
                       const CQuoteNumber& max, const CQuoteNumber& min, int n, int mode, int start);
    void DrawVolumeBars(CDC& dc, const CChartSeries* series, int column, COLORREF color, const CRect& r,
                        int32_t max, int32_t min, int n, int mode, int start);

    // ---- Legend ----
    // Allocates capacity reset items once; 0 when an array exists or
    // capacity < 1.
    int InitLegend(int capacity);
    // Copies n labels (at most 4 characters), values (at most 9) and
    // colours; 0 (nothing changed) without an array or when n exceeds the
    // capacity. Null texts give empty ones.
    int SetLegend(const char16_t* const* labels, const char16_t* const* values, const COLORREF* colors, int n);
    const CLegendItem* GetLegendItem(int i) const;
    int GetLegendCount() const { return m_legendCount; }

    // ---- Fields ----
    const CQuoteNumber& GetReference() const { return m_reference; }
    void SetReference(const CQuoteNumber& value) { m_reference = value; }
    int GetMarket() const { return m_market; }
    int GetType() const { return m_type; }
    const CWString& GetName() const { return m_name; }
    const CAString& GetCode() const { return m_code; }
    const CChartLayout& GetLayout() const { return m_layout; }
    int GetLabelMargin() const { return m_layout.labelMargin; }
    int GetLabelHeight() const { return m_layout.labelHeight; }
    const CRect& GetPriceArea() const { return m_layout.priceArea; }
    const CRect& GetVolumeArea() const { return m_layout.volumeArea; }
    const CRect& GetWholeArea() const { return m_layout.wholeArea; }
    int GetCursorPosition() const { return m_cursorPos; }
    bool IsCursorShown() const { return m_cursorShown; }
    int GetSlotCount() const { return m_slotCount; }
    void SetSlotCount(int n) { m_slotCount = n; }
    int GetRecordCount() const { return m_recordCount; }
    COLORREF GetBackgroundColor() const { return m_background; }

protected:
    // After FitLabelColumn laid the canvas out again; previousSlots is the
    // slot count before.
    virtual void OnLabelColumnChanged(int /*previousSlots*/) {}
    // After Render drew the picture anew: the legends it holds are gone.
    virtual void OnPictureRendered() {}
    // Lays out and marks dirty.
    void ApplyLayout(const CChartLayout& layout);

    CQuoteNumber m_reference;   // the view's reference value (the minute view's latest price)
    int m_market = 0;           // 3 = Hong Kong
    int m_type = 0;             // 2 = index
    CWString m_name;
    CAString m_code;
    CChartLayout m_layout;
    int m_cursorPos = 0;        // index of the selected record
    CFont m_font{kFontHeight, 400};
    int m_slotCount = 0;        // record positions across the price area
    int m_recordCount = 0;      // records in the series
    bool m_cursorShown = false;
    bool m_portrait = true;     // the orientation of the last layout
    CSize m_labelSize;          // the label size of the last layout
    COLORREF m_background = 0;  // palette colour 13
    COLORREF m_secondColor = 0; // palette colour 14

private:
    std::vector<CLegendItem> m_legend; // capacity items; empty before InitLegend
    int m_legendCount = 0;
    // True when target holds the last paint: the same surface and size.
    bool IsLastTarget(const CDC& target) const;
    // Keeps the target's pixels under m_cursorDrawn (target coordinates),
    // and puts them back.
    void SaveUnderCursor(const CDC& target);
    void RestoreUnderCursor(CDC& target);

    // What the cursor line covers on the last target: the rectangles
    // (surface pixels) and their pixels, row by row, one after another.
    std::vector<CRect> m_underRects;
    std::vector<COLORREF> m_underPixels;
    bool m_dirty = true;               // the picture must be drawn again
    const CSurface* m_lastTarget = nullptr; // the surface painted last
    CSize m_lastTargetSize;
    std::vector<CRect> m_cursorDrawn;  // where the cursor line is drawn on the last target
    int m_cursorDrawnAt = -1;          // the position it shows there, −1 while hidden
    std::vector<CRect> m_legendsDrawn; // GetDrawnLegendRects of the last paint
};
