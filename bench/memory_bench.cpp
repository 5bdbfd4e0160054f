// What the program holds in memory at its main menu and after it has shown
// every screen of the tour, in one program against the embedded simulator
// bounded as the desktop program bounds it; each figure split into
// file-backed pages (libraries, the font file), shared memory and anonymous
// pages (heaps, stacks). The floor is the figure at the main menu; the
// figures to read are growth_mb after one round of every screen and after a
// second one (a cache or log without bound shows as a second growth).
//
// The process is a fresh one of this benchmark program (it runs itself
// again for this benchmark alone), so nothing another benchmark left counts;
// it is not the desktop program's: its own libraries add to the file-backed
// pages, and the headless loop holds its screen in anonymous memory where
// the desktop window holds it shared.
#include "bench/BenchRoad.h"

#include "framework/ui/CBaseWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/gdi/CFontEngine.h"
#include "platform/system/Environment.h"
#include "platform/system/ResidentMemory.h"
#include "platform/ui/CModalScript.h"
#include "platform/win/UiMessageLoop.h"
#include "tools/orbstock/Tour.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <sstream>

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

// What the child measured, in the order it prints them after kChildMark.
struct CMemoryFigures {
    CResidentMemory atMenu, afterOne, afterTwo;
    int visited = 0;
    double glyphCacheMb = 0;
};
constexpr const char* kChildEnv = "ORB_MEMORY_CHILD=1";
constexpr const char* kChildMark = "orb-memory:";

// In this process: the program to its menu, then two rounds of every screen.
std::optional<CMemoryFigures> MeasureHere() {
    CTempFolder folder("memory");
    CBenchProgram program(folder.Path());
    if (!program.Started())
        return std::nullopt;
    program.Simulator().SetLimits(EmbeddedDesktopLimits());
    program.Driver().SetFailureHandler([](const std::string&) {});
    const std::string menuClass = TopClass(program.Driver());
    CMemoryFigures figures;
    const std::optional<CResidentMemory> atMenu = ReadResidentMemory();
    figures.visited = VisitEveryScreen(program, menuClass);
    const std::optional<CResidentMemory> afterOne = ReadResidentMemory();
    VisitEveryScreen(program, menuClass);
    const std::optional<CResidentMemory> afterTwo = ReadResidentMemory();
    if (!atMenu || !afterOne || !afterTwo)
        return std::nullopt;
    figures.atMenu = *atMenu;
    figures.afterOne = *afterOne;
    figures.afterTwo = *afterTwo;
    // Of the anonymous figure: the glyphs the font engine keeps (bounded by
    // its byte budget, not by this round).
    figures.glyphCacheMb = static_cast<double>(CFontEngine::Instance().CacheBytes()) / kMb;
    return figures;
}

std::string Print(const CMemoryFigures& f) {
    std::string line = kChildMark;
    for (const CResidentMemory* m : {&f.atMenu, &f.afterOne, &f.afterTwo})
        for (size_t bytes : {m->fileBytes, m->shmemBytes, m->anonBytes})
            line += " " + std::to_string(bytes);
    line += " " + std::to_string(f.visited) + " " + std::to_string(f.glyphCacheMb) + "\n";
    return line;
}

std::optional<CMemoryFigures> Parse(const std::string& output) {
    const size_t at = output.find(kChildMark);
    if (at == std::string::npos)
        return std::nullopt;
    std::istringstream in(output.substr(at + std::strlen(kChildMark)));
    CMemoryFigures f;
    for (CResidentMemory* m : {&f.atMenu, &f.afterOne, &f.afterTwo})
        in >> m->fileBytes >> m->shmemBytes >> m->anonBytes;
    in >> f.visited >> f.glyphCacheMb;
    return in ? std::optional<CMemoryFigures>(f) : std::nullopt;
}

void BM_MemoryMenuAndEveryScreen(benchmark::State& state) {
    const bool child = !EnvironmentValue("ORB_MEMORY_CHILD").empty();
    std::optional<CMemoryFigures> figures;
    for (auto _ : state) {
        const double t0 = NowUs();
        if (child) {
            figures = MeasureHere();
            if (figures)
                std::fputs(Print(*figures).c_str(), stderr);
        } else {
            const std::optional<std::string> output =
                RunForOutput("/proc/self/exe", {"--benchmark_filter=^BM_MemoryMenuAndEveryScreen"}, {kChildEnv}, true);
            figures = output ? Parse(*output) : std::nullopt;
        }
        state.SetIterationTime((NowUs() - t0) / 1e6);
    }
    if (!figures) {
        state.SkipWithError("no figures: the program did not reach its menu, or the system does not say what it holds");
        return;
    }
    const CMemoryFigures& f = *figures;
    SetMemoryCounters(state, "menu", f.atMenu);
    SetMemoryCounters(state, "all", f.afterTwo);
    state.counters["menu_mb"] = static_cast<double>(f.atMenu.Total()) / kMb;
    state.counters["all_mb"] = static_cast<double>(f.afterTwo.Total()) / kMb;
    state.counters["growth_mb"] = (static_cast<double>(f.afterOne.Total()) - f.atMenu.Total()) / kMb;
    state.counters["second_round_growth_mb"] = (static_cast<double>(f.afterTwo.Total()) - f.afterOne.Total()) / kMb;
    state.counters["anon_growth_mb"] = (static_cast<double>(f.afterOne.anonBytes) - f.atMenu.anonBytes) / kMb;
    state.counters["file_growth_mb"] = (static_cast<double>(f.afterOne.fileBytes) - f.atMenu.fileBytes) / kMb;
    state.counters["screens"] = f.visited;
    state.counters["glyph_cache_mb"] = f.glyphCacheMb;
}
BENCHMARK(BM_MemoryMenuAndEveryScreen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
