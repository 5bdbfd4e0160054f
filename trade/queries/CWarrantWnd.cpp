// The warrant form, its pre-check and the hand-over to the confirmation page.
#include "trade/queries/CWarrantWnd.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/app/TradeSession.h"
#include "framework/ui/CMakeChoiceWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/CUiMessageBox.h"
#include "trade/queries/CFundTradeConfirmWnd.h"
#include "trade/queries/AccountRequests.h"

namespace {

constexpr std::uint32_t kGrey = 0x646464;

std::string Narrow(std::u16string_view text) {
    return CAString::CAStringFromWide(text).str();
}

CAString CurrentAccount() {
    CAppData* app = CAppData::Instance();
    CAccountEntry* entry = app ? app->GetCurrentAccount() : nullptr;
    return entry ? entry->accountId : CAString();
}

std::u16string FieldOf(CDataSet& set, const char* name) {
    std::optional<CWString> value = set.GetFieldTextByName(name);
    return value ? value->str() : std::u16string();
}

} // namespace

CWarrantWnd::CWarrantWnd() {
    SetMiddleText(u"行权");
    // Nothing is asked before a code is typed.
    SetFirstShow(false);
    SetRefreshOnShow(false);
    SetAutoRefresh(false);
}

CWarrantWnd::~CWarrantWnd() {
    Destroy();
}

void CWarrantWnd::BuildForm() {
    CClientArea* page = GetClientArea();
    if (!page)
        return;
    static constexpr std::u16string_view kLabels[] = {u"股东代码:", u"行权代码:", u"证券名称:", u"行权价格:", u"可用资金:",
                                                      u"可用数量:", u"行权数量:", u"元", u"元"};
    for (int i = 0; i < 9; ++i) {
        if (!m_labels[i].Create(page, {}, kLabelId, true))
            continue;
        m_labels[i].SetText(kLabels[i]);
        m_labels[i].SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        m_labels[i].SetFontSize(24);
        m_labels[i].SetTextColor(0x000000);
    }
    const std::pair<UiEdit*, int> shown[] = {{&m_holder, kHolderId}, {&m_name, kNameId}, {&m_price, kPriceId},
                                             {&m_funds, kFundsId},   {&m_available, kAvailableId}};
    for (auto [edit, id] : shown) {
        if (!edit->Create(page, {}, id, true))
            continue;
        edit->SetReadOnly(true);
        edit->SetTextColor(kGrey);
    }
    m_name.SetSipMode(1, -1);
    if (m_code.Create(page, {}, kCodeId, true)) {
        m_code.SetTextColor(0x000000);
        m_code.SetLimitText(6);
    }
    if (m_quantity.Create(page, {}, kQuantityId, true)) {
        m_quantity.SetTextColor(0x000000);
        m_quantity.SetLimitText(9);
    }
    if (m_drop.Create(page, {}, kDropId, true))
        m_drop.SetStyle(UI_BTN_DROP);
    if (m_all.Create(page, {}, kAllId, true)) {
        m_all.SetStyle(UI_BTN_ROUND);
        m_all.SetText(u"全部");
        m_all.SetTextColor(0x000000);
    }
    const bool narrow = GetClientRect().Width() == 480;
    m_code.SetSipMode(narrow ? 9 : 4, narrow ? 65 : -1);
    m_quantity.SetSipMode(narrow ? 9 : 4, narrow ? 65 : -1);
    m_account = CurrentAccount();
    BuildHolders(nullptr);
    PlaceControls();
    if (m_code.GetLength() < 6)
        m_code.SetFocus();
}

void CWarrantWnd::PlaceControls() {
    for (int row = 0; row < 7; ++row)
        if (m_labels[row].IsCreated())
            m_labels[row].MoveWindow(GetRowRect(0, row));
    const CRect holder = GetRowRect(1, 0).Deflate(0, 5);
    m_holder.MoveWindow(holder);
    m_drop.MoveWindow({holder.right - 30, holder.top + 10, holder.right - 10, holder.bottom - 10});
    m_code.MoveWindow(GetRowRect(1, 1).Deflate(0, 5));
    m_name.MoveWindow(GetRowRect(1, 2).Deflate(0, 5));
    m_price.MoveWindow(GetRowRect3(1, 3).Deflate(0, 5));
    m_labels[7].MoveWindow(GetRowRect3(2, 3));
    m_funds.MoveWindow(GetRowRect3(1, 4).Deflate(0, 5));
    m_labels[8].MoveWindow(GetRowRect3(2, 4));
    m_available.MoveWindow(GetRowRect3(1, 5).Deflate(0, 5));
    const CRect all = GetRowRect3(2, 5).Deflate(0, 5);
    m_all.MoveWindow({all.left - 10, all.top, all.left - 10 + all.Width() + 30, all.bottom});
    m_quantity.MoveWindow(GetRowRect(1, 6).Deflate(0, 5));
}

void CWarrantWnd::OnLayout() {
    CLayoutBaseWnd::OnLayout();
    PlaceControls();
}

CRect CWarrantWnd::GetFormRect() const {
    return CLayoutBaseWnd::GetFormRect();
}

void CWarrantWnd::BuildHolders(const char* market) {
    m_items.clear();
    m_selected = -1;
    CAppData* app = CAppData::Instance();
    CDataSet* set = app ? app->GetHolderDataSet() : nullptr;
    if (set && set->MoveFirst()) {
        do {
            const std::string rowMarket = Narrow(FieldOf(*set, "market"));
            if (market && StrEqualNoCase(rowMarket.c_str(), market) != 0)
                continue;
            const std::u16string secuid = FieldOf(*set, "secuid");
            const std::string value =
                WarrantHolderParam(rowMarket, Narrow(secuid), Narrow(FieldOf(*set, "fundid")));
            if (value.empty())
                continue;
            CChoiceItem item;
            item.text.Assign(FieldOf(*set, "~market") + secuid);
            item.value.Assign(value);
            m_items.push_back(std::move(item));
        } while (set->MoveNext());
    }
    if (!m_items.empty())
        m_selected = 0;
    if (m_holder.IsCreated()) {
        m_holder.SetText(m_selected >= 0 ? m_items[0].text.view() : std::u16string_view());
        m_holder.Invalidate();
    }
}

void CWarrantWnd::OnHolderChosen(int index) {
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return;
    m_selected = index;
    for (size_t i = 0; i < m_items.size(); ++i)
        m_items[i].checked = static_cast<int>(i) == index;
    m_holder.SetText(m_items[index].text.view());
    m_holder.Invalidate();
}

void CWarrantWnd::ChooseHolder() {
    CMakeChoiceWnd picker(u"选择股东代码", this, 0);
    picker.SetItems(m_items.data(), static_cast<int>(m_items.size()));
    picker.Choose();
}

void CWarrantWnd::ClearPrecheck() {
    for (UiEdit* edit : {&m_name, &m_price, &m_funds, &m_available})
        edit->SetText(u"");
    m_precheckCode.clear();
    if (!m_market.empty()) {
        m_market.clear();
        BuildHolders(nullptr);
    }
    Invalidate();
}

void CWarrantWnd::CheckAccount() {
    const CAString now = CurrentAccount();
    if (now == m_account)
        return;
    m_account = now;
    m_market.clear();
    ClearPrecheck();
    BuildHolders(nullptr);
}

std::string CWarrantWnd::CodeText() const {
    return Narrow(m_code.GetText());
}

int CWarrantWnd::BuildRequest(CAString& out) {
    const std::string code = CodeText();
    const std::string text = BuildWarrantPrecheck(CurrentLoginId(), code);
    if (text.empty())
        return 0;
    m_precheckCode = code;
    out.Assign(text);
    return 1;
}

void CWarrantWnd::OnNetData(const std::uint8_t* data, int length, bool) {
    if (!data || length <= 0)
        return;
    CDataSetList list(data, length);
    if (ShowReplyError(list))
        return;
    // A reply for a code since changed says nothing of this one.
    if (m_precheckCode.empty() || m_precheckCode != CodeText())
        return;
    CDataSet* set = list.GetCount() > 0 ? *list.GetAt(0) : nullptr;
    if (!set || !set->MoveFirst()) {
        m_items.clear();
        m_selected = -1;
        m_holder.SetText(u"");
        return;
    }
    m_market = Narrow(FieldOf(*set, "market"));
    BuildHolders(m_market.c_str());
    m_name.SetText(FieldOf(*set, "stkname"));
    m_price.SetText(FieldOf(*set, "exerprice"));
    m_funds.SetText(FieldOf(*set, "fundavl"));
    const std::u16string available = FieldOf(*set, "stkavl");
    m_available.SetText(available.empty() ? u"0" : available);
    if (m_quantity.GetLength() == 0)
        m_quantity.SetFocus();
    Invalidate();
}

void CWarrantWnd::OnOk() {
    if (CClientArea* page = GetClientArea())
        page->SetScrollPos(page->GetScrollPos());
    OpenMenuChild(-1);
}

int CWarrantWnd::OpenMenuChild(int) {
    CheckAccount();
    const std::string code = CodeText();
    if (code.size() < 6) {
        UiMessageBox(this, kShortCode, u"提示", MB_OK);
        m_code.SetFocus();
        return 0;
    }
    if (m_price.GetLength() == 0 || m_precheckCode != code) {
        PostRequest(-1, 0);
        return 0;
    }
    if (m_selected < 0 || m_selected >= static_cast<int>(m_items.size())) {
        UiMessageBox(this, kNoHolder, u"提示", MB_OK);
        return 0;
    }
    const std::string qty = Narrow(m_quantity.GetText());
    if (qty.empty()) {
        UiMessageBox(this, kNoQuantity, u"提示", MB_OK);
        m_quantity.SetFocus();
        return 0;
    }
    if (!IsPositiveWholeNumber(qty)) {
        UiMessageBox(this, kBadQuantity, u"提示", MB_OK);
        m_quantity.SetFocus();
        return 0;
    }
    const std::string request =
        BuildWarrantExercise(code, Narrow(m_price.GetText()), qty, m_items[m_selected].value.view());
    if (request.empty()) {
        UiMessageBox(this, kShortCode, u"提示", MB_OK);
        return 0;
    }
    CFundTradeConfirmWnd page(u"权证行权确认", this);
    page.SetConfirm(WarrantConfirmText(m_code.GetText(), m_name.GetText(), m_price.GetText(), m_quantity.GetText()),
                    request.c_str());
    page.SetResultPrefix(u"委托已提交，合同序号为");
    page.Run();
    return 1;
}

bool CWarrantWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LowWord(wParam)) {
    case kDropId:
        ChooseHolder();
        return true;
    case kAllId:
        m_quantity.SetText(m_available.GetText());
        m_quantity.Invalidate();
        return true;
    default:
        return CLayoutBaseWnd::OnCommand(wParam, lParam);
    }
}

void CWarrantWnd::OnLButtonDown(UINT flags, CPoint pt) {
    if (m_code.HasFocus() || m_quantity.HasFocus())
        SetFocus();
    CLayoutBaseWnd::OnLButtonDown(flags, pt);
}

LRESULT CWarrantWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case UIM_EDIT_NOTIFY:
        if (CNotifyEdit::NotifyEditId(wParam) == kCodeId) {
            const int how = CNotifyEdit::NotifyEditCode(lParam);
            if (CodeText() != m_precheckCode)
                ClearPrecheck();
            if ((how == UI_EDIT_CHANGE_TYPED || how == UI_EDIT_CHANGE_DELETED) && m_code.GetLength() == 6) {
                SetFocus();
                PostRequest(-1, 0);
            }
        }
        break;
    case WND_MSG_PICKER_RESULT: {
        const int* chosen = reinterpret_cast<const int*>(lParam);
        if (wParam == 0 && chosen)
            OnHolderChosen(chosen[0]);
        FreeChoiceIndices(lParam);
        return 0;
    }
    default:
        break;
    }
    const LRESULT result = CLayoutBaseWnd::OnMessage(msg, wParam, lParam);
    if (msg == WND_MSG_CAPTION_TRADE || msg == WND_MSG_CHILD_CLOSED)
        CheckAccount();
    return result;
}

void CWarrantWnd::OnWindowShown() {
    CheckAccount();
    CLayoutBaseWnd::OnWindowShown();
}
