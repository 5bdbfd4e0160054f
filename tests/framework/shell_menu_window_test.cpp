// The menu window over a menu tree stored as "Menus": it lists the
// children of its node, opens a child by its keyword on a tap and closes
// back; and the trade entry point's windows. (How a menu looks is a
// reference screen.)
#include "ui_Fixture.h"

#include "core/CDataSetWriter.h"
#include "framework/ui/COrbMenuWnd.h"
#include "platform/storage/CppSQLite3DB.h"
#include "platform/testing/CDriverControls.h"
#include "support/TestMenus.h"

namespace {

class MenuWindowTest : public UiWindowTest {
protected:
    // Starts with the menu window registered, a test window for the
    // ranking's keyword and the menus stored.
    void StartWithMenuWindows() {
        CWndManager::Instance().RegisterWindow("menu", [](const CWndCreateInfo&) {
            return std::unique_ptr<CBaseWnd>(new COrbMenuWnd());
        });
        RegisterTestWindow("pxhq", "ranking");
        StartWithMain();
        const auto body = TestMenusBody({
            {1, 0, u"行情报价", "menu", "", ""},
            {11, 1, u"沪深排名", "pxhq", "", "tc_mfuncno=31000&tc_sfuncno=3"},
            {12, 1, u"大盘指数", "zshq", "", "tc_mfuncno=31000&tc_sfuncno=5"},
            {13, 1, u"板块行情", "bkhq", "", ""},
            {2, 0, u"委托交易", "menu", "", ""},
        });
        driver.RunOnGui([&body] { CAppData::Instance()->WriteDatFile("Menus", body.data(), body.size()); });
    }
    // main opens node 1 ("行情报价") by its keyword.
    void OpenFirstMenu() {
        driver.RunOnGui([] {
            CTestNetWnd* main = g_log.live.at("main");
            main->SetMenuParams(0, nullptr, nullptr);
            main->PostMessage(CTestNetWnd::kOpenChild, 0, 0);
        });
        ASSERT_EQ(Depth(), 1);
    }
};

} // namespace

TEST_F(MenuWindowTest, AMenuWindowListsTheChildrenOfItsNodeOpensOneOnATapAndClosesBack) {
    StartWithMenuWindows();
    OpenFirstMenu();
    const auto rows = CDriverControls::ListItems(driver, COrbMenuWnd::kListId);
    ASSERT_TRUE(rows.has_value());
    EXPECT_EQ(rows->size(), 3u);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbMenuWnd::kListId, 0));
    ASSERT_EQ(Depth(), 2) << "the ranking window runs over the menu";
    EXPECT_EQ(driver.RunOnGui([] {
                  const CTestNetWnd* ranking = g_log.live.at("ranking");
                  return std::to_string(ranking->GetMenuId()) + " " + ranking->GetRequestText().str();
              }),
              "11 tc_mfuncno=31000&tc_sfuncno=3");
    // Back from the child to the menu, then from the menu to the main window.
    driver.RunOnGui([] { g_log.live.at("ranking")->EndWindow(1); });
    EXPECT_EQ(Depth(), 1);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2)); // "返回"
    EXPECT_EQ(Depth(), 0);
    EXPECT_EQ(driver.RunOnGui([] { return g_log.deleted["ranking"]; }), 1);
    EXPECT_EQ(driver.RunOnGui([] { return g_log.childCodes["main"]; }), std::vector<int>{1});
    // The menu's "首页" closes the whole chain.
    OpenFirstMenu();
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 0));
    EXPECT_EQ(Depth(), 0);
    EXPECT_TRUE(driver.RunOnGui([] { return g_log.live.at("main")->IsVisible(); }));
    // A child index beyond the menu opens nothing.
    EXPECT_EQ(driver.RunOnGui([] {
                  CTestNetWnd* main = g_log.live.at("main");
                  main->SetMenuParams(1, nullptr, nullptr);
                  return main->OpenMenuChild(7);
              }),
              -1);
    EXPECT_EQ(Depth(), 0);
}

TEST_F(MenuWindowTest, TradeLoginWithoutASalesDepartmentAsksForOneAndOpensItsWindowOnceRegistered) {
    StartWithMain();
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    EXPECT_EQ(driver.RunOnGui([] { return CAppData::Instance()->CheckTradeLogin(g_log.live.at("main"), -1, false); }),
              -1);
    const auto shown = driver.Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, u"提示");
    EXPECT_EQ(shown[0].text, u"请先设置好营业部（之后也可以在“软件设置”中添加和删除营业部）");
    EXPECT_EQ(Depth(), 0);

    driver.RunOnGui([] { RegisterTestWindow("CSalesDeptSetWnd", "depts"); });
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    // Run it from a handler so the window rests on the screen.
    driver.RunOnGui([] {
        UiMessageLoop::Current()->PostTask(
            [] { CAppData::Instance()->CheckTradeLogin(g_log.live.at("main"), 4, false); });
    });
    ASSERT_EQ(Depth(), 1);
    EXPECT_TRUE(driver.ScreenShows(u"营业部设置"));
    EXPECT_EQ(driver.RunOnGui([] { return g_log.live.at("depts")->GetLastShowAnimation(); }), ANIM_PAGE_IN);
    driver.RunOnGui([] { g_log.live.at("depts")->EndWindow(1); });
    EXPECT_EQ(Depth(), 0);
    EXPECT_EQ(driver.RunOnGui([] { return g_log.deleted["depts"]; }), 1);
}

namespace {

// What the trade entry point handed the window factory it used.
struct CMadeTradeWindow {
    std::string className;
    CWndCreateInfo info;
};
inline std::vector<CMadeTradeWindow> g_madeTrade;

void RegisterTradeWindow(const char* className, const std::string& label) {
    CWndManager::Instance().RegisterWindow(className, [className, label](const CWndCreateInfo& info) {
        g_madeTrade.push_back({className, info});
        return std::unique_ptr<CBaseWnd>(new CTestNetWnd(label));
    });
}

} // namespace

TEST_F(MenuWindowTest, WithADepartmentTheTradeEntryPointPicksTheLoginOrTheAccountListAndPassesTheNotifyValueOnce) {
    g_madeTrade.clear();
    RegisterTradeWindow("COrbTradeLoginWnd", "login");
    RegisterTradeWindow("CTradeLoginAccountWnd", "accounts");
    StartWithMain([] {
        CppSQLite3DB db;
        db.open(CAppData::Instance()->MakeDataPath(u"VM_DATA.db").view());
        db.execDML(u"create table Table_SalesDept (SCCODE text, SCNAME text)");
        db.execDML(u"insert into Table_SalesDept values (?1, ?2)", {u"0001", u"总部"});
        db.close();
    });
    // Each run: the entry point from a handler, the window it opened closed
    // with code 1 once it rests on the screen.
    const auto run = [this](bool newLogin, bool addAccount, const char16_t* title, const std::string& label) {
        driver.RunOnGui([newLogin, addAccount] {
            if (addAccount) {
                auto holders = std::make_unique<CDataSet>("holder");
                holders->AddColumn(DataSetType::AnsiText, "fundid");
                holders->AddRow(-1);
                CAppData::Instance()->AddAccount(std::move(holders), "1001", "s&operway=i", "pw", u"张三", u"营业部");
            }
            UiMessageLoop::Current()->PostTask([newLogin] {
                CAppData::Instance()->CheckTradeLogin(g_log.live.at("main"), 7, newLogin);
            });
        });
        EXPECT_TRUE(driver.ScreenShows(title));
        ASSERT_EQ(Depth(), 1) << label;
        driver.RunOnGui([label] { g_log.live.at(label)->EndWindow(1); });
        ASSERT_EQ(Depth(), 0);
    };
    run(false, false, u"交易登录", "login");
    run(true, false, u"交易登录", "login");
    run(false, true, u"已登录账号", "accounts");
    const auto made = driver.RunOnGui([] { return g_madeTrade; });
    ASSERT_EQ(made.size(), 3u);
    EXPECT_EQ(made[0].className, "COrbTradeLoginWnd");
    EXPECT_EQ(made[0].info.notifyValue, 7);
    EXPECT_EQ(made[1].className, "COrbTradeLoginWnd");
    EXPECT_EQ(made[1].info.notifyValue, -1) << "a new login notifies nobody";
    EXPECT_EQ(made[2].className, "CTradeLoginAccountWnd");
    EXPECT_EQ(made[2].info.flag, CWndManager::kFlagLoggedInMode);
}
