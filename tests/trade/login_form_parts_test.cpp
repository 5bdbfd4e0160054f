// The login form's parts that need no window: where its rows and controls
// go, the department choice with a history row's department, and what a
// successful login records.
#include "framework/app_Fixture.h"

#include "core/CDataSetWriter.h"
#include "framework/app/CAccountEntry.h"
#include "support/CFailingFileOps.h"
#include "trade/login/CTradeLoginDepts.h"
#include "trade/login/SalesDeptStore.h"
#include "trade/login/TradeAccountHistory.h"
#include "trade/login/TradeLoginAttempt.h"
#include "trade/login/TradeLoginLayout.h"
#include "trade/login/TradeLoginText.h"

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

namespace {
class TradeLoginRecordTest : public AppDataTest {
protected:
    // A well-formed login reply for fund account 000100012345.
    CTradeLoginReply Reply() {
        CDataSetWriter w;
        w.AddSet("session");
        w.AddColumn(DataSetType::AnsiText, "session");
        w.AddRow();
        w.SetAnsiText(0, "custid=000100012345&tradesession=T0001");
        w.AddSet("holder");
        for (const char* column : {"market", "secuid", "fundid", "orgid"})
            w.AddColumn(DataSetType::AnsiText, column);
        w.AddColumn(DataSetType::WideText, "custname");
        w.AddRow();
        w.SetAnsiText(0, "0");
        w.SetAnsiText(1, "0012345678");
        w.SetAnsiText(2, "000100012345");
        w.SetAnsiText(3, "0001");
        w.SetText(4, u"王小明");
        m_body = w.Serialize();
        CDataSetList sets(m_body.data(), static_cast<int>(m_body.size()));
        return ReadTradeLoginReply(sets);
    }
    void Fill(CTradeLoginAttempt& attempt) {
        attempt.account = "000100012345";
        attempt.typed = "12345";
        attempt.type = "Z";
        attempt.dept = "0001";
        attempt.deptName = u"深南中路";
        attempt.password.Assign("135790");
    }
    std::vector<uint8_t> m_body;
};
} // namespace

TEST_F(TradeLoginRecordTest, ALoginBecomesTheCurrentAccountAndKeepsTheTypedAccountOnlyWhenAsked) {
    for (const bool save : {true, false}) {
        SCOPED_TRACE(save ? "saved" : "not saved");
        CTradeLoginAttempt attempt;
        Fill(attempt);
        CTradeLoginReply reply = Reply();
        ASSERT_EQ(reply.kind, CTradeLoginReply::Kind::Success);
        RecordTradeLogin(App(), attempt, reply, save);
        EXPECT_TRUE(App().IsTradeLoggedIn());
        const CAccountEntry* entry = App().GetCurrentAccount();
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->accountId, "000100012345");
        EXPECT_EQ(entry->loginId, "custid=000100012345&tradesession=T0001&operway=i");
        EXPECT_STREQ(entry->password.Get(), "135790");
        EXPECT_EQ(entry->department.str(), u"深南中路");
        EXPECT_EQ(App().GetSetting("Trade_ZJZH"), save ? "12345" : "");
        EXPECT_EQ(App().GetSetting("Trade_SAVEZJZH"), save ? "1" : "0");
        EXPECT_EQ(App().GetSetting("Trade_ZHLX"), "Z");
        EXPECT_EQ(App().GetSetting(kSalesDeptSetting), "0001");
        EXPECT_EQ(App().GetAccountCount(), 1);
    }
}

TEST_F(TradeLoginRecordTest, TheHistoryRowHoldsWhatTheFormNeedsAndAFailedStoreSaysSo) {
    CTradeLoginAttempt attempt;
    Fill(attempt);
    const CTradeLoginReply reply = Reply();
    ASSERT_TRUE(SaveTradeLoginHistory(App(), attempt, reply));
    const std::vector<CHisAccountRecord> rows = ReadHistoryAccounts(App());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].account.str(), u"000100012345");
    EXPECT_EQ(rows[0].accountName.str(), u"王小明");
    EXPECT_EQ(rows[0].salesDept.str(), u"深南中路");
    EXPECT_EQ(rows[0].salesDeptCode.str(), u"0001");
    EXPECT_EQ(rows[0].accountType.str(), u"Z");
    EXPECT_EQ(rows[0].inputAccount.str(), u"12345");

    CFailingFileOps disk(FileFault{"full disk", FileOp::OpenForLocking, ENOSPC});
    attempt.typed = "54321";
    EXPECT_FALSE(SaveTradeLoginHistory(App(), attempt, reply));
}
