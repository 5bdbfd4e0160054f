// The window object: handles, tree, state changes and their messages,
// focus, capture, hit testing and painting of a window tree.
#include "platform/gdi/CDC.h"
#include "platform/testing/CHeadlessHost.h"
#include "platform/win/UiMessageLoop.h"
#include "platform/win/UiWin.h"
#include "win_RecordingWin.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class WindowTest : public ::testing::Test {
protected:
    CHeadlessHost host;
    UiMessageLoop loop{&host};
};

// Draws one pixel at its client origin, to check the DC's origin.
class CDotWin : public UiWin {
public:
    ~CDotWin() override { Destroy(); }
    COLORREF dot = MakeRgb(0, 255, 0);
    void OnPaint(CDC& dc) override { dc.SetPixel(0, 0, dot); }
};

// Deletes itself on one message, as a window closing itself might.
class CSelfDeletingWin : public UiWin {
public:
    explicit CSelfDeletingWin(UINT fatal) : m_fatal(fatal) {}
    ~CSelfDeletingWin() override { Destroy(); }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == m_fatal) {
            delete this;
            return 0;
        }
        return UiWin::WndProc(msg, wParam, lParam);
    }

private:
    UINT m_fatal;
};

} // namespace

TEST_F(WindowTest, AHandleOfADestroyedWindowResolvesToNothingAndIsNeverGivenAgain) {
    auto first = std::make_unique<CRecordingWin>();
    ASSERT_TRUE(first->Create(nullptr, {0, 0, 10, 10}));
    HWND old = first->GetHandle();
    EXPECT_EQ(UiWin::FromHandle(old), first.get());
    first->Destroy();
    EXPECT_EQ(UiWin::FromHandle(old), nullptr);
    EXPECT_FALSE(UiWin::IsWindow(old));
    EXPECT_FALSE(first->IsCreated());

    for (int i = 0; i < 50; ++i) {
        CRecordingWin again;
        ASSERT_TRUE(again.Create(nullptr, {0, 0, 10, 10}));
        EXPECT_NE(again.GetHandle(), old);
    }
    first->Destroy(); // twice is harmless
}

TEST_F(WindowTest, CreationRefusedByTheWindowLeavesNoWindowBehind) {
    CRecordingWin parent;
    ASSERT_TRUE(parent.Create(nullptr, {0, 0, 100, 100}));
    CRecordingWin child;
    child.onMessage = [](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_CREATE)
            return -1;
        return std::nullopt;
    };
    EXPECT_FALSE(child.Create(&parent, {0, 0, 10, 10}));
    EXPECT_FALSE(child.IsCreated());
    EXPECT_TRUE(parent.GetChildren().empty());
    EXPECT_FALSE(parent.Create(nullptr, {0, 0, 1, 1})); // exists already
}

TEST_F(WindowTest, DestroyTakesChildrenFirstAndReleasesFocusCaptureAndTimers) {
    std::vector<std::string> log;
    auto top = std::make_unique<CRecordingWin>("top", &log);
    auto child = std::make_unique<CRecordingWin>("child", &log);
    auto grandchild = std::make_unique<CRecordingWin>("grandchild", &log);
    for (CRecordingWin* w : {top.get(), child.get(), grandchild.get()})
        w->onMessage = [w](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (msg == WM_DESTROY)
                w->Log(UiWin::IsWindow(w->GetHandle()) ? "destroy(alive)" : "destroy(gone)");
            return std::nullopt;
        };
    ASSERT_TRUE(top->Create(nullptr, {0, 0, 100, 100}));
    ASSERT_TRUE(child->Create(top.get(), {0, 0, 50, 50}, 7));
    ASSERT_TRUE(grandchild->Create(child.get(), {0, 0, 20, 20}, 8));
    grandchild->SetFocus();
    child->SetCapture();
    grandchild->SetTimer(1, 100);
    ASSERT_TRUE(loop.NextTimerDue().has_value());

    top->Destroy();
    EXPECT_EQ(log, (std::vector<std::string>{"grandchild:destroy(alive)", "child:destroy(alive)", "top:destroy(alive)"}));
    EXPECT_EQ(UiWin::GetFocus(), nullptr);
    EXPECT_EQ(UiWin::GetCapture(), nullptr);
    EXPECT_FALSE(loop.NextTimerDue().has_value());
    EXPECT_TRUE(loop.TopLevelWindows().empty());
    EXPECT_EQ(child->GetParent(), nullptr);

    // A child object deleted while its parent lives leaves no pointer to it.
    ASSERT_TRUE(top->Create(nullptr, {0, 0, 100, 100}));
    ASSERT_TRUE(child->Create(top.get(), {0, 0, 50, 50}, 7));
    child.reset();
    EXPECT_TRUE(top->GetChildren().empty());
    EXPECT_EQ(top->FindChild(7), nullptr);
}

TEST_F(WindowTest, ShowingAndSizingSendOnlyOnAChangeAndShowingRaisesATopLevelWindowOnScreen) {
    CRecordingWin w, other, child;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 10, 10}, 0, false));
    ASSERT_TRUE(other.Create(nullptr, {0, 0, 10, 10}));
    ASSERT_TRUE(child.Create(&w, {0, 0, 5, 5}));
    EXPECT_TRUE(child.IsVisible());
    EXPECT_FALSE(child.IsShownOnScreen()) << "its parent is hidden";
    w.ShowWindow(true, ANIM_PAGE_IN);
    w.ShowWindow(true, ANIM_NONE);
    EXPECT_EQ(w.Count(WM_SHOWWINDOW), 1);
    EXPECT_EQ(w.Last(WM_SHOWWINDOW)->wParam, 1u);
    EXPECT_EQ(w.GetLastShowAnimation(), ANIM_NONE);
    EXPECT_EQ(loop.TopLevelWindows().back(), &w);
    EXPECT_TRUE(child.IsShownOnScreen());
    w.ShowWindow(false, ANIM_PAGE_OUT);
    EXPECT_EQ(w.Count(WM_SHOWWINDOW), 2);
    EXPECT_EQ(w.Last(WM_SHOWWINDOW)->wParam, 0u);
    EXPECT_EQ(w.GetLastHideAnimation(), ANIM_PAGE_OUT);

    w.MoveWindow({5, 5, 15, 15});
    EXPECT_EQ(w.Count(WM_SIZE), 0);
    w.MoveWindow({5, 5, 25, 45});
    ASSERT_EQ(w.Count(WM_SIZE), 1);
    EXPECT_EQ(w.Last(WM_SIZE)->lParam, MakeLParam(20, 40));
}

TEST_F(WindowTest, FocusAndCaptureMoveTellingTheWindowThatLosesThemFirst) {
    std::vector<std::string> log;
    CRecordingWin a("a", &log), b("b", &log);
    for (CRecordingWin* w : {&a, &b})
        w->onMessage = [w](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS || msg == WM_CAPTURECHANGED)
                w->Log(msg == WM_SETFOCUS ? "set" : msg == WM_KILLFOCUS ? "kill" : "capture lost");
            return std::nullopt;
        };
    ASSERT_TRUE(a.Create(nullptr, {0, 0, 10, 10}));
    ASSERT_TRUE(b.Create(nullptr, {0, 0, 10, 10}));
    a.SetFocus();
    a.SetFocus();
    b.SetFocus();
    EXPECT_TRUE(b.HasFocus());
    EXPECT_FALSE(a.HasFocus());
    EXPECT_EQ(UiWin::GetFocus(), &b);
    a.SetCapture();
    b.SetCapture();
    EXPECT_EQ(UiWin::GetCapture(), &b);
    UiWin::ReleaseCapture();
    EXPECT_EQ(UiWin::GetCapture(), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"a:set", "a:kill", "b:set", "a:capture lost", "b:capture lost"}));
}

TEST_F(WindowTest, HitTestFindsTheDeepestVisibleEnabledChildOnTop) {
    CRecordingWin top, under, over, inner, hidden;
    ASSERT_TRUE(top.Create(nullptr, {0, 0, 200, 200}));
    ASSERT_TRUE(under.Create(&top, {10, 10, 110, 110}));
    ASSERT_TRUE(over.Create(&top, {50, 50, 150, 150}));
    ASSERT_TRUE(inner.Create(&over, {10, 10, 30, 30}));
    ASSERT_TRUE(hidden.Create(&over, {0, 0, 100, 100}, 0, false));
    EXPECT_EQ(top.ChildFromPoint({20, 20}), &under);
    EXPECT_EQ(top.ChildFromPoint({70, 70}), &inner);  // over's (20, 20)
    EXPECT_EQ(top.ChildFromPoint({90, 90}), &over);
    EXPECT_EQ(top.ChildFromPoint({5, 5}), &top);
    over.EnableWindow(false);
    EXPECT_EQ(top.ChildFromPoint({70, 70}), &under);
}

TEST_F(WindowTest, NotifyParentPostsACommandToTheParentOrTheOwner) {
    CRecordingWin owner, form, button;
    ASSERT_TRUE(owner.Create(nullptr, {0, 0, 10, 10}));
    ASSERT_TRUE(form.Create(nullptr, {0, 0, 10, 10}));
    ASSERT_TRUE(button.Create(&form, {0, 0, 5, 5}, 101));
    form.SetOwner(&owner);
    button.NotifyParent(2, 42);
    form.NotifyParent(3);
    EXPECT_EQ(form.Count(WM_COMMAND), 0); // posted, not sent
    loop.PumpReady();
    ASSERT_EQ(form.Count(WM_COMMAND), 1);
    EXPECT_EQ(LowWord(form.Last(WM_COMMAND)->wParam), 101);
    EXPECT_EQ(HighWord(form.Last(WM_COMMAND)->wParam), 2);
    EXPECT_EQ(form.Last(WM_COMMAND)->lParam, 42);
    EXPECT_EQ(owner.Count(WM_COMMAND), 1);
}

TEST_F(WindowTest, PaintTreeDrawsEachShownWindowAtItsOriginClippedToItsAncestors) {
    CRecordingWin top;
    CDotWin child, grandchild;
    ASSERT_TRUE(top.Create(nullptr, {10, 40, 210, 240}));
    top.SetBkColor(MakeRgb(0, 0, 255));
    ASSERT_TRUE(child.Create(&top, {50, 50, 100, 100}));
    child.SetBkColor(MakeRgb(255, 0, 0));
    ASSERT_TRUE(grandchild.Create(&child, {20, 30, 80, 80})); // reaches past its parent
    grandchild.SetBkColor(MakeRgb(0, 128, 0));
    grandchild.dot = MakeRgb(255, 255, 0);
    loop.PaintNow();

    const CSurface& s = loop.Screen();
    EXPECT_EQ(s.GetPixel(10, 40), MakeRgb(0, 0, 255));
    EXPECT_EQ(s.GetPixel(60, 90), MakeRgb(0, 255, 0));      // child's (0, 0)
    EXPECT_EQ(s.GetPixel(80, 120), MakeRgb(255, 255, 0));   // grandchild's (0, 0)
    EXPECT_EQ(s.GetPixel(109, 139), MakeRgb(0, 128, 0));    // grandchild, inside its parent
    EXPECT_EQ(s.GetPixel(110, 139), MakeRgb(0, 0, 255));    // grandchild, clipped by its parent
    EXPECT_EQ(s.GetPixel(5, 5), MakeRgb(0, 0, 0));

    // A hidden window and everything in it are left out.
    grandchild.ShowWindow(false);
    loop.PaintNow();
    EXPECT_EQ(s.GetPixel(80, 120), MakeRgb(255, 0, 0));
    grandchild.ShowWindow(true);
    top.ShowWindow(false);
    loop.PaintNow();
    EXPECT_EQ(s.GetPixel(80, 120), MakeRgb(0, 0, 0));
    EXPECT_EQ(s.GetPixel(10, 40), MakeRgb(0, 0, 0));
}

TEST_F(WindowTest, DestroyCalledAgainFromTheWindowsOwnDestroyHandlerSendsOneDestroy) {
    CRecordingWin parent("parent");
    ASSERT_TRUE(parent.Create(nullptr, {0, 0, 100, 100}));
    CRecordingWin child("child");
    ASSERT_TRUE(child.Create(&parent, {0, 0, 10, 10}));
    parent.onMessage = [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_DESTROY)
            parent.Destroy();
        return std::nullopt;
    };
    // The child's handler tears down its parent while the parent is already
    // tearing down its children.
    child.onMessage = [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_DESTROY)
            parent.Destroy();
        return std::nullopt;
    };
    parent.Destroy();
    EXPECT_EQ(parent.Count(WM_DESTROY), 1);
    EXPECT_EQ(child.Count(WM_DESTROY), 1);
    EXPECT_FALSE(parent.IsCreated());
    EXPECT_FALSE(child.IsCreated());
    EXPECT_TRUE(parent.GetChildren().empty());
}

TEST_F(WindowTest, AWindowDeletedByAHandlerDuringItsOwnStateChangeIsNotTouchedAgain) {
    // Focus: the old window's kill-focus handler deletes the new one.
    CRecordingWin old("old");
    ASSERT_TRUE(old.Create(nullptr, {0, 0, 10, 10}));
    old.SetFocus();
    auto* fresh = new CRecordingWin("fresh");
    ASSERT_TRUE(fresh->Create(nullptr, {0, 0, 10, 10}));
    old.onMessage = [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_KILLFOCUS)
            delete fresh;
        return std::nullopt;
    };
    fresh->SetFocus();
    EXPECT_EQ(UiWin::GetFocus(), nullptr);
    old.onMessage = nullptr;

    // Move and enable: the window deletes itself from its own handler.
    for (UINT fatal : {UINT{WM_MOVE}, UINT{WM_ENABLE}}) {
        auto* self = new CSelfDeletingWin(fatal);
        ASSERT_TRUE(self->Create(nullptr, {0, 0, 10, 10}));
        HWND handle = self->GetHandle();
        if (fatal == WM_MOVE)
            self->MoveWindow({5, 5, 30, 30});
        else
            self->EnableWindow(false);
        EXPECT_FALSE(UiWin::IsWindow(handle));
    }
}
