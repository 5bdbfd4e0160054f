// Window life: modal chains over the main window, close codes acting on the
// parent, each window deleted exactly once (run under ASan), and a reply
// that arrives for a window already gone.
#include "ui_Fixture.h"

#include "framework/net/CNetWorker.h"
#include "net_TestPeer.h"

#include <future>

namespace {

class WindowLifeTest : public UiWindowTest {
protected:
    // main → b → c, each run modally from its parent's handler.
    void OpenChainOfThree() {
        RegisterTestWindow("testb", "b");
        RegisterTestWindow("testc", "c");
        StartWithMain();
        OpenFrom("main", "testb");
        OpenFrom("b", "testc");
        ASSERT_EQ(Depth(), 2);
    }
    void CloseWith(const std::string& label, int code) {
        driver.RunOnGui([label, code] { g_log.live.at(label)->EndWindow(code); });
    }
    bool Shown(const std::string& label) {
        return driver.RunOnGui([label] { return g_log.live.count(label) && g_log.live[label]->IsVisible(); });
    }
    CWindowLog Log() {
        return driver.RunOnGui([] { return g_log; });
    }
};

} // namespace

TEST_F(WindowLifeTest, ACloseCodeActsOnTheParentAndEachClosedWindowIsDeletedOnce) {
    const struct {
        int code;
        bool byMessage; // WND_MSG_CLOSE carrying the code, else EndWindow
        int depth;      // after c closed
        int bRefreshes;
        int bScreenApplies;
    } cases[] = {
        {0, false, 0, 0, 0}, // the chain unwinds to the main window, which stays
        {1, false, 1, 1, 0}, // b shows again and refreshes
        {2, true, 1, 0, 1},  // b reapplies its screen settings
        {-1, true, 1, 0, 0},
    };
    OpenChainOfThree();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        if (Depth() == 0)
            OpenFrom("main", "testb");
        if (Depth() == 1)
            OpenFrom("b", "testc");
        ASSERT_EQ(Depth(), 2);
        EXPECT_FALSE(Shown("main"));
        EXPECT_FALSE(Shown("b"));
        EXPECT_TRUE(Shown("c"));
        EXPECT_TRUE(driver.ScreenShows(u"子窗口")) << "the child shows its title";
        const HWND b = driver.RunOnGui([this] {
            sender.sent.clear();
            const auto live = g_log.live;
            g_log.Clear();
            g_log.live = live;
            g_log.live.at("b")->SetMenuParams(-1, nullptr, "tc_mfuncno=31000&tc_sfuncno=4");
            return g_log.live.at("b")->GetHandle();
        });
        if (c.byMessage)
            driver.RunOnGui([&c] { g_log.live.at("c")->PostMessage(WND_MSG_CLOSE, 0, c.code); });
        else
            CloseWith("c", c.code);
        EXPECT_EQ(Depth(), c.depth);
        const CWindowLog log = Log();
        EXPECT_EQ(log.deleted.at("c"), 1);
        EXPECT_EQ(log.deleted.count("b"), c.depth == 0 ? 1u : 0u);
        EXPECT_EQ(log.childCodes.at("b"), std::vector<int>{c.code});
        EXPECT_EQ(log.refreshes.count("b") ? log.refreshes.at("b") : 0, c.bRefreshes);
        EXPECT_EQ(log.screenApplies.count("b") ? log.screenApplies.at("b") : 0, c.bScreenApplies);
        EXPECT_TRUE(Shown(c.depth == 0 ? "main" : "b"));
        if (c.depth == 0) {
            EXPECT_EQ(log.childCodes.at("main"), std::vector<int>{0}) << "main does not run modally and stays";
        }
        const auto sent = driver.RunOnGui([this] { return sender.sent; });
        ASSERT_EQ(sent.size(), static_cast<size_t>(c.bRefreshes));
        if (c.bRefreshes) {
            EXPECT_EQ(sent.back().window, b);
            EXPECT_EQ(sent.back().text.rfind("tc_mfuncno=31000&tc_sfuncno=4&", 0), 0u) << sent.back().text;
        }
    }
}

TEST_F(WindowLifeTest, AStaleCloseNoticeNeverBringsTheParentBackOverTheChildItOpenedSince) {
    // The child tells its parent something (as a login tells the trade
    // menu) and closes; the parent answers by opening another window, in
    // whose modal run the first child's close notice arrives.
    OpenChainOfThree();
    RegisterTestWindow("testd", "d");
    for (int code : {1, 0, 2}) {
        SCOPED_TRACE(code);
        driver.RunOnGui([code] {
            CTestNetWnd* c = g_log.live.at("c");
            g_log.live.at("b")->PostMessage(CTestNetWnd::kOpenKeyword, 0, reinterpret_cast<LPARAM>("testd"));
            c->EndWindow(code);
        });
        EXPECT_EQ(Depth(), 2);
        EXPECT_TRUE(Shown("d"));
        EXPECT_FALSE(Shown("b")) << "b stays under the window it opened";
        EXPECT_EQ(Log().deleted.count("b"), 0u);
        // d closing with code 1 brings b back, once; then b opens c again.
        CloseWith("d", 1);
        EXPECT_TRUE(Shown("b"));
        EXPECT_EQ(Depth(), 1);
        OpenFrom("b", "testc");
    }
}

TEST_F(WindowLifeTest, ClosingTwiceSendsTheParentOneNotice) {
    OpenChainOfThree();
    driver.RunOnGui([] {
        g_log.live.at("c")->EndWindow(1);
        g_log.live.at("c")->EndWindow(0);
    });
    EXPECT_EQ(Log().childCodes.at("b"), std::vector<int>{1});
    EXPECT_EQ(Depth(), 1);
}

TEST_F(WindowLifeTest, TheWindowManagerReportsTheCloseCodeAndNothingForAnUnknownKeyword) {
    RegisterTestWindow("testb", "b");
    StartWithMain();
    OpenFrom("main", "TESTB");
    ASSERT_EQ(Depth(), 1) << "keywords are compared ignoring case";
    CloseWith("b", 1);
    COpenResult r = driver.RunOnGui([] { return g_log.live.at("main")->lastOpen; });
    EXPECT_TRUE(r.opened);
    EXPECT_EQ(r.closeCode, 1);
    OpenFrom("main", "nosuchwindow");
    r = driver.RunOnGui([] { return g_log.live.at("main")->lastOpen; });
    EXPECT_FALSE(r.opened);
    EXPECT_EQ(Depth(), 0);
}

namespace {
// A test window labelled "b" that says when it is deleted, before it is
// destroyed: what runs on the GUI thread after that finds it gone.
class CGoneWnd : public CTestNetWnd {
public:
    explicit CGoneWnd(std::promise<void>& gone) : CTestNetWnd("b"), m_gone(gone) {}
    ~CGoneWnd() override { m_gone.set_value(); }

private:
    std::promise<void>& m_gone;
};
} // namespace

TEST_F(WindowLifeTest, AWindowClosedWithARealRequestInFlightIsDeletedOnceAndTheReplyGoesNowhere) {
    std::promise<void> gone;
    std::shared_future<void> whenGone = gone.get_future().share();
    CTestPeer peer([whenGone](int fd, const CPeerRequest&) {
        whenGone.wait_for(std::chrono::seconds(10)); // the reply comes once the window is gone
        CTestPeer::SendAll(fd, CTestPeer::Reply(std::string(4, '\0'))); // a body of no sets
        return true;
    });
    std::unique_ptr<CNetWorker> worker = CNetWorker::Create();
    ASSERT_NE(worker, nullptr);
    worker->GetConnection().SetServer("127.0.0.1", peer.Port());
    CWndManager::Instance().RegisterWindow(
        "testb", [&gone](const CWndCreateInfo&) { return std::unique_ptr<CBaseWnd>(new CGoneWnd(gone)); });
    StartWithMain();
    OpenFrom("main", "testb");
    CNetWorker* w = worker.get();
    driver.RunOnGui([w] {
        CTestNetWnd* b = g_log.live.at("b");
        b->SetWorker(w);
        CNetWnd::SetDefaultSender(nullptr);
        b->SetMenuParams(-1, nullptr, "tc_mfuncno=31000&tc_sfuncno=4");
        EXPECT_TRUE(b->SendRequest(-1, 0));
        b->EndWindow(1);
    });
    EXPECT_TRUE(w->WaitIdle(5000));
    EXPECT_EQ(peer.RequestCount(), 1);
    EXPECT_EQ(Log().deleted.at("b"), 1);
    EXPECT_EQ(Depth(), 0);
    driver.Stop();
}

TEST_F(WindowLifeTest, APressForAWindowUnderARunningChildIsDroppedNotKeptForLater) {
    OpenChainOfThree();
    // A back press for b and a bottom-bar press for main, made before c
    // opened over them, arrive while c runs.
    driver.RunOnGui([] {
        g_log.live.at("b")->PostMessage(WND_MSG_CAPTION_BACK);
        g_log.live.at("main")->PostMessage(WM_COMMAND, MakeWParam(UI_BOTTOM_BAR_ID, CBaseWnd::kToolbarLeft),
                                           CBaseWnd::kToolbarLeft);
    });
    EXPECT_EQ(Depth(), 2);
    EXPECT_TRUE(Shown("c"));
    EXPECT_EQ(driver.RunOnGui([] { return g_log.live.at("b")->TakesInput(); }), false);
    EXPECT_EQ(driver.RunOnGui([] { return g_log.live.at("c")->TakesInput(); }), true);
    // c's own back press closes c; b shows again and stays.
    driver.RunOnGui([] { g_log.live.at("c")->PostMessage(WND_MSG_CAPTION_BACK); });
    EXPECT_EQ(Depth(), 1);
    EXPECT_TRUE(Shown("b"));
    EXPECT_EQ(Log().deleted.count("b"), 0u);
    EXPECT_EQ(driver.RunOnGui([] { return g_log.live.at("b")->TakesInput(); }), true);
}
