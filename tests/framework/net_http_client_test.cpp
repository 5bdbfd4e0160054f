// The HTTP POST client against a loopback peer: kept connections, opening
// and unpacking, the gateway form, and each way an exchange fails with the
// code it gets and whether the request had left.
#include "framework/net/CHttpPostClient.h"
#include "framework/net/NetFailure.h"
#include "net_TestPeer.h"

#include "core/CDataSetList.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {
const std::string kKey = "Ab3dE6gH9jK2mN5p";

std::string OkReply(std::u16string_view text) { return CTestPeer::Reply(CTestPeer::Bytes(CTestPeer::OkBody(text))); }

std::u16string FirstText(const std::vector<uint8_t>& body) {
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    CDataSet* set = *list.GetAt(0);
    return set && set->MoveFirst() ? set->GetFieldText(0).str() : u"<none>";
}

// A peer that answers every request with the same bytes.
CTestPeer::Handler Answering(std::string reply, bool keepOpen = true) {
    return [reply, keepOpen](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, reply);
        return keepOpen;
    };
}

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

class HttpClientTest : public ::testing::Test {
protected:
    void Use(CTestPeer& peer) {
        client.SetServer("127.0.0.1", peer.Port());
        client.SetTimeouts(2000, 300);
    }
    CHttpPostClient client;
};
} // namespace

TEST_F(HttpClientTest, AKeptConnectionServesTheNextRequestButNeitherAProtectedOneNorAfterThePeerClosedIt) {
    std::atomic<bool> keepOpen{true};
    CTestPeer peer([&keepOpen](int fd, const CPeerRequest&) {
        const bool keep = keepOpen; // read before the client can see the reply
        CTestPeer::SendAll(fd, OkReply(u"ok"));
        return keep;
    });
    Use(peer);
    for (bool isProtected : {false, false, true})
        ASSERT_EQ(client.Post("x=1", "", isProtected).transportCode, 0);
    // A protected request never rides a kept connection the server may be
    // closing: it would fail unread after it left.
    EXPECT_EQ(peer.ConnectionCount(), 2);
    keepOpen = false;
    ASSERT_EQ(client.Post("x=1", "").transportCode, 0);
    ASSERT_TRUE(peer.WaitForClosed(2, 5000)); // the first connection and the one just used
    EXPECT_EQ(client.Post("x=1", "").transportCode, 0);
    EXPECT_EQ(peer.ConnectionCount(), 3);
}

TEST_F(HttpClientTest, ASealedAndPackedBodyOpensWithItsKeyOnly) {
    std::vector<uint8_t> plain = CTestPeer::OkBody(u"sealed");
    std::vector<uint8_t> packed = ZlibCompress(plain.data(), plain.size());
    std::vector<uint8_t> envelope(SealedSize(static_cast<int>(packed.size())));
    const int n = SealData(kKey.c_str(), packed.data(), static_cast<int>(packed.size()), envelope.data());
    envelope.resize(n > 0 ? n : 0);
    CTestPeer peer(Answering(CTestPeer::ChunkedReply(CTestPeer::Bytes(envelope), 5, "\"0,0,18,36\"")));
    Use(peer);
    CHttpOutcome out = client.Post("x=1", kKey);
    ASSERT_EQ(out.transportCode, 0);
    EXPECT_EQ(FirstText(out.body), u"sealed");
    EXPECT_EQ(client.Post("x=1", "").transportCode, NET_ERR_BAD_REPLY);
    EXPECT_EQ(client.Post("x=1", "other-key-123456").transportCode, NET_ERR_BAD_REPLY);
}

TEST_F(HttpClientTest, TheGatewayConnectionGoesToTheProxyAndNamesTheServer) {
    CTestPeer proxy(Answering(OkReply(u"via")));
    client.SetServer("broker.example", 8002);
    client.SetGateway("127.0.0.1", proxy.Port());
    client.SetConnectType(1);
    ASSERT_EQ(client.Post("x=1", "").transportCode, 0);
    ASSERT_EQ(proxy.RequestCount(), 1);
    const std::string head = proxy.Requests()[0].head;
    EXPECT_EQ(head.rfind("POST http://broker.example:8002/ HTTP/1.1\r\n", 0), 0u);
    EXPECT_NE(head.find("X-Online-Host: broker.example:8002"), std::string::npos);
}

TEST_F(HttpClientTest, AnExchangeThatBreaksAfterTheRequestLeftIsCodeFourWithTheRequestGone) {
    const std::string body = CTestPeer::Bytes(CTestPeer::OkBody(u"cut short"));
    const std::string whole = CTestPeer::Reply(body);
    const std::string chunked = CTestPeer::ChunkedReply(body, 8);
    const struct {
        const char* what;
        CTestPeer::Handler peer;
    } cases[] = {
        {"closed after reading the request", [](int, const CPeerRequest&) { return false; }},
        {"silent past the wait", [](int, const CPeerRequest&) { return true; }},
        {"closed inside a sized body", Answering(whole.substr(0, whole.size() - 12), false)},
        {"closed inside a chunked body", Answering(chunked.substr(0, chunked.size() - 12), false)},
    };
    for (const auto& c : cases) {
        CTestPeer peer(c.peer);
        Use(peer);
        CHttpOutcome out = client.Post("x=1", "");
        EXPECT_EQ(out.transportCode, NET_ERR_RECEIVE) << c.what;
        EXPECT_TRUE(out.requestLeft) << c.what;
        EXPECT_TRUE(out.body.empty()) << c.what;
    }
}

TEST_F(HttpClientTest, AnUnknownHostIsCodeOneAndASendCutShortCodeThreeTellingWhetherAnyByteLeft) {
    client.SetServer("no-such-host.invalid", 80);
    EXPECT_EQ(client.Post("x=1", "").transportCode, NET_ERR_NO_NETWORK);
    client.SetServer("127.0.0.1", 1);
    for (size_t limit : {size_t(0), size_t(10)}) {
        client.SetSocketFactory([limit](CAbortSignal*) { return std::make_unique<CFailingSocket>(limit); });
        const CHttpOutcome out = client.Post("x=1", "");
        EXPECT_EQ(out.transportCode, NET_ERR_SEND);
        EXPECT_EQ(out.requestLeft, limit > 0);
        EXPECT_EQ(out.bytesSent, limit);
    }
}

TEST_F(HttpClientTest, AnAbortOfAProtectedRequestIsRefusedOnceItsSendingBegan) {
    client.SetSocketFactory([](CAbortSignal*) { return std::make_unique<CFailingSocket>(SIZE_MAX); });
    client.SetServer("127.0.0.1", 1);
    EXPECT_TRUE(client.TryAbort()) << "nothing in flight: the abort is taken";
    EXPECT_TRUE(client.Post("x=1", "", true).aborted) << "and stops the next exchange before it sends";
    client.ResetAbort();
    client.Post("x=1", "", true);
    EXPECT_FALSE(client.TryAbort()) << "the protected request had begun to leave";
    client.ResetAbort();
    client.Post("x=1", "");
    EXPECT_TRUE(client.TryAbort()) << "an unprotected one may always be abandoned";
}

TEST_F(HttpClientTest, MalformedRepliesAreCodeSix) {
    const std::string body = CTestPeer::Bytes(CTestPeer::OkBody(u"x"));
    const std::string replies[] = {
        "HTTP/1.1 500 Internal\r\nETag: \"0,0,0,0\"\r\nContent-Length: 0\r\n\r\n",
        "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",                  // no ETag
        "HTTP/1.1 200 OK\r\nETag: \"0,0,0,0\"\r\n\r\n",                  // no framing
        "HTTP/1.1 200 OK\r\nETag: \"0,0,0,0\"\r\nContent-Length: 99999999999\r\n\r\n",
        "HTTP/1.1 200 OK\r\nETag: \"0,0,0,0\"\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
        "HTTP/1.1 200 OK\r\nETag: \"0,0,0,0\"\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFF\r\n",
        CTestPeer::Reply(std::string(40, '\xA5'), "\"0,0,18,0\""), // corrupt packed body
        CTestPeer::Reply(body, "\"0,0,7,0\""),                     // unknown compression
        CTestPeer::Reply(body, "\"0,0,0,9\""),                     // unknown cipher
        "NOT HTTP AT ALL\r\n\r\n",
        std::string("HTTP/1.1 200 OK\r\nX: ") + std::string(20000, 'a') + "\r\n\r\n",
    };
    for (const std::string& reply : replies) {
        CTestPeer peer(Answering(reply));
        Use(peer);
        CHttpOutcome out = client.Post("x=1", kKey);
        EXPECT_EQ(out.transportCode, NET_ERR_BAD_REPLY) << reply.substr(0, 80);
        EXPECT_TRUE(out.body.empty());
    }
}
