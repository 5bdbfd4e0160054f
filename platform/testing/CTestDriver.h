// Drives the program like a finger, from a test.
//
// The program runs on a GUI thread of its own with the headless host, as it
// runs on the desktop; the test thread injects input and advances the
// manual clock, and every step then waits until the GUI thread is at rest
// (nothing queued, no timer due, no paint pending, no external work) —
// inside a nested modal loop too. Inspections run on the GUI thread.
//
// A step that does not come to rest within the bound (5 s by default)
// fails: the failure handler receives a text naming the step and listing
// the open windows, and the step returns false. The default handler writes
// to stderr; CGTestDriver (header-only) reports through GoogleTest. No
// wait of the driver is unbounded: a GUI thread blocked for good fails the
// step and is left running, and Stop leaves it too (see Stop).
//
// One driver runs at a time (there is one loop and one window table).
#pragma once

#include "platform/Geometry.h"
#include "platform/gdi/CSurface.h"
#include "platform/ui/CModalScript.h"
#include "platform/win/Message.h"
#include "platform/win/UiMessageLoop.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

// One open window as a failure listing and a test see it.
struct CWindowInfo {
    HWND handle = nullptr;
    std::string className;
    int id = 0;
    CRect screenRect;
    bool visible = false;
    bool enabled = true;
    int depth = 0; // 0 for a top-level window
    std::u16string text; // dots for a password box
};

class CTestDriver {
public:
    static constexpr int kDefaultRestTimeoutMs = 5000;

    CTestDriver();
    virtual ~CTestDriver(); // Stop
    CTestDriver(const CTestDriver&) = delete;
    CTestDriver& operator=(const CTestDriver&) = delete;

    void SetRestTimeout(int milliseconds) { m_restTimeoutMs = milliseconds; }
    void SetFailureHandler(std::function<void(const std::string&)> handler) { m_onFailure = std::move(handler); }
    // Every failure reported so far, in order (test thread).
    const std::vector<std::string>& Failures() const { return m_failures; }

    // Starts the GUI thread with a loop in the given screen mode, runs setup
    // there and waits for rest. Without a manual clock it sets one (a
    // Wednesday, 2024-03-13 10:30:00 local, UTC+8), restored by Stop. Clears
    // the modal script. False when already running, when the GUI thread of
    // an earlier driver that Stop left running does not end within the
    // bound, or when setup never rests.
    bool Start(std::function<void()> setup, int screenMode = SCREEN_MODE_1);
    // Quits every loop level, destroys the windows still open (deleting
    // their objects is left to the program) and joins the GUI thread. Once
    // a step found the GUI thread blocked (it took no listing within the
    // bound), a thread that does not end within the bound fails the stop
    // and is left running on state of its own.
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }
    // True once the program quit its own loop.
    bool HasProgramEnded() const;
    UiMessageLoop* Loop() const;

    // Waits for rest; false (and a failure) after the bound.
    bool WaitForRest();

    // Input in screen pixels; each waits for rest.
    bool Tap(int x, int y);
    // Queues a tap (press and release) at each point, all before the GUI
    // thread handles the first, as a quick finger's taps reach a busy
    // loop; then waits for rest.
    bool TapAll(const std::vector<CPoint>& points);
    bool Press(int x, int y);
    bool Move(int x, int y);
    bool Release(int x, int y);
    bool Drag(CPoint from, CPoint to, int steps = 8);
    // Press, hold for ms of the program clock, release.
    bool TapAndHold(int x, int y, int milliseconds = 700);
    // Posts WM_GESTURE_NOTIFY with the code to the newest registered
    // window that is shown; fails when there is none.
    bool Pinch(int gestureCode);
    bool TypeText(std::u16string_view text);
    bool PressKey(int key);
    // Moves the manual clock on, stopping at every timer due on the way so
    // each fires as often as it would in real time, and waits for rest.
    bool AdvanceClock(std::int64_t milliseconds);

    // Runs fn on the GUI thread, waits for rest and returns fn's result
    // (a default value when fn did not return). A fn that does not return
    // within the bound fails the step and quits the program, which ends a
    // modal run nobody answers; a fn blocked otherwise is left running, so
    // the step never hangs. The task keeps its own copy of fn and of the
    // result, so a fn that goes on after the step gave up touches nothing
    // of the step (what fn captures by reference is the caller's affair).
    template <class F>
    auto RunOnGui(F&& fn) -> std::invoke_result_t<F&> {
        using R = std::invoke_result_t<F&>;
        auto work = std::make_shared<std::decay_t<F>>(std::forward<F>(fn));
        if constexpr (std::is_void_v<R>) {
            RunTask([work] { (*work)(); }, true, true);
        } else {
            struct Result {
                std::mutex lock;
                std::optional<R> value;
            };
            auto out = std::make_shared<Result>();
            RunTask(
                [work, out] {
                    R value = (*work)();
                    std::lock_guard<std::mutex> guard(out->lock);
                    out->value.emplace(std::move(value));
                },
                true, true);
            std::lock_guard<std::mutex> guard(out->lock);
            if (out->value)
                return std::move(*out->value);
            return R{};
        }
    }

    // The screen.
    bool Screenshot(const std::string& path);
    // The screenshot tour: writes <dir>/<name>.png.
    bool SaveScreen(const std::string& dir, const std::string& name);
    std::vector<CDrawnText> ScreenTexts();
    // True when some text drawn on the screen contains text.
    bool ScreenShows(std::u16string_view text);

    // Controls by id: searched in the topmost visible top-level window's
    // subtree first, then in every window from the top; empty when none.
    std::optional<std::u16string> ControlText(int id);
    std::optional<bool> ControlEnabled(int id);
    std::optional<bool> ControlVisible(int id); // shown on screen, ancestors included
    std::optional<COLORREF> ControlColor(int id); // the text colour
    std::optional<COLORREF> ControlBkColor(int id);
    // Every open window: top-level windows bottom to top, each followed by
    // its subtree in z-order.
    std::vector<CWindowInfo> OpenWindows();
    std::string DescribeWindows();

    // The modal script.
    void AnswerNext(ModalKind kind, int answer);
    std::vector<CShownModal> Shown() const;

protected:
    // Reports a failure with the window listing appended.
    void Fail(const std::string& what);

private:
    // What the driver and its GUI thread share, held by both, so that a GUI
    // thread left running never touches a driver that is gone.
    struct GuiThread {
        std::mutex lock;                 // guards the fields below
        std::condition_variable changed;
        UiMessageLoop* loop = nullptr;   // lives until the thread leaves
        bool started = false;
        bool ended = false;              // the program's loop returned
        bool stopRequested = false;
        bool finished = false;           // the loop is gone; the thread is leaving
    };

    bool RunTask(std::function<void()> fn, bool waitRest, bool reportFailure);
    bool Inject(UINT msg, CPoint screen, const char* step);
    bool Settle(const std::string& step);
    template <class T>
    std::optional<T> QueryControl(int id, const std::function<T(UiWin&)>& read);
    static void GuiThreadMain(const std::shared_ptr<GuiThread>& gui, std::function<void()> setup, int screenMode);
    static void ListWindows(std::vector<CWindowInfo>& out);
    // The window listing; nullopt when the GUI thread does not take the
    // listing within the bound (it is blocked) or the program is not running.
    std::optional<std::string> TryDescribeWindows();
    void Report(const std::string& what, const std::string& windows);
    // Waits up to the bound for the program to end.
    void WaitEnded();
    // GUI threads that Stop left running: kept until they end, and waited
    // for (up to ms) before a new start, since one loop runs at a time.
    // False when one still runs after ms.
    static void KeepStray(std::shared_ptr<GuiThread> gui);
    static bool WaitForStrays(int ms);
    static std::mutex& StrayLock();
    static std::vector<std::shared_ptr<GuiThread>>& Strays(); // under StrayLock

    int m_restTimeoutMs = kDefaultRestTimeoutMs;
    std::function<void(const std::string&)> m_onFailure;
    std::vector<std::string> m_failures;
    std::thread m_thread;
    bool m_setManualClock = false;
    bool m_sawBlocked = false; // a listing found the GUI thread blocked
    std::shared_ptr<GuiThread> m_gui = std::make_shared<GuiThread>();
};
