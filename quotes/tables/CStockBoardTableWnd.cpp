// The board stock table: one sector's stocks, sorted here by change in percent.
#include "quotes/tables/CStockBoardTableWnd.h"

#include "framework/app/CAppData.h"
#include "quotes/tables/QuoteRequests.h"
#include "quotes/tables/QuoteRowCompare.h"

#include <string>

CStockBoardTableWnd::CStockBoardTableWnd() {
    m_direction = 0;
}

CStockBoardTableWnd::~CStockBoardTableWnd() = default;

int CStockBoardTableWnd::OnInitDialog() {
    if (!COrbStockTableWnd::OnInitDialog())
        return 0;
    UseTextToolbar(u"首页", u"个股", u"返回");
    OnLayout();
    return 1;
}

void CStockBoardTableWnd::OnWindowShown() {
    CNetWnd::OnWindowShown();
}

bool CStockBoardTableWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LowWord(wParam)) {
    case UI_BOTTOM_BAR_ID: {
        const int index = BarButtonIndex(wParam, lParam);
        if (!HandleHomeOrBack(index) && index == kToolbarMiddle)
            OpenStockSearch();
        return true;
    }
    case kHeaderListId:
        m_direction = static_cast<int>(lParam);
        SortRows();
        return true;
    default:
        return COrbStockTableWnd::OnCommand(wParam, lParam);
    }
}

int CStockBoardTableWnd::BuildRequest(CAString& out) {
    const std::string text = SectorMembersRequest(GetRequestText().view());
    if (text.empty())
        return 0;
    out.Assign(std::string_view(text));
    return 1;
}

void CStockBoardTableWnd::TakeReplyRows(CDataSet* first) {
    if (GetRowCount() > 0)
        RemoveAllRows();
    FillRows(first);
    SortRows();
}

void CStockBoardTableWnd::SortRows() {
    CQuoteRowList& rows = GetRowList();
    if (m_direction == 0)
        rows.SortItems(CompareChangePctDesc);
    else if (m_direction == 1)
        rows.SortItems(CompareChangePctAsc);
    rows.Invalidate();
}
