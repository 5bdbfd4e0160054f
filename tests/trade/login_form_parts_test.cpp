// The login form's parts that need no window: where its rows and controls
// go, and the department choice with a history row's department.
#include "framework/app_Fixture.h"

#include "support/CFailingFileOps.h"
#include "trade/login/CTradeLoginDepts.h"
#include "trade/login/SalesDeptStore.h"
#include "trade/login/TradeLoginLayout.h"

#include <cerrno>

TEST(TradeLoginLayout, RowsShrinkToFitAShortBodyButNoFurtherThanTheirLeast) {
    using L = CTradeLoginLayout;
    EXPECT_EQ(TradeLoginRowPitch(2000), L::kRowPitch);
    EXPECT_EQ(TradeLoginRowPitch(L::kRowTop + L::kRowGap + 8 * 65), 65);
    EXPECT_EQ(TradeLoginRowPitch(100), L::kMinRowPitch);

    const CTradeLoginLayout at = LayOutTradeLogin(480, 2000, 42, false);
    EXPECT_EQ(at.rows[0], CRect::FromSize(30, 42 + 30, 420, 70));
    EXPECT_EQ(at.rows[7].top, 42 + 30 + 7 * 70);
    EXPECT_EQ(at.labels[4], CRect::FromSize(40, at.rows[4].top, 120, 70));
    // The boxes sit 5 pixels into their rows, 10 pixels lower than a row.
    EXPECT_EQ(at.password, CRect::FromSize(180, at.rows[4].top + 5, 260, 60));
    // The history button closes the account box's right end; the token
    // button follows it.
    EXPECT_EQ(at.history.right, at.account.right);
    EXPECT_GT(at.token.left, at.account.right);
}

TEST(TradeLoginLayout, TheNoteAndTheFrameEndAtTheTokenRowOnlyInTokenMode) {
    const CTradeLoginLayout plain = LayOutTradeLogin(480, 2000, 42, false);
    const CTradeLoginLayout token = LayOutTradeLogin(480, 2000, 42, true);
    EXPECT_EQ(plain.note.top, plain.rows[6].top);
    EXPECT_EQ(token.note.top, token.rows[7].top);
    EXPECT_EQ(plain.frame, (CRect{30, plain.rows[0].top - 3, 450, plain.rows[6].bottom}));
    EXPECT_EQ(token.frame.bottom, token.rows[7].bottom);
    EXPECT_EQ(plain.code, token.code);
}

namespace {
class TradeLoginDeptsTest : public AppDataTest {};
} // namespace

TEST_F(TradeLoginDeptsTest, TheSavedDepartmentIsChosenAndAnUnlistedOneStandsForTheFirst) {
    CTradeLoginDepts depts;
    ASSERT_TRUE(depts.Load(App()));
    EXPECT_FALSE(depts.HasChoice());
    EXPECT_EQ(depts.Code(), "");
    EXPECT_EQ(depts.Text(), CTradeLoginDepts::kNoDeptText);

    ASSERT_TRUE(SaveSalesDepts(App(), {{"0001", u"深南中路"}, {"0003", u"浦东南路"}}));
    App().SetSetting(kSalesDeptSetting, "0003", false);
    ASSERT_TRUE(depts.Load(App()));
    EXPECT_EQ(depts.Index(), 1);
    EXPECT_EQ(depts.Text(), u"浦东南路");
    App().SetSetting(kSalesDeptSetting, "9999", false);
    ASSERT_TRUE(depts.Load(App()));
    EXPECT_EQ(depts.Code(), "0001");

    EXPECT_FALSE(depts.Select(2));
    EXPECT_FALSE(depts.Select(-1));
    EXPECT_EQ(depts.Index(), 0);
    EXPECT_TRUE(depts.Select(1));
    EXPECT_EQ(depts.Code(), "0003");
}

TEST_F(TradeLoginDeptsTest, AHistoryRowsDepartmentIsAddedWhenItIsRealAndTakenOnlyWhenListed) {
    ASSERT_TRUE(SaveSalesDepts(App(), {{"0001", u"深南中路"}}));
    CTradeLoginDepts depts;
    ASSERT_TRUE(depts.Load(App()));

    CTradeLoginDepts::CTake take = depts.TakeHistoryDept(&App(), u"浦东南路", "0003");
    EXPECT_TRUE(take.taken);
    EXPECT_EQ(depts.Code(), "0003");
    EXPECT_EQ(depts.List().size(), 2u);
    EXPECT_EQ(LoadSalesDepts(App())->size(), 2u);

    // A row without a real department leaves the choice as it was.
    take = depts.TakeHistoryDept(&App(), kUnknownSalesDeptName, "");
    EXPECT_FALSE(take.taken);
    EXPECT_FALSE(take.addFailed);
    EXPECT_EQ(depts.Code(), "0003");

    // Without an application state nothing is added.
    take = depts.TakeHistoryDept(nullptr, u"新营业部", "0007");
    EXPECT_FALSE(take.taken);
    EXPECT_EQ(depts.List().size(), 2u);
}

TEST_F(TradeLoginDeptsTest, AListThatCannotBeWrittenSaysSoAndKeepsTheChoice) {
    ASSERT_TRUE(SaveSalesDepts(App(), {{"0001", u"深南中路"}}));
    CTradeLoginDepts depts;
    ASSERT_TRUE(depts.Load(App()));
    CFailingFileOps disk(FileFault{"full disk", FileOp::OpenForLocking, ENOSPC});
    const CTradeLoginDepts::CTake take = depts.TakeHistoryDept(&App(), u"浦东南路", "0003");
    EXPECT_TRUE(take.addFailed);
    EXPECT_FALSE(take.taken);
    EXPECT_EQ(depts.Code(), "0001");
}
