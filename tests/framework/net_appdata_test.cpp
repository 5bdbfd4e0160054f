// The application state's side of the request road: the shared worker and
// its connection, the traffic totals and the renewed session.
#include "app_Fixture.h"
#include "framework/app/CAppNetContext.h"
#include "framework/net/CNetWorker.h"
#include "net_TestPeer.h"

namespace {

using NetAppDataTest = AppDataTest;

TEST_F(NetAppDataTest, TheSharedWorkerIsMadeOnceForTheConfiguredServerAndCountsTraffic) {
    CTestPeer peer([](int fd, const CPeerRequest&) {
        CTestPeer::SendAll(fd, CTestPeer::Reply(CTestPeer::Bytes(CTestPeer::OkBody(u"ok"))));
        return true;
    });
    CAppData& app = App();
    ASSERT_TRUE(app.SetSetting("Server_Port", std::to_string(peer.Port()), false));
    CNetWorker* worker = app.GetNetWorker();
    ASSERT_NE(worker, nullptr);
    EXPECT_EQ(app.GetNetWorker(), worker);
    ASSERT_EQ(app.GetSharedConnection(), &worker->GetConnection());
    EXPECT_EQ(worker->GetConnection().GetHost(), app.GetSetting("Server_Host").str());
    EXPECT_EQ(worker->GetConnection().GetPort(), peer.Port());
    ASSERT_TRUE(worker->PostRequest(nullptr, "TC_MFUNCNO=100&TC_SFUNCNO=22", 0));
    ASSERT_TRUE(worker->WaitIdle(3000));
    EXPECT_EQ(peer.RequestCount(), 1);
    EXPECT_EQ(app.GetUploadBytes(), worker->GetConnection().GetBytesSent());
    EXPECT_EQ(app.GetDownloadBytes(), worker->GetConnection().GetBytesReceived());
    EXPECT_GT(app.GetDownloadBytes(), 0u);
}

TEST_F(NetAppDataTest, ARenewedSessionReachesTheApplicationState) {
    CAppData& app = App();
    CAppNetContext::Instance().OnSessionRenewed("Key0123456789abc", "S-9");
    EXPECT_EQ(app.GetSessionKey().str(), "Key0123456789abc");
    EXPECT_EQ(app.GetSession().str(), "S-9");
    EXPECT_EQ(CAppNetContext::Instance().GetSessionKey(), "Key0123456789abc");
    EXPECT_EQ(CAppNetContext::Instance().GetPublicKeyPath(), app.MakeNativePath("pubkey.bin"));
}

} // namespace
