// The simulated broker's trade data: the departments 501/17 serves and
// the tokens' counter window.
#include "SimTestClient.h"

#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/CSimTradeAccounts.h"
#include "tools/simulator/SimTradeLoginRoutes.h"

#include <gtest/gtest.h>


TEST(SimTradeLogin, ServesTwelveDepartmentsNameThenCode) {
    CBrokerSimulator server;
    const int port = server.Start(0);
    ASSERT_GT(port, 0);
    std::unique_ptr<CDataSetList> reply =
        OpenReply(PostRaw(port, "tc_service=300&tc_isunicode=1&TC_MFUNCNO=501&TC_SFUNCNO=17"), "");
    ASSERT_TRUE(reply && !reply->IsError() && reply->GetCount() == 1);
    CDataSet* set = *reply->GetAt(0);
    ASSERT_EQ(set->GetRowCount(), 12);
    ASSERT_TRUE(set->MoveFirst());
    EXPECT_EQ(set->GetFieldText(0), u"深圳深南中路证券营业部");
    EXPECT_EQ(set->GetFieldText(1), u"0001");
}

TEST(SimTradeAccounts, ATokenTakesCodesFromCounterOneWithinTheWindowAndNeverTwice) {
    CSimTradeAccounts accounts;
    constexpr char kFund[] = "000300056789";
    ASSERT_TRUE(accounts.HasToken(kFund));
    EXPECT_FALSE(accounts.HasToken("000100012345"));
    using Check = CSimTradeAccounts::TokenCheck;
    // RFC 4226 Appendix D under the default seed: counters 1, 2, 3, 7.
    EXPECT_EQ(accounts.CheckTokenCode(kFund, "287082"), Check::Accepted);
    EXPECT_EQ(accounts.CheckTokenCode(kFund, "287082"), Check::Refused) << "a replay";
    EXPECT_EQ(accounts.CheckTokenCode(kFund, "969429"), Check::Accepted) << "counter 3 skips an unused 2";
    EXPECT_EQ(accounts.CheckTokenCode(kFund, "359152"), Check::Refused) << "counter 2 is behind now";
    EXPECT_EQ(accounts.TokenCounter(kFund), 4u);
    EXPECT_EQ(accounts.CheckTokenCode(kFund, "520489"), Check::Refused) << "counter 9 lies past the window";
    EXPECT_EQ(accounts.CheckTokenCode("000100012345", "287082"), Check::NoToken);
    ASSERT_TRUE(accounts.SetTokenSeed(kFund, "3132333435363738393031323334353637383930"));
    EXPECT_EQ(accounts.TokenCounter(kFund), 1u) << "a new seed starts again at 1";
    EXPECT_FALSE(accounts.SetTokenSeed("999999999999", "00"));
    ASSERT_TRUE(accounts.SetTokenSeed(kFund, ""));
    EXPECT_EQ(accounts.CheckTokenCode(kFund, "287082"), Check::NoToken);
}
