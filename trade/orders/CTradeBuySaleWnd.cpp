// The order form and its quote panel; see the header.
#include "trade/orders/CTradeBuySaleWnd.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "framework/app/TradeSession.h"
#include "framework/ui/CMakeChoiceWnd.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/WndMessages.h"
#include "platform/ui/CUiMessageBox.h"
#include "trade/orders/CTradeConfirmWnd.h"

#include <cstdlib>

// ---- Making ----

CTradeBuySaleWnd::CTradeBuySaleWnd() {
    SetMiddleText(u"买入");
    SetResendOnFailure(false);
    SetAutoRefresh(true);
    // The panel refreshes at any hour, unlike the quote tables.
    SetRefreshInTradingHoursOnly(false);
    if (CAppData* app = CAppData::Instance())
        m_refreshSeconds = std::atoi(app->GetSetting("Quote_RefeWait").c_str());
    SetRefreshInterval(m_refreshSeconds);
    SetAutoRefresh(m_refreshSeconds >= 1);
}

CTradeBuySaleWnd::~CTradeBuySaleWnd() {
    Destroy();
}

// ---- Queries ----

bool CTradeBuySaleWnd::PostQuery(Query kind) {
    return PostMessage(kMsgSendQuery, static_cast<WPARAM>(kind), 0);
}

void CTradeBuySaleWnd::SendRefresh(RefreshCause cause) {
    if (cause == RefreshCause::Timer) {
        PostQuery(m_maxOwed ? Query::MaxQuantity : Query::Quote);
        return;
    }
    // A show, the user or a confirmation page that closed: the maximum
    // again, whose reply asks the quote.
    if (IsSixDigitCode(EditAnsi(m_code)))
        PostQuery(Query::MaxQuantity);
}

void CTradeBuySaleWnd::OnRefreshTimer() {
    // The base's timer keeps no trading-hours gate here (turned off) and
    // skips while a query is out.
    CLayoutBaseWnd::OnRefreshTimer();
}

void CTradeBuySaleWnd::StartRefreshTimer() {
    if (m_refreshSeconds >= 1 && IsVisible())
        SetTimer(kRefreshTimer, static_cast<UINT>(m_refreshSeconds) * 1000u);
}

int CTradeBuySaleWnd::BuildRequest(CAString& out) {
    std::string text;
    if (Asking().kind == static_cast<int>(Query::Quote)) {
        SetSealRequest(false);
        text = PanelQuoteRequest(m_quoteCode);
    } else {
        SetSealRequest(true);
        const std::string fundid = m_holderIndex >= 0 && m_holderIndex < static_cast<int>(m_holders.size())
                                       ? GetUrlParamText(m_holders[m_holderIndex].value.c_str(), "fundid")
                                       : std::string();
        const std::string code = EditAnsi(m_code);
        if (m_kind < kKindBuyToReturn) {
            text = MaxQuantityRequest(CurrentLoginId(), CurrentTradePassword(), m_kind, code, fundid);
        } else if (m_kind == kKindSellToRepay && m_repay.GetText().empty()) {
            // The amount to repay first; its reply asks the maximum.
            Asking().kind = static_cast<int>(Query::Repayment);
            text = RepaymentRequest(CurrentLoginId(), fundid);
        } else {
            text = PresetQueryRequest(GetRequestText().view(), CurrentLoginId(), CurrentTradePassword(), code,
                                      fundid);
        }
        Asking().text = code;
        if (!text.empty())
            m_queriedCode = code;
    }
    if (text.empty())
        return 0;
    out.Assign(text);
    return 1;
}

void CTradeBuySaleWnd::OnRequestNotSent(NotSent why) {
    // A maximum query the worker never took is owed to the next tick.
    if (Asked().kind == static_cast<int>(Query::MaxQuantity) && (why == NotSent::WorkerBusy || why == NotSent::Abandoned)) {
        m_maxOwed = true;
        m_queriedCode.clear();
    }
}

void CTradeBuySaleWnd::OnNetReply(const CNetReply& reply) {
    const CAsked& sent = Asked();
    const int kind = sent.kind;
    if (kind < 0 || !reply.body || reply.length <= 0)
        return;
    CDataSetList list(reply.body, reply.length);
    if (kind == static_cast<int>(Query::Quote)) {
        TakeQuote(list, reply.networkFailure != 0);
        return;
    }
    if (ShowReplyError(list)) {
        // The answer was to the code asked; a later change asks again.
        m_queriedCode.clear();
        return;
    }
    if (kind == static_cast<int>(Query::Repayment)) {
        TakeRepayment(list);
        return;
    }
    TakeMaxQuantity(list, sent.text);
}

void CTradeBuySaleWnd::TakeRepayment(CDataSetList& list) {
    if (m_kind != kKindSellToRepay)
        return;
    CDataSet* set = list.GetCount() > 0 ? *list.GetAt(0) : nullptr;
    const std::optional<CWString> repay =
        set && set->MoveFirst() ? set->GetFieldTextByName("repay") : std::optional<CWString>();
    if (!repay || repay->IsEmpty()) {
        // Asked once per code: an empty answer is told, not asked again and again.
        m_queriedCode.clear();
        Tell(Told::NoRepayment);
        return;
    }
    m_repay.SetText(repay->view());
    // With the amount known the kind's own maximum query goes.
    PostQuery(Query::MaxQuantity);
}

void CTradeBuySaleWnd::TakeMaxQuantity(CDataSetList& list, const std::string& askedCode) {
    CDataSet* set = list.GetCount() > 0 ? *list.GetAt(0) : nullptr;
    if (!set || !set->MoveFirst())
        return;
    const auto text = [set](const char* name) {
        const std::optional<CWString> v = set->GetFieldTextByName(name);
        return v ? v->ToAnsi() : std::string();
    };
    // The stock answered for: the reply's own "stkcode", else the code asked.
    const std::string stkcode = set->FindColumn("stkcode") >= 0 ? text("stkcode") : askedCode;
    const std::string code = EditAnsi(m_code);
    // An answer for a code no longer shown changes nothing.
    if (stkcode != code)
        return;
    ++m_replyCount;
    m_maxOwed = false;
    m_replyCode = code;
    const std::optional<CWString> name = set->GetFieldTextByName("stkname");
    m_stockName = name ? name->str() : std::u16string();
    const std::string price = text("price");
    const std::string num = text("num");
    m_replyMarket = text("market");
    if (const std::optional<std::u16string> caption = FormCaption(m_kind, m_stockName))
        SetCaption(*caption);
    m_name.SetText(m_stockName);
    // The opener's price stands through the first answer only.
    if (!(m_replyCount == 1 && m_price.GetLength() > 0 && !m_openPrice.empty()) && !price.empty())
        m_price.SetText(AnsiToWide(price));
    if (m_replyMarket.empty()) {
        // Without a market no holder or price type can be right.
        FillHolders(nullptr);
        FillPriceTypes("");
        m_max.SetText(u"");
        m_quoteCode.clear();
        Tell(Told::NoMarket);
        Invalidate();
        return;
    }
    FillHolders(m_replyMarket.c_str());
    FillPriceTypes(m_replyMarket);
    m_max.SetText(AnsiToWide(num));
    ApplySlider(SliderForMaximum(std::atoll(num.c_str()), m_kind));
    if (m_holders.empty())
        Tell(Told::NoHolder);
    const std::string quoteCode = PanelQuoteCode(code, m_replyMarket);
    if (quoteCode != m_quoteCode) {
        m_quoteErrorShown = false;
        m_panel.SetRows(EmptyPanelRows());
    }
    m_quoteCode = quoteCode;
    if (!m_quoteCode.empty())
        PostQuery(Query::Quote);
    Invalidate();
}

void CTradeBuySaleWnd::ApplySlider(const QuantitySlider& s) {
    m_slider.EnableWindow(s.enabled);
    m_slider.SetRange(0, s.enabled ? s.max : 0);
    m_slider.SetPos(s.pos);
    m_sliderUnit = s.unit;
    if (!s.quantity.empty())
        m_quantity.SetText(AnsiToWide(s.quantity));
}

void CTradeBuySaleWnd::TakeQuote(CDataSetList& list, bool networkFailure) {
    if (list.IsError() || networkFailure) {
        if (!m_quoteErrorShown) {
            m_quoteErrorShown = true;
            Tell(Told::QuoteFailed);
        }
        return;
    }
    CDataSet* set = list.GetCount() > 0 ? *list.GetAt(0) : nullptr;
    if (!set || m_quoteCode.empty())
        return;
    // A quote for a stock no longer shown is dropped.
    const std::string rowCode = PanelRowCode(*set);
    if (rowCode.empty() || m_quoteCode.rfind(rowCode + ".", 0) != 0)
        return;
    CAppData* app = CAppData::Instance();
    PanelColors colors;
    if (app)
        colors = {app->GetColor(15), app->GetColor(16), app->GetColor(17)};
    const std::optional<std::vector<PanelRow>> rows = PanelRowsFrom(*set, colors);
    if (!rows)
        return;
    m_quoteErrorShown = false;
    m_panel.SetRows(*rows);
}

void CTradeBuySaleWnd::TapPanelRow(int row) {
    // Only under a limit price type.
    if (IsMarketPriceType() || !m_price.IsEnabled())
        return;
    if (const std::optional<std::u16string> price = m_panel.TakePrice(row)) {
        m_price.SetText(*price);
        m_price.Invalidate();
    }
}

// ---- The code, and what a change of it makes stale ----

void CTradeBuySaleWnd::ResetForCode() {
    m_replyCode.clear();
    m_replyMarket.clear();
    m_queriedCode.clear();
    m_stockName.clear();
    m_name.SetText(u"");
    FillPriceTypes("");
    m_max.SetText(u"");
    ApplySlider(QuantitySlider());
    m_quoteCode.clear();
    m_quoteErrorShown = false;
    FillHolders(nullptr);
    m_panel.SetRows(EmptyPanelRows());
}

void CTradeBuySaleWnd::OnCodeChanged(int how) {
    const std::string code = EditAnsi(m_code);
    if (code == m_queriedCode && IsSixDigitCode(code))
        return; // asked already (the program set it)
    if (code != m_replyCode)
        ResetForCode();
    if (IsSixDigitCode(code) && how != UI_EDIT_CHANGE_DELETED) {
        if (UiWin::GetFocus() == &m_code)
            SetFocus();
        PostQuery(Query::MaxQuantity);
    }
}

// ---- OK ----

void CTradeBuySaleWnd::OnOk() {
    if (CClientArea* page = GetClientArea())
        page->SetScrollPos(page->GetScrollPos()); // the page at rest
    OrderFormInput in;
    in.code = EditAnsi(m_code);
    in.replyCode = m_replyCode;
    in.replyHasMarket = !m_replyMarket.empty();
    in.hasHolder = m_holderIndex >= 0 && m_holderIndex < static_cast<int>(m_holders.size());
    const CPriceTypeItem* type =
        m_priceTypeIndex >= 0 && m_priceTypeIndex < static_cast<int>(m_priceTypes.size()) ? &m_priceTypes[m_priceTypeIndex]
                                                                                          : nullptr;
    in.bsflag = type ? type->GetCode() : std::string();
    in.marketPrice = type && type->IsMarketPrice();
    in.price = EditAnsi(m_price);
    in.quantity = EditAnsi(m_quantity);
    const OrderFault fault = CheckOrderForm(in);
    switch (fault) {
    case OrderFault::None:
        break;
    case OrderFault::Stale:
    case OrderFault::NoPrice:
        // The server's answer brings the right stock and its price.
        PostQuery(Query::MaxQuantity);
        return;
    default:
        UiMessageBox(this, OrderFaultText(fault), u"提示", MB_OK);
        if (fault == OrderFault::Code)
            m_code.SetFocus();
        else if (fault == OrderFault::NoQuantity || fault == OrderFault::Quantity)
            m_quantity.SetFocus();
        return;
    }
    ConfirmEntry entry;
    entry.code = AnsiToWide(in.code);
    entry.name = m_stockName.empty() ? entry.code : m_stockName;
    entry.price = in.marketPrice ? std::u16string(u"-") : AnsiToWide(in.price);
    entry.quantity = AnsiToWide(in.quantity);
    entry.holder = m_holders[m_holderIndex].value.str();
    const CPriceTypeItem shown(m_priceType.GetText(), type->GetCode());
    HandOver(entry, shown);
}

void CTradeBuySaleWnd::HandOver(const ConfirmEntry& entry, const CPriceTypeItem& priceType) {
    if (m_kind != kKindBuy && m_kind != kKindSell) {
        // A margin order sent as a plain one would be another trade.
        UiMessageBox(this, u"该委托类别不能在此提交！", u"提示", MB_OK);
        return;
    }
    StopRefreshTimer();
    CTradeConfirmWnd::Run(this, u"交易确认", m_kind == kKindBuy ? ConfirmMode::Buy : ConfirmMode::Sell, {entry},
                          &priceType);
}

// ---- Messages ----

LRESULT CTradeBuySaleWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kMsgSendQuery: {
        const Query kind = wParam == static_cast<WPARAM>(Query::Quote) ? Query::Quote : Query::MaxQuantity;
        // A tick while a query is out waits for the next one.
        if (kind == Query::Quote && IsRequestPending())
            return 0;
        if (kind == Query::MaxQuantity)
            m_maxOwed = false;
        SendRequest(-1, 0, static_cast<int>(kind));
        return 0;
    }
    case kMsgTell: {
        const auto what = static_cast<Told>(wParam);
        std::u16string_view told;
        switch (what) {
        case Told::QuoteFailed: told = u"取买卖盘信息错误！"; break;
        case Told::NoRepayment: told = u"未能取得需还款额！"; break;
        case Told::NoMarket: told = OrderFaultText(OrderFault::NoMarket); break;
        case Told::NoHolder: told = OrderFaultText(OrderFault::NoHolder); break;
        }
        const std::u16string text(told);
        if (CAppData* app = CAppData::Instance())
            app->ShowInfoMessage(text.c_str(), this);
        return 0;
    }
    case UIM_EDIT_NOTIFY:
        if (static_cast<int>(wParam) == kCodeId)
            OnCodeChanged(static_cast<int>(lParam));
        return 0;
    case WND_MSG_PICKER_RESULT: {
        const int* chosen = reinterpret_cast<const int*>(lParam);
        const int index = chosen ? chosen[0] : -1;
        if (wParam == 0)
            SelectHolder(index);
        else if (wParam == 1)
            SelectPriceType(index);
        FreeChoiceIndices(lParam);
        return 1;
    }
    default:
        return CLayoutBaseWnd::OnMessage(msg, wParam, lParam);
    }
}

bool CTradeBuySaleWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LowWord(wParam);
    const int code = HighWord(wParam);
    switch (id) {
    case kHolderDropId:
        ChooseHolder();
        return true;
    case kPriceTypeDropId:
        ChoosePriceType();
        return true;
    case kAllId:
        m_quantity.SetText(m_max.GetText());
        return true;
    case kSliderId:
        if (code == UI_SLIDER_RELEASED)
            m_quantity.SetText(AnsiToWide(SliderQuantity(m_slider.GetPos(), m_slider.GetRangeMax(), m_sliderUnit)));
        return true;
    case kPanelId:
        if (code == GRID_ROW_TAPPED)
            TapPanelRow(static_cast<int>(lParam));
        return true; // a tap beside the rows means nothing
    case kCodeId:
    case kNameId:
    case kQuantityId:
        if (code == EN_SETFOCUS) {
            StopRefreshTimer();
            if (id != kCodeId)
                EnsureVisible(id == kNameId ? static_cast<UiWin*>(&m_name) : &m_quantity);
        } else if (code == EN_KILLFOCUS) {
            StartRefreshTimer();
        }
        return true;
    case kPriceId:
        if (code == EN_SETFOCUS) {
            StopRefreshTimer();
            SetFocus();
            GetWndManager().ShowDigitInput(&m_price, u"请输入买入价格", this);
            StartRefreshTimer();
        }
        return true;
    default:
        return CLayoutBaseWnd::OnCommand(wParam, lParam);
    }
}

void CTradeBuySaleWnd::OnLButtonDown(UINT flags, CPoint pt) {
    UiWin* focus = UiWin::GetFocus();
    if (focus == &m_code || focus == &m_name || focus == &m_price || focus == &m_quantity)
        SetFocus();
    // A press on the holder or price-type text opens its picker.
    const CRect mine = GetScreenRect();
    const CPoint at{pt.x + mine.left, pt.y + mine.top};
    if (m_holder.IsCreated() && m_holder.GetScreenRect().Contains(at)) {
        ChooseHolder();
        return;
    }
    if (m_priceType.IsCreated() && m_priceType.GetScreenRect().Contains(at)) {
        ChoosePriceType();
        return;
    }
    CLayoutBaseWnd::OnLButtonDown(flags, pt);
}

// ---- Helpers ----

std::u16string CTradeBuySaleWnd::GetFieldText(int id) const {
    switch (id) {
    case kCodeId: return std::u16string(m_code.GetText());
    case kNameId: return std::u16string(m_name.GetText());
    case kPriceId: return std::u16string(m_price.GetText());
    case kQuantityId: return std::u16string(m_quantity.GetText());
    case kHolderDropId: return std::u16string(m_holder.GetText());
    case kPriceTypeDropId: return std::u16string(m_priceType.GetText());
    case kAllId: return std::u16string(m_max.GetText());
    case kRepayId: return std::u16string(m_repay.GetText());
    default: return {};
    }
}

std::string CTradeBuySaleWnd::EditAnsi(const UiWin& edit) const {
    std::string out;
    for (char16_t c : edit.GetText()) {
        if (c == 0 || c > 0x7E)
            return {}; // nothing but ASCII is a code, a price or a quantity
        out.push_back(static_cast<char>(c));
    }
    return out;
}

void CTradeBuySaleWnd::Tell(Told what) {
    // Told after the worker's send has returned, so no box holds it.
    PostMessage(kMsgTell, static_cast<WPARAM>(what), 0);
}
