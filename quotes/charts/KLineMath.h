// The arithmetic of the K-line chart as pure functions: panels, the
// visible count, value ranges, the bar shapes, the strip and legend texts,
// the touch, scroll and indicator-cycle decisions, the cursor button, the
// request text and the pinch steps. The view, the frame and the benchmark
// walk what these return, so every rule is tested without a window.
//
// Nothing here divides by zero or overflows: a bar step of 0, an empty
// panel, a flat range and a zero maximum volume all give a defined result,
// and missing values (999999999) never count in a range or reach a text.
#pragma once

#include "core/CQuoteNumber.h"
#include "platform/Geometry.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CChartSeries;
struct CKXBar;

// Period codes of the "type" request value.
enum : int {
    kPeriod5Min = 257, kPeriod15Min = 259, kPeriod30Min = 262, kPeriod60Min = 268,
    kPeriodDay = 513, kPeriodWeek = 769, kPeriodMonth = 1025,
};
// Chart styles of the bar metrics.
enum : int { kKLineCloseLine = 0, kKLineCandles = 1, kKLineOhlc = 2 };

struct CKLineMetrics {
    int style = kKLineCandles;
    int width = 8; // pixels of a bar
    int gap = 1;   // pixels between bars
    friend bool operator==(const CKLineMetrics&, const CKLineMetrics&) = default;
};

struct CKLinePanels {
    CRect price, volume, indicator;
    friend bool operator==(const CKLinePanels&, const CKLinePanels&) = default;
};

// The three panels in the price area, the volume and indicator panels each
// below a label-height row for their legend; never inverted.
CKLinePanels KLinePanels(const CRect& priceArea, int labelHeight);
// Bars across a width: (width − 4) / (bar width + gap), never below 0; 0
// when the step is not positive.
int KLineVisibleCount(int areaWidth, const CKLineMetrics& m);

struct CKLineRanges {
    CQuoteNumber priceMax, priceMin, techMax, techMin, volumeMax;
};
// The value ranges over the visible bars first .. first + visible − 1 that
// exist, for the indicator key (ignoring case): prices from highs, lows
// and the three averages; the indicator from columns 14 to 16 as the key
// uses them (and highs and lows for "boll" and "sar"), its maximum at
// least 0; the volume maximum compared in base units. Missing values never
// count; without any value a range is 0 .. 0.
CKLineRanges KLineVisibleRanges(const CChartSeries& series, int first, int visible, std::string_view key);

// The value labels of the scale, in the order drawn: the price maximum,
// middle and minimum, the volume maximum (with its unit word), the
// indicator maximum, middle and minimum.
struct CKLineScaleLabel {
    CQuoteNumber value;
    bool withUnit = false;
};
std::vector<CKLineScaleLabel> KLineScaleLabels(const CKLineRanges& r);

// y of a price in the panel: bottom − 1 − trunc((v − min) × s + 0.5), s =
// (bottom − top − 2) / (max − min); the bottom − 1 row for a flat range.
int KLinePriceY(const CRect& panel, double v, double max, double min);
// y of a volume (base units) in the panel: a bar of 0 height for a maximum
// of 0 or less.
int KLineVolumeY(const CRect& panel, double raw, double rawMax);

// One stroke or box of a bar.
struct CKLineShape {
    enum Kind { Line, FilledBox, HollowBox } kind = Line;
    CPoint a, b;        // Line: the end points
    CRect box;          // boxes: left, top, right and bottom exclusive
    friend bool operator==(const CKLineShape&, const CKLineShape&) = default;
};
struct CKLineBarShapes {
    int color = 17;     // palette index: 15 rising, 16 falling, 17 flat
    std::vector<CKLineShape> shapes;
};
// A candle (style 1) or an OHLC bar (style 2) at x; y is the panel's
// price scale. Nothing (colour 17) when a value is missing.
CKLineBarShapes KLineBarShapes(int style, int x, int width, const CRect& panel, double max, double min,
                               const CQuoteNumber& open, const CQuoteNumber& high, const CQuoteNumber& low,
                               const CQuoteNumber& close);

// One cell of the information strip.
struct CKLineCell {
    std::u16string label, value;
    int color = 17; // palette index
    friend bool operator==(const CKLineCell&, const CKLineCell&) = default;
};
// The nine cells for the selected bar and its time (column 1), or "-"
// values without a bar; a missing value shows "-" too.
std::array<CKLineCell, 9> KLineStripCells(const CKXBar* bar, int32_t time);
// "%06d" of yymmdd for time 0, else "%08d" of mmddhhmm.
std::u16string KLineBarTime(int32_t date, int32_t time);

// The moving-average legend: three label and value pairs (MA5, MA10, MA30).
struct CKLineLegendItem {
    std::u16string label, value;
    int color = 17; // palette index of the value
    friend bool operator==(const CKLineLegendItem&, const CKLineLegendItem&) = default;
};
std::array<CKLineLegendItem, 3> KLineMaLegend(const CKXBar* bar);
// The indicator legend of the key: a title and the items with the values
// of the bar (a zeroed bar gives zeros); empty for an unknown key.
struct CKLineTechLegend {
    std::u16string title;
    std::vector<CKLineLegendItem> items;
    friend bool operator==(const CKLineTechLegend&, const CKLineTechLegend&) = default;
};
CKLineTechLegend KLineTechLegend(std::string_view key, const CKXBar& bar);

// The slot a touch at x selects: rounded to the nearest, within
// 0 .. visible − 1; −1 without a slot.
int KLineTouchSlot(int x, int left, int right, int visible);

struct CKLineScroll {
    int first = 0;
    bool askOlder = false; // near the oldest bar: ask the frame for more
    bool redraw = false;
};
// A scroll step: step ≥ visible three bars on (never past the newest),
// step < 0 three bars back (asking for older bars below bar 15), else nothing.
CKLineScroll KLineScrollStep(int first, int count, int visible, int step);

// The indicator before (previous) or after the current one in names,
// wrapping; the first or last name when the current is not there; empty
// for no names.
std::string KLineNextTech(const std::vector<std::string>& names, std::string_view current, bool previous);

// The cursor button: a label-height square below the price panel centred
// on x and kept within the panel's width, enlarged by 5 up, down and left
// and 10 right.
CRect KLineCursorButton(const CRect& pricePanel, int x, int labelHeight);
// The cursor's y for a close in the price panel; the middle row for a flat
// range, −1 for a missing close.
int KLineCursorY(const CRect& pricePanel, const CQuoteNumber& close, const CQuoteNumber& max,
                 const CQuoteNumber& min);

// " 日线 " and the like after the name and code; empty for 5 minutes and
// unknown codes.
std::u16string KLinePeriodTitle(int period);
// The request's count: visible for a page (mode 0), visible + 15
// otherwise; 30 when that comes to 0 or less.
int KLineRequestCount(int visible, int mode);
// The 31000/2 request text; empty when a value is not a plain one.
std::string KLineRequestText(std::string_view code, std::string_view date, std::string_view time, int type,
                             int direct, int count, std::string_view tech);

// Zoom levels and the pinch rule: codes 3 and 4 count; the third one
// moves one level (3 down, 4 up) and the count starts again.
struct CKLinePinch {
    int counter = 0;
    int level = 1;
};
CKLinePinch KLinePinchStep(CKLinePinch state, int code);
inline constexpr int kKLineZoomLevels = 4;
inline constexpr CKLineMetrics kKLineZoom[kKLineZoomLevels] = {
    {kKLineCandles, 8, 1}, {kKLineCandles, 5, 1}, {kKLineOhlc, 3, 0}, {kKLineCloseLine, 2, 0}};
