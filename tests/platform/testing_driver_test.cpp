// The test driver: steps that rest inside nested modal loops, steps that
// fail instead of hanging, the manual clock, gestures, typing, control
// queries and a screenshot of a demo window.
#include "platform/Clock.h"
#include "platform/gdi/CDC.h"
#include "platform/testing/CGTestDriver.h"
#include "platform/win/UiGesture.h"
#include "platform/win/UiMessageLoop.h"
#include "win_RecordingWin.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <mutex>
#include <thread>

namespace {

constexpr UINT kNote = 0xFFF28010;

// A window that opens a modal window over itself when tapped, as a form
// opens a message box; the modal window closes with code 4 when tapped.
class CModalOpener : public CRecordingWin {
public:
    CModalOpener() : CRecordingWin("opener") {}
    std::unique_ptr<CRecordingWin> modal;
    std::vector<int> codes;
    void OnLButtonUp(UINT, CPoint) override {
        modal = std::make_unique<CRecordingWin>("modal");
        modal->onMessage = [this](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (msg == WM_LBUTTONUP)
                UiMessageLoop::Current()->EndModal(4);
            return std::nullopt;
        };
        modal->Create(nullptr, {40, 200, 440, 500}, 77);
        codes.push_back(UiMessageLoop::Current()->RunModal());
        modal.reset();
    }
};

// Posts itself a message forever: never at rest.
class CSelfPostingWin : public UiWin {
public:
    ~CSelfPostingWin() override { Destroy(); }
    const char* GetClassName() const override { return "CSelfPostingWin"; }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kNote || msg == WM_LBUTTONUP)
            PostMessage(kNote);
        return UiWin::WndProc(msg, wParam, lParam);
    }
};

// Asks the tap-and-hold recognition on every press.
class CHoldWin : public CRecordingWin {
public:
    std::vector<bool> holds;
    void OnLButtonDown(UINT, CPoint) override { holds.push_back(UiGesture::RecognizeHold()); }
};

} // namespace

TEST(DriverTest, AStepThatOpensAModalWindowRestsInsideTheNestedLoop) {
    CGTestDriver driver;
    CModalOpener opener;
    ASSERT_TRUE(driver.Start([&] { opener.Create(nullptr, {0, 36, 480, 720}, 1); }));
    ASSERT_TRUE(driver.Tap(100, 100));
    EXPECT_EQ(driver.RunOnGui([] { return UiMessageLoop::Current()->ModalDepth(); }), 1);
    EXPECT_EQ(driver.ControlVisible(77), std::optional<bool>(true));
    ASSERT_TRUE(driver.Tap(240, 300));
    EXPECT_EQ(driver.RunOnGui([] { return UiMessageLoop::Current()->ModalDepth(); }), 0);
    EXPECT_EQ(driver.RunOnGui([&] { return opener.codes; }), std::vector<int>{4});
    EXPECT_EQ(driver.ControlVisible(77), std::nullopt);
    driver.Stop();
}

TEST(DriverTest, AStepThatNeverRestsFailsWithinTheBoundAndListsTheWindows) {
    CTestDriver driver;
    std::vector<std::string> reported;
    driver.SetFailureHandler([&](const std::string& text) { reported.push_back(text); });
    driver.SetRestTimeout(300);
    CSelfPostingWin busy;
    ASSERT_TRUE(driver.Start([&] { busy.Create(nullptr, {0, 36, 480, 720}, 9); }));
    EXPECT_FALSE(driver.Tap(10, 100));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NE(reported[0].find("Release at (10, 100)"), std::string::npos) << reported[0];
    EXPECT_NE(reported[0].find("did not come to rest within 300 ms"), std::string::npos);
    EXPECT_NE(reported[0].find("CSelfPostingWin id=9 rect=(0,36,480,720) visible"), std::string::npos) << reported[0];
    driver.Stop(); // quits even though the program never rests, and destroys its window, not its object
    EXPECT_FALSE(busy.IsCreated());
}

void TapABusyProgram() {
    CGTestDriver driver;
    driver.SetRestTimeout(200);
    CSelfPostingWin busy;
    driver.Start([&] { busy.Create(nullptr, CRect{0, 36, 480, 720}); });
    driver.Tap(10, 100);
    driver.Stop();
}

TEST(DriverTest, TheGTestDriverReportsAStepThatNeverRestsAsATestFailure) {
    EXPECT_NONFATAL_FAILURE(TapABusyProgram(), "did not come to rest");
}

TEST(DriverTest, AStepIsNotAtRestWhileExternalWorkIsOutAndRestsOnceItsPostedResultIsHandled) {
    CTestDriver driver;
    std::vector<std::string> reported;
    driver.SetFailureHandler([&](const std::string& text) { reported.push_back(text); });
    driver.SetRestTimeout(200);
    CRecordingWin w;
    std::promise<void> finish; // the work ends when the test says so
    std::thread worker;
    ASSERT_TRUE(driver.Start([&] { w.Create(nullptr, {0, 36, 480, 720}); }));
    w.onMessage = [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_LBUTTONUP) {
            UiMessageLoop* loop = UiMessageLoop::Current();
            loop->BeginExternalWork();
            worker = std::thread([loop, target = w.GetHandle(), gate = finish.get_future()] {
                gate.wait();
                PostMessage(target, kNote, 7, 0);
                loop->EndExternalWork();
            });
        }
        return std::nullopt;
    };
    EXPECT_FALSE(driver.Tap(10, 100));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NE(reported[0].find("did not come to rest"), std::string::npos) << reported[0];
    finish.set_value();
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(driver.RunOnGui([&] { return w.Count(kNote); }), 1);
    EXPECT_EQ(reported.size(), 1u);
    worker.join();
    driver.Stop();
}

TEST(DriverTest, TapAndHoldIsAHeldTapAndAQuickTapOrASlideIsNot) {
    CGTestDriver driver;
    CHoldWin w;
    ASSERT_TRUE(driver.Start([&] { w.Create(nullptr, {0, 36, 480, 720}); }));
    ASSERT_TRUE(driver.TapAndHold(100, 200, 700));
    ASSERT_TRUE(driver.Tap(100, 200));
    ASSERT_TRUE(driver.Press(100, 200));
    ASSERT_TRUE(driver.AdvanceClock(300));
    ASSERT_TRUE(driver.Move(130, 200));
    ASSERT_TRUE(driver.AdvanceClock(400));
    ASSERT_TRUE(driver.Release(130, 200));
    EXPECT_EQ(driver.RunOnGui([&] { return w.holds; }), (std::vector<bool>{true, false, false}));
    // The press reached the window after the recognition, then the release.
    EXPECT_EQ(driver.RunOnGui([&] { return w.Count(WM_LBUTTONUP); }), 3);
    driver.Stop();
}

TEST(DriverTest, PinchReachesTheWindowRegisteredForGesturesAndFailsWithoutOne) {
    CTestDriver driver;
    std::vector<std::string> reported;
    driver.SetFailureHandler([&](const std::string& text) { reported.push_back(text); });
    CRecordingWin chart;
    ASSERT_TRUE(driver.Start([&] { chart.Create(nullptr, {0, 36, 480, 720}); }));
    EXPECT_FALSE(driver.Pinch(GESTURE_PINCH_IN));
    EXPECT_EQ(reported.size(), 1u);
    ASSERT_TRUE(driver.RunOnGui([&] { return UiGesture::RegisterGestures(chart.GetHandle()); }));
    ASSERT_TRUE(driver.Pinch(GESTURE_PINCH_IN));
    ASSERT_TRUE(driver.Pinch(GESTURE_PINCH_OUT));
    auto codes = driver.RunOnGui([&] {
        std::vector<WPARAM> out;
        for (const CReceived& r : chart.received)
            if (r.msg == WM_GESTURE_NOTIFY)
                out.push_back(r.wParam);
        return out;
    });
    EXPECT_EQ(codes, (std::vector<WPARAM>{3, 4}));
    driver.RunOnGui([&] { UiGesture::ReleaseGestures(chart.GetHandle()); });
    EXPECT_FALSE(driver.Pinch(GESTURE_PINCH_IN));
    UiGesture::SetRegistrationFails(true);
    EXPECT_FALSE(driver.RunOnGui([&] { return UiGesture::RegisterGestures(chart.GetHandle()); }));
    driver.Stop();
}

TEST(DriverTest, ControlQueriesPreferTheTopmostVisibleWindow) {
    CGTestDriver driver;
    CRecordingWin below, above, labelBelow, labelAbove;
    ASSERT_TRUE(driver.Start([&] {
        below.Create(nullptr, {0, 36, 480, 720});
        labelBelow.Create(&below, {0, 0, 100, 30}, 5);
        labelBelow.SetText(u"下面");
        above.Create(nullptr, {0, 36, 480, 720});
        labelAbove.Create(&above, {0, 0, 100, 30}, 5);
        labelAbove.SetText(u"上面");
        labelAbove.SetTextColor(MakeRgb(0xFF, 0x26, 0x26));
        labelAbove.EnableWindow(false);
        labelBelow.SetBkColor(MakeRgb(1, 2, 3));
    }));
    EXPECT_EQ(driver.ControlText(5), std::optional<std::u16string>(u"上面"));
    EXPECT_EQ(driver.ControlEnabled(5), std::optional<bool>(false));
    EXPECT_EQ(driver.ControlColor(5), std::optional<COLORREF>(MakeRgb(0xFF, 0x26, 0x26)));
    driver.RunOnGui([&] { above.ShowWindow(false); });
    EXPECT_EQ(driver.ControlText(5), std::optional<std::u16string>(u"下面"));
    EXPECT_EQ(driver.ControlBkColor(5), std::optional<COLORREF>(MakeRgb(1, 2, 3)));
    EXPECT_EQ(driver.ControlText(6), std::nullopt);
    auto windows = driver.OpenWindows();
    ASSERT_EQ(windows.size(), 4u);
    EXPECT_EQ(windows[0].depth, 0);
    EXPECT_EQ(windows[1].id, 5);
    EXPECT_EQ(windows[1].depth, 1);
    EXPECT_EQ(windows[1].screenRect, (CRect{0, 36, 100, 66}));
    driver.Stop();
}

TEST(DriverTest, AScreenshotPaintsTheScreenIntoAPng) {
    // The pixels, and SaveScreen under the screenshot tour: the reference screens.
    CGTestDriver driver;
    CRecordingWin window;
    ASSERT_TRUE(driver.Start([&] { window.Create(nullptr, UiMessageLoop::Current()->GetWorkRect()); }));
    const std::string path = std::string(ORB_BINARY_DIR) + "/platform_demo_window.png";
    std::filesystem::remove(path);
    ASSERT_TRUE(driver.Screenshot(path));
    EXPECT_GT(std::filesystem::file_size(path), 100u);
    driver.Stop();
}

TEST(DriverTest, AnInspectionThatRunsAModalLoopNobodyEndsFailsInsteadOfHanging) {
    CTestDriver driver;
    std::vector<std::string> reported;
    std::mutex reportedLock;
    driver.SetFailureHandler([&](const std::string& text) {
        std::lock_guard<std::mutex> guard(reportedLock);
        reported.push_back(text);
    });
    driver.SetRestTimeout(300);
    ASSERT_TRUE(driver.Start(nullptr));
    auto step = std::async(std::launch::async, [&] {
        return driver.RunOnGui([] {
            CRecordingWin box("box");
            box.Create(nullptr, {40, 200, 440, 500}, 55);
            return UiMessageLoop::Current()->RunModal() + 1;
        });
    });
    const bool returned = step.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    EXPECT_TRUE(returned) << "the step hangs";
    if (!returned)
        driver.Stop(); // quits the modal run the step waits for
    EXPECT_EQ(step.get(), 1); // the quit ended the run with code 0
    std::lock_guard<std::mutex> guard(reportedLock);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NE(reported[0].find("did not finish within 300 ms"), std::string::npos) << reported[0];
    EXPECT_NE(reported[0].find("CRecordingWin id=55"), std::string::npos) << reported[0];
    EXPECT_TRUE(driver.HasProgramEnded());
}

TEST(DriverTest, AnInspectionBlockedOutrightFailsWithinTheBoundAndStopLeavesItsThreadToItself) {
    // No assertion may return while the task waits: the gate must open.
    std::promise<void> opener;
    bool opened = false;
    std::vector<std::string> failures;
    {
        CTestDriver driver;
        driver.SetFailureHandler([](const std::string&) {});
        driver.SetRestTimeout(300);
        ASSERT_TRUE(driver.Start(nullptr));
        auto step = std::async(std::launch::async, [&driver, gate = opener.get_future().share()] {
            return driver.RunOnGui([gate] {
                gate.wait();
                return 7;
            });
        });
        auto stop = std::async(std::launch::async, [&driver, &step] {
            step.wait();
            driver.Stop();
        });
        opened = stop.wait_for(std::chrono::seconds(5)) != std::future_status::ready;
        EXPECT_FALSE(opened) << "the step or Stop waits for the blocked task";
        if (opened)
            opener.set_value();
        stop.get();
        EXPECT_EQ(step.get(), 0) << "the step gave up before the task returned";
        failures = driver.Failures();
        EXPECT_EQ(failures.size(), 2u);
    }
    failures.resize(2);
    EXPECT_NE(failures[0].find("did not finish within 300 ms; the GUI thread is blocked in it"), std::string::npos)
        << failures[0];
    EXPECT_NE(failures[1].find("Stop: the GUI thread did not end within 300 ms"), std::string::npos) << failures[1];
    // The thread left running (unless the gate had to open) holds a new
    // start off until it ends.
    CTestDriver next;
    next.SetFailureHandler([](const std::string&) {});
    next.SetRestTimeout(100);
    EXPECT_EQ(next.Start(nullptr), opened);
    if (!opened)
        opener.set_value();
    next.SetRestTimeout(5000);
    EXPECT_TRUE(next.IsRunning() || next.Start(nullptr));
    next.Stop();
}
