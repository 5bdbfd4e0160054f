// The start-up screen: what the window shows while the logon runs against a
// server that takes it and never answers, its moving line, its "取消", and
// the limit that still ends such a start-up with its message.
#include "startup_Fixture.h"

#include "framework/app/CStartupLogon.h"
#include "framework/app/CStartupWnd.h"
#include "framework/net/CNetWorker.h"
#include "platform/Clock.h"
#include "platform/win/UiMessageLoop.h"

class StartupConnectingTest : public StartupTest {
protected:
    // While the logon hangs the program never comes to rest: every driver
    // step then waits this long and its failure is expected, not reported.
    static constexpr int kHangingRestMs = 150;

    // Runs a driver step that cannot come to rest.
    template <class F>
    auto Hanging(F&& step) {
        m_driver.SetFailureHandler([](const std::string&) {});
        m_driver.SetRestTimeout(kHangingRestMs);
        struct Restore {
            CGTestDriver& driver;
            ~Restore() {
                driver.SetFailureHandler([](const std::string& text) { ADD_FAILURE() << text; });
                driver.SetRestTimeout(15000);
            }
        } restore{m_driver};
        return step();
    }

    // Starts the program against a server that takes the logon and keeps it
    // (the simulator's Stop ends the wait); a message box is answered OK.
    void StartAgainstSilentServer() {
        SimFault silent(SimFaultKind::SlowReply);
        silent.delayMs = 600000;
        m_sim.InjectFaultFor(100, 1, silent);
        m_app = std::make_unique<COrbApp>(Options(m_port));
        Hanging([this] {
            return m_driver.Start([this] {
                CModalScript::Instance().Push(ModalKind::MessageBox, IDOK);
                UiMessageLoop* loop = UiMessageLoop::Current();
                loop->SetAfterDispatchHook([this, loop] {
                    if (loop->IsQuitting() && m_windowsAtQuit < 0)
                        m_windowsAtQuit = static_cast<int>(loop->TopLevelWindows().size());
                });
                m_app->InitInstance();
            });
        });
        ASSERT_TRUE(m_sim.WaitForRequests(1, 5000));
    }

    int ProgressPos() {
        return Hanging([this] {
            return m_driver.RunOnGui([this] {
                CStartupWnd* screen = m_app->GetStartupScreen();
                return screen ? screen->GetProgressPos() : -1;
            });
        });
    }
    // Moves the program clock on; the loop fires what fell due after the task.
    void AdvanceProgramClock(std::int64_t ms) {
        Hanging([this, ms] { m_driver.RunOnGui([ms] { CClock::Instance().Advance(ms); }); });
    }

    int m_windowsAtQuit = -1; // top-level windows when the program quit its loop
};

TEST_F(StartupConnectingTest, WhileTheLogonHangsTheScreenSaysItIsConnectingAndItsLineMovesWithTheClock) {
    StartAgainstSilentServer();
    ASSERT_EQ(Hanging([this] { return State(); }), COrbApp::State::StartingUp);
    EXPECT_TRUE(Hanging([this] { return m_driver.ScreenShows(CStartupWnd::kConnectingText); }));
    EXPECT_TRUE(Hanging([this] { return m_driver.ScreenShows(u"取消"); }));

    const int start = ProgressPos();
    ASSERT_GE(start, 0);
    AdvanceProgramClock(CStartupWnd::kStepIntervalMs - 1);
    EXPECT_EQ(ProgressPos(), start) << "the line moves on its interval, not sooner";
    AdvanceProgramClock(1);
    EXPECT_EQ(ProgressPos(), start + 1);
    AdvanceProgramClock(CStartupWnd::kStepIntervalMs);
    EXPECT_EQ(ProgressPos(), start + 2);
    EXPECT_FALSE(m_driver.HasProgramEnded());
}

TEST_F(StartupConnectingTest, TappingCancelAbandonsTheLogonAndEndsTheProgramWithoutAMessage) {
    StartAgainstSilentServer();
    CPoint cancel = Hanging([this] {
        return m_driver.RunOnGui([this] {
            CStartupWnd* screen = m_app->GetStartupScreen();
            return screen ? screen->GetCancelPoint() : CPoint{-1, -1};
        });
    });
    ASSERT_GE(cancel.x, 0);
    // A press cannot come to rest either; the release ends the program.
    Hanging([&] { return m_driver.Press(cancel.x, cancel.y); });
    EXPECT_TRUE(m_driver.Release(cancel.x, cancel.y));

    EXPECT_TRUE(m_driver.HasProgramEnded());
    EXPECT_EQ(m_app->GetState(), COrbApp::State::Cancelled);
    EXPECT_TRUE(m_app->GetFailureText().empty());
    EXPECT_TRUE(MessageBoxes(m_driver.Shown()).empty());
    EXPECT_EQ(m_windowsAtQuit, 0);
    EXPECT_EQ(m_app->GetStartupScreen(), nullptr);
    // The request was given up, not left waiting for the server.
    ASSERT_NE(CAppData::Instance(), nullptr);
    EXPECT_TRUE(CAppData::Instance()->GetNetWorker()->WaitIdle(5000));
    EXPECT_EQ(m_sim.GetRequestLog().size(), 1u);
}

TEST_F(StartupConnectingTest, TheLimitStillEndsAHangingStartUpWithItsMessageAndClosesTheScreen) {
    StartAgainstSilentServer();
    ASSERT_TRUE(Hanging([this] { return m_driver.ScreenShows(CStartupWnd::kConnectingText); }));
    m_driver.Loop()->PostTask([] { CClock::Instance().Advance(CStartupLogon::kLogonLimitMs); });
    EXPECT_TRUE(m_driver.WaitForRest());
    EXPECT_TRUE(m_driver.HasProgramEnded());
    EXPECT_EQ(m_app->GetState(), COrbApp::State::Failed);
    std::vector<CShownModal> boxes = MessageBoxes(m_driver.Shown());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"错误(4)：接收数据失败，请重试");
    EXPECT_EQ(m_windowsAtQuit, 0);
    EXPECT_EQ(m_app->GetStartupScreen(), nullptr);
}

TEST_F(StartupConnectingTest, AStartUpThatSucceedsLeavesOnlyTheMainMenu) {
    ASSERT_TRUE(StartProgram());
    ASSERT_EQ(State(), COrbApp::State::Running);
    EXPECT_EQ(m_app->GetStartupScreen(), nullptr);
    EXPECT_FALSE(m_driver.ScreenShows(CStartupWnd::kConnectingText));
    // Too late to cancel: the program runs on.
    m_driver.RunOnGui([this] { m_app->CancelStartup(); });
    EXPECT_EQ(State(), COrbApp::State::Running);
    EXPECT_FALSE(m_driver.HasProgramEnded());
}
