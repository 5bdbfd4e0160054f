// The trade login's texts without a window: the request and what may go
// into it, what a reply must hold to count as a login, and the account
// texts of the lists.
#include "core/CDataSetWriter.h"
#include "trade/login/TradeLoginText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TradeLoginRequest, CarriesEachModeAndRefusesAValueThatCouldAddAParameter) {
    struct Case {
        const char* what;
        CTradeLoginFields fields;
        const char* want; // null: refused
    };
    const Case cases[] = {
        {"token", {"Z", "0001", "000100012345", "123456", LoginAuth::TokenCode, "755224"},
         "tc_mfuncno=500&tc_sfuncno=1&inputtype=Z&custorgid=0001&inputid=000100012345&trdpwd=123456"
         "&operway=i&authtype=5&authdata=755224"},
        {"pass phrase", {"1", "0002", "B880123456", "654321", LoginAuth::PassPhrase, "qt2026"},
         "tc_mfuncno=500&tc_sfuncno=1&inputtype=1&custorgid=0002&inputid=B880123456&trdpwd=654321"
         "&operway=i&authtype=2&authdata=qt2026"},
        {"simple way ignores auth data", {"0", "0001", "0012345678", "111111", LoginAuth::None, "x"},
         "tc_mfuncno=500&tc_sfuncno=1&inputtype=0&custorgid=0001&inputid=0012345678&trdpwd=111111"
         "&operway=i&authtype=0&authdata="},
        {"& in the account", {"Z", "0001", "1&inputid=2", "123456", LoginAuth::None, ""}, nullptr},
        {"= in the password", {"Z", "0001", "000100012345", "12=456", LoginAuth::None, ""}, nullptr},
        {"% in the pass phrase", {"Z", "0001", "000100012345", "123456", LoginAuth::PassPhrase, "a%26b"}, nullptr},
        {"control character", {"Z", "0001", "0001\n0012345", "123456", LoginAuth::None, ""}, nullptr},
        {"no department", {"Z", "", "000100012345", "123456", LoginAuth::None, ""}, nullptr},
        {"no account", {"Z", "0001", "", "123456", LoginAuth::None, ""}, nullptr},
    };
    for (const Case& c : cases) {
        std::string out = "kept";
        const bool built = AppendTradeLoginRequest(c.fields, out);
        if (c.want) {
            EXPECT_TRUE(built) << c.what;
            EXPECT_EQ(out, std::string("kept") + c.want) << c.what;
        } else {
            EXPECT_FALSE(built) << c.what;
            EXPECT_EQ(out, "kept") << c.what;
        }
    }
}

TEST(TradeLoginRequest, SessionTextsArePlainKeyValuePairs) {
    for (const char* good : {"custid=000100012345&tradesession=T0001", "a=1", "k=", "a.b=c-d_e&x=1"})
        EXPECT_TRUE(IsTradeSessionText(good)) << good;
    for (const char* bad : {"", "abc", "=1", "a=1&", "&a=1", "a=1&&b=2", "a=1=2", "a=%26", "a=b c", "a=中"})
        EXPECT_FALSE(IsTradeSessionText(bad)) << bad;
}

// A reply as the server sends it; holder rows are (fundid, custname).
std::vector<uint8_t> Reply(const char* session, const std::vector<std::pair<std::string, std::u16string>>& holders,
                           bool withHolderSet = true) {
    CDataSetWriter w;
    if (session) {
        w.AddSet("session");
        w.AddColumn(DataSetType::AnsiText, "session");
        w.AddRow();
        w.SetAnsiText(0, session);
    }
    if (withHolderSet) {
        w.AddSet("holder");
        w.AddColumn(DataSetType::AnsiText, "market");
        w.AddColumn(DataSetType::AnsiText, "secuid");
        w.AddColumn(DataSetType::AnsiText, "fundid");
        w.AddColumn(DataSetType::WideText, "custname");
        w.AddColumn(DataSetType::AnsiText, "orgid");
        for (const auto& [fundid, name] : holders) {
            w.AddRow();
            w.SetAnsiText(0, "0");
            w.SetAnsiText(1, "0012345678");
            w.SetAnsiText(2, fundid);
            w.SetText(3, name);
            w.SetAnsiText(4, "0001");
        }
    }
    return w.Serialize();
}

TEST(TradeLoginReply, OnlyASessionAndAHolderWithAFundAccountMakeALogin) {
    using Kind = CTradeLoginReply::Kind;
    struct Case {
        const char* what;
        std::vector<uint8_t> body;
        Kind want;
    };
    const std::vector<std::pair<std::string, std::u16string>> one = {{"000100012345", u"王小明"}};
    const Case cases[] = {
        {"well formed", Reply("custid=000100012345&tradesession=T0001", one), Kind::Success},
        {"first holder without fund account", Reply("s=1", {{"", u"甲"}, {"000100012345", u""}}), Kind::Success},
        {"one set only", Reply("s=1", one, false), Kind::BadFormat},
        {"no session set", Reply(nullptr, one), Kind::BadFormat},
        {"empty session", Reply("", one), Kind::BadFormat},
        {"session adding a parameter", Reply("s=1&trdpwd=%31", one), Kind::BadFormat},
        {"empty holder set", Reply("s=1", {}), Kind::BadFormat},
        {"no fund account", Reply("s=1", {{"", u"甲"}}), Kind::BadFormat},
        {"fund account with &", Reply("s=1", {{"0001&x=1", u"甲"}}), Kind::BadFormat},
        {"error set", CDataSetWriter::ErrorBody(u"交易密码错误"), Kind::Error},
        {"unreadable body", {1, 2, 3}, Kind::Error},
    };
    for (const Case& c : cases) {
        CDataSetList sets(c.body.data(), static_cast<int>(c.body.size()));
        CTradeLoginReply r = ReadTradeLoginReply(sets);
        EXPECT_EQ(r.kind, c.want) << c.what;
        // A login's holder set leaves the reply, which no longer deletes it.
        EXPECT_EQ(r.holders != nullptr, c.want == Kind::Success) << c.what;
        if (r.holders) {
            EXPECT_EQ(*sets.GetAt(1), nullptr) << c.what;
        }
    }
}

TEST(TradeAccountTexts, MaskingCoversOnlyCharactersThatExist) {
    const std::pair<std::u16string, std::u16string> masks[] = {
        {u"000100015678", u"0001****5678"}, {u"123456", u"1234**"}, {u"1234", u"1234"}, {u"", u""}};
    for (const auto& [account, shown] : masks)
        EXPECT_EQ(MaskAccountId(account), shown) << std::string(account.begin(), account.end());
    EXPECT_EQ(LoginDeptText("000200012345", "0001", u"东城营业部"), u"登录时未正确设置营业部");
}

TEST(TradeLoginReply, ATokenRefusalIsToldApartFromANotAppliedTokenAndFromAnyOtherError) {
    EXPECT_EQ(ReadTokenRefusal(u"令牌验证失败"), TokenRefusal::Refused);
    EXPECT_EQ(ReadTokenRefusal(u"[-1]找不到令牌，请重新申请"), TokenRefusal::Refused);
    EXPECT_EQ(ReadTokenRefusal(u"认证失败，您已经申请了动态口令"), TokenRefusal::Refused);
    EXPECT_EQ(ReadTokenRefusal(u"此认证方式没有申请"), TokenRefusal::NotApplied);
    EXPECT_EQ(ReadTokenRefusal(u"令牌验证失败：此认证方式没有申请"), TokenRefusal::NotApplied);
    EXPECT_EQ(ReadTokenRefusal(u"交易密码错误"), TokenRefusal::None);
    EXPECT_EQ(ReadTokenRefusal(u""), TokenRefusal::None);
}

} // namespace
