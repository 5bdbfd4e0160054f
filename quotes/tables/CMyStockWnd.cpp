// The watch-list table.
#include "quotes/tables/CMyStockWnd.h"

#include "core/CDataSetList.h"
#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "framework/shell/CWndManager.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/CQuoteRowList.h"
#include "quotes/tables/MyQuotesStore.h"
#include "quotes/tables/QuoteRowCompare.h"
#include "quotes/tables/QuoteRowFill.h"

#include <memory>

CMyStockWnd::CMyStockWnd() {
    SetRefreshOnShow(true);
    SetAutoRefresh(IsAutoRefreshSetting());
    WidenStoredMarkets();
}

CMyStockWnd::~CMyStockWnd() {
    Destroy();
}

void CMyStockWnd::WidenStoredMarkets() {
    CAppData* app = CAppData::Instance();
    const std::optional<std::string> text = app ? ReadMyQuotes(*app) : std::nullopt;
    if (!text)
        return;
    // Item by item, so that a two-digit market is never touched.
    std::vector<std::string> items = ParseMyQuotes(*text);
    bool changed = false;
    for (std::string& item : items) {
        std::string wide = NormalizeStockCode(item);
        changed = changed || wide != item;
        item = std::move(wide);
    }
    if (changed)
        WriteMyQuotes(*app, JoinMyQuotes(items));
}

int CMyStockWnd::OnInitDialog() {
    if (!COrbTableWnd::OnInitDialog())
        return 0;
    SetImageBarButtons(std::vector<int>(std::begin(kBarImages), std::end(kBarImages)));
    CQuoteHeaderList& header = GetHeaderList();
    header.SetNotify(true);
    header.SetArrowShown(false);
    header.SetAllColumns(true);
    return 1;
}

void CMyStockWnd::SendRefresh(RefreshCause cause) {
    // Coming back from a child that closed with code 1 refreshes through the
    // show; that show is the user's refresh all the same.
    const bool userAsked = cause == RefreshCause::FirstShow || cause == RefreshCause::User ||
                           cause == RefreshCause::ChildClosed ||
                           (cause == RefreshCause::Show && m_closingWithRefresh);
    m_userSends.push_back(userAsked);
    COrbTableWnd::SendRefresh(cause);
}

void CMyStockWnd::OnChildClosed(int code) {
    m_closingWithRefresh = code == 1;
    COrbTableWnd::OnChildClosed(code);
    m_closingWithRefresh = false;
}

int CMyStockWnd::BuildRequest(CAString& out) {
    // A build without a send of its own behind it (a direct request) is a
    // deliberate one: it may tell.
    bool userAsked = true;
    if (!m_userSends.empty()) {
        userAsked = m_userSends.front();
        m_userSends.pop_front();
    }
    CAppData* app = CAppData::Instance();
    const std::string stored = app ? ReadMyQuotes(*app).value_or("") : "";
    const std::vector<std::string> items = ParseMyQuotes(stored);
    if (items.empty()) {
        m_sentStore.clear();
        // A modal box on every timer tick would hold the screen for good.
        if (app && userAsked)
            app->ShowInfoMessage(u"股票列表为空!", this);
        return 0;
    }
    m_sentStore = stored;
    std::string text = GetRequestText().IsEmpty() ? std::string(CEditMyStockWnd::kQuoteRequest)
                                                  : GetRequestText().str();
    // The whole list travels: no length cap cuts a long watch list short.
    text += "&count=" + std::to_string(items.size()) + "&code=" + JoinMyQuotes(items, '|') + "&field=" +
            kQuoteRowFields;
    out.Assign(text);
    return 1;
}

void CMyStockWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!data || length <= 0)
        return;
    CDataSetList reply(data, length);
    if (TakeReplyHead(reply)) {
        m_sentStore.clear();
        return;
    }
    RemoveAllRows();
    m_replyKeys.clear();
    CDataSet* first = FirstSet(reply);
    if (first && !m_sentStore.empty()) {
        const int codeColumn = first->FindColumn("code");
        const int marketColumn = first->FindColumn("exchid");
        if (first->MoveFirst()) {
            do {
                WatchReplyKey key;
                key.code = codeColumn >= 0 ? WideToAnsi(first->GetFieldText(codeColumn).view()) : std::string();
                key.market = marketColumn >= 0 ? first->GetFieldInt16(marketColumn) : 0;
                m_replyKeys.push_back(std::move(key));
            } while (first->MoveNext());
        }
        const WatchListMerge merge = MergeWatchListReply(m_sentStore, m_replyKeys, m_sentStore);
        for (int r : merge.rows) {
            first->MoveFirst();
            first->Move(r);
            AddRow(MakeQuoteRow(*first, true));
        }
        m_rewrite = merge.newStore.has_value();
    }
    SortRows();
    Invalidate();
    if (m_rewrite) {
        SaveRowsToStore();
        m_rewrite = false;
    }
    m_sentStore.clear();
}

bool CMyStockWnd::SaveRowsToStore() {
    CAppData* app = CAppData::Instance();
    if (!app)
        return false;
    const std::optional<std::string> now = ReadMyQuotes(*app);
    if (!now)
        return true; // the list was removed meanwhile: nothing to prune
    const WatchListMerge merge = MergeWatchListReply(m_sentStore, m_replyKeys, *now);
    return !merge.newStore || WriteMyQuotes(*app, *merge.newStore);
}

void CMyStockWnd::SortRows() {
    using Less = bool (*)(const UiListItem&, const UiListItem&);
    static constexpr Less kOrders[4][2] = {{CompareNameDesc, CompareNameAsc},
                                          {CompareLastDesc, CompareLastAsc},
                                          {CompareChangeDesc, CompareChangeAsc},
                                          {CompareChangePctDesc, CompareChangePctAsc}};
    if (m_sortColumn < kSortName || m_sortColumn > kSortChangePct || (m_sortDirection != 0 && m_sortDirection != 1))
        return;
    GetRowList().SortItems(kOrders[m_sortColumn - 1][m_sortDirection]);
}

int CMyStockWnd::OpenMenuChild(int index) {
    const CQuoteRowData* row = index >= 0 ? GetRowData(index) : nullptr;
    if (!row)
        return -1;
    const std::string request = "date=&code=" + row->GetStockKey();
    return GetWndManager().CreateWnd("fschart", -1, u"分时走势", "", request.c_str(), 0, this) ? 1 : 0;
}

bool CMyStockWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LowWord(wParam);
    const int code = HighWord(wParam);
    switch (id) {
    case UI_BOTTOM_BAR_ID:
        switch (BarButtonIndex(wParam, lParam)) {
        case 0:
            ShowOptionMenu();
            break;
        case 1:
            OpenStockSearch();
            break;
        case 2:
            OpenEditor();
            break;
        case 3:
            OpenKLine();
            break;
        case 4:
            OnRefreshCommand();
            break;
        case 5:
            EndWindow(1);
            break;
        default:
            break;
        }
        return true;
    case kRowListId:
        if (code == CQuoteRowList::kRowClicked || code == CQuoteRowList::kRowMenu)
            OpenMenuChild(static_cast<int>(lParam));
        return true;
    case kHeaderListId:
        OnHeaderCommand(code, static_cast<int>(lParam));
        return true;
    default:
        return COrbTableWnd::OnCommand(wParam, lParam);
    }
}

void CMyStockWnd::OnHeaderCommand(int code, int value) {
    if (code < kSortName || code > kSortChangePct)
        return;
    m_sortColumn = code;
    if (m_sortDirection == -1)
        m_sortDirection = 0;
    m_sortDirection = m_sortDirection == 0 ? 1 : 0;
    if (code == kSortChangePct) {
        GetHeaderList().SetArrowShown(true);
        m_sortDirection = value;
    } else {
        GetHeaderList().SetArrowShown(false);
    }
    SortRows();
    GetHeaderList().Invalidate();
    GetRowList().Invalidate();
}

int CMyStockWnd::TargetRow() const {
    if (GetRowCount() == 0)
        return -1;
    const int sel = GetSelectedRow();
    return sel >= 0 ? sel : 0;
}

void CMyStockWnd::ShowOptionMenu() {
    OnMenuCommand(RunOptionMenu({{u"取消", kMenuCancel},
                                 {u"卖出委托", kMenuSell},
                                 {u"买入委托", kMenuBuy},
                                 {u"详细报价", kMenuDetail},
                                 {u"K线分析", kMenuKLine},
                                 {u"编辑自选", kMenuEditor}}));
}

void CMyStockWnd::OnMenuCommand(int id) {
    const int row = TargetRow();
    switch (id) {
    case kMenuSell:
    case kMenuBuy:
        OpenOrder(id == kMenuSell, row);
        break;
    case kMenuDetail:
        if (row >= 0)
            OpenDetailQuote(GetRowData(row)->GetStockKey().c_str());
        break;
    case kMenuKLine:
        OpenKLine();
        break;
    case kMenuEditor:
        OpenEditor();
        break;
    default:
        break;
    }
}

void CMyStockWnd::OpenEditor() {
    auto editor = std::make_unique<CEditMyStockWnd>(u"编辑自选", this, CEditMyStockWnd::kModeEditor);
    GetWndManager().RunWindow(std::move(editor), -1, u"编辑自选", nullptr, nullptr, this, ANIM_SLIDE_UP);
}

void CMyStockWnd::OpenKLine() {
    const int row = TargetRow();
    if (row < 0)
        return;
    OnWindowHidden();
    const std::string request = "code=" + GetRowData(row)->GetStockKey();
    GetWndManager().CreateWnd("kxchart", -1, u"K线分析", "", request.c_str(), 0, this);
}
