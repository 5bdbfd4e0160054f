// The history query table ("hisquery"): the user picks a start and an end
// date, "确定" sends the menu node's query with the two dates, the reply
// fills the table (CQueryTableWnd).
//
// Paging: a page holds at most 80 rows. When the last page came full, a
// tap on its last row (the table scrolled to its end) asks the next page
// after that row's cursor, which replaces the table. Every other
// send — "确定", the refresh command, a child's close with code 1 — starts
// again from page 1, and the table is emptied whenever a query is sent.
// A change of the current trade account empties the table and brings the
// date row back; a reply for the account that was current before is dropped.
#pragma once

#include "core/CAString.h"
#include "framework/ui/CQueryTableWnd.h"
#include "framework/ui/QueryRequests.h"
#include "platform/ui/UiButton.h"
#include "trade/queries/AccountRequests.h"

#include <string>

class CTradeHisQueryTableWnd : public CQueryTableWnd {
public:
    static constexpr int kStartButtonId = 193;
    static constexpr int kEndButtonId = 194;
    enum : int { kMenuCancel = 121, kMenuHome = 120, kMenuSetDates = 134 };
    static constexpr std::u16string_view kBadOrder = u"起始时间不能早于截止时间！";
    static constexpr std::u16string_view kNoDates = u"请输入正确的起止时间";
    static constexpr std::u16string_view kNotSent = kQueryNotSentText;

    CTradeHisQueryTableWnd();
    ~CTradeHisQueryTableWnd() override;
    const char* GetClassName() const override { return "CTradeHisQueryTableWnd"; }

    const CalendarDate& GetStartDate() const { return m_start; }
    const CalendarDate& GetEndDate() const { return m_end; }
    void SetStartDate(const CalendarDate& date);
    void SetEndDate(const CalendarDate& date);
    const std::string& GetStartText() const { return m_startText; }
    const std::string& GetEndText() const { return m_endText; }
    bool IsDateRowShown() const { return m_startButton.IsCreated() && m_startButton.IsVisible(); }

    // "确定": checks the order of the dates, keeps them and queries page 1.
    void OnConfirmDates();
    // Keeps the texts and starts again from the first page.
    void SetQueryDates(const std::string& start, const std::string& end);
    // Asks the page after the last row, when the last page came full.
    bool RequestNextPage();
    void ShowDateRow(bool show);
    void PickDate(int buttonId);

    // ---- Virtual operations ----
    int OnInitDialog() override;
    void OnLayout() override;
    void OnToolbarCommand(int index) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnFundMenuCommand(int commandId) override;
    int BuildRequest(CAString& out) override;
    // Every send but the next page starts from page 1; nothing before the
    // first "确定" (the user's refresh is told to pick the dates).
    void SendRefresh(RefreshCause cause) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
    void OnRequestNotSent(NotSent why) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Sends the query (the table emptied first).
    void SendQuery();
    // An account change empties the table and resets paging; true when one happened.
    bool CheckAccount();
    void PlaceControls();
    void ShowOptionMenu();

    UiButton m_startButton;
    UiButton m_endButton;
    CalendarDate m_start;
    CalendarDate m_end;
    std::string m_startText; // the kept dates of the last "确定"
    std::string m_endText;
    bool m_nextPage = false;     // the send under way asks the next page
    CAString m_account;          // the account the table belongs to
    CAString m_queryAccount;     // the account the query out was sent for
};
