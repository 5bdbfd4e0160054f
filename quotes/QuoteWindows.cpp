// The quote windows' keyword registrations.
#include "quotes/QuoteWindows.h"

#include "framework/shell/CWndManager.h"
#include "framework/ui/COrbMenuWnd.h"
#include "framework/ui/WindowKeywords.h"
#include "quotes/charts/CFSFrame.h"
#include "quotes/charts/CKXFrame.h"
#include "quotes/tables/COrbStockTableWnd.h"
#include "quotes/tables/CStockBoardTableWnd.h"
#include "quotes/tables/WatchListWindows.h"


void RegisterQuoteWindows() {
    CWndManager& manager = CWndManager::Instance();
    manager.RegisterWindow(kRankingKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new COrbStockTableWnd());
    });
    manager.RegisterWindow(kBoardStocksKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CStockBoardTableWnd());
    });
    // The sectors' node: the information-page menu shows a sector node's
    // children as they stand (no stock code added), which a plain menu
    // window does until that page class exists.
    manager.RegisterWindow(kBoardsKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new COrbMenuWnd());
    });
    manager.RegisterWindow("fschart", [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CFSFrame());
    });
    manager.RegisterWindow(kKLineChartKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CKXFrame());
    });
    RegisterWatchListWindows();
}
