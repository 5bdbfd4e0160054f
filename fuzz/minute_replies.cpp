// Fuzz target: two reply bodies (the first two bytes give the first one's
// length) taken in by the minute chart data as a first load and a refresh,
// then everything the chart reads of it: the series, the texts, the ranges
// and the painters' strokes. The held points must stay in strictly rising
// time order, whatever the replies hold.
#include "core/CDataSetList.h"
#include "quotes/charts/CFSData.h"
#include "quotes/charts/ChartScale.h"
#include "quotes/charts/FSChartMath.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const size_t first = std::min<size_t>(size - 2, static_cast<size_t>(data[0] | data[1] << 8));
    const uint8_t* bodies[2] = {data + 2, data + 2 + first};
    const size_t lengths[2] = {first, size - 2 - first};
    CFSData fs;
    for (int b = 0; b < 2; ++b) {
        CDataSetList list(bodies[b], static_cast<int>(lengths[b]));
        fs.ParseReply(list);
        CQuoteNumber n;
        for (int i = 0; i < fs.GetCount(); ++i) {
            if (i > 0 && fs.GetInt(CFSData::kColTime, i) <= fs.GetInt(CFSData::kColTime, i - 1))
                std::abort();
            fs.GetInt(CFSData::kColBarVolume, i);
            for (int c = 1; c <= 4; ++c)
                fs.GetNumber(n, c, i);
            fs.GetExtraInt(0, i);
            fs.GetExtraNumber(n, 0, i);
        }
        fs.FormatTime();
        fs.FormatVolume();
        fs.GetStockKey();
        fs.IsHistory();
        for (int level = 0; level < 5; ++level) {
            fs.GetBid(level);
            fs.GetAsk(level);
        }
        const CFSRanges r = FSCalcRanges(fs);
        const CRect grid{0, 0, 479, 400};
        PriceLineSegments(&fs, CFSData::kColPrice, grid, r.price.top, r.price.bottom, kFSPaintSlots, kChartModeLine, 0);
        VolumeSegments(&fs, CFSData::kColBarVolume, grid, fs.GetMaxVolume(), 0, kFSPaintSlots, kChartModeBars, 0);
        ExtraLineSegments(&fs, grid, r.overlay.top, r.overlay.bottom, kFSSlots);
        FSPriceLabels(r.price, fs.GetCount() > 0);
        CPoint at;
        FSCursorPoint(fs, fs.GetCount() - 1, grid, r.price, &at);
        FSMarkSlots(fs.GetInfoMarks());
    }
    return 0;
}
