// The HTTP POST client against a loopback peer: framing, opening and
// unpacking, the gateway form, and every way the exchange fails.
#include "framework/net/CHttpPostClient.h"
#include "platform/net/CTcpSocket.h"
#include "framework/net/NetFailure.h"
#include "net_TestPeer.h"

#include "core/CDataSetList.h"

#include <gtest/gtest.h>

namespace {
const std::string kKey = "Ab3dE6gH9jK2mN5p";

class HttpClientTest : public ::testing::Test {
protected:
    void Use(CTestPeer& peer, int ioTimeoutMs = 2000) {
        client.SetServer("127.0.0.1", peer.Port());
        client.SetTimeouts(2000, ioTimeoutMs);
    }
    static std::u16string FirstText(const std::vector<uint8_t>& body) {
        CDataSetList list(body.data(), static_cast<int>(body.size()));
        CDataSet* set = *list.GetAt(0);
        if (!set || !set->MoveFirst())
            return u"<none>";
        return set->GetFieldText(0).str();
    }
    CHttpPostClient client;
};

// A socket that hands over only the first n bytes of a send, then fails.
class CFailingSocket : public INetSocket {
public:
    explicit CFailingSocket(size_t sendLimit) : m_limit(sendLimit) {}
    NetConnect Connect(const std::string&, int, int) override { return NetConnect::Ok; }
    NetIo Send(const void*, size_t size, int, size_t* sent) override {
        *sent = std::min(size, m_limit);
        return *sent == size ? NetIo::Ok : NetIo::Failed;
    }
    NetIo Receive(void*, size_t, int, size_t* received) override {
        *received = 0;
        return NetIo::Closed;
    }
    bool IsReusable() override { return false; }
    void Close() override {}

private:
    size_t m_limit;
};
} // namespace

TEST_F(HttpClientTest, AContentLengthReplyArrivesWholeAndTheRequestCarriesTheServicePrefix) {
    CTestPeer peer([](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, CTestPeer::Reply(CTestPeer::Bytes(CTestPeer::OkBody(u"你好"))));
        return true;
    });
    Use(peer);
    CHttpOutcome out = client.Post("TC_MFUNCNO=1&TC_SFUNCNO=2&a=b", "");
    ASSERT_EQ(out.transportCode, 0);
    EXPECT_EQ(FirstText(out.body), u"你好");
    ASSERT_EQ(peer.RequestCount(), 1);
    CPeerRequest request = peer.Requests()[0];
    EXPECT_EQ(request.body, "tc_service=300&tc_isunicode=1&TC_MFUNCNO=1&TC_SFUNCNO=2&a=b");
    EXPECT_EQ(request.head.rfind("POST / HTTP/1.1\r\n", 0), 0u);
    EXPECT_NE(request.head.find("Host: 127.0.0.1:" + std::to_string(peer.Port())), std::string::npos);
    EXPECT_EQ(client.GetBytesSent(), out.bytesSent);
    EXPECT_GT(out.bytesReceived, out.body.size());
}

TEST_F(HttpClientTest, AChunkedReplyIsJoinedAndTheConnectionServesTheNextRequest) {
    CTestPeer peer([](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, CTestPeer::ChunkedReply(CTestPeer::Bytes(CTestPeer::OkBody(u"chunks")), 7));
        return true;
    });
    Use(peer);
    for (int i = 0; i < 3; ++i) {
        CHttpOutcome out = client.Post("x=1", "");
        ASSERT_EQ(out.transportCode, 0);
        EXPECT_EQ(FirstText(out.body), u"chunks");
    }
    EXPECT_EQ(peer.ConnectionCount(), 1);
    // A protected request never rides a kept connection the server may be
    // closing: it would fail unread after it left.
    ASSERT_EQ(client.Post("x=1", "", true).transportCode, 0);
    EXPECT_EQ(peer.ConnectionCount(), 2);
}

TEST_F(HttpClientTest, ASealedAndPackedBodyIsOpenedThenUnpacked) {
    CTestPeer peer([](int fd, const CPeerRequest&) {
        std::vector<uint8_t> plain = CTestPeer::OkBody(u"sealed");
        std::vector<uint8_t> packed = ZlibCompress(plain.data(), plain.size());
        std::vector<uint8_t> envelope(SealedSize(static_cast<int>(packed.size())));
        int n = SealData(kKey.c_str(), packed.data(), static_cast<int>(packed.size()), envelope.data());
        envelope.resize(n > 0 ? n : 0);
        CTestPeer::SendAll(fd, CTestPeer::ChunkedReply(CTestPeer::Bytes(envelope), 5, "\"0,0,18,36\""));
        return true;
    });
    Use(peer);
    CHttpOutcome out = client.Post("x=1", kKey);
    ASSERT_EQ(out.transportCode, 0);
    EXPECT_EQ(FirstText(out.body), u"sealed");
    // Without the key, or with another, the body does not open.
    EXPECT_EQ(client.Post("x=1", "").transportCode, NET_ERR_BAD_REPLY);
    EXPECT_EQ(client.Post("x=1", "other-key-123456").transportCode, NET_ERR_BAD_REPLY);
}

TEST_F(HttpClientTest, TheGatewayConnectionGoesToTheProxyAndNamesTheServer) {
    CTestPeer proxy([](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, CTestPeer::Reply(CTestPeer::Bytes(CTestPeer::OkBody(u"via"))));
        return true;
    });
    client.SetServer("broker.example", 8002);
    client.SetGateway("127.0.0.1", proxy.Port());
    client.SetConnectType(1);
    CHttpOutcome out = client.Post("x=1", "");
    ASSERT_EQ(out.transportCode, 0);
    ASSERT_EQ(proxy.RequestCount(), 1);
    std::string head = proxy.Requests()[0].head;
    EXPECT_EQ(head.rfind("POST http://broker.example:8002/ HTTP/1.1\r\n", 0), 0u);
    EXPECT_NE(head.find("X-Online-Host: broker.example:8002"), std::string::npos);
}

TEST_F(HttpClientTest, ARefusedConnectionIsCodeTwoAndAnUnknownHostCodeOne) {
    int port;
    {
        CTestPeer gone([](int, const CPeerRequest&) { return false; });
        port = gone.Port();
    }
    client.SetServer("127.0.0.1", port);
    CHttpOutcome out = client.Post("x=1", "");
    EXPECT_EQ(out.transportCode, NET_ERR_CONNECT);
    EXPECT_FALSE(out.requestLeft);
    client.SetServer("no-such-host.invalid", 80);
    EXPECT_EQ(client.Post("x=1", "").transportCode, NET_ERR_NO_NETWORK);
}

TEST_F(HttpClientTest, APeerThatClosesAfterReadingTheRequestIsCodeFourWithTheRequestGone) {
    CTestPeer peer([](int, const CPeerRequest&) { return false; });
    Use(peer);
    CHttpOutcome out = client.Post("x=1", "");
    EXPECT_EQ(out.transportCode, NET_ERR_RECEIVE);
    EXPECT_TRUE(out.requestLeft);
    EXPECT_TRUE(out.body.empty());
}

TEST_F(HttpClientTest, ACloseInsideTheBodyIsCodeFour) {
    for (bool chunked : {false, true}) {
        CTestPeer peer([chunked](int fd, const CPeerRequest&) {
            std::string body = CTestPeer::Bytes(CTestPeer::OkBody(u"cut short"));
            std::string reply = chunked ? CTestPeer::ChunkedReply(body, 8) : CTestPeer::Reply(body);
            CTestPeer::SendAll(fd, reply.substr(0, reply.size() - 12));
            return false;
        });
        Use(peer);
        EXPECT_EQ(client.Post("x=1", "").transportCode, NET_ERR_RECEIVE) << chunked;
    }
}

TEST_F(HttpClientTest, ASlowAnswerTimesOutAsCodeFour) {
    CTestPeer peer([&](int fd, const CPeerRequest&) {
        peer.Pause(1000);
        CTestPeer::SendAll(fd, CTestPeer::Reply(CTestPeer::Bytes(CTestPeer::OkBody(u"late"))));
        return true;
    });
    Use(peer, 150);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Post("x=1", "").transportCode, NET_ERR_RECEIVE);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
}

TEST_F(HttpClientTest, AServerThatDripsEndsAtTheOverallDeadlineThoughNoWaitIsLong) {
    CTestPeer peer([&](int fd, const CPeerRequest&) {
        const std::string reply = CTestPeer::Reply(CTestPeer::Bytes(CTestPeer::OkBody(u"drip")));
        for (char c : reply) {
            CTestPeer::SendAll(fd, std::string_view(&c, 1));
            peer.Pause(20);
        }
        return false;
    });
    client.SetServer("127.0.0.1", peer.Port());
    client.SetTimeouts(2000, 1000, 200); // each byte comes well within a wait
    CHttpOutcome out = client.Post("x=1", "", true);
    EXPECT_EQ(out.transportCode, NET_ERR_RECEIVE);
    EXPECT_TRUE(out.requestLeft);
    EXPECT_GT(out.bytesReceived, 0u);
}

TEST_F(HttpClientTest, AnAbortOfAProtectedRequestIsRefusedOnceItsSendingBegan) {
    CFailingSocket* socket = nullptr;
    client.SetSocketFactory([&](CAbortSignal*) {
        auto s = std::make_unique<CFailingSocket>(SIZE_MAX);
        socket = s.get();
        return s;
    });
    client.SetServer("127.0.0.1", 1);
    EXPECT_TRUE(client.TryAbort()) << "nothing in flight: the abort is taken";
    EXPECT_TRUE(client.Post("x=1", "", true).aborted) << "and stops the next exchange before it sends";
    client.ResetAbort();
    client.Post("x=1", "", true);
    EXPECT_NE(socket, nullptr);
    EXPECT_FALSE(client.TryAbort()) << "the protected request had begun to leave";
    client.ResetAbort();
    client.Post("x=1", "");
    EXPECT_TRUE(client.TryAbort()) << "an unprotected one may always be abandoned";
}

TEST_F(HttpClientTest, MalformedRepliesAreCodeSix) {
    std::string body = CTestPeer::Bytes(CTestPeer::OkBody(u"x"));
    std::vector<std::string> replies = {
        "HTTP/1.1 500 Internal\r\nETag: \"0,0,0,0\"\r\nContent-Length: 0\r\n\r\n",
        "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",                           // no ETag
        "HTTP/1.1 200 OK\r\nETag: \"0,0\"\r\nContent-Length: 0\r\n\r\n",          // bad ETag
        "HTTP/1.1 200 OK\r\nETag: \"0,0,0,0\"\r\n\r\n",                             // no framing
        "HTTP/1.1 200 OK\r\nETag: \"0,0,0,0\"\r\nContent-Length: 99999999999\r\n\r\n",
        "HTTP/1.1 200 OK\r\nETag: \"0,0,0,0\"\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
        "HTTP/1.1 200 OK\r\nETag: \"0,0,0,0\"\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFF\r\n",
        CTestPeer::Reply(std::string(40, '\xA5'), "\"0,0,18,0\""),                 // corrupt packed body
        CTestPeer::Reply(body, "\"0,0,7,0\""),                                     // unknown compression
        CTestPeer::Reply(body, "\"0,0,0,9\""),                                     // unknown cipher
        "NOT HTTP AT ALL\r\n\r\n",
        std::string("HTTP/1.1 200 OK\r\nX: ") + std::string(20000, 'a') + "\r\n\r\n",
    };
    for (const std::string& reply : replies) {
        CTestPeer peer([&](int fd, const CPeerRequest&) {
            CTestPeer::SendAll(fd, reply);
            return true;
        });
        Use(peer);
        CHttpOutcome out = client.Post("x=1", kKey);
        EXPECT_EQ(out.transportCode, NET_ERR_BAD_REPLY) << reply.substr(0, 80);
        EXPECT_TRUE(out.body.empty());
    }
}

TEST_F(HttpClientTest, AServerErrorCodeComesWithItsErrorSet) {
    CTestPeer peer([](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, CTestPeer::Reply(CTestPeer::Bytes(CDataSetWriter::ErrorBody(u"余额不足")), "\"3,0,0,0\""));
        return true;
    });
    Use(peer);
    CHttpOutcome out = client.Post("x=1", "");
    EXPECT_EQ(out.transportCode, 0);
    EXPECT_EQ(out.serverError, 3);
    EXPECT_EQ(FirstText(out.body), u"余额不足");
}

TEST_F(HttpClientTest, ASendCutShortIsCodeThreeAndTellsWhetherAnyByteLeft) {
    for (size_t limit : {size_t(0), size_t(10)}) {
        client.SetSocketFactory([limit](CAbortSignal*) { return std::make_unique<CFailingSocket>(limit); });
        client.SetServer("127.0.0.1", 1);
        CHttpOutcome out = client.Post("x=1", "");
        EXPECT_EQ(out.transportCode, NET_ERR_SEND);
        EXPECT_EQ(out.requestLeft, limit > 0);
        EXPECT_EQ(out.bytesSent, limit);
    }
}

TEST_F(HttpClientTest, AnAbortStopsAWaitAtOnce) {
    CTestPeer peer([&](int, const CPeerRequest&) {
        peer.Pause(3000);
        return false;
    });
    Use(peer, 10000);
    std::thread aborter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        client.Abort();
    });
    auto start = std::chrono::steady_clock::now();
    CHttpOutcome out = client.Post("x=1", "");
    aborter.join();
    EXPECT_TRUE(out.aborted);
    EXPECT_EQ(out.transportCode, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

TEST_F(HttpClientTest, AConnectionThePeerClosedWhileIdleIsNotReused) {
    CTestPeer peer([](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, CTestPeer::Reply(CTestPeer::Bytes(CTestPeer::OkBody(u"once"))));
        return false; // closes after every reply, without saying so
    });
    Use(peer);
    ASSERT_EQ(client.Post("x=1", "").transportCode, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    CHttpOutcome out = client.Post("x=2", "");
    EXPECT_EQ(out.transportCode, 0);
    EXPECT_EQ(peer.ConnectionCount(), 2);
}
