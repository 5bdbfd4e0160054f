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
#include "platform/gdi/CFontEngine.h"
#include "platform/system/ResidentMemory.h"
#include "platform/ui/CModalScript.h"
#include "platform/win/UiMessageLoop.h"
#include "tools/orbstock/Tour.h"

#include <benchmark/benchmark.h>


namespace {

using namespace benchroad;

constexpr double kMb = 1024.0 * 1024.0;

// The heap set as the desktop program's main sets it, before any benchmark
// makes a thread; every benchmark of this program runs so.
const bool g_heapAsTheDesktops = (KeepHeapSmall(), true);
constexpr int kMostBacks = 8;

// Closes the topmost window: a message box by its "no", "cancel" or "OK"
// button (as a user leaves a question unanswered), any other window by its
// caption's back button.
bool CloseTopmost(CTestDriver& driver) {
    const std::vector<CWindowInfo> windows = driver.OpenWindows();
    size_t top = windows.size();
    for (size_t i = 0; i < windows.size(); ++i)
        if (windows[i].depth == 0 && windows[i].visible)
            top = i;
    if (top == windows.size())
        return false;
    for (int answer : {IDNO, IDCANCEL, IDOK}) {
        for (size_t i = top + 1; i < windows.size() && windows[i].depth > 0; ++i) {
            const CWindowInfo& child = windows[i];
            if (child.depth == 1 && child.id == answer && child.visible && child.className == "UiButton" &&
                windows[top].className == "CUiMessageBox")
                return driver.Tap((child.screenRect.left + child.screenRect.right) / 2,
                                  (child.screenRect.top + child.screenRect.bottom) / 2);
        }
    }
    const bool posted = driver.RunOnGui([handle = windows[top].handle] {
        for (UiWin* window : UiMessageLoop::Current()->TopLevelWindows())
            if (auto* base = dynamic_cast<CBaseWnd*>(window); base && window->GetHandle() == handle)
                return base->PostMessage(WND_MSG_CAPTION_BACK);
        return false;
    });
    return posted && driver.WaitForRest();
}

// Backs out of whatever a step opened until the main menu is on top.
bool BackToMenu(CTestDriver& driver, const std::string& menuClass) {
    for (int i = 0; i < kMostBacks && TopClass(driver) != menuClass; ++i)
        if (!CloseTopmost(driver))
            return false;
    return TopClass(driver) == menuClass;
}

// Every step of the tour that starts at the main menu, in one program; the
// number of steps that got there and back.
int VisitEveryScreen(CBenchProgram& program, const std::string& menuClass) {
    int visited = 0;
    CTourContext context{program.Driver(), program.App(), program.Simulator()};
    std::vector<std::string> problems;
    for (const CTourStep& step : OrderTourSteps(RegisteredTourSteps(), &problems)) {
        if (step.atStartUp)
            continue;
        const bool drove = step.drive(context);
        if (BackToMenu(program.Driver(), menuClass))
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
    const std::string menuClass = TopClass(program.Driver());
    const std::optional<CResidentMemory> atMenu = ReadResidentMemory();
    std::optional<CResidentMemory> afterOne, afterTwo;
    int visited = 0;
    for (auto _ : state) {
        const double t0 = NowUs();
        visited = VisitEveryScreen(program, menuClass);
        afterOne = ReadResidentMemory();
        VisitEveryScreen(program, menuClass);
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
    state.counters["anon_growth_mb"] = (static_cast<double>(afterOne->anonBytes) - atMenu->anonBytes) / kMb;
    state.counters["file_growth_mb"] = (static_cast<double>(afterOne->fileBytes) - atMenu->fileBytes) / kMb;
    state.counters["screens"] = visited;
    // Of the anonymous figure: the glyphs the font engine keeps (bounded by
    // its byte budget, not by this round).
    state.counters["glyph_cache_mb"] = static_cast<double>(CFontEngine::Instance().CacheBytes()) / kMb;
}
BENCHMARK(BM_MemoryMenuAndEveryScreen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
