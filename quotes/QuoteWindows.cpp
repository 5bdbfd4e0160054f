// The quote windows' keyword registrations.
#include "quotes/QuoteWindows.h"

#include "framework/shell/CWndManager.h"
#include "quotes/tables/COrbStockTableWnd.h"
#include "quotes/tables/CStockBoardTableWnd.h"
#include "quotes/tables/WatchListWindows.h"


void RegisterQuoteWindows() {
    CWndManager& manager = CWndManager::Instance();
    manager.RegisterWindow("pxhq", [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new COrbStockTableWnd());
    });
    manager.RegisterWindow("bkph", [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CStockBoardTableWnd());
    });
    RegisterWatchListWindows();
}
