// The list window's toolbar.
#include "framework/ui/CListWnd.h"

CListWnd::CListWnd() = default;

CListWnd::~CListWnd() {
    Destroy();
}

int CListWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    UseTextToolbar(u"首页", u"查找", u"返回");
    return 1;
}

void CListWnd::OnToolbarCommand(int index) {
    if (!HandleHomeOrBack(index) && index == kToolbarMiddle)
        OpenStockSearch();
}
