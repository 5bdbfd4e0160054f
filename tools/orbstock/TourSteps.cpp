// The screens of the screenshot tour, in order; each step starts at the
// main menu after the start-up against the embedded simulator, except the
// start-up's own screens.
#include "framework/shell/COrbApp.h"
#include "framework/app/CStartupWnd.h"
#include "framework/ui/CBaseWnd.h"
#include "framework/ui/COrbMenuWnd.h"
#include "framework/ui/WndMessages.h"
#include "framework/ui/funds/CFundTradeConfirmWnd.h"
#include "framework/ui/IWindowOpener.h"
#include "platform/Clock.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/CMyStockWnd.h"
#include "quotes/tables/COrbStockTableWnd.h"
#include "tools/orbstock/Tour.h"

#include <functional>

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

// Opens a table of the main menu (child index), selects its first row and
// chooses "详细报价" from the option menu, as a person reaches the detail page.
static bool OpenDetailFromTable(CTourContext& tour, int child) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, child);
    });
    if (!posted || !tour.driver.WaitForRest() ||
        !CDriverControls::TapListItem(tour.driver, COrbTableWnd::kRowListId, 0))
        return false;
    tour.driver.AnswerNext(ModalKind::PopupMenu, COrbTableWnd::kMenuDetail);
    return CDriverControls::PressBottomButton(tour.driver, 0);
}

// Runs fn on the GUI thread after the step's own task, so that a window it
// runs modally shows while the step goes on.
static bool OpenLater(CTourContext& tour, std::function<void(CBaseWnd* main)> fn) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        UiMessageLoop* loop = UiMessageLoop::Current();
        if (!main || !loop)
            return false;
        loop->PostTask([fn, main] { fn(main); });
        return true;
    });
    return posted && tour.driver.WaitForRest();
}

// The detail page of the ranking's first stock: its figures and the book.
ORB_TOUR_STEP(stock_detail) { return OpenDetailFromTable(tour, 1); }

// The detail page of the watch list's first row, an index: six rows.
ORB_TOUR_STEP(index_detail) { return OpenDetailFromTable(tour, 0); }

// The deal details of a stock, opened by keyword as the minute chart opens them.
ORB_TOUR_STEP(deal_details) {
    return OpenLater(tour, [](CBaseWnd* main) {
        CBaseWnd::GetWndManager().CreateWnd("CStockDealDetailWnd", -1, u"成交明细", "", "code=600010.02&date=0", 0, main);
    });
}

// The trade confirmation page as the warrant exercise hands it a request.
ORB_TOUR_STEP(fund_confirm) {
    return OpenLater(tour, [](CBaseWnd* main) {
        CFundTradeConfirmWnd page(u"权证行权确认", main);
        page.SetConfirm(u"交易类型：权证行权\n行权代码：580001\n证券名称：华岳JTP1\n行权价格：4.50\n行权数量：1000\n",
                        "TC_MFUNCNO=100&TC_SFUNCNO=29&stkcode=580001&price=4.50&qty=1000");
        page.SetResultPrefix(u"委托已提交，合同序号为");
        page.Run();
    });
}
