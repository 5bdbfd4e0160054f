// The minute chart view: one trading day of a stock or index drawn on the
// chart canvas — the price grid with the price line, the average line and
// the overlaid market index, the volume bars, the time axis and seven price
// labels, a cursor with a cross-hair and a four-value legend, the day's
// information marks, and a paged side panel with the quote snapshot and
// the five bid and ask levels.
//
// The grid, the legend and the panel's pages are pure geometry
// (FSChartPanel.h, FSChartMath.h); this class reads the minute data, draws
// and turns touches into cursor moves, page turns, a level's order pop-up
// (message kMsgLevelHeld to the frame) and the information page of a mark.
//
// Cached picture and overlays: the grid, lines, labels, title and panel are
// drawn into the canvas's cached picture; the legend, the volume caption,
// the marks (blue under the cursor) and a panel that changed are drawn over
// it on every paint, and the cursor cross-hair onto the screen, so a cursor
// move redraws only those.
#pragma once

#include "framework/ui/WndMessages.h"
#include "quotes/charts/CChartCanvas.h"
#include "quotes/charts/FSChartMath.h"
#include "quotes/charts/FSChartPanel.h"

#include <string>
#include <vector>

class CFSData;
class CFSFrame;

class CFSChartView : public CChartCanvas {
public:
    // Posted to the frame when a quote level of the panel was pressed and
    // held; the frame offers "买入" or "卖出" at the pressed price.
    static constexpr UINT kMsgLevelHeld = WND_MSG_LEVEL_HELD;
    // Palette indexes the view draws with.
    static constexpr int kFrameColor = 12;
    static constexpr int kLabelColor = 17;
    static constexpr int kAxisColor = 21;
    static constexpr int kAverageColor = 26;
    static constexpr int kPriceColor = 27;
    static constexpr int kVolumeColor = 28;
    // The overlaid index of a stock's chart.
    static constexpr COLORREF kOverlayColor = MakeRgb(169, 100, 169);

    // owner (may be null: a view drawn alone) is not owned; the view takes
    // its minute data and the process-wide overlay switch.
    explicit CFSChartView(CFSFrame* owner);
    ~CFSChartView() override;

    // ---- Data ----
    // Keeps a non-null data pointer (not owned) and runs CalcRanges.
    void SetData(CFSData* data);
    CFSData* GetData() const { return m_data; }
    // Shows or hides the overlay; marks the canvas dirty on a change.
    void SetOverlay(bool shown);
    bool IsOverlayShown() const { return m_overlayShown; }
    void ClearInfoMarks();
    void SetInfoMarks(const std::vector<CFSInfoMark>& marks);
    const std::vector<CFSMarkSlot>& GetMarkSlots() const { return m_marks; }
    const CFSRanges& GetRanges() const { return m_ranges; }
    const CFSLayout& GetFSLayout() const { return m_fs; }

    // ---- Side panel ----
    // The value text of panel label index (0..23) with its palette colour
    // and, for a quote level, its volume in lots ("-" without one); "-" for
    // what is missing or unknown, and everything while no snapshot was read.
    static std::u16string FormatPanelValue(const CFSData* data, int label, int* colorIndex,
                                           std::u16string* volume);
    // The process-wide panel page (0..3).
    static int GetPanelPage();
    static void SetPanelPage(int page);
    // Forwards (or backwards) one page; an index or a history chart stays
    // on page 0.
    void TurnPanelPage(bool backwards);
    // The page as shown (FSShownPage).
    int GetShownPage() const;
    // The held-press hit test in either orientation; 1 when a level with a price was hit, its price
    // then the pressed price text and its side the sell flag.
    int HitPanel(int x, int y);
    const std::string& GetPressedPrice() const { return m_pressedPrice; }
    bool IsSellLevel() const { return m_sell; }
    // Ends the pressed look of a cell (after the level's pop-up).
    void ReleasePressedCell();
    bool IsCellPressed() const { return m_pressed; }

    // ---- Canvas operations ----
    void CalcRanges() override;
    void DrawTimeAxis(CDC& dc) override;
    void DrawScale(CDC& /*dc*/) override {}
    void DrawLines(CDC& dc) override;
    void OnCursorMoved() override;
    void DrawLegends(CDC& dc, bool hasData) override;
    void DrawTitle(CDC& dc) override;
    std::vector<std::u16string> ScaleLabelTexts() const override;
    void LayoutPortrait(CSize label, const CRect& area) override;
    void LayoutLandscape(CSize label, const CRect& area) override;
    void OnTouch(CChartWnd* owner, UINT message, int x, int y) override;
    void MoveCursor(int direction, int extra) override;
    void DrawCursorLine(CDC& dc) override;
    void GetLegendRects(std::vector<CRect>& rects) override;
    void GetCursorRects(std::vector<CRect>& rects) override;

private:
    // The view's areas after a base layout.
    void ApplyViewLayout(bool portrait);
    bool HasPoints() const;
    bool PageZeroOnly() const;
    // The view's font over a transparent background; the caller saves the DC.
    void SelectTextLook(CDC& dc) const;
    void DrawOverlay(CDC& dc);
    void DrawPanel(CDC& dc);
    void DrawMarks(CDC& dc);
    // Repaints the owner.
    void Repaint();
    void OnPanelTouch(UINT message, int x, int y);
    void OnChartTouch(UINT message, int x, int y);

    CFSFrame* m_owner = nullptr; // not owned
    CFSData* m_data = nullptr;   // the frame's, not owned
    CFSRanges m_ranges;
    CQuoteNumber m_prevClose;
    CQuoteNumber m_change;
    CQuoteNumber m_changePercent;
    CFSLayout m_fs;
    std::vector<CFSMarkSlot> m_marks;
    std::string m_pressedPrice;  // the last pressed level's price
    bool m_sell = false;         // the pressed level is a bid
    bool m_pressed = false;      // a cell shows pressed
    int m_pressedCell = -1;
    bool m_heldPress = false;    // the finger still down after a held press
    bool m_pressInPanel = false; // the touch in progress began in the panel
    bool m_panelDirty = true;
    bool m_overlayShown = false;
};
