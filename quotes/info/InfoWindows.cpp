// The information windows' keyword registrations.
#include "quotes/info/InfoWindows.h"

#include "framework/shell/CWndManager.h"
#include "framework/ui/WindowKeywords.h"
#include "quotes/info/CStockDealDetailWnd.h"
#include "quotes/info/CStockDetaiPriceWnd.h"

void RegisterInfoWindows() {
    CWndManager& manager = CWndManager::Instance();
    manager.RegisterWindow(kDetailQuoteKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CStockDetaiPriceWnd());
    });
    manager.RegisterWindow(kDealDetailClass, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CStockDealDetailWnd());
    });
}
