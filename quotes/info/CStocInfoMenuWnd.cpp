// The information menu's children, with or without the stock.
#include "quotes/info/CStocInfoMenuWnd.h"

#include "framework/ui/IWindowOpener.h"
#include "framework/app/CMenuNode.h"
#include "platform/ui/CUiMessageBox.h"
#include "quotes/info/InfoRequests.h"

CStocInfoMenuWnd::CStocInfoMenuWnd(int flag) : m_flag(flag) {}

CStocInfoMenuWnd::~CStocInfoMenuWnd() = default;

int CStocInfoMenuWnd::OpenMenuChild(int index) {
    CMenuNode* child = GetMenuChild(index);
    if (!child)
        return -1;
    const std::optional<InfoChildOpen> open = StockInfoChild(
        child->request.view(), child->title.view(), m_flag == kStockMode, GetParamText().view(), GetTitle().view());
    if (!open) {
        UiMessageBox(this, u"未选中任何股票！", u"提示", MB_OK);
        return 0;
    }
    return GetWndManager().CreateWnd(child->keyword.c_str(), child->id, open->title.c_str(), "",
                                     open->request.c_str(), 0, this)
               ? 1
               : 0;
}
