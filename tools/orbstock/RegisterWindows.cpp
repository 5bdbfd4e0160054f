// The one place where the subsystems' window classes reach the window
// manager's keyword table: each subsystem offers one function that
// registers its windows, called here.
#include "tools/orbstock/RegisterWindows.h"

#include "framework/shell/CWndManager.h"
#include "framework/ui/COrbMenuWnd.h"
#include "framework/ui/WindowKeywords.h"
#include "quotes/QuoteWindows.h"
#include "trade/TradeWindows.h"

#include <memory>

void RegisterWindows() {
    // The framework's own: plain menus of the menu tree carry "menu".
    CWndManager::Instance().RegisterWindow(kMenuKeyword, [](const CWndCreateInfo&) {
        return std::unique_ptr<CBaseWnd>(new COrbMenuWnd());
    });
    RegisterQuoteWindows();
    RegisterTradeWindows();
}
