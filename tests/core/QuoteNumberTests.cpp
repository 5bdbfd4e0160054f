// Packed quote numbers: decoding, arithmetic, comparisons and display.
#include "core/CQuoteNumber.h"

#include <gtest/gtest.h>

namespace {
int32_t Pack(int32_t mantissa, int code) { return static_cast<int32_t>(static_cast<uint32_t>(mantissa) << 2) | code; }
CQuoteNumber From(int32_t packed) { return CQuoteNumber().FromPacked(packed); }
} // namespace

TEST(CQuoteNumber, DecodesEachCodeWithItsDecimals) {
    EXPECT_EQ(From(Pack(1234, 0)).ToText(), "1234");
    EXPECT_EQ(From(Pack(1234, 1)).ToText(), "123.4");
    EXPECT_EQ(From(Pack(1234, 2)).ToText(), "12.34");
    EXPECT_EQ(From(Pack(1234, 3)).ToText(), "1.234");
    EXPECT_DOUBLE_EQ(From(Pack(1234, 2)).GetValue(), 12.34);
    EXPECT_EQ(From(Pack(1234, 3)).GetCode(), 3);
}

TEST(CQuoteNumber, NegativePackedValuesShiftArithmetically) {
    CQuoteNumber n = From(Pack(-1250, 2));
    EXPECT_DOUBLE_EQ(n.GetValue(), -12.5);
    EXPECT_EQ(n.ToText(), "-12.50");
    EXPECT_EQ(n.ToPacked(), Pack(-1250, 2));
    EXPECT_DOUBLE_EQ(From(-4).GetValue(), -1.0);
}

TEST(CQuoteNumber, MissingMarkerIsRecognisedAndPacksBack) {
    CQuoteNumber n = From(999999999);
    EXPECT_TRUE(n.IsInvalid());
    EXPECT_DOUBLE_EQ(n.GetValue(), 999999999.0);
    EXPECT_EQ(n.ToPacked(), CQuoteNumber::kMissingPacked);
    EXPECT_FALSE(From(Pack(5, 1)).IsInvalid());
    EXPECT_EQ(CQuoteNumber(1e12, 0).ToPacked(), CQuoteNumber::kMissingPacked);
}

TEST(CQuoteNumber, PackingIsTheInverseOfDecoding) {
    for (int32_t m : {0, 1, -1, 99999, -99999, 536870911, -536870912}) {
        for (int code = 0; code < 4; ++code) {
            EXPECT_EQ(From(Pack(m, code)).ToPacked(), Pack(m, code)) << m << " code " << code;
        }
    }
}

TEST(CQuoteNumber, TextAndPackingRoundHalvesAwayFromZeroAlikeForBothSigns) {
    EXPECT_EQ(CQuoteNumber(0.125, 2).ToText(), "0.13");
    EXPECT_EQ(CQuoteNumber(-0.125, 2).ToText(), "-0.13");
    EXPECT_EQ(CQuoteNumber(2.5, 0).ToText(), "3");
    EXPECT_EQ(CQuoteNumber(-2.5, 0).ToText(), "-3");
    EXPECT_EQ(CQuoteNumber(0.125, 2).ToPacked(), Pack(13, 2));
    EXPECT_EQ(CQuoteNumber(-0.125, 2).ToPacked(), Pack(-13, 2));
    EXPECT_EQ(CQuoteNumber(2.5, 0).ToPacked(), Pack(3, 0));
    EXPECT_EQ(CQuoteNumber(-2.5, 0).ToPacked(), Pack(-3, 0));
    // What the text shows is what the wire carries.
    for (double v : {0.005, -0.005, 1.005, -1.005, 12.345, -12.345, 0.0449, -99.995}) {
        CQuoteNumber n(v, 2);
        EXPECT_EQ(n.ToText(), From(n.ToPacked()).ToText()) << v;
    }
}

TEST(CQuoteNumber, ASmallNegativeThatRoundsToZeroShowsNoMinusSign) {
    EXPECT_EQ(CQuoteNumber(-0.004, 2).ToText(), "0.00");
    EXPECT_EQ(CQuoteNumber(-0.4, 0).ToText(), "0");
    EXPECT_EQ(CQuoteNumber(-0.0, 3).ToText(), "0.000");
    EXPECT_EQ(CQuoteNumber(-0.0004, 3).ToWideTextWithUnit(), u"0.000");
    EXPECT_EQ(CQuoteNumber(-0.05, 3).ToText(), "-0.050");
    EXPECT_EQ(CQuoteNumber(-1234567.0, 1).ToWideTextWithUnit(), u"-1234567.0万");
}

TEST(CQuoteNumber, UnitWordsFollowTheCode) {
    EXPECT_EQ(From(Pack(1234, 1)).ToWideTextWithUnit(), u"123.4万");
    EXPECT_EQ(From(Pack(1234, 2)).ToWideTextWithUnit(), u"12.34亿");
    EXPECT_EQ(From(Pack(1234, 3)).ToWideTextWithUnit(), u"1.234");
    EXPECT_EQ(From(Pack(1234, 2)).ToWideText(), u"12.34");
    EXPECT_DOUBLE_EQ(From(Pack(15, 1)).ToRaw(), 15000.0);
    EXPECT_DOUBLE_EQ(From(Pack(15, 2)).ToRaw(), 1.5e7);
    EXPECT_DOUBLE_EQ(From(Pack(15, 3)).ToRaw(), 0.015);
}

TEST(CQuoteNumber, ComparisonsLookAtValuesOnlyIgnoringTheCode) {
    CQuoteNumber a(12.5, 1), b(12.5, 3), c(13.0, 0);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a != b);
    EXPECT_TRUE(a < c);
    EXPECT_TRUE(c > b);
    EXPECT_TRUE(a <= b);
    EXPECT_EQ(CQuoteNumber::Max(a, b).GetCode(), 3);  // second on a tie
    EXPECT_EQ(CQuoteNumber::Min(a, b).GetCode(), 3);
    EXPECT_EQ(CQuoteNumber::Max(c, a).GetValue(), 13.0);
    EXPECT_EQ(CQuoteNumber::Min(c, a).GetValue(), 12.5);
}

TEST(CQuoteNumber, ArithmeticKeepsTheLeftCodeAndSkipsDivisionByZero) {
    CQuoteNumber a(10.0, 2), b(4.0, 0);
    EXPECT_EQ((a + b).GetValue(), 14.0);
    EXPECT_EQ((a - b).GetCode(), 2);
    EXPECT_EQ((a / b).GetValue(), 2.5);
    EXPECT_EQ((a / CQuoteNumber()).GetValue(), 10.0);
    EXPECT_EQ(a.MultiplyInt(3).GetValue(), 30.0);
    EXPECT_EQ(a.DivideInt(4).GetValue(), 2.5);
    EXPECT_EQ(a.DivideInt(0).GetValue(), 10.0);
    EXPECT_EQ(CQuoteNumber(-3.5, 1).Abs().GetValue(), 3.5);
    CQuoteNumber c;
    c.Assign(a);
    EXPECT_EQ(c.GetCode(), 2);
    EXPECT_EQ(CQuoteNumber().GetValue(), 0.0);
    EXPECT_EQ((CQuoteNumber(0.0, 2).MultiplyInt(-1)).ToText(), "0.00");
}
