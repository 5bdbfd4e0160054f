// The quote table base: the two lists, their places, the row records, and
// the row taps, option menu and reply steps every table shares.
#include "quotes/tables/COrbTableWnd.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/OrderOpening.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/widgets/CPopMenuWnd.h"
#include "quotes/tables/QuoteRequests.h"

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

int COrbTableWnd::RunOptionMenu(const std::vector<MenuEntry>& entries) {
    return CPopMenuWnd::Run(this, entries);
}

void COrbTableWnd::ShowOptionMenu() {
    std::vector<MenuEntry> entries = {
        {u"取消", kMenuCancel}, {u"卖出委托", kMenuSell}, {u"买入委托", kMenuBuy}, {u"详细报价", kMenuDetail}};
    const std::vector<MenuEntry> own = OwnMenuEntries();
    entries.insert(entries.end(), own.begin(), own.end());
    OnMenuCommand(RunOptionMenu(entries));
}

void COrbTableWnd::OnMenuCommand(int id) {
    const int row = MenuTargetRow();
    switch (id) {
    case kMenuCancel:
        break;
    case kMenuSell:
    case kMenuBuy:
        OpenOrder(id == kMenuSell, row);
        break;
    case kMenuDetail:
        if (const CQuoteRowData* data = GetRowData(row))
            OpenDetailQuote(data->GetStockKey().c_str());
        else
            OnNoRowChosen();
        break;
    default:
        OnOwnMenuCommand(id, row);
        break;
    }
}

bool COrbTableWnd::IsAutoRefreshSetting() {
    CAppData* app = CAppData::Instance();
    if (!app)
        return false;
    const CAString on = app->GetSetting("Quote_IsRefresh");
    return !on.IsEmpty() && on.c_str()[0] == '1';
}

bool COrbTableWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LowWord(wParam)) {
    case UI_BOTTOM_BAR_ID:
        OnBarButton(BarButtonIndex(wParam, lParam));
        return true;
    case kRowListId:
        if (HighWord(wParam) == CQuoteRowList::kRowClicked || HighWord(wParam) == CQuoteRowList::kRowMenu)
            OpenMenuChild(static_cast<int>(lParam));
        return true;
    default:
        return CNetWnd::OnCommand(wParam, lParam);
    }
}

void COrbTableWnd::OnBarButton(int index) {
    switch (index) {
    case kBarOptions:
        ShowOptionMenu();
        break;
    case kBarSearch:
        OpenStockSearch();
        break;
    case kBarBack:
        EndWindow(1);
        break;
    default:
        OnOwnBarButton(index);
        break;
    }
}

int COrbTableWnd::OpenMenuChild(int index) {
    const CQuoteRowData* row = index >= 0 ? GetRowData(index) : nullptr;
    const std::string request = row ? MinuteChartRequest(row->GetStockKey()) : std::string();
    if (request.empty())
        return -1;
    return GetWndManager().CreateWnd(kMinuteChartKeyword, -1, u"分时走势", "", request.c_str(), 0, this) ? 1 : 0;
}

void COrbTableWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!data || length <= 0) {
        OnReplyWithoutRows();
        return;
    }
    CDataSetList reply(data, length);
    if (ShowReplyError(reply)) {
        OnReplyWithoutRows();
        return;
    }
    CDataSet* first = FirstReplySet(reply);
    if (TakeInfoSet(first)) {
        OnReplyWithoutRows();
        return;
    }
    TakeReplyRows(first);
}

void COrbTableWnd::OpenDetailQuote(const char* stock) {
    const std::string param = StockCodeParam(stock ? stock : "");
    if (param.empty())
        return;
    GetWndManager().CreateWnd(kDetailQuoteKeyword, -1, u"详细报价", param.c_str(), std::string(kQuoteRequest).c_str(),
                              0, this);
}

void COrbTableWnd::OpenOrder(bool sell, int row) {
    if (!TradeLoggedInOrAsk(this))
        return;
    const CQuoteRowData* data = row >= 0 ? GetRowData(row) : nullptr;
    CWString title(sell ? u"卖出" : u"买入");
    if (data) {
        title.AppendChar(u' ');
        title.Append(data->GetText(CQuoteRowData::kName).view());
    }
    OpenOrderForm(this, title.view(),
                  data ? OrderRequest(sell, data->GetText(CQuoteRowData::kCode).ToAnsi()) : OrderRequest(sell));
}
