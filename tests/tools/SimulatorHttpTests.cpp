// The simulator's HTTP loop against peers that break the rules: requests
// it refuses are answered with a status and no body, then the connection is
// closed; sizes the peer claims are never trusted; peers that vanish, and
// Stop during a slow reply, leave the server serving (or stopped) cleanly.
#include "SimTestClient.h"

#include "tools/simulator/CBrokerSimulator.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {
const std::string kLogout = "tc_service=300&tc_isunicode=1&TC_MFUNCNO=100&TC_SFUNCNO=22";

// A head naming one header block; the body follows as given.
std::string Post(const std::string& headers, const std::string& body = "") {
    return "POST / HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n" + body;
}

// A socket connected to the server, for peers that leave half-way.
int Connect(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

class SimulatorHttp : public ::testing::Test {
protected:
    void SetUp() override { port = server.Start(0); ASSERT_GT(port, 0); }
    // The server still answers a plain request whole, with ETag error 0.
    void ExpectStillServing(const std::string& after) {
        RawReply r = PostRaw(port, kLogout);
        ASSERT_TRUE(r.complete) << "after " << after;
        int etag[4];
        ASSERT_TRUE(ParseETag(r.etag, etag)) << "after " << after;
        EXPECT_EQ(etag[0], 0) << "after " << after;
    }
    // A refusal: the status, no body, and the connection closed behind it.
    void ExpectRefused(const std::string& bytes, int status, const std::string& what) {
        RawReply r = SendRaw(port, bytes);
        EXPECT_TRUE(r.complete) << what;
        EXPECT_EQ(r.status, status) << what;
        EXPECT_EQ(r.contentLength, 0) << what;
        ExpectStillServing(what);
    }
    CBrokerSimulator server;
    int port = -1;
};
} // namespace

TEST_F(SimulatorHttp, APostWithoutABodyIsAnsweredWithAnErrorSetNamingNoFunction) {
    RawReply r = SendRaw(port, Post(""));
    ASSERT_TRUE(r.complete);
    EXPECT_EQ(r.status, 200);
    auto list = OpenReply(r, "");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->GetErrorText(), u"不支持的功能(-1/-1)");
    ExpectStillServing("an empty body");
}

TEST_F(SimulatorHttp, ContentLengthsThatAreNotOnePlainDecimalNumberAreRefused) {
    ExpectRefused(Post("Content-Length: \r\n"), 400, "an empty length");
    ExpectRefused(Post("Content-Length: -1\r\n"), 400, "a negative length");
    ExpectRefused(Post("Content-Length: +5\r\n", "a=1&b"), 400, "a signed length");
    ExpectRefused(Post("Content-Length: 0x10\r\n"), 400, "a hexadecimal length");
    ExpectRefused(Post("Content-Length: 99999999999999999999999999\r\n"), 400, "a length past 64 bits");
    ExpectRefused(Post("Content-Length: 3\r\nContent-Length: 5\r\n", "a=1&b"), 400, "two different lengths");
    // The same length twice is the same message.
    RawReply twice = SendRaw(port, Post("Content-Length: 5\r\nContent-Length: 5\r\n", "a=1&b"));
    EXPECT_EQ(twice.status, 200);
}

TEST_F(SimulatorHttp, AHugeContentLengthIsRefusedWithoutWaitingForOrKeepingTheBody) {
    auto start = std::chrono::steady_clock::now();
    ExpectRefused(Post("Content-Length: 9000000000\r\n", "tc_service=300"), 413, "a length of 9 GB");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST_F(SimulatorHttp, ChunkedRequestBodiesAreRefusedWhateverTheirChunkSizes) {
    ExpectRefused(Post("Transfer-Encoding: chunked\r\n", "zz\r\nabc\r\n0\r\n\r\n"), 400, "a bad chunk size");
    ExpectRefused(Post("Transfer-Encoding: chunked\r\n", "ffffffffffffffffffff\r\n"), 400, "a chunk past 64 bits");
    ExpectRefused(Post("Transfer-Encoding: chunked\r\n", "5\r\nTC_MF\r\n0\r\n\r\n"), 400, "a good chunk");
}

TEST_F(SimulatorHttp, GarbageRequestLinesAndHeaderLinesAreRefused) {
    ExpectRefused(std::string("\x01\x02\xff garbage\r\n\r\n"), 400, "binary garbage");
    ExpectRefused("POST\r\n\r\n", 400, "a request line of one word");
    ExpectRefused("POST / SPDY/9\r\n\r\n", 400, "an unknown protocol");
    ExpectRefused("POST  HTTP/1.1\r\n\r\n", 400, "an empty target");
    ExpectRefused(Post("no colon here\r\n"), 400, "a header line without a colon");
    ExpectRefused(Post(": no name\r\n"), 400, "a header without a name");
}

TEST_F(SimulatorHttp, AHeaderBlockWithoutEndIsRefusedOnceItPassesTheLimit) {
    std::string endless = "POST / HTTP/1.1\r\nX-Filler: " + std::string(70 * 1024, 'a');
    ExpectRefused(endless, 431, "70 KB of header without a blank line");
    ExpectRefused(Post("X-Filler: " + std::string(70 * 1024, 'b') + "\r\n"), 431, "one header of 70 KB");
}

TEST_F(SimulatorHttp, PeersThatLeaveInsideTheHeadOrTheBodyDoNotStopTheServer) {
    for (const std::string& part : {std::string("POST / HT"), Post("Content-Length: 100\r\n", "TC_MFUNCNO=1")}) {
        int fd = Connect(port);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::send(fd, part.data(), part.size(), MSG_NOSIGNAL), static_cast<ssize_t>(part.size()));
        ::close(fd);
    }
    ExpectStillServing("peers that left half-way");
    EXPECT_TRUE(server.GetRequestLog().size() == 1u) << "only the whole request is logged";
}

TEST_F(SimulatorHttp, APeerThatLeavesDuringASlowReplyDoesNotStopTheServer) {
    SimFault slow{SimFaultKind::SlowReply};
    slow.delayMs = 300;
    server.InjectFault(slow);
    RawReply gaveUp = PostRaw(port, kLogout, 50);
    EXPECT_FALSE(gaveUp.complete);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));  // the reply meets a closed socket
    ExpectStillServing("a peer that left a slow reply");
}

TEST_F(SimulatorHttp, StopReturnsPromptlyWithIdleAndHalfSentConnectionsOpen) {
    int idle = Connect(port);
    int half = Connect(port);
    ASSERT_GE(idle, 0);
    ASSERT_GE(half, 0);
    std::string part = Post("Content-Length: 1000\r\n", "TC_");
    ASSERT_GT(::send(half, part.data(), part.size(), MSG_NOSIGNAL), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    auto start = std::chrono::steady_clock::now();
    server.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    char c;
    EXPECT_EQ(::recv(idle, &c, 1, 0), 0) << "the server closed the idle connection";
    ::close(idle);
    ::close(half);
    EXPECT_GT(server.Start(0), 0) << "a stopped server starts again";
}
