// The simulated broker's trade data: the departments 501/17 serves and
// the tokens' counter window.
#include "SimTestClient.h"

#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/CSimTradeAccounts.h"
#include "tools/simulator/SimTradeLoginRoutes.h"

#include <gtest/gtest.h>

#include <map>

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
    // RFC 4226 Appendix D under the default seed: counters 1, 2, 3, 9.
    EXPECT_EQ(accounts.CheckTokenCode(kFund, "287082"), Check::Accepted);
    EXPECT_EQ(accounts.CheckTokenCode(kFund, "287082"), Check::Refused) << "a replay";
    EXPECT_EQ(accounts.CheckTokenCode(kFund, "969429"), Check::Accepted) << "counter 3 skips an unused 2";
    EXPECT_EQ(accounts.CheckTokenCode(kFund, "359152"), Check::Refused) << "counter 2 is behind now";
    EXPECT_EQ(accounts.TokenCounter(kFund), 4u);
    const std::string beyond =
        CSimTradeAccounts::Hotp(CSimTradeAccounts::kDefaultSeed, 4 + CSimTradeAccounts::kTokenLookAhead);
    EXPECT_EQ(accounts.CheckTokenCode(kFund, beyond), Check::Refused) << "a counter past the window";
    EXPECT_EQ(accounts.CheckTokenCode(kFund, "520489"), Check::Accepted) << "counter 9 lies within it";
    EXPECT_EQ(accounts.TokenCounter(kFund), 10u);
    EXPECT_EQ(accounts.CheckTokenCode("000100012345", "287082"), Check::NoToken);
    ASSERT_TRUE(accounts.SetTokenSeed(kFund, "3132333435363738393031323334353637383930"));
    EXPECT_EQ(accounts.TokenCounter(kFund), 1u) << "a new seed starts again at 1";
    EXPECT_FALSE(accounts.SetTokenSeed("999999999999", "00"));
    ASSERT_TRUE(accounts.SetTokenSeed(kFund, ""));
    EXPECT_EQ(accounts.CheckTokenCode(kFund, "287082"), Check::NoToken);
}

TEST(SimBranches, EachDepartmentHasTheAreaCodeOfItsOwnCity) {
    CBrokerSimulator server;
    const int port = server.Start(0);
    ASSERT_GT(port, 0);
    const auto telephones = [port](int province) {
        std::map<std::u16string, std::u16string> byCity;
        std::unique_ptr<CDataSetList> reply = OpenReply(
            PostRaw(port, "tc_service=300&tc_isunicode=1&TC_MFUNCNO=504&TC_SFUNCNO=13&provinceid=" +
                              std::to_string(province)),
            "");
        CDataSet* set = reply && !reply->IsError() ? *reply->GetAt(0) : nullptr;
        for (bool on = set && set->MoveFirst(); on; on = set->MoveNext()) {
            const std::u16string address = set->GetFieldText(2).str();
            byCity[address.substr(0, address.find(u'市'))] = set->GetFieldText(3).str();
        }
        return byCity;
    };
    const auto areaOf = [](const std::u16string& tel) { return tel.substr(0, tel.find(u'-')); };
    auto jiangsu = telephones(32);
    ASSERT_EQ(jiangsu.size(), 3u);
    EXPECT_EQ(areaOf(jiangsu[u"南京"]), u"025");
    EXPECT_EQ(areaOf(jiangsu[u"苏州"]), u"0512");
    EXPECT_EQ(areaOf(jiangsu[u"无锡"]), u"0510");
    auto guangdong = telephones(44);
    EXPECT_EQ(areaOf(guangdong[u"广州"]), u"020");
    EXPECT_EQ(areaOf(guangdong[u"深圳"]), u"0755");
    EXPECT_EQ(areaOf(telephones(11)[u"北京"]), u"010");
}
