// Request text building, sealing and the questions the worker asks of a
// text; the HTTP head and ETag parsers.
#include "framework/net/HttpWire.h"
#include "framework/net/NetFailure.h"
#include "framework/net/RequestText.h"

#include "core/CDataSetList.h"

#include <gtest/gtest.h>

namespace {
const std::string kKey = "Ab3dE6gH9jK2mN5p";

CCommonTail Tail() {
    CCommonTail tail;
    tail.imei = "861234567890123";
    tail.mobile = "13800000000";
    tail.sysVer = "6.0";
    tail.reqNo = 7;
    tail.session = "S-42";
    return tail;
}
} // namespace

TEST(NetRequestText, AFunctionPrefixLeadsTheWindowTextAndMainMinusOneSendsTheTextAlone) {
    EXPECT_EQ(BuildRequestText(31000, 4, "code=000001.02"), "TC_MFUNCNO=31000&TC_SFUNCNO=4&code=000001.02");
    EXPECT_EQ(BuildRequestText(-1, 0, "tc_mfuncno=31000&tc_sfuncno=4&code=1"), "tc_mfuncno=31000&tc_sfuncno=4&code=1");
}

TEST(NetRequestText, TheCommonTailFollowsWithoutADoubledAmpersand) {
    std::string text = BuildRequestText(100, 22, "");
    AppendCommonTail(text, Tail());
    EXPECT_EQ(text, "TC_MFUNCNO=100&TC_SFUNCNO=22&imei=861234567890123&mobile=13800000000&softName=VuvEr"
                    "&sysVer=6.0&reqNo=7&supportCompress=18&session=S-42");
    std::string other = "a=1";
    AppendCommonTail(other, Tail());
    EXPECT_EQ(other.rfind("a=1&imei=", 0), 0u);
}

TEST(NetRequestText, ATailValueNeverCarriesABlankOrAnotherParameter) {
    CCommonTail tail = Tail();
    tail.sysVer = "Linux 6.1.0-13 #1 SMP";
    tail.mobile = "138&session=X";
    tail.session = "S%41";
    const std::string text = CommonTailText(tail);
    EXPECT_NE(text.find("&sysVer=Linux_6.1.0-13__1_SMP&"), std::string::npos) << text;
    EXPECT_NE(text.find("&mobile=138_session_X&"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 13), "&session=S_41");
    EXPECT_TRUE(IsPlainTailValue("S0001"));
    for (const char* bad : {"", "S 1", "S&a=1", "S%20", "S=1"})
        EXPECT_FALSE(IsPlainTailValue(bad)) << bad;
}

TEST(NetRequestText, ALongWindowTextIsKeptWhole) {
    std::string window(100000, 'x');
    std::string text;
    ASSERT_TRUE(ComposeRequest(500, 1, "p=" + window, Tail(), true, kKey, &text));
    std::optional<std::string> plain = OpenSealedRequest(text, kKey);
    ASSERT_TRUE(plain);
    EXPECT_NE(plain->find("p=" + window + "&imei="), std::string::npos);
}

TEST(NetRequestText, SealedParametersOpenToTheOriginalOnesAndTcParametersStayClear) {
    std::string text;
    ASSERT_TRUE(ComposeRequest(500, 6, "tc_extra=1&fundid=123&TRDPWD=secret", Tail(), true, kKey, &text));
    EXPECT_EQ(text.rfind("TC_MFUNCNO=500&TC_SFUNCNO=6&tc_extra=1&TC_REQDATA=", 0), 0u);
    EXPECT_EQ(text.find("secret"), std::string::npos);
    EXPECT_EQ(text.find("fundid"), std::string::npos);
    std::string expected = "fundid=123&TRDPWD=secret&imei=861234567890123&mobile=13800000000&softName=VuvEr"
                           "&sysVer=6.0&reqNo=7&supportCompress=18&session=S-42";
    EXPECT_NE(text.find("&TC_REQLENGTH=" + std::to_string(expected.size()) + "&TC_ENCRYPT=36"), std::string::npos);
    EXPECT_EQ(OpenSealedRequest(text, kKey), expected);
    EXPECT_FALSE(OpenSealedRequest(text, "another-key-16ch"));
    // The envelope is upper-case hex.
    std::string hex = text.substr(text.find("TC_REQDATA=") + 11);
    hex = hex.substr(0, hex.find('&'));
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
}

TEST(NetRequestText, WithoutASessionKeyASealedRequestIsNotSentAtAll) {
    std::string text = "left as it was";
    EXPECT_FALSE(ComposeRequest(500, 6, "fundid=1&trdpwd=9", Tail(), true, "", &text));
    EXPECT_TRUE(text.empty());
    std::string raw = "TC_MFUNCNO=500&fundid=1&trdpwd=123456&x=yyyyyyyyyy";
    EXPECT_FALSE(SealRequestText(raw, "12345")); // too short a key
    EXPECT_EQ(raw, "TC_MFUNCNO=500&fundid=1&trdpwd=123456&x=yyyyyyyyyy");
}

TEST(NetRequestText, ARequestWithoutTheSealingFlagStaysClear) {
    std::string text;
    ASSERT_TRUE(ComposeRequest(31000, 4, "code=1", Tail(), false, "", &text));
    EXPECT_FALSE(IsSealedRequest(text));
    EXPECT_NE(text.find("code=1&imei="), std::string::npos);
}

TEST(NetRequestText, ARenewedRequestCarriesTheNewSessionSealedWithTheNewKey) {
    std::string text;
    ASSERT_TRUE(ComposeRequest(500, 3, "fundid=1", Tail(), true, kKey, &text));
    const std::string newKey = "NewKey0123456789";
    std::optional<std::string> renewed = RenewRequestSession(text, kKey, newKey, "S-43");
    ASSERT_TRUE(renewed);
    EXPECT_EQ(renewed->rfind("TC_MFUNCNO=500&TC_SFUNCNO=3&TC_REQDATA=", 0), 0u);
    std::optional<std::string> plain = OpenSealedRequest(*renewed, newKey);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->substr(plain->size() - 13), "&session=S-43");
    EXPECT_EQ(ReadCommonTail(*plain).imei, "861234567890123");
    EXPECT_EQ(ReadCommonTail(*plain).reqNo, 7);

    std::string clear = "TC_MFUNCNO=31000&TC_SFUNCNO=4&code=1&session=OLD";
    EXPECT_EQ(RenewRequestSession(clear, "", "", "NEW"), "TC_MFUNCNO=31000&TC_SFUNCNO=4&code=1&session=NEW");
    EXPECT_FALSE(RenewRequestSession(text, "wrong-key-123456", newKey, "S-43"));
}

TEST(NetRequestText, OrdersCancellationsPasswordChangesBatchOrdersAndWarrantExercisesAreNeverSentTwice) {
    EXPECT_TRUE(IsNeverResendRequest("tc_mfuncno=500&tc_sfuncno=13&authid=1&oldpwd=1&newpwd=2"));
    // A text naming its function twice: any of the names counts.
    EXPECT_TRUE(IsNeverResendRequest("TC_MFUNCNO=31000&tc_mfuncno=500&tc_sfuncno=6&code=1"));
    EXPECT_TRUE(IsNeverResendRequest("TC_MFUNCNO=500&TC_SFUNCNO=6&x=1"));
    EXPECT_TRUE(IsNeverResendRequest("TC_MFUNCNO=500&TC_SFUNCNO=7"));
    EXPECT_TRUE(IsNeverResendRequest("TC_MFUNCNO=100&TC_SFUNCNO=20"));
    EXPECT_TRUE(IsNeverResendRequest("Tc_MfuncNo=100&tc_sfuncno=29"));
    EXPECT_TRUE(IsNeverResendRequest("tc_mfuncno=500&tc_sfuncno=6&code=1&imei=2"));
    EXPECT_FALSE(IsNeverResendRequest("TC_MFUNCNO=500&TC_SFUNCNO=60"));
    EXPECT_FALSE(IsNeverResendRequest("TC_MFUNCNO=501&TC_SFUNCNO=6"));
    EXPECT_FALSE(IsNeverResendRequest("TC_MFUNCNO=31000&TC_SFUNCNO=4&xtc_sfuncno=6"));
    EXPECT_TRUE(IsNeverResendRequest("TC_MFUNCNO=500&TC_SFUNCNO=1&authtype=1")) << "the trade login";
}

TEST(NetRequestText, OnlyPlainFunctionNumbersAndSealedPasswordsPassTheCheckBeforeSending) {
    const std::pair<const char*, RequestRefusal> cases[] = {
        {"TC_MFUNCNO=500&TC_SFUNCNO=6&code=1", RequestRefusal::None},
        {"tc_mfuncno=0&tc_sfuncno=0", RequestRefusal::None},
        {"TC_MFUNCNO=+500&TC_SFUNCNO=6", RequestRefusal::BadFunctionNumber},
        {"TC_MFUNCNO= 500&TC_SFUNCNO=6", RequestRefusal::BadFunctionNumber},
        {"TC_MFUNCNO=0500&TC_SFUNCNO=6", RequestRefusal::BadFunctionNumber},
        {"TC_MFUNCNO=500&TC_SFUNCNO=6x", RequestRefusal::BadFunctionNumber},
        {"TC_MFUNCNO=500&TC_SFUNCNO", RequestRefusal::BadFunctionNumber},
        {"TC_MFUNCNO=500&TC_SFUNCNO=13&newpwd=1", RequestRefusal::ClearPassword},
        {"TC_MFUNCNO=500&TC_SFUNCNO=1& trdpwd =1", RequestRefusal::ClearPassword},
        {"TC_MFUNCNO=500&TC_SFUNCNO=1&TC_REQDATA=A1B2&TC_ENCRYPT=36", RequestRefusal::None},
    };
    for (auto [text, expected] : cases)
        EXPECT_EQ(CheckRequestText(text), expected) << text;
}

TEST(NetRequestText, PasswordValuesNeverReachTheLog) {
    EXPECT_TRUE(CarriesPassword("a=1&TrdPwd=9"));
    EXPECT_TRUE(CarriesPassword("newpwd=1"));
    EXPECT_TRUE(CarriesPassword("x=1&PWD=2"));
    EXPECT_FALSE(CarriesPassword("pwdhint=1&oldpwdx=2"));
    EXPECT_EQ(RedactPasswords("a=1&trdpwd=123456&NEWPWD=654321&pwd=&b=2"),
              "a=1&trdpwd=***&NEWPWD=***&pwd=***&b=2");
    // The password change sends the old password too; the trade login its
    // pass phrase or one-time code.
    EXPECT_EQ(RedactPasswords("authid=7&oldpwd=111111&newpwd=222222"), "authid=7&oldpwd=***&newpwd=***");
    EXPECT_EQ(RedactPasswords("authtype=2&AuthData=secret"), "authtype=2&AuthData=***");
    EXPECT_EQ(RedactPasswords("a=1&trdpwd =123456& pwd=7"), "a=1&trdpwd =***& pwd=***");
}

TEST(NetFailureText, AFailedExchangeBecomesAnErrorSetWithTheCodeAndItsText) {
    std::vector<uint8_t> body = NetFailureBody(4);
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    ASSERT_EQ(list.GetErrorIndex(), 0);
    EXPECT_EQ(list.GetErrorText().str(), u"错误(4)：接收数据失败，请重试");
    EXPECT_EQ(NetFailureMessage(1), u"错误(1)：无法建立网络连接");
    EXPECT_EQ(NetFailureMessage(6), u"错误(6)：数据接收不全或格式错误");
}

TEST(NetHttpWire, TheETagGivesFourNumbersWithOrWithoutQuotes) {
    CReplyTag tag;
    ASSERT_TRUE(ParseReplyTag("\"0,5,18,36\"", &tag));
    EXPECT_EQ(tag.error, 0);
    EXPECT_EQ(tag.compression, 18);
    EXPECT_EQ(tag.cipher, 36);
    ASSERT_TRUE(ParseReplyTag(" 100, 0 ,0,0", &tag));
    EXPECT_EQ(tag.error, 100);
    for (const char* bad : {"", "\"\"", "0,0,0", "0,0,0,0,0", "a,0,0,0", "0,,0,0", "99999999999,0,0,0", "1x,0,0,0"})
        EXPECT_FALSE(ParseReplyTag(bad, &tag)) << bad;
}

TEST(NetHttpWire, TheHeadParserTrustsNoSize) {
    CHttpHead head;
    ASSERT_TRUE(ParseHttpHead("HTTP/1.1 200 OK\r\nContent-Length: 12\r\nETag: \"0,0,0,0\"", 100, &head));
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(head.contentLength, 12u);
    EXPECT_FALSE(head.closeAfter);
    EXPECT_FALSE(ParseHttpHead("HTTP/1.1 200 OK\r\nContent-Length: 101", 100, &head));
    EXPECT_FALSE(ParseHttpHead("HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999", UINT64_MAX, &head));
    EXPECT_FALSE(ParseHttpHead("HTTP/1.1 200 OK\r\nContent-Length: -1", 100, &head));
    EXPECT_FALSE(ParseHttpHead("HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2", 100, &head));
    EXPECT_FALSE(ParseHttpHead("HTTP/1.1 200 OK\r\nContent-Length: 1\r\nTransfer-Encoding: chunked", 100, &head));
    EXPECT_FALSE(ParseHttpHead("HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked", 100, &head));
    EXPECT_FALSE(ParseHttpHead("HTTP/2 200 OK", 100, &head));
    EXPECT_FALSE(ParseHttpHead("garbage", 100, &head));
    ASSERT_TRUE(ParseHttpHead("HTTP/1.0 200 OK\r\nContent-Length: 0", 100, &head));
    EXPECT_TRUE(head.closeAfter);

    std::uint64_t size = 0;
    EXPECT_TRUE(ParseChunkSize("1aF;name=x", 1000, &size));
    EXPECT_EQ(size, 0x1AFu);
    EXPECT_FALSE(ParseChunkSize("1001", 0x1000, &size));
    EXPECT_FALSE(ParseChunkSize("ffffffffffffffffff", UINT64_MAX, &size));
    EXPECT_FALSE(ParseChunkSize("", 100, &size));
    EXPECT_FALSE(ParseChunkSize("-1", 100, &size));
}

TEST(NetHttpWire, TheGatewayFormNamesTheServerInFull) {
    EXPECT_EQ(BuildPostHead("srv", 8002, false, 5),
              "POST / HTTP/1.1\r\nHost: srv:8002\r\nContent-Type: application/x-www-form-urlencoded\r\n"
              "Content-Length: 5\r\n\r\n");
    std::string gateway = BuildPostHead("srv", 8002, true, 5);
    EXPECT_EQ(gateway.rfind("POST http://srv:8002/ HTTP/1.1\r\n", 0), 0u);
    EXPECT_NE(gateway.find("\r\nX-Online-Host: srv:8002\r\n"), std::string::npos);
}
