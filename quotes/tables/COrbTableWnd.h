// The base window of the stock quote tables: a fixed header row
// (CQuoteHeaderList, id 172) above a scrolling list of stock rows
// (CQuoteRowList, id 171), on a black background. The base owns the lists,
// the row records (through the row list), the page counters and what every
// table does alike: a tap on a row opens its minute chart, the option menu's
// shared entries (cancel, sell, buy, detail quote) and the first steps with
// a reply. It sends no request of its own (the CNetWnd default sends the
// preset request).
//
// The derived tables fill rows in TakeReplyRows, add their own option-menu
// entries through the hooks below, and act on the other commands of the
// lists (WM_COMMAND with the control id in the low half of wParam; see the
// two list headers for the codes and values).
#pragma once

#include "core/CDataSet.h"
#include "framework/ui/CNetWnd.h"
#include "framework/ui/widgets/CPopMenuWnd.h"
#include "quotes/tables/CQuoteHeaderList.h"
#include "quotes/tables/CQuoteRowData.h"
#include "quotes/tables/CQuoteRowList.h"

#include <vector>

class COrbTableWnd : public CNetWnd {
public:
    static constexpr int kRowListId = 171;
    static constexpr int kHeaderListId = 172;
    static constexpr int kHeaderHeight = 50; // pixels
    static constexpr int kRowHeight = 60;    // pixels
    // The option menu's shared command ids; a table adds its own.
    enum : int { kMenuCancel = 121, kMenuSell = 122, kMenuBuy = 123, kMenuDetail = 125 };
    // The image bar's buttons as OnBarButton numbers them: the shared ones,
    // and the three in between that each table gives its own.
    enum : int { kBarOptions = 0, kBarSearch = 1, kBarOwnFirst = 2, kBarOwnLast = 4, kBarBack = 5 };

    COrbTableWnd();
    ~COrbTableWnd() override;
    const char* GetClassName() const override { return "COrbTableWnd"; }

    // Appends a row holding record (taken over). Returns its index, −1
    // when refused (null record).
    int AddRow(CQuoteRowData* record);
    // The record of row index, null out of range.
    CQuoteRowData* GetRowData(int index) const;
    int GetRowCount() const { return m_rowList.GetCount(); }
    // Removes every row, deleting the records.
    void RemoveAllRows();
    // The selected row, −1 for none.
    int GetSelectedRow() const { return m_rowList.GetCurSel(); }

    int GetPageSize() const { return m_pageSize; }
    int GetPageIndex() const { return m_pageIndex; }
    // page index × page size: the first row number of the current page.
    int GetPageOffset() const { return m_pageIndex * m_pageSize; }

    // Opens the detail page of stock (code, a point, market) over this
    // window: keyword "xxhq", menu id −1, title "详细报价", parameter text
    // "code=" + stock, request "tc_mfuncno=31000&tc_sfuncno=4"; nothing for
    // a refused key (QuoteRequests.h).
    void OpenDetailQuote(const char* stock);
    // Opens the order form ("buysale") to sell or buy the stock of row, or
    // with no stock for −1; without a logged-in trade account it runs the
    // trade login instead and opens no form.
    void OpenOrder(bool sell, int row);
    // Runs the option menu: the shared entries, then the table's own; the
    // choice goes to OnMenuCommand.
    void ShowOptionMenu();
    // An option-menu command on MenuTargetRow: orders and the detail quote
    // here, the table's own commands through OnOwnMenuCommand.
    virtual void OnMenuCommand(int id);

    CQuoteHeaderList& GetHeaderList() { return m_headerList; }
    CQuoteRowList& GetRowList() { return m_rowList; }

    // ---- Virtual operations ----
    // CNetWnd's creation, then the black background, no client area, and
    // the two lists; 0 when the base creation fails.
    int OnInitDialog() override;
    // Places the two lists again for the window's size.
    void OnLayout() override;
    // The image bar's buttons go to OnBarButton; a row list tap (kRowClicked
    // or kRowMenu) opens that row's minute chart.
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Opens "fschart" with "date=&code=<key>" of row index; −1 for a
    // negative index or no such row.
    int OpenMenuChild(int index) override;
    // No body, an error set (shown over this window) or a first set tagged
    // "hq.info" (any case; it goes to the header hook) bring no rows and end
    // in OnReplyWithoutRows; any other reply goes to TakeReplyRows.
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;

protected:
    // One entry of an option menu: its text and command id.
    using MenuEntry = CPopMenuItem;
    // Runs the option menu of entries (in that order) anchored to the bottom
    // of the work area, sliding up and down; the chosen id, or what the menu
    // gives when nothing was chosen.
    int RunOptionMenu(const std::vector<MenuEntry>& entries);
    // True when the setting "Quote_IsRefresh" begins with "1": the tables
    // then refresh on the refresh timer.
    static bool IsAutoRefreshSetting();

    // The image bar's shared buttons: the option menu, the stock search and
    // back (closes with code 1); the others go to OnOwnBarButton.
    void OnBarButton(int index);

    // ---- Hooks of the tables ----
    // One of the table's own image bar buttons (kBarOwnFirst to
    // kBarOwnLast); nothing here.
    virtual void OnOwnBarButton(int /*index*/) {}
    // The table's own option-menu entries, after the shared ones.
    virtual std::vector<MenuEntry> OwnMenuEntries() const { return {}; }
    // A command of the table's own entries on row (−1 for none).
    virtual void OnOwnMenuCommand(int /*id*/, int /*row*/) {}
    // The row the option menu works on: the selected one (−1 for none).
    virtual int MenuTargetRow() const { return GetSelectedRow(); }
    // A menu command that needs a row found none; nothing here.
    virtual void OnNoRowChosen() {}
    // A reply that brings no rows (see OnNetData); nothing here.
    virtual void OnReplyWithoutRows() {}
    // The rows of a reply: first is its first data set, null without one.
    virtual void TakeReplyRows(CDataSet* /*first*/) {}

    // The two lists' rectangles for the window's current size.
    CRect HeaderRect() const;
    CRect RowsRect() const;

    int m_pageSize = 0;  // rows per request page; 0 in the base
    int m_pageIndex = 0; // 0 for the first page

private:
    CQuoteHeaderList m_headerList;
    CQuoteRowList m_rowList;
};
