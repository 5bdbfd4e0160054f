// The chart window base of the minute and K-line chart frames. It keeps the
// identity of the shown stock, hosts the chart picture (a memory bitmap the
// canvas paints into), owns the current canvas, lays it out for portrait
// and landscape screens, paints it, turns presses, moves and releases in
// the chart band into canvas touches in chart coordinates (y from the top
// of the picture), and offers the jumps both frames use: company
// information ("F10") and the order form ("buysale"), through the window
// opener by keyword.
//
// The picture sits straight on the window (the client page is removed), at
// the top of the chart band, so chart coordinates are client coordinates
// moved up by the caption bar's height (ChartToClient).
//
// Dragging: an accepted press in the band starts a drag and captures the
// mouse; every release ends it and releases the capture, but only a
// release inside the band reaches the canvas. A new layout ends a drag.
// Swipes are recognised nowhere until a view hands its swipe area over
// (SetCaptionRect, client coordinates): a drag along the chart moves the
// cursor and never closes the window.
#pragma once

#include "core/CAString.h"
#include "core/CWString.h"
#include "framework/ui/CNetWnd.h"
#include "platform/ui/UiTiledImage.h"
#include "quotes/charts/CChartCanvas.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CChartWnd : public CNetWnd {
public:
    static constexpr int kPictureId = 175;
    // The longest order price text kept.
    static constexpr size_t kPriceTextChars = 15;
    // The company-information parameter keeps at most this many characters
    // of the code text before its point.
    static constexpr size_t kF10CodeChars = 19;

    CChartWnd();
    ~CChartWnd() override;
    const char* GetClassName() const override { return "CChartWnd"; }

    // ---- Pure rules ----
    // True when y (client coordinates) is strictly inside the chart band:
    // below the caption bar and above the bottom bar.
    static bool IsInChartBand(int y, int clientBottom);
    // Where the chart picture goes on a client area of size client with a
    // bottom bar of barHeight pixels (client coordinates): below the
    // caption bar, never of negative height.
    static CRect ChartPictureRect(const CRect& client, int barHeight);
    // 1 when both texts name the same stock: the codes before the first
    // "." equal ignoring case and the integers after it equal (so
    // "600000.1" is "600000.01"); 0 for a null or empty text and whenever
    // either text has no point.
    static int SameStockCode(const char* a, const char* b);
    // The order form's opening text (OrderOpeningText) with market and
    // type, and the price when priced. Empty when the code (a key with its
    // point) or the price is not a plain value.
    static std::string BuySellRequest(std::string_view codeText, std::string_view priceText, int market, int type,
                                      bool buy, bool priced);
    // A rectangle of chart coordinates in client coordinates.
    static CRect ChartToClient(const CRect& r) { return r.Offset(0, kCaptionHeight); }
    // The company-information parameter: the code text up to its first "."
    // and at most kF10CodeChars characters; empty when not a plain value.
    static std::string F10CodeParam(std::string_view codeText);

    // ---- The shown stock ----
    // SameStockCode with the stored code text.
    int IsSameCode(const char* codeText) const;
    const char* GetCodeText() const { return m_codeText.c_str(); }
    void SetCodeText(std::string_view codeText) { m_codeText.Assign(codeText); }
    const CWString& GetStockName() const { return m_stockName; }
    int GetMarket() const { return m_market; }
    int GetType() const { return m_type; }
    // The order price text (at most kPriceTextChars characters kept).
    void SetPriceText(std::string_view text);
    const char* GetPriceText() const { return m_priceText.c_str(); }
    // Set by SetMenuParams when another stock is named; the frame clears
    // it once it acted on it.
    bool IsStockChanged() const { return m_stockChanged; }
    void SetStockChanged(bool on) { m_stockChanged = on; }
    bool IsDragging() const { return m_dragging; }

    // ---- The canvas ----
    // Replaces the canvas (null is ignored) and lays it out over the picture
    // (portrait when the window is 480 pixels wide, else landscape) with
    // LayoutCanvas. sample, measured in the canvas's font, gives the label
    // height, and the label column's width while the scale has no label;
    // with sampleIsLeast the column is never narrower than sample.
    void SetCanvas(std::unique_ptr<CChartCanvas> canvas, const char* sample, bool sampleIsLeast = false);
    CChartCanvas* GetCanvas() const { return m_canvas.get(); }
    // Lays the canvas out again for the orientation (1 or 4 portrait, 0 or
    // 2 landscape, others keep the layout): clears the picture,
    // resizes the picture and runs CalcRanges. Nothing without a canvas.
    void LayoutChart(int orientation);
    // Lays the canvas out over the picture in the orientation, runs
    // CalcRanges and fits the label column to the scale's widest label.
    void LayoutCanvas(bool portrait);
    // Makes the canvas's label column as wide as the widest label its scale
    // draws now (CChartCanvas::FitLabelColumn); also run before each paint.
    void FitLabelColumn();
    UiTiledImage& GetPicture() { return m_picture; }
    // The picture's rectangle (client coordinates) as it stands.
    CRect GetPictureRect() const;
    // After a cursor move or a touch: paints the canvas into the picture
    // now and marks only what changed on the screen; the whole window when
    // the picture must be drawn again.
    void RepaintChart();

    // ---- Jumps ----
    // Company information of the stock (the menu tree's "F10" child):
    // refused with a message for Hong Kong stocks and indices.
    void OpenF10();
    // The order form: refused with a message for indices and Hong Kong
    // stocks; without a logged-in trade account the trade login runs
    // instead. Priced carries the order price text.
    virtual void OpenBuySell(bool buy, bool priced);
    // Drops the chart data; nothing here.
    virtual void ClearData() {}

    // ---- Window operations ----
    int OnInitDialog() override;
    // Reads "code" from the request text: another stock sets the first-show
    // and stock-changed flags; then the CNetWnd texts.
    void SetMenuParams(int menuId, const char* param, const char* request) override;
    // The base layout, then LayoutChart with the screen's orientation.
    void OnLayout() override;
    // Paints the canvas into the picture before the controls are drawn.
    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
    void OnMouseMove(UINT flags, CPoint pt) override;
    // The phone's keys: left and right move the cursor a record back and
    // on, up and down are directions 2 and 3 (a minute chart turns its
    // side panel), Enter toggles the cursor (CChartCanvas::MoveCursor).
    void OnKeyDown(int key) override;
    // The MoveCursor direction of a key, −1 for other keys.
    static int CursorDirectionOfKey(int key);

protected:
    // Measures text in the canvas's font on the picture's DC.
    CSize MeasureLabel(const char16_t* text) const;
    // Ends a drag in progress and releases the capture.
    void EndDrag();

    CWString m_labelSample;     // sets the label height; the column's width without labels
    bool m_sampleIsLeast = false; // the column is at least as wide as the sample
    CWString m_stockName;
    CAString m_codeText;        // code, point, two-digit market ("600000.01")
    int16_t m_market = 0;       // 3 = Hong Kong
    int16_t m_type = 0;         // 2 = index
    bool m_dragging = false;    // between an accepted press and the next release
    bool m_stockChanged = false;
    CAString m_priceText;       // the order price, at most kPriceTextChars

private:
    std::unique_ptr<CChartCanvas> m_canvas;
    UiTiledImage m_picture;
};
