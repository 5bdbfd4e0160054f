// The tour's orders: the confirmation pages (a fund-style action, a buy, a
// cancellation) and the order form's buy and sell sides.
#include "framework/shell/COrbApp.h"
#include "framework/ui/CBaseWnd.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/UiScrollWin.h"
#include "quotes/charts/CFSFrame.h"
#include "tools/orbstock/TourHelpers.h"
#include "trade/orders/CPriceTypeItem.h"
#include "trade/orders/CTradeBuySaleWnd.h"
#include "trade/queries/CFundTradeConfirmWnd.h"

// The trade confirmation page as the warrant exercise hands it a request,
// run after the step's own task so that it shows while the step goes on.
ORB_TOUR_STEP(fund_confirm, 310) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        UiMessageLoop* loop = UiMessageLoop::Current();
        if (!main || !loop)
            return false;
        loop->PostTask([main] {
            CFundTradeConfirmWnd page(u"权证行权确认", main);
            page.SetConfirm(u"交易类型：权证行权\n行权代码：580001\n证券名称：华岳JTP1\n行权价格：4.50\n行权数量：1000\n",
                            "TC_MFUNCNO=100&TC_SFUNCNO=29&stkcode=580001&price=4.50&qty=1000");
            page.SetResultPrefix(u"委托已提交，合同序号为");
            page.Run();
        });
        return true;
    });
    return posted && tour.driver.WaitForRest();
}

// The confirmation of a limit buy of a Shenzhen A share.
ORB_TOUR_STEP(order_confirm, 320) {
    const CPriceTypeItem limit(u"限价委托", "0B");
    return OpenConfirmPage(tour, u"交易确认", ConfirmMode::Buy,
                           {u"000016", u"平川银行", u"11.50", u"200", u"",
                            "market=0&secuid=0100012345&fundid=000100012345"},
                           &limit);
}

// The confirmation of a cancellation, with the order's serial.
ORB_TOUR_STEP(cancel_confirm, 330) {
    return OpenConfirmPage(tour, u"撤单确认", ConfirmMode::Cancel,
                           {u"600010", u"华岳银行", u"8.00", u"100", u"100001",
                            "market=1&secuid=A100012345&fundid=000100012345"},
                           nullptr);
}

namespace {
// The order form as a person reaches it: 张伟 logged in, a stock's minute
// chart, then "买入委托" or "卖出委托" from its menu.
bool OpenOrderForm(CTourContext& tour, int menuItem) {
    if (!OpenTradeLogin(tour) || !LogOn(tour, u"12345", u"123456") || !OpenChartOf(tour, "600010.02"))
        return false;
    tour.driver.AnswerNext(ModalKind::PopupMenu, menuItem);
    return CDriverControls::PressBottomButton(tour.driver, 0) &&
           tour.driver.RunOnGui([] { return CDriverControls::FindShownControl(CTradeBuySaleWnd::kCodeId) != nullptr; });
}
} // namespace

// The buy form of a Shanghai A share: the holder, name, price types,
// price and the maximum the server allows.
ORB_TOUR_STEP(order_buy, 560) { return OpenOrderForm(tour, CFSFrame::kMenuBuy); }

// The sell form of a stock the customer holds, a quantity typed, the page
// slid down to the five-level panel.
ORB_TOUR_STEP(order_sell, 570) {
    if (!OpenOrderForm(tour, CFSFrame::kMenuSell) || !TypeInto(tour, CTradeBuySaleWnd::kQuantityId, u"300"))
        return false;
    tour.driver.RunOnGui([] {
        UiWin* code = CDriverControls::FindShownControl(CTradeBuySaleWnd::kCodeId);
        if (auto* page = code ? dynamic_cast<UiScrollWin*>(code->GetParent()) : nullptr)
            page->SetScrollPos(page->GetMaxScroll());
    });
    return tour.driver.WaitForRest();
}
