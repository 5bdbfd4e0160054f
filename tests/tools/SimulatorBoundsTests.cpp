// The simulator's bounds: the request log keeps the newest requests while
// the per-function counts cover the whole run; a request that does not
// arrive in time is cut off; the connections served at once are capped;
// logon keys are bounded and a seal is tried against a few keys only.
// (Bodies past the cap: SimulatorHttpTests.)
#include "SimTestClient.h"

#include "tools/simulator/CBrokerSimulator.h"

#include <gtest/gtest.h>

namespace {
const std::string kHead = "tc_service=300&tc_isunicode=1&";
const std::string kLogout = kHead + "TC_MFUNCNO=100&TC_SFUNCNO=22";

class SimulatorBounds : public ::testing::Test {
protected:
    void SetUp() override { port = server.Start(0); ASSERT_GT(port, 0); }
    void Limit(void (*change)(SimLimits&)) {
        SimLimits limits = server.GetLimits();
        change(limits);
        server.SetLimits(limits);
    }
    void ExpectStillServing(const std::string& after) { EXPECT_EQ(ErrorOf(PostRaw(port, kLogout)), 0) << after; }
    CBrokerSimulator server;
    int port = -1;
};
} // namespace

TEST_F(SimulatorBounds, TheLogKeepsTheNewestRequestsInOrderWhileCountsCoverTheWholeRun) {
    Limit([](SimLimits& l) { l.logRequests = 4; });
    struct Sent {
        int main, sub;
    };
    const Sent sent[] = {{100, 22}, {31000, 4}, {100, 22}, {31000, 8}, {777, 1}, {100, 22}, {31000, 4}};
    SimConnection kept(port);
    for (const Sent& s : sent) {
        ASSERT_TRUE(kept.Post(kHead + "TC_MFUNCNO=" + std::to_string(s.main) + "&TC_SFUNCNO=" + std::to_string(s.sub)));
        ASSERT_TRUE(kept.Read().complete);
    }
    auto log = server.GetRequestLog();
    ASSERT_EQ(log.size(), 4u);
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].main, sent[i + 3].main) << i;
        EXPECT_EQ(log[i].sub, sent[i + 3].sub) << i;
        EXPECT_EQ(log[i].number, i + 4) << i;
    }
    auto since = server.GetRequestLogSince(5);
    ASSERT_EQ(since.size(), 2u);
    EXPECT_EQ(since[0].number, 6u);

    server.ClearRequestLog();
    EXPECT_TRUE(server.GetRequestLog().empty());
    const struct {
        int main, sub, count;
    } counts[] = {{100, 22, 3}, {31000, 4, 2}, {31000, 8, 1}, {777, 1, 1}, {100, 1, 0}};
    for (const auto& c : counts) EXPECT_EQ(server.CountRequests(c.main, c.sub), c.count) << c.main << "/" << c.sub;

    // Numbers and waiting go on after the clear.
    ASSERT_TRUE(kept.Post(kLogout));
    ASSERT_TRUE(server.WaitForRequests(1, 5000));
    ASSERT_EQ(server.GetRequestLog().size(), 1u);
    EXPECT_EQ(server.GetRequestLog()[0].number, 8u);
    EXPECT_EQ(server.CountRequests(100, 22), 4);

    // The byte bound cuts the log down to the newest request alone.
    Limit([](SimLimits& l) { l.logBytes = 1; });
    PostRaw(port, kLogout + "&filler=" + std::string(4096, 'x'));
    log = server.GetRequestLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].number, 9u);
}

TEST_F(SimulatorBounds, ARequestThatDoesNotArriveInTimeFromItsFirstByteIsAnswered408AndClosed) {
    Limit([](SimLimits& l) { l.requestDeadlineMs = 200; });
    // Silence before the first byte is the idle time, not the deadline.
    SimConnection quiet(port);
    EXPECT_FALSE(quiet.WaitReadable(600));
    ASSERT_TRUE(quiet.Post(kLogout));
    EXPECT_EQ(ErrorOf(quiet.Read()), 0);

    enum class Then { Stall, Drip };
    struct Case {
        const char* what;
        std::string bytes;
        Then then;
    };
    const Case cases[] = {
        {"a few bytes of the head, then silence", "POST / HT", Then::Stall},
        {"the head and some of the body, then silence",
         "POST / HTTP/1.1\r\nContent-Length: 100\r\n\r\nTC_MFUNCNO=1", Then::Stall},
        {"a head dripped a byte at a time", "P", Then::Drip},
        {"the rest of a kept connection's second request", kLogout, Then::Stall},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimConnection peer(port);
        if (c.bytes == kLogout) {
            ASSERT_TRUE(peer.Post(kLogout));
            ASSERT_EQ(ErrorOf(peer.Read()), 0);
            ASSERT_TRUE(peer.Send("POST / HTTP/1.1\r\nContent-Length: 50\r\n\r\n"));
        } else {
            ASSERT_TRUE(peer.Send(c.bytes));
        }
        if (c.then == Then::Drip) {
            // A byte whenever 20 ms pass with no answer; 500 of them would take 50 deadlines.
            const std::string head = "OST / HTTP/1.1\r\nX-Filler: " + std::string(600, 'a');
            for (size_t i = 0; i < head.size() && !peer.WaitReadable(20); ++i) peer.Send(head.substr(i, 1));
        }
        RawReply r = peer.Read(10000);
        EXPECT_EQ(r.status, 408);
        EXPECT_EQ(r.contentLength, 0);
        EXPECT_TRUE(r.connectionClose);
        EXPECT_TRUE(peer.Read(5000).closedByServer);
        ExpectStillServing(c.what);
    }
}

TEST_F(SimulatorBounds, ConnectionsBeyondTheCapWaitUntilAServedOneEnds) {
    Limit([](SimLimits& l) { l.maxConnections = 2; });
    auto first = std::make_unique<SimConnection>(port);
    SimConnection second(port);
    ASSERT_TRUE(first->Post(kLogout));
    ASSERT_EQ(ErrorOf(first->Read()), 0);
    ASSERT_TRUE(second.Post(kLogout));
    ASSERT_EQ(ErrorOf(second.Read()), 0);
    // The third peer connects (the listen queue takes it) but is not served...
    SimConnection third(port);
    ASSERT_TRUE(third.IsConnected());
    ASSERT_TRUE(third.Post(kLogout));
    EXPECT_FALSE(third.WaitReadable(300));
    // ... until a served connection ends.
    first.reset();
    EXPECT_EQ(ErrorOf(third.Read(5000)), 0);
}

TEST_F(SimulatorBounds, LogonKeysAreBoundedAndASealIsTriedOnlyAgainstHintedAndRecentKeys) {
    Limit([](SimLimits& l) {
        l.logonKeys = 4;
        l.sealTries = 2;
    });
    auto key = [](int n) { return "BoundKey" + std::to_string(1000 + n); };
    for (int n = 1; n <= 7; ++n) ASSERT_EQ(LogOn(port, key(n)), "S000" + std::to_string(n));
    // Keys 4..7 are kept, 7 and 6 the most recent. A logon on a connection
    // of its own, then two more elsewhere: its key is then third.
    SimConnection own(port);
    ASSERT_TRUE(own.Post(kHead + "TC_MFUNCNO=100&TC_SFUNCNO=1&key=" + EncipherSessionKey(key(8)) + "&session="));
    ASSERT_EQ(ErrorOf(own.Read()), 0);
    ASSERT_EQ(LogOn(port, key(9)), "S0009");
    ASSERT_EQ(LogOn(port, key(10)), "S0010");
    // Kept now: 7 (least recently used) to 10.

    auto sealed = [&](int n, const std::string& clearSession) {
        std::string body = kHead + SealRequest("TC_MFUNCNO=100&TC_SFUNCNO=22&imei=860000000000001&reqNo=1", key(n));
        if (!clearSession.empty()) body += "&session=" + clearSession;
        return body;
    };
    struct Case {
        const char* what;
        int key;
        std::string clearSession;
        int error;
    };
    const Case cases[] = {
        {"the newest key", 10, "", 0},
        {"the second newest", 9, "", 0},
        {"a kept key older than the tries", 7, "", 100},
        {"... named by a session sent in clear", 7, "S0007", 0},
        {"a dropped key, even named", 1, "S0001", 100},
        {"a key never issued", 99, "", 100},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorOf(PostRaw(port, sealed(c.key, c.clearSession))), c.error) << c.what;

    // The connection that logged on is tried with its own key first.
    ASSERT_TRUE(own.Post(sealed(8, "")));
    EXPECT_EQ(ErrorOf(own.Read()), 0);
}
