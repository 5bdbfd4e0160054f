// The account lists: the logged-in accounts reached from a trade entry
// point (log out one of several, the last), and the history list that
// fills the login form; the history table's bound values.
#include "login_Fixture.h"

#include <cstring>

namespace {

constexpr int kList = CTradeLoginAccountWnd::kListId;

std::unique_ptr<CDataSet> Holders(const char* fundid, int rows) {
    auto set = std::make_unique<CDataSet>("holder");
    set->AddColumn(DataSetType::AnsiText, "fundid");
    for (int i = 0; i < rows; ++i) {
        set->AddRow(-1);
        set->SetField(0, fundid, static_cast<int>(std::strlen(fundid)));
    }
    return set;
}

class TradeAccountsTest : public TradeLoginTest {
protected:
    // Two accounts logged in, the second current.
    void StartWithTwo() {
        Start();
        OnApp([](CAppData& app) {
            app.AddAccount(Holders("000100012345", 4), "000100012345", "custid=a&operway=i", "123456", u"张伟",
                           u"深圳深南中路证券营业部");
            app.AddAccount(Holders("000300056789", 3), "000300056789", "custid=b&operway=i", "246810", u"王芳",
                           u"上海浦东南路证券营业部");
            app.SetTradeLoggedIn(true);
            return 0;
        });
    }
    struct Current {
        int index;
        std::string loginId, password, fundid;
        int holderRows;
        bool sameSet;
    };
    Current CurrentLogin() {
        return OnApp([](CAppData& app) {
            const CAccountEntry* e = app.GetCurrentAccount();
            return Current{app.GetCurrentAccountIndex(),
                           app.GetLoginId(),
                           app.GetTradePassword() ? app.GetTradePassword() : "",
                           app.GetFundIdForMarket(nullptr).str(),
                           app.GetHolderDataSet() ? app.GetHolderDataSet()->GetRowCount() : -1,
                           e && e->holders.get() == app.GetHolderDataSet()};
        });
    }
};

TEST_F(TradeAccountsTest, LoggingOutTheCurrentOfTwoLeavesTheOtherWholeAndTheLastClosesTheList) {
    StartWithTwo();
    RunEntry();
    ASSERT_EQ(TopWindow(), "CTradeLoginAccountWnd");
    EXPECT_EQ(CDriverControls::ListSelection(driver, kList), 1) << "the current account is selected";
    EXPECT_EQ(driver.ControlText(CTradeLoginAccountWnd::kLabelId), u"当前使用的账户是:\n    000300056789 王芳");

    driver.AnswerNext(ModalKind::MessageBox, IDYES);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarLeft));
    const Current after = CurrentLogin();
    EXPECT_EQ(after.index, 0);
    EXPECT_EQ(after.loginId, "custid=a&operway=i");
    EXPECT_EQ(after.password, "123456");
    EXPECT_EQ(after.fundid, "000100012345");
    EXPECT_EQ(after.holderRows, 4);
    EXPECT_TRUE(after.sameSet);
    EXPECT_EQ(CDriverControls::ListItems(driver, kList)->size(), 1u);
    EXPECT_EQ(TopWindow(), "CTradeLoginAccountWnd");

    driver.AnswerNext(ModalKind::MessageBox, IDYES);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarLeft));
    EXPECT_EQ(g_tradeHost.closeCodes, std::vector<int>{0});
    EXPECT_EQ(OnApp([](CAppData& app) { return app.GetAccountCount(); }), 0);
    EXPECT_FALSE(OnApp([](CAppData& app) { return app.HasHolderData(); }));
    EXPECT_FALSE(OnApp([](CAppData& app) { return app.IsTradeLoggedIn(); }));
}

TEST_F(TradeAccountsTest, AHistoryRowFillsTheFormAndOnlyARealDepartmentJoinsTheList) {
    Start();
    OnApp([](CAppData& app) {
        EnsureHistoryTable(app);
        SaveHistoryAccount(app, {u"000900012345", u"赵六", u"登录时未正确设置营业部", u"0009", u"Z", u"12345"});
        SaveHistoryAccount(app, {u"000500088001", u"陈静", u"北京金融大街证券营业部", u"0005", u"1", u"B880123456"});
        return 0;
    });
    RunEntry();
    ASSERT_EQ(TopWindow(), "COrbTradeLoginWnd");
    const auto openHistory = [&] {
        ASSERT_TRUE(CDriverControls::TapControl(driver, COrbTradeLoginWnd::kHistoryButtonId));
        ASSERT_EQ(TopWindow(), "CTradeLoginAccountWnd");
    };
    const auto formDept = [&] {
        return driver.RunOnGui([] {
            UiWin* box = CDriverControls::FindShownControl(COrbTradeLoginWnd::kAccountId);
            auto* form = box ? dynamic_cast<COrbTradeLoginWnd*>(box->GetParent()) : nullptr;
            return form ? std::pair{form->GetDeptCode(), form->GetDeptText()} : std::pair<std::string, std::u16string>{};
        });
    };
    openHistory();
    const auto titles = CDriverControls::ListItems(driver, kList);
    ASSERT_TRUE(titles);
    EXPECT_EQ(*titles, (std::vector<std::u16string>{u"0009****2345 赵六", u"0005****8001 陈静"}));

    // A row without a real department fills the account and the type only.
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    EXPECT_EQ(TopWindow(), "COrbTradeLoginWnd");
    EXPECT_EQ(driver.ControlText(COrbTradeLoginWnd::kAccountId), u"12345");
    EXPECT_EQ(formDept(), (std::pair{std::string("0001"), std::u16string(u"深圳深南中路证券营业部")}));

    // A real department is added and shown with the code it sends.
    openHistory();
    ASSERT_TRUE(CDriverControls::TapListItem(driver, kList, 1));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    EXPECT_EQ(driver.ControlText(COrbTradeLoginWnd::kAccountId), u"B880123456");
    EXPECT_EQ(formDept(), (std::pair{std::string("0005"), std::u16string(u"北京金融大街证券营业部")}));
    const auto stored = OnApp([](CAppData& app) { return LoadSalesDepts(app); });
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->size(), 3u);
    EXPECT_EQ(stored->back().code, "0005");
}

TEST_F(TradeAccountsTest, HistoryValuesAreBoundSoQuotesStayAndSqlFindsNothing) {
    Start();
    const auto rows = OnApp([](CAppData& app) {
        EnsureHistoryTable(app);
        SaveHistoryAccount(app, {u"000100012345", u"O'Neil", u"营业部'--", u"0001", u"Z", u"12345"});
        SaveHistoryAccount(app, {u"000100012346", u"李娜", u"营业部", u"0001", u"Z", u"12346"});
        const int deleted = DeleteHistoryAccount(app, u"'or 1=1--");
        SaveHistoryAccount(app, {u"000100012345", u"O'Neil", u"营业部'--", u"0002", u"Z", u"12345"});
        return std::pair{deleted, ReadHistoryAccounts(app)};
    });
    EXPECT_EQ(rows.first, 0);
    ASSERT_EQ(rows.second.size(), 2u);
    EXPECT_EQ(rows.second[0].accountName, u"O'Neil");
    EXPECT_EQ(rows.second[0].salesDept, u"营业部'--");
    EXPECT_EQ(rows.second[0].salesDeptCode, u"0002") << "the second save updated the row";
}

} // namespace
