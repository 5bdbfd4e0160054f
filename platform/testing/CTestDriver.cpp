// The test driver: a GUI thread with the headless host, and steps from the
// test thread that wait for rest (see the header).
#include "platform/testing/CTestDriver.h"

#include "platform/Clock.h"
#include "platform/gdi/CDC.h"
#include "platform/testing/CHeadlessHost.h"
#include "platform/ui/UiEdit.h"
#include "platform/win/CGuiTask.h"
#include "platform/win/UiGesture.h"
#include "platform/win/UiWin.h"

#include <chrono>
#include <cstdio>
#include <sstream>

namespace {

constexpr const char* kUnavailable = "  (unavailable: the GUI thread is busy or the program is not running)\n";

std::string Narrow(const std::u16string& text) {
    // For the failure listing only: ASCII kept, the rest shown as '?'.
    std::string out;
    for (char16_t c : text)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

} // namespace

CTestDriver::CTestDriver() = default;

CTestDriver::~CTestDriver() { Stop(); }

std::mutex& CTestDriver::StrayLock() {
    static std::mutex lock;
    return lock;
}

std::vector<std::shared_ptr<CTestDriver::GuiThread>>& CTestDriver::Strays() {
    static std::vector<std::shared_ptr<GuiThread>> strays;
    return strays;
}

void CTestDriver::KeepStray(std::shared_ptr<GuiThread> gui) {
    std::lock_guard<std::mutex> guard(StrayLock());
    Strays().push_back(std::move(gui));
}

bool CTestDriver::WaitForStrays(int ms) {
    std::vector<std::shared_ptr<GuiThread>> strays;
    {
        std::lock_guard<std::mutex> guard(StrayLock());
        strays.swap(Strays());
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    bool allEnded = true;
    for (const std::shared_ptr<GuiThread>& gui : strays) {
        bool finished = false;
        {
            std::unique_lock<std::mutex> guard(gui->lock);
            finished = gui->changed.wait_until(guard, deadline, [&gui] { return gui->finished; });
        }
        if (!finished) {
            allEnded = false;
            KeepStray(gui);
        }
    }
    return allEnded;
}

bool CTestDriver::Start(std::function<void()> setup, int screenMode) {
    if (m_thread.joinable()) {
        Fail("Start: the driver is already running");
        return false;
    }
    if (!WaitForStrays(m_restTimeoutMs)) {
        Report("Start: the GUI thread of an earlier driver is still blocked after " + std::to_string(m_restTimeoutMs) +
                   " ms",
               "  (unavailable: that program is not this driver's)\n");
        return false;
    }
    CModalScript::Instance().Clear();
    CClock& clock = CClock::Instance();
    m_setManualClock = !clock.IsManual();
    if (m_setManualClock)
        clock.UseManual({2024, 3, 13, 3, 10, 30, 0, 0});
    m_gui = std::make_shared<GuiThread>();
    m_sawBlocked = false;
    m_thread = std::thread([gui = m_gui, setup = std::move(setup), screenMode] { GuiThreadMain(gui, setup, screenMode); });
    {
        std::unique_lock<std::mutex> guard(m_gui->lock);
        m_gui->changed.wait(guard, [this] { return m_gui->started; });
    }
    return Settle("Start");
}

void CTestDriver::GuiThreadMain(const std::shared_ptr<GuiThread>& gui, std::function<void()> setup, int screenMode) {
    {
        CHeadlessHost host;
        UiMessageLoop loop(&host);
        UiMessageLoop::SetVerifyPartialPaints(true);
        loop.SetScreenMode(screenMode);
        if (setup)
            loop.PostTask(std::move(setup));
        {
            std::lock_guard<std::mutex> guard(gui->lock);
            gui->loop = &loop;
            gui->started = true;
        }
        gui->changed.notify_all();
        loop.Run();
        // Windows still open are destroyed here, on their own thread; their
        // objects belong to the program.
        std::vector<HWND> open;
        for (UiWin* top : loop.TopLevelWindows())
            open.push_back(top->GetHandle());
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            if (UiWin* window = UiWin::FromHandle(*it))
                window->Destroy();
        std::unique_lock<std::mutex> guard(gui->lock);
        gui->ended = true;
        gui->changed.notify_all();
        gui->changed.wait(guard, [&gui] { return gui->stopRequested; });
        gui->loop = nullptr;
        // The loop is destroyed on leaving: queued payloads are freed.
    }
    {
        std::lock_guard<std::mutex> guard(gui->lock);
        gui->finished = true;
    }
    gui->changed.notify_all();
}

void CTestDriver::Stop() {
    if (!m_thread.joinable())
        return;
    bool finished = true;
    {
        std::unique_lock<std::mutex> guard(m_gui->lock);
        if (m_gui->loop)
            m_gui->loop->Quit(0);
        m_gui->stopRequested = true;
        m_gui->changed.notify_all();
        // A thread that serves ends on the quit, however long its windows
        // take to go; only one seen blocked is given a bound.
        if (m_sawBlocked)
            finished = m_gui->changed.wait_for(guard, std::chrono::milliseconds(m_restTimeoutMs),
                                               [this] { return m_gui->finished; });
    }
    if (finished) {
        m_thread.join();
    } else {
        // A task blocks the GUI thread for good: waiting on would hang the
        // test. The thread keeps its own state and ends if it is ever freed.
        Report("Stop: the GUI thread did not end within " + std::to_string(m_restTimeoutMs) +
                   " ms (a task on it is blocked); it is left running",
               "  (unavailable: the GUI thread is blocked)\n");
        KeepStray(m_gui);
        m_thread.detach();
    }
    UiGesture::SetRegistrationFails(false);
    if (m_setManualClock)
        CClock::Instance().UseSystem();
    m_setManualClock = false;
}

bool CTestDriver::HasProgramEnded() const {
    std::lock_guard<std::mutex> guard(m_gui->lock);
    return m_gui->ended;
}

UiMessageLoop* CTestDriver::Loop() const {
    std::lock_guard<std::mutex> guard(m_gui->lock);
    return m_gui->ended ? nullptr : m_gui->loop;
}

void CTestDriver::WaitEnded() {
    std::unique_lock<std::mutex> guard(m_gui->lock);
    m_gui->changed.wait_for(guard, std::chrono::milliseconds(m_restTimeoutMs), [this] { return m_gui->ended; });
}

void CTestDriver::Fail(const std::string& what) { Report(what, DescribeWindows()); }

void CTestDriver::Report(const std::string& what, const std::string& windows) {
    std::string text = what;
    text += "\nOpen windows:\n";
    text += windows;
    m_failures.push_back(text);
    if (m_onFailure)
        m_onFailure(text);
    else
        std::fprintf(stderr, "CTestDriver: %s\n", text.c_str());
}

bool CTestDriver::Settle(const std::string& step) {
    UiMessageLoop* loop = Loop();
    if (!loop)
        return HasProgramEnded(); // an ended program rests for good
    if (loop->WaitForRest(m_restTimeoutMs)) {
        if (loop->IsQuitting())
            WaitEnded(); // the program quit: rest comes when its windows are gone
        return true;
    }
    if (HasProgramEnded())
        return true;
    Fail(step + ": the program did not come to rest within " + std::to_string(m_restTimeoutMs) + " ms");
    return false;
}

bool CTestDriver::WaitForRest() { return Settle("WaitForRest"); }

bool CTestDriver::RunTask(std::function<void()> fn, bool waitRest, bool reportFailure) {
    UiMessageLoop* loop = Loop();
    if (!loop) {
        if (reportFailure)
            Fail("RunOnGui: the program is not running");
        return false;
    }
    if (loop->IsGuiThread()) {
        fn();
        return true;
    }
    auto task = loop->PostTask(std::move(fn));
    if (!task->WaitStarted(m_restTimeoutMs)) {
        if (reportFailure)
            Fail("RunOnGui: the GUI thread did not take the task within " + std::to_string(m_restTimeoutMs) + " ms");
        return false;
    }
    if (!task->WaitFinished(m_restTimeoutMs)) {
        // The task sits in a loop nobody can end (a modal window waiting for
        // a finger while the test thread waits here), or it is blocked
        // outright. A GUI thread that still takes the listing is in a loop:
        // the quit ends every modal level, and the task with it. A blocked
        // one is left to itself; the step fails all the same.
        const std::optional<std::string> windows = reportFailure ? TryDescribeWindows() : std::nullopt;
        if (reportFailure) {
            std::string what = "RunOnGui: the task did not finish within " + std::to_string(m_restTimeoutMs) + " ms";
            what += windows ? "; the program is quit" : "; the GUI thread is blocked in it, the program is told to quit";
            Report(what, windows.value_or(kUnavailable));
        }
        loop->Quit(0);
        if (windows && task->WaitFinished(m_restTimeoutMs))
            WaitEnded();
        return false;
    }
    return !waitRest || Settle("RunOnGui");
}

bool CTestDriver::Inject(UINT msg, CPoint screen, const char* step) {
    UiMessageLoop* loop = Loop();
    if (!loop) {
        Fail(std::string(step) + ": the program is not running");
        return false;
    }
    loop->InjectMouse(msg, screen);
    return Settle(std::string(step) + " at (" + std::to_string(screen.x) + ", " + std::to_string(screen.y) + ")");
}

bool CTestDriver::Press(int x, int y) { return Inject(WM_LBUTTONDOWN, {x, y}, "Press"); }
bool CTestDriver::Move(int x, int y) { return Inject(WM_MOUSEMOVE, {x, y}, "Move"); }
bool CTestDriver::Release(int x, int y) { return Inject(WM_LBUTTONUP, {x, y}, "Release"); }

bool CTestDriver::Tap(int x, int y) { return Press(x, y) && Release(x, y); }

bool CTestDriver::TapAll(const std::vector<CPoint>& points) {
    UiMessageLoop* loop = Loop();
    if (!loop) {
        Fail("TapAll: the program is not running");
        return false;
    }
    // Queued by one task on the GUI thread: it handles none of them before
    // the task ends, so every tap is in before the first one acts.
    return RunTask(
        [loop, points] {
            for (const CPoint& p : points) {
                loop->InjectMouse(WM_LBUTTONDOWN, p);
                loop->InjectMouse(WM_LBUTTONUP, p);
            }
        },
        true, true);
}

bool CTestDriver::Drag(CPoint from, CPoint to, int steps) {
    if (!Press(from.x, from.y))
        return false;
    steps = std::max(steps, 1);
    for (int i = 1; i <= steps; ++i) {
        int x = from.x + (to.x - from.x) * i / steps;
        int y = from.y + (to.y - from.y) * i / steps;
        if (!Move(x, y))
            return false;
    }
    return Release(to.x, to.y);
}

bool CTestDriver::TapAndHold(int x, int y, int milliseconds) {
    return Press(x, y) && AdvanceClock(milliseconds) && Release(x, y);
}

bool CTestDriver::Pinch(int gestureCode) {
    HWND target = RunOnGui([] {
        std::vector<HWND> windows = UiGesture::RegisteredWindows();
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            if (UiWin* w = UiWin::FromHandle(*it); w && w->IsShownOnScreen())
                return *it;
        return static_cast<HWND>(nullptr);
    });
    UiMessageLoop* loop = Loop();
    if (!target || !loop) {
        Fail("Pinch: no shown window is registered for gestures");
        return false;
    }
    loop->Post(target, WM_GESTURE_NOTIFY, static_cast<WPARAM>(gestureCode), 0);
    return Settle("Pinch " + std::to_string(gestureCode));
}

bool CTestDriver::TypeText(std::u16string_view text) {
    UiMessageLoop* loop = Loop();
    if (!loop) {
        Fail("TypeText: the program is not running");
        return false;
    }
    for (char16_t ch : text)
        loop->InjectChar(ch);
    return Settle("TypeText");
}

bool CTestDriver::PressKey(int key) {
    UiMessageLoop* loop = Loop();
    if (!loop) {
        Fail("PressKey: the program is not running");
        return false;
    }
    loop->InjectKey(key);
    return Settle("PressKey " + std::to_string(key));
}

bool CTestDriver::AdvanceClock(std::int64_t milliseconds) {
    CClock& clock = CClock::Instance();
    UiMessageLoop* loop = Loop();
    if (!clock.IsManual() || !loop) {
        Fail("AdvanceClock: needs a running program on a manual clock");
        return false;
    }
    if (!Settle("AdvanceClock"))
        return false;
    const std::uint64_t target = clock.TickCount() + static_cast<std::uint64_t>(std::max<std::int64_t>(milliseconds, 0));
    // Bounded: a 1 ms timer over a long advance still ends.
    for (int i = 0; i < 100000; ++i) {
        std::uint64_t now = clock.TickCount();
        std::optional<std::uint64_t> next = loop->NextTimerDue();
        if (!next || *next > target || *next <= now)
            break;
        clock.Advance(static_cast<std::int64_t>(*next - now));
        if (!Settle("AdvanceClock"))
            return false;
        if (!(loop = Loop()))
            return true;
    }
    std::uint64_t now = clock.TickCount();
    if (target > now)
        clock.Advance(static_cast<std::int64_t>(target - now));
    return Settle("AdvanceClock");
}

bool CTestDriver::Screenshot(const std::string& path) {
    bool ok = false;
    RunTask(
        [&] {
            UiMessageLoop* loop = UiMessageLoop::Current();
            loop->PaintNow();
            ok = loop->Screen().SavePng(path);
        },
        true, true);
    return ok;
}

bool CTestDriver::SaveScreen(const std::string& dir, const std::string& name) {
    bool ok = false;
    RunTask([&] { ok = CHeadlessHost::WriteScreen(dir, name); }, true, true);
    return ok;
}

std::vector<CDrawnText> CTestDriver::ScreenTexts() {
    return RunOnGui([] { return UiMessageLoop::Current()->Screen().Texts(); });
}

bool CTestDriver::ScreenShows(std::u16string_view text) {
    for (const CDrawnText& drawn : ScreenTexts())
        if (drawn.text.find(text) != std::u16string::npos)
            return true;
    return false;
}

template <class T>
std::optional<T> CTestDriver::QueryControl(int id, const std::function<T(UiWin&)>& read) {
    std::optional<T> out;
    RunTask(
        [&] {
            std::vector<UiWin*> tops = UiMessageLoop::Current()->TopLevelWindows();
            auto match = [&](UiWin* top) -> UiWin* { return top->GetId() == id ? top : top->FindChild(id); };
            UiWin* found = nullptr;
            for (auto it = tops.rbegin(); it != tops.rend() && !found; ++it)
                if ((*it)->IsVisible())
                    found = match(*it);
            for (auto it = tops.rbegin(); it != tops.rend() && !found; ++it)
                found = match(*it);
            if (found)
                out = read(*found);
        },
        false, true);
    return out;
}

std::optional<std::u16string> CTestDriver::ControlText(int id) {
    return QueryControl<std::u16string>(id, [](UiWin& w) { return w.GetText(); });
}

std::optional<bool> CTestDriver::ControlEnabled(int id) {
    return QueryControl<bool>(id, [](UiWin& w) { return w.IsEnabled(); });
}

std::optional<bool> CTestDriver::ControlVisible(int id) {
    return QueryControl<bool>(id, [](UiWin& w) { return w.IsShownOnScreen(); });
}

std::optional<COLORREF> CTestDriver::ControlColor(int id) {
    return QueryControl<COLORREF>(id, [](UiWin& w) { return w.GetTextColor(); });
}

std::optional<COLORREF> CTestDriver::ControlBkColor(int id) {
    return QueryControl<COLORREF>(id, [](UiWin& w) { return w.GetBkColor(); });
}

void CTestDriver::ListWindows(std::vector<CWindowInfo>& out) {
    std::function<void(UiWin*, int)> walk = [&](UiWin* w, int depth) {
        CWindowInfo info;
        info.handle = w->GetHandle();
        info.className = w->GetClassName();
        info.id = w->GetId();
        info.screenRect = w->GetScreenRect();
        info.visible = w->IsVisible();
        info.enabled = w->IsEnabled();
        info.depth = depth;
        // A password box lists its dots: a failure listing is a log.
        const auto* edit = dynamic_cast<const UiEdit*>(w);
        info.text = edit && edit->IsPassword() ? edit->GetDisplayText() : w->GetText();
        out.push_back(std::move(info));
        for (UiWin* child : w->GetChildren())
            walk(child, depth + 1);
    };
    if (UiMessageLoop* loop = UiMessageLoop::Current())
        for (UiWin* top : loop->TopLevelWindows())
            walk(top, 0);
}

std::vector<CWindowInfo> CTestDriver::OpenWindows() {
    std::vector<CWindowInfo> out;
    RunTask([&] { ListWindows(out); }, false, true);
    return out;
}

std::string CTestDriver::DescribeWindows() { return TryDescribeWindows().value_or(kUnavailable); }

std::optional<std::string> CTestDriver::TryDescribeWindows() {
    auto windows = std::make_shared<std::vector<CWindowInfo>>();
    if (!RunTask([windows] { ListWindows(*windows); }, false, false)) {
        m_sawBlocked = m_sawBlocked || Loop() != nullptr;
        return std::nullopt;
    }
    if (windows->empty())
        return "  (none)\n";
    std::ostringstream text;
    for (const CWindowInfo& w : *windows) {
        text << std::string(2 + 2 * w.depth, ' ') << w.className << " id=" << w.id << " rect=(" << w.screenRect.left
             << "," << w.screenRect.top << "," << w.screenRect.right << "," << w.screenRect.bottom << ")"
             << (w.visible ? " visible" : " hidden") << (w.enabled ? "" : " disabled");
        if (!w.text.empty())
            text << " text=\"" << Narrow(w.text) << "\"";
        text << "\n";
    }
    return text.str();
}

void CTestDriver::AnswerNext(ModalKind kind, int answer) { CModalScript::Instance().Push(kind, answer); }

std::vector<CShownModal> CTestDriver::Shown() const { return CModalScript::Instance().Shown(); }
