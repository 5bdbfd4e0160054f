// Cost of the minute chart at 480 × 720: a full redraw (a whole day with the
// overlay, volume bars, marks, the cursor and the side panel) and a cursor
// move, which puts back what the old cursor covered and redraws the legend,
// caption and marks over the picture. Each is printed as a number of
// memsets of a surface of the same size, interleaved in the same run
// ("x_memset"), beside one copy of the whole picture. These are the view alone; the screen as
// the loop paints it is chart_screen_bench's.
#include "bench/MemsetFloor.h"
#include "core/CDataSetList.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CSurface.h"
#include "quotes/charts/CChartState.h"
#include "quotes/charts/CFSChartView.h"
#include "quotes/charts/CFSData.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/SimChartRoutes.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <memory>

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 720;

// A whole day of the Shanghai bank with the index overlaid and its marks.
std::unique_ptr<CFSData> WholeDay() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 4;
    t.tm_hour = 15;
    t.tm_min = 30;
    t.tm_isdst = -1;
    CSimMarket market;
    SimRequest r;
    r.params = {{"code", "600010.02"}, {"time", "0"}, {"addup", "1"}};
    const SimReply reply = SimMinuteReply(r, market, static_cast<int64_t>(std::mktime(&t)) * 1000);
    CDataSetList list(reply.body.data(), static_cast<int>(reply.body.size()));
    auto data = std::make_unique<CFSData>();
    data->ParseReply(list);
    return data;
}

struct CChartScene {
    std::unique_ptr<CFSData> data = WholeDay();
    CFSChartView view{nullptr};
    std::unique_ptr<CDC> target = CDC::CreateMemoryDC(kWidth, kHeight);

    CChartScene() {
        CChartState::Shared().SetLastCursorPosition(60);
        view.SetData(data.get());
        view.SetOverlay(true);
        view.SetInfoMarks(data->GetInfoMarks());
        view.LayoutPortrait(view.TextExtent(*target, u"9999.99"), {0, 0, kWidth, kHeight});
        view.Paint(*target);
    }
    ~CChartScene() { CChartState::Shared().SetLastCursorPosition(-1); }
};

void BM_MemsetMinuteChartSurface(benchmark::State& state) {
    CSurface surface(kWidth, kHeight);
    for (auto _ : state) {
        std::memset(surface.Row(0), 0x20, sizeof(COLORREF) * kWidth * kHeight);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemsetMinuteChartSurface);

void BM_MinuteChartFullRedraw(benchmark::State& state) {
    CChartScene scene;
    CSurface other(kWidth, kHeight);
    benchfloor::CMemsetFloor floor(other);
    for (auto _ : state)
        floor.Sample(state, [&] {
            scene.view.SetDirty();
            scene.view.Paint(*scene.target);
        });
    floor.Report(state, "redraw");
}
BENCHMARK(BM_MinuteChartFullRedraw)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_MinuteChartCursorMove(benchmark::State& state) {
    CChartScene scene;
    CSurface other(kWidth, kHeight);
    benchfloor::CMemsetFloor floor(other);
    for (auto _ : state)
        floor.Sample(state, [&] {
            scene.view.MoveCursor(1, 0);
            scene.view.Paint(*scene.target);
        });
    floor.Report(state, "move");
}
BENCHMARK(BM_MinuteChartCursorMove)->UseManualTime()->Unit(benchmark::kMicrosecond);

// One copy of the whole picture to the screen, as a full redraw makes it.
void BM_CopyMinuteChartPicture(benchmark::State& state) {
    std::unique_ptr<CDC> picture = CDC::CreateMemoryDC(kWidth, kHeight);
    std::unique_ptr<CDC> screen = CDC::CreateMemoryDC(kWidth, kHeight);
    CSurface other(kWidth, kHeight);
    benchfloor::CMemsetFloor floor(other);
    for (auto _ : state)
        floor.Sample(state, [&] { screen->BitBlt(0, 0, kWidth, kHeight, *picture, 0, 0); });
    floor.Report(state, "copy");
}
BENCHMARK(BM_CopyMinuteChartPicture)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
