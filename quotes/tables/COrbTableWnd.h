// The base window of the stock quote tables: a fixed header row
// (CQuoteHeaderList, id 172) above a scrolling list of stock rows
// (CQuoteRowList, id 171), on a black background. The base owns the lists,
// the row records (through the row list), the page counters and the opener
// of the detail-quote page; it sends no request of its own (the CNetWnd
// default sends the preset request) and ignores replies.
//
// The derived tables fill rows with AddRow and act on the lists' commands
// (WM_COMMAND with the control id in the low half of wParam; see the two
// list headers for the codes and values).
#pragma once

#include "core/CDataSetList.h"
#include "framework/ui/CNetWnd.h"
#include "quotes/tables/CQuoteHeaderList.h"
#include "quotes/tables/CQuoteRowData.h"
#include "quotes/tables/CQuoteRowList.h"

#include <initializer_list>

class COrbTableWnd : public CNetWnd {
public:
    static constexpr int kRowListId = 171;
    static constexpr int kHeaderListId = 172;
    static constexpr int kHeaderHeight = 50; // pixels
    static constexpr int kRowHeight = 60;    // pixels

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
    // "code=" + stock, request "tc_mfuncno=31000&tc_sfuncno=4".
    void OpenDetailQuote(const char* stock);
    // Opens the order form ("buysale") to sell or buy the stock of row, or
    // with no stock for −1; without a logged-in trade account it runs the
    // trade login instead and opens no form.
    void OpenOrder(bool sell, int row);

    CQuoteHeaderList& GetHeaderList() { return m_headerList; }
    CQuoteRowList& GetRowList() { return m_rowList; }

    // ---- Virtual operations ----
    // CNetWnd's creation, then the black background, no client area, and
    // the two lists; 0 when the base creation fails.
    int OnInitDialog() override;
    // Places the two lists again for the window's size.
    void OnLayout() override;

protected:
    // One entry of an option menu: its text and command id.
    struct MenuEntry {
        const char16_t* text;
        int id;
    };
    // Runs the option menu of entries (in that order) anchored to the bottom
    // of the work area, sliding up and down; the chosen id, or what the menu
    // gives when nothing was chosen.
    int RunOptionMenu(std::initializer_list<MenuEntry> entries);
    // True when the setting "Quote_IsRefresh" begins with "1": the tables
    // then refresh on the refresh timer.
    static bool IsAutoRefreshSetting();

    // The steps every quote table takes first with a reply: an error set is
    // shown over this window, and a first set tagged "hq.info" (any case)
    // goes to the header hook. True when the reply was one of those and
    // fills no rows.
    bool TakeReplyHead(CDataSetList& reply);
    // The reply's first data set, null without one.
    static CDataSet* FirstSet(CDataSetList& reply) { return reply.GetCount() > 0 ? *reply.GetAt(0) : nullptr; }

    // The two lists' rectangles for the window's current size.
    CRect HeaderRect() const;
    CRect RowsRect() const;

    int m_pageSize = 0;  // rows per request page; 0 in the base
    int m_pageIndex = 0; // 0 for the first page

private:
    CQuoteHeaderList m_headerList;
    CQuoteRowList m_rowList;
};
