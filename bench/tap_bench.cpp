// A tap on the main menu's "沪深排名" to the painted ranking table, against
// the embedded simulator, next to a bare loopback POST of the same request
// bytes to the same simulator over a kept connection, interleaved in the
// same run. The figure to read is x_bare_post: the tap in round trips of
// the bare exchange; warm_repaint_ms is a whole repaint of the table shown.
//
// A tap acts when the finger lifts, a tenth of a second or so after it
// touched: the press (its highlight painted, the loop back at rest) is over
// by then and costs the user nothing. So the clock runs from the release's
// arrival to the last paint handed to the screen, the table painted; the
// press is outside, shown beside as press_and_tap_ms, the whole finger's
// stroke as a test drives it, and tap_to_rest_ms runs on until the driver
// saw the program at rest.
#include "bench/BenchRoad.h"

#include "framework/ui/CBaseWnd.h"
#include "framework/ui/COrbMenuWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/testing/CDriverControls.h"
#include "platform/ui/UiList.h"
#include "platform/win/UiMessageLoop.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>

namespace {

using namespace benchroad;

constexpr int kRankingRow = 1; // "沪深排名" on the simulator's main menu

// The screen point of a row of the main menu's list.
std::optional<CPoint> MenuRowPoint(CTestDriver& driver, int index) {
    return driver.RunOnGui([index]() -> std::optional<CPoint> {
        auto* list = dynamic_cast<UiList*>(CDriverControls::FindShownControl(COrbMenuWnd::kListId));
        if (!list || index >= list->GetCount())
            return std::nullopt;
        list->EnsureItemVisible(index);
        const CRect screen = list->GetScreenRect();
        const CRect item = list->GetItemRect(index).Intersect(list->GetClientRect()).Offset(screen.left, screen.top);
        return CPoint{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    });
}

// The caption's back button on the topmost window.
bool Back(CTestDriver& driver) {
    const bool posted = driver.RunOnGui([] {
        std::vector<UiWin*> tops = UiMessageLoop::Current()->TopLevelWindows();
        for (auto it = tops.rbegin(); it != tops.rend(); ++it)
            if (auto* window = dynamic_cast<CBaseWnd*>(*it); window && window->IsVisible())
                return window->PostMessage(WND_MSG_CAPTION_BACK);
        return false;
    });
    return posted && driver.WaitForRest();
}

void BM_TapRankingToPainted(benchmark::State& state) {
    CTempFolder folder("tap");
    CBenchProgram program(folder.Path());
    CTestDriver& driver = program.Driver();
    const std::optional<CPoint> row = program.Started() ? MenuRowPoint(driver, kRankingRow) : std::nullopt;
    if (!row) {
        state.SkipWithError("the main menu is not shown");
        return;
    }
    const std::string menuClass = TopClass(driver);

    // One tap first, for the request's bytes and the window it opens.
    program.Simulator().ClearRequestLog();
    if (!driver.Tap(row->x, row->y) || TopClass(driver) == menuClass) {
        state.SkipWithError("the tap opened nothing");
        return;
    }
    const std::string tableClass = TopClass(driver);
    const std::vector<SimRequest> log = program.Simulator().GetRequestLog();
    if (log.empty()) {
        state.SkipWithError("the tap sent no request");
        return;
    }
    const std::string wire = WireBytes(log.back());
    Back(driver);

    CBarePost bare(program.Port());
    const size_t replyBytes = bare.Exchange(wire);
    std::vector<double> taps, rests, strokes, posts, repaints;
    double requests = 0;
    for (auto _ : state) {
        program.Simulator().ClearRequestLog();
        const double t0 = NowUs();
        const bool pressed = driver.Press(row->x, row->y);
        const double t1 = NowUs();
        const bool tapped = pressed && driver.Release(row->x, row->y);
        const double t2 = NowUs();
        if (!tapped || TopClass(driver) != tableClass) {
            state.SkipWithError("the tap did not open the ranking table");
            break;
        }
        requests += static_cast<double>(program.Simulator().GetRequestLog().size());
        const double shown = driver.RunOnGui([] {
            const auto presented = UiMessageLoop::Current()->LastPaint().presented.time_since_epoch();
            return std::chrono::duration<double, std::micro>(presented).count();
        });
        taps.push_back(shown - t1);
        rests.push_back(t2 - t1);
        strokes.push_back(shown - t0);
        repaints.push_back(driver.RunOnGui([] {
            const double r0 = NowUs();
            UiMessageLoop::Current()->PaintNow();
            return NowUs() - r0;
        }));
        state.SetIterationTime((shown - t1) / 1e6);
        Back(driver);

        const double p0 = NowUs();
        const size_t got = bare.Exchange(wire);
        const double p1 = NowUs();
        if (got == 0) {
            state.SkipWithError("the bare POST failed");
            break;
        }
        posts.push_back(p1 - p0);
    }
    const double tap = Median(taps), post = Median(posts);
    state.counters["tap_ms"] = tap / 1000;
    state.counters["bare_post_ms"] = post / 1000;
    state.counters["x_bare_post"] = post > 0 ? tap / post : 0;
    state.counters["press_and_tap_ms"] = Median(strokes) / 1000;
    state.counters["tap_to_rest_ms"] = Median(rests) / 1000;
    // Beside it, what the tap's painting cannot go below: a repaint of the
    // shown table, glyphs cached.
    state.counters["warm_repaint_ms"] = Median(repaints) / 1000;
    state.counters["requests_per_tap"] = taps.empty() ? 0 : requests / static_cast<double>(taps.size());
    state.counters["request_bytes"] = static_cast<double>(wire.size());
    state.counters["reply_bytes"] = static_cast<double>(replyBytes);
}
BENCHMARK(BM_TapRankingToPainted)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

} // namespace
