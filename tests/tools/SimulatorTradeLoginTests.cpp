// The simulated broker's trade login (500/1): what each kind of account
// and proof gets, and the trade sessions it hands out, which a trade route
// checks.
#include "SimTestClient.h"

#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/SimTradeLoginRoutes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {
constexpr const char* kKey = "Tr4deL0ginKey123";
const std::string kHead = "tc_service=300&tc_isunicode=1&";

class SimulatorTradeLogin : public ::testing::Test {
protected:
    void SetUp() override {
        auto routes = std::make_unique<CSimTradeLoginRoutes>(accounts);
        sessions = &routes->Sessions();
        server.AddRoutes(std::move(routes));
        port = server.Start(0);
        ASSERT_GT(port, 0);
        session = LogOn(port, kKey);
        ASSERT_FALSE(session.empty());
    }
    // Sends a sealed login and opens the reply.
    std::unique_ptr<CDataSetList> Login(const std::string& params, int* error = nullptr) {
        const RawReply r = PostRaw(
            port, kHead + SealRequest("TC_MFUNCNO=500&TC_SFUNCNO=1&" + params + "&session=" + session, kKey));
        if (error)
            *error = ErrorOf(r);
        return OpenReply(r, kKey);
    }
    std::shared_ptr<CSimTradeAccounts> accounts = std::make_shared<CSimTradeAccounts>();
    CSimTradeSessions* sessions = nullptr;
    CBrokerSimulator server;
    int port = -1;
    std::string session;
};

TEST_F(SimulatorTradeLogin, EachAccountAndProofGetsItsAnswer) {
    const std::string code1 = CSimTradeAccounts::Hotp(CSimTradeAccounts::kDefaultSeed, 1);
    struct Case {
        std::string params;
        const char16_t* error; // null: a login
    };
    const Case cases[] = {
        {"inputtype=Z&inputid=000100012345&trdpwd=123456&authtype=0&authdata=", nullptr},
        {"inputtype=1&inputid=A100012345&trdpwd=123456&authtype=0&authdata=", nullptr},
        {"inputtype=Z&inputid=000100012345&trdpwd=111111&authtype=0&authdata=", u"账号或交易密码错误"},
        {"inputtype=Z&inputid=999900012345&trdpwd=123456&authtype=0&authdata=", u"账号或交易密码错误"},
        {"inputtype=Z&inputid=000200023456&trdpwd=654321&authtype=0&authdata=", u"账户已被锁定，请与营业部联系"},
        {"inputtype=Z&inputid=000100012346&trdpwd=135790&authtype=0&authdata=", u"请输入认证口令"},
        {"inputtype=Z&inputid=000100012346&trdpwd=135790&authtype=2&authdata=wrong", u"认证口令错误"},
        {"inputtype=Z&inputid=000100012346&trdpwd=135790&authtype=2&authdata=orb2026", nullptr},
        {"inputtype=Z&inputid=000100012345&trdpwd=123456&authtype=5&authdata=123456", u"此认证方式没有申请"},
        {"inputtype=Z&inputid=000300056789&trdpwd=246810&authtype=5&authdata=000000", u"令牌验证失败"},
        {"inputtype=Z&inputid=000300056789&trdpwd=246810&authtype=5&authdata=" + code1, nullptr},
        {"inputtype=Z&inputid=000300056789&trdpwd=246810&authtype=5&authdata=" + code1, u"令牌验证失败"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CDataSetList> reply = Login(c.params);
        ASSERT_TRUE(reply) << c.params;
        if (c.error) {
            EXPECT_TRUE(reply->IsError()) << c.params;
            EXPECT_EQ(reply->GetErrorText(), c.error) << c.params;
        } else {
            EXPECT_FALSE(reply->IsError()) << c.params;
            EXPECT_EQ(reply->GetCount(), 2) << c.params;
        }
    }
    EXPECT_EQ(sessions->Count(), 4u);
}

TEST_F(SimulatorTradeLogin, ALoginHandsOutASessionThatOnlyItsAccountAndLogonPass) {
    std::unique_ptr<CDataSetList> reply = Login("inputtype=Z&inputid=000100012345&trdpwd=123456&authtype=0&authdata=");
    ASSERT_TRUE(reply && !reply->IsError() && *reply->GetAt(0));
    (*reply->GetAt(0))->MoveFirst();
    EXPECT_EQ((*reply->GetAt(0))->GetFieldText(0), u"custid=000100012345&tradesession=T0001");
    const auto check = [&](std::string custid, std::string id, std::string logon) {
        SimRequest request;
        request.params = {{"custid", custid}, {"tradesession", id}};
        return sessions->Check(request, SimSession{logon, kKey});
    };
    EXPECT_EQ(check("000100012345", "T0001", session), "000100012345");
    EXPECT_EQ(check("000100012346", "T0001", session), "") << "another account";
    EXPECT_EQ(check("000100012345", "T0002", session), "") << "never handed out";
    EXPECT_EQ(check("000100012345", "T0001", "S0099"), "") << "another logon";
}

} // namespace
