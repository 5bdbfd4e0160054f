// The trade query request as a function of its values, without a window.
#include "framework/ui/QueryRequests.h"

#include "core/CDataSetWriter.h"
#include "framework/net/NetFailure.h"

#include <gtest/gtest.h>

TEST(QueryRequest, ThePresetFundIdAndLoginIdGoWholeAndAFundIdThatCouldAddAParameterSendsNothing) {
    const std::string longPreset = "tc_mfuncno=500&tc_sfuncno=12&memo=" + std::string(3000, 'x');
    const struct {
        std::string preset;
        const char* fundId;
        const char* loginId;
        std::string expected; // empty: nothing to send
    } cases[] = {
        {"tc_mfuncno=500&tc_sfuncno=12", "880001", "sess=AB12&operway=i",
         "tc_mfuncno=500&tc_sfuncno=12&fundid=880001&sess=AB12&operway=i"},
        {"tc_mfuncno=500&tc_sfuncno=10", "", "sess=1", "tc_mfuncno=500&tc_sfuncno=10&fundid=&sess=1"}, // no holders yet
        {longPreset, "F.1", "s=1", longPreset + "&fundid=F.1&s=1"},                                     // never cut
        {"tc_mfuncno=500&tc_sfuncno=12", "880001", "", ""}, // no trade login
        {"tc_mfuncno=500&tc_sfuncno=12", "88&fundid=9", "s=1", ""},
        {"tc_mfuncno=500&tc_sfuncno=12", "88=1", "s=1", ""},
        {"tc_mfuncno=500&tc_sfuncno=12", "88%26", "s=1", ""},
        {"tc_mfuncno=500&tc_sfuncno=12", "88 01", "s=1", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildQueryRequest(c.preset, c.fundId, c.loginId), c.expected) << c.fundId << " / " << c.loginId;
}

TEST(QueryRequest, AFailureIsToldByItsErrorSetAndABodyWithoutOneByTheUnknownText) {
    const std::vector<std::uint8_t> failed = NetFailureBody(4);
    EXPECT_EQ(QueryFailureText(failed.data(), static_cast<int>(failed.size())), u"错误(4)：接收数据失败，请重试");
    EXPECT_EQ(QueryFailureText(nullptr, 0), u"未取到错误信息");
    CDataSetWriter none;
    const std::vector<std::uint8_t> plain = none.Serialize();
    EXPECT_EQ(QueryFailureText(plain.data(), static_cast<int>(plain.size())), u"未取到错误信息");
    const std::uint8_t junk[] = {0xA5, 0xA5, 0xA5};
    EXPECT_EQ(QueryFailureText(junk, 3), u"未取到错误信息");
}
