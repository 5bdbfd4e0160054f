// The quote windows' keyword registrations.
#include "quotes/QuoteWindows.h"

#include "framework/shell/CWndManager.h"
#include "quotes/tables/COrbStockTableWnd.h"
#include "quotes/tables/CStockBoardTableWnd.h"

#if __has_include("quotes/tables/WatchListWindows.h")
#include "quotes/tables/WatchListWindows.h"
#define ORB_HAVE_WATCH_LIST_WINDOWS 1
#endif

void RegisterQuoteWindows() {
    CWndManager& manager = CWndManager::Instance();
    manager.RegisterWindow("pxhq", [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new COrbStockTableWnd());
    });
    manager.RegisterWindow("bkph", [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new CStockBoardTableWnd());
    });
#ifdef ORB_HAVE_WATCH_LIST_WINDOWS
    RegisterWatchListWindows();
#endif
}
