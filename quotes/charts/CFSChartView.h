// The minute chart view: one trading day of a stock or index drawn on the
// chart canvas — the price grid with the price line, the average line and
// the overlaid market index, the volume bars, the time axis and seven price
// labels, a cursor with a cross-hair and a four-value legend, the day's
// information marks, and a paged side panel with the quote snapshot and
// the five bid and ask levels.
//
// The grid, the legend, the panel's pages and its values are pure
// (FSChartPanel.h, FSChartMath.h); this class reads the minute data, draws
// and turns touches into cursor moves, page turns, a level's order pop-up
// and the information page of a mark, which it asks of its host
// (IFSChartHost). The panel's page and the kept cursor are process-wide
// (CChartState). The side panel is a CFSSidePanel the view owns.
//
// Picture and overlays: the grid, lines, labels, title and panel are drawn
// into the canvas's picture; the legend, the volume caption,
// the marks (blue under the cursor) and a panel that changed are drawn over
// it on every paint, and the cursor cross-hair last (what it covers kept to
// be put back), so a cursor move redraws only those.
#pragma once

#include "framework/ui/WndMessages.h"
#include "quotes/charts/CChartCanvas.h"
#include "quotes/charts/CFSSidePanel.h"
#include "quotes/charts/FSChartMath.h"
#include "quotes/charts/FSChartPanel.h"

#include <string>
#include <vector>

class CFSData;
class IFSChartHost;

class CFSChartView : public CChartCanvas {
public:
    // What the host posts itself when a quote level of the panel was
    // pressed and held; it then offers "买入" or "卖出" at the pressed price.
    static constexpr UINT kMsgLevelHeld = WND_MSG_LEVEL_HELD;
    // Palette indexes the view draws with.
    static constexpr int kFrameColor = kFSFrameColor;
    static constexpr int kLabelColor = kFSLabelColor;
    static constexpr int kAxisColor = 21;
    static constexpr int kAverageColor = 26;
    static constexpr int kPriceColor = 27;
    static constexpr int kVolumeColor = kFSPanelVolumeColor;
    // The overlaid index of a stock's chart.
    static constexpr COLORREF kOverlayColor = MakeRgb(169, 100, 169);

    // owner (may be null: a view drawn alone) is not owned; the view takes
    // its minute data and the process-wide overlay switch.
    explicit CFSChartView(IFSChartHost* owner);
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
    // Forwards (or backwards) one page; an index or a history chart stays
    // on page 0.
    void TurnPanelPage(bool backwards) { m_panel.TurnPage(m_data, backwards); }
    // The page as shown (FSShownPage).
    int GetShownPage() const { return CFSSidePanel::ShownPage(m_data, m_fs.portrait); }
    // The held-press hit test (CFSSidePanel::Hit).
    int HitPanel(int x, int y) { return m_panel.Hit(m_data, m_fs, x, y); }
    const std::string& GetPressedPrice() const { return m_panel.GetPressedPrice(); }
    bool IsSellLevel() const { return m_panel.IsSellLevel(); }
    // Ends the pressed look of a cell (after the level's pop-up).
    void ReleasePressedCell();
    bool IsCellPressed() const { return m_panel.IsCellPressed(); }

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
    // The view's font over a transparent background; the caller saves the DC.
    void SelectTextLook(CDC& dc) const;
    void DrawOverlay(CDC& dc);
    void DrawMarks(CDC& dc);
    // Repaints through the host.
    void Repaint();
    void OnPanelTouch(UINT message, int x, int y);
    void OnChartTouch(UINT message, int x, int y);

    IFSChartHost* m_owner = nullptr; // not owned
    CFSData* m_data = nullptr;   // the host's, not owned
    CFSRanges m_ranges;
    CQuoteNumber m_prevClose;
    CQuoteNumber m_change;
    CQuoteNumber m_changePercent;
    CFSLayout m_fs;
    std::vector<CFSMarkSlot> m_marks;
    CFSSidePanel m_panel;
    bool m_heldPress = false;    // the finger still down after a held press
    bool m_pressInPanel = false; // the touch in progress began in the panel
    bool m_overlayShown = false;
};
