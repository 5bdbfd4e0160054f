// The trade keywords; see the header.
#include "trade/TradeWindows.h"

#include "framework/app/CAppData.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/WindowKeywords.h"
#include "trade/dyncode/CMobileDynCodeCtrWnd.h"
#include "trade/login/COrbTradeLoginWnd.h"
#include "trade/login/COrbTradeMenuWnd.h"
#include "trade/login/CSalesDeptRegionWnd.h"
#include "trade/login/CSalesDeptSetWnd.h"
#include "trade/login/CTradeLoginAccountWnd.h"
#include "trade/orders/CTradeBuySaleWnd.h"
#include "trade/queries/CAccountQueryWnd.h"
#include "trade/queries/CTradeCancelWnd.h"
#include "trade/queries/CTradeHisQueryTableWnd.h"
#include "trade/queries/CTradePasswordWnd.h"
#include "trade/queries/CTradeQueryTableWnd.h"
#include "trade/queries/CWarrantWnd.h"

#include <memory>

void RegisterTradeWindows() {
    CWndManager& manager = CWndManager::Instance();
    const auto salesDepts = [](const CWndCreateInfo&) -> std::unique_ptr<CBaseWnd> {
        return std::make_unique<CSalesDeptSetWnd>();
    };
    manager.RegisterWindow(kSalesDeptKeyword, salesDepts);
    manager.RegisterWindow(kSalesDeptClass, salesDepts);
    manager.RegisterWindow(kBranchRegionsKeyword, [](const CWndCreateInfo&) -> std::unique_ptr<CBaseWnd> {
        return std::make_unique<CSalesDeptRegionWnd>();
    });
    manager.RegisterAction(kTradeExitKeyword, [] {
        CAppData* app = CAppData::Instance();
        if (!app)
            return;
        while (app->GetAccountCount() > 0)
            app->RemoveAccount(app->GetAccountCount() - 1);
        app->Logout();
    });
    manager.RegisterWindow(kTradeLoginClass, [](const CWndCreateInfo& info) {
        auto login = std::make_unique<COrbTradeLoginWnd>();
        login->SetNotifyParam(info.notifyValue);
        return std::unique_ptr<CBaseWnd>(std::move(login));
    });
    // Opened by name the list is always that of the logged-in accounts; the
    // history list is the login form's own.
    manager.RegisterWindow(kTradeAccountsClass, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(
            new CTradeLoginAccountWnd(u"已登录账号", CTradeLoginAccountWnd::kModeLoggedIn));
    });
    // The phone-token window, from the trade login's token button and its
    // question after a refused token.
    manager.RegisterWindow(kDynCodeCtrClass, [](const CWndCreateInfo&) -> std::unique_ptr<CBaseWnd> {
        return std::make_unique<CMobileDynCodeCtrWnd>();
    });
    const auto tradeMenu = [](const CWndCreateInfo&) -> std::unique_ptr<CBaseWnd> {
        return std::make_unique<COrbTradeMenuWnd>();
    };
    manager.RegisterWindow(kTradeMenuKeyword, tradeMenu);
    manager.RegisterWindow(kOpenFundMenuKeyword, tradeMenu);
    manager.RegisterWindow(kTradeQueryKeyword, [](const CWndCreateInfo&) -> std::unique_ptr<CBaseWnd> {
        return std::make_unique<CTradeQueryTableWnd>();
    });
    manager.RegisterWindow(kTradeCancelKeyword, [](const CWndCreateInfo&) -> std::unique_ptr<CBaseWnd> {
        return std::make_unique<CTradeCancelWnd>();
    });
    manager.RegisterWindow(kFundsQueryKeyword, [](const CWndCreateInfo&) -> std::unique_ptr<CBaseWnd> {
        return std::make_unique<CAccountQueryWnd>();
    });
    manager.RegisterWindow(kOrderFormKeyword, [](const CWndCreateInfo&) -> std::unique_ptr<CBaseWnd> {
        return std::make_unique<CTradeBuySaleWnd>();
    });
    manager.RegisterWindow(kHistoryQueryKeyword, [](const CWndCreateInfo&) -> std::unique_ptr<CBaseWnd> {
        return std::make_unique<CTradeHisQueryTableWnd>();
    });
    manager.RegisterWindow(kPasswordChangeKeyword, [](const CWndCreateInfo&) -> std::unique_ptr<CBaseWnd> {
        return std::make_unique<CTradePasswordWnd>();
    });
    manager.RegisterWindow(kWarrantExerciseKeyword, [](const CWndCreateInfo&) -> std::unique_ptr<CBaseWnd> {
        return std::make_unique<CWarrantWnd>();
    });
}
