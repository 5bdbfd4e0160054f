// Request text building, sealing and the questions the worker asks of a
// text; the HTTP head and ETag parsers.
#include "framework/net/HttpWire.h"
#include "framework/net/RequestText.h"

#include <gtest/gtest.h>

namespace {
const std::string kKey = "Ab3dE6gH9jK2mN5p";
const char kTail[] = "imei=861234567890123&mobile=13800000000&softName=VuvEr&sysVer=6.0&reqNo=7"
                     "&supportCompress=18&session=S-42";

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

TEST(NetRequestText, TheFunctionPrefixLeadsTheWindowTextAndTheCommonTailFollowsWithoutADoubledAmpersand) {
    // The tail's fields, by name, are the start-up test's.
    EXPECT_EQ(BuildRequestText(31000, 4, "code=000001.02"), "TC_MFUNCNO=31000&TC_SFUNCNO=4&code=000001.02");
    EXPECT_EQ(BuildRequestText(-1, 0, "tc_mfuncno=31000&tc_sfuncno=4&code=1"), "tc_mfuncno=31000&tc_sfuncno=4&code=1")
        << "main function -1 sends the text alone";
    std::string text = BuildRequestText(100, 22, "");
    AppendCommonTail(text, Tail());
    EXPECT_EQ(text, "TC_MFUNCNO=100&TC_SFUNCNO=22&" + std::string(kTail));
    ASSERT_TRUE(ComposeRequest(31000, 4, "code=1", Tail(), false, "", &text));
    EXPECT_EQ(text, "TC_MFUNCNO=31000&TC_SFUNCNO=4&code=1&" + std::string(kTail)) << "not sealed";
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

TEST(NetRequestText, SealedParametersOpenWholeWithTheKeyAndTcParametersStayClear) {
    std::string text;
    ASSERT_TRUE(ComposeRequest(500, 6, "tc_extra=1&fundid=123&TRDPWD=secret", Tail(), true, kKey, &text));
    EXPECT_EQ(text.rfind("TC_MFUNCNO=500&TC_SFUNCNO=6&tc_extra=1&TC_REQDATA=", 0), 0u);
    EXPECT_EQ(text.find("secret"), std::string::npos);
    EXPECT_EQ(text.find("fundid"), std::string::npos);
    const std::string expected = "fundid=123&TRDPWD=secret&" + std::string(kTail);
    EXPECT_NE(text.find("&TC_REQLENGTH=" + std::to_string(expected.size()) + "&TC_ENCRYPT=36"), std::string::npos);
    EXPECT_EQ(OpenSealedRequest(text, kKey), expected);
    EXPECT_FALSE(OpenSealedRequest(text, "another-key-16ch"));
    std::string hex = text.substr(text.find("TC_REQDATA=") + 11);
    hex = hex.substr(0, hex.find('&'));
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos) << "upper-case hex";
    // A long window text is kept whole.
    const std::string window(100000, 'x');
    ASSERT_TRUE(ComposeRequest(500, 1, "p=" + window, Tail(), true, kKey, &text));
    EXPECT_NE(OpenSealedRequest(text, kKey).value_or("").find("p=" + window + "&imei="), std::string::npos);
}

TEST(NetRequestText, WithoutASessionKeyASealedRequestIsNotSentAtAll) {
    std::string text = "left as it was";
    EXPECT_FALSE(ComposeRequest(500, 6, "fundid=1&trdpwd=9", Tail(), true, "", &text));
    EXPECT_TRUE(text.empty());
    std::string raw = "TC_MFUNCNO=500&fundid=1&trdpwd=123456&x=yyyyyyyyyy";
    EXPECT_FALSE(SealRequestText(raw, "12345")); // too short a key
    EXPECT_EQ(raw, "TC_MFUNCNO=500&fundid=1&trdpwd=123456&x=yyyyyyyyyy");
}

TEST(NetRequestText, ARenewedRequestCarriesTheNewSessionAndOnlyTheRightKeyOpensTheOldSeal) {
    // A sealed one is opened and sealed again with the new key by the
    // worker's re-logon test.
    const std::string clear = "TC_MFUNCNO=31000&TC_SFUNCNO=4&code=1&session=OLD";
    EXPECT_EQ(RenewRequestSession(clear, "", "", "NEW"), "TC_MFUNCNO=31000&TC_SFUNCNO=4&code=1&session=NEW");
    std::string text;
    ASSERT_TRUE(ComposeRequest(500, 3, "fundid=1", Tail(), true, kKey, &text));
    EXPECT_FALSE(RenewRequestSession(text, "wrong-key-123456", "NewKey0123456789", "S-43"));
}

TEST(NetRequestText, OrdersCancellationsPasswordChangesBatchOrdersWarrantExercisesAndTheTradeLoginAreNeverSentTwice) {
    const std::pair<const char*, bool> cases[] = {
        {"tc_mfuncno=500&tc_sfuncno=13&authid=1&oldpwd=1&newpwd=2", true},
        {"TC_MFUNCNO=31000&tc_mfuncno=500&tc_sfuncno=6&code=1", true}, // any of the names counts
        {"TC_MFUNCNO=500&TC_SFUNCNO=6&x=1", true},
        {"TC_MFUNCNO=500&TC_SFUNCNO=7", true},
        {"TC_MFUNCNO=100&TC_SFUNCNO=20", true},
        {"Tc_MfuncNo=100&tc_sfuncno=29", true},
        {"TC_MFUNCNO=500&TC_SFUNCNO=1&authtype=1", true},
        {"TC_MFUNCNO=500&TC_SFUNCNO=60", false},
        {"TC_MFUNCNO=501&TC_SFUNCNO=6", false},
        {"TC_MFUNCNO=31000&TC_SFUNCNO=4&xtc_sfuncno=6", false},
    };
    for (auto [text, never] : cases) {
        EXPECT_EQ(IsNeverResendRequest(text), never) << text;
        EXPECT_EQ(IsActingRequest(text), never) << "every never-twice request acts: " << text;
    }
    // The token application acts (a new seed) without being on that list.
    EXPECT_TRUE(IsActingRequest("tc_mfuncno=500&tc_sfuncno=69&mobile=1"));
    EXPECT_FALSE(IsNeverResendRequest("tc_mfuncno=500&tc_sfuncno=69"));
    EXPECT_FALSE(IsActingRequest("tc_mfuncno=100&tc_sfuncno=69"));
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
    for (const char* text : {"a=1&TrdPwd=9", "newpwd=1", "x=1&PWD=2"})
        EXPECT_TRUE(CarriesPassword(text)) << text;
    EXPECT_FALSE(CarriesPassword("pwdhint=1&oldpwdx=2"));
    // The password change sends the old password too; the trade login its
    // pass phrase or one-time code.
    const std::pair<const char*, const char*> cases[] = {
        {"a=1&trdpwd=123456&NEWPWD=654321&pwd=&b=2", "a=1&trdpwd=***&NEWPWD=***&pwd=***&b=2"},
        {"authid=7&oldpwd=111111&newpwd=222222", "authid=7&oldpwd=***&newpwd=***"},
        {"authtype=2&AuthData=secret", "authtype=2&AuthData=***"},
        {"a=1&trdpwd =123456& pwd=7", "a=1&trdpwd =***& pwd=***"},
        // A name is read as the server reads it, escapes decoded, an
        // escaped "%" included; one that never settles is masked.
        {"trd%70wd=123456&%6Eew%50WD=654321", "trd%70wd=***&%6Eew%50WD=***"},
        {"a=1&trd%2570wd=123456", "a=1&trd%2570wd=***"},
        {"%25252525252525252570wd=1", "%25252525252525252570wd=***"},
        {"p%77dhint=1&code=%70wd", "p%77dhint=1&code=%70wd"},
    };
    for (auto [text, redacted] : cases)
        EXPECT_EQ(RedactPasswords(text), redacted);
    EXPECT_TRUE(CarriesPassword("a=1&trd%70wd=1")) << "an escaped name is no way around the sealing";
    EXPECT_EQ(CheckRequestText("TC_MFUNCNO=500&TC_SFUNCNO=6&trd%70wd=1"), RequestRefusal::ClearPassword);
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

TEST(NetHttpWire, TheHeadAndChunkParsersTrustNoSize) {
    CHttpHead head;
    ASSERT_TRUE(ParseHttpHead("HTTP/1.1 200 OK\r\nContent-Length: 12\r\nETag: \"0,0,0,0\"", 100, &head));
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(head.contentLength, 12u);
    EXPECT_FALSE(head.closeAfter);
    ASSERT_TRUE(ParseHttpHead("HTTP/1.0 200 OK\r\nContent-Length: 0", 100, &head));
    EXPECT_TRUE(head.closeAfter);
    const std::pair<const char*, std::uint64_t> badHeads[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 101", 100},
        {"HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999", UINT64_MAX},
        {"HTTP/1.1 200 OK\r\nContent-Length: -1", 100},
        {"HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2", 100},
        {"HTTP/1.1 200 OK\r\nContent-Length: 1\r\nTransfer-Encoding: chunked", 100},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked", 100},
        {"HTTP/2 200 OK", 100},
        {"garbage", 100},
    };
    for (auto [text, limit] : badHeads)
        EXPECT_FALSE(ParseHttpHead(text, limit, &head)) << text;

    std::uint64_t size = 0;
    EXPECT_TRUE(ParseChunkSize("1aF;name=x", 1000, &size));
    EXPECT_EQ(size, 0x1AFu);
    const std::pair<const char*, std::uint64_t> badChunks[] = {
        {"1001", 0x1000}, {"ffffffffffffffffff", UINT64_MAX}, {"", 100}, {"-1", 100}};
    for (auto [text, limit] : badChunks)
        EXPECT_FALSE(ParseChunkSize(text, limit, &size)) << text;
}
