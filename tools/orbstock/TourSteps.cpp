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
#include "platform/win/UiMessageLoop.h"
#include "tools/orbstock/Tour.h"
#include "trade/orders/CTradeConfirmWnd.h"

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

namespace {
// Opens a confirmation page over the main menu, as the order form or the
// same-day table hands it over, and waits until it shows.
bool OpenConfirmPage(CTourContext& tour, const char16_t* title, ConfirmMode mode, const ConfirmEntry& entry,
                     const CPriceTypeItem* type) {
    CBaseWnd* main = tour.driver.RunOnGui([&] { return tour.app.GetMainWindow(); });
    if (!main)
        return false;
    const std::optional<CPriceTypeItem> kept = type ? std::optional<CPriceTypeItem>(*type) : std::nullopt;
    tour.driver.Loop()->PostTask([main, title, mode, entry, kept] {
        CTradeConfirmWnd::Run(main, title, mode, {entry}, kept ? &*kept : nullptr);
    });
    return tour.driver.WaitForRest() &&
           tour.driver.RunOnGui([] { return CDriverControls::FindShownControl(CTradeConfirmWnd::kLabelId) != nullptr; });
}
} // namespace

// The confirmation of a limit buy of a Shenzhen A share.
ORB_TOUR_STEP(order_confirm) {
    const CPriceTypeItem limit(u"限价委托", "0B");
    return OpenConfirmPage(tour, u"交易确认", ConfirmMode::Buy,
                           {u"000016", u"平川银行", u"11.50", u"200", u"", "market=0&secuid=0010001001&fundid=10001001"},
                           &limit);
}

// The confirmation of a cancellation, with the order's serial.
ORB_TOUR_STEP(cancel_confirm) {
    return OpenConfirmPage(tour, u"撤单确认", ConfirmMode::Cancel,
                           {u"600010", u"华岳银行", u"8.00", u"100", u"100001",
                            "market=1&secuid=A100010001&fundid=10001001"},
                           nullptr);
}
