// The minute chart's arithmetic as pure functions: the price range of the
// grid and the overlay's normalisation, the seven price labels, the time
// text of a point, the slots and joined ids of the information marks and
// the point under an x. The minute chart view draws what these return.
//
// The day has 121 points, one every two minutes: A shares 09:30 to 11:30
// (points 0 to 60) and 13:02 to 15:00 (61 to 120); Hong Kong (market 3)
// 10:00 to 12:30 (0 to 75) and 14:32 to 16:00 (76 to 120). The cursor,
// the marks and the overlay place point i at left + i × width / 120.
#pragma once

#include "core/CQuoteNumber.h"
#include "platform/Geometry.h"

#include <string>
#include <vector>

class CChartSeries;
class CFSData;
struct CFSInfoMark;

inline constexpr int kFSSlots = 120;      // cursor, marks and overlay slots
inline constexpr int kFSPaintSlots = 121; // slots of the price, average and volume painters

// The grid's range around the previous close, which is always its middle.
struct CFSRange {
    CQuoteNumber top;
    CQuoteNumber bottom;
    CQuoteNumber prevClose;
    // top > bottom: something can be scaled into it.
    bool IsDrawable() const { return top > bottom; }
};

// half = the larger of |high − prevClose| and |low − prevClose|, margin =
// prevClose / 500; top = prevClose + margin + half, bottom = prevClose −
// margin − half. A missing high or low, or one of 0 (no trade yet), counts
// as the previous close.
CFSRange FSPriceRange(const CQuoteNumber& prevClose, const CQuoteNumber& high, const CQuoteNumber& low);

struct CFSRanges {
    CFSRange price;
    CFSRange overlay;
    bool hasOverlay = false;
};
// Both ranges brought to the same relative spread (the wider wins). With a
// previous close of 0 on either side no spread can be compared: both keep
// their own ranges.
CFSRanges FSNormaliseRanges(const CFSRange& price, const CFSRange* overlay);
// The ranges of the data: its price range, and the overlay's when the data
// holds an overlay table.
CFSRanges FSCalcRanges(const CFSData& data);

// One price label of the grid, top to bottom.
struct CFSPriceLabel {
    CQuoteNumber value;
    int colorIndex = 17; // palette: 15 above the middle, 17 the middle, 16 below
};
// With points: seven labels, top − step × k (step = (top − bottom) / 6),
// the middle one the previous close, the last the bottom. Without points
// only the previous close, and nothing when it is 0.
std::vector<CFSPriceLabel> FSPriceLabels(const CFSRange& range, bool hasPoints);

// The minute of the day of a point (after midnight).
int FSPointMinutes(int market, int position);
// Its "hhmm" text ("1302" for A-share point 61).
std::string FSPointTimeText(int market, int position);

// The slot of a mark at minutes after midnight: (minutes − 570) / 2, 0 below
// the first, 60 through the lunch break, then the afternoon's, at most 120.
int FSMarkSlot(int minutes);
// Marks by slot, in the order first met; ids of one slot are joined with
// "," (while the joined text is shorter than 9 × (id length + 1)).
struct CFSMarkSlot {
    int slot = 0;
    std::string ids;
    friend bool operator==(const CFSMarkSlot&, const CFSMarkSlot&) = default;
};
std::vector<CFSMarkSlot> FSMarkSlots(const std::vector<CFSInfoMark>& marks);
// The mark within 4 points of position (strictly), or null.
const CFSMarkSlot* FSMarkNear(const std::vector<CFSMarkSlot>& marks, int position);

// The point under x over a grid from left, width pixels wide: rounded to the
// nearest slot, the left edge below, the right edge beyond, and limited to
// count − 1. −1 with no point.
int FSPointAtX(int x, int left, int width, int count);
// Where the cursor's cross-hair crosses the price line of a grid: x of the
// position's slot (of kFSSlots) and y of its price (column 1) in range.
// False, at unchanged, for a position outside the points, a missing price
// or a range that is not drawable: the cursor then draws no horizontal line.
bool FSCursorPoint(const CChartSeries& series, int position, const CRect& grid, const CFSRange& range, CPoint* at);

// (price − prevClose) × 100 / prevClose; a zero number when prevClose is 0
// or either is missing.
CQuoteNumber FSChangePercent(const CQuoteNumber& price, const CQuoteNumber& prevClose);
