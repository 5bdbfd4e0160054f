// Packed quote numbers: decoding, rounding, arithmetic, comparisons and display.
#include "core/CQuoteNumber.h"

#include <gtest/gtest.h>

namespace {
int32_t Pack(int32_t mantissa, int code) { return static_cast<int32_t>(static_cast<uint32_t>(mantissa) << 2) | code; }
CQuoteNumber From(int32_t packed) { return CQuoteNumber().FromPacked(packed); }
} // namespace

TEST(CQuoteNumber, DecodesEachCodeWithItsDecimalsUnitAndBaseValue) {
    struct Case {
        int32_t packed;
        const char* text;
        const char16_t* withUnit;
        double value, raw;
    };
    const Case cases[] = {
        {Pack(1234, 0), "1234", u"1234", 1234, 1234},
        {Pack(1234, 1), "123.4", u"123.4万", 123.4, 1234000},
        {Pack(1234, 2), "12.34", u"12.34亿", 12.34, 1.234e9},
        {Pack(1234, 3), "1.234", u"1.234", 1.234, 1.234},
        {Pack(-1250, 2), "-12.50", u"-12.50亿", -12.5, -1.25e9},  // the shift is arithmetic
        {-4, "-1", u"-1", -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CQuoteNumber n = From(c.packed);
        EXPECT_EQ(n.GetCode(), c.packed & 3);
        EXPECT_EQ(n.ToText(), c.text);
        EXPECT_EQ(n.ToWideTextWithUnit(), c.withUnit);
        EXPECT_DOUBLE_EQ(n.GetValue(), c.value);
        EXPECT_DOUBLE_EQ(n.ToRaw(), c.raw);
        EXPECT_FALSE(n.IsInvalid());
    }
    EXPECT_EQ(From(Pack(1234, 2)).ToWideText(), u"12.34");
    CQuoteNumber missing = From(CQuoteNumber::kMissingPacked);
    EXPECT_TRUE(missing.IsInvalid());
    EXPECT_EQ(missing.ToPacked(), CQuoteNumber::kMissingPacked);
}

TEST(CQuoteNumber, PackingIsTheInverseOfDecodingOverTheWhole30BitRange) {
    for (int32_t m : {0, 1, -1, 99999, -99999, 536870911, -536870912}) {
        for (int code = 0; code < 4; ++code) {
            EXPECT_EQ(From(Pack(m, code)).ToPacked(), Pack(m, code)) << m << " code " << code;
        }
    }
}

TEST(CQuoteNumber, TextAndPackingRoundHalvesAwayFromZeroAndShowNoNegativeZero) {
    struct Case {
        double value;
        int code;
        const char* text;
        int32_t packed;
    };
    const Case cases[] = {
        {0.125, 2, "0.13", Pack(13, 2)},   {-0.125, 2, "-0.13", Pack(-13, 2)}, {2.5, 0, "3", Pack(3, 0)},
        {-2.5, 0, "-3", Pack(-3, 0)},      {-0.004, 2, "0.00", Pack(0, 2)},    {-0.4, 0, "0", Pack(0, 0)},
        {-0.0, 3, "0.000", Pack(0, 3)},    {-0.05, 3, "-0.050", Pack(-50, 3)},
        {1e12, 0, "1000000000000", CQuoteNumber::kMissingPacked},  // beyond 30 bits
    };
    for (const Case& c : cases) {
        CQuoteNumber n(c.value, c.code);
        EXPECT_EQ(n.ToText(), c.text) << c.value;
        EXPECT_EQ(n.ToPacked(), c.packed) << c.value;
    }
    EXPECT_EQ(CQuoteNumber(-0.0004, 1).ToWideTextWithUnit(), u"0.0万");
    // What the text shows is what the wire carries.
    for (double v : {0.005, -0.005, 1.005, -1.005, 12.345, -12.345, 0.0449, -99.995}) {
        CQuoteNumber n(v, 2);
        EXPECT_EQ(n.ToText(), From(n.ToPacked()).ToText()) << v;
    }
}

TEST(CQuoteNumber, ComparisonsIgnoreTheCodeAndArithmeticKeepsTheLeftCodeAndSkipsDivisionByZero) {
    CQuoteNumber a(12.5, 1), b(12.5, 3);
    EXPECT_TRUE(a == b);
    EXPECT_EQ(CQuoteNumber::Max(a, b).GetCode(), 3);  // the second on a tie
    EXPECT_EQ(CQuoteNumber::Min(a, b).GetCode(), 3);
    EXPECT_EQ(CQuoteNumber::Max(CQuoteNumber(13.0, 0), a).GetValue(), 13.0);
    CQuoteNumber x(10.0, 2), y(4.0, 0);
    EXPECT_EQ((x - y).GetCode(), 2);
    EXPECT_EQ((x / y).GetValue(), 2.5);
    EXPECT_EQ((x / CQuoteNumber()).GetValue(), 10.0);
    EXPECT_EQ(x.DivideInt(4).GetValue(), 2.5);
    EXPECT_EQ(x.DivideInt(0).GetValue(), 10.0);
}
