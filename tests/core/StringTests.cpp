// Wide and 8-bit strings, GBK and UTF-8 conversion, and the 8-bit text helpers.
#include "core/CAString.h"
#include "core/CWString.h"
#include "core/StrUtil.h"
#include "core/TextConvert.h"
#include "core/UnixTime.h"

#include <atomic>
#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace {
// A malloc'd C text as a string, "<null>" for null.
std::string Owned(char* text) {
    std::unique_ptr<char, decltype(&std::free)> owner(text, &std::free);
    return text ? std::string(text) : std::string("<null>");
}

template <class... Args> std::u16string Formatted(const char16_t* format, Args... args) {
    CWString s;
    s.Format(format, args...);
    return s.str();
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

TEST(TextConvert, ThreadsConvertingAtOnceEachGetTheirOwnText) {
    // The converters are shared by the threads; a pair used by two at once
    // would mix their texts.
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, &wrong] {
            const std::u16string text = u"股票" + std::u16string(static_cast<size_t>(t + 1) * 50, u'中') + u"行情";
            for (int i = 0; i < 200; ++i)
                if (AnsiToWide(WideToAnsi(text)) != text)
                    ++wrong;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
}

TEST(TextConvert, AsciiTextConvertsUnitForUnitAndTextWithOneOtherCharacterStillThroughGbk) {
    std::string ascii;
    std::u16string wide;
    for (int c = 0; c < 0x80; ++c) {
        ascii.push_back(static_cast<char>(c));
        wide.push_back(static_cast<char16_t>(c));
    }
    EXPECT_EQ(AnsiToWide(ascii), wide);
    EXPECT_EQ(WideToAnsi(wide), ascii);
    EXPECT_EQ(AnsiToWide(std::string_view("600010\xB9\xFA", 8)), u"600010国") << "one GBK character at the end";
    EXPECT_EQ(WideToAnsi(std::u16string_view(u"sz000001国")), "sz000001\xB9\xFA");
    EXPECT_EQ(AnsiToWide(std::string_view("zf\x80", 3)).size(), 3u) << "a byte above ASCII is GBK's to read";
    EXPECT_EQ(WideToAnsi(std::u16string_view(u"a\u0E01")), "a?") << "a character above ASCII that GBK lacks";
}

TEST(TextConvert, BadBytesLoneSurrogatesAndNullArgumentsDoNotFailTheConversion) {
    EXPECT_EQ(AnsiToWide(std::string_view("a\xFF", 2)), u"a\xFFFD");
    // A character GBK lacks is one '?', also when it takes a surrogate pair.
    EXPECT_EQ(WideToAnsi(std::u16string_view(u"a\U0001F600b")), "a?b");
    EXPECT_EQ(WideToAnsi(std::u16string(u"a\xD800" u"b\xDC00")), "a?b?");  // lone halves
    char16_t* out = reinterpret_cast<char16_t*>(1);
    EXPECT_EQ(AnsiToWide(static_cast<const char*>(nullptr), &out), -1);
    EXPECT_EQ(out, nullptr);

    EXPECT_EQ(Utf8ToWide("\xE4\xBA\xBF \xF0\x9F\x98\x80"), u"亿 \U0001F600");
    EXPECT_EQ(WideToUtf8(u"亿 \U0001F600"), "\xE4\xBA\xBF \xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), u"\xFFFD\xFFFD");  // overlong slash
    EXPECT_EQ(Utf8ToWide("\xE4\xBA"), u"\xFFFD\xFFFD");  // truncated
    EXPECT_EQ(WideToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
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

TEST(CWString, FormatFollowsTheWidePrintfConventionsReadingEachArgumentAtItsSize) {
    const struct {
        std::u16string got, expected;
    } cases[] = {
        {Formatted(u"错误(%d)：%s", 3, u"无法连接到服务器"), u"错误(3)：无法连接到服务器"},
        {Formatted(u"[%5.2f|%-4d|%04x|%c|%hs|%S|%%|%lld]", 3.14159, 7, 255, u'亿', "ab", "\xC2\xF2", 1LL << 40),
         u"[ 3.14|7   |00ff|亿|ab|买|%|1099511627776]"},
        {Formatted(u"%*d|%.*s|%6s|%*d|", 4, 1, 2, u"abc", u"xy", -3, 7), u"   1|ab|    xy|7  |"},
        {Formatted(u"%Ld|%qd|%jd|%zu|%hd|%hhu|%I64d|%ld|%d", 1LL << 33, -(1LL << 34), 1LL << 35, size_t(9), 65537,
                   257, -(1LL << 36), -2L, 42),
         u"8589934592|-17179869184|34359738368|9|1|1|-68719476736|-2|42"},
        {Formatted(u"%5.1f|%-6.2e|%+d|% d|%#x|%o", 2.25, 1500.0, 3, 4, 255, 8), u"  2.2|1.50e+03|+3| 4|0xff|10"},
        {Formatted(u"%n|%"), u"%n|"},  // no argument is written through, a lone % ends the text
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(CWString, FormatStopsAt2048UnitsWithoutHalfAPairOrAnOverflowingWidth) {
    CWString s;
    EXPECT_EQ(s.Format(u"%s", std::u16string(3000, u'x').c_str()), 2048);
    CAString a;
    EXPECT_EQ(a.Format("%s", std::string(3000, 'y').c_str()), 2048);
    EXPECT_EQ(a.length(), 2048u);
    EXPECT_EQ(s.Format(u"%s\U0001F600", std::u16string(2047, u'x').c_str()), 2047);
    EXPECT_EQ(s.view().back(), u'x');
    // Widths and precisions past what snprintf takes still pad up to the cut.
    EXPECT_EQ(s.Format(u"%2147483647d", 5), 2048);
    EXPECT_EQ(s.view().find_first_not_of(u' '), std::u16string_view::npos);
    EXPECT_EQ(s.Format(u"%-999999999d|", 5), 2048);
    EXPECT_EQ(s.view().front(), u'5');
    EXPECT_EQ(s.Format(u"%.2000000000f", 1.0), 2048);
    EXPECT_EQ(s.view().substr(0, 4), u"1.00");
    EXPECT_EQ(s.Format(u"%*d", INT_MIN, 7), 2048);  // the most negative star width left-justifies
    EXPECT_EQ(s.view().front(), u'7');
}

TEST(CWString, ReplaceContainsAndCompareNoCase) {
    CWString s(u"aaa-aa");
    EXPECT_EQ(s.Replace(u"aa", u"b"), 2);  // left to right, never rescanning
    EXPECT_EQ(s, u"ba-b");
    CWString t(u"x");
    EXPECT_EQ(t.Replace(u"x", u"xx"), 1);
    EXPECT_EQ(t, u"xx");
    EXPECT_EQ(t.Replace(u"", u"y"), 0);

    CWString h(u"Hq.Info 行情");
    EXPECT_TRUE(h.Contains(u"hq.info", 0));
    EXPECT_FALSE(h.Contains(u"hq.info", 1));
    EXPECT_TRUE(h.Contains(u"Info 行", 1));
    EXPECT_EQ(h.CompareNoCase(u"HQ.INFO 行情"), 0);
    EXPECT_LT(CWString(u"abc").CompareNoCase(u"ABD"), 0);
    EXPECT_GT(CWString(u"abc").CompareNoCase(u"AB"), 0);
    EXPECT_GT(CWString(u"a").CompareNoCase(static_cast<const char16_t*>(nullptr)), 0);
}

TEST(CAString, ComparesIgnoringCaseWithNullAsEmptyAndFinds) {
    EXPECT_TRUE(CAString().EqualsNoCaseStr(nullptr));
    EXPECT_TRUE(CAString().EqualsNoCaseStr(""));
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

TEST(StrUtil, ComparisonsAndDigitChecksTreatNullAsDifferent) {
    EXPECT_EQ(StrEqualNoCase("TC_MFUNCNO", "tc_mfuncno"), 0);
    EXPECT_EQ(StrEqualNoCase("abc", "abcd"), 1);
    EXPECT_EQ(StrEqualNoCase(nullptr, ""), 1);
    EXPECT_EQ(StrNCmpNoCase("tc_Service", "TC_SER", 6), 0);
    EXPECT_NE(StrNCmpNoCase("tc", "tcx", 3), 0);
    EXPECT_EQ(StrNCmpNoCase("ab", "AB", 10), 0);
    const struct {
        const char* text;
        bool digits, decimal;
    } texts[] = {{"0123456789", true, true}, {"", true, true},   {"12a", false, false}, {nullptr, false, false},
                 {"12.50", false, true},     {".5", false, true}, {"1.2.3", false, false}, {"-1", false, false}};
    for (const auto& t : texts) {
        EXPECT_EQ(IsAllDigits(t.text), t.digits) << (t.text ? t.text : "null");
        EXPECT_EQ(IsDecimalNumber(t.text), t.decimal) << (t.text ? t.text : "null");
    }
    // What may go into a request: letters, digits and "." only.
    for (const char* plain : {"", "600000.02", "A100012345", "Zz.09"})
        EXPECT_TRUE(IsPlainRequestText(plain)) << plain;
    for (const char* unsafe : {"1&x=2", "a=b", "50%", "a b", "12-3", "\xD6\xD0", "x\n"})
        EXPECT_FALSE(IsPlainRequestText(unsafe)) << unsafe;
}

TEST(UrlParams, KeysMatchWholeAndInAnyCaseAndSetReplacesInPlaceOrAppends) {
    const char* q = "code=000001&market=2&type=513";
    const struct {
        const char *query, *key, *value;
    } gets[] = {
        {q, "code", "000001"},  {q, "market", "2"},        {q, "type", "513"},
        {q, "MARKET", "2"},     {q, "date", "<null>"},     {"date=&code=1", "date", ""},
        {"code=600000 HTTP", "code", "600000"},           {nullptr, "code", "<null>"},
        {"xcode=1&code=2", "code", "2"},                  {"xcode=1", "code", "<null>"},
        {"codes=1&code=2", "code", "2"},
    };
    for (const auto& g : gets) EXPECT_EQ(Owned(GetUrlParam(g.query, g.key)), g.value) << g.query << " " << g.key;
    const struct {
        const char *query, *key, *value, *result;
    } sets[] = {
        {"code=1&market=2", "CODE", "600000", "code=600000&market=2"},
        {"code=1&market=2", "market", "", "code=1&market="},
        {"code=1 tail", "code", "7", "code=7 tail"},
        {"code=1", "type", "513", "code=1&type=513"},
        {nullptr, "type", "513", "&type=513"},
        {"a=1", nullptr, "x", "<null>"},
        {"xcode=1&code=2", "code", "9", "xcode=1&code=9"},
    };
    for (const auto& s : sets) EXPECT_EQ(Owned(SetUrlParam(s.query, s.key, s.value)), s.result) << s.result;
}

TEST(StrUtil, DigitsPricesAndCaseFreeEqualityOfViews) {
    EXPECT_TRUE(IsDigits(std::string_view("0123")));
    EXPECT_FALSE(IsDigits(std::string_view("")));
    EXPECT_FALSE(IsDigits(std::string_view("12a")));
    EXPECT_FALSE(IsDigits(std::string_view("1\0" "2", 3)));
    EXPECT_TRUE(IsDigits(std::u16string_view(u"654321")));
    EXPECT_FALSE(IsDigits(std::u16string_view(u"65432１"))); // a full-width digit is not one
    EXPECT_FALSE(IsDigits(std::u16string_view()));

    for (const char* price : {"0", "7", "7.", ".5", "7.80", "1234567890123456"})
        EXPECT_TRUE(IsPriceText(price)) << price;
    for (const char* price : {"", ".", "1.2.3", "-1", "+1", "1e3", "7,8", " 7", "12345678901234567"})
        EXPECT_FALSE(IsPriceText(price)) << price;

    EXPECT_TRUE(EqualsNoCase("TC_MFUNCNO", "tc_mfuncno"));
    EXPECT_TRUE(EqualsNoCase("", ""));
    EXPECT_FALSE(EqualsNoCase("tc_", "tc_x"));
    EXPECT_FALSE(EqualsNoCase(std::string_view("a\0b", 3), std::string_view("a\0c", 3)));
}

TEST(UrlParams, TheTextCompanionGivesTheSameValueAndTellsAnAbsentKeyFromAnEmptyOne) {
    const char* query = "tc_mfuncno=500&Code=600000&empty=&date=20260601 9";
    for (const char* key : {"tc_mfuncno", "code", "empty", "date", "xcode", "missing"}) {
        const std::string owned = Owned(GetUrlParam(query, key));
        EXPECT_EQ(GetUrlParamText(query, key), owned == "<null>" ? "" : owned) << key;
    }
    bool present = false;
    EXPECT_EQ(GetUrlParamText(std::string_view(query), "empty", &present), "");
    EXPECT_TRUE(present);
    EXPECT_EQ(GetUrlParamText(std::string_view(query), "missing", &present), "");
    EXPECT_FALSE(present);
    present = true;
    EXPECT_EQ(GetUrlParamText(static_cast<const char*>(nullptr), "code", &present), "");
    EXPECT_FALSE(present);
    // A view need not end where its text does.
    EXPECT_EQ(GetUrlParamText(std::string_view(query).substr(0, 23), "code"), "600");
}

TEST(StrUtil, HexEncodeAndLittleEndianReadsAndWrites) {
    const uint8_t bytes[] = {0x00, 0xAB, 0x7F, 0xFF};
    char out[9];
    EXPECT_EQ(HexEncode(bytes, 4, out, 1), 8);
    EXPECT_STREQ(out, "00AB7FFF");
    HexEncode(bytes, 4, out, 0);
    EXPECT_STREQ(out, "00ab7fff");
    EXPECT_EQ(HexEncode(bytes, -1, out, 1), -1);
    // Reading back: both cases, nothing past "f" or "9".
    const std::pair<char, int> digits[] = {{'0', 0},  {'9', 9},  {'a', 10}, {'F', 15},  {'g', -1},
                                           {'G', -1}, {'/', -1}, {':', -1}, {'%', -1}, {'\xA1', -1}};
    for (const auto& [c, v] : digits)
        EXPECT_EQ(HexDigitValue(c), v) << c;
    const uint8_t neg[] = {0x99, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(ReadLE32(neg + 1), -2);  // unaligned, signed
    uint8_t stored[5] = {0xAA, 0, 0, 0, 0};
    WriteLE32(stored + 1, 0x12345678u);
    EXPECT_EQ(stored[1], 0x78);
    EXPECT_EQ(ReadLE32(stored + 1), 0x12345678);
}

TEST(UnixTime, TheClockCanBeReplacedAndRestored) {
    int64_t now = GetUnixTime();
    EXPECT_GT(now, 1600000000);
    UnixTimeSource previous = SetUnixTimeSource([]() -> int64_t { return 1234; });
    EXPECT_EQ(GetUnixTime(), 1234);
    SetUnixTimeSource(previous);
    EXPECT_GE(GetUnixTime(), now);
}
