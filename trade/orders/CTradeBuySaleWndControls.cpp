// The order form's controls: making them, the side's texts, their layout
// and the holder and price-type pickers. The form itself is in
// CTradeBuySaleWnd.cpp; see the header.
#include "trade/orders/CTradeBuySaleWnd.h"

#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "framework/ui/CMakeChoiceWnd.h"
#include "platform/gdi/CDC.h"

#include <algorithm>
#include <tuple>

namespace {
constexpr const char16_t* kBuyLabels[7] = {u"股东代码:", u"证券代码:", u"证券名称:", u"报价方式:",
                                           u"买入价格:", u"最大可买:", u"买入数量:"};
constexpr const char16_t* kSellLabels[3] = {u"卖出价格:", u"最大可卖:", u"卖出数量:"};
constexpr int kLabelFont = 24;  // pixels
} // namespace

void CTradeBuySaleWnd::BuildForm() {
    CClientArea* page = GetClientArea();
    if (!page)
        return;
    for (int i = 0; i < 7; ++i) {
        if (!m_labels[i].Create(page, {}, kLabelId, true))
            return;
        m_labels[i].SetText(kBuyLabels[i]);
        m_labels[i].SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        m_labels[i].SetFontSize(kLabelFont);
        m_labels[i].SetTextColor(0x000000);
    }
    if (!m_repayLabel.Create(page, {}, kLabelId, m_kind == kKindSellToRepay))
        return;
    m_repayLabel.SetText(u"需还款额:");
    m_repayLabel.SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    m_repayLabel.SetFontSize(kLabelFont);
    m_repayLabel.SetTextColor(0x000000);
    // Kind 4's amount to repay has an id of its own; the other display
    // fields share one.
    const bool repay = m_kind == kKindSellToRepay;
    for (auto [field, id, shown] : {std::tuple{&m_holder, +kFieldId, true}, std::tuple{&m_priceType, +kFieldId, true},
                                    std::tuple{&m_max, +kFieldId, true}, std::tuple{&m_repay, +kRepayId, repay}}) {
        if (!field->Create(page, {}, id, shown))
            return;
        field->SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        field->SetFontSize(kLabelFont);
        field->SetTextColor(kGreyText);
        field->EnableWindow(false);
    }
    for (auto [unit, text] : {std::pair{&m_priceUnit, u"元"}, std::pair{&m_quantityUnit, u"股"}}) {
        if (!unit->Create(page, {}, kLabelId, true))
            return;
        unit->SetText(text);
        unit->SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        unit->SetFontSize(kLabelFont);
        unit->SetTextColor(0x000000);
    }
    if (!m_holderDrop.Create(page, {}, kHolderDropId, true) || !m_priceTypeDrop.Create(page, {}, kPriceTypeDropId, true) ||
        !m_all.Create(page, {}, kAllId, true) || !m_code.Create(page, {}, kCodeId, true) ||
        !m_name.Create(page, {}, kNameId, true) || !m_price.Create(page, {}, kPriceId, true) ||
        !m_quantity.Create(page, {}, kQuantityId, true) || !m_slider.Create(page, {}, kSliderId, true) ||
        !m_panel.Create(page, {}, kPanelId, true))
        return;
    m_holderDrop.SetStyle(UI_BTN_DROP);
    m_priceTypeDrop.SetStyle(UI_BTN_DROP);
    m_all.SetStyle(UI_BTN_ROUND);
    m_all.SetText(u"全部");
    m_code.SetLimitText(6);
    m_quantity.SetLimitText(9);
    m_price.SetLimitText(12);
    for (UiEdit* edit : {&m_code, &m_name, &m_price, &m_quantity})
        edit->SetTextColor(0x000000);
    const bool narrow = GetClientRect().Width() == 480;
    m_code.SetSipMode(narrow ? 9 : 4, narrow ? 65 : 0);
    m_name.SetSipMode(1, narrow ? 65 : 0);
    m_quantity.SetSipMode(narrow ? 9 : 4, narrow ? 65 : 0);
    m_slider.SetRange(0, 100);
    m_slider.SetPos(0);
    m_panel.SetUp();
    SetSideTexts();
    FillHolders(nullptr);
    m_panel.SetRows(EmptyPanelRows());
    PlaceControls();
}

void CTradeBuySaleWnd::SetSideTexts() {
    // The side is the kind's parity: the margin buys (3, 5) read as buys.
    const bool buy = m_kind % 2 == 1;
    if (m_labels[4].IsCreated())
        for (int i = 0; i < 3; ++i)
            m_labels[4 + i].SetText(buy ? kBuyLabels[4 + i] : kSellLabels[i]);
    const char16_t* middle = buy ? u"买入" : u"卖出";
    SetMiddleText(middle);
    if (UiToolBar* bar = GetToolBar())
        bar->SetMiddleText(middle);
}

void CTradeBuySaleWnd::SetTradeKind(int kind) {
    m_kind = kind;
    SetSideTexts();
    if (!m_repay.IsCreated())
        return; // the form is made with it
    const bool repay = m_kind == kKindSellToRepay;
    m_repayLabel.ShowWindow(repay);
    m_repay.ShowWindow(repay);
    if (!repay)
        m_repay.SetText(u"");
    // The price types are the side's; a new reply fills them again.
    FillPriceTypes(m_replyMarket);
    PlaceControls();
    Invalidate();
}

void CTradeBuySaleWnd::PlaceControls() {
    CClientArea* page = GetClientArea();
    if (!page || !m_panel.IsCreated())
        return;
    const int scroll = page->GetScrollPos();
    page->SetScrollPos(0);
    const OrderFormLayout l = LayoutOrderForm(GetClientRect().Width(), m_kind);
    ApplyLayout(l);
    page->SetContentHeight(std::max(l.form.bottom, l.panel.bottom) + 20);
    page->SetScrollPos(scroll);
}

void CTradeBuySaleWnd::ApplyLayout(const OrderFormLayout& l) {
    for (int i = 0; i < 7; ++i)
        m_labels[i].MoveWindow(l.labels[i]);
    m_holder.MoveWindow({l.holder.left, l.holder.top, l.holderDrop.left, l.holder.bottom});
    m_holderDrop.MoveWindow(l.holderDrop);
    m_code.MoveWindow(l.code.Deflate(0, 8));
    m_name.MoveWindow(l.name.Deflate(0, 8));
    m_priceType.MoveWindow({l.priceType.left, l.priceType.top, l.priceTypeDrop.left, l.priceType.bottom});
    m_priceTypeDrop.MoveWindow(l.priceTypeDrop);
    m_price.MoveWindow(l.price.Deflate(0, 8));
    m_priceUnit.MoveWindow(l.priceUnit);
    m_max.MoveWindow(l.max);
    m_all.MoveWindow(l.all.Deflate(0, 8));
    m_quantity.MoveWindow(l.quantity.Deflate(0, 8));
    m_quantityUnit.MoveWindow(l.quantityUnit);
    m_slider.MoveWindow(l.slider.Deflate(0, 15));
    if (l.hasRepay) {
        m_repayLabel.MoveWindow(l.repayLabel);
        m_repay.MoveWindow(l.repay);
    }
    m_panel.SetRowHeight(l.panelRowHeight);
    m_panel.MoveWindow(l.panel);
}

void CTradeBuySaleWnd::OnLayout() {
    CLayoutBaseWnd::OnLayout();
    PlaceControls();
}

CRect CTradeBuySaleWnd::GetFormRect() const {
    return LayoutOrderForm(GetClientRect().Width(), m_kind).form;
}

void CTradeBuySaleWnd::OnPaint(CDC& dc) {
    CLayoutBaseWnd::OnPaint(dc);
    if (!m_panel.IsCreated() || !m_panel.IsVisible())
        return;
    // The panel sits in a rounded, shadowed box, a little wider than its rows.
    const CRect mine = GetScreenRect();
    const CRect panel = m_panel.GetScreenRect().Offset(-mine.left, -mine.top);
    DrawRoundButton(dc, panel.Deflate(-4, -4), true);
}

// ---- Parameters ----

void CTradeBuySaleWnd::SetMenuParams(int menuId, const char* param, const char* request) {
    CLayoutBaseWnd::SetMenuParams(menuId, param, request);
    const OrderFormParams p = ReadOrderFormParams(request ? request : "");
    // A margin preset: that form has set its kind and sets its code.
    if (p.credit)
        return;
    if (p.kind != m_kind)
        SetTradeKind(p.kind);
    m_openPrice = p.price;
    m_openMarket = p.quoteMarket;
    m_openType = p.type;
    m_price.SetText(AnsiToWide(p.price));
    if (p.quoteMarket >= 0 && p.type >= 0) {
        const int index = HolderByQuoteMarket(m_holders, p.quoteMarket, p.type);
        if (index >= 0)
            SelectHolder(index);
    }
    // The first show sends the query; the code's own change notice then
    // finds it asked already.
    m_code.SetText(AnsiToWide(p.code));
    if (!IsSixDigitCode(p.code))
        m_code.SetFocus();
}

// ---- Holders and price types ----

void CTradeBuySaleWnd::FillHolders(const char* market) {
    CAppData* app = CAppData::Instance();
    const std::string kept =
        m_holderIndex >= 0 && m_holderIndex < static_cast<int>(m_holders.size()) ? m_holders[m_holderIndex].value.str()
                                                                                 : std::string();
    m_holders = HolderItems(app ? app->GetHolderDataSet() : nullptr, market);
    m_holderIndex = -1;
    SelectHolder(KeepHolder(m_holders, kept));
    if (m_holderIndex < 0)
        m_holder.SetText(u"");
}

void CTradeBuySaleWnd::SelectHolder(int index) {
    if (index < 0 || index >= static_cast<int>(m_holders.size()))
        return;
    for (size_t i = 0; i < m_holders.size(); ++i)
        m_holders[i].checked = static_cast<int>(i) == index;
    m_holderIndex = index;
    m_holder.SetText(m_holders[index].text.view());
}

void CTradeBuySaleWnd::FillPriceTypes(const std::string& market) {
    m_priceTypes = market.empty() ? std::vector<CPriceTypeItem>() : PriceTypesFor(market, m_kind);
    m_priceTypeIndex = -1;
    m_priceType.SetText(u"");
    SelectPriceType(0);
    if (m_priceTypes.empty()) {
        m_price.EnableWindow(true);
        m_price.SetTextColor(0x000000);
    }
}

void CTradeBuySaleWnd::SelectPriceType(int index) {
    if (index < 0 || index >= static_cast<int>(m_priceTypes.size()))
        return;
    m_priceTypeIndex = index;
    m_priceType.SetText(m_priceTypes[index].GetName());
    const bool limit = !m_priceTypes[index].IsMarketPrice();
    m_price.EnableWindow(limit);
    m_price.SetTextColor(limit ? 0x000000 : kDisabledPrice);
}

bool CTradeBuySaleWnd::IsMarketPriceType() const {
    return m_priceTypeIndex >= 0 && m_priceTypeIndex < static_cast<int>(m_priceTypes.size()) &&
           m_priceTypes[m_priceTypeIndex].IsMarketPrice();
}

void CTradeBuySaleWnd::ChooseHolder() {
    std::vector<CChoiceItem> items = m_holders;
    CMakeChoiceWnd picker(u"选择股东代码", this, 0);
    picker.SetItems(items.data(), static_cast<int>(items.size()));
    picker.Choose();
}

void CTradeBuySaleWnd::ChoosePriceType() {
    if (m_priceTypes.empty())
        return;
    std::vector<CChoiceItem> items;
    for (size_t i = 0; i < m_priceTypes.size(); ++i) {
        CChoiceItem item;
        AddComboItem(m_priceTypes[i].GetName(), m_priceTypes[i].GetCode().c_str(),
                     static_cast<int>(i) == m_priceTypeIndex, item);
        items.push_back(std::move(item));
    }
    CMakeChoiceWnd picker(u"选择报价方式", this, 1);
    picker.SetItems(items.data(), static_cast<int>(items.size()));
    picker.Choose();
}
