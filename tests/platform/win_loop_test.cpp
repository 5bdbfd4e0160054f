// The message loop on the test's own thread: posted messages and modal
// levels, cross-thread sends, owned payloads, timers on the manual clock
// and input routing.
#include "platform/Clock.h"
#include "platform/gdi/CSurface.h"
#include "platform/testing/CHeadlessHost.h"
#include "platform/win/UiMessageLoop.h"
#include "platform/win/UiWin.h"
#include "win_RecordingWin.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>
#include <thread>

namespace {

constexpr UINT kOpen = 0xFFF28001;
constexpr UINT kClose = 0xFFF28002;
constexpr UINT kNote = 0xFFF28003;

class LoopTest : public ::testing::Test {
protected:
    void SetUp() override { CClock::Instance().UseManual({2024, 3, 13, 3, 10, 30, 0, 0}); }
    void TearDown() override { CClock::Instance().UseSystem(); }
    CHeadlessHost host;
    UiMessageLoop loop{&host};
};

std::atomic<int> g_freed{0};
void FreeBuffer(LPARAM p) {
    std::free(reinterpret_cast<void*>(p));
    ++g_freed;
}
LPARAM NewBuffer() {
    void* p = std::malloc(64);
    std::memset(p, 0, 64);
    return reinterpret_cast<LPARAM>(p);
}

// Runs fn on a thread; the result, or nothing when it has not returned
// within the time (the thread is then left to finish on its own).
template <class F>
std::optional<LRESULT> WithinSeconds(int seconds, F fn) {
    auto done = std::make_shared<std::promise<LRESULT>>();
    std::future<LRESULT> result = done->get_future();
    std::thread([done, fn] { done->set_value(fn()); }).detach();
    if (result.wait_for(std::chrono::seconds(seconds)) != std::future_status::ready)
        return std::nullopt;
    return result.get();
}

} // namespace

// Close chains of windows across nested levels, the delete-child notice to a
// hidden parent included: the window-life tests of the framework.
TEST_F(LoopTest, EndModalEndsOnlyTheInnermostRunningLoopAndQuitEndsEveryLevelWithCodeZero) {
    for (bool quit : {false, true}) {
        SCOPED_TRACE(quit ? "Quit" : "EndModal");
        CRecordingWin w;
        ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
        std::vector<int> codes;
        w.onMessage = [&](UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (msg == kOpen) {
                if (wParam == 0) {
                    w.PostMessage(kOpen, 1);
                } else {
                    w.PostMessage(kClose, 7); // ends the inner level
                    w.PostMessage(kClose, 8); // then the outer one
                }
                codes.push_back(loop.RunModal());
            } else if (msg == kClose) {
                quit ? loop.Quit(3) : loop.EndModal(static_cast<int>(wParam));
            }
            return std::nullopt;
        };
        w.PostMessage(kOpen, 0);
        if (quit) {
            EXPECT_EQ(loop.Run(), 3);
            EXPECT_EQ(loop.RunModal(), 0) << "a quitting loop opens no modal level";
        } else {
            loop.PumpReady();
        }
        EXPECT_EQ(codes, (quit ? std::vector<int>{0, 0} : std::vector<int>{7, 8}));
    }
}

TEST_F(LoopTest, ACrossThreadSendIsServedOnTheGuiThreadEvenInAModalLoopAndGetsItsResult) {
    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    std::thread::id handledOn;
    w.onMessage = [&](UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == kNote) {
            handledOn = std::this_thread::get_id();
            loop.EndModal(5);
            return static_cast<LRESULT>(wParam * 2);
        }
        return std::nullopt;
    };
    HWND handle = w.GetHandle();
    // A flood of posted messages must not starve the send either.
    CRecordingWin busy;
    ASSERT_TRUE(busy.Create(nullptr, {0, 0, 10, 10}));
    busy.onMessage = [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == kOpen)
            busy.PostMessage(kOpen);
        return std::nullopt;
    };
    busy.PostMessage(kOpen);
    std::atomic<LRESULT> sent{-1};
    std::thread sender([&] { sent = SendMessage(handle, kNote, 21, 0); });
    EXPECT_EQ(loop.RunModal(), 5);
    sender.join();
    EXPECT_EQ(sent.load(), 42);
    EXPECT_EQ(handledOn, std::this_thread::get_id());
    busy.Destroy();
}

TEST_F(LoopTest, AMessageToAWindowGoneBeforeItsDispatchOrItsSendIsDroppedAndASendReturnsZero) {
    auto w = std::make_unique<CRecordingWin>();
    ASSERT_TRUE(w->Create(nullptr, {0, 0, 10, 10}));
    HWND handle = w->GetHandle();
    loop.PumpReady();
    ASSERT_TRUE(loop.IsAtRest());
    std::atomic<LRESULT> sent{-1};
    std::thread sender([&] { sent = SendMessage(handle, kNote, 0, 0); });
    const auto start = std::chrono::steady_clock::now();
    while (loop.IsAtRest() && std::chrono::steady_clock::now() - start < std::chrono::seconds(5))
        std::this_thread::yield(); // until the send is queued
    ASSERT_TRUE(PostMessage(handle, kNote, 1, 0));
    w.reset();
    CRecordingWin fresh;
    ASSERT_TRUE(fresh.Create(nullptr, {0, 0, 10, 10}));
    EXPECT_FALSE(PostMessage(handle, kNote, 2, 0));
    loop.PumpReady();
    sender.join();
    EXPECT_EQ(sent.load(), 0);
    EXPECT_EQ(fresh.Count(kNote), 0) << "no message reaches a window the handle never named";
    // Nothing pumps the loop now: a queued send would never return.
    EXPECT_EQ(WithinSeconds(5, [handle] { return SendMessage(handle, kNote, 1, 1); }), std::optional<LRESULT>(0));
}

TEST_F(LoopTest, AnOwnedPayloadIsFreedOnceWhenItsTargetIsGoneAtPostOrDispatchOrTheLoopEndsFirst) {
    g_freed = 0;
    HWND gone;
    {
        CRecordingWin w;
        ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
        gone = w.GetHandle();
        ASSERT_TRUE(loop.PostOwned(gone, kNote, 0, NewBuffer(), FreeBuffer));
    }
    EXPECT_EQ(g_freed, 0);
    loop.PumpReady();
    EXPECT_EQ(g_freed, 1) << "gone at dispatch";
    EXPECT_FALSE(loop.PostOwned(gone, kNote, 0, NewBuffer(), FreeBuffer));
    EXPECT_EQ(g_freed, 2) << "gone at the post";

    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    {
        CHeadlessHost host2;
        UiMessageLoop loop2(&host2);
        ASSERT_TRUE(loop2.PostOwned(w.GetHandle(), kNote, 0, NewBuffer(), FreeBuffer));
    }
    EXPECT_EQ(g_freed, 3) << "the loop ended first";
    EXPECT_EQ(w.Count(kNote), 0);
    // A delivered payload is the window's: the owned-post tests of the screens.
}

TEST_F(LoopTest, TimersFireOnlyWhenTheManualClockPassesTheirDueTimeOnceWhenBehindAndAfreshWhenSetAgain) {
    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    w.SetTimer(500, 100);
    loop.PumpReady();
    EXPECT_EQ(w.Count(WM_TIMER), 0);
    CClock::Instance().Advance(99);
    loop.PumpReady();
    EXPECT_EQ(w.Count(WM_TIMER), 0);
    EXPECT_TRUE(loop.IsAtRest());
    CClock::Instance().Advance(1);
    EXPECT_FALSE(loop.IsAtRest()); // a timer is due
    loop.PumpReady();
    ASSERT_EQ(w.Count(WM_TIMER), 1);
    EXPECT_EQ(w.Last(WM_TIMER)->wParam, 500u);

    // Fallen behind: fires once, then is due an interval later.
    CClock::Instance().Advance(350);
    loop.PumpReady();
    EXPECT_EQ(w.Count(WM_TIMER), 2);
    CClock::Instance().Advance(99);
    loop.PumpReady();
    EXPECT_EQ(w.Count(WM_TIMER), 2);
    CClock::Instance().Advance(1);
    loop.PumpReady();
    EXPECT_EQ(w.Count(WM_TIMER), 3);

    // Set again, it starts its interval afresh; killed, it is gone.
    CClock::Instance().Advance(80);
    w.SetTimer(500, 100);
    CClock::Instance().Advance(80);
    loop.PumpReady();
    EXPECT_EQ(w.Count(WM_TIMER), 3);
    CClock::Instance().Advance(20);
    loop.PumpReady();
    EXPECT_EQ(w.Count(WM_TIMER), 4);
    w.KillTimer(500);
    CClock::Instance().Advance(1000);
    loop.PumpReady();
    EXPECT_EQ(w.Count(WM_TIMER), 4);
    EXPECT_FALSE(loop.NextTimerDue().has_value());
}

TEST_F(LoopTest, InputGoesToTheCaptureOrTheDeepestShownEnabledWindowUnderTheFingerAndKeysToTheFocus) {
    CRecordingWin back, top, panel, button, other, edit;
    ASSERT_TRUE(back.Create(nullptr, {0, 0, 480, 720}));
    ASSERT_TRUE(top.Create(nullptr, {0, 36, 480, 720}));
    ASSERT_TRUE(panel.Create(&top, {0, 100, 480, 300}));
    ASSERT_TRUE(button.Create(&panel, {20, 10, 120, 60}, 5));
    ASSERT_TRUE(other.Create(&top, {0, 400, 480, 500}));
    ASSERT_TRUE(edit.Create(&top, {0, 0, 100, 30}));
    struct Case {
        const char* what;
        std::function<void()> before;
        UINT msg;
        int x, y; // the screen point, or the character or key in x
        CRecordingWin* to;
        LPARAM lParam;
    };
    const Case cases[] = {
        {"the deepest child", nullptr, WM_LBUTTONDOWN, 30, 150, &button, MakeLParam(10, 4)},
        {"the release too", nullptr, WM_LBUTTONUP, 30, 150, &button, MakeLParam(10, 4)},
        {"above the top window", nullptr, WM_LBUTTONDOWN, 5, 5, &back, MakeLParam(5, 5)},
        {"a hidden window takes none", [&] { top.ShowWindow(false); }, WM_LBUTTONDOWN, 30, 150, &back,
         MakeLParam(30, 150)},
        {"a disabled child leaves it to its parent", [&] { top.ShowWindow(true); button.EnableWindow(false); },
         WM_LBUTTONDOWN, 30, 150, &panel, MakeLParam(30, 14)},
        {"the capture, anywhere", [&] { panel.SetCapture(); }, WM_MOUSEMOVE, 10, 100, &panel, MakeLParam(10, -36)},
        {"no capture", [] { UiWin::ReleaseCapture(); }, WM_LBUTTONDOWN, 50, 450, &other, MakeLParam(50, 14)},
        {"no focus: the top window", nullptr, WM_CHAR, u'a', 0, &top, 0},
        {"the focus", [&] { edit.SetFocus(); }, WM_CHAR, u'中', 0, &edit, 0},
        {"a key to the focus", nullptr, WM_KEYDOWN, VK_BACK, 0, &edit, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.before)
            c.before();
        for (CRecordingWin* w : {&back, &top, &panel, &button, &other, &edit})
            w->received.clear();
        if (c.msg == WM_CHAR)
            loop.InjectChar(static_cast<char16_t>(c.x));
        else if (c.msg == WM_KEYDOWN)
            loop.InjectKey(c.x);
        else
            loop.InjectMouse(c.msg, {c.x, c.y});
        loop.PumpReady();
        int heard = 0;
        for (CRecordingWin* w : {&back, &top, &panel, &button, &other, &edit})
            heard += w->Count(c.msg);
        EXPECT_EQ(heard, 1);
        ASSERT_EQ(c.to->Count(c.msg), 1);
        if (c.msg == WM_CHAR || c.msg == WM_KEYDOWN)
            EXPECT_EQ(c.to->Last(c.msg)->wParam, static_cast<WPARAM>(c.x));
        else
            EXPECT_EQ(c.to->Last(c.msg)->lParam, c.lParam);
        if (c.msg == WM_LBUTTONDOWN) {
            EXPECT_EQ(c.to->Last(c.msg)->wParam, static_cast<WPARAM>(MK_LBUTTON));
        }
    }
}

TEST_F(LoopTest, ALandscapeModeTurnsTheScreenAndItsWorkAreaAndAPortraitModeTurnsThemBack) {
    loop.SetScreenMode(SCREEN_MODE_2);
    EXPECT_EQ(loop.Screen().Width(), 720);
    EXPECT_EQ(loop.GetWorkRect(), (CRect{0, 36, 720, 480}));
    loop.SetScreenMode(SCREEN_MODE_4);
    EXPECT_EQ(loop.Screen().Height(), 720);
    EXPECT_EQ(loop.GetWorkRect(), (CRect{0, 36, 480, 720}));
}

TEST_F(LoopTest, PostedMessagesArriveLaterInOrderAndPaintingWaitsUntilNoneIsReadyAndClearsTheTextLog) {
    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    loop.PumpReady();
    int frames = host.PresentCount();
    loop.Screen().AddText({u"stale", {0, 0, 5, 5}, 0});
    int paintsSeen = -1;
    w.onMessage = [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == kNote) {
            w.Invalidate();
            if (paintsSeen < 0)
                paintsSeen = host.PresentCount();
        }
        return std::nullopt;
    };
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(PostMessage(w.GetHandle(), kNote, i, 0));
    EXPECT_EQ(w.Count(kNote), 0) << "posted, not sent";
    loop.PumpReady();
    EXPECT_EQ(paintsSeen, frames);
    EXPECT_EQ(host.PresentCount(), frames + 1);
    EXPECT_TRUE(loop.Screen().Texts().empty());
    std::vector<WPARAM> order;
    for (const CReceived& r : w.received)
        if (r.msg == kNote)
            order.push_back(r.wParam);
    EXPECT_EQ(order, (std::vector<WPARAM>{0, 1, 2}));
}

TEST_F(LoopTest, ASendQueuedWhenTheLoopQuitsIsReleasedWithZeroBeforeTheLoopIsDestroyed) {
    // A program joins its workers after Run returns and before the loop
    // goes; a worker still blocked in a send would hold that join forever.
    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    HWND handle = w.GetHandle();
    auto promise = std::make_shared<std::promise<LRESULT>>();
    std::future<LRESULT> sent = promise->get_future();
    w.onMessage = [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == kOpen) {
            // Detached: should it hang, the loop's destruction frees it.
            std::thread([promise, handle] { promise->set_value(SendMessage(handle, kNote, 0, 0)); }).detach();
            while (loop.IsAtRest()) // until the send is queued
                std::this_thread::yield();
            loop.Quit();
        }
        return std::nullopt;
    };
    loop.PumpReady();
    ASSERT_TRUE(loop.IsAtRest());
    ASSERT_TRUE(w.PostMessage(kOpen));
    loop.Run();
    ASSERT_EQ(sent.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(sent.get(), 0);
    EXPECT_EQ(w.Count(kNote), 0);
    // And a send after the end returns at once.
    EXPECT_EQ(WithinSeconds(5, [handle] { return SendMessage(handle, kNote, 0, 0); }), std::optional<LRESULT>(0));
}

TEST_F(LoopTest, AnUnmatchedEndOfExternalWorkDoesNotKeepTheLoopBusyForever) {
    // A worker that ends work begun on an earlier loop must not leave this
    // one counting below zero, never at rest again.
    loop.EndExternalWork();
    loop.PumpReady();
    EXPECT_TRUE(loop.IsAtRest());
    loop.BeginExternalWork();
    EXPECT_FALSE(loop.IsAtRest());
    loop.EndExternalWork();
    EXPECT_TRUE(loop.IsAtRest());
}

TEST_F(LoopTest, AHeldPaintWaitsOnlyForWorkInFlightAndOnlyUntilReleasedOrDue) {
    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    loop.PumpReady();
    // Runs the loop until it paints or ms of real time passed (the program
    // clock is manual: only real time makes a held paint due).
    auto paintedWithin = [&](int before, int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        loop.RunUntil([&] { return host.PresentCount() > before || std::chrono::steady_clock::now() > end; });
        return host.PresentCount() > before;
    };
    const struct {
        const char* name;
        bool work;    // external work in flight
        int holdMs;
        bool release; // released before the loop runs on
        bool endWork; // the work ends before the loop runs on
        bool paintedAtOnce;
        bool paintedAfter;
    } cases[] = {
        {"held while work is in flight", true, 60000, false, false, false, false},
        {"released", true, 60000, true, false, false, true},
        {"the work ended", true, 60000, false, true, false, true},
        {"nothing in flight", false, 60000, false, false, true, true},
        {"the wait ran out, work still in flight", true, 30, false, false, false, true},
    };
    for (const auto& c : cases) {
        if (c.work)
            loop.BeginExternalWork();
        loop.HoldPaint(c.holdMs);
        w.Invalidate();
        const int before = host.PresentCount();
        loop.PumpReady();
        EXPECT_EQ(host.PresentCount() > before, c.paintedAtOnce) << c.name;
        if (c.release)
            loop.ReleasePaint();
        if (c.endWork)
            loop.EndExternalWork();
        EXPECT_EQ(paintedWithin(before, c.paintedAfter ? 5000 : 150), c.paintedAfter) << c.name;
        if (c.work && !c.endWork)
            loop.EndExternalWork();
        loop.ReleasePaint();
        loop.PumpReady();
        EXPECT_TRUE(loop.IsAtRest()) << c.name;
    }
}

TEST(LoopLifetime, PostsAndSendsFromAWorkerWhileLoopsComeAndGoNeverTouchAGoneLoop) {
    // The window outlives every loop, so the worker's messages always have
    // a live target while the loop under them is being destroyed.
    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    const HWND handle = w.GetHandle();
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        while (!stop) {
            PostMessage(handle, kNote, 0, 0);
            SendMessage(handle, kNote, 0, 0);
        }
    });
    for (int round = 0; round < 300; ++round) {
        CHeadlessHost host;
        auto loop = std::make_unique<UiMessageLoop>(&host);
        loop->PumpReady();
        loop.reset();
    }
    stop = true;
    worker.join();
    EXPECT_GT(w.Count(kNote), 0);
}
