// Cost of one full repaint of three screens — the ranking table, the watch
// list and the main menu, each reached as the tour reaches it against the
// embedded simulator — next to a memset of the same 480 × 720 surface, so
// the screens' cost shows as a number of plain memory fills ("x_memset",
// from interleaved samples, printed with each screen). Also the
// shapes that dominate a table's repaint: twenty rounded percent boxes.
#include "BenchRoad.h"
#include "framework/shell/COrbApp.h"
#include "framework/ui/CBaseWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CSurface.h"
#include "platform/testing/CTestDriver.h"
#include "platform/win/UiMessageLoop.h"
#include "tools/orbstock/RegisterWindows.h"
#include "tools/simulator/CBrokerSimulator.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

// A program at its main menu over a fresh data folder and simulator, with
// the screen to repaint opened.
class CRepaintProgram {
public:
    explicit CRepaintProgram(int menuChild = -1) : m_folder("repaint"), m_program(m_folder.Path()) {
        if (menuChild < 0)
            return;
        m_program.Driver().RunOnGui([&] {
            if (CBaseWnd* main = m_program.App().GetMainWindow())
                main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, menuChild);
        });
        m_program.Driver().WaitForRest();
    }
    // Runs the benchmark's loop on the GUI thread, one full repaint a turn,
    // each followed by a memset of the same screen surface (the next repaint
    // paints it all again), so that the ratio of their medians holds while
    // other work loads the machine.
    void Repaint(benchmark::State& state) {
        std::vector<double> paints, fills;
        m_program.Driver().RunOnGui([&] {
            UiMessageLoop* loop = UiMessageLoop::Current();
            CSurface& screen = loop->Screen();
            const size_t bytes = sizeof(COLORREF) * static_cast<size_t>(screen.Width()) * screen.Height();
            for (auto _ : state) {
                const double t0 = benchroad::NowUs();
                loop->PaintNow();
                const double t1 = benchroad::NowUs();
                std::memset(screen.Row(0), 0x20, bytes);
                benchmark::ClobberMemory();
                const double t2 = benchroad::NowUs();
                paints.push_back(t1 - t0);
                fills.push_back(t2 - t1);
                state.SetIterationTime((t1 - t0) / 1e6);
            }
        });
        const double paint = benchroad::Median(paints), fill = benchroad::Median(fills);
        state.counters["repaint_us"] = paint;
        state.counters["memset_us"] = fill;
        state.counters["x_memset"] = fill > 0 ? paint / fill : 0;
    }

private:
    benchroad::CTempFolder m_folder;
    benchroad::CBenchProgram m_program;
};

void BM_MemsetSurface(benchmark::State& state) {
    CSurface surface(480, 720);
    for (auto _ : state) {
        std::memset(surface.Row(0), 0x20, sizeof(COLORREF) * 480 * 720);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemsetSurface);

// The device context's solid fill of the whole surface, in a colour whose
// bytes differ (so no byte-wise memset can do it).
void BM_FillSurface(benchmark::State& state) {
    CSurface surface(480, 720);
    CDC dc(&surface);
    for (auto _ : state) {
        dc.FillRect({0, 0, 480, 720}, 0x2626C0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillSurface);

void BM_RepaintMainMenu(benchmark::State& state) {
    CRepaintProgram program;
    program.Repaint(state);
}
BENCHMARK(BM_RepaintMainMenu)->UseManualTime();

void BM_RepaintWatchList(benchmark::State& state) {
    CRepaintProgram program(0);
    program.Repaint(state);
}
BENCHMARK(BM_RepaintWatchList)->UseManualTime();

void BM_RepaintRankingTable(benchmark::State& state) {
    CRepaintProgram program(1);
    program.Repaint(state);
}
BENCHMARK(BM_RepaintRankingTable)->UseManualTime();

void BM_TwentyPercentBoxes(benchmark::State& state) {
    CSurface surface(480, 720);
    CDC dc(&surface);
    dc.SelectPen({PS_SOLID, 1, 0x646464});
    dc.SelectBrush(CBrush::Solid(0x2626C0));
    for (auto _ : state) {
        for (int i = 0; i < 20; ++i)
            dc.RoundRect({370, 10 + i * 34, 470, 34 + i * 34}, 10, 10);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TwentyPercentBoxes);

} // namespace
