// What the program holds in memory at its main menu and after it has shown
// every screen of the tour, in one program against the embedded simulator
// bounded as the desktop program bounds it; each figure split into
// file-backed pages (libraries, the font file), shared memory and anonymous
// pages (heaps, stacks). The floor is the figure at the main menu; the
// figures to read are growth_mb after one round of every screen and after a
// second one (a cache or log without bound shows as a second growth).
//
// The process is this benchmark's, not the desktop program's: its own
// libraries add to the file-backed pages, and the headless loop holds its
// screen in anonymous memory where the desktop window holds it shared.
#include "bench/BenchRoad.h"

#include "framework/ui/CBaseWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/system/ResidentMemory.h"
#include "platform/win/UiMessageLoop.h"
#include "tools/orbstock/Tour.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

using namespace benchroad;

constexpr double kMb = 1024.0 * 1024.0;
constexpr int kMostBacks = 8;

// The number of shown top-level windows.
size_t ShownWindows(CTestDriver& driver) {
    return driver.RunOnGui([] {
        size_t shown = 0;
        for (UiWin* window : UiMessageLoop::Current()->TopLevelWindows())
            shown += window->IsVisible() ? 1 : 0;
        return shown;
    });
}

// Backs out of whatever a step opened until only the main menu is shown.
bool BackToMenu(CTestDriver& driver, size_t menuWindows) {
    for (int i = 0; i < kMostBacks && ShownWindows(driver) > menuWindows; ++i) {
        const bool posted = driver.RunOnGui([] {
            std::vector<UiWin*> tops = UiMessageLoop::Current()->TopLevelWindows();
            for (auto it = tops.rbegin(); it != tops.rend(); ++it)
                if (auto* window = dynamic_cast<CBaseWnd*>(*it); window && window->IsVisible())
                    return window->PostMessage(WND_MSG_CAPTION_BACK);
            return false;
        });
        if (!posted || !driver.WaitForRest())
            return false;
    }
    return ShownWindows(driver) == menuWindows;
}

// Every step of the tour that starts at the main menu, in one program; the
// number of steps that got there and back.
int VisitEveryScreen(CBenchProgram& program, size_t menuWindows) {
    int visited = 0;
    CTourContext context{program.Driver(), program.App(), program.Simulator()};
    for (const CTourStep& step : TourSteps()) {
        if (step.atStartUp)
            continue;
        const bool drove = step.drive(context);
        if (BackToMenu(program.Driver(), menuWindows))
            visited += drove ? 1 : 0;
        else
            break; // a screen that does not go back leaves no menu to go on from
    }
    return visited;
}

void SetMemoryCounters(benchmark::State& state, const std::string& prefix, const CResidentMemory& memory) {
    state.counters[prefix + "_file_mb"] = static_cast<double>(memory.fileBytes) / kMb;
    state.counters[prefix + "_shmem_mb"] = static_cast<double>(memory.shmemBytes) / kMb;
    state.counters[prefix + "_anon_mb"] = static_cast<double>(memory.anonBytes) / kMb;
}

void BM_MemoryMenuAndEveryScreen(benchmark::State& state) {
    CTempFolder folder("memory");
    CBenchProgram program(folder.Path());
    if (!program.Started()) {
        state.SkipWithError("the program did not reach its main menu");
        return;
    }
    program.Simulator().SetLimits(EmbeddedDesktopLimits());
    program.Driver().SetFailureHandler([](const std::string&) {});
    const size_t menuWindows = ShownWindows(program.Driver());
    // Freed heap given back, so each figure is what is held, not what was
    // once needed.
    malloc_trim(0);
    const std::optional<CResidentMemory> atMenu = ReadResidentMemory();
    std::optional<CResidentMemory> afterOne, afterTwo;
    int visited = 0;
    for (auto _ : state) {
        const double t0 = NowUs();
        visited = VisitEveryScreen(program, menuWindows);
        malloc_trim(0);
        afterOne = ReadResidentMemory();
        VisitEveryScreen(program, menuWindows);
        malloc_trim(0);
        afterTwo = ReadResidentMemory();
        state.SetIterationTime((NowUs() - t0) / 1e6);
    }
    if (!atMenu || !afterOne || !afterTwo) {
        state.SkipWithError("the system does not say what the process holds");
        return;
    }
    SetMemoryCounters(state, "menu", *atMenu);
    SetMemoryCounters(state, "all", *afterTwo);
    state.counters["menu_mb"] = static_cast<double>(atMenu->Total()) / kMb;
    state.counters["all_mb"] = static_cast<double>(afterTwo->Total()) / kMb;
    state.counters["growth_mb"] = (static_cast<double>(afterOne->Total()) - atMenu->Total()) / kMb;
    state.counters["second_round_growth_mb"] = (static_cast<double>(afterTwo->Total()) - afterOne->Total()) / kMb;
    state.counters["screens"] = visited;
}
BENCHMARK(BM_MemoryMenuAndEveryScreen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
