// Window life: modal chains over the main window, close codes acting on the
// parent, each window deleted exactly once (run under ASan), and replies
// that arrive for a window already gone.
#include "ui_Fixture.h"

#include "framework/net/CNetWorker.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

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

TEST_F(WindowLifeTest, OpeningAChildHidesItsParentAndShowsTheChildWithItsTitle) {
    OpenChainOfThree();
    EXPECT_FALSE(Shown("main"));
    EXPECT_FALSE(Shown("b"));
    EXPECT_TRUE(Shown("c"));
    EXPECT_TRUE(driver.ScreenShows(u"子窗口"));
}

TEST_F(WindowLifeTest, CloseCodeZeroUnwindsTheChainBackToTheMainWindowDeletingEachOnce) {
    OpenChainOfThree();
    CloseWith("c", 0);
    EXPECT_EQ(Depth(), 0);
    const CWindowLog log = Log();
    EXPECT_EQ(log.deleted.at("c"), 1);
    EXPECT_EQ(log.deleted.at("b"), 1);
    EXPECT_EQ(log.deleted.count("main"), 0u);
    EXPECT_EQ(log.childCodes.at("b"), std::vector<int>{0});
    EXPECT_EQ(log.childCodes.at("main"), std::vector<int>{0});
    EXPECT_TRUE(Shown("main")) << "the main window does not run modally and stays";
}

TEST_F(WindowLifeTest, CloseCodeOneShowsTheParentAgainAndRefreshesIt) {
    OpenChainOfThree();
    driver.RunOnGui([] { g_log.live.at("b")->SetMenuParams(-1, nullptr, "tc_mfuncno=31000&tc_sfuncno=4"); });
    HWND b = driver.RunOnGui([] { return g_log.live.at("b")->GetHandle(); });
    CloseWith("c", 1);
    EXPECT_EQ(Depth(), 1);
    EXPECT_TRUE(Shown("b"));
    const CWindowLog log = Log();
    EXPECT_EQ(log.deleted.at("c"), 1);
    EXPECT_EQ(log.deleted.count("b"), 0u);
    EXPECT_EQ(log.refreshes.at("b"), 1);
    EXPECT_EQ(log.screenApplies.count("b"), 0u);
    const auto sent = driver.RunOnGui([this] { return sender.sent; });
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().window, b);
    EXPECT_EQ(sent.back().text.rfind("tc_mfuncno=31000&tc_sfuncno=4&", 0), 0u) << sent.back().text;
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

TEST_F(WindowLifeTest, CloseCodeTwoReappliesTheScreenSettingsOfTheParent) {
    OpenChainOfThree();
    CloseWith("c", 2);
    EXPECT_EQ(Depth(), 1);
    const CWindowLog log = Log();
    EXPECT_EQ(log.screenApplies.at("b"), 1);
    EXPECT_EQ(log.refreshes.count("b"), 0u);
    EXPECT_TRUE(Shown("b"));
}

TEST_F(WindowLifeTest, TheCloseMessageClosesAWindowWithTheCodeItCarries) {
    OpenChainOfThree();
    driver.RunOnGui([] { g_log.live.at("c")->PostMessage(WND_MSG_CLOSE, 0, 2); });
    EXPECT_EQ(Log().childCodes.at("b"), std::vector<int>{2});
    driver.RunOnGui([] { g_log.live.at("b")->PostMessage(WND_MSG_CLOSE, 0, -1); });
    EXPECT_EQ(Depth(), 0);
    EXPECT_EQ(Log().childCodes.at("main"), std::vector<int>{-1});
    EXPECT_TRUE(Shown("main"));
    EXPECT_EQ(Log().deleted.at("b"), 1);
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

TEST_F(WindowLifeTest, AReplyForAWindowClosedWhileItsRequestWasOutIsDropped) {
    RegisterTestWindow("testb", "b");
    StartWithMain();
    OpenFrom("main", "testb");
    driver.RunOnGui([] {
        CTestNetWnd* b = g_log.live.at("b");
        b->SetMenuParams(-1, nullptr, "tc_mfuncno=31000&tc_sfuncno=4");
        b->Refresh();
    });
    HWND handle = driver.RunOnGui([this] { return sender.sent.empty() ? nullptr : sender.sent.back().window; });
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(driver.RunOnGui([] { return g_log.live.at("b")->GetCaptionBar().IsBusy(); }));
    CloseWith("b", 1);
    EXPECT_EQ(Log().deleted.at("b"), 1);
    const LRESULT r = driver.RunOnGui([handle] {
        static const char body[] = "late";
        CNetReply reply{reinterpret_cast<const std::uint8_t*>(body), 4, 0};
        return UiMessageLoop::Current()->Send(handle, NET_MSG_REPLY_READY, 0, reinterpret_cast<LPARAM>(&reply));
    });
    EXPECT_EQ(r, 0);
}

// A server that takes one request and answers it only when told to, so a
// real worker has the request in flight while the window closes.
class CSlowServer {
public:
    CSlowServer() {
        m_listen = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        socklen_t len = sizeof addr;
        getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        listen(m_listen, 1);
        m_thread = std::thread([this] { Serve(); });
    }
    ~CSlowServer() {
        m_answer = true;
        shutdown(m_listen, SHUT_RDWR);
        close(m_listen);
        m_thread.join();
    }
    int Port() const { return m_port; }
    bool GotRequest() const { return m_got; }
    void Answer() { m_answer = true; }

private:
    void Serve() {
        int c = accept(m_listen, nullptr, nullptr);
        if (c < 0)
            return;
        char buf[4096];
        if (recv(c, buf, sizeof buf, 0) > 0)
            m_got = true;
        while (!m_answer)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::string reply = "HTTP/1.1 200 OK\r\nETag: \"0,0,0,0\"\r\nContent-Length: 4\r\n\r\n";
        reply.append(4, '\0'); // a body of no sets
        send(c, reply.data(), reply.size(), MSG_NOSIGNAL);
        close(c);
    }
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_got{false};
    std::atomic<bool> m_answer{false};
    std::thread m_thread;
};

TEST_F(WindowLifeTest, AWindowClosedWithARealRequestInFlightIsDeletedOnceAndTheReplyGoesNowhere) {
    CSlowServer server;
    std::unique_ptr<CNetWorker> worker = CNetWorker::Create();
    ASSERT_NE(worker, nullptr);
    worker->GetConnection().SetServer("127.0.0.1", server.Port());
    RegisterTestWindow("testb", "b");
    StartWithMain();
    OpenFrom("main", "testb");
    CNetWorker* w = worker.get();
    driver.SetRestTimeout(10000);
    // The request goes out; the window closes at once, before the reply.
    std::thread answer([&server] {
        while (!server.GotRequest())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        server.Answer();
    });
    driver.RunOnGui([w] {
        CTestNetWnd* b = g_log.live.at("b");
        b->SetRequestSender(nullptr);
        b->SetWorker(w);
        CNetWnd::SetDefaultSender(nullptr);
        b->SetMenuParams(-1, nullptr, "tc_mfuncno=31000&tc_sfuncno=4");
        EXPECT_TRUE(b->SendRequest(-1, 0));
        b->EndWindow(1);
    });
    answer.join();
    EXPECT_TRUE(driver.WaitForRest());
    EXPECT_TRUE(w->WaitIdle(2000));
    EXPECT_EQ(Log().deleted.at("b"), 1);
    EXPECT_EQ(Depth(), 0);
    driver.Stop();
}
