// The tour's trade menu and what it opens once 张伟 is logged on: today's
// orders, deals and cancellations, the funds, the past orders and deals,
// the password change and the warrant exercise.
#include "framework/shell/COrbApp.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/COrbMenuWnd.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "platform/ui/CModalScript.h"
#include "tools/orbstock/TourHelpers.h"
#include "tools/simulator/CBrokerSimulator.h"
#include "trade/orders/CPriceTypeItem.h"
#include "trade/orders/CTradeConfirmWnd.h"
#include "trade/queries/CTradePasswordWnd.h"
#include "trade/queries/CTradeQueryTableWnd.h"
#include "trade/queries/CWarrantWnd.h"

#include <cstdint>
#include <optional>
#include <string>

// ---- Trade menu, same-day tables and funds ----

namespace {
// 张伟 logged on through the login form, back at the main menu.
bool LogOnFirstCustomer(CTourContext& tour) {
    return OpenTradeLogin(tour) && LogOn(tour, u"12345", u"123456") && tour.driver.WaitForRest();
}

// Two buys sent from the confirmation page, as the order form hands them
// over: one below the market that rests, one at it that fills.
bool PlaceTwoOrders(CTourContext& tour) {
    const CPriceTypeItem limit(u"限价委托", "0B");
    const ConfirmEntry orders[] = {
        {u"600010", u"华岳银行", u"8.00", u"100", u"", "market=1&secuid=A100012345&fundid=000100012345"},
        {u"000016", u"平川银行", u"11.50", u"200", u"", "market=0&secuid=0100012345&fundid=000100012345"},
    };
    for (const ConfirmEntry& order : orders) {
        if (!OpenConfirmPage(tour, u"交易确认", ConfirmMode::Buy, order, &limit))
            return false;
        // The contract number, and the watch list's word on a bought stock.
        tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
        tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
        // The page's OK, as its toolbar's middle button gives it.
        tour.driver.Loop()->PostTask([] {
            for (UiWin* w = CDriverControls::FindShownControl(CTradeConfirmWnd::kLabelId); w; w = w->GetParent())
                if (auto* page = dynamic_cast<CTradeConfirmWnd*>(w)) {
                    page->OnOk();
                    return;
                }
        });
        if (!tour.driver.WaitForRest())
            return false;
    }
    return true;
}

// The main menu's "股票交易", then its row (none: the menu itself).
bool OpenTradeMenuRow(CTourContext& tour, int row) {
    if (!CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, 6))
        return false;
    return row < 0 || (CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, row) &&
                       tour.driver.WaitForRest());
}
} // namespace

// The trade menu after 张伟's login: his name and account in the header.
ORB_TOUR_STEP(trade_menu, 510) { return LogOnFirstCustomer(tour) && OpenTradeMenuRow(tour, -1); }

// Today's orders after two buys: one resting, one filled.
ORB_TOUR_STEP(today_orders, 520) {
    return LogOnFirstCustomer(tour) && PlaceTwoOrders(tour) && OpenTradeMenuRow(tour, 3);
}

// Today's deals: the filled buy.
ORB_TOUR_STEP(today_deals, 530) {
    return LogOnFirstCustomer(tour) && PlaceTwoOrders(tour) && OpenTradeMenuRow(tour, 4);
}

// The funds of 张伟's three currencies, the yuan page shown.
ORB_TOUR_STEP(funds, 540) { return LogOnFirstCustomer(tour) && OpenTradeMenuRow(tour, 7); }

// The cancel road: "撤单" on the trade menu lists the resting buy; a tap on
// it brings its cancel confirmation over the table.
ORB_TOUR_STEP(today_cancel, 550) {
    if (!LogOnFirstCustomer(tour) || !PlaceTwoOrders(tour) || !OpenTradeMenuRow(tour, 2))
        return false;
    const std::optional<CRect> grid = CDriverControls::ControlScreenRect(tour.driver, CTableWnd::kGridId);
    const int h = CTradeQueryTableWnd::kRowHeight;
    return grid && tour.driver.Tap(grid->left + 60, grid->top + h + h / 2) && tour.driver.WaitForRest() &&
           tour.driver.RunOnGui([] { return CDriverControls::FindShownControl(CTradeConfirmWnd::kLabelId) != nullptr; });
}

// ---- Trade menu nodes opened directly ----

namespace {
// Logs 张伟 on and opens a trade menu node's window over the main menu, as
// the trade menu opens it.
bool OpenTradeNode(CTourContext& tour, const char* keyword, int menuId, const char16_t* title, const char* request) {
    FixChartDay(tour);
    if (!OpenTradeLogin(tour) || !LogOn(tour, u"12345", u"123456"))
        return false;
    CBaseWnd* main = tour.driver.RunOnGui([&] { return tour.app.GetMainWindow(); });
    if (!main)
        return false;
    const std::string key = keyword, text = request;
    tour.driver.Loop()->PostTask([main, key, menuId, title, text] {
        CWndManager::Instance().CreateWnd(key.c_str(), menuId, title, "", text.c_str(), 0, main);
    });
    return tour.driver.WaitForRest();
}
} // namespace

// The past orders of the default 30 days up to the program's day, first
// page: the simulator's market stands on that day, after the close.
ORB_TOUR_STEP(history_query, 580) {
    if (!OpenTradeNode(tour, "hisquery", 74, u"历史委托", "tc_mfuncno=500&tc_sfuncno=20"))
        return false;
    tour.simulator.SetClock(int64_t{1710315000} * 1000); // 13 March 2024, 15:30 in Beijing
    return CDriverControls::PressBottomButton(tour.driver, CBaseWnd::kToolbarMiddle);
}

// The past deals as they open: the date row of the default 30 days up to
// the program's day, nothing asked yet.
ORB_TOUR_STEP(history_dates, 590) {
    return OpenTradeNode(tour, "hisquery", 75, u"历史成交", "tc_mfuncno=500&tc_sfuncno=21");
}

// The password form with the three passwords typed (shown masked).
ORB_TOUR_STEP(password_change, 600) {
    return OpenTradeNode(tour, "xgmm", 77, u"修改密码", "tc_mfuncno=500&tc_sfuncno=13&") &&
           TypeInto(tour, CTradePasswordWnd::kOldId, u"123456") && TypeInto(tour, CTradePasswordWnd::kNewId, u"654321") &&
           TypeInto(tour, CTradePasswordWnd::kConfirmId, u"65432");
}

// The warrant form after the pre-check of 582010, a quantity typed.
ORB_TOUR_STEP(warrant_exercise, 610) {
    return OpenTradeNode(tour, "qzxq", 78, u"权证行权", "") &&
           TypeInto(tour, CWarrantWnd::kCodeId, u"582010") && tour.driver.WaitForRest() &&
           TypeInto(tour, CWarrantWnd::kQuantityId, u"1000");
}
