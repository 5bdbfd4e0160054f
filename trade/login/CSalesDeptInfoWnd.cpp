// The province's department list.
#include "trade/login/CSalesDeptInfoWnd.h"

#include "core/CDataSetList.h"
#include "trade/login/BranchDirectory.h"

CSalesDeptInfoWnd::CSalesDeptInfoWnd() {
    SetWindowKind(kWindowKind);
    SetSealRequest(false);
}

CSalesDeptInfoWnd::~CSalesDeptInfoWnd() {
    Destroy();
}

int CSalesDeptInfoWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    UseTextToolbar(u"首页", u"个股", u"返回");
    RemoveClientArea();
    m_list.SetItemHeight(kItemHeight);
    m_list.ShowScrollBar(true);
    m_list.SetNotify(true);
    m_list.SetSeparators(true);
    if (!m_list.Create(this, GetBodyRect(), kListId, true))
        return 0;
    return 1;
}

void CSalesDeptInfoWnd::OnLayout() {
    CNetWnd::OnLayout();
    if (m_list.IsCreated())
        m_list.MoveWindow(GetBodyRect());
}

void CSalesDeptInfoWnd::OnToolbarCommand(int index) {
    if (!HandleHomeOrBack(index) && index == kToolbarMiddle)
        OpenStockSearch();
}

bool CSalesDeptInfoWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    // A tap selects its row (the list does it); nothing opens.
    if (LowWord(wParam) == kListId)
        return true;
    return CNetWnd::OnCommand(wParam, lParam);
}

void CSalesDeptInfoWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!data || length <= 0)
        return;
    CDataSetList reply(data, length);
    CDataSet* first = FirstReplySet(reply);
    if (!first)
        return;
    m_list.RemoveAll();
    for (const BranchInfoRow& row : ReadBranchRows(*first))
        m_list.AddRow(CWString(row.title), CWString(row.text));
    Invalidate();
    UpdateWindow();
}
