// The confirmation page: its lines, the press that sends, and the outcome.
#include "trade/orders/CTradeConfirmWnd.h"

#include "core/CDataSetList.h"
#include "framework/app/CAppData.h"
#include "framework/app/TradeMarket.h"
#include "framework/app/TradeSession.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/WndMessages.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CUiMessageBox.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr char16_t kCaptionHint[] = u"提示";
constexpr char16_t kCaptionInfo[] = u"信息";

} // namespace

CTradeConfirmWnd::CTradeConfirmWnd() {
    // The order's parameters travel sealed; it is never resent.
    SetSealRequest(true);
    SetResendOnFailure(false);
}

CTradeConfirmWnd::~CTradeConfirmWnd() {
    Destroy();
}

int CTradeConfirmWnd::Run(UiWin* parent, std::u16string_view title, ConfirmMode mode,
                          const std::vector<ConfirmEntry>& entries, const CPriceTypeItem* priceType) {
    auto page = std::make_unique<CTradeConfirmWnd>();
    for (const ConfirmEntry& entry : entries)
        page->SetOrder(mode, entry, priceType);
    if (page->GetEntryCount() == 0)
        return -1;
    const std::u16string caption(title);
    const COpenResult r = CBaseWnd::GetWndManager().RunWindow(std::move(page), -1, caption.c_str(), nullptr, nullptr,
                                                              parent, ANIM_SLIDE_UP, ANIM_SLIDE_DOWN);
    return r ? r.closeCode : -1;
}

bool CTradeConfirmWnd::SetOrder(ConfirmMode mode, const ConfirmEntry& entry, const CPriceTypeItem* priceType) {
    if (priceType)
        m_priceType = priceType->IsComplete() ? *priceType : CPriceTypeItem();
    return BuildConfirmText(mode, entry);
}

bool CTradeConfirmWnd::BuildConfirmText(ConfirmMode mode, const ConfirmEntry& entry) {
    if (mode == ConfirmMode::None)
        return false;
    if (m_mode == ConfirmMode::None) {
        if (entry.code.empty() || entry.name.empty() || entry.price.empty() || entry.quantity.empty() ||
            entry.holder.empty() || (mode == ConfirmMode::Cancel && entry.serial.empty()))
            return false;
        m_mode = mode;
    } else if (mode != m_mode) {
        return false;
    }
    m_entries.push_back(entry);
    // A cancel shows no price type: none is passed for it.
    const CPriceTypeItem* shown = mode == ConfirmMode::Cancel ? nullptr : GetPriceType();
    for (std::u16string& line : ConfirmLines(mode, entry, shown))
        m_lines.push_back(std::move(line));
    return true;
}

void CTradeConfirmWnd::BuildForm() {
    CClientArea* page = GetClientArea();
    if (!page)
        return;
    const unsigned format = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
    if (m_title.Create(page, {}, kLabelId, true)) {
        m_title.SetText(u"请确认您的操作:");
        m_title.SetFontSize(kTitleFontSize);
        m_title.SetFormat(format);
        m_title.SetTextColor(0x000000);
    }
    for (const std::u16string& line : m_lines) {
        auto label = std::make_unique<UiStatic>();
        if (!label->Create(page, {}, kLabelId, true))
            continue;
        label->SetText(line);
        label->SetFontSize(kLineFontSize);
        label->SetFormat(format);
        label->SetTextColor(0x000000);
        m_lineLabels.push_back(std::move(label));
    }
    PlaceLabels();
}

void CTradeConfirmWnd::PlaceLabels() {
    CClientArea* page = GetClientArea();
    if (!page)
        return;
    if (m_title.IsCreated()) {
        CRect r = GetRowRect(0, 0);
        r.right += 100;
        m_title.MoveWindow(r);
    }
    const int right = GetFormRect().Width() - kLeftMargin;
    for (size_t i = 0; i < m_lineLabels.size(); ++i) {
        const CRect row = GetRowRect(0, static_cast<int>(i) + 1);
        m_lineLabels[i]->MoveWindow({kLeftMargin, row.top, right, row.bottom});
    }
    page->SetContentHeight(kTopOffset + static_cast<int>(m_lineLabels.size() + 1) * kRowHeight);
}

void CTradeConfirmWnd::OnLayout() {
    CLayoutBaseWnd::OnLayout();
    CClientArea* page = GetClientArea();
    const int scroll = page ? page->GetScrollPos() : 0;
    if (page)
        page->SetScrollPos(0);
    PlaceLabels();
    if (page)
        page->SetScrollPos(scroll);
}

void CTradeConfirmWnd::OnOk() {
    if (m_action.IsBusy())
        return;
    EnableToolbar(false);
    SubmitCurrent();
}

void CTradeConfirmWnd::OnToolbarCommand(int index) {
    // A press that reached the bar while the request is out changes nothing.
    if (m_action.IsBusy())
        return;
    CLayoutBaseWnd::OnToolbarCommand(index);
}

bool CTradeConfirmWnd::IgnoresBackSwipe() const {
    return m_action.IsBusy() || CLayoutBaseWnd::IgnoresBackSwipe();
}

bool CTradeConfirmWnd::SubmitCurrent() {
    if (m_action.IsBusy())
        return false;
    while (m_current < GetEntryCount()) {
        if (m_mode == ConfirmMode::Batch) {
            const std::vector<int> incomplete = IncompleteBatchEntries(m_entries);
            if (!incomplete.empty()) {
                std::u16string text = u"以下委托资料不全，未提交：第";
                for (size_t i = 0; i < incomplete.size(); ++i) {
                    if (i > 0)
                        text += u"、";
                    for (char c : std::to_string(incomplete[i] + 1))
                        text += static_cast<char16_t>(c);
                }
                text += u"笔";
                UiMessageBox(this, text, kCaptionHint, MB_OK);
            }
            if (incomplete.size() == m_entries.size()) {
                m_current = GetEntryCount();
                break;
            }
        } else {
            const OrderFault fault = CheckEntry(m_mode, m_entries[static_cast<size_t>(m_current)], GetPriceType());
            if (fault != OrderFault::None) {
                UiMessageBox(this, OrderFaultText(fault), kCaptionHint, MB_OK);
                ++m_current;
                continue;
            }
        }
        // The login is the account's now; without one, or with a password
        // that cannot travel, nothing goes and the page stays.
        const std::string login = CurrentLoginId();
        if (login.empty() || (m_mode != ConfirmMode::Cancel && !IsSendablePassword(CurrentTradePassword()))) {
            UiMessageBox(this, login.empty() ? u"请先登录交易账号" : u"交易密码有误，请重新登录", kCaptionHint, MB_OK);
            EnableToolbar(true);
            return false;
        }
        // A refusal reaches OnRequestNotSent, which tells it.
        return m_action.Send();
    }
    Finish();
    return false;
}

int CTradeConfirmWnd::BuildRequest(CAString& out) {
    if (m_current >= GetEntryCount())
        return 0;
    const ConfirmEntry& entry = m_entries[static_cast<size_t>(m_current)];
    std::string text;
    switch (m_mode) {
    case ConfirmMode::Buy:
    case ConfirmMode::Sell:
        if (m_priceType)
            text = OrderRequest(CurrentLoginId(), CurrentTradePassword(), entry, *m_priceType, m_mode);
        break;
    case ConfirmMode::Cancel:
        text = CancelRequest(CurrentLoginId(), entry);
        break;
    case ConfirmMode::Batch:
        text = BatchRequest(CurrentLoginId(), CurrentTradePassword(), m_entries, nullptr);
        break;
    case ConfirmMode::None:
        break;
    }
    if (text.empty())
        return 0;
    out.Assign(text);
    return 1;
}

void CTradeConfirmWnd::OnRequestNotSent(NotSent why) {
    const std::optional<ActionEnd> end = m_action.TakeNotSent(why);
    if (!end)
        return;
    if (*end == ActionEnd::NotSent) {
        // It never left: the user may press again.
        m_action.TellFailure(*end);
        EnableToolbar(true);
        return;
    }
    m_outcome = {{std::u16string(m_action.FailureText(*end)), kCaptionInfo}};
    m_watchItem.clear();
    TellLater();
}

void CTradeConfirmWnd::OnNetReply(const CNetReply& reply) {
    const std::optional<ActionEnd> end = m_action.TakeReply(reply);
    if (!end)
        return;
    if (*end == ActionEnd::NotSent) {
        // Nothing left: told once the worker's send has returned, and the
        // press may be made again.
        if (!PostMessage(kMsgTellNotSent, 0, 0))
            EnableToolbar(true);
        return;
    }
    m_outcome.clear();
    m_watchItem.clear();
    if (*end == ActionEnd::Unknown)
        m_outcome.push_back({std::u16string(m_action.FailureText(*end)), kCaptionInfo});
    else
        ReadReply(reply);
    TellLater();
}

void CTradeConfirmWnd::TellLater() {
    // Told after the worker's send has returned, so no box holds it.
    if (!PostMessage(kMsgTellOutcome, 0, 0)) {
        m_action.Done();
        Finish();
    }
}

void CTradeConfirmWnd::ReadReply(const CNetReply& reply) {
    CDataSetList list(reply.body, reply.length);
    if (list.IsError()) {
        m_outcome.push_back({list.GetErrorText().str(), kCaptionInfo});
        return;
    }
    CDataSet* set = *list.GetAt(0);
    const ConfirmEntry& entry = m_entries[static_cast<size_t>(std::min(m_current, GetEntryCount() - 1))];
    switch (m_mode) {
    case ConfirmMode::Buy:
    case ConfirmMode::Sell: {
        if (!set || !set->MoveFirst() || set->GetColumnCount() == 0) {
            m_outcome.push_back({u"请务必在当日委托中查询确认!", kCaptionInfo});
            return;
        }
        m_outcome.push_back({u"委托已提交,合同序号为" + set->GetFieldText(0).str(), kCaptionHint});
        // The stock key of the holder's market, B shares included.
        const int quoteMarket = TradeMarketToQuoteMarket(ReadHolderParams(entry.holder).market.c_str());
        if (m_mode == ConfirmMode::Buy)
            m_watchItem = CWString(entry.code).ToAnsi() + (quoteMarket ? ".0" + std::to_string(quoteMarket) : "");
        return;
    }
    case ConfirmMode::Cancel:
        m_outcome.push_back({u"撤单已提交!", kCaptionInfo});
        return;
    case ConfirmMode::Batch:
        if (!set || !set->MoveFirst()) {
            m_outcome.push_back({u"请务必在当日委托中查询确认!", kCaptionInfo});
            return;
        }
        do {
            std::u16string text = set->GetFieldText(0).str();
            if (set->GetColumnCount() > 1)
                text += u" " + set->GetFieldText(1).str();
            m_outcome.push_back({text, kCaptionInfo});
        } while (set->MoveNext());
        return;
    case ConfirmMode::None:
        return;
    }
}

void CTradeConfirmWnd::Finish() {
    m_action.Done();
    EnableToolbar(true);
    EndWindow(1);
}

LRESULT CTradeConfirmWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kMsgTellNotSent:
        if (m_action.IsReady()) {
            m_action.TellFailure(ActionEnd::NotSent);
            EnableToolbar(true);
        }
        return 0;
    case kMsgTellOutcome: {
        if (m_action.GetState() != CActionSend::State::Telling)
            return 0;
        for (const Message& m : m_outcome)
            UiMessageBox(this, m.text, m.caption, MB_OK);
        if (!m_watchItem.empty())
            if (CAppData* app = CAppData::Instance())
                app->AddToWatchList(m_watchItem.c_str(), this);
        m_outcome.clear();
        m_watchItem.clear();
        ++m_current;
        m_action.Done();
        if (m_mode != ConfirmMode::Batch && m_current < GetEntryCount())
            SubmitCurrent();
        else
            Finish();
        return 0;
    }
    default:
        // Nothing leaves the page while its request is out: its answer
        // would find no one to tell.
        if (m_action.Swallows(msg))
            return 0;
        break;
    }
    return CLayoutBaseWnd::OnMessage(msg, wParam, lParam);
}
