// The minute chart's side panel: the quote snapshot and the five ask and
// bid levels on four pages (a tap turns them; an index or a history chart
// has page 0 only), and the pressed look of a level held for an order,
// whose price becomes the order price. The page is process-wide
// (CChartState): every minute chart opens on the page the last one showed.
//
// The cells, hits and value texts are pure (FSChartPanel.h); this class
// keeps the pressed level, draws the panel and knows when it must be drawn
// again. The minute view owns one and hands it its data and layout.
#pragma once

#include "platform/gdi/CDC.h"
#include "quotes/charts/FSChartPanel.h"

#include <string>

class CChartCanvas;
class CFSData;

class CFSSidePanel {
public:
    // The page shown for data (may be null) in an orientation.
    static int ShownPage(const CFSData* data, bool portrait);
    // Forwards (or backwards) one page, or back to page 0 for an index or a
    // history chart; a pressed cell looks released again.
    void TurnPage(const CFSData* data, bool backwards);
    // The held-press hit test in either orientation: 1 when a level with a
    // price was hit, its price then the pressed price text, its side the
    // sell flag and its cell pressed; 0 without points or a priced level
    // (a level without a price clears the pressed price).
    int Hit(const CFSData* data, const CFSLayout& fs, int x, int y);
    // Ends the pressed look; true when a cell looked pressed.
    bool Release();
    const std::string& GetPressedPrice() const { return m_pressedPrice; }
    bool IsSellLevel() const { return m_sell; }
    bool IsCellPressed() const { return m_pressed; }

    // Draws the frame, the page's cells and the page-turn arrows into the
    // layout's panel with the canvas's font and background; afterwards the
    // panel is clean.
    void Draw(CDC& dc, const CChartCanvas& canvas, const CFSData* data, const CFSLayout& fs);
    // True when the panel changed since it was drawn.
    bool IsDirty() const { return m_dirty; }
    void SetDirty() { m_dirty = true; }

private:
    std::string m_pressedPrice; // the last pressed level's price
    bool m_sell = false;        // the pressed level is a bid
    bool m_pressed = false;     // a cell shows pressed
    int m_pressedCell = -1;     // index into the page's cells
    bool m_dirty = true;
};
