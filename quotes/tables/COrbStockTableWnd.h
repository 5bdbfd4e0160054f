// The stock ranking table (keyword "pxhq"): one page of 20 stocks of a
// ranking chosen by market, category and ranking field, sorted by the
// server. The user pages forward and back, flips the direction on the
// "涨幅" title, picks another ranking in the sort form, opens a row's minute
// chart, and from the option menu orders, opens the detail quote or adds the
// stock to the watch list. The board table derives it.
//
// Request (BuildRequest): RankingPageRequest (QuoteRequests.h) — the preset
// request of the menu node, then the codes, direction and page; the option
// group "type" travels as "class", the group "sort" as "type". A code that
// may not travel in a request is never taken from a menu node's parameter
// text or a sort choice.
//
// Paging: a page move changes the page index before its request goes out.
// When that request fails (an error reply, a network failure, a refusal or
// an abandonment) the index goes back to the page of the rows shown, so the
// next press moves on from what the user sees.
#pragma once

#include "core/CAString.h"
#include "core/CWString.h"
#include "quotes/tables/COrbTableWnd.h"
#include "quotes/tables/CSortChoice.h"

class CDataSet;

class COrbStockTableWnd : public COrbTableWnd {
public:
    static constexpr int kPageSize = 20;
    // The table's own option-menu command ids.
    enum : int { kMenuAddToMyStocks = 126, kMenuSortParams = 127 };
    // The table's own image bar buttons.
    enum : int { kBarPreviousPage = 2, kBarNextPage = 3, kBarBoards = 4 };
    // Bottom-bar images by button: the shared ones (COrbTableWnd) and the own.
    static constexpr int kBarImages[6] = {126, 118, 124, 123, 140, 116};

    COrbStockTableWnd();
    ~COrbStockTableWnd() override;
    const char* GetClassName() const override { return "COrbStockTableWnd"; }

    // Reads "market", "type", "sort" and "direct" of a parameter text; each
    // value that differs (codes ignoring case) and may travel in a request
    // replaces the current one, with its label from the option group, and
    // sets the changed flag.
    void ParseParams(const char* param);
    // The same for a sort choice: each non-empty code of at most
    // CSortChoice::kMaxCodeLength bytes, and the direction whenever it
    // differs.
    void ApplySortChoice(const CSortChoice& choice);
    // Fills rows from set (columns of kQuoteRowFields); tells the user when the
    // set is missing or empty.
    void FillRows(CDataSet* set);
    // Opens the first child of the menu root with keyword "bkhq".
    void OpenBoardQuotes();
    // The caption: the three labels joined.
    CWString MakeCaption() const;

    const CAString& GetMarketCode() const { return m_market; }
    const CAString& GetCategoryCode() const { return m_category; }
    const CAString& GetFieldCode() const { return m_field; }
    int GetDirection() const { return m_direction; }
    void SetDirection(int direction) { m_direction = direction; }
    bool IsPageChanged() const { return m_pageChanged; }

    // ---- Virtual operations ----
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    void SetMenuParams(int menuId, const char* param, const char* request) override;
    void OnWindowShown() override;
    // RankingPageRequest of the current choice and page; 0 when a code is
    // refused.
    int BuildRequest(CAString& out) override;
    void OnRequestNotSent(NotSent why) override;

protected:
    std::vector<MenuEntry> OwnMenuEntries() const override;
    void OnOwnMenuCommand(int id, int row) override;
    // "未选中任何股票！": the detail quote and adding need a selected row.
    void OnNoRowChosen() override;
    // A page move that came to nothing keeps the page shown.
    void OnReplyWithoutRows() override;
    // The page's rows; a page move selects the first and scrolls to the top.
    void TakeReplyRows(CDataSet* first) override;
    // 2 the page before, 3 the page after, 4 the sectors.
    void OnOwnBarButton(int index) override;
    void OpenSortParams();
    // A "提示" message box with OK.
    void Tell(const char16_t* text);
    // A page move that came to nothing: back to the page of the rows shown.
    void KeepShownPage();

    CAString m_market;    // "market" group code
    CAString m_category;  // "type" group code
    CAString m_field;     // "sort" group code
    CWString m_marketLabel;
    CWString m_categoryLabel;
    CWString m_fieldLabel;
    int m_direction = 1;  // 0 ascending, 1 descending
    bool m_pageChanged = false;
    int m_shownPage = 0;      // the page of the rows shown
    int m_sentPage = 0;       // the page of the request built last
    int m_sentPageBefore = 0; // the one built before it: still out when the last is refused
};
