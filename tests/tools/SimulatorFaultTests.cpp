// Reply framing and the fault seams of the simulated broker: each injected
// fault does what it says, for the requests it was meant for, and the
// server answers normally again afterwards.
#include "SimTestClient.h"

#include "tools/simulator/CBrokerSimulator.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <thread>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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

bool CanConnect(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}
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

TEST_F(SimulatorFaults, AcceptAndCloseDropsTheConnectionBeforeReadingForTheNextNConnections) {
    server.InjectFault({SimFaultKind::AcceptAndClose}, 2);
    for (int i = 0; i < 2; ++i) {
        RawReply r = PostRaw(port, kLogout);
        EXPECT_TRUE(r.connected);
        EXPECT_EQ(r.rawBytes, 0u);
    }
    EXPECT_TRUE(server.GetRequestLog().empty());
    EXPECT_TRUE(Healthy(PostRaw(port, kLogout)));
}

TEST_F(SimulatorFaults, RefusedConnectionsFailToConnectAndComeBackOnTheSamePort) {
    server.RefuseConnections(300);
    EXPECT_FALSE(CanConnect(port));
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!CanConnect(port) && std::chrono::steady_clock::now() < until) usleep(20000);
    EXPECT_TRUE(Healthy(PostRaw(port, kLogout)));
}

TEST_F(SimulatorFaults, CloseAfterRequestLogsTheRequestAndAnswersNothing) {
    server.InjectFault({SimFaultKind::CloseAfterRequest});
    RawReply r = PostRaw(port, kLogout);
    EXPECT_EQ(r.rawBytes, 0u);
    ASSERT_EQ(server.GetRequestLog().size(), 1u);
    EXPECT_EQ(server.GetRequestLog()[0].sub, 22);
}

TEST_F(SimulatorFaults, CloseInsideBodyPromisesTheWholeBodyAndSendsHalf) {
    for (SimFraming framing : {SimFraming::ContentLength, SimFraming::Chunked}) {
        server.SetFraming(framing);
        server.InjectFault({SimFaultKind::CloseInsideBody});
        RawReply r = PostRaw(port, kConfig);
        EXPECT_TRUE(r.gotHeaders);
        EXPECT_FALSE(r.complete);
        EXPECT_GT(r.body.size(), 0u);
        if (framing == SimFraming::ContentLength) {
            EXPECT_EQ(static_cast<long>(r.body.size()), r.contentLength / 2);
        }
    }
}

TEST_F(SimulatorFaults, SlowReplyWaitsTheGivenTimeThenAnswersWhole) {
    SimFault slow{SimFaultKind::SlowReply};
    slow.delayMs = 300;
    server.InjectFault(slow);
    auto start = std::chrono::steady_clock::now();
    RawReply r = PostRaw(port, kLogout);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(ms, 300);
    EXPECT_TRUE(Healthy(r));
}

TEST_F(SimulatorFaults, TruncatedAndCorruptBodiesAreWellFramedButUnreadable) {
    LogOn(port, kKey);
    RawReply whole = PostRaw(port, kConfig);
    server.InjectFault({SimFaultKind::TruncatedBody});
    RawReply truncated = PostRaw(port, kConfig);
    server.InjectFault({SimFaultKind::CorruptBody});
    RawReply corrupt = PostRaw(port, kConfig);
    ASSERT_TRUE(truncated.complete);
    ASSERT_TRUE(corrupt.complete);
    EXPECT_EQ(truncated.body.size(), whole.body.size() / 2);
    EXPECT_EQ(corrupt.body.size(), whole.body.size());
    EXPECT_TRUE(Healthy(whole));
    EXPECT_FALSE(Healthy(truncated));
    EXPECT_FALSE(Healthy(corrupt));
    EXPECT_TRUE(Healthy(PostRaw(port, kConfig)));
}

TEST_F(SimulatorFaults, BadETagIsNotFourNumbers) {
    server.InjectFault({SimFaultKind::BadETag});
    RawReply r = PostRaw(port, kLogout);
    ASSERT_TRUE(r.complete);
    int numbers[4];
    EXPECT_FALSE(ParseETag(r.etag, numbers));
}

TEST_F(SimulatorFaults, ErrorSetFaultCarriesTheGivenTextAndNumber) {
    SimFault fault{SimFaultKind::ErrorSet};
    fault.errorText = u"系统维护中";
    fault.errorCode = 7;
    server.InjectFault(fault);
    RawReply r = PostRaw(port, kLogout);
    int etag[4];
    ASSERT_TRUE(ParseETag(r.etag, etag));
    EXPECT_EQ(etag[0], 7);
    auto list = OpenReply(r, "");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->GetErrorText(), u"系统维护中");
}

TEST_F(SimulatorFaults, SessionLostAnswersErrorOneHundred) {
    server.InjectFault({SimFaultKind::SessionLost});
    RawReply r = PostRaw(port, kLogout);
    int etag[4];
    ASSERT_TRUE(ParseETag(r.etag, etag));
    EXPECT_EQ(etag[0], 100);
}

TEST_F(SimulatorFaults, FaultForAFunctionSparesTheOthersAndLastsItsCount) {
    server.InjectFaultFor(100, 2, {SimFaultKind::SessionLost}, 2);
    int etag[4];
    ASSERT_TRUE(ParseETag(PostRaw(port, kLogout).etag, etag));
    EXPECT_EQ(etag[0], 0);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(ParseETag(PostRaw(port, kConfig).etag, etag));
        EXPECT_EQ(etag[0], 100);
    }
    ASSERT_TRUE(ParseETag(PostRaw(port, kConfig).etag, etag));
    EXPECT_EQ(etag[0], 0);
}

TEST_F(SimulatorFaults, ClearFaultsAndClearLogForgetEverything) {
    server.InjectFault({SimFaultKind::SessionLost}, 5);
    server.ClearFaults();
    EXPECT_TRUE(Healthy(PostRaw(port, kLogout)));
    EXPECT_TRUE(server.WaitForRequests(1, 1000));
    server.ClearRequestLog();
    EXPECT_TRUE(server.GetRequestLog().empty());
}

TEST_F(SimulatorFaults, StopEndsAConnectionThatWaitsInASlowReply) {
    SimFault slow{SimFaultKind::SlowReply};
    slow.delayMs = 20000;
    server.InjectFault(slow);
    auto start = std::chrono::steady_clock::now();
    std::thread client([&] { PostRaw(port, kLogout, 10000); });
    ASSERT_TRUE(server.WaitForRequests(1, 2000));
    server.Stop();
    client.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(server.GetPort(), -1);
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

TEST_P(SimulatorConnectionFaults, StopEndsADripThatWaitsBetweenBytes) {
    SimFault drip{SimFaultKind::Drip};
    drip.delayMs = 600000;
    Inject(drip);
    SimConnection connection(port);
    ASSERT_TRUE(connection.Post(kLogout));
    ASSERT_TRUE(connection.WaitReadable(5000));
    server.Stop();
    RawReply r = connection.Read();
    EXPECT_EQ(r.rawBytes, 1u);
    EXPECT_TRUE(r.closedByServer);
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
