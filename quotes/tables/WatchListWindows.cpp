// The watch-list windows' factories.
#include "quotes/tables/WatchListWindows.h"

#include "framework/shell/CWndManager.h"
#include "framework/ui/WindowKeywords.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/CMyStockWnd.h"

#include <memory>

void RegisterWatchListWindows() {
    CWndManager& manager = CWndManager::Instance();
    manager.RegisterWindow(kWatchListKeyword, [](const CWndCreateInfo&) -> std::unique_ptr<CBaseWnd> {
        return std::make_unique<CMyStockWnd>();
    });
    // The search-mode flag makes the search pop-up; anything else the editor.
    manager.RegisterWindow(kStockEditorClass, [](const CWndCreateInfo& info) -> std::unique_ptr<CBaseWnd> {
        const bool search = info.flag == CWndManager::kFlagSearchMode;
        return std::make_unique<CEditMyStockWnd>(search ? u"查找个股" : u"编辑自选", info.owner,
                                                 search ? CEditMyStockWnd::kModeSearch
                                                        : CEditMyStockWnd::kModeEditor);
    });
}
