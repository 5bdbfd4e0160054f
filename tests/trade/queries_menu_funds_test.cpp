// The trade menu before and after a login, and the funds page's tabs.
#include "framework/ui_Fixture.h"

#include "core/CDataSetWriter.h"
#include "framework/shell/TradeEntry.h"
#include "framework/ui/WndMessages.h"
#include "platform/testing/CDriverControls.h"
#include "support/TestMenus.h"
#include "trade/TradeWindows.h"
#include "trade/login/COrbTradeMenuWnd.h"
#include "trade/queries/CAccountQueryWnd.h"

namespace {

inline std::vector<int> g_loginNotify; // the notify values the trade login was asked with

class TradeMenuTest : public UiWindowTest {
protected:
    // fundRow: a "基金开户" row after the two.
    void StartWithTradeMenu(bool fundRow = false) {
        g_loginNotify.clear();
        RegisterTradeWindows();
        RegisterTestWindow("tradequery", "today");
        StartWithMain([] {
            CAppData::SetTradeLoginRoute([](CAppData&, UiWin*, int notify, bool) {
                g_loginNotify.push_back(notify);
                return 0;
            });
        });
        std::vector<SimMenuNode> nodes = {
            {7, 0, u"股票交易", "trademenu", "", ""},
            {371, 7, u"当日委托", "tradequery", "", "tc_mfuncno=500&tc_sfuncno=10"},
            {79, 7, u"退出交易", "tradeexit", "", ""},
        };
        if (fundRow)
            nodes.push_back({81, 7, u"基金开户", "of_jjkh", "", ""});
        const auto body = TestMenusBody(nodes);
        driver.RunOnGui([&body] {
            CAppData::Instance()->WriteDatFile("Menus", body.data(), body.size());
            CTestNetWnd* main = g_log.live.at("main");
            main->SetMenuParams(0, nullptr, nullptr);
            main->PostMessage(CTestNetWnd::kOpenChild, 0, 0);
        });
        ASSERT_EQ(Depth(), 1);
    }
    void ReleaseWindows() override {
        CAppData::SetTradeLoginRoute(RunTradeEntry); // the window manager's road, for the tests after
        UiWindowTest::ReleaseWindows();
    }
    static COrbTradeMenuWnd* Menu() {
        UiWin* list = CDriverControls::FindShownControl(COrbMenuWnd::kListId);
        return list ? dynamic_cast<COrbTradeMenuWnd*>(list->GetParent()) : nullptr;
    }
    std::pair<std::u16string, std::u16string> Header() {
        return driver.RunOnGui([] {
            return std::pair(Menu()->GetAccountText().GetText(), Menu()->GetHeaderButton().GetText());
        });
    }
    static void LogIn() {
        auto holders = std::make_unique<CDataSet>("holder");
        holders->AddColumn(DataSetType::AnsiText, "fundid");
        holders->AddRow(-1);
        holders->SetField(0, "000100012345", 12);
        CAppData::Instance()->AddAccount(std::move(holders), "000100012345", "custid=1&operway=i", "pw", u"张伟",
                                         u"营业部");
    }
};

} // namespace

TEST_F(TradeMenuTest, BeforeALoginARowAsksForItAndOpensAfterItAStaleRowNothing) {
    StartWithTradeMenu();
    EXPECT_EQ(Header(), std::pair(std::u16string(u"当前未登录交易系统"), std::u16string(u"登录")));
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbMenuWnd::kListId, 0));
    EXPECT_EQ(g_loginNotify, std::vector<int>{0}) << "the login reports back with the row";
    EXPECT_EQ(Depth(), 1);
    // The login succeeded and reported: the row opens without a second tap.
    driver.RunOnGui([] {
        LogIn();
        Menu()->PostMessage(WND_MSG_TRADE_LOGGED_IN, 0, 0);
    });
    ASSERT_EQ(Depth(), 2);
    EXPECT_EQ(driver.RunOnGui([] { return g_log.live.at("today")->GetMenuId(); }), 371);
    driver.RunOnGui([] { g_log.live.at("today")->EndWindow(1); });
    EXPECT_EQ(Header(), std::pair(std::u16string(u"张伟 000100012345"), std::u16string(u"切换")));
    // A report naming a row the menu no longer has opens nothing.
    driver.RunOnGui([] { Menu()->PostMessage(WND_MSG_TRADE_LOGGED_IN, 0, 9); });
    EXPECT_EQ(Depth(), 1);
    // "退出交易" logs out; header and rows then agree nobody is logged in.
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbMenuWnd::kListId, 1));
    EXPECT_EQ(Header(), std::pair(std::u16string(u"当前未登录交易系统"), std::u16string(u"登录")));
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbMenuWnd::kListId, 0));
    EXPECT_EQ(g_loginNotify, (std::vector<int>{0, 0}));
    EXPECT_EQ(Depth(), 1);
}

TEST_F(TradeMenuTest, AnAccountKeptWithoutHoldersIsNotShownAsLoggedIn) {
    StartWithTradeMenu();
    driver.RunOnGui([] {
        LogIn();
        CAppData::Instance()->Logout(); // the entry stays, the holder set goes
        Menu()->OnWindowShown();
    });
    EXPECT_EQ(Header(), std::pair(std::u16string(u"当前未登录交易系统"), std::u16string(u"登录")));
    ASSERT_TRUE(CDriverControls::TapControl(driver, COrbTradeMenuWnd::kHeaderButtonId));
    EXPECT_EQ(g_loginNotify, std::vector<int>{-1}) << "the header button starts the login";
}

TEST_F(TradeMenuTest, AFundRowSaysTheFundServicesAreNotThereBeforeAnyLoginAndOpensTheirScreenWhenBuilt) {
    StartWithTradeMenu(true);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbMenuWnd::kListId, 2));
    ASSERT_EQ(driver.Shown().size(), 1u);
    EXPECT_EQ(driver.Shown()[0].text, COrbTradeMenuWnd::kNoFundServices);
    EXPECT_TRUE(g_loginNotify.empty()) << "no login for a screen that is not there";
    EXPECT_EQ(Depth(), 1);
    // Logged in, an agreed risk notice without the opening form says the same.
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    driver.RunOnGui([] {
        LogIn();
        Menu()->PostMessage(WND_MSG_FUND_RISK_AGREED, 0, 81);
    });
    driver.WaitForRest();
    EXPECT_EQ(driver.Shown().size(), 2u);
    EXPECT_EQ(Depth(), 1);
    // With the fund screens built the row leads to the risk notice.
    driver.RunOnGui([] { RegisterTestWindow("of_jjkhfxts", "risk"); });
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbMenuWnd::kListId, 2));
    ASSERT_EQ(Depth(), 2);
    EXPECT_EQ(driver.RunOnGui([] { return g_log.live.at("risk")->GetMenuId(); }), 81);
    EXPECT_EQ(driver.Shown().size(), 2u);
}

namespace {

// A funds reply of currencies rows, with the paging column twice.
std::vector<uint8_t> FundsBody(const std::vector<std::u16string>& currencies) {
    CDataSetWriter w;
    w.AddSet("funds");
    const int name = w.AddColumn(DataSetType::WideText, "~moneytype", u"币种");
    const int avail = w.AddColumn(DataSetType::AnsiText, "fundavl", u"可用资金");
    const int post = w.AddColumn(DataSetType::AnsiText, "poststr", u"定位串");
    const int post2 = w.AddColumn(DataSetType::AnsiText, "POSTSTR", u"定位串二");
    for (size_t i = 0; i < currencies.size(); ++i) {
        w.AddRow();
        w.SetText(name, currencies[i]);
        w.SetAnsiText(avail, std::to_string(1000 * (i + 1)) + ".00");
        w.SetAnsiText(post, "p");
        w.SetAnsiText(post2, "q");
    }
    return w.Serialize();
}

} // namespace

TEST_F(TradeMenuTest, TheFundsPageHasATabPerCurrencyAndAnEmptyReplyTakesTheBarOffUntilTheNext) {
    StartWithMain();
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    driver.RunOnGui([] {
        CAccountQueryWnd funds;
        funds.SetMenuParams(76, "position=poststr", "tc_mfuncno=500&tc_sfuncno=12");
        ASSERT_TRUE(funds.CreateOver(nullptr));
        const auto four = FundsBody({u"人民币", u"美元", u"港元", u"欧元"});
        funds.OnNetData(four.data(), static_cast<int>(four.size()), false);
        ASSERT_EQ(funds.GetTabBar().GetTabCount(), 4);
        EXPECT_EQ(funds.GetTabBar().GetTabText(3), u"欧元");
        EXPECT_TRUE(funds.HasTabBar());
        const CQueryTabPage* page = funds.GetPage(1);
        ASSERT_EQ(page->GetRowCount(), 3) << "the first paging column left out, the second shown";
        EXPECT_EQ(page->GetLabel(0), u"币种:");
        EXPECT_EQ(page->GetValue(0), u"美元");
        EXPECT_EQ(page->GetValue(1), u"2000.00");
        EXPECT_EQ(page->GetLabel(2), u"定位串二:");
        // A reply that is not an error and has no set: nothing to show.
        CDataSetWriter none;
        const auto empty = none.Serialize();
        funds.OnNetData(empty.data(), static_cast<int>(empty.size()), false);
        EXPECT_EQ(funds.GetPageCount(), 0);
        EXPECT_FALSE(funds.HasTabBar());
        const auto one = FundsBody({u"人民币"});
        funds.OnNetData(one.data(), static_cast<int>(one.size()), false);
        EXPECT_TRUE(funds.HasTabBar()) << "a later reply brings the tab bar back";
        EXPECT_EQ(funds.GetTabBar().GetTabCount(), 1);
    });
    const auto shown = driver.Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, u"没有相关记录！");
    EXPECT_EQ(shown[0].caption, u"提示");
}
