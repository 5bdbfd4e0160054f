// Cost of one full repaint of three screens — the ranking table, the watch
// list and the main menu, each reached as the tour reaches it against the
// embedded simulator — next to a memset of the same 480 × 720 surface, so
// the screens' cost shows as a number of plain memory fills. Also the
// shapes that dominate a table's repaint: twenty rounded percent boxes.
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
#include <filesystem>
#include <memory>
#include <vector>

namespace {

// A program at its main menu over a fresh data folder and simulator.
class CBenchProgram {
public:
    CBenchProgram() {
        m_dir = std::filesystem::temp_directory_path() / ("orb_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
        const int port = m_simulator.Start(0);
        COrbAppOptions options;
        options.dataDir = m_dir.string();
        options.serverHost = "127.0.0.1";
        options.serverPort = port;
        options.resourceDir = ORB_SOURCE_DIR "/resources";
        m_app = std::make_unique<COrbApp>(options);
        m_driver.SetRestTimeout(20000);
        RegisterWindows();
        m_driver.Start([this] { m_app->InitInstance(); });
    }
    ~CBenchProgram() {
        m_driver.Stop();
        m_app->ExitInstance();
        m_simulator.Stop();
        std::error_code error;
        std::filesystem::remove_all(m_dir, error);
    }
    // Opens the main menu's child (0 the watch list, 1 the ranking).
    void OpenMenuChild(int index) {
        m_driver.RunOnGui([&] {
            if (CBaseWnd* main = m_app->GetMainWindow())
                main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, index);
        });
        m_driver.WaitForRest();
    }
    // Runs the benchmark's loop on the GUI thread, one full repaint a turn.
    void Repaint(benchmark::State& state) {
        m_driver.RunOnGui([&] {
            UiMessageLoop* loop = UiMessageLoop::Current();
            for (auto _ : state)
                loop->PaintNow();
        });
    }

private:
    std::filesystem::path m_dir;
    CBrokerSimulator m_simulator;
    std::unique_ptr<COrbApp> m_app;
    CTestDriver m_driver;
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
    CBenchProgram program;
    program.Repaint(state);
}
BENCHMARK(BM_RepaintMainMenu)->UseRealTime();

void BM_RepaintWatchList(benchmark::State& state) {
    CBenchProgram program;
    program.OpenMenuChild(0);
    program.Repaint(state);
}
BENCHMARK(BM_RepaintWatchList)->UseRealTime();

void BM_RepaintRankingTable(benchmark::State& state) {
    CBenchProgram program;
    program.OpenMenuChild(1);
    program.Repaint(state);
}
BENCHMARK(BM_RepaintRankingTable)->UseRealTime();

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
