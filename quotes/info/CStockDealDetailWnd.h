// The tick page of one stock (keyword "CStockDealDetailWnd", its class
// name): the day's deals, time, price, volume and buy/sell direction,
// eleven rows at a time, paged back and on through the day by the minute of
// the top and the bottom row.
//
// Opened with the request text "code=<stock key>&date=<day>" (date "0" or
// empty: today), an empty parameter text, and the caption "成交明细". The
// first show asks for the latest deals; "older" replaces the rows by the
// page before the top row, "newer" and refresh append the deals after the
// bottom row, dropping the oldest rows so that at most eleven remain. The
// paging buttons do nothing while a request is out.
#pragma once

#include "framework/ui/CTableWnd.h"
#include "quotes/info/DealDetails.h"

#include <optional>
#include <string>
#include <vector>

class CStockDealDetailWnd : public CTableWnd {
public:
    static constexpr int kRowLimit = 11;
    static constexpr int kRowHeight = 48; // pixels
    // The bar's buttons, by index.
    enum : int { kButtonHome, kButtonOlder, kButtonRefresh, kButtonNewer, kButtonBack };
    static const std::vector<int>& BarImages();

    CStockDealDetailWnd();
    ~CStockDealDetailWnd() override;
    const char* GetClassName() const override { return "CStockDealDetailWnd"; }

    const std::string& GetStockCode() const { return m_code; }
    const std::string& GetDate() const { return m_date; }
    DealDirection GetDirection() const { return m_direction; }
    const DealCursors& GetCursors() const { return m_cursors; }
    // The minute (hhmm) of row's time cell; 0 out of range or without ":".
    int GetRowTime(int row) const;
    // Recomputes the cursors from the rows shown.
    void UpdateCursors();

    // ---- Virtual operations ----
    int OnInitDialog() override;
    // "code" and "date" of the request text ("0" without a date); an open
    // page forgets its rows.
    void SetMenuParams(int menuId, const char* param, const char* request) override;
    // Every send that is not a paging press asks for the newest deals.
    void SendRefresh(RefreshCause cause) override;
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
    void OnToolbarCommand(int index) override;
    void OnNetReply(const CNetReply& reply) override;
    void OnRequestNotSent(NotSent why) override;

private:
    // A paging press: when no request is out, asks in that direction.
    void Page(DealDirection direction);
    std::vector<DealRow> ShownRows();
    void ShowRows(const std::vector<DealRow>& rows);
    DealPalette Palette() const;

    std::string m_code;
    std::string m_date = "0";
    DealCursors m_cursors;
    DealDirection m_direction = DealDirection::Refresh;
    DealDirection m_asked = DealDirection::Refresh; // the direction of the request out
    bool m_requestOut = false; // posted and not yet answered or given up: presses wait
};
