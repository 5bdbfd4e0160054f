// The watch-list table (keyword "zxhq"): the quotes of every stock of the
// watch list "MyQuotes" in one table, in the list's order, sortable on the
// device by any of its four columns. From it the user opens a stock's minute
// chart, K-line chart, detail quote or order window, and the watch-list
// editor.
//
// Every request re-reads the store and sends all its items at once; an item
// that may not travel in a request (QuoteRequests.h) stays in the store
// unsent. A reply prunes the store of the sent items it found no row for and
// widens bare codes into the keys it found, applied to the store as it is
// when the reply arrives (WatchListMerge.h): the user's order is kept, and
// edits made while the request was out survive.
//
// An empty list is told ("股票列表为空!") only for a send the user asked
// for: the first show, the refresh command, a child's close with code 1.
// A refresh-timer tick finds it empty silently.
#pragma once

#include "core/CAString.h"
#include "quotes/tables/COrbTableWnd.h"
#include "quotes/tables/WatchListMerge.h"

#include <deque>
#include <string>
#include <vector>

class CMyStockWnd : public COrbTableWnd {
public:
    // The table's own option-menu command ids.
    enum : int { kMenuKLine = 130, kMenuEditor = 131 };
    // The table's own image bar buttons.
    enum : int { kBarEditor = 2, kBarKLine = 3, kBarRefresh = 4 };
    // Bottom-bar images by button: the shared ones (COrbTableWnd) and the own.
    static constexpr int kBarImages[6] = {126, 118, 133, 114, 115, 116};
    // Sort columns as the header reports them.
    enum : int { kSortNone = -1, kSortName = 1, kSortLast = 2, kSortChange = 3, kSortChangePct = 4 };

    CMyStockWnd();
    ~CMyStockWnd() override;
    const char* GetClassName() const override { return "CMyStockWnd"; }

    // Widens every stored item's one-digit market ("600000.1" becomes
    // "600000.01") and writes the store back when anything changed.
    void WidenStoredMarkets();
    // Sorts the rows by the current sort column and direction (1 ascending,
    // 0 descending); nothing without one.
    void SortRows();
    int GetSortColumn() const { return m_sortColumn; }
    int GetSortDirection() const { return m_sortDirection; }

    // ---- Virtual operations ----
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    // WatchListQuoteRequest of the stored items that may travel, with the
    // preset request (31000/4 without one); 0 when none may, saying
    // "股票列表为空!" when the user asked for the send.
    int BuildRequest(CAString& out) override;
    void SendRefresh(RefreshCause cause) override;
    void OnChildClosed(int code) override;
    // Applies the last reply's pruning and widening to the store as it is
    // now; false when the write failed (the store is then unchanged).
    virtual bool SaveRowsToStore();

protected:
    // 2 the editor, 3 the K-line, 4 refresh.
    void OnOwnBarButton(int index) override;
    std::vector<MenuEntry> OwnMenuEntries() const override;
    void OnOwnMenuCommand(int id, int row) override;
    // The row the menu commands work on: the selected one, else row 0; −1
    // when the table is empty.
    int MenuTargetRow() const override;
    void OnReplyWithoutRows() override;
    void TakeReplyRows(CDataSet* first) override;

private:
    void OpenEditor();
    void OpenKLine();
    void OnHeaderCommand(int code, int value);

    // For each send posted and not yet built, oldest first: whether the user
    // asked for it (an empty list is then told).
    std::deque<bool> m_userSends;
    bool m_closingWithRefresh = false;     // a child is closing with code 1
    std::string m_sentStore;               // the items of the request out, as a store text
    std::vector<WatchReplyKey> m_replyKeys; // the last reply's row keys
    int m_sortColumn = kSortNone;
    int m_sortDirection = -1;              // 1 ascending, 0 descending, −1 none
    bool m_rewrite = false;                // the store must be rewritten from the reply
};
