// The quote windows' keyword registrations.
#include "quotes/QuoteWindows.h"

#include "framework/app/CAppData.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/COrbMenuWnd.h"
#include "framework/ui/WindowKeywords.h"
#include "quotes/charts/CFSFrame.h"
#include "quotes/charts/CKXFrame.h"
#include "quotes/info/COrbInfoListWnd.h"
#include "quotes/info/COrbInfoTxtWnd.h"
#include "quotes/info/CStocInfoMenuWnd.h"
#include "quotes/info/InfoWindows.h"
#include "quotes/tables/CChinaIndexWnd.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/CGlobalIndexWnd.h"
#include "quotes/tables/COrbStockTableWnd.h"
#include "quotes/tables/CStockBoardListWnd.h"
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
    manager.RegisterWindow(kBoardListKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CStockBoardListWnd());
    });
    manager.RegisterWindow(kChinaIndexKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CChinaIndexWnd());
    });
    manager.RegisterWindow(kWorldIndexKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CGlobalIndexWnd());
    });
    manager.RegisterWindow(kNewsListKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new COrbInfoListWnd());
    });
    manager.RegisterWindow(kArticleKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new COrbInfoTxtWnd());
    });
    // The keyword sets the menu's mode: a stock's pages add the stock, the
    // sectors' node opens its children as they stand.
    manager.RegisterWindow(kCompanyInfoKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CStocInfoMenuWnd(CStocInfoMenuWnd::kStockMode));
    });
    manager.RegisterWindow(kBoardsKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CStocInfoMenuWnd(CStocInfoMenuWnd::kPlainMode));
    });
    manager.RegisterWindow(kMinuteChartKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CFSFrame());
    });
    manager.RegisterWindow(kKLineChartKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CKXFrame());
    });
    RegisterWatchListWindows();
    RegisterInfoWindows();
    // The trade screens add a bought stock to the watch list through it.
    CAppData::SetWatchListRoute(CEditMyStockWnd::AddToMyStocks);
}
