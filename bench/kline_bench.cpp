// Cost of the K-line chart from the held data to finished pixels at
// 480 × 720: 300 day bars of the simulator with candles, MA5/10/30, volume
// and MACD at the chart's first zoom, drawn as a full redraw, as a cursor
// move (legends and cursor over the kept picture), and the merge of one
// older page of bars; the redraw and the cursor move next to a memset of a
// surface of the same size, interleaved ("x_memset").
#include "bench/MemsetFloor.h"
#include "core/CDataSetList.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CSurface.h"
#include "quotes/charts/CKXChartView.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/SimKLineRoutes.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 720;
constexpr int64_t kClockMs = 1796369400000; // a fixed Friday afternoon

// The simulator's reply to a K-line request (its parameters as a query).
std::vector<uint8_t> KLineBody(const std::string& query) {
    static CSimMarket market;
    static const SimClock clock{kClockMs};
    static const SimSession session;
    static CSimRouteTable table;
    static const bool added = (CSimKLineRoutes().AddRoutes(table), true);
    (void)added;
    SimRequest r;
    std::string rest = query;
    while (!rest.empty()) {
        const size_t amp = rest.find('&');
        const std::string item = rest.substr(0, amp);
        const size_t eq = item.find('=');
        r.params.push_back({item.substr(0, eq), item.substr(eq + 1)});
        rest = amp == std::string::npos ? "" : rest.substr(amp + 1);
    }
    SimContext context{market, clock, session};
    return table.Find(31000, 2)->handler(r, context).body;
}

const std::vector<uint8_t>& NewestBars() {
    static const std::vector<uint8_t> body = KLineBody("code=600010.02&date=0&type=513&count=300&techname=MACD");
    return body;
}

// A view laid out on the surface holding the 300 newest bars.
std::unique_ptr<CKXChartView> MakeView() {
    auto view = std::make_unique<CKXChartView>(kKLineZoom[0], nullptr);
    view->SetTechName("MACD");
    const std::unique_ptr<CDC> probe = CDC::CreateMemoryDC(1, 1);
    view->LayoutPortrait(view->TextExtent(*probe, u"9999.999"), {0, 0, kWidth, kHeight});
    CDataSetList list(NewestBars().data(), static_cast<int>(NewestBars().size()));
    view->AddReply(list);
    return view;
}

void BM_KLineMemset(benchmark::State& state) {
    CSurface surface(kWidth, kHeight);
    for (auto _ : state) {
        std::memset(surface.Row(0), 0x20, sizeof(COLORREF) * kWidth * kHeight);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_KLineMemset);

void BM_KLineFullRedraw(benchmark::State& state) {
    const std::unique_ptr<CKXChartView> view = MakeView();
    CSurface surface(kWidth, kHeight), other(kWidth, kHeight);
    CDC dc(&surface);
    benchfloor::CMemsetFloor floor(other);
    for (auto _ : state)
        floor.Sample(state, [&] {
            view->SetDirty();
            view->Paint(dc);
        });
    floor.Report(state, "redraw");
    state.counters["bars"] = view->GetData().GetCount();
    state.counters["visible"] = view->GetVisibleCount();
}
BENCHMARK(BM_KLineFullRedraw)->UseManualTime();

void BM_KLineCursorMove(benchmark::State& state) {
    const std::unique_ptr<CKXChartView> view = MakeView();
    CSurface surface(kWidth, kHeight), other(kWidth, kHeight);
    CDC dc(&surface);
    view->Paint(dc);
    benchfloor::CMemsetFloor floor(other);
    int slot = 0;
    for (auto _ : state)
        floor.Sample(state, [&] {
            view->SetCursor(slot, 0);
            slot = (slot + 7) % view->GetVisibleCount();
            view->Paint(dc);
        });
    floor.Report(state, "move");
}
BENCHMARK(BM_KLineCursorMove)->UseManualTime();

// Reading an older page's body and merging it in front of the 300 bars.
void BM_KLineMergeOlderPage(benchmark::State& state) {
    const std::unique_ptr<CKXChartView> probe = MakeView();
    const std::string query = "code=600010.02&type=513&count=" + std::to_string(probe->GetVisibleCount()) +
                              "&techname=MACD&date=" + probe->GetFirstDate();
    const std::vector<uint8_t> page = KLineBody(query);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CKXChartView> view = MakeView();
        state.ResumeTiming();
        CDataSetList list(page.data(), static_cast<int>(page.size()));
        benchmark::DoNotOptimize(view->AddReply(list));
        state.PauseTiming();
        view.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_KLineMergeOlderPage);

} // namespace
