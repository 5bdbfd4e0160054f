// The stock order form ("buysale"): shareholder account, six-digit code,
// the stock's name, price type, price, the maximum the server allows, the
// quantity with its slider and "全部", and beside or below them the
// five-level quote panel whose rows tap a price into the form. The middle
// button ("买入" / "卖出") hands the order to the confirmation page
// (CTradeConfirmWnd), which sends it; the form itself only asks.
//
// Two queries, one road. A six-digit code asks the maximum quantity
// (500/4 buy, 500/5 sell, sealed); its reply names the stock, its market
// and price, narrows the holders to that market and asks the panel's quote
// (31000/4, unsealed), which the refresh timer repeats at any hour. The
// kind of each query travels with its post and is its request's kind, so
// a tick never turns one query into the other and a reply is read as what
// was asked. A query the busy worker refused is
// sent when it is free; one it could not keep is owed and goes with the
// next tick.
//
// Nothing stale: a changed code empties the name, price types, maximum,
// slider, quote code and panel; OK goes on only when the last reply is for
// the code shown (else the query is sent again); a quote reply for another
// stock is dropped. The holder the user picked stays through a re-query
// while it is among the market's rows.
//
// The margin form derives this one and sets its kinds 3..7 (SetTradeKind).
// Their maximum-quantity query is the margin form's preset request text
// with the login, password, code and fund id appended; kind 4 first asks
// the amount to repay (500/75) and shows it in a row of its own. Only
// kinds 1 and 2 are handed to the confirmation page here: a margin order
// is the margin form's to send (HandOver), never a plain one.
//
// CTradeBuySaleWndControls.cpp makes and places the controls and runs the
// pickers; the panel is COrderPanel; what needs no window is OrderForm.h.
#pragma once

#include "framework/ui/CLayoutBaseWnd.h"
#include "framework/ui/WndMessages.h"
#include "framework/ui/widgets/CGridCtrl.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiEdit.h"
#include "platform/ui/UiSlider.h"
#include "platform/ui/UiStatic.h"
#include "trade/orders/COrderPanel.h"
#include "trade/orders/CPriceTypeItem.h"
#include "trade/orders/OrderForm.h"
#include "trade/orders/OrderRequests.h"

#include <array>
#include <string>
#include <vector>

class CTradeBuySaleWnd : public CLayoutBaseWnd {
public:
    enum : int {
        kFieldId = 300,
        kLabelId = 302,
        kHolderDropId = 215,
        kCodeId = 216,
        kNameId = 212,
        kPriceTypeDropId = 234,
        kPriceId = 213,
        kAllId = 217,
        kQuantityId = 214,
        kSliderId = 181,
        kPanelId = 171,
        kRepayId = 235, // the repayment amount (kind 4)
    };
    // The two queries; the kind rides on the post's wParam. Kind 4's
    // maximum query is preceded by the repayment one while that is unknown.
    enum class Query { MaxQuantity = 0, Quote = 1, Repayment = 2 };
    enum : UINT { kMsgSendQuery = WND_MSG_ORDER_SEND_QUERY, kMsgTell = WND_MSG_ORDER_TELL };
    static constexpr std::uint32_t kGreyText = 0x646464;
    static constexpr std::uint32_t kDisabledPrice = 0x787878;

    CTradeBuySaleWnd();
    ~CTradeBuySaleWnd() override;
    const char* GetClassName() const override { return "CTradeBuySaleWnd"; }

    // What the form holds (GUI thread).
    int GetTradeKind() const { return m_kind; }
    // The margin form's kinds 3..7 (1 and 2 come from "MMLB"): labels,
    // middle button and, for kind 4, the repayment row follow.
    void SetTradeKind(int kind);
    const std::vector<CChoiceItem>& GetHolders() const { return m_holders; }
    int GetHolderIndex() const { return m_holderIndex; }
    const std::vector<CPriceTypeItem>& GetPriceTypes() const { return m_priceTypes; }
    int GetPriceTypeIndex() const { return m_priceTypeIndex; }
    bool IsMarketPriceType() const;
    const std::string& GetQuoteCode() const { return m_quoteCode; }
    std::u16string GetFieldText(int id) const;
    const UiSlider& GetSlider() const { return m_slider; }
    int GetSliderUnit() const { return m_sliderUnit; }
    const CGridCtrl& GetPanel() const { return m_panel; }

    int GetReplyCount() const { return m_replyCount; }

    void SelectHolder(int index);
    void SelectPriceType(int index);
    // Fills the price types for the trade market (PriceTypesFor) and
    // selects the first; no market empties them.
    void FillPriceTypes(const std::string& market);
    // Sends a query: its kind goes with the post.
    bool PostQuery(Query kind);

    // ---- Virtual operations ----
    void SetMenuParams(int menuId, const char* param, const char* request) override;
    void BuildForm() override;
    void OnOk() override;
    int BuildRequest(CAString& out) override;
    void OnNetReply(const CNetReply& reply) override;
    void OnRequestNotSent(NotSent why) override;
    void SendRefresh(RefreshCause cause) override;
    void OnRefreshTimer() override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnLayout() override;
    void OnPaint(CDC& dc) override;
    CRect GetFormRect() const override;

protected:
    // The order that passed the form's checks. Kinds 1 and 2 go to the
    // confirmation page; any other is the deriving form's to send.
    virtual void HandOver(const ConfirmEntry& entry, const CPriceTypeItem& priceType);

private:
    void PlaceControls();
    void ApplyLayout(const OrderFormLayout& l);
    void FillHolders(const char* market);
    void ResetForCode();
    void TakeMaxQuantity(CDataSetList& list, const std::string& askedCode);
    void TakeQuote(CDataSetList& list, bool networkFailure);
    void TakeRepayment(CDataSetList& list);
    void SetSideTexts();
    void TapPanelRow(int row);
    void ApplySlider(const QuantitySlider& s);
    void ChooseHolder();
    void ChoosePriceType();
    void StartRefreshTimer();
    void StopRefreshTimer() { KillTimer(kRefreshTimer); }
    void OnCodeChanged(int how);
    enum class Told { NoMarket, NoHolder, QuoteFailed, NoRepayment };
    void Tell(Told what);
    std::string EditAnsi(const UiWin& edit) const;

    int m_kind = 1;
    std::string m_openPrice;          // the opener's price, kept through the first reply
    int m_openMarket = -1, m_openType = -1;
    std::vector<CChoiceItem> m_holders;
    int m_holderIndex = -1;
    std::vector<CPriceTypeItem> m_priceTypes;
    int m_priceTypeIndex = -1;
    std::u16string m_stockName;
    std::string m_quoteCode;          // "code.market" of the panel; empty: no quote
    std::string m_replyCode;          // "stkcode" of the last maximum-quantity reply
    std::string m_replyMarket;        // its "market"
    std::string m_queriedCode;        // the code of the last maximum-quantity query sent
    int m_replyCount = 0;
    bool m_maxOwed = false;           // a maximum-quantity query the worker never took
    bool m_quoteErrorShown = false;   // a quote failure is told once
    int m_sliderUnit = 100;           // shares per slider position
    int m_refreshSeconds = 0;

    std::array<UiStatic, 7> m_labels;
    UiStatic m_repayLabel, m_repay;
    UiStatic m_holder, m_priceType, m_max, m_priceUnit, m_quantityUnit;
    UiButton m_holderDrop, m_priceTypeDrop, m_all;
    UiEdit m_code, m_name, m_price, m_quantity;
    UiSlider m_slider;
    COrderPanel m_panel;
};
