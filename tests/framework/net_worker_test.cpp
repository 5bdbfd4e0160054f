// The request worker end to end over loopback: delivery to the window that
// asked, failures as error sets, the resend rules, busy and abort, and the
// re-logon after a lost session.
#include "framework/net/CNetWorker.h"
#include "framework/net/INetContext.h"
#include "framework/net/NetFailure.h"
#include "framework/net/NetLog.h"
#include "framework/net/NetMessages.h"
#include "framework/net/RequestText.h"
#include "net_TestPeer.h"

#include "core/CDataSetList.h"
#include "platform/testing/CGTestDriver.h"
#include "platform/win/CGuiTask.h"
#include "platform/win/UiWin.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <atomic>
#include <fstream>
#include <sstream>

namespace {
const std::string kKey = "Ab3dE6gH9jK2mN5p";

// The reply of a service logon that hands out session.
std::string LogonReply(const char* session) {
    CDataSetWriter writer;
    writer.AddSet("logon");
    int column = writer.AddColumn(DataSetType::AnsiText, "session");
    writer.AddRow();
    writer.SetAnsiText(column, session);
    return CTestPeer::Reply(CTestPeer::Bytes(writer.Serialize()));
}

// A peer script: the first request meets a lost session (error 100), every
// later one is answered as the logon that renews it to "S-NEW".
CTestPeer::Handler LostSessionThenLogon(std::atomic<int>& seen) {
    return [&seen](int fd, const CPeerRequest&) {
        if (++seen == 1)
            CTestPeer::SendAll(fd, CTestPeer::Reply("", "\"100,0,0,0\""));
        else
            CTestPeer::SendAll(fd, LogonReply("S-NEW"));
        return true;
    };
}

struct CReceived {
    std::u16string text; // field 0 of the first set's first row
    bool isError = false;
    int networkFailure = 0;
    int requestLeft = 0;
    int outcomeUnknown = 0;
    int abandoned = 0;
};

// A window that keeps a copy of every reply it is sent.
class CReplyWin : public UiWin {
public:
    ~CReplyWin() override { Destroy(); }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != NET_MSG_REPLY_READY)
            return UiWin::WndProc(msg, wParam, lParam);
        const CNetReply* reply = NetReplyFromLParam(lParam);
        CDataSetList list(reply->body, reply->length);
        CReceived got;
        got.isError = list.IsError();
        got.networkFailure = reply->networkFailure;
        got.requestLeft = reply->requestLeft;
        got.outcomeUnknown = reply->outcomeUnknown;
        got.abandoned = reply->abandoned;
        if (got.isError) {
            got.text = list.GetErrorText().str();
        } else if (CDataSet* set = *list.GetAt(0); set && set->MoveFirst()) {
            got.text = set->GetFieldText(0).str();
        }
        replies.push_back(got);
        if (onReply)
            onReply();
        return 1;
    }
    std::vector<CReceived> replies;
    std::function<void()> onReply; // runs inside the reply's send
};

class CTestContext : public INetContext {
public:
    std::string GetSessionKey() override {
        std::lock_guard<std::mutex> guard(lock);
        return key;
    }
    void OnSessionRenewed(const std::string& newKey, const std::string& newSession) override {
        std::lock_guard<std::mutex> guard(lock);
        key = newKey;
        session = newSession;
    }
    int GetConnectType() override { return 0; }
    void AddTraffic(std::uint64_t s, std::uint64_t r) override {
        sent += s;
        received += r;
    }
    std::string GetPublicKeyPath() override { return std::string(ORB_SOURCE_DIR) + "/resources/pubkey.bin"; }

    std::mutex lock;
    std::string key = kKey;
    std::string session = "S-OLD";
    std::atomic<std::uint64_t> sent{0};
    std::atomic<std::uint64_t> received{0};
};

// A socket whose receive ignores the abort signal for a while: a thread
// that cannot finish in time.
class CStuckSocket : public INetSocket {
public:
    NetConnect Connect(const std::string&, int, int) override { return NetConnect::Ok; }
    NetIo Send(const void*, size_t size, int, size_t* sent) override {
        *sent = size;
        return NetIo::Ok;
    }
    NetIo Receive(void*, size_t, int, size_t* received) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        *received = 0;
        return NetIo::Closed;
    }
    bool IsReusable() override { return false; }
    void Close() override {}
};

// The simulated server's half of the service logon cipher.
std::string OpenLogonKey(const std::string& hex) {
    std::ifstream file(std::string(ORB_SOURCE_DIR) + "/tools/simulator/test_rsa_private.pem");
    std::stringstream pem;
    pem << file.rdbuf();
    std::string text = pem.str();
    BIO* bio = BIO_new_mem_buf(text.data(), static_cast<int>(text.size()));
    EVP_PKEY* pkey = PEM_read_bio_PrivateKey(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    std::vector<unsigned char> cipher(hex.size() / 2);
    for (size_t i = 0; i < cipher.size(); ++i)
        cipher[i] = static_cast<unsigned char>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    std::string plain;
    EVP_PKEY_CTX* ctx = pkey ? EVP_PKEY_CTX_new(pkey, nullptr) : nullptr;
    size_t length = 0;
    if (ctx && EVP_PKEY_decrypt_init(ctx) > 0 && EVP_PKEY_CTX_set_rsa_padding(ctx, RSA_PKCS1_OAEP_PADDING) > 0 &&
        EVP_PKEY_decrypt(ctx, nullptr, &length, cipher.data(), cipher.size()) > 0) {
        plain.resize(length);
        if (EVP_PKEY_decrypt(ctx, reinterpret_cast<unsigned char*>(plain.data()), &length, cipher.data(),
                             cipher.size()) > 0)
            plain.resize(length);
        else
            plain.clear();
    }
    EVP_PKEY_CTX_free(ctx);
    EVP_PKEY_free(pkey);
    return plain;
}

std::string OkReply(std::u16string_view text) { return CTestPeer::Reply(CTestPeer::Bytes(CTestPeer::OkBody(text))); }

class NetWorkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(driver.Start([this] {
            window = std::make_unique<CReplyWin>();
            window->Create(nullptr, {0, 0, 100, 100});
            hwnd = window->GetHandle();
        }));
        worker = CNetWorker::Create();
        ASSERT_TRUE(worker);
        worker->SetContext(&context);
        worker->GetConnection().SetTimeouts(2000, 2000);
    }
    void TearDown() override {
        worker.reset();
        driver.RunOnGui([this] { window.reset(); });
        driver.Stop();
    }
    void Use(CTestPeer& peer) { worker->GetConnection().SetServer("127.0.0.1", peer.Port()); }
    // Posts from the GUI thread and waits until the reply has been handled.
    bool PostAndSettle(const std::string& text, unsigned flags) {
        bool accepted = driver.RunOnGui([&] { return worker->PostRequest(hwnd, text, flags); });
        driver.WaitForRest();
        return accepted;
    }
    // Runs fn on the GUI thread without waiting for rest (which a request
    // in flight would hold off).
    template <class F>
    void OnGuiNow(F fn) {
        driver.Loop()->PostTask(std::function<void()>(fn))->WaitStartedThenDone(5000);
    }
    std::vector<CReceived> Replies() {
        return driver.RunOnGui([this] { return window->replies; });
    }

    CGTestDriver driver;
    std::unique_ptr<CReplyWin> window;
    HWND hwnd = nullptr;
    CTestContext context;
    std::unique_ptr<CNetWorker> worker;
};
} // namespace

TEST_F(NetWorkerTest, TheReplyReachesTheWindowThatAskedAndTheTrafficIsCounted) {
    CTestPeer peer([](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, OkReply(u"行情"));
        return true;
    });
    Use(peer);
    ASSERT_TRUE(PostAndSettle("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=1", CNetWorker::kResendOnNetFailure));
    std::vector<CReceived> replies = Replies();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].text, u"行情");
    EXPECT_FALSE(replies[0].isError);
    EXPECT_EQ(replies[0].networkFailure, 0);
    EXPECT_TRUE(worker->IsIdle());
    EXPECT_EQ(context.sent.load(), worker->GetConnection().GetBytesSent());
    EXPECT_GT(context.received.load(), 0u);
}

TEST_F(NetWorkerTest, ARequestWithoutTheResendFlagReachesThePeerOnceAndTheWindowGetsTheFailure) {
    CTestPeer peer([](int, const CPeerRequest&) { return false; });
    Use(peer);
    ASSERT_TRUE(PostAndSettle("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=1", 0));
    EXPECT_EQ(peer.RequestCount(), 1);
    std::vector<CReceived> replies = Replies();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_TRUE(replies[0].isError);
    EXPECT_EQ(replies[0].text, u"错误(4)：接收数据失败，请重试");
    EXPECT_EQ(replies[0].networkFailure, 1);
    EXPECT_EQ(replies[0].requestLeft, 1);
    EXPECT_EQ(replies[0].outcomeUnknown, 0); // a query: the six texts stay
}

TEST_F(NetWorkerTest, AQueryWithTheResendFlagIsRetriedOnceAfterTheConnectionDrops) {
    std::atomic<int> seen{0};
    CTestPeer peer([&](int fd, const CPeerRequest&) {
        if (++seen == 1)
            return false;
        CTestPeer::SendAll(fd, OkReply(u"second try"));
        return true;
    });
    Use(peer);
    ASSERT_TRUE(PostAndSettle("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=1", CNetWorker::kResendOnNetFailure));
    EXPECT_EQ(peer.RequestCount(), 2);
    std::vector<CReceived> replies = Replies();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].text, u"second try");
}

TEST_F(NetWorkerTest, AnOrderOrAMarkedRequestReachesThePeerOnceEvenWithTheResendFlag) {
    CTestPeer peer([](int, const CPeerRequest&) { return false; });
    Use(peer);
    const std::pair<const char*, unsigned> cases[] = {
        {"TC_MFUNCNO=500&TC_SFUNCNO=6&TC_REQDATA=00", CNetWorker::kResendOnNetFailure},
        {"tc_mfuncno=500&tc_sfuncno=7&x=1", CNetWorker::kResendOnNetFailure},
        {"TC_MFUNCNO=500&TC_SFUNCNO=3&x=1", CNetWorker::kResendOnNetFailure | CNetWorker::kNeverResend},
    };
    int expected = 0;
    for (auto [text, flags] : cases) {
        ASSERT_TRUE(PostAndSettle(text, flags));
        EXPECT_EQ(peer.RequestCount(), ++expected) << text;
    }
    std::vector<CReceived> replies = Replies();
    ASSERT_EQ(replies.size(), 3u);
    for (const CReceived& r : replies) {
        EXPECT_EQ(r.networkFailure, 1);
        EXPECT_EQ(r.outcomeUnknown, 1);
        EXPECT_EQ(r.text, kOutcomeUnknownText);
    }
}

TEST_F(NetWorkerTest, AServerErrorReachesTheWindowAsItsErrorSetOrAsCodeFive) {
    std::atomic<int> seen{0};
    CTestPeer peer([&](int fd, const CPeerRequest&) {
        if (++seen == 1)
            CTestPeer::SendAll(fd, CTestPeer::Reply(CTestPeer::Bytes(CDataSetWriter::ErrorBody(u"委托失败")), "3,0,0,0"));
        else
            CTestPeer::SendAll(fd, CTestPeer::Reply("", "3,0,0,0"));
        return true;
    });
    Use(peer);
    ASSERT_TRUE(PostAndSettle("TC_MFUNCNO=1&TC_SFUNCNO=1", 0));
    ASSERT_TRUE(PostAndSettle("TC_MFUNCNO=1&TC_SFUNCNO=1", 0));
    std::vector<CReceived> replies = Replies();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].text, u"委托失败");
    EXPECT_EQ(replies[0].networkFailure, 0);
    EXPECT_EQ(replies[1].text, u"错误(5)：接收到一个错误信息");
    EXPECT_EQ(replies[1].networkFailure, 0);
}

TEST_F(NetWorkerTest, AnUnreadableBodyIsCodeSix) {
    CTestPeer peer([](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, CTestPeer::Reply("not record sets"));
        return true;
    });
    Use(peer);
    ASSERT_TRUE(PostAndSettle("TC_MFUNCNO=1&TC_SFUNCNO=1", 0));
    std::vector<CReceived> replies = Replies();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].text, u"错误(6)：数据接收不全或格式错误");
}

TEST_F(NetWorkerTest, AReplyForAWindowDestroyedMeanwhileIsDropped) {
    std::atomic<bool> release{false};
    CTestPeer peer([&](int fd, const CPeerRequest&) {
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        CTestPeer::SendAll(fd, OkReply(u"too late"));
        return true;
    });
    Use(peer);
    ASSERT_TRUE(worker->PostRequest(hwnd, "TC_MFUNCNO=1&TC_SFUNCNO=1", 0));
    ASSERT_TRUE(peer.RequestCount() <= 1);
    OnGuiNow([this] { window.reset(); });
    auto start = std::chrono::steady_clock::now();
    release = true;
    EXPECT_TRUE(worker->WaitIdle(3000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    driver.WaitForRest();
    EXPECT_EQ(peer.RequestCount(), 1);
    EXPECT_FALSE(driver.RunOnGui([this] { return UiWin::IsWindow(hwnd); }));
}

TEST_F(NetWorkerTest, ARequestOfferedToABusyWorkerIsReportedAsNotSent) {
    CTestPeer peer([&](int, const CPeerRequest&) {
        peer.Pause(3000);
        return false;
    });
    Use(peer);
    ASSERT_TRUE(worker->PostRequest(hwnd, "TC_MFUNCNO=1&TC_SFUNCNO=1", CNetWorker::kResendOnNetFailure));
    EXPECT_FALSE(worker->IsIdle());
    bool second = true;
    OnGuiNow([&] { second = worker->PostRequest(hwnd, "TC_MFUNCNO=1&TC_SFUNCNO=2", 0); });
    EXPECT_FALSE(second);
    EXPECT_FALSE(worker->IsIdle());
    EXPECT_EQ(worker->AbortAndWait(2000), 0);
    EXPECT_TRUE(worker->PostRequest(nullptr, "TC_MFUNCNO=1&TC_SFUNCNO=3", 0)); // idle again
    EXPECT_EQ(worker->AbortAndWait(2000), 0);
}

TEST_F(NetWorkerTest, AbortAndWaitAbandonsASlowQueryAndTellsItsWindow) {
    CTestPeer peer([&](int fd, const CPeerRequest&) {
        peer.Pause(3000);
        CTestPeer::SendAll(fd, OkReply(u"slow"));
        return true;
    });
    Use(peer);
    EXPECT_EQ(worker->AbortAndWait(100), 0); // idle: at once
    ASSERT_TRUE(worker->PostRequest(hwnd, "TC_MFUNCNO=1&TC_SFUNCNO=1", CNetWorker::kResendOnNetFailure));
    ASSERT_TRUE(peer.RequestCount() <= 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(driver.RunOnGui([this] { return worker->AbortAndWait(2000); }), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    driver.WaitForRest();
    std::vector<CReceived> replies = Replies();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].abandoned, 1);
    EXPECT_EQ(replies[0].requestLeft, 1);
    EXPECT_EQ(peer.RequestCount(), 1);
}

TEST_F(NetWorkerTest, AbortAndWaitGivesUpWhenTheThreadCannotFinishInTime) {
    worker->GetConnection().SetSocketFactory([](CAbortSignal*) { return std::make_unique<CStuckSocket>(); });
    worker->GetConnection().SetServer("127.0.0.1", 1);
    ASSERT_TRUE(worker->PostRequest(hwnd, "TC_MFUNCNO=1&TC_SFUNCNO=1", CNetWorker::kResendOnNetFailure));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(worker->AbortAndWait(50), CNetWorker::kWaitTimeout);
    EXPECT_TRUE(worker->WaitIdle(3000));
    driver.WaitForRest();
    std::vector<CReceived> replies = Replies();
    ASSERT_EQ(replies.size(), 1u); // told once the thread came back
    EXPECT_EQ(replies[0].abandoned, 1);
}

TEST_F(NetWorkerTest, WaitIdleOnTheGuiThreadTakesTheReplyInsteadOfBlockingIt) {
    CTestPeer peer([](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, OkReply(u"taken while waiting"));
        return true;
    });
    Use(peer);
    size_t inside = driver.RunOnGui([this] {
        worker->PostRequest(hwnd, "TC_MFUNCNO=1&TC_SFUNCNO=1", 0);
        bool idle = worker->WaitIdle(3000);
        return idle ? window->replies.size() : size_t(99);
    });
    EXPECT_EQ(inside, 1u);
}

TEST_F(NetWorkerTest, ALostSessionLogsOnAgainAndResendsTheSealedRequestUnderTheNewKey) {
    std::atomic<int> seen{0};
    std::string newKey;
    std::string resentPlain;
    CTestPeer peer([&](int fd, const CPeerRequest& request) {
        int n = ++seen;
        if (n == 1) {
            CTestPeer::SendAll(fd, CTestPeer::Reply("", "\"100,0,0,0\""));
        } else if (n == 2) {
            newKey = OpenLogonKey(CTestPeer::Param(request.body, "key"));
            CTestPeer::SendAll(fd, LogonReply("S-NEW"));
        } else {
            std::string text = request.body.substr(request.body.find("TC_MFUNCNO"));
            resentPlain = OpenSealedRequest(text, newKey).value_or("<does not open>");
            CTestPeer::SendAll(fd, OkReply(u"after logon"));
        }
        return true;
    });
    Use(peer);
    CCommonTail tail;
    tail.imei = "861234567890123";
    tail.session = "S-OLD";
    std::string text;
    ASSERT_TRUE(ComposeRequest(500, 3, "fundid=1", tail, true, kKey, &text));
    ASSERT_TRUE(PostAndSettle(text, CNetWorker::kResendOnNetFailure));

    ASSERT_EQ(peer.RequestCount(), 3);
    std::string logon = peer.Requests()[1].body;
    EXPECT_NE(logon.find("TC_MFUNCNO=100&TC_SFUNCNO=1&key="), std::string::npos);
    EXPECT_NE(logon.find("&imei=861234567890123&"), std::string::npos);
    EXPECT_NE(logon.find("&session="), std::string::npos);
    EXPECT_EQ(newKey.size(), 16u);
    EXPECT_EQ(newKey.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
              std::string::npos);
    EXPECT_EQ(context.GetSessionKey(), newKey);
    EXPECT_EQ(context.session, "S-NEW");
    EXPECT_EQ(resentPlain.rfind("fundid=1&imei=861234567890123&", 0), 0u);
    EXPECT_EQ(resentPlain.substr(resentPlain.size() - 14), "&session=S-NEW");
    std::vector<CReceived> replies = Replies();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].text, u"after logon");
}

TEST_F(NetWorkerTest, AnOrderMetByALostSessionIsNotResentButTheSessionIsRenewed) {
    std::atomic<int> seen{0};
    CTestPeer peer(LostSessionThenLogon(seen));
    Use(peer);
    ASSERT_TRUE(PostAndSettle("TC_MFUNCNO=500&TC_SFUNCNO=6&code=1&session=S-OLD", CNetWorker::kResendOnNetFailure));
    EXPECT_EQ(peer.RequestCount(), 2); // the order, then the logon; never the order again
    EXPECT_EQ(context.session, "S-NEW");
    std::vector<CReceived> replies = Replies();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].text, u"错误(5)：接收到一个错误信息");
}

TEST_F(NetWorkerTest, ARequestWithoutTheResendFlagMetByALostSessionIsNotResentButTheSessionIsRenewed) {
    std::atomic<int> seen{0};
    CTestPeer peer(LostSessionThenLogon(seen));
    Use(peer);
    ASSERT_TRUE(PostAndSettle("TC_MFUNCNO=500&TC_SFUNCNO=3&session=S-OLD", 0));
    EXPECT_EQ(peer.RequestCount(), 2); // the request, then the logon; never the request again
    EXPECT_EQ(context.session, "S-NEW");
    std::vector<CReceived> replies = Replies();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].text, u"错误(5)：接收到一个错误信息");
}

TEST_F(NetWorkerTest, WaitIdleInsideTheReplyHandlerEndsWithItsTimeInsteadOfSpinning) {
    CTestPeer peer([](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, OkReply(u"reply"));
        return true;
    });
    Use(peer);
    std::atomic<int> waited{-1};
    std::atomic<long long> tookMs{-1};
    driver.RunOnGui([&] {
        window->onReply = [&] {
            // The worker stays busy until this handler returns.
            auto start = std::chrono::steady_clock::now();
            waited = worker->WaitIdle(200) ? 1 : 0;
            tookMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                         .count();
        };
    });
    ASSERT_TRUE(PostAndSettle("TC_MFUNCNO=1&TC_SFUNCNO=1", 0));
    EXPECT_EQ(waited.load(), 0);
    EXPECT_GE(tookMs.load(), 150);
    EXPECT_LT(tookMs.load(), 2000);
    EXPECT_TRUE(worker->WaitIdle(2000));
}

TEST_F(NetWorkerTest, TheLogShowsNoPassword) {
    std::vector<std::string> lines;
    std::mutex linesLock;
    SetNetLogHook([&](const std::string& line) {
        std::lock_guard<std::mutex> guard(linesLock);
        lines.push_back(line);
    });
    CTestPeer peer([](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, OkReply(u"ok"));
        return true;
    });
    Use(peer);
    // A password outside the sealed data is refused unsent, and even the
    // refusal's log line hides it.
    EXPECT_FALSE(PostAndSettle("TC_MFUNCNO=500&TC_SFUNCNO=3&trdpwd=135790&newpwd =246801", 0));
    EXPECT_EQ(peer.RequestCount(), 0);
    SetNetLogHook(nullptr);
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find("135790"), std::string::npos) << line;
        EXPECT_EQ(line.find("246801"), std::string::npos) << line;
    }
}
