// Fuzz target: two reply bodies (the first two bytes give the first one's
// length) taken in by the K-line view as a first load and an older page,
// then everything the chart reads of them: every bar's fields, the first
// date and time, the ranges of each indicator, the bar shapes, the strip
// and legend texts, scrolling and the cursor. A merged page may only add
// bars strictly older than the first one held before it.
#include "core/CDataSetList.h"
#include "quotes/charts/CKXChartView.h"
#include "quotes/charts/KLineMath.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const size_t first = std::min<size_t>(size - 2, static_cast<size_t>(data[0] | data[1] << 8));
    const uint8_t* bodies[2] = {data + 2, data + 2 + first};
    const size_t lengths[2] = {first, size - 2 - first};
    CKXChartView view(kKLineZoom[1], nullptr);
    view.LayoutPortrait({60, 20}, {0, 0, 480, 560});
    for (int b = 0; b < 2; ++b) {
        CKXData& d = view.GetData();
        const int before = d.GetCount();
        const int32_t heldDate = before > 0 ? d.GetInt(CKXData::kColDate, 0) : 0;
        const int32_t heldTime = before > 0 ? d.GetInt(CKXData::kColTime, 0) : 0;
        CDataSetList list(bodies[b], static_cast<int>(lengths[b]));
        const int added = view.AddReply(list);
        if (added < 0 || (b == 1 && added > 0 && before > 0 && d.GetCount() == before + added &&
                          !KLineBarOlder(d.GetInt(CKXData::kColDate, added - 1),
                                         d.GetInt(CKXData::kColTime, added - 1), heldDate, heldTime)))
            std::abort();
        d.GetFirstDate();
        d.GetFirstTime();
        CQuoteNumber n;
        for (int i = 0; i < d.GetCount(); ++i) {
            for (int c = 0; c <= 16; ++c) {
                d.GetInt(c, i);
                d.GetNumber(n, c, i);
            }
            const CKXBar& bar = d.CalcBar(i);
            KLineStripCells(&bar, d.GetInt(CKXData::kColTime, i));
            KLineMaLegend(&bar);
            KLineBarShapes(kKLineCandles, 0, 5, {0, 0, 480, 200}, bar.high.GetValue(), bar.low.GetValue(), bar.open,
                           bar.high, bar.low, bar.close);
        }
        for (const char* key : {"MACD", "kdj", "rsi", "boll", "wr", "dma", "aroon", "cci", "sar", "x"}) {
            const CKLineRanges r = KLineVisibleRanges(d, view.GetFirstVisible(), view.GetVisibleCount(), key);
            KLineTechLegend(key, d.CalcBar(std::max(0, d.GetCount() - 1)));
            KLineCursorY({0, 0, 480, 200}, r.priceMax, r.priceMax, r.priceMin);
        }
        view.Scroll(-3);
        view.Scroll(view.GetVisibleCount());
        view.SetCursor(view.GetVisibleCount() + 3, 0);
        if (view.GetCursorPosition() < 0 || (view.GetVisibleCount() > 0 && view.GetCursorPosition() >= view.GetVisibleCount()))
            std::abort();
        view.MinuteChartRequest();
    }
    return 0;
}
