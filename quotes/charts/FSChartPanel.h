// The minute chart view's geometry as pure functions: its areas within the
// canvas layout, the time-axis labels, the band where marks are touched,
// the side panel's pages and cells, what a held press on them hits, and
// the texts and colours of its values. CFSChartView draws and dispatches what these return; the price range,
// time texts and mark slots are in FSChartMath.h.
//
// None of them divides by zero: an area too small to divide gives no cell
// and no hit. None needs a window.
#pragma once

#include "core/CQuoteNumber.h"
#include "platform/Geometry.h"

#include <string>
#include <vector>

class CFSData;

// The side panel's labels, by index (FSPanelLabel gives their texts).
enum FSPanelLabelIndex : int {
    kFSLabelLatest = 0,        // "最新"
    kFSLabelOpen = 1,          // "开盘"
    kFSLabelHigh = 2,          // "最高"
    kFSLabelLow = 3,           // "最低"
    kFSLabelChange = 4,        // "涨跌"
    kFSLabelChangePercent = 5, // "涨幅"
    kFSLabelTotalVolume = 6,   // "总手"
    kFSLabelAmount = 7,        // "金额"
    kFSLabelOrderRatio = 8,    // "委比"
    kFSLabelPrevClose = 9,     // "昨收"
    kFSLabelAverage = 10,      // "均价"
    kFSLabelVolumeRatio = 11,  // "量比"
    kFSLabelTurnover = 12,     // "换手率"
    kFSLabelPeRatio = 13,      // "市盈率"
};
inline constexpr int kFSPanelLabelCount = 24;
inline constexpr int kFSFirstLevelLabel = 14; // "卖一"; 14..23 alternate ask and bid
inline constexpr int kFSPanelPages = 4;
// Palette indexes of the panel: its frame, its labels, and volumes and
// amounts.
inline constexpr int kFSFrameColor = 12;
inline constexpr int kFSLabelColor = 17;
inline constexpr int kFSPanelVolumeColor = 28;

// The view's areas within the base layout's price area P (the whole chart)
// and its volume area (the side panel).
struct CFSLayout {
    int columnStep = 0;   // pixels between the vertical grid lines
    int rowHeight = 0;    // pixels of one of the six price rows
    int volumeHeight = 0; // P height / 5
    int labelHeight = 0;
    CRect chart;          // P
    CRect grid;           // the price grid (right and bottom inclusive)
    CRect volume;         // the volume area (right and bottom inclusive)
    CRect panel;          // the side panel
    bool portrait = true;
    // True when the grid can be divided (rows and columns of at least a pixel).
    bool Drawable() const { return rowHeight > 0 && columnStep > 0 && grid.right > grid.left; }
    friend bool operator==(const CFSLayout&, const CFSLayout&) = default;
};
CFSLayout FSLayout(const CRect& priceArea, const CRect& panel, int labelHeight, bool portrait);

// The five time-axis labels of a market.
std::vector<std::u16string> FSTimeAxisLabels(int market);
// True when a touch at y may hit a mark: strictly between grid top − 20
// and grid top + 25.
bool FSInMarkBand(int y, int gridTop);

// One cell of the side panel: its label index and rectangle.
struct CFSPanelCell {
    int label = 0;
    CRect rect;
    friend bool operator==(const CFSPanelCell&, const CFSPanelCell&) = default;
};
// The page shown: an index or a history chart shows page 0 only, and a
// landscape page 3 shows as page 0.
int FSShownPage(int page, bool portrait, bool pageZeroOnly);
// The cells of a page as drawn (pageZeroOnly: "昨收" in place of "委比").
std::vector<CFSPanelCell> FSPanelCells(const CRect& panel, int page, bool portrait, bool pageZeroOnly);

// What a held press in the panel hit: a quote level, its cell, and whether
// it is a bid (the pop-up then offers to sell).
struct CFSPanelHit {
    int label = -1; // -1: no level
    int cell = -1;
    bool sell = false;
    friend bool operator==(const CFSPanelHit&, const CFSPanelHit&) = default;
};
// Portrait: two columns (the column clamped to them) and three rows; rows
// outside the panel hit nothing, row 2 only on page 2. Pages 0 and 1 hit
// nothing.
CFSPanelHit FSHitPanelPortrait(const CRect& panel, int page, int x, int y);
// Landscape: ten rows, asks "卖五" .. "卖一" then bids "买一" .. "买五";
// only page 2 holds levels.
CFSPanelHit FSHitPanelLandscape(const CRect& panel, int page, int x, int y);

// The label texts of the side panel by index.
const char16_t* FSPanelLabel(int index);

// The value text of panel label (0 .. kFSPanelLabelCount − 1) with its
// palette colour in colorIndex (may be null) and, for a quote level, its
// volume in lots ("-" without one) in volume (may be null). "-" for what
// is missing or unknown, for a label out of range, and for everything
// while no snapshot was read. Prices compare with the previous close, the
// change and its percentage with 0, the average with the open; volumes
// and amounts take kFSPanelVolumeColor.
std::u16string FSPanelValue(const CFSData* data, int label, int* colorIndex, std::u16string* volume);

// value's text, coloured by how it compares with reference (colour 17
// when the reference is missing); "-" in colour 17 when value is missing.
std::u16string FSComparedValue(const CQuoteNumber& reference, const CQuoteNumber& value, int* color);
// price's change against prevClose in per cent with "%", coloured by its
// sign; "-" in colour 17 when either is missing or prevClose is 0.
std::u16string FSPercentOf(const CQuoteNumber& price, const CQuoteNumber& prevClose, int* color);
