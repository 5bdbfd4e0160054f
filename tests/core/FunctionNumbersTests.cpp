// The strict reading of function numbers: which values count as a number and
// what a request text names.
#include "core/FunctionNumbers.h"

#include <gtest/gtest.h>

#include <string>

TEST(FunctionNumbers, OnlyPlainDigitsCountAndRequestTextsAreReadStrictly) {
    struct Value {
        const char* text;
        bool accepted;
        int number;
    };
    const Value values[] = {
        {"0", true, 0},           {"6", true, 6},          {"500", true, 500},
        {"999999999", true, 999999999},
        {"", false, 0},           {"0500", false, 0},      {"00", false, 0},
        {"+500", false, 0},       {"-1", false, 0},        {" 500", false, 0},
        {"500 ", false, 0},       {"5a", false, 0},        {"0x1f", false, 0},
        {"1000000000", false, 0}, {"６", false, 0},
    };
    for (const Value& v : values) {
        int number = -1;
        EXPECT_EQ(ParseFunctionNumber(v.text, &number), v.accepted) << '"' << v.text << '"';
        if (v.accepted) {
            EXPECT_EQ(number, v.number);
        }
    }

    struct Text {
        const char* text;
        int main, sub;
        bool malformed, repeated;
    };
    const Text texts[] = {
        {"TC_MFUNCNO=500&TC_SFUNCNO=6&code=1", 500, 6, false, false},
        {"code=1&tc_sfuncno=6&Tc_MfUnCnO=500", 500, 6, false, false},
        {"tc_mfuncno=31000", 31000, -1, false, false},
        {"code=500&x_tc_mfuncno=500", -1, -1, false, false},
        {"", -1, -1, false, false},
        {"TC_MFUNCNO=0500&TC_SFUNCNO=6", -1, 6, true, false},
        {"TC_MFUNCNO=+500&TC_SFUNCNO=6", -1, 6, true, false},
        {"TC_MFUNCNO&TC_SFUNCNO=6", -1, 6, true, false},
        {"TC_MFUNCNO=&TC_SFUNCNO=6", -1, 6, true, false},
        {"TC_MFUNCNO=500&TC_SFUNCNO=6&tc_sfuncno=7", 500, 7, false, true},
        {"TC_MFUNCNO=500&TC_MFUNCNO=500&TC_SFUNCNO=6", 500, 6, false, true},
    };
    for (const Text& t : texts) {
        SCOPED_TRACE(t.text);
        CFunctionNumbers n = ReadFunctionNumbers(t.text);
        EXPECT_EQ(n.main, t.main);
        EXPECT_EQ(n.sub, t.sub);
        EXPECT_EQ(n.malformed, t.malformed);
        EXPECT_EQ(n.repeated, t.repeated);
    }
}

TEST(FunctionNumbers, ARequestHeadNamesItsFunctionAsTheWireSpellsItAndReadsBackTheSame) {
    static_assert(kRequestHead<kFuncOrder>.view() == "tc_mfuncno=500&tc_sfuncno=6");
    EXPECT_STREQ(kRequestHead<kFuncPinyinSearch>.c_str(), "tc_mfuncno=31000&tc_sfuncno=10");
    EXPECT_EQ(std::string(kRequestHead<FunctionNumber{0, 0}>), "tc_mfuncno=0&tc_sfuncno=0");
    for (FunctionNumber f : {kFuncLogon, kFuncTradeLogin, kFuncTokenApply, kFuncBranchRegions, kFuncDeals}) {
        const CFunctionNumbers read = ReadFunctionNumbers(CRequestHead(f).view());
        EXPECT_EQ((FunctionNumber{read.main, read.sub}), f);
        EXPECT_FALSE(read.malformed);
    }
}
