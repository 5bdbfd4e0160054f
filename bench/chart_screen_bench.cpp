// The minute chart and the K-line as the program paints them: the tour's
// chart screen in the real frame, painted by the loop onto the 480 × 720
// screen. A full redraw marks the view dirty and repaints the whole
// screen; a cursor move sends the frame a touch move (the finger held down
// on the chart, sliding between two points) and lets the loop paint what it
// marked, nothing when it marked nothing. Each is printed as a number of
// memsets of a surface of the screen's size ("x_memset", from interleaved
// samples).
#include "bench/BenchRoad.h"
#include "bench/MemsetFloor.h"
#include "platform/gdi/CSurface.h"
#include "platform/win/Message.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/charts/CFSChartView.h"
#include "quotes/charts/CFSFrame.h"
#include "quotes/charts/CKXChartView.h"
#include "quotes/charts/CKXFrame.h"
#include "tools/orbstock/Tour.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The topmost shown top-level window when it is a T; GUI thread.
template <class T>
T* TopWindow() {
    std::vector<UiWin*> tops = UiMessageLoop::Current()->TopLevelWindows();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if ((*it)->IsVisible())
            return dynamic_cast<T*>(*it);
    return nullptr;
}

// Two points in a frame's client coordinates to slide the cursor between.
struct CSlide {
    CPoint from, to;
};

CSlide MinuteSlide(CFSFrame& frame) {
    const CRect grid = CChartWnd::ChartToClient(frame.GetView()->GetFSLayout().grid);
    const int y = grid.top + grid.Height() / 2;
    return {{grid.left + grid.Width() / 3, y}, {grid.left + grid.Width() * 2 / 3, y}};
}

CSlide KLineSlide(CKXFrame& frame) {
    const CRect price = CChartWnd::ChartToClient(frame.GetView()->GetPanels().price);
    const int y = price.top + price.Height() / 2;
    return {{price.left + price.Width() / 3, y}, {price.left + price.Width() * 2 / 3, y}};
}

// The test driver checks every partial paint against a full one, which
// costs a full paint and a compare; the user's program does neither.
class CUnverifiedPaints {
public:
    CUnverifiedPaints() { UiMessageLoop::SetVerifyPartialPaints(false); }
    ~CUnverifiedPaints() { UiMessageLoop::SetVerifyPartialPaints(true); }
    CUnverifiedPaints(const CUnverifiedPaints&) = delete;
    CUnverifiedPaints& operator=(const CUnverifiedPaints&) = delete;
};

// A program driven by a tour step to a chart frame of class Frame.
template <class Frame>
class CChartProgram {
public:
    explicit CChartProgram(const std::string& step) : m_folder("chart"), m_program(m_folder.Path()) {
        bool reached = false;
        for (const CTourStep& s : RegisteredTourSteps())
            if (m_program.Started() && s.name == step) {
                CTourContext tour{m_program.Driver(), m_program.App(), m_program.Simulator()};
                reached = s.drive(tour) && m_program.Driver().WaitForRest();
                break;
            }
        m_ready = reached && m_program.Driver().RunOnGui([] { return TopWindow<Frame>() != nullptr; });
    }

    // The whole screen repainted with the chart drawn anew.
    void FullRedraw(benchmark::State& state) {
        if (!m_ready) {
            state.SkipWithError("the chart was not reached");
            return;
        }
        m_program.Driver().RunOnGui([&] {
            UiMessageLoop* loop = UiMessageLoop::Current();
            Frame* frame = TopWindow<Frame>();
            benchfloor::CMemsetFloor floor(loop->Screen());
            for (auto _ : state)
                floor.Sample(state, [&] {
                    frame->GetView()->SetDirty();
                    loop->PaintNow();
                });
            floor.Report(state, "redraw");
        });
    }

    // A finger sliding on the chart, one move a sample, each painted. The
    // finger slides leftward (on the K-line a rightward slide scrolls to
    // older bars); at the slide's end it is lifted and put down again at
    // its start, untimed.
    template <class Slide>
    void CursorMove(benchmark::State& state, Slide slideOf) {
        if (!m_ready) {
            state.SkipWithError("the chart was not reached");
            return;
        }
        m_program.Driver().RunOnGui([&] {
            const CUnverifiedPaints unverified;
            UiMessageLoop* loop = UiMessageLoop::Current();
            Frame* frame = TopWindow<Frame>();
            const CSlide slide = slideOf(*frame);
            const HWND handle = frame->GetHandle();
            const int y = slide.from.y;
            CSurface other(loop->Screen().Width(), loop->Screen().Height());
            benchfloor::CMemsetFloor floor(other);
            const int steps = 24;
            int step = steps;
            double pixels = 0, samples = 0;
            for (auto _ : state) {
                if (step == steps) {
                    state.PauseTiming();
                    SendMessage(handle, WM_LBUTTONUP, 0, MakeLParam(slide.to.x, y));
                    SendMessage(handle, WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(slide.to.x, y));
                    loop->PaintNow();
                    step = 0;
                    state.ResumeTiming();
                }
                ++step;
                const int x = slide.to.x - (slide.to.x - slide.from.x) * step / steps;
                bool painted = false;
                floor.Sample(state, [&] {
                    SendMessage(handle, WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(x, y));
                    // As the loop does: a move that marked nothing is not painted.
                    painted = loop->NeedsPaint();
                    if (painted)
                        loop->PaintNow();
                });
                if (painted)
                    pixels += static_cast<double>(loop->LastPaint().Pixels(loop->GetScreenRect()));
                ++samples;
            }
            SendMessage(handle, WM_LBUTTONUP, 0, MakeLParam(slide.from.x, y));
            loop->PaintNow();
            floor.Report(state, "move");
            state.counters["painted_px"] = samples > 0 ? pixels / samples : 0;
        });
    }

private:
    benchroad::CTempFolder m_folder;
    benchroad::CBenchProgram m_program;
    bool m_ready = false;
};

void BM_MinuteChartScreenFullRedraw(benchmark::State& state) {
    CChartProgram<CFSFrame> program("minute_chart_panel_1");
    program.FullRedraw(state);
}
BENCHMARK(BM_MinuteChartScreenFullRedraw)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_MinuteChartScreenCursorMove(benchmark::State& state) {
    CChartProgram<CFSFrame> program("minute_chart_panel_1");
    program.CursorMove(state, MinuteSlide);
}
BENCHMARK(BM_MinuteChartScreenCursorMove)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_KLineScreenFullRedraw(benchmark::State& state) {
    CChartProgram<CKXFrame> program("kline_candles_macd");
    program.FullRedraw(state);
}
BENCHMARK(BM_KLineScreenFullRedraw)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_KLineScreenCursorMove(benchmark::State& state) {
    CChartProgram<CKXFrame> program("kline_candles_macd");
    program.CursorMove(state, KLineSlide);
}
BENCHMARK(BM_KLineScreenCursorMove)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
