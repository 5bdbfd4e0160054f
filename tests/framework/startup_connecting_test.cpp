// The start-up against a server that takes the logon and never answers:
// its "取消", and the limit that still ends such a start-up with its
// message. (How the screen looks meanwhile is a reference screen.)
#include "startup_Fixture.h"

#include "framework/app/CStartupLogon.h"
#include "framework/app/CStartupWnd.h"
#include "framework/net/CNetWorker.h"
#include "platform/Clock.h"

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
        Hanging([this] { return Start(Options(m_port), true); });
        ASSERT_TRUE(m_sim.WaitForRequests(1, 5000));
        ASSERT_TRUE(Hanging([this] { return m_driver.ScreenShows(CStartupWnd::kConnectingText); }));
    }
};

TEST_F(StartupConnectingTest, TappingCancelAbandonsTheLogonAndEndsTheProgramWithoutAMessage) {
    StartAgainstSilentServer();
    const CPoint cancel = Hanging([this] {
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
    EXPECT_TRUE(MessageBoxes().empty());
    EXPECT_EQ(m_windowsAtQuit, 0);
    EXPECT_EQ(m_app->GetStartupScreen(), nullptr);
    // The request was given up, not left waiting for the server.
    ASSERT_NE(CAppData::Instance(), nullptr);
    EXPECT_TRUE(CAppData::Instance()->GetNetWorker()->WaitIdle(5000));
    EXPECT_EQ(m_sim.GetRequestLog().size(), 1u);
}

TEST_F(StartupConnectingTest, TheLimitStillEndsAHangingStartUpWithItsMessageAndClosesTheScreen) {
    StartAgainstSilentServer();
    m_driver.Loop()->PostTask([] { CClock::Instance().Advance(CStartupLogon::kLogonLimitMs); });
    EXPECT_TRUE(m_driver.WaitForRest());
    EXPECT_TRUE(m_driver.HasProgramEnded());
    EXPECT_EQ(m_app->GetState(), COrbApp::State::Failed);
    EXPECT_EQ(m_app->GetFailureText(), u"错误(4)：接收数据失败，请重试");
    const std::vector<CShownModal> boxes = MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"错误(4)：接收数据失败，请重试");
    EXPECT_EQ(m_windowsAtQuit, 0);
    EXPECT_EQ(m_app->GetStartupScreen(), nullptr);
    EXPECT_EQ(m_sim.GetRequestLog().size(), 1u) << "the logon is not sent again";
}
