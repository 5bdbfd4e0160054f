// Reply framing and the fault seams of the simulated broker: each injected
// fault does what it says, for the requests it was meant for, and the
// server answers normally again afterwards.
#include "SimTestClient.h"

#include "tools/simulator/CBrokerSimulator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {
constexpr const char* kKey = "Fa17Fa17Fa17Fa17";
const std::string kLogout = "tc_service=300&tc_isunicode=1&TC_MFUNCNO=100&TC_SFUNCNO=22";
const std::string kConfig = "tc_service=300&tc_isunicode=1&TC_MFUNCNO=100&TC_SFUNCNO=2&supportCompress=18";

class SimulatorFaults : public ::testing::Test {
protected:
    void SetUp() override { port = server.Start(0); ASSERT_GT(port, 0); }
    // A reply that opens and parses without an error set.
    bool Healthy(const RawReply& r) {
        auto list = OpenReply(r, server.GetSessionKey());
        return list && !list->IsError();
    }
    CBrokerSimulator server;
    int port = -1;
};
} // namespace

TEST_F(SimulatorFaults, ContentLengthChunkedAndAlternateFramingCarryTheSameBody) {
    LogOn(port, kKey);
    RawReply byLength = PostRaw(port, kConfig);
    ASSERT_TRUE(byLength.complete);
    EXPECT_FALSE(byLength.chunked);
    EXPECT_EQ(byLength.contentLength, static_cast<long>(byLength.body.size()));

    server.SetFraming(SimFraming::Chunked);
    RawReply chunked = PostRaw(port, kConfig);
    ASSERT_TRUE(chunked.complete);
    EXPECT_TRUE(chunked.chunked);
    EXPECT_EQ(chunked.contentLength, -1);
    // Sealing is deterministic (zero initial block), so the bodies match byte for byte.
    EXPECT_EQ(chunked.body, byLength.body);
    EXPECT_TRUE(Healthy(chunked));

    server.SetFraming(SimFraming::Alternate);
    EXPECT_FALSE(PostRaw(port, kLogout).chunked);
    EXPECT_TRUE(PostRaw(port, kLogout).chunked);
    EXPECT_FALSE(PostRaw(port, kLogout).chunked);
}

TEST_F(SimulatorFaults, EachFaultDoesWhatItSaysToTheNextRequestOnly) {
    ASSERT_EQ(LogOn(port, kKey), "S0001");
    const RawReply whole = PostRaw(port, kConfig);
    ASSERT_TRUE(Healthy(whole));
    SimFault errorSet{SimFaultKind::ErrorSet};
    errorSet.errorText = u"系统维护中";
    errorSet.errorCode = 7;
    SimFault slow{SimFaultKind::SlowReply};
    slow.delayMs = 50;
    const size_t all = whole.body.size(), unchecked = std::string::npos;
    struct Case {
        const char* what;
        SimFault fault;
        SimFraming framing;
        bool logged;    // the request was read
        bool answered;  // any byte came back
        bool complete;  // a whole, well-framed reply
        int error;      // ErrorOf the reply
        size_t body;    // its body's size
        bool healthy;
    };
    const SimFraming length = SimFraming::ContentLength;
    const Case cases[] = {
        {"accept-and-close", {SimFaultKind::AcceptAndClose}, length, false, false, false, -1, 0, false},
        {"close-after-request", {SimFaultKind::CloseAfterRequest}, length, true, false, false, -1, 0, false},
        {"close-inside-body", {SimFaultKind::CloseInsideBody}, length, true, true, false, -1, all / 2, false},
        {"... chunked", {SimFaultKind::CloseInsideBody}, SimFraming::Chunked, true, true, false, -1, all / 2, false},
        {"truncated-body", {SimFaultKind::TruncatedBody}, length, true, true, true, 0, all / 2, false},
        {"corrupt-body", {SimFaultKind::CorruptBody}, length, true, true, true, 0, all, false},
        {"bad-etag", {SimFaultKind::BadETag}, length, true, true, true, -1, all, false},
        {"error-set", errorSet, length, true, true, true, 7, unchecked, false},
        {"session-lost", {SimFaultKind::SessionLost}, length, true, true, true, 100, 0, false},
        {"slow-reply", slow, length, true, true, true, 0, all, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server.SetFraming(c.framing);
        server.ClearRequestLog();
        server.InjectFault(c.fault);
        RawReply r = PostRaw(port, kConfig);
        EXPECT_EQ(server.GetRequestLog().size(), c.logged ? 1u : 0u);
        EXPECT_EQ(r.rawBytes > 0, c.answered);
        EXPECT_EQ(r.complete, c.complete);
        EXPECT_EQ(ErrorOf(r), c.error);
        if (c.body != unchecked) {
            EXPECT_EQ(r.body.size(), c.body);
        }
        EXPECT_EQ(Healthy(r), c.healthy);
        if (c.fault.kind == SimFaultKind::ErrorSet) {
            auto list = OpenReply(r, "");
            ASSERT_TRUE(list);
            EXPECT_EQ(list->GetErrorText(), u"系统维护中");
        }
        EXPECT_TRUE(Healthy(PostRaw(port, kConfig))) << "the fault was used up";
    }
}

TEST_F(SimulatorFaults, AFaultForAFunctionSparesTheOthersAndLastsItsCountUnlessCleared) {
    server.InjectFaultFor(100, 2, {SimFaultKind::SessionLost}, 2);
    EXPECT_EQ(ErrorOf(PostRaw(port, kLogout)), 0);
    EXPECT_EQ(ErrorOf(PostRaw(port, kConfig)), 100);
    EXPECT_EQ(ErrorOf(PostRaw(port, kConfig)), 100);
    EXPECT_EQ(ErrorOf(PostRaw(port, kConfig)), 0);

    server.InjectFault({SimFaultKind::SessionLost}, 5);
    server.InjectFaultFor(100, 22, {SimFaultKind::SessionLost}, 5);
    server.ClearFaults();
    EXPECT_EQ(ErrorOf(PostRaw(port, kLogout)), 0);
}

TEST_F(SimulatorFaults, RefusedConnectionsFailToConnectAndComeBackOnTheSamePort) {
    server.RefuseConnections(300);
    EXPECT_FALSE(SimConnection(port).IsConnected());
    // Nothing tells when the port listens again: try until it does.
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!SimConnection(port).IsConnected() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(Healthy(PostRaw(port, kLogout)));
}

TEST_F(SimulatorFaults, ASlowOrDrippingReplyWaitsWhileOthersAreServedAndStopEndsIt) {
    // Waits longer than any test may run: a Stop that does not cut them short hangs the test.
    for (SimFaultKind kind : {SimFaultKind::SlowReply, SimFaultKind::Drip}) {
        const bool drip = kind == SimFaultKind::Drip;
        SCOPED_TRACE(drip ? "drip" : "slow reply");
        SimFault fault{kind};
        fault.delayMs = 600000;
        server.InjectFaultFor(100, 22, fault);
        SimConnection waiting(port);
        ASSERT_TRUE(waiting.Post(kLogout));
        ASSERT_TRUE(server.WaitForRequests(1, 5000));
        EXPECT_EQ(ErrorOf(PostRaw(port, kConfig)), 0);
        EXPECT_EQ(waiting.WaitReadable(drip ? 5000 : 0), drip) << "a drip's first byte only";
        server.Stop();
        RawReply r = waiting.Read();
        EXPECT_EQ(r.rawBytes, drip ? 1u : 0u);
        EXPECT_TRUE(r.closedByServer);
        server.ClearRequestLog();
        ASSERT_GT(port = server.Start(0), 0);
    }
}

namespace {
// The faults of a connection's end act alike whether queued for the next
// request (false) or for the function of kLogout, 100/22 (true).
class SimulatorConnectionFaults : public SimulatorFaults, public ::testing::WithParamInterface<bool> {
protected:
    void Inject(const SimFault& fault) {
        if (GetParam())
            server.InjectFaultFor(100, 22, fault);
        else
            server.InjectFault(fault);
    }
};
} // namespace

INSTANTIATE_TEST_SUITE_P(QueuedAndForAFunction, SimulatorConnectionFaults, ::testing::Bool());

TEST_P(SimulatorConnectionFaults, ResetAfterRequestLogsTheRequestThenResetsWithoutAReply) {
    Inject({SimFaultKind::ResetAfterRequest});
    RawReply r = PostRaw(port, kLogout);
    EXPECT_EQ(r.rawBytes, 0u);
    EXPECT_TRUE(r.closedByServer);
    EXPECT_TRUE(r.reset);
    auto log = server.GetRequestLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].sub, 22);
    EXPECT_TRUE(Healthy(PostRaw(port, kLogout)));
}

TEST_P(SimulatorConnectionFaults, DripSendsTheSameReplyOneByteAtATime) {
    RawReply whole = PostRaw(port, kLogout);
    SimFault drip{SimFaultKind::Drip};
    drip.delayMs = 2;
    Inject(drip);
    RawReply dripped = PostRaw(port, kLogout);
    ASSERT_TRUE(dripped.complete);
    EXPECT_EQ(dripped.rawBytes, whole.rawBytes);
    EXPECT_EQ(dripped.etag, whole.etag);
    EXPECT_EQ(dripped.body, whole.body);
    EXPECT_GT(dripped.reads, 1);
}

TEST_P(SimulatorConnectionFaults, CloseKeptAliveAnswersAsIfKeptThenClosesAndANewConnectionIsServed) {
    Inject({SimFaultKind::CloseKeptAlive});
    SimConnection kept(port);
    ASSERT_TRUE(kept.Post(kLogout));
    RawReply reply = kept.Read();
    EXPECT_TRUE(Healthy(reply));
    EXPECT_FALSE(reply.connectionClose);
    // What a client reusing the connection meets: a clean close, no reply.
    RawReply next = kept.Read();
    EXPECT_EQ(next.rawBytes, 0u);
    EXPECT_TRUE(next.closedByServer);
    EXPECT_FALSE(next.reset);
    kept.Post(kLogout);
    EXPECT_EQ(kept.Read().rawBytes, 0u);
    EXPECT_TRUE(Healthy(PostRaw(port, kLogout)));
    // The request sent on the closed connection was never read.
    EXPECT_EQ(server.GetRequestLog().size(), 2u);
}
