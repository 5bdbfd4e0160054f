// Cost of one full repaint of the table screens — the main menu, the watch
// list, the ranking table, the order form, the confirmation page and the
// history table, each reached as the screenshot tour reaches it against the
// embedded simulator — as a number of memsets of the same 480 × 720 screen
// surface ("x_memset", from interleaved samples). Also the shapes that
// dominate a table's repaint: twenty rounded percent boxes.
#include "bench/BenchRoad.h"
#include "bench/MemsetFloor.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CSurface.h"
#include "platform/win/UiMessageLoop.h"
#include "tools/orbstock/Tour.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

// A program at its main menu over a fresh data folder and simulator, driven
// by the tour's step of the given name to the screen to repaint.
class CRepaintProgram {
public:
    explicit CRepaintProgram(const std::string& step) : m_folder("repaint"), m_program(m_folder.Path()) {
        m_ready = m_program.Started();
        for (const CTourStep& s : RegisteredTourSteps())
            if (m_ready && s.name == step && !s.atStartUp) {
                CTourContext tour{m_program.Driver(), m_program.App(), m_program.Simulator()};
                m_ready = s.drive(tour) && m_program.Driver().WaitForRest();
                return;
            }
        m_ready = false;
    }
    // Runs the benchmark's loop on the GUI thread, one full repaint a turn,
    // each followed by a memset of the screen (the next repaint paints it
    // all again).
    void Repaint(benchmark::State& state) {
        if (!m_ready) {
            state.SkipWithError("the screen was not reached");
            return;
        }
        m_program.Driver().RunOnGui([&] {
            UiMessageLoop* loop = UiMessageLoop::Current();
            benchfloor::CMemsetFloor floor(loop->Screen());
            for (auto _ : state)
                floor.Sample(state, [loop] { loop->PaintNow(); });
            floor.Report(state, "repaint");
        });
    }

private:
    benchroad::CTempFolder m_folder;
    benchroad::CBenchProgram m_program;
    bool m_ready = false;
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
    benchfloor::CMemsetFloor floor(surface);
    for (auto _ : state)
        floor.Sample(state, [&] { dc.FillRect({0, 0, 480, 720}, 0x2626C0); });
    floor.Report(state, "fill");
}
BENCHMARK(BM_FillSurface)->UseManualTime();

void Repaint(benchmark::State& state, const char* step) {
    CRepaintProgram program(step);
    program.Repaint(state);
}

void BM_RepaintMainMenu(benchmark::State& state) { Repaint(state, "main_menu"); }
BENCHMARK(BM_RepaintMainMenu)->UseManualTime();

void BM_RepaintWatchList(benchmark::State& state) { Repaint(state, "watch_list"); }
BENCHMARK(BM_RepaintWatchList)->UseManualTime();

void BM_RepaintRankingTable(benchmark::State& state) { Repaint(state, "ranking_table"); }
BENCHMARK(BM_RepaintRankingTable)->UseManualTime();

void BM_RepaintOrderForm(benchmark::State& state) { Repaint(state, "order_buy"); }
BENCHMARK(BM_RepaintOrderForm)->UseManualTime();

void BM_RepaintConfirmationPage(benchmark::State& state) { Repaint(state, "order_confirm"); }
BENCHMARK(BM_RepaintConfirmationPage)->UseManualTime();

void BM_RepaintHistoryTable(benchmark::State& state) { Repaint(state, "history_query"); }
BENCHMARK(BM_RepaintHistoryTable)->UseManualTime();

void BM_TwentyPercentBoxes(benchmark::State& state) {
    CSurface surface(480, 720);
    CDC dc(&surface);
    dc.SelectPen({PS_SOLID, 1, 0x646464});
    dc.SelectBrush(CBrush::Solid(0x2626C0));
    CSurface other(480, 720);
    benchfloor::CMemsetFloor floor(other);
    for (auto _ : state)
        floor.Sample(state, [&] {
            for (int i = 0; i < 20; ++i)
                dc.RoundRect({370, 10 + i * 34, 470, 34 + i * 34}, 10, 10);
        });
    floor.Report(state, "boxes");
}
BENCHMARK(BM_TwentyPercentBoxes)->UseManualTime();

} // namespace
