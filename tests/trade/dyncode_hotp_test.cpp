// The one-time code computation: RFC 4226's test values, the digit counts
// allowed, the hexadecimal seeds and the seed's seal.
#include "trade/dyncode/DynCode.h"

#include <gtest/gtest.h>

namespace {
// RFC 4226 Appendix D: the key "12345678901234567890".
constexpr char kRfcKey[] = "3132333435363738393031323334353637383930";

struct HotpCase {
    std::uint32_t counter;
    int digits;
    const char* code;
};
} // namespace

TEST(DynCodeHotp, GivesTheRfc4226AppendixDValuesWithSixToEightDigitsZeroPadded) {
    const HotpCase cases[] = {
        {0, 6, "755224"}, {1, 6, "287082"}, {2, 6, "359152"}, {3, 6, "969429"}, {4, 6, "338314"},
        {5, 6, "254676"}, {6, 6, "287922"}, {7, 6, "162583"}, {8, 6, "399871"}, {9, 6, "520489"},
        {30, 6, "026920"}, {4, 7, "0338314"}, {0, 8, "84755224"}, {2, 8, "37359152"},
    };
    for (const HotpCase& c : cases) {
        std::string code;
        ASSERT_TRUE(DynCodeCompute(kRfcKey, c.counter, c.digits, code)) << c.counter;
        EXPECT_EQ(code, c.code) << "counter " << c.counter << ", " << c.digits << " digits";
    }
}

TEST(DynCodeHotp, RefusesDigitCountsOutsideSixToEight) {
    for (int digits : {-1, 0, 1, 5, 9, 10, 11}) {
        std::string code = "stale";
        EXPECT_FALSE(DynCodeCompute(kRfcKey, 1, digits, code)) << digits;
        EXPECT_TRUE(code.empty()) << digits;
    }
}

TEST(DynCodeHotp, HexKeysAreCheckedAndAnOddLengthReadsWithALeadingZero) {
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(HexToBytes("ABC", bytes));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x0A, 0xBC}));
    ASSERT_TRUE(HexToBytes("00ff7e", bytes));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x00, 0xFF, 0x7E}));
    for (const char* bad : {"+1", "-1", " 1", "1 ", "0x12", "1g", "12\t3", "ｆ"}) {
        EXPECT_FALSE(HexToBytes(bad, bytes)) << bad;
        EXPECT_TRUE(bytes.empty()) << bad;
        std::string code;
        EXPECT_FALSE(DynCodeCompute(bad, 1, 6, code)) << bad;
    }
}

TEST(DynCodeSeal, ASeedSealsToHexThatOpensAgainAndOnlyHexSeedsOfSixteenToFortyEightSeal) {
    for (const std::string& seed : {std::string(kRfcKey), std::string(16, 'a'), std::string(48, 'F')}) {
        const std::u16string sealed = SealDynCodeSeed(seed);
        ASSERT_FALSE(sealed.empty()) << seed;
        EXPECT_LE(sealed.size(), 112u);
        EXPECT_EQ(sealed.find_first_not_of(u"0123456789ABCDEF"), std::u16string::npos);
        std::string plain;
        EXPECT_EQ(OpenDynCodeSeed(sealed, plain), static_cast<int>(sealed.size() / 2));
        EXPECT_EQ(plain, seed);
    }
    for (const std::string& seed : {std::string(15, '1'), std::string(49, '1'), std::string("3132 33343536373839"),
                                   std::string("-131323334353637383930"), std::string("zz32333435363738")})
        EXPECT_TRUE(SealDynCodeSeed(seed).empty()) << seed;
}

TEST(DynCodeSeal, ASealedSeedThatDoesNotOpenGivesAnEmptySeedWhoseCodeIsTheEmptyKeys) {
    const std::u16string sealed = SealDynCodeSeed(kRfcKey);
    std::u16string tampered = sealed;
    tampered[20] = tampered[20] == u'0' ? u'1' : u'0';
    const std::u16string cases[] = {tampered, sealed.substr(0, sealed.size() - 1), sealed.substr(0, 8),
                                    u"Z" + sealed.substr(1), u""};
    for (const std::u16string& text : cases) {
        std::string plain = "stale";
        OpenDynCodeSeed(text, plain);
        EXPECT_TRUE(plain.empty());
    }
    std::string emptyKeyCode;
    ASSERT_TRUE(DynCodeCompute("", 1, 6, emptyKeyCode));
    EXPECT_EQ(emptyKeyCode, "812658");
}
