// Wide and 8-bit strings, GBK and UTF-8 conversion, and the 8-bit text helpers.
#include "core/CAString.h"
#include "core/CWString.h"
#include "core/StrUtil.h"
#include "core/TextConvert.h"
#include "core/UnixTime.h"

#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {
struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
using CText = std::unique_ptr<char, FreeDeleter>;

std::string Param(const char* query, const char* key) {
    CText v(GetUrlParam(query, key));
    return v ? std::string(v.get()) : std::string("<null>");
}
std::string SetParam(const char* query, const char* key, const char* value) {
    CText v(SetUrlParam(query, key, value));
    return v ? std::string(v.get()) : std::string("<null>");
}
} // namespace

TEST(TextConvert, ChineseTextSurvivesARoundTripThroughGbk) {
    const std::u16string text = u"未取到错误信息，买入委托 ABC 123";
    std::string gbk = WideToAnsi(text);
    EXPECT_EQ(gbk.substr(0, 2), "\xCE\xB4");  // 未 in GBK
    EXPECT_EQ(AnsiToWide(gbk), text);

    char* ansi = nullptr;
    int bytes = WideToAnsi(text.c_str(), &ansi);
    ASSERT_NE(ansi, nullptr);
    EXPECT_EQ(bytes, static_cast<int>(gbk.size()));
    char16_t* wide = nullptr;
    int units = AnsiToWide(ansi, &wide);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(std::u16string(wide, units), text);
    std::free(ansi);
    std::free(wide);
}

TEST(TextConvert, BadBytesAndNullArgumentsDoNotFailTheConversion) {
    EXPECT_EQ(AnsiToWide(std::string_view("a\xFF", 2)), u"a\xFFFD");
    // A character GBK lacks is one '?', also when it takes a surrogate pair.
    EXPECT_EQ(WideToAnsi(std::u16string_view(u"a\U0001F600b")), "a?b");
    EXPECT_EQ(WideToAnsi(std::u16string(u"a\xD800" u"b\xDC00")), "a?b?");  // lone halves
    char16_t* out = reinterpret_cast<char16_t*>(1);
    EXPECT_EQ(AnsiToWide(static_cast<const char*>(nullptr), &out), -1);
    EXPECT_EQ(out, nullptr);
}

TEST(TextConvert, Utf8ConversionHandlesSurrogatePairsAndRejectsBadSequences) {
    EXPECT_EQ(Utf8ToWide("\xE4\xBA\xBF \xF0\x9F\x98\x80"), u"亿 \U0001F600");
    EXPECT_EQ(WideToUtf8(u"亿 \U0001F600"), "\xE4\xBA\xBF \xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), u"\xFFFD\xFFFD");            // overlong slash
    EXPECT_EQ(Utf8ToWide("\xE4\xBA"), u"\xFFFD\xFFFD");            // truncated
    EXPECT_EQ(WideToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");  // lone surrogate
}

TEST(CWString, ConvertsFromAnsiAndAppends) {
    CWString s = CWString::CWStringFromAnsi("\xC2\xF2\xC8\xEB");  // 买入
    EXPECT_EQ(s, u"买入");
    s.Append(u"委托");
    s.AppendAnsi("!");
    s.AppendChar(u'?');
    EXPECT_EQ(s, u"买入委托!?");
    s.Assign(static_cast<const char16_t*>(nullptr));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(CAString::CAStringFromWide(u"买入"), "\xC2\xF2\xC8\xEB");
}

TEST(CWString, FormatFollowsTheWidePrintfConventions) {
    CWString s;
    s.Format(u"错误(%d)：%s", 3, u"无法连接到服务器");
    EXPECT_EQ(s, u"错误(3)：无法连接到服务器");
    s.Format(u"[%5.2f|%-4d|%04x|%c|%hs|%S|%%|%lld]", 3.14159, 7, 255, u'亿', "ab", "\xC2\xF2", 1LL << 40);
    EXPECT_EQ(s, u"[ 3.14|7   |00ff|亿|ab|买|%|1099511627776]");
    s.Format(u"%*d|%.*s|%6s", 4, 1, 2, u"abc", u"xy");
    EXPECT_EQ(s, u"   1|ab|    xy");
}

TEST(CWString, FormatStopsAt2048Characters) {
    std::u16string longText(3000, u'x');
    CWString s;
    EXPECT_EQ(s.Format(u"%s", longText.c_str()), 2048);
    CAString a;
    EXPECT_EQ(a.Format("%s", std::string(3000, 'y').c_str()), 2048);
    EXPECT_EQ(a.length(), 2048u);
}

TEST(CWString, FormatCutDoesNotLeaveHalfASurrogatePair) {
    std::u16string text(2047, u'x');
    CWString s;
    EXPECT_EQ(s.Format(u"%s\U0001F600", text.c_str()), 2047);
    EXPECT_EQ(s.view().back(), u'x');
}

TEST(CWString, FormatClampsHugeWidthsAndPrecisionsToTheLimit) {
    CWString s;
    // A width past INT_MAX's reach for snprintf still pads up to the cut.
    EXPECT_EQ(s.Format(u"%2147483647d", 5), 2048);
    EXPECT_EQ(s.view().find_first_not_of(u' '), std::u16string_view::npos);
    EXPECT_EQ(s.Format(u"%-999999999d|", 5), 2048);
    EXPECT_EQ(s.view().front(), u'5');
    EXPECT_EQ(s.Format(u"%.2000000000f", 1.0), 2048);
    EXPECT_EQ(s.view().substr(0, 4), u"1.00");
    // The most negative star width means left-justify, without overflow.
    EXPECT_EQ(s.Format(u"%*d", INT_MIN, 7), 2048);
    EXPECT_EQ(s.view().front(), u'7');
    EXPECT_EQ(s.Format(u"%*d|", -3, 7), 4);
    EXPECT_EQ(s, u"7  |");
}

TEST(CWString, FormatReadsEachArgumentAtTheSizeItsModifierGives) {
    CWString s;
    s.Format(u"%Ld|%qd|%jd|%zu|%hd|%hhu|%I64d|%ld|%d", 1LL << 33, -(1LL << 34), 1LL << 35, size_t(9), 65537,
             257, -(1LL << 36), -2L, 42);
    EXPECT_EQ(s, u"8589934592|-17179869184|34359738368|9|1|1|-68719476736|-2|42");
    s.Format(u"%5.1f|%-6.2e|%+d|% d|%#x|%o", 2.25, 1500.0, 3, 4, 255, 8);
    EXPECT_EQ(s, u"  2.2|1.50e+03|+3| 4|0xff|10");
    s.Format(u"%n|%");  // no argument is written through, a lone % ends the text
    EXPECT_EQ(s, u"%n|");
}

TEST(CWString, ReplaceChangesEveryOccurrenceLeftToRightWithoutRescanning) {
    CWString s(u"aaa-aa");
    EXPECT_EQ(s.Replace(u"aa", u"b"), 2);
    EXPECT_EQ(s, u"ba-b");
    CWString t(u"x");
    EXPECT_EQ(t.Replace(u"x", u"xx"), 1);
    EXPECT_EQ(t, u"xx");
    EXPECT_EQ(t.Replace(u"", u"y"), 0);
}

TEST(CWString, ContainsAndCompareNoCaseFoldAsciiLetters) {
    CWString s(u"Hq.Info 行情");
    EXPECT_TRUE(s.Contains(u"hq.info", 0));
    EXPECT_FALSE(s.Contains(u"hq.info", 1));
    EXPECT_TRUE(s.Contains(u"Info 行", 1));
    EXPECT_TRUE(s.Contains(u"", 1));
    EXPECT_EQ(s.CompareNoCase(u"HQ.INFO 行情"), 0);
    EXPECT_LT(CWString(u"abc").CompareNoCase(u"ABD"), 0);
    EXPECT_GT(CWString(u"abc").CompareNoCase(u"AB"), 0);
    EXPECT_GT(CWString(u"a").CompareNoCase(static_cast<const char16_t*>(nullptr)), 0);
}

TEST(CAString, ComparesIgnoringCaseWithNullAsEmpty) {
    CAString empty;
    EXPECT_TRUE(empty.EqualsNoCaseStr(nullptr));
    EXPECT_TRUE(empty.EqualsNoCaseStr(""));
    EXPECT_TRUE(CAString("Error").EqualsNoCaseStr("ERROR"));
    EXPECT_TRUE(CAString("Error").NotEqualsNoCaseStr("errors"));
    EXPECT_TRUE(CAString("abc").EqualsNoCase(CAString("ABC")));
    CAString s("a&b&c");
    EXPECT_EQ(s.Find("&"), 1);
    EXPECT_EQ(s.Find("&", 2), 3);
    EXPECT_EQ(s.Find("&", 4), -1);
    EXPECT_EQ(s.Find("&", 99), -1);
    s.AssignWide(u"亿");
    EXPECT_EQ(s, "\xD2\xDA");
}

TEST(StrUtil, CaseInsensitiveComparisonsTreatNullAsDifferent) {
    EXPECT_EQ(StrEqualNoCase("TC_MFUNCNO", "tc_mfuncno"), 0);
    EXPECT_EQ(StrEqualNoCase("abc", "abcd"), 1);
    EXPECT_EQ(StrEqualNoCase(nullptr, ""), 1);
    EXPECT_EQ(StrNCmpNoCase("tc_Service", "TC_SER", 6), 0);
    EXPECT_NE(StrNCmpNoCase("tc", "tcx", 3), 0);
    EXPECT_EQ(StrNCmpNoCase("ab", "AB", 10), 0);
}

TEST(StrUtil, DigitChecksAcceptEmptyTextAndRejectNull) {
    EXPECT_TRUE(IsAllDigits("0123456789"));
    EXPECT_TRUE(IsAllDigits(""));
    EXPECT_FALSE(IsAllDigits("12a"));
    EXPECT_FALSE(IsAllDigits(nullptr));
    EXPECT_TRUE(IsDecimalNumber("12.50"));
    EXPECT_TRUE(IsDecimalNumber(".5"));
    EXPECT_TRUE(IsDecimalNumber(""));
    EXPECT_FALSE(IsDecimalNumber("1.2.3"));
    EXPECT_FALSE(IsDecimalNumber("-1"));
}

TEST(UrlParams, ValueIsFoundFirstInTheMiddleLastAndInAnyLetterCase) {
    const char* q = "code=000001&market=2&type=513";
    EXPECT_EQ(Param(q, "code"), "000001");
    EXPECT_EQ(Param(q, "market"), "2");
    EXPECT_EQ(Param(q, "type"), "513");
    EXPECT_EQ(Param(q, "MARKET"), "2");
    EXPECT_EQ(Param(q, "date"), "<null>");
    EXPECT_EQ(Param("date=&code=1", "date"), "");
    EXPECT_EQ(Param("code=600000 HTTP", "code"), "600000");
    EXPECT_EQ(Param(nullptr, "code"), "<null>");
}

TEST(UrlParams, KeyThatEndsAnotherKeyIsNotMatchedInsideIt) {
    EXPECT_EQ(Param("xcode=1&code=2", "code"), "2");
    EXPECT_EQ(Param("xcode=1", "code"), "<null>");
    EXPECT_EQ(Param("codes=1&code=2", "code"), "2");
    EXPECT_EQ(SetParam("xcode=1&code=2", "code", "9"), "xcode=1&code=9");
}

TEST(UrlParams, SetReplacesInPlaceOrAppends) {
    EXPECT_EQ(SetParam("code=1&market=2", "CODE", "600000"), "code=600000&market=2");
    EXPECT_EQ(SetParam("code=1&market=2", "market", ""), "code=1&market=");
    EXPECT_EQ(SetParam("code=1 tail", "code", "7"), "code=7 tail");
    EXPECT_EQ(SetParam("code=1", "type", "513"), "code=1&type=513");
    EXPECT_EQ(SetParam(nullptr, "type", "513"), "&type=513");
    EXPECT_EQ(SetParam("a=1", nullptr, "x"), "<null>");
}

TEST(StrUtil, HexEncodeAndLittleEndianReads) {
    const uint8_t bytes[] = {0x00, 0xAB, 0x7F, 0xFF};
    char out[9];
    EXPECT_EQ(HexEncode(bytes, 4, out, 1), 8);
    EXPECT_STREQ(out, "00AB7FFF");
    HexEncode(bytes, 4, out, 0);
    EXPECT_STREQ(out, "00ab7fff");
    const uint8_t le[] = {0x99, 0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(ReadLE32(le + 1), 0x12345678);
    const uint8_t neg[] = {0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(ReadLE32(neg), -2);
    uint8_t stored[5] = {0xAA, 0, 0, 0, 0};
    WriteLE32(stored + 1, 0x12345678u);
    EXPECT_EQ(stored[1], 0x78);
    EXPECT_EQ(ReadLE32(stored + 1), 0x12345678);
    EXPECT_EQ(HexEncode(bytes, -1, out, 1), -1);
}

TEST(UnixTime, TheClockCanBeReplacedAndRestored) {
    int64_t now = GetUnixTime();
    EXPECT_GT(now, 1600000000);
    UnixTimeSource previous = SetUnixTimeSource([]() -> int64_t { return 1234; });
    EXPECT_EQ(GetUnixTime(), 1234);
    SetUnixTimeSource(previous);
    EXPECT_GE(GetUnixTime(), now);
}
