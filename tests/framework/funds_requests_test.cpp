// The fund screens' shared request rules without a window.
#include "framework/ui/funds/FundRequests.h"

#include <gtest/gtest.h>

namespace {

TEST(FundRequests, APagedQueryAsksForItsRowLimitOrAThousandWithoutOne) {
    for (const auto& [limit, count] : {std::pair{11, 11}, {1, 1}, {0, 1000}, {-5, 1000}})
        EXPECT_EQ(GetRequestCount(limit), count) << limit;
}

TEST(FundRequests, TheConfirmationSendsTheLoginIdThenTheKeptRequestAndNothingWithoutEither) {
    EXPECT_EQ(FundConfirmRequest("sessionid=T1&operway=i", "TC_MFUNCNO=100&TC_SFUNCNO=29&stkcode=580001"),
              "sessionid=T1&operway=i&TC_MFUNCNO=100&TC_SFUNCNO=29&stkcode=580001");
    EXPECT_EQ(FundConfirmRequest("", "TC_MFUNCNO=100&TC_SFUNCNO=29"), "");
    EXPECT_EQ(FundConfirmRequest("sessionid=T1&operway=i", ""), "");
}

TEST(FundRequests, ConfirmationLinesSplitAtNewlines) {
    using Lines = std::vector<std::u16string>;
    EXPECT_EQ(SplitConfirmLines(u"交易类型：权证行权\n行权代码：580001\n"), (Lines{u"交易类型：权证行权", u"行权代码：580001"}));
    EXPECT_EQ(SplitConfirmLines(u"a\n\nb"), (Lines{u"a", u"", u"b"}));
    EXPECT_EQ(SplitConfirmLines(u""), Lines{});
}

} // namespace
