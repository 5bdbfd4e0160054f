// The tour's road into trading: the sales departments, the trade login
// form, the logged-in accounts and the saved-account history.
#include "framework/app/CAppData.h"
#include "framework/ui/CComboBoxWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/UiEdit.h"
#include "tools/orbstock/TourHelpers.h"
#include "tools/simulator/CSimTradeAccounts.h"
#include "trade/dyncode/DynCodeStore.h"
#include "trade/login/COrbTradeLoginWnd.h"
#include "trade/login/CSalesDeptSetWnd.h"
#include "trade/login/CTradeLoginAccountWnd.h"

#include <optional>

namespace {
// The sales departments as a user without one meets them: the caption's
// trade button, its request to set one up answered, three departments
// added (the first as offered, two by their typed codes).
bool AddThreeSalesDepartments(CTourContext& tour) {
    tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
    if (!PostToMainMenu(tour, WND_MSG_CAPTION_TRADE) ||
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
    return true;
}

// The caption bar's trade button on the window on top, as a tap on it.
bool PressTradeButton(CTourContext& tour) {
    bool posted = tour.driver.RunOnGui([] {
        UiWin* bar = CDriverControls::FindShownControl(UI_BOTTOM_BAR_ID);
        UiWin* top = bar ? bar->GetParent() : nullptr;
        return top && top->PostMessage(WND_MSG_CAPTION_TRADE);
    });
    return posted && tour.driver.WaitForRest();
}
} // namespace

// The three departments added, one checked.
ORB_TOUR_STEP(sales_departments, 220) {
    return AddThreeSalesDepartments(tour) && CDriverControls::TapListItem(tour.driver, CSalesDeptSetWnd::kListId, 1);
}

// The server's department list dropped down over the personal list: the
// drop-down hides what lies under it.
ORB_TOUR_STEP(sales_departments_dropdown, 230) {
    if (!AddThreeSalesDepartments(tour))
        return false;
    // The drop button at the combo box's right end.
    const std::optional<CRect> combo = CDriverControls::ControlScreenRect(tour.driver, CSalesDeptSetWnd::kComboId);
    return combo && tour.driver.Tap(combo->right - CComboBoxWnd::kButtonWidth / 2, combo->top + combo->Height() / 2) &&
           tour.driver.WaitForRest();
}

// The trade login form, account and password typed, "保存账号" checked.
ORB_TOUR_STEP(trade_login, 240) {
    return OpenTradeLogin(tour) && TypeInto(tour, COrbTradeLoginWnd::kAccountId, u"12345") &&
           TypeInto(tour, COrbTradeLoginWnd::kPasswordId, u"123456") &&
           CDriverControls::TapControl(tour.driver, COrbTradeLoginWnd::kSaveCheckId);
}

// The form for an account with a phone token on this phone: the one-time
// code in place of the pass phrase. The token row is stored directly.
ORB_TOUR_STEP(trade_login_dyncode, 250) {
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
ORB_TOUR_STEP(trade_accounts, 260) {
    if (!OpenTradeLogin(tour) || !LogOn(tour, u"12345", u"123456") || !PressTradeButton(tour) ||
        !CDriverControls::TapControl(tour.driver, CTradeLoginAccountWnd::kNewLoginId))
        return false;
    return LogOn(tour, u"12346", u"135790", u"orb2026");
}

// The history list from the login form, after two logins with "保存账号".
ORB_TOUR_STEP(account_history, 270) {
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
