// The simulator's HTTP loop against peers that break the rules: requests
// it refuses are answered with a status and no body, then the connection is
// closed; sizes the peer claims are never trusted; peers that vanish leave
// the server serving, and Stop leaves it stopped cleanly.
#include "SimTestClient.h"

#include "tools/simulator/CBrokerSimulator.h"

#include <gtest/gtest.h>

namespace {
const std::string kLogout = "tc_service=300&tc_isunicode=1&TC_MFUNCNO=100&TC_SFUNCNO=22";

// A head naming one header block; the body follows as given.
std::string Post(const std::string& headers, const std::string& body = "") {
    return "POST / HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n" + body;
}

class SimulatorHttp : public ::testing::Test {
protected:
    void SetUp() override { port = server.Start(0); ASSERT_GT(port, 0); }
    void ExpectStillServing(const std::string& after) { EXPECT_EQ(ErrorOf(PostRaw(port, kLogout)), 0) << after; }
    CBrokerSimulator server;
    int port = -1;
};
} // namespace

TEST_F(SimulatorHttp, RequestsThatBreakTheRulesAreAnsweredWithAStatusAloneAndTheServerGoesOn) {
    const size_t cap = CBrokerSimulator::kMaxBodyBytes;
    const std::string filler = kLogout + "&filler=";
    const std::string huge = "POST / HTTP/1.1\r\nContent-Length: ";
    struct Case {
        const char* what;
        std::string bytes;
        int status;
    };
    const Case cases[] = {
        {"a body of exactly the cap", PostBytes(port, filler + std::string(cap - filler.size(), 'x')), 200},
        {"the same length twice", Post("Content-Length: 5\r\nContent-Length: 5\r\n", "a=1&b"), 200},
        {"a length one past the cap", huge + std::to_string(cap + 1) + "\r\n\r\n", 413},
        {"a length of 1 GiB", huge + "1073741824\r\n\r\n", 413},
        {"a length past 32 bits, body following", huge + "9000000000\r\n\r\ntc_service=300", 413},
        {"an empty length", Post("Content-Length: \r\n"), 400},
        {"a negative length", Post("Content-Length: -1\r\n"), 400},
        {"a signed length", Post("Content-Length: +5\r\n", "a=1&b"), 400},
        {"a hexadecimal length", Post("Content-Length: 0x10\r\n"), 400},
        {"a length past 64 bits", Post("Content-Length: 99999999999999999999999999\r\n"), 400},
        {"two different lengths", Post("Content-Length: 3\r\nContent-Length: 5\r\n", "a=1&b"), 400},
        {"a chunked body", Post("Transfer-Encoding: chunked\r\n", "5\r\nTC_MF\r\n0\r\n\r\n"), 400},
        {"a chunk past 64 bits", Post("Transfer-Encoding: chunked\r\n", "ffffffffffffffffffff\r\n"), 400},
        {"binary garbage", std::string("\x01\x02\xff garbage\r\n\r\n"), 400},
        {"a request line of one word", "POST\r\n\r\n", 400},
        {"an unknown protocol", "POST / SPDY/9\r\n\r\n", 400},
        {"an empty target", "POST  HTTP/1.1\r\n\r\n", 400},
        {"a header line without a colon", Post("no colon here\r\n"), 400},
        {"a header without a name", Post(": no name\r\n"), 400},
        {"70 KB of head without a blank line", "POST / HTTP/1.1\r\nX-Filler: " + std::string(70 * 1024, 'a'), 431},
        {"one header of 70 KB", Post("X-Filler: " + std::string(70 * 1024, 'b') + "\r\n"), 431},
    };
    for (const Case& c : cases) {
        RawReply r = SendRaw(port, c.bytes);
        EXPECT_TRUE(r.complete) << c.what;
        EXPECT_EQ(r.status, c.status) << c.what;
        if (c.status != 200) {
            EXPECT_EQ(r.contentLength, 0) << c.what;
            EXPECT_TRUE(r.connectionClose) << c.what;
        }
        ExpectStillServing(c.what);
    }
    // Only the whole requests were read: the two served and the checks after each.
    EXPECT_EQ(server.GetRequestLog().size(), 2 + std::size(cases));
}

TEST_F(SimulatorHttp, APostWithoutABodyIsAnsweredWithAnErrorSetNamingNoFunction) {
    RawReply r = SendRaw(port, Post(""));
    ASSERT_EQ(r.status, 200);
    auto list = OpenReply(r, "");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->GetErrorText(), u"不支持的功能(-1/-1)");
}

TEST_F(SimulatorHttp, PeersThatLeaveInsideTheHeadTheBodyOrTheReplyDoNotStopTheServer) {
    for (const std::string& part : {std::string("POST / HT"), Post("Content-Length: 100\r\n", "TC_MFUNCNO=1")}) {
        SimConnection peer(port);
        ASSERT_TRUE(peer.Send(part));
    }
    ExpectStillServing("peers that left half-way");
    EXPECT_EQ(server.GetRequestLog().size(), 1u) << "only the whole request is logged";

    // One connection at a time, so the check after each waits for the
    // abandoned connection's end: its reply meets a closed socket first.
    SimLimits limits = server.GetLimits();
    limits.maxConnections = 1;
    server.SetLimits(limits);
    for (SimFaultKind kind : {SimFaultKind::SlowReply, SimFaultKind::Drip}) {
        SCOPED_TRACE(kind == SimFaultKind::Drip ? "a dripping reply" : "a slow reply");
        SimFault fault{kind};
        fault.delayMs = 20;
        server.InjectFault(fault);
        {
            const size_t logged = server.GetRequestLog().size();
            SimConnection peer(port);
            ASSERT_TRUE(peer.Post(kLogout));
            ASSERT_TRUE(server.WaitForRequests(logged + 1, 5000));
        }
        ExpectStillServing("a peer that left");
    }
}

TEST_F(SimulatorHttp, StopClosesIdleAndHalfSentConnectionsAndTheServerStartsAgain) {
    // A request answered on each first, so that both are being served.
    SimConnection idle(port), half(port);
    for (SimConnection* c : {&idle, &half}) {
        ASSERT_TRUE(c->Post(kLogout));
        ASSERT_EQ(ErrorOf(c->Read()), 0);
    }
    ASSERT_TRUE(half.Send(Post("Content-Length: 1000\r\n", "TC_")));
    server.Stop();
    EXPECT_EQ(server.GetPort(), -1);
    EXPECT_TRUE(idle.Read().closedByServer);
    EXPECT_TRUE(half.Read().closedByServer);
    EXPECT_GT(server.Start(0), 0) << "a stopped server starts again";
}
