// The trade keywords; see the header.
#include "trade/TradeWindows.h"

#include "framework/app/CAppData.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/WindowKeywords.h"
#include "trade/login/CSalesDeptRegionWnd.h"

#include <memory>

void RegisterTradeWindows() {
    CWndManager::Instance().RegisterWindow(kBranchRegionsKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CSalesDeptRegionWnd());
    });
    CWndManager::Instance().RegisterAction(kTradeExitKeyword, [] {
        CAppData* app = CAppData::Instance();
        if (!app)
            return;
        while (app->GetAccountCount() > 0)
            app->RemoveAccount(app->GetAccountCount() - 1);
        app->Logout();
    });
}
