// The history query's dates, request and paging.
#include "trade/queries/CTradeHisQueryTableWnd.h"

#include "framework/app/CAppData.h"
#include "framework/app/TradeSession.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/QueryRequests.h"
#include "framework/ui/WndMessages.h"
#include "framework/ui/widgets/CPopMenuWnd.h"
#include "platform/Clock.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/CUiMessageBox.h"
#include "platform/ui/UiDateTimePicker.h"
#include "platform/ui/UiTheme.h"

namespace {

constexpr int kDateTop = 52;       // pixels
constexpr int kDateHeight = 60;    // pixels
constexpr int kGridTopDates = 122; // pixels
constexpr int kGridTopPlain = 42;  // pixels

CalendarDate Today() {
    const CLocalTime now = CClock::Instance().LocalNow();
    return {now.year, now.month, now.day};
}

std::u16string ButtonText(std::u16string_view prefix, const CalendarDate& date) {
    std::u16string text(prefix);
    for (char c : DateText(date))
        text += static_cast<char16_t>(c);
    return text;
}

CAString CurrentAccount() {
    CAppData* app = CAppData::Instance();
    CAccountEntry* entry = app ? app->GetCurrentAccount() : nullptr;
    return entry ? entry->accountId : CAString();
}

} // namespace

CTradeHisQueryTableWnd::CTradeHisQueryTableWnd() {
    SetFirstShow(false);
    SetRefreshOnShow(false);
    SetAutoRefresh(false);
    m_end = Today();
    m_start = DefaultHistoryStart(m_end);
}

CTradeHisQueryTableWnd::~CTradeHisQueryTableWnd() {
    Destroy();
}

int CTradeHisQueryTableWnd::OnInitDialog() {
    if (!CQueryTableWnd::OnInitDialog())
        return 0;
    CGridCtrl& grid = GetGrid();
    grid.SetNotify(true);
    grid.SetFontSize(21);
    grid.SetRowHeight(48);
    SetupTable(0, 16, true, 4, 0);
    grid.ShowWindow(false);
    for (auto [button, id] : {std::pair{&m_startButton, kStartButtonId}, std::pair{&m_endButton, kEndButtonId}}) {
        if (!button->Create(this, {}, id, true))
            return 0;
        button->SetStyle(UI_BTN_PUSH);
        // The theme's dark text: white would vanish on the light button face.
        button->SetTextColor(UiTheme::kText);
        button->SetFontSize(24);
    }
    m_startButton.SetText(ButtonText(u"起始:", m_start));
    m_endButton.SetText(ButtonText(u"截止:", m_end));
    UseTextToolbar(u"选项", u"确定", u"返回");
    m_account = CurrentAccount();
    PlaceControls();
    return 1;
}

void CTradeHisQueryTableWnd::PlaceControls() {
    const CRect client = GetClientRect();
    const bool narrow = client.Width() == 480;
    if (m_startButton.IsCreated()) {
        m_startButton.MoveWindow(narrow ? CRect::FromSize(10, kDateTop, 220, kDateHeight)
                                        : CRect::FromSize(80, kDateTop, 240, kDateHeight));
        m_endButton.MoveWindow(narrow ? CRect::FromSize(250, kDateTop, 220, kDateHeight)
                                      : CRect::FromSize(400, kDateTop, 240, kDateHeight));
    }
    const bool dates = IsDateRowShown();
    const int top = dates ? kGridTopDates : kGridTopPlain;
    const int height = client.Height() - (dates ? 187 : 107);
    GetGrid().MoveWindow(CRect::FromSize(0, top, client.Width(), std::max(0, height)));
}

void CTradeHisQueryTableWnd::OnLayout() {
    CQueryTableWnd::OnLayout();
    PlaceControls();
}

void CTradeHisQueryTableWnd::SetStartDate(const CalendarDate& date) {
    m_start = date;
    if (m_startButton.IsCreated())
        m_startButton.SetText(ButtonText(u"起始:", m_start));
}

void CTradeHisQueryTableWnd::SetEndDate(const CalendarDate& date) {
    m_end = date;
    if (m_endButton.IsCreated())
        m_endButton.SetText(ButtonText(u"截止:", m_end));
}

void CTradeHisQueryTableWnd::ShowDateRow(bool show) {
    m_startButton.ShowWindow(show);
    m_endButton.ShowWindow(show);
    PlaceControls();
    Invalidate();
}

void CTradeHisQueryTableWnd::OnToolbarCommand(int index) {
    switch (index) {
    case 0:
        ShowOptionMenu();
        break;
    case 1:
        OnConfirmDates();
        break;
    case 2:
        EndWindow(1);
        break;
    default:
        break;
    }
}

void CTradeHisQueryTableWnd::ShowOptionMenu() {
    const int id = CPopMenuWnd::Run(this, {
        {u"取消", kMenuCancel},
        {u"返回首页", kMenuHome},
        {u"设置日期", kMenuSetDates},
    });
    OnFundMenuCommand(id);
}

void CTradeHisQueryTableWnd::OnFundMenuCommand(int commandId) {
    if (commandId == kMenuHome)
        EndWindow(0);
    else if (commandId == kMenuSetDates && !IsDateRowShown())
        ShowDateRow(true);
}

void CTradeHisQueryTableWnd::OnConfirmDates() {
    CheckAccount();
    if (!IsDateOrderValid(m_start, m_end)) {
        UiMessageBox(this, kBadOrder, u"提示", MB_OK);
        return;
    }
    // The kept dates, never the buttons' texts, make the request.
    SetQueryDates(DateText(m_start), DateText(m_end));
    SendRefresh(RefreshCause::User);
}

void CTradeHisQueryTableWnd::SetQueryDates(const std::string& start, const std::string& end) {
    m_startText = start;
    m_endText = end;
    ResetPaging();
}

bool CTradeHisQueryTableWnd::RequestNextPage() {
    // Only a full page can have a next one.
    if (IsRequestPending() || GetPagingCursor().IsEmpty() || GetGrid().GetRowCount() < kHistoryPageRows)
        return false;
    if (CheckAccount())
        return false;
    m_nextPage = true;
    SendQuery();
    return true;
}

void CTradeHisQueryTableWnd::SendRefresh(RefreshCause cause) {
    if (cause == RefreshCause::FirstShow || cause == RefreshCause::Show || cause == RefreshCause::Timer)
        return;
    if (m_startText.size() != 8 || m_endText.size() != 8) {
        if (cause == RefreshCause::User)
            UiMessageBox(this, kNoDates, u"提示", MB_OK);
        return;
    }
    if (CheckAccount())
        return;
    // A refresh the user did not ask as paging begins at the first page.
    m_nextPage = false;
    ResetPaging();
    SendQuery();
}

void CTradeHisQueryTableWnd::SendQuery() {
    GetGrid().DeleteAllRows();
    m_queryAccount = CurrentAccount();
    ShowDateRow(false);
    GetGrid().ShowWindow(true);
    PostRequest(-1, 0);
}

int CTradeHisQueryTableWnd::BuildRequest(CAString& out) {
    const std::string_view cursor = m_nextPage ? GetPagingCursor().view() : std::string_view();
    const std::string text =
        BuildHistoryRequest(GetRequestText().view(), CurrentLoginId(), m_startText, m_endText,
                            GetPagingKey().view(), cursor);
    m_nextPage = false;
    if (text.empty())
        return 0;
    out.Assign(text);
    return 1;
}

void CTradeHisQueryTableWnd::OnNetData(const std::uint8_t* data, int length, bool networkFailure) {
    // The table belongs to the account it was asked for.
    if (CurrentAccount() != m_queryAccount) {
        CheckAccount();
        return;
    }
    if (networkFailure || !data || length <= 0) {
        // The failure of the road is told as it is: a query that left and
        // got no answer did not go "unsent".
        if (networkFailure && data && length > 0)
            UiMessageBox(this, QueryFailureText(data, length), u"提示", MB_OK);
        else
            UiMessageBox(this, kNotSent, u"提示", MB_OK);
        ShowDateRow(true);
        return;
    }
    CQueryTableWnd::OnNetData(data, length, networkFailure);
}

void CTradeHisQueryTableWnd::OnRequestNotSent(NotSent) {
    m_nextPage = false;
    UiMessageBox(this, kNotSent, u"提示", MB_OK);
    ShowDateRow(true);
}

bool CTradeHisQueryTableWnd::CheckAccount() {
    const CAString now = CurrentAccount();
    if (now == m_account)
        return false;
    m_account = now;
    GetGrid().DeleteAllRows();
    ResetPaging();
    ShowDateRow(true);
    return true;
}

void CTradeHisQueryTableWnd::PickDate(int buttonId) {
    const bool start = buttonId == kStartButtonId;
    if (GetClientRect().Width() == 720)
        ResetRotation();
    const CalendarDate& kept = start ? m_start : m_end;
    UiDateTimePicker picker;
    picker.SetYearRange(1923, Today().year);
    picker.SetDate(kept.year, kept.month, kept.day);
    if (picker.DoModal(this) != IDOK)
        return;
    const CalendarDate chosen{picker.GetYear(), picker.GetMonth(), picker.GetDay()};
    if (start)
        SetStartDate(chosen);
    else
        SetEndDate(chosen);
}

bool CTradeHisQueryTableWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LowWord(wParam)) {
    case kStartButtonId:
    case kEndButtonId:
        PickDate(LowWord(wParam));
        return true;
    case kGridId:
        // A tap on the last row of a full page asks the page after it.
        if (HighWord(wParam) == GRID_ROW_TAPPED && static_cast<int>(lParam) == GetGrid().GetRowCount() - 1)
            RequestNextPage();
        return true;
    default:
        return CQueryTableWnd::OnCommand(wParam, lParam);
    }
}

LRESULT CTradeHisQueryTableWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CQueryTableWnd::OnMessage(msg, wParam, lParam);
    // The account list may have switched the account.
    if (msg == WND_MSG_CAPTION_TRADE || msg == WND_MSG_CHILD_CLOSED)
        CheckAccount();
    return result;
}
