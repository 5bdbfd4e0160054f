// The message loop on the test's own thread: order of posted messages
// across nested modal loops, cross-thread sends, owned payloads, timers on
// the manual clock and input routing.
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
#include <future>
#include <thread>

namespace {

constexpr UINT kOpen = 0xFFF28001;
constexpr UINT kClose = 0xFFF28002;
constexpr UINT kNote = 0xFFF28003;
constexpr UINT kDeleteChild = 0xFFF20007;

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

TEST_F(LoopTest, PostedMessagesArriveLaterAndInOrder) {
    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(PostMessage(w.GetHandle(), kNote, i, 0));
    EXPECT_EQ(w.Count(kNote), 0);
    EXPECT_TRUE(loop.PumpReady());
    ASSERT_EQ(w.Count(kNote), 5);
    int expected = 0;
    for (const CReceived& r : w.received) {
        if (r.msg == kNote) {
            EXPECT_EQ(r.wParam, static_cast<WPARAM>(expected++));
        }
    }
}

// A frame opens A modally, A opens B modally; each closing window posts its
// parent (hidden at that time) the delete-child message and ends its loop.
TEST_F(LoopTest, NestedModalLoopsUnwindInTurnAndDeliverMessagesPostedToHiddenParents) {
    std::vector<std::string> log;
    CRecordingWin frame("F", &log);
    auto a = std::make_unique<CRecordingWin>("A", &log);
    auto b = std::make_unique<CRecordingWin>("B", &log);
    ASSERT_TRUE(frame.Create(nullptr, {0, 0, 480, 720}));

    auto opener = [&](CRecordingWin* self, CRecordingWin* child, int depth) {
        return [&, self, child, depth](UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == kOpen) {
                self->Log("open");
                self->ShowWindow(false);
                EXPECT_TRUE(child->Create(nullptr, {0, 0, 480, 720}));
                child->PostMessage(kClose);
                EXPECT_EQ(loop.ModalDepth(), depth);
                int code = loop.RunModal();
                self->Log("returned " + std::to_string(code));
                EXPECT_EQ(loop.ModalDepth(), depth);
                return 0;
            }
            if (msg == kDeleteChild) {
                self->Log("delete child");
                EXPECT_EQ(reinterpret_cast<HWND>(lParam), child->GetHandle());
                self->ShowWindow(true);
                return 0;
            }
            if (msg == kNote) {
                self->Log(self->IsVisible() ? "note while shown" : "note while hidden");
                return 0;
            }
            return std::nullopt;
        };
    };
    frame.onMessage = opener(&frame, a.get(), 0);
    a->onMessage = [&, inner = opener(a.get(), b.get(), 1)](UINT msg, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
        if (msg == kClose) {
            if (a->Count(kDeleteChild) == 0) { // first time: open B instead
                a->PostMessage(kOpen);
                return 0;
            }
            a->Log("close");
            frame.PostMessage(kDeleteChild, 0, reinterpret_cast<LPARAM>(a->GetHandle()));
            loop.EndModal(0);
            return 0;
        }
        if (msg == kDeleteChild) {
            auto r = inner(msg, w, l);
            a->PostMessage(kClose);
            return r;
        }
        return inner(msg, w, l);
    };
    b->onMessage = [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == kClose) {
            b->Log("close");
            a->PostMessage(kDeleteChild, 0, reinterpret_cast<LPARAM>(b->GetHandle()));
            frame.PostMessage(kNote); // the frame is hidden now
            loop.EndModal(1);
            return 0;
        }
        return std::nullopt;
    };

    frame.PostMessage(kOpen);
    loop.PumpReady();
    EXPECT_EQ(log, (std::vector<std::string>{"F:open", "A:open", "B:close", "A:returned 1", "A:delete child",
                                             "F:note while hidden", "A:close", "F:returned 0", "F:delete child"}));
    EXPECT_EQ(loop.ModalDepth(), 0);
}

TEST_F(LoopTest, EndModalEndsOnlyTheInnermostRunningLoop) {
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
            loop.EndModal(static_cast<int>(wParam));
        }
        return std::nullopt;
    };
    w.PostMessage(kOpen, 0);
    loop.PumpReady();
    EXPECT_EQ(codes, (std::vector<int>{7, 8}));
}

TEST_F(LoopTest, QuitEndsEveryModalLevelWithCodeZero) {
    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    std::vector<int> codes;
    w.onMessage = [&](UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == kOpen) {
            if (wParam == 0)
                w.PostMessage(kOpen, 1);
            else
                w.PostMessage(kClose);
            codes.push_back(loop.RunModal());
        } else if (msg == kClose) {
            loop.Quit(3);
        }
        return std::nullopt;
    };
    w.PostMessage(kOpen, 0);
    EXPECT_EQ(loop.Run(), 3);
    EXPECT_EQ(codes, (std::vector<int>{0, 0}));
    EXPECT_EQ(loop.RunModal(), 0); // a quitting loop opens no modal level
}

TEST_F(LoopTest, ACrossThreadSendWaitsForTheGuiThreadAndReturnsItsResult) {
    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    std::thread::id handledOn;
    w.onMessage = [&](UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == kNote) {
            handledOn = std::this_thread::get_id();
            loop.Quit();
            return static_cast<LRESULT>(wParam * 2);
        }
        return std::nullopt;
    };
    HWND handle = w.GetHandle();
    auto result = std::async(std::launch::async, [handle] { return SendMessage(handle, kNote, 21, 0); });
    loop.Run();
    EXPECT_EQ(result.get(), 42);
    EXPECT_EQ(handledOn, std::this_thread::get_id());
}

TEST_F(LoopTest, ACrossThreadSendIsServedWhileTheGuiThreadSitsInAModalLoop) {
    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    w.onMessage = [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == kNote) {
            loop.EndModal(5);
            return 99;
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
    std::thread sender([&] { sent = SendMessage(handle, kNote, 0, 0); });
    EXPECT_EQ(loop.RunModal(), 5);
    sender.join();
    EXPECT_EQ(sent.load(), 99);
    busy.Destroy();
}

TEST_F(LoopTest, ACrossThreadSendToAGoneWindowReturnsZeroAtOnce) {
    auto w = std::make_unique<CRecordingWin>();
    ASSERT_TRUE(w->Create(nullptr, {0, 0, 10, 10}));
    HWND handle = w->GetHandle();
    w.reset();
    // Nothing pumps the loop: a queued send would never return.
    EXPECT_EQ(WithinSeconds(5, [handle] { return SendMessage(handle, kNote, 1, 1); }), std::optional<LRESULT>(0));
}

TEST_F(LoopTest, ASendWhoseTargetIsDestroyedBeforeDispatchReturnsZero) {
    auto w = std::make_unique<CRecordingWin>();
    ASSERT_TRUE(w->Create(nullptr, {0, 0, 10, 10}));
    HWND handle = w->GetHandle();
    loop.PumpReady();
    ASSERT_TRUE(loop.IsAtRest());
    std::atomic<LRESULT> sent{-1};
    std::thread sender([&] { sent = SendMessage(handle, kNote, 0, 0); });
    auto start = std::chrono::steady_clock::now();
    while (loop.IsAtRest() && std::chrono::steady_clock::now() - start < std::chrono::seconds(5))
        std::this_thread::yield();
    w.reset();
    loop.PumpReady();
    sender.join();
    EXPECT_EQ(sent.load(), 0);
}

TEST_F(LoopTest, APostToADestroyedWindowIsDroppedAndNeverReachesANewWindow) {
    auto gone = std::make_unique<CRecordingWin>();
    ASSERT_TRUE(gone->Create(nullptr, {0, 0, 10, 10}));
    HWND handle = gone->GetHandle();
    ASSERT_TRUE(PostMessage(handle, kNote, 1, 0));
    gone.reset();
    CRecordingWin fresh;
    ASSERT_TRUE(fresh.Create(nullptr, {0, 0, 10, 10}));
    EXPECT_FALSE(PostMessage(handle, kNote, 2, 0));
    loop.PumpReady();
    EXPECT_EQ(fresh.Count(kNote), 0);
}

TEST_F(LoopTest, AnOwnedPayloadIsFreedWhenItsTargetIsGoneAtDispatch) {
    g_freed = 0;
    auto w = std::make_unique<CRecordingWin>();
    ASSERT_TRUE(w->Create(nullptr, {0, 0, 10, 10}));
    ASSERT_TRUE(loop.PostOwned(w->GetHandle(), kNote, 0, NewBuffer(), FreeBuffer));
    w.reset();
    loop.PumpReady();
    EXPECT_EQ(g_freed, 1);
}

TEST_F(LoopTest, AnOwnedPayloadIsFreedWhenTheTargetIsGoneAtPostOrTheLoopEnds) {
    g_freed = 0;
    HWND gone;
    {
        CRecordingWin w;
        ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
        gone = w.GetHandle();
    }
    EXPECT_FALSE(loop.PostOwned(gone, kNote, 0, NewBuffer(), FreeBuffer));
    EXPECT_EQ(g_freed, 1);

    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    {
        CHeadlessHost host2;
        UiMessageLoop loop2(&host2);
        ASSERT_TRUE(loop2.PostOwned(w.GetHandle(), kNote, 0, NewBuffer(), FreeBuffer));
    }
    EXPECT_EQ(g_freed, 2);
    EXPECT_EQ(w.Count(kNote), 0);
}

TEST_F(LoopTest, ADeliveredOwnedPayloadBelongsToTheWindow) {
    g_freed = 0;
    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    w.onMessage = [](UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == kNote)
            std::free(reinterpret_cast<void*>(lParam));
        return std::nullopt;
    };
    ASSERT_TRUE(loop.PostOwned(w.GetHandle(), kNote, 0, NewBuffer(), FreeBuffer));
    loop.PumpReady();
    EXPECT_EQ(w.Count(kNote), 1);
    EXPECT_EQ(g_freed, 0);
}

TEST_F(LoopTest, TimersFireOnlyWhenTheManualClockPassesTheirDueTime) {
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

    w.KillTimer(500);
    CClock::Instance().Advance(1000);
    loop.PumpReady();
    EXPECT_EQ(w.Count(WM_TIMER), 3);
}

TEST_F(LoopTest, SettingATimerAgainRestartsItsInterval) {
    CRecordingWin w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
    w.SetTimer(1, 100);
    CClock::Instance().Advance(80);
    w.SetTimer(1, 100);
    CClock::Instance().Advance(80);
    loop.PumpReady();
    EXPECT_EQ(w.Count(WM_TIMER), 0);
    CClock::Instance().Advance(20);
    loop.PumpReady();
    EXPECT_EQ(w.Count(WM_TIMER), 1);
}

TEST_F(LoopTest, TimersOfADestroyedWindowNeverFire) {
    int fired = 0;
    {
        CRecordingWin w;
        ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}));
        w.onMessage = [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
            fired += msg == WM_TIMER;
            return std::nullopt;
        };
        w.SetTimer(1, 10);
    }
    CClock::Instance().Advance(1000);
    loop.PumpReady();
    EXPECT_EQ(fired, 0);
    EXPECT_FALSE(loop.NextTimerDue().has_value());
}

TEST_F(LoopTest, MouseInputGoesToTheDeepestChildInItsClientCoordinates) {
    CRecordingWin back, top, panel, button;
    ASSERT_TRUE(back.Create(nullptr, {0, 0, 480, 720}));
    ASSERT_TRUE(top.Create(nullptr, {0, 36, 480, 720}));
    ASSERT_TRUE(panel.Create(&top, {0, 100, 480, 300}));
    ASSERT_TRUE(button.Create(&panel, {20, 10, 120, 60}, 5));
    loop.InjectMouse(WM_LBUTTONDOWN, {30, 150}); // panel (30, 14) -> button (10, 4)
    loop.InjectMouse(WM_LBUTTONUP, {30, 150});
    loop.PumpReady();
    ASSERT_EQ(button.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(button.Last(WM_LBUTTONDOWN)->lParam, MakeLParam(10, 4));
    EXPECT_EQ(button.Last(WM_LBUTTONDOWN)->wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(button.Count(WM_LBUTTONUP), 1);
    EXPECT_EQ(panel.Count(WM_LBUTTONDOWN) + top.Count(WM_LBUTTONDOWN) + back.Count(WM_LBUTTONDOWN), 0);

    // Above the top window only the window below is there.
    loop.InjectMouse(WM_LBUTTONDOWN, {5, 5});
    loop.PumpReady();
    EXPECT_EQ(back.Count(WM_LBUTTONDOWN), 1);

    // A hidden window takes no input; a disabled child leaves it to its parent.
    top.ShowWindow(false);
    loop.InjectMouse(WM_LBUTTONDOWN, {30, 150});
    loop.PumpReady();
    EXPECT_EQ(back.Count(WM_LBUTTONDOWN), 2);
    top.ShowWindow(true);
    button.EnableWindow(false);
    loop.InjectMouse(WM_LBUTTONDOWN, {30, 150});
    loop.PumpReady();
    EXPECT_EQ(panel.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(panel.Last(WM_LBUTTONDOWN)->lParam, MakeLParam(30, 14));
}

TEST_F(LoopTest, TheCaptureTakesMouseInputAnywhereWithItsOwnCoordinates) {
    CRecordingWin top, slider, other;
    ASSERT_TRUE(top.Create(nullptr, {0, 0, 480, 720}));
    ASSERT_TRUE(slider.Create(&top, {100, 100, 200, 150}));
    ASSERT_TRUE(other.Create(&top, {0, 400, 480, 500}));
    slider.SetCapture();
    loop.InjectMouse(WM_MOUSEMOVE, {50, 450});
    loop.InjectMouse(WM_LBUTTONUP, {50, 450});
    loop.PumpReady();
    EXPECT_EQ(other.received.size(), 1u); // only its WM_CREATE
    ASSERT_EQ(slider.Count(WM_MOUSEMOVE), 1);
    EXPECT_EQ(SignedLow(slider.Last(WM_MOUSEMOVE)->lParam), -50);
    EXPECT_EQ(SignedHigh(slider.Last(WM_MOUSEMOVE)->lParam), 350);
    UiWin::ReleaseCapture();
    loop.InjectMouse(WM_LBUTTONDOWN, {50, 450});
    loop.PumpReady();
    EXPECT_EQ(other.Count(WM_LBUTTONDOWN), 1);
}

TEST_F(LoopTest, KeysAndCharactersGoToTheFocusedWindow) {
    CRecordingWin top, edit;
    ASSERT_TRUE(top.Create(nullptr, {0, 0, 480, 720}));
    ASSERT_TRUE(edit.Create(&top, {0, 0, 100, 30}));
    loop.InjectChar(u'a');
    loop.PumpReady();
    EXPECT_EQ(top.Count(WM_CHAR), 1); // no focus: the top window
    edit.SetFocus();
    loop.InjectChar(u'中');
    loop.InjectKey(VK_BACK);
    loop.PumpReady();
    ASSERT_EQ(edit.Count(WM_CHAR), 1);
    EXPECT_EQ(edit.Last(WM_CHAR)->wParam, static_cast<WPARAM>(u'中'));
    EXPECT_EQ(edit.Last(WM_KEYDOWN)->wParam, static_cast<WPARAM>(VK_BACK));
}

TEST_F(LoopTest, ScreenModesGiveThePortraitAndLandscapeScreensAndTheWorkArea) {
    EXPECT_EQ(loop.GetScreenRect(), (CRect{0, 0, 480, 720}));
    EXPECT_EQ(loop.GetWorkRect(), (CRect{0, 36, 480, 720}));
    loop.SetScreenMode(SCREEN_MODE_2);
    EXPECT_EQ(loop.GetScreenRect(), (CRect{0, 0, 720, 480}));
    EXPECT_EQ(loop.Screen().Width(), 720);
    EXPECT_EQ(loop.GetWorkRect(), (CRect{0, 36, 720, 480}));
    loop.SetScreenMode(SCREEN_MODE_4);
    EXPECT_EQ(loop.Screen().Height(), 720);
}

TEST_F(LoopTest, PaintingWaitsUntilNoMessageIsReadyAndClearsTheTextLog) {
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
        w.PostMessage(kNote);
    loop.PumpReady();
    EXPECT_EQ(paintsSeen, frames);
    EXPECT_EQ(host.PresentCount(), frames + 1);
    EXPECT_TRUE(loop.Screen().Texts().empty());
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
