// The quote table base: the two lists, their places and the row records.
#include "quotes/tables/COrbTableWnd.h"

#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/widgets/CPopMenuWnd.h"

#include <algorithm>
#include <string>

COrbTableWnd::COrbTableWnd() = default;

COrbTableWnd::~COrbTableWnd() {
    // The rows' records go with the items; then the lists and the window.
    if (m_rowList.GetCount() > 0)
        m_rowList.RemoveAll();
    Destroy();
}

CRect COrbTableWnd::HeaderRect() const {
    return CRect::FromSize(0, kCaptionHeight, GetClientRect().Width(), kHeaderHeight);
}

CRect COrbTableWnd::RowsRect() const {
    const CRect client = GetClientRect();
    const int top = kCaptionHeight + kHeaderHeight;
    const int height = std::max(0, client.Height() - top - GetBottomBarHeight());
    return CRect::FromSize(0, top, client.Width(), height);
}

int COrbTableWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    SetBackground(0x000000);
    RemoveClientArea();

    if (!m_headerList.Create(this, HeaderRect(), kHeaderListId, true))
        return 0;
    m_headerList.SetItemHeight(kHeaderHeight);
    m_headerList.SetSeparators(false);
    m_headerList.SetNotify(true);
    m_headerList.SetSlideMode(UI_SLIDE_NONE);
    m_headerList.SetBkColor(0x000000);

    if (!m_rowList.Create(this, RowsRect(), kRowListId, true))
        return 0;
    m_rowList.ShowScrollBar(true);
    m_rowList.SetNotify(true);
    m_rowList.SetItemHeight(kRowHeight);
    m_rowList.SetSeparators(false);
    m_rowList.SetBkColor(0x000000);
    return 1;
}

void COrbTableWnd::OnLayout() {
    CNetWnd::OnLayout();
    if (m_headerList.IsCreated())
        m_headerList.MoveWindow(HeaderRect());
    if (m_rowList.IsCreated())
        m_rowList.MoveWindow(RowsRect());
}

int COrbTableWnd::AddRow(CQuoteRowData* record) {
    return m_rowList.AddRow(record);
}

CQuoteRowData* COrbTableWnd::GetRowData(int index) const {
    return m_rowList.GetRowData(index);
}

void COrbTableWnd::RemoveAllRows() {
    m_rowList.RemoveAll();
}

int COrbTableWnd::RunOptionMenu(std::initializer_list<MenuEntry> entries) {
    CPopMenuWnd menu;
    for (const MenuEntry& e : entries)
        menu.AddItem(CWString(e.text), UI_BTN_PUSH, e.id);
    const int id = menu.TrackMenu(this, ANIM_SLIDE_UP, ANIM_SLIDE_DOWN);
    menu.Destroy();
    return id;
}

bool COrbTableWnd::IsAutoRefreshSetting() {
    CAppData* app = CAppData::Instance();
    if (!app)
        return false;
    const CAString on = app->GetSetting("Quote_IsRefresh");
    return !on.IsEmpty() && on.c_str()[0] == '1';
}

bool COrbTableWnd::TakeReplyHead(CDataSetList& reply) {
    if (ShowReplyError(reply))
        return true;
    CDataSet* first = FirstSet(reply);
    if (first && StrEqualNoCase(first->GetTag(), "hq.info") == 0) {
        FreeReplyList(first);
        return true;
    }
    return false;
}

void COrbTableWnd::OpenDetailQuote(const char* stock) {
    const std::string param = std::string("code=") + (stock ? stock : "");
    GetWndManager().CreateWnd("xxhq", -1, u"详细报价", param.c_str(), "tc_mfuncno=31000&tc_sfuncno=4", 0, this);
}

void COrbTableWnd::OpenOrder(bool sell, int row) {
    CAppData* app = CAppData::Instance();
    if (!app)
        return;
    if (!app->HasHolderData()) {
        app->CheckTradeLogin(this, -1, false);
        return;
    }
    const CQuoteRowData* data = row >= 0 ? GetRowData(row) : nullptr;
    CWString title(sell ? u"卖出" : u"买入");
    std::string request = std::string("MMLB=") + (sell ? "1" : "0");
    if (data) {
        title.AppendChar(u' ');
        title.Append(data->GetText(CQuoteRowData::kName).view());
        request = "code=" + data->GetText(CQuoteRowData::kCode).ToAnsi() + "&" + request;
    }
    GetWndManager().CreateWnd("buysale", -1, title.c_str(), "", request.c_str(), 0, this);
}
