// The trade session texts every trade request reads, and what each must be
// to travel.
#include "framework/app_Fixture.h"

#include "framework/app/TradeSession.h"

namespace {
class TradeSessionTest : public AppDataTest {};
} // namespace

TEST_F(TradeSessionTest, TheCurrentLoginIdAndPasswordAreEmptyWithoutAStateOrALogin) {
    ASSERT_EQ(CAppData::Instance(), nullptr);
    EXPECT_EQ(CurrentLoginId(), "");
    EXPECT_EQ(CurrentTradePassword(), "");
    App();
    EXPECT_EQ(CurrentLoginId(), "");
    EXPECT_EQ(CurrentTradePassword(), "");
    App().SetLoginId("sessionid=ab12&operway=i");
    App().SetTradePassword("135790");
    EXPECT_EQ(CurrentLoginId(), "sessionid=ab12&operway=i");
    EXPECT_EQ(CurrentTradePassword(), "135790");
    App().SetTradePassword(nullptr);
    EXPECT_EQ(CurrentTradePassword(), "");
}

TEST(TradeSessionRules, ALoginIdOrPasswordThatWouldAddOrHideAParameterDoesNotTravel) {
    EXPECT_TRUE(IsSendableLoginId("sessionid=ab12&operway=i"));
    EXPECT_FALSE(IsSendableLoginId(""));
    EXPECT_FALSE(IsSendableLoginId("sessionid=ab%26c"));

    EXPECT_TRUE(IsSendablePassword("135790"));
    EXPECT_TRUE(IsSendablePassword("Ab.9_x"));
    for (const char* bad : {"", "12 456", "12&456", "12=456", "12%456", "12\t456", "12\x7f"})
        EXPECT_FALSE(IsSendablePassword(bad)) << bad;
}
