// The request road of real windows through the program's worker to the
// simulated server: a request that acts leaves only from the press that
// armed it, never from a child's close, a show, a timer or the refresh
// command; and a query the busy worker refused goes once the worker is
// free, while the GUI thread never waits for it.
#include "ui_Fixture.h"

#include "framework/ui/CWorkerRequestSender.h"
#include "platform/win/CGuiTask.h"
#include "support/SimAppTest.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// The program's worker, as every window uses it, keeping the longest time
// the GUI thread was made to wait for it.
class CWaitRecordingSender : public CWorkerRequestSender {
public:
    int longestWaitMs = 0; // GUI thread
    bool WaitIdle(int ms) override { return CWorkerRequestSender::WaitIdle(Note(ms)); }
    int AbortAndWait(int ms) override { return CWorkerRequestSender::AbortAndWait(Note(ms)); }

private:
    int Note(int ms) { return longestWaitMs = std::max(longestWaitMs, ms), ms; }
};

class NetRoadTest : public SimAppTest {
protected:
    NetRoadTest() : SimAppTest("orb_road") {}

    CWaitRecordingSender sender;
    std::unique_ptr<CTestNetWnd> mainWnd;

    void SetUp() override {
        g_log.Clear();
        SimAppTest::SetUp();
        CNetWnd::SetDefaultSender(&sender);
    }
    void ReleaseWindows() override {
        mainWnd.reset();
        CNetWnd::SetDefaultSender(nullptr);
    }

    void Start() {
        ASSERT_TRUE(driver.Start([this] {
            ASSERT_NE(CreateAppData(), nullptr);
            mainWnd = std::make_unique<CTestNetWnd>("main", "COrbAppFrame");
            ASSERT_TRUE(mainWnd->CreateOver(nullptr));
            mainWnd->ShowWindow(true);
        }));
    }
    // label opens a CTestNetWnd labelled so, whose request is preset,
    // refreshed by its timer every 10 s at any hour.
    static void RegisterForm(const std::string& label, std::string preset) {
        CWndManager::Instance().RegisterWindow(label, [label, preset](const CWndCreateInfo&) {
            auto w = std::make_unique<CTestNetWnd>(label);
            w->SetMenuParams(-1, nullptr, preset.c_str());
            w->SetAutoRefresh(true);
            w->SetRefreshInterval(10);
            w->SetRefreshInTradingHoursOnly(false);
            return std::unique_ptr<CBaseWnd>(std::move(w));
        });
    }
    static void Open(const std::string& from, const char* keyword) {
        g_log.live.at(from)->PostMessage(CTestNetWnd::kOpenKeyword, 0, reinterpret_cast<LPARAM>(keyword));
    }
    // Runs fn on the GUI thread without waiting for rest, which a request
    // in flight holds off; its result, or a default one when the GUI thread
    // did not run it within 5 s.
    template <class F>
    auto Now(F fn) {
        auto result = std::make_shared<decltype(fn())>();
        driver.Loop()->PostTask(std::function<void()>([fn, result] { *result = fn(); }))->WaitStartedThenDone(5000);
        return *result;
    }
};

} // namespace

TEST_F(NetRoadTest, OnlyTheArmedPressSendsARequestThatActsNeverAChildsCloseAShowATimerOrTheRefreshCommand) {
    const struct {
        const char* what;
        int main, sub;
        bool acts;
    } forms[] = {
        {"password change", 500, 13, true},
        {"token application", 500, 69, true},
        {"order", 500, 6, true},
        {"funds query", 500, 12, false},
    };
    Start();
    CWndManager::Instance().RegisterWindow(
        "picker", [](const CWndCreateInfo&) { return std::unique_ptr<CBaseWnd>(new CTestNetWnd("picker")); });
    for (const auto& f : forms) {
        SCOPED_TRACE(f.what);
        sim.ClearRequestLog();
        RegisterForm("form",
                     "tc_mfuncno=" + std::to_string(f.main) + "&tc_sfuncno=" + std::to_string(f.sub) + "&code=1");
        driver.RunOnGui([] { Open("main", "form"); }); // its first show
        driver.RunOnGui([] { Open("form", "picker"); });
        ASSERT_EQ(driver.RunOnGui([] { return g_log.live.count("picker"); }), 1u);
        // The picker's back-swipe closes it with code 1 over the form.
        ASSERT_TRUE(driver.Drag({100, 36 + 42 + 300}, {260, 36 + 42 + 320}));
        ASSERT_EQ(driver.RunOnGui([] { return g_log.live.count("picker"); }), 0u);
        driver.RunOnGui([] { g_log.live.at("form")->Refresh(); });
        driver.AdvanceClock(10000);
        EXPECT_EQ(Requests(f.main, f.sub).size(), f.acts ? 0u : 4u)
            << "the first show, the child's close, the refresh command and the timer";
        if (f.acts) {
            const std::vector<CNetWnd::NotSent> refused(4, CNetWnd::NotSent::NotArmed);
            EXPECT_EQ(driver.RunOnGui([] { return g_log.notSent["form"]; }), refused);
        }
        EXPECT_TRUE(driver.RunOnGui([] { return g_log.live.at("form")->SendAction(-1, 0); }));
        EXPECT_EQ(Requests(f.main, f.sub).size(), f.acts ? 1u : 5u) << "the press sends once";
        driver.RunOnGui([] { g_log.live.at("form")->EndWindow(-1); });
        driver.RunOnGui([] { g_log.notSent.clear(); });
    }
}

TEST_F(NetRoadTest, AWindowFirstShownWhileASlowOrderIsOutFillsOnceTheOrderIsAnsweredAndTheGuiNeverWaits) {
    SimFault slow(SimFaultKind::SlowReply);
    slow.delayMs = 3000;
    sim.InjectFaultFor(500, 6, slow);
    Start();
    RegisterForm("order", "tc_mfuncno=500&tc_sfuncno=6&code=600000");
    RegisterForm("quote", "tc_mfuncno=31000&tc_sfuncno=4&code=600000.02");
    driver.RunOnGui([] { Open("main", "order"); });
    sim.ClearRequestLog();
    ASSERT_TRUE(Now([] { return g_log.live.at("order")->SendAction(-1, 0); }));
    ASSERT_TRUE(sim.WaitForRequests(1, 5000));
    Now([] {
        Open("order", "quote");
        return 0;
    });
    // The window comes up and waits for the worker while the order is out:
    // the GUI thread keeps answering.
    bool waiting = false;
    for (int i = 0; i < 100 && !waiting; ++i) {
        waiting = Now([] {
            auto it = g_log.live.find("quote");
            return it != g_log.live.end() && it->second->IsVisible() && it->second->IsRequestPending();
        });
        if (!waiting)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(waiting);
    EXPECT_EQ(Requests(31000, 4).size(), 0u) << "the order is still out";
    EXPECT_TRUE(Now([] { return g_log.live.at("quote")->replies.empty(); }));
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(driver.RunOnGui([] { return g_log.live.at("order")->replies.size(); }), 1u);
    EXPECT_EQ(driver.RunOnGui([] {
                  const CTestNetWnd* w = g_log.live.at("quote");
                  return w->replies.size() == 1 && !w->lastFailure && !w->IsRequestPending() &&
                         g_log.notSent["quote"].empty();
              }),
              true)
        << "the refused query went once the worker was free, and was answered";
    const std::vector<SimRequest> log = sim.GetRequestLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].sub, 6);
    EXPECT_EQ(log[1].sub, 4);
    EXPECT_EQ(driver.RunOnGui([this] { return sender.longestWaitMs; }), 0) << "the GUI thread never waited";
}
