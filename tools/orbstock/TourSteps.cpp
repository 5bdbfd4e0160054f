// The screens of the screenshot tour, in order; each step starts at the
// main menu after the start-up against the embedded simulator, except the
// start-up's own screens.
#include "framework/shell/COrbApp.h"
#include "framework/app/CStartupWnd.h"
#include "framework/ui/CBaseWnd.h"
#include "framework/ui/COrbMenuWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/Clock.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/CMyStockWnd.h"
#include "quotes/tables/COrbStockTableWnd.h"
#include "tools/orbstock/Tour.h"
#include "trade/login/CSalesDeptSetWnd.h"
#include "framework/app/CAppData.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/UiEdit.h"
#include "tools/simulator/CSimTradeAccounts.h"
#include "trade/dyncode/DynCodeStore.h"
#include "trade/login/COrbTradeLoginWnd.h"
#include "trade/login/CTradeLoginAccountWnd.h"

// The start-up screen while the server has not answered the logon, its
// line half way through a sweep.
ORB_TOUR_STARTUP_STEP(startup_connecting) {
    for (int i = 0; i < CStartupWnd::kSteps / 2; ++i)
        tour.driver.RunOnGui([] { CClock::Instance().Advance(CStartupWnd::kStepIntervalMs); });
    return tour.driver.RunOnGui([&] { return tour.app.GetStartupScreen() != nullptr; });
}

// The main menu: the root's children from the simulator's menu tree.
ORB_TOUR_STEP(main_menu) { return tour.app.GetMainWindow() != nullptr; }

// The exit question over the main menu, as the caption's back button asks it.
ORB_TOUR_STEP(exit_confirm) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_CAPTION_BACK);
    });
    return posted && tour.driver.WaitForRest();
}

// The watch list: the main menu's first child ("自选股") over the stored list.
ORB_TOUR_STEP(watch_list) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, 0);
    });
    return posted && tour.driver.WaitForRest();
}

// The watch-list editor over the watch list, two stocks checked.
ORB_TOUR_STEP(watch_list_editor) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, 0);
    });
    return posted && tour.driver.WaitForRest() &&
           CDriverControls::PressBottomButton(tour.driver, CMyStockWnd::kBarEditor) &&
           CDriverControls::TapListItem(tour.driver, CEditMyStockWnd::kListId, 1) &&
           CDriverControls::TapListItem(tour.driver, CEditMyStockWnd::kListId, 2);
}

// The stock ranking: the main menu's second child ("沪深排名").
ORB_TOUR_STEP(ranking_table) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, 1);
    });
    return posted && tour.driver.WaitForRest();
}

// One sector's stocks, reached as a person gets there: "板块行情" on the
// main menu, then the sector "人工智能".
ORB_TOUR_STEP(sector_table) {
    return CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, 4) &&
           CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, 3);
}

// The ranking's sort form, chosen from the ranking table's option menu.
ORB_TOUR_STEP(sort_form) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, 1);
    });
    if (!posted || !tour.driver.WaitForRest())
        return false;
    tour.driver.AnswerNext(ModalKind::PopupMenu, COrbStockTableWnd::kMenuSortParams);
    return CDriverControls::PressBottomButton(tour.driver, COrbTableWnd::kBarOptions);
}

// The sales departments as a user without one meets them: the caption's
// trade button, its request to set one up answered, three departments
// added (the first as offered, two by their typed codes), one checked.
ORB_TOUR_STEP(sales_departments) {
    tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_CAPTION_TRADE);
    });
    if (!posted || !tour.driver.WaitForRest() ||
        !CDriverControls::PressBottomButton(tour.driver, CSalesDeptSetWnd::kBarAdd))
        return false;
    for (const char16_t* code : {u"0003", u"0007"}) {
        if (!CDriverControls::TapControl(tour.driver, CSalesDeptSetWnd::kCodeBoxId))
            return false;
        for (int i = 0; i < CSalesDeptSetWnd::kCodeLength; ++i)
            tour.driver.PressKey(VK_BACK);
        if (!tour.driver.TypeText(code) || !CDriverControls::PressBottomButton(tour.driver, CSalesDeptSetWnd::kBarAdd))
            return false;
    }
    return CDriverControls::TapListItem(tour.driver, CSalesDeptSetWnd::kListId, 1);
}

// ---- Trade login ----

namespace {
// The caption bar's trade button on the window on top, as a tap on it.
bool PressTradeButton(CTourContext& tour) {
    bool posted = tour.driver.RunOnGui([] {
        UiWin* bar = CDriverControls::FindShownControl(UI_BOTTOM_BAR_ID);
        UiWin* top = bar ? bar->GetParent() : nullptr;
        return top && top->PostMessage(WND_MSG_CAPTION_TRADE);
    });
    return posted && tour.driver.WaitForRest();
}

// A first trade button with no department: the notice, then the department
// window, where the user adds the first department of the broker's list
// and the one of code 0003, and saves.
bool SetUpDepartments(CTourContext& tour) {
    tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_CAPTION_TRADE);
    });
    if (!posted || !tour.driver.WaitForRest() ||
        !CDriverControls::PressBottomButton(tour.driver, CSalesDeptSetWnd::kBarAdd) ||
        !CDriverControls::TapControl(tour.driver, CSalesDeptSetWnd::kCodeBoxId))
        return false;
    for (int i = 0; i < CSalesDeptSetWnd::kCodeLength; ++i)
        tour.driver.PressKey(VK_BACK);
    if (!tour.driver.TypeText(u"0003") ||
        !CDriverControls::PressBottomButton(tour.driver, CSalesDeptSetWnd::kBarAdd))
        return false;
    return CDriverControls::PressBottomButton(tour.driver, CSalesDeptSetWnd::kBarSave);
}

// The login form from the main menu's caption bar, departments set up.
bool OpenTradeLogin(CTourContext& tour) {
    if (!SetUpDepartments(tour))
        return false;
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_CAPTION_TRADE);
    });
    return posted && tour.driver.WaitForRest();
}

bool TypeInto(CTourContext& tour, int id, std::u16string_view text) {
    return CDriverControls::TapControl(tour.driver, id) && tour.driver.TypeText(text);
}

// Logs the customer on from the form on top and takes the success notice.
bool LogOn(CTourContext& tour, std::u16string_view account, std::u16string_view password,
           std::u16string_view passPhrase = {}) {
    if (!TypeInto(tour, COrbTradeLoginWnd::kAccountId, account) ||
        !TypeInto(tour, COrbTradeLoginWnd::kPasswordId, password) ||
        (!passPhrase.empty() && !TypeInto(tour, COrbTradeLoginWnd::kPassPhraseId, passPhrase)))
        return false;
    tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
    return CDriverControls::PressBottomButton(tour.driver, CBaseWnd::kToolbarMiddle);
}
} // namespace

// The trade login form, account and password typed, "保存账号" checked.
ORB_TOUR_STEP(trade_login) {
    return OpenTradeLogin(tour) && TypeInto(tour, COrbTradeLoginWnd::kAccountId, u"12345") &&
           TypeInto(tour, COrbTradeLoginWnd::kPasswordId, u"123456") &&
           CDriverControls::TapControl(tour.driver, COrbTradeLoginWnd::kSaveCheckId);
}

// The form for an account with a phone token on this phone: the one-time
// code in place of the pass phrase. The token row is stored directly (the
// token application has no window yet).
ORB_TOUR_STEP(trade_login_dyncode) {
    const bool stored = tour.driver.RunOnGui([] {
        CAppData* app = CAppData::Instance();
        return app && StoreDynCodeSeed(*app, "000300056789", CSimTradeAccounts::kDefaultSeed, u"", true, 0);
    });
    if (!stored || !OpenTradeLogin(tour))
        return false;
    tour.driver.AnswerNext(ModalKind::Picker, 1); // "上海浦东南路证券营业部", code 0003
    return CDriverControls::TapControl(tour.driver, COrbTradeLoginWnd::kDeptArrowId) &&
           TypeInto(tour, COrbTradeLoginWnd::kAccountId, u"56789") &&
           TypeInto(tour, COrbTradeLoginWnd::kPasswordId, u"246810");
}

// The logged-in accounts: two customers logged on, the trade button again.
ORB_TOUR_STEP(trade_accounts) {
    if (!OpenTradeLogin(tour) || !LogOn(tour, u"12345", u"123456") || !PressTradeButton(tour) ||
        !CDriverControls::TapControl(tour.driver, CTradeLoginAccountWnd::kNewLoginId))
        return false;
    return LogOn(tour, u"12346", u"135790", u"orb2026");
}

// The history list from the login form, after two logins with "保存账号".
ORB_TOUR_STEP(account_history) {
    if (!OpenTradeLogin(tour) || !CDriverControls::TapControl(tour.driver, COrbTradeLoginWnd::kSaveCheckId) ||
        !LogOn(tour, u"12345", u"123456") || !PressTradeButton(tour) ||
        !CDriverControls::TapControl(tour.driver, CTradeLoginAccountWnd::kNewLoginId))
        return false;
    tour.driver.RunOnGui([] {
        if (auto* box = dynamic_cast<UiEdit*>(CDriverControls::FindShownControl(COrbTradeLoginWnd::kAccountId)))
            box->SetText(u"");
    });
    if (!LogOn(tour, u"12346", u"135790", u"orb2026") ||
        !CDriverControls::TapControl(tour.driver, CTradeLoginAccountWnd::kNewLoginId))
        return false;
    return CDriverControls::TapControl(tour.driver, COrbTradeLoginWnd::kHistoryButtonId);
}
