// The trade keywords; see the header.
#include "trade/TradeWindows.h"

#include "framework/app/CAppData.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/WindowKeywords.h"
#include "trade/login/CSalesDeptSetWnd.h"

#include <memory>

void RegisterTradeWindows() {
    CWndManager& manager = CWndManager::Instance();
    const auto salesDepts = [](const CWndCreateInfo&) -> std::unique_ptr<CBaseWnd> {
        return std::make_unique<CSalesDeptSetWnd>();
    };
    manager.RegisterWindow(kSalesDeptKeyword, salesDepts);
    manager.RegisterWindow(kSalesDeptClass, salesDepts);
    manager.RegisterAction(kTradeExitKeyword, [] {
        CAppData* app = CAppData::Instance();
        if (!app)
            return;
        while (app->GetAccountCount() > 0)
            app->RemoveAccount(app->GetAccountCount() - 1);
        app->Logout();
    });
}
