// The request worker's own rules beside the never-twice matrix: busy and
// abort, a thread that cannot come back in time, waiting on the GUI
// thread, the re-logon that resends a sealed request, a server error
// without its set, and passwords kept out of the log.
#include "framework/net/NetFailure.h"
#include "framework/net/NetLog.h"
#include "framework/net/RequestText.h"
#include "net_SimRoad_Fixture.h"
#include "net_TestPeer.h"
#include "platform/win/CGuiTask.h"

#include <atomic>

namespace {

std::string OkReply(std::u16string_view text) { return CTestPeer::Reply(CTestPeer::Bytes(CTestPeer::OkBody(text))); }

// A socket whose receive ignores the abort signal for a while: a thread
// that cannot finish in time. It says when the receive has begun.
class CStuckSocket : public INetSocket {
public:
    explicit CStuckSocket(std::atomic<bool>& receiving) : m_receiving(receiving) {}
    NetConnect Connect(const std::string&, int, int) override { return NetConnect::Ok; }
    NetIo Send(const void*, size_t size, int, size_t* sent) override {
        *sent = size;
        return NetIo::Ok;
    }
    NetIo Receive(void*, size_t, int, size_t* received) override {
        m_receiving = true;
        m_receiving.notify_all();
        std::this_thread::sleep_for(std::chrono::milliseconds(600)); // the stuck system call
        *received = 0;
        return NetIo::Closed;
    }
    bool IsReusable() override { return false; }
    void Close() override {}

private:
    std::atomic<bool>& m_receiving;
};

class NetWorkerTest : public SimRoadTest {
protected:
    // Points the worker at peer, with no overall deadline to speak of.
    void Use(CTestPeer& peer) {
        worker->GetConnection().SetServer("127.0.0.1", peer.Port());
        worker->GetConnection().SetTimeouts(2000, 2000);
    }
    // Posts from the GUI thread without waiting for rest, which a request
    // in flight holds off.
    bool PostNow(const std::string& text, unsigned flags) {
        bool taken = false;
        driver.Loop()
            ->PostTask(std::function<void()>([&] { taken = worker->PostRequest(hwnd, text, flags); }))
            ->WaitStartedThenDone(5000);
        return taken;
    }
};

} // namespace

TEST_F(NetWorkerTest, ABusyWorkerRefusesAndAbortAndWaitAbandonsItsQueryAndTellsTheWindow) {
    CTestPeer peer([&](int fd, const CPeerRequest&) {
        peer.Pause(3000);
        CTestPeer::SendAll(fd, OkReply(u"slow"));
        return true;
    });
    Use(peer);
    EXPECT_EQ(worker->AbortAndWait(100), 0) << "idle: at once";
    ASSERT_TRUE(PostNow("TC_MFUNCNO=1&TC_SFUNCNO=1", CNetWorker::kResendOnNetFailure));
    ASSERT_TRUE(peer.WaitForRequests(1, 5000));
    EXPECT_FALSE(PostNow("TC_MFUNCNO=1&TC_SFUNCNO=2", 0)) << "busy";
    EXPECT_EQ(driver.RunOnGui([this] { return worker->AbortAndWait(2000); }), 0);
    driver.WaitForRest();
    const std::vector<CTold> told = Told();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].marks.abandoned, 1);
    EXPECT_EQ(told[0].marks.requestLeft, 1);
    EXPECT_EQ(peer.RequestCount(), 1);
    EXPECT_TRUE(PostNow("TC_MFUNCNO=1&TC_SFUNCNO=3", CNetWorker::kResendOnNetFailure)) << "idle again";
    EXPECT_EQ(worker->AbortAndWait(2000), 0);
}

TEST_F(NetWorkerTest, AbortAndWaitGivesUpWhenTheThreadCannotFinishInTime) {
    std::atomic<bool> receiving{false};
    worker->GetConnection().SetSocketFactory(
        [&receiving](CAbortSignal*) { return std::make_unique<CStuckSocket>(receiving); });
    ASSERT_TRUE(PostNow("TC_MFUNCNO=1&TC_SFUNCNO=1", CNetWorker::kResendOnNetFailure));
    receiving.wait(false);
    EXPECT_EQ(worker->AbortAndWait(50), CNetWorker::kWaitTimeout);
    EXPECT_TRUE(worker->WaitIdle(3000));
    driver.WaitForRest();
    const std::vector<CTold> told = Told();
    ASSERT_EQ(told.size(), 1u) << "told once the thread came back";
    EXPECT_EQ(told[0].marks.abandoned, 1);
}

TEST_F(NetWorkerTest, WaitIdleOnTheGuiThreadTakesTheReplyAndInsideTheReplyEndsWithItsTime) {
    CTestPeer peer([](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, OkReply(u"reply"));
        return true;
    });
    Use(peer);
    // Waiting on the GUI thread, which must take the reply, does not block it.
    const size_t inside = driver.RunOnGui([this] {
        worker->PostRequest(hwnd, "TC_MFUNCNO=1&TC_SFUNCNO=1", 0);
        return worker->WaitIdle(3000) ? window->told_.size() : size_t(99);
    });
    EXPECT_EQ(inside, 1u);
    // Inside the reply's handler the worker stays busy until it returns:
    // the wait can only end with its time.
    std::atomic<int> waited{-1};
    driver.RunOnGui([&] { window->onReply = [&] { waited = worker->WaitIdle(200) ? 1 : 0; }; });
    ASSERT_TRUE(Post("TC_MFUNCNO=1&TC_SFUNCNO=1", 0));
    EXPECT_EQ(waited.load(), 0);
    EXPECT_TRUE(worker->WaitIdle(2000));
}

TEST_F(NetWorkerTest, ALostSessionLogsOnAgainAndResendsTheSealedRequestUnderTheNewKey) {
    // The server knows no logon with this key: its seal does not open,
    // which is a lost session.
    const std::string oldKey = "Ab3dE6gH9jK2mN5p";
    context.OnSessionRenewed(oldKey, "S-OLD");
    CCommonTail tail;
    tail.imei = "861234567890123";
    tail.session = "S-OLD";
    std::string text;
    ASSERT_TRUE(ComposeRequest(500, 3, "fundid=1", tail, true, oldKey, &text));
    ASSERT_TRUE(Post(text, CNetWorker::kResendOnNetFailure));

    const std::vector<SimRequest> log = sim.GetRequestLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].Get("fundid"), "") << "not opened";
    EXPECT_EQ(log[1].main * 1000 + log[1].sub, 100001) << "the logon";
    EXPECT_EQ(log[1].Get("imei"), "861234567890123");
    EXPECT_TRUE(log[1].Has("session"));
    EXPECT_TRUE(log[2].sealed);
    EXPECT_EQ(log[2].Get("fundid"), "1");
    EXPECT_EQ(log[2].Get("imei"), "861234567890123");
    EXPECT_EQ(log[2].Get("session"), sim.GetSessionString());
    EXPECT_EQ(log[2].sessionKey, sim.GetSessionKey());
    EXPECT_EQ(context.GetSessionKey(), sim.GetSessionKey());
    EXPECT_EQ(Told().size(), 1u);
}

TEST_F(NetWorkerTest, AServerErrorWithoutItsErrorSetIsCodeFive) {
    CTestPeer peer([](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, CTestPeer::Reply("", "3,0,0,0"));
        return true;
    });
    Use(peer);
    ASSERT_TRUE(Post("TC_MFUNCNO=1&TC_SFUNCNO=1", 0));
    const std::vector<CTold> told = Told();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].text, NetFailureMessage(NET_ERR_SERVER));
    EXPECT_EQ(told[0].marks.networkFailure, 0);
}

TEST_F(NetWorkerTest, ARequestCarryingAPasswordInClearIsRefusedAndTheLogShowsNoPassword) {
    std::vector<std::string> lines;
    std::mutex linesLock;
    SetNetLogHook([&](const std::string& line) {
        std::lock_guard<std::mutex> guard(linesLock);
        lines.push_back(line);
    });
    EXPECT_FALSE(Post("TC_MFUNCNO=500&TC_SFUNCNO=3&trdpwd=135790&newpwd =246801", 0));
    SetNetLogHook(nullptr);
    EXPECT_TRUE(sim.GetRequestLog().empty());
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find("135790"), std::string::npos) << line;
        EXPECT_EQ(line.find("246801"), std::string::npos) << line;
    }
}
