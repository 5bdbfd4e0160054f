// The table of the trade menu's same-day queries (today's orders, today's
// deals, the orders that may be cancelled): sends its menu node's query
// each time it is shown, shows the reply's columns and, by its menu node,
// acts on a row: node 371 opens the stock's minute chart and offers buy
// and sell, node 372 cancels the order through the confirmation page;
// other nodes show the table only.
//
// A row action reads the row the user sees and acts only while that row
// stands: it is still the grid's selected row, no query of the window is
// out or awaited (a reply rebuilds the grid under a posted tap), and the
// kept reply came for the account that is current now. A cancel is checked
// by its order number against the kept reply and refused with a message
// when the row's holder is not one of the current account's. An account
// change empties the table. A query that fails on the way is told and
// leaves the rows shown; after a cancel they stay untappable until a
// re-query is answered.
#pragma once

#include "framework/ui/CQueryTableWnd.h"
#include "trade/queries/TradeQueryText.h"

#include <string>

class CTradeQueryTableWnd : public CQueryTableWnd {
public:
    static constexpr int kFontHeight = 21; // pixels
    static constexpr int kRowHeight = 48;  // pixels
    // Row-action pop-up commands.
    enum : int { kMenuHome = 120, kMenuCancel = 121, kMenuSell = 122, kMenuBuy = 123 };

    CTradeQueryTableWnd();
    ~CTradeQueryTableWnd() override;
    const char* GetClassName() const override { return "CTradeQueryTableWnd"; }

    TradeQueryVariant GetVariant() const { return TradeQueryVariantOf(GetMenuId()); }
    bool IsOrdersMenu() const { return GetMenuId() == kTodayOrdersMenuId; }
    bool IsCancelMenu() const { return GetMenuId() == kCancelMenuId; }
    // Whether a row action on row may run now (see the header).
    bool CanActOnRow(int row);
    // The cancel confirmation of row; −1 in every case.
    int ConfirmCancel(int row);

    // ---- Virtual operations ----
    int OnInitDialog() override;
    // The menu node chooses the variant: its toolbar follows.
    void SetMenuParams(int menuId, const char* param, const char* request) override;
    void OnToolbarCommand(int index) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Opens row: the minute chart (node 371) or the cancel (node 372); −1
    // for a negative row or another node.
    int OpenMenuChild(int row) override;
    void OnFundMenuCommand(int commandId) override;
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
    void OnRequestNotSent(NotSent why) override;
    void OnWindowShown() override;

protected:
    // The variant's toolbar texts on the bar.
    virtual void ApplyToolbar();
    // The row-tap notification of the grid: nothing here (rows are opened
    // with the toolbar); the cancel window opens the tapped row.
    virtual void OnRowTapped(int /*row*/) {}
    // The toolbar's middle button: opens the selected row.
    void OpenSelectedRow();
    // "您未选中任何记录！" in a box.
    void TellNoRow();

private:
    void OnOptionsToolbar(int index);
    void OnPlainToolbar(int index);
    void ShowRowMenu();
    // The field of row as the grid shows it, or from the kept reply when
    // the grid hides that column; empty when neither has it.
    std::string RowField(int row, const char* name);
    // The field of row in the kept reply; empty when absent.
    std::string SetField(int row, const char* name) const;
    // Empties the table when the current login is not the one the kept
    // reply came for.
    void ForgetOtherAccount();

    bool m_requeryAwaited = false; // a cancel went through; its re-query has not come
    std::string m_sentLoginId;     // the login of the last query sent
    std::string m_setLoginId;      // the login the kept reply came for
};
