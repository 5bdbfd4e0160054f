// The watch-list table.
#include "quotes/tables/CMyStockWnd.h"

#include "core/CDataSet.h"
#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/WindowKeywords.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/CQuoteRowList.h"
#include "quotes/tables/MyQuotesStore.h"
#include "quotes/tables/QuoteRequests.h"
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
    const std::vector<std::string> items = QuotableItems(ParseMyQuotes(stored));
    const std::string text = WatchListQuoteRequest(items, kQuoteRowFields, GetRequestText().view());
    if (text.empty()) {
        m_sentStore.clear();
        // A modal box on every timer tick would hold the screen for good.
        if (app && userAsked)
            app->ShowInfoMessage(u"股票列表为空!", this);
        return 0;
    }
    // Only what was sent is pruned or widened by the reply.
    m_sentStore = JoinMyQuotes(items);
    out.Assign(text);
    return 1;
}

void CMyStockWnd::OnReplyWithoutRows() {
    m_sentStore.clear();
}

void CMyStockWnd::TakeReplyRows(CDataSet* first) {
    RemoveAllRows();
    m_replyKeys.clear();
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

bool CMyStockWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) != kHeaderListId)
        return COrbTableWnd::OnCommand(wParam, lParam);
    OnHeaderCommand(HighWord(wParam), static_cast<int>(lParam));
    return true;
}

void CMyStockWnd::OnOwnBarButton(int index) {
    if (index == kBarEditor)
        OpenEditor();
    else if (index == kBarKLine)
        OpenKLine();
    else if (index == kBarRefresh)
        OnRefreshCommand();
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

int CMyStockWnd::MenuTargetRow() const {
    if (GetRowCount() == 0)
        return -1;
    const int sel = GetSelectedRow();
    return sel >= 0 ? sel : 0;
}

std::vector<COrbTableWnd::MenuEntry> CMyStockWnd::OwnMenuEntries() const {
    return {{u"K线分析", kMenuKLine}, {u"编辑自选", kMenuEditor}};
}

void CMyStockWnd::OnOwnMenuCommand(int id, int /*row*/) {
    switch (id) {
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
    const CQuoteRowData* row = GetRowData(MenuTargetRow());
    const std::string request = row ? StockCodeParam(row->GetStockKey()) : std::string();
    if (request.empty())
        return;
    OnWindowHidden();
    GetWndManager().CreateWnd(kKLineChartKeyword, -1, u"K线分析", "", request.c_str(), 0, this);
}
