// The message loop: one queue of posted messages, cross-thread sends, timers,
// painting, input routing and nested modal loops, on one GUI thread.
//
// Rules, as callers rely on them:
// - PostMessage queues the message and returns at once, from any thread;
//   the message is dispatched later by whichever loop (outer or modal) runs
//   on the GUI thread. A posted message is never handled before PostMessage
//   returns. Messages to one window keep their order.
// - SendMessage on the GUI thread calls the window procedure directly. From
//   another thread it queues the message ahead of posted ones and blocks
//   until the GUI thread has handled it, then returns the result; a send to
//   a gone window, or one still queued when the outer loop returns or the
//   loop is destroyed, returns 0.
// - A message carrying an owned payload (PostOwned) hands the payload to the
//   window; when the window is gone at dispatch (or at shutdown) the loop
//   frees the payload with the given function instead.
// - Timers fire on the program clock (platform/Clock.h). Under a manual
//   clock a timer fires only when the test advances the clock past its due
//   time; a timer that fell behind fires once, then is due an interval later.
// - Painting: Invalidate marks a window's top-level rectangle (InvalidateRect
//   a part of one) dirty; when no message is ready the loop repaints every
//   visible top-level window, bottom to top, into the screen surface, its
//   drawing kept inside the marked rectangles, and hands it to the host.
// - RunModal runs a nested loop until EndModal is called for that level;
//   nested loops dispatch every window's messages, not only the modal one's.
// - Busy work outside the loop (a network request in flight) is announced
//   with BeginExternalWork/EndExternalWork so that "at rest" includes it.
//   A worker posts its result before it calls EndExternalWork.
// - HoldPaint: a window that opens with a request holds painting while
//   external work is in flight, up to the given time (steady clock, also
//   under a manual program clock), and releases it once the reply is in:
//   a quick reply is painted once, with its data, and the opening costs no
//   paint of an empty window. Explicit paints (PaintNow) are never held.
// - Order of service at every loop level: cross-thread sends and GUI tasks
//   first, then posted messages and host input in arrival order, then
//   painting, then one due timer; so a nested modal loop never starves a
//   thread blocked in SendMessage.
// - Mouse input goes to the window holding the capture, else to the
//   deepest visible, enabled window under the point inside the topmost
//   visible top-level window (a disabled top-level window swallows it).
//   Keys and characters go to the focused window, else to the topmost
//   visible top-level window.
// - A press (button down, its moves and its release) queued before a modal
//   level began or ended is dropped: it was aimed at the window in front
//   when it was made, which is no longer the one in front.
#pragma once

#include "platform/Geometry.h"
#include "platform/win/Message.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class UiWin;
class CSurface;
class CGuiTask;
class SendState;

// The finger as the loop last saw it, in screen coordinates.
struct CPressInfo {
    bool down = false;
    bool moved = false;          // left the hold slop since the press
    CPoint start;
    CPoint last;
    std::uint64_t downTick = 0;  // program clock at the press, ms
    std::uint64_t serial = 0;    // counts presses
};

// What a host gives the loop: a place to show the screen and a way to wait
// for input. The headless host shows nothing; the SDL host owns a window.
class IUiHost {
public:
    virtual ~IUiHost() = default;
    // Shows the freshly painted screen.
    virtual void Present(const CSurface& screen) = 0;
    // Waits up to timeoutMs (−1: no limit) for host input and feeds it to
    // the loop (UiMessageLoop::InjectMouse / InjectChar / ...). Returns
    // early when Wake is called from any thread.
    virtual void WaitForEvents(int timeoutMs) = 0;
    virtual void Wake() = 0;
};

// Screen orientation codes used by windows ("screen mode"): 1 and 4 are
// portrait (480 × 720), 0 and 2 landscape (720 × 480).
enum : int { SCREEN_MODE_0 = 0, SCREEN_MODE_1 = 1, SCREEN_MODE_2 = 2, SCREEN_MODE_4 = 4 };
constexpr bool IsPortraitMode(int mode) { return mode == SCREEN_MODE_1 || mode == SCREEN_MODE_4; }

class UiMessageLoop {
public:
    static constexpr int kTaskBarHeight = 36; // pixels at the top of the screen

    // The loop of the current program. Exactly one exists at a time; it is
    // created by a host (or the test driver) on the GUI thread.
    static UiMessageLoop* Current();

    explicit UiMessageLoop(IUiHost* host);
    ~UiMessageLoop(); // destroys no window; frees payloads still queued

    bool IsGuiThread() const { return std::this_thread::get_id() == m_guiThread; }

    // Messages (thread-safe). Post returns false (and queues nothing) for a
    // gone target; a null target takes only WM_QUIT, which quits the loop.
    bool Post(HWND target, UINT msg, WPARAM wParam, LPARAM lParam);
    // Takes ownership of the payload in every case: when the target is gone
    // now, at dispatch or at loop destruction, freePayload(lParam) runs
    // (and false is returned for a target gone now).
    bool PostOwned(HWND target, UINT msg, WPARAM wParam, LPARAM lParam, void (*freePayload)(LPARAM));
    LRESULT Send(HWND target, UINT msg, WPARAM wParam, LPARAM lParam);
    // Queues work for the GUI thread, served like a cross-thread send.
    std::shared_ptr<CGuiTask> PostTask(std::function<void()> fn);
    // Wakes the loop from any thread so it re-checks timers, the clock and rest.
    void Wake();

    // Runs the outer loop until Quit; returns Quit's code.
    int Run();
    void Quit(int code = 0);
    bool IsQuitting() const;
    // Runs a nested loop until EndModal(level) or Quit; returns the code.
    int RunModal();
    void EndModal(int code); // ends the innermost running modal loop
    int ModalDepth() const;
    // Runs a nested loop until done() holds (checked after every dispatch and
    // wake) or Quit; wakes by itself at deadlineTick of the program clock
    // under the system clock. Returns done()'s last value.
    bool RunUntil(const std::function<bool()>& done, std::uint64_t deadlineTick = UINT64_MAX);

    // Dispatches everything that is ready now (messages, due timers, paint)
    // without waiting. Returns true when anything was done.
    bool PumpReady();
    // At rest: no message queued, no timer due, no paint pending and no
    // external work in flight.
    bool IsAtRest() const;
    void BeginExternalWork();
    void EndExternalWork();
    // GUI thread: see HoldPaint above. ReleasePaint ends a hold at once.
    void HoldPaint(int ms);
    void ReleasePaint();
    // For a worker thread that began work on loop: ends it only while loop
    // is still the current loop, holding the loop's life lock, so the loop
    // cannot be destroyed in between. Nothing when loop has gone.
    static void EndExternalWorkOn(UiMessageLoop* loop);
    // For a worker thread: queues fn on the current loop under the loop's
    // life lock; null when there is no loop.
    static std::shared_ptr<CGuiTask> PostTaskToCurrent(std::function<void()> fn);
    // From another thread: waits until the loop has served everything
    // queued before the call and then came to rest. False after timeoutMs.
    bool WaitForRest(int timeoutMs);
    // The earliest due tick of any timer, for a test stepping the clock.
    std::optional<std::uint64_t> NextTimerDue() const;

    // Input from the host, in screen coordinates (thread-safe: queued).
    void InjectMouse(UINT msg, CPoint screen);
    void InjectChar(char16_t ch);
    void InjectKey(int key);
    CPressInfo GetPress() const; // GUI thread

    // Screen.
    CSurface& Screen();
    void SetScreenMode(int mode); // resizes the screen surface and repaints
    int GetScreenMode() const { return m_screenMode; }
    CRect GetScreenRect() const;
    CRect GetWorkRect() const; // the screen below the task bar
    void InvalidateScreen();
    // Repaints what is marked (everything when nothing or all is marked)
    // and presents the screen. Every visible top-level window paints, its
    // drawing kept inside the marked rectangles.
    void PaintNow();
    // True when something is marked for repainting: the loop paints only then.
    bool NeedsPaint() const;
    // Tests: after each partial repaint, paints the whole screen again and
    // aborts, naming the pixel, when the two differ.
    static void SetVerifyPartialPaints(bool on);
    // What the last paint covered: the whole screen, or some rectangles.
    struct CPaintReport {
        bool whole = true;
        std::vector<CRect> rects; // when not whole
        std::chrono::steady_clock::time_point presented; // when it was handed to the host
        long long Pixels(const CRect& screen) const;
    };
    const CPaintReport& LastPaint() const { return m_lastPaint; }

    // Top-level windows in z-order, last on top (shown ones included hidden).
    std::vector<UiWin*> TopLevelWindows() const;

    // Hooks for tests: called on the GUI thread after each dispatched message.
    void SetAfterDispatchHook(std::function<void()> hook) { m_afterDispatch = std::move(hook); }

private:
    // Implementation details are left to the source files: UiMessageLoop.cpp
    // (queues, dispatch, modal levels), UiMessageLoopInput.cpp and
    // UiMessageLoopPaint.cpp, sharing UiMessageLoopImpl.h.
    struct Impl;
    struct Item;
    bool DispatchOne();
    // Milliseconds a due paint still waits (0: paint now).
    int PaintHoldLeftMs() const;
    void DispatchItem(Item& item);
    // Paints every visible top-level window with drawing kept inside area
    // (the whole screen: a full paint); logTexts off keeps the text log.
    void PaintArea(const CRect& area, bool logTexts);
    void VerifyPartialPaint(const std::vector<CRect>& damage);
    static bool s_verifyPartialPaints;
    void RouteMouse(UINT msg, CPoint screen, std::uint64_t seq);
    // Input queued from now on meets the window now in front.
    void MarkFrontChanged();
    void RouteKey(UINT msg, WPARAM wParam);
    void WaitIdle(std::uint64_t deadlineTick);
    bool Enqueue(Item&& item, bool urgent);
    // Queues a cross-thread send; null when the target or the loop is gone.
    std::shared_ptr<SendState> QueueSend(HWND target, UINT msg, WPARAM wParam, LPARAM lParam);
    // Serves nothing more: releases waiting senders and tasks; when
    // destroying, frees the payloads of the posted messages too.
    void Close(bool destroying);
    friend LRESULT SendMessage(HWND, UINT, WPARAM, LPARAM);
    std::unique_ptr<Impl> m_impl;
    IUiHost* m_host;
    std::thread::id m_guiThread;
    int m_screenMode = SCREEN_MODE_1;
    std::function<void()> m_afterDispatch;
    CPaintReport m_lastPaint;
};

// Free-function spellings that application code uses.
bool PostMessage(HWND target, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND target, UINT msg, WPARAM wParam, LPARAM lParam);
