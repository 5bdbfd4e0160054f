// The confirmation page: its labels, the one send of its request and the
// answer.
#include "trade/queries/CFundTradeConfirmWnd.h"

#include "core/CDataSetList.h"
#include "framework/app/CAppData.h"
#include "framework/app/CAppNetContext.h"
#include "framework/app/TradeSession.h"
#include "framework/net/CNetWorker.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/WndMessages.h"
#include "framework/ui/funds/FundRequests.h"
#include "platform/ui/CUiMessageBox.h"

#include <cstdlib>

namespace {
constexpr int kTitleTop = 20;    // pixels, page coordinates
constexpr int kTitleHeight = 44; // pixels
constexpr int kLineTop = 84;     // pixels
constexpr int kLineHeight = 48;  // pixels
} // namespace

CFundTradeConfirmWnd::CFundTradeConfirmWnd(std::u16string_view title, UiWin* parent) : m_parent(parent) {
    SetCaption(title);
    // Nothing is sent on a show, and a show must not disturb the shared
    // worker's request either.
    SetFirstShow(false);
    SetRefreshOnShow(false);
    SetAutoRefresh(false);
    SetResendOnFailure(false);
}

CFundTradeConfirmWnd::~CFundTradeConfirmWnd() {
    Destroy();
}

void CFundTradeConfirmWnd::SetConfirm(std::u16string_view text, const char* request) {
    m_lines = SplitConfirmLines(text);
    m_request = request ? request : "";
}

void CFundTradeConfirmWnd::SetResultPrefix(const char16_t* prefix) {
    if (prefix)
        m_prefix = prefix;
}

int CFundTradeConfirmWnd::Run() {
    if (!CreateOver(m_parent, GetWndManager().GetWorkRect()))
        return -1;
    return ShowModal(-1, nullptr, nullptr);
}

void CFundTradeConfirmWnd::BuildForm() {
    CClientArea* page = GetClientArea();
    if (!page)
        return;
    if (m_titleLabel.Create(page, {}, kTitleLabelId, true)) {
        m_titleLabel.SetText(kTitle);
        m_titleLabel.SetFontSize(26);
        m_titleLabel.SetBold(true);
        m_titleLabel.SetTextColor(0x000000);
    }
    for (size_t i = 0; i < m_lines.size(); ++i) {
        auto label = std::make_unique<UiStatic>();
        if (!label->Create(page, {}, kFirstLineId + static_cast<int>(i), true))
            continue;
        label->SetText(m_lines[i]);
        label->SetFontSize(24);
        label->SetTextColor(0x000000);
        m_lineLabels.push_back(std::move(label));
    }
    PlaceLabels();
    page->SetContentHeight(kLineTop + static_cast<int>(m_lines.size()) * kLineHeight + kTitleTop);
}

void CFundTradeConfirmWnd::PlaceLabels() {
    const int width = GetFormRect().Width() - 2 * kLeftMargin;
    if (m_titleLabel.IsCreated())
        m_titleLabel.MoveWindow(CRect::FromSize(kLeftMargin, kTitleTop, width, kTitleHeight));
    for (size_t i = 0; i < m_lineLabels.size(); ++i)
        m_lineLabels[i]->MoveWindow(
            CRect::FromSize(kLeftMargin, kLineTop + static_cast<int>(i) * kLineHeight, width, kLineHeight));
}

void CFundTradeConfirmWnd::OnLayout() {
    CLayoutBaseWnd::OnLayout();
    PlaceLabels();
}

void CFundTradeConfirmWnd::OnToolbarCommand(int index) {
    if (m_action.IsBusy())
        return;
    CLayoutBaseWnd::OnToolbarCommand(index);
}

void CFundTradeConfirmWnd::OnOk() {
    if (m_action.IsBusy() || m_sealed)
        return;
    if (FundConfirmRequest(CurrentLoginId(), m_request).empty()) {
        EnableToolbar(true);
        return;
    }
    EnableToolbar(false);
    // A refusal reaches OnRequestNotSent, which tells it.
    if (m_action.Send())
        m_sealed = true;
}

int CFundTradeConfirmWnd::BuildRequest(CAString& out) {
    if (!m_action.IsSending() || m_sealed)
        return 0;
    const std::string text = FundConfirmRequest(CurrentLoginId(), m_request);
    if (text.empty())
        return 0;
    out.Assign(text);
    return 1;
}

void CFundTradeConfirmWnd::OnRequestNotSent(NotSent why) {
    const std::optional<ActionEnd> end = m_action.TakeNotSent(why);
    if (!end)
        return;
    if (*end == ActionEnd::Unknown) {
        // It left: only the orders can tell what it did.
        Finish(m_action.FailureText(*end));
        return;
    }
    NotSentAgain();
}

void CFundTradeConfirmWnd::NotSentAgain() {
    // Nothing left the device: the press may be made again.
    m_action.Done();
    m_sealed = false;
    m_action.TellFailure(ActionEnd::NotSent);
    EnableToolbar(true);
}

void CFundTradeConfirmWnd::OnNetReply(const CNetReply& reply) {
    const std::optional<ActionEnd> end = m_action.TakeReply(reply);
    if (!end)
        return;
    if (*end == ActionEnd::NotSent) {
        NotSentAgain();
        return;
    }
    if (*end == ActionEnd::Unknown) {
        Finish(m_action.FailureText(*end));
        return;
    }
    CDataSetList list(reply.body, reply.length);
    if (ShowReplyError(list)) {
        m_action.Done();
        EndWindow(1);
        return;
    }
    CDataSet* first = list.GetCount() > 0 ? *list.GetAt(0) : nullptr;
    std::u16string number;
    if (first && first->GetColumnCount() > 0 && first->MoveFirst())
        number = first->GetFieldText(0).str();
    Finish(number.empty() ? std::u16string(kCheckOrders) : m_prefix + number);
}

void CFundTradeConfirmWnd::Finish(std::u16string_view text) {
    UiMessageBox(this, text, u"提示", MB_OK);
    m_action.Done();
    EndWindow(1);
}

LRESULT CFundTradeConfirmWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // While the request is out the page stays: its answer must be seen.
    if (m_action.Swallows(msg))
        return 0;
    return CLayoutBaseWnd::OnMessage(msg, wParam, lParam);
}

bool CFundTradeConfirmWnd::IgnoresBackSwipe() const {
    return m_action.IsBusy() || CLayoutBaseWnd::IgnoresBackSwipe();
}
