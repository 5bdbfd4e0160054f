// The simulated broker's account functions: history pages after the cursor
// within the dates, the password change that the next order must follow,
// and the warrant pre-check and exercise with their refusals.
#include "SimTestClient.h"

#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/SimAccountRoutes.h"
#include "tools/simulator/SimOrderRoutes.h"
#include "tools/simulator/SimTradeLoginRoutes.h"

#include <gtest/gtest.h>

#include <ctime>
#include <map>

namespace {

constexpr const char* kKey = "Acc0untSess1onK9";
const std::string kHead = "tc_service=300&tc_isunicode=1&";

struct Answer {
    std::u16string error;
    std::vector<std::vector<std::u16string>> rows;
    std::map<std::string, size_t> fields;
    std::u16string Field(const char* name, size_t row = 0) const {
        return row >= rows.size() || fields.count(name) == 0 ? u"" : rows[row][fields.at(name)];
    }
};

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

class SimulatorAccounts : public ::testing::Test {
protected:
    void SetUp() override {
        auto logins = std::make_unique<CSimTradeLoginRoutes>();
        auto orders = std::make_unique<CSimOrderRoutes>(*logins);
        auto group = std::make_unique<CSimAccountRoutes>(*logins, *orders);
        exchange = &orders->Exchange();
        server.AddRoutes(std::move(logins));
        server.AddRoutes(std::move(orders));
        server.AddRoutes(std::move(group));
        // 4 December 2026, 15:30 in Beijing.
        server.SetClock(int64_t{1796369400} * 1000);
        port = server.Start(0);
        ASSERT_GT(port, 0);
        session = LogOn(port, kKey);
        ASSERT_FALSE(session.empty());
        const Answer a = Ask("TC_MFUNCNO=500&TC_SFUNCNO=1&inputtype=Z&inputid=000100012345&trdpwd=123456"
                             "&authtype=0&authdata=");
        login = Narrow(a.Field("session")) + "&operway=i";
        ASSERT_EQ(login.rfind("custid=000100012345&tradesession=T0001", 0), 0u) << login;
    }
    Answer Ask(const std::string& text) {
        Answer a;
        const std::string sealed = SealRequest(text + "&session=" + session, kKey);
        std::unique_ptr<CDataSetList> list = OpenReply(PostRaw(port, kHead + sealed), kKey);
        if (!list || list->IsError()) {
            a.error = list ? list->GetErrorText().str() : u"unreadable";
            return a;
        }
        CDataSet* set = *list->GetAt(0);
        for (int c = 0; set && c < set->GetColumnCount(); ++c)
            a.fields[set->GetColumn(c)->GetName()] = static_cast<size_t>(c);
        for (bool on = set && set->MoveFirst(); on; on = set->MoveNext()) {
            a.rows.emplace_back();
            for (int c = 0; c < set->GetColumnCount(); ++c)
                a.rows.back().push_back(set->GetFieldText(c).str());
        }
        return a;
    }
    Answer History(int sub, const std::string& from, const std::string& to, const std::string& cursor) {
        return Ask("TC_MFUNCNO=500&TC_SFUNCNO=" + std::to_string(sub) + "&" + login + "&strdate=" + from +
                   "&enddate=" + to + "&request_num=80&poststr=" + cursor);
    }

    CBrokerSimulator server;
    CSimExchange* exchange = nullptr;
    int port = 0;
    std::string session;
    std::string login;
};

TEST_F(SimulatorAccounts, HistoryPagesFollowTheCursorWithinTheDatesAndNeverRepeatARow) {
    for (int sub : {20, 21}) {
        SCOPED_TRACE(sub);
        std::vector<std::string> seen;
        std::string cursor;
        for (int page = 0; page < 10; ++page) {
            const Answer a = History(sub, "20260701", "20261204", cursor);
            ASSERT_TRUE(a.error.empty()) << Narrow(a.error);
            ASSERT_LE(a.rows.size(), 80u);
            for (size_t r = 0; r < a.rows.size(); ++r) {
                const std::string post = Narrow(a.Field("poststr", r));
                EXPECT_TRUE(seen.empty() || post > seen.back());
                seen.push_back(post);
                const std::string date = post.substr(0, 8);
                EXPECT_GE(date, "20260701");
                EXPECT_LT(date, "20261204") << "today is not history";
            }
            if (a.rows.size() < 80)
                break;
            cursor = seen.back();
        }
        EXPECT_GT(seen.size(), 80u) << "more than a page of history";
    }
    EXPECT_EQ(History(20, "20261204", "20261101", "").error, u"查询日期有误");
}

TEST_F(SimulatorAccounts, APasswordChangeGivesAnAuthIdAndTheNextOrderMustCarryTheNewPassword) {
    EXPECT_EQ(Ask("TC_MFUNCNO=500&TC_SFUNCNO=13&" + login + "&oldpwd=111111&newpwd=654321").error, u"原交易密码错误");
    EXPECT_EQ(Ask("TC_MFUNCNO=500&TC_SFUNCNO=13&" + login + "&oldpwd=123456&newpwd=65432").error, u"新密码必须为六位数字");
    const Answer changed = Ask("TC_MFUNCNO=500&TC_SFUNCNO=13&" + login + "&oldpwd=123456&newpwd=654321");
    ASSERT_TRUE(changed.error.empty());
    EXPECT_FALSE(changed.Field("authid").empty());
    const std::string order = "TC_MFUNCNO=500&TC_SFUNCNO=4&" + login + "&fundid=000100012345&stkcode=000016&trdpwd=";
    EXPECT_EQ(Ask(order + "123456").error, u"交易密码错误");
    EXPECT_TRUE(Ask(order + "654321").error.empty());
}

TEST_F(SimulatorAccounts, AWarrantIsPrecheckedAndExercisedOnceWithinWhatIsHeld) {
    const Answer pre = Ask("tc_mfuncno=100&tc_sfuncno=28&" + login + "&stkcode=582010&qryflag=1");
    ASSERT_TRUE(pre.error.empty());
    EXPECT_EQ(pre.Field("market"), u"1");
    EXPECT_EQ(pre.Field("exerprice"), u"7.80");
    const int64_t held = std::stoll(Narrow(pre.Field("stkavl")));
    ASSERT_GT(held, 0);
    const std::string exercise = "TC_MFUNCNO=100&TC_SFUNCNO=29&" + login + "&stkcode=582010&price=";
    const std::string holder = "&market=1&secuid=A100012345&fundid=000100012345";
    const struct {
        std::string text;
        std::u16string error;
    } cases[] = {
        {exercise + "7.80&qty=100&market=0&secuid=0100012345&fundid=000100012345", u"股东代码不存在"},
        {exercise + "7.00&qty=100" + holder, u"行权价格不符"},
        {exercise + "7.80&qty=0" + holder, u"行权数量有误"},
        {exercise + "7.80&qty=" + std::to_string(held + 1) + holder, u"可用数量不足"},
        {"tc_mfuncno=100&tc_sfuncno=28&" + login + "&stkcode=999999", u"行权代码不存在"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ask(c.text).error, c.error) << c.text;
    const Answer done = Ask(exercise + "7.80&qty=100" + holder);
    ASSERT_TRUE(done.error.empty()) << Narrow(done.error);
    EXPECT_FALSE(done.Field("ordersno").empty());
    const Answer after = Ask("tc_mfuncno=100&tc_sfuncno=28&" + login + "&stkcode=582010&qryflag=1");
    EXPECT_EQ(std::stoll(Narrow(after.Field("stkavl"))), held - 100);
    EXPECT_NE(after.Field("fundavl"), pre.Field("fundavl"));
    exchange->SetMarketOpen(false);
    EXPECT_EQ(Ask(exercise + "7.80&qty=100" + holder).error, u"非交易时间，不能行权");
}

} // namespace
