// The phone-token application form; see the header.
#include "trade/dyncode/CMobileDynCodeApplyWnd.h"

#include "core/CDataSetList.h"
#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "framework/app/CSecretText.h"
#include "platform/gdi/CDC.h"
#include "framework/ui/CMakeChoiceWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/Clock.h"
#include "platform/ui/CUiMessageBox.h"
#include "platform/win/UiMessageLoop.h"
#include "trade/dyncode/DynCodeApply.h"
#include "trade/dyncode/DynCodeStore.h"
#include "trade/login/SalesDeptStore.h"
#include "trade/login/TradeAccountId.h"

namespace {
constexpr const char16_t* kRowLabels[4] = {u"营  业  部:", u"账号类型:", u"账      号:", u"密      码:"};
constexpr COLORREF kGrey = 0x646464;
} // namespace

CMobileDynCodeApplyWnd::CMobileDynCodeApplyWnd(std::u16string_view title) {
    SetCaption(title);
    SetWindowKind(kWindowKind);
    SetSealRequest(true);
    // One press, one application: never again after a network failure,
    // nothing on the first show.
    SetResendOnFailure(false);
    SetFirstShow(false);
    SetRefreshOnShow(false);
    SetAutoRefresh(false);
    if (const CAppData* app = CAppData::Instance()) {
        m_deptCode = app->GetSetting(kSalesDeptSetting).str();
        m_typeCode = app->GetSetting("Trade_ZHLX").str();
    }
}

CMobileDynCodeApplyWnd::~CMobileDynCodeApplyWnd() {
    WipeSecret(m_pendingText);
    Destroy();
}

CRect CMobileDynCodeApplyWnd::Row(int column, int row) const {
    return GetRowRect(column, row).Offset(0, kCaptionHeight);
}

void CMobileDynCodeApplyWnd::BuildForm() {
    RemoveClientArea();
    for (size_t i = 0; i < m_labels.size(); ++i) {
        if (!m_labels[i].Create(this, {}, kLabelId, true))
            return;
        m_labels[i].SetText(kRowLabels[i]);
        m_labels[i].SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        m_labels[i].SetTextColor(0x000000);
    }
    if (!m_deptBox.Create(this, {}, kLabelId, true) || !m_deptPicker.Create(this, {}, kDeptPickerId, true) ||
        !m_typeBox.Create(this, {}, kLabelId, true) || !m_typePicker.Create(this, {}, kTypePickerId, true) ||
        !m_account.Create(this, {}, kAccountId, true) || !m_password.Create(this, {}, kPasswordId, true))
        return;
    for (UiEdit* box : {&m_deptBox, &m_typeBox}) {
        box->SetReadOnly(true);
        box->SetTextColor(kGrey);
        // Taps on a shown choice reach the form, which opens its picker.
        box->EnableWindow(false);
    }
    m_deptPicker.SetStyle(UI_BTN_DROP);
    m_typePicker.SetStyle(UI_BTN_DROP);
    m_account.SetLimitText(kMaxAccountChars);
    m_account.SetHintText(u"请输入账号...");
    m_account.SetTextColor(0x000000);
    m_password.SetInputMode(UI_EDIT_INPUT_PASSWORD);
    m_password.SetLimitText(kMaxPasswordChars);
    m_password.SetHintText(u"请输入密码...");
    m_password.SetTextColor(0x000000);
    const bool wide = GetClientRect().Width() == 720;
    m_account.SetSipMode(wide ? 4 : 9, wide ? -1 : 65);
    m_password.SetSipMode(wide ? 4 : 9, wide ? -1 : 65);
    PlaceControls();
    FillChoiceLists();
    if (CAppData* app = CAppData::Instance(); app && !EnsureDynCodeTable(*app))
        Tell(u"DataBase Operation Failed!", u"ERR");
    m_account.SetFocus();
}

void CMobileDynCodeApplyWnd::PlaceControls() {
    if (!m_password.IsCreated())
        return;
    for (int i = 0; i < 4; ++i)
        m_labels[i].MoveWindow(Row(0, i));
    for (int i = 0; i < 2; ++i) {
        const CRect field = Row(1, i);
        (i == 0 ? m_deptBox : m_typeBox).MoveWindow(field);
        (i == 0 ? m_deptPicker : m_typePicker)
            .MoveWindow(CRect::FromSize(field.right - 30, field.top, 20, field.Height()));
    }
    m_account.MoveWindow(Row(1, 2));
    m_password.MoveWindow(Row(1, 3));
}

void CMobileDynCodeApplyWnd::OnLayout() {
    CLayoutBaseWnd::OnLayout();
    PlaceControls();
    if (const UiMessageLoop* loop = UiMessageLoop::Current()) {
        OnEditNotify(this, &m_account, loop->GetScreenMode(), 9, 4);
        OnEditNotify(this, &m_password, loop->GetScreenMode(), 9, 4);
    }
}

void CMobileDynCodeApplyWnd::FillChoiceLists() {
    m_depts.clear();
    CAppData* app = CAppData::Instance();
    std::optional<std::vector<SalesDept>> stored;
    if (app) {
        stored = LoadSalesDepts(*app);
        if (!stored)
            Tell(u"DB Operation Failed in CSalesDeptSetWnd::AddToDisplay!", u"ERR");
    }
    int selected = -1;
    if (stored) {
        for (const SalesDept& dept : *stored) {
            if (dept.code == m_deptCode)
                selected = static_cast<int>(m_depts.size());
            m_depts.push_back({dept.name, dept.code});
        }
    }
    // The built-in code, or one no longer listed, stands for the first row,
    // so the code sent is always that of the name shown.
    if (selected < 0 && !m_depts.empty())
        selected = 0;
    if (selected >= 0) {
        m_deptCode = m_depts[selected].code;
        m_deptBox.SetText(m_depts[selected].text);
    } else {
        m_deptCode.clear();
        m_deptBox.SetText(kNoDeptText);
        if (UiToolBar* bar = GetToolBar())
            bar->EnableButton(kToolbarMiddle, false);
        Tell(u"请在“软件设置”设置营业部信息！");
    }
    m_typeIndex = 0;
    for (int i = 0; i < 5; ++i)
        if (m_typeCode == kTradeAccountTypes[i].code)
            m_typeIndex = i;
    m_typeCode = kTradeAccountTypes[m_typeIndex].code;
    m_typeBox.SetText(kTradeAccountTypes[m_typeIndex].text);
}

// ---- Taps and pickers ----

void CMobileDynCodeApplyWnd::OnLButtonUp(UINT flags, CPoint pt) {
    if (!m_action.IsBusy()) {
        if (m_deptBox.GetRect().Contains(pt))
            PostMessage(WM_COMMAND, MakeWParam(kDeptPickerId, 0), 0);
        else if (m_typeBox.GetRect().Contains(pt))
            PostMessage(WM_COMMAND, MakeWParam(kTypePickerId, 0), 0);
    }
    if ((m_account.HasFocus() && !m_account.GetRect().Contains(pt)) ||
        (m_password.HasFocus() && !m_password.GetRect().Contains(pt))) {
        SetFocus();
        Invalidate();
    }
    CLayoutBaseWnd::OnLButtonUp(flags, pt);
}

bool CMobileDynCodeApplyWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LowWord(wParam)) {
    case kDeptPickerId:
        Choose(0);
        return true;
    case kTypePickerId:
        Choose(1);
        return true;
    default:
        return CLayoutBaseWnd::OnCommand(wParam, lParam);
    }
}

void CMobileDynCodeApplyWnd::Choose(int callerId) {
    if (m_action.IsBusy())
        return;
    std::vector<CChoiceItem> items;
    if (callerId == 0) {
        for (const CChoice& dept : m_depts) {
            CChoiceItem item;
            AddComboItem(dept.text, dept.code.c_str(), dept.code == m_deptCode, item);
            items.push_back(std::move(item));
        }
        if (items.empty())
            return;
    } else {
        for (int i = 0; i < 5; ++i) {
            CChoiceItem item;
            AddComboItem(kTradeAccountTypes[i].text, kTradeAccountTypes[i].code, i == m_typeIndex, item);
            items.push_back(std::move(item));
        }
    }
    CMakeChoiceWnd picker(callerId == 0 ? u"选择营业部" : u"选择账号类型", this, callerId);
    picker.SetItems(items.data(), static_cast<int>(items.size()));
    picker.Choose();
}

LRESULT CMobileDynCodeApplyWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WND_MSG_PICKER_RESULT: {
        const int* chosen = reinterpret_cast<const int*>(lParam);
        const int index = chosen ? chosen[0] : -1;
        FreeChoiceIndices(lParam);
        if (m_action.IsBusy())
            return 0;
        if (wParam == 0 && index >= 0 && index < static_cast<int>(m_depts.size())) {
            m_deptCode = m_depts[index].code;
            m_deptBox.SetText(m_depts[index].text);
        } else if (wParam == 1 && index >= 0 && index < 5) {
            m_typeIndex = index;
            m_typeCode = kTradeAccountTypes[index].code;
            m_typeBox.SetText(kTradeAccountTypes[index].text);
        }
        Invalidate();
        return 0;
    }
    default:
        // Nothing leaves the form while its application is out.
        if (m_action.Swallows(msg))
            return 0;
        break;
    }
    return CLayoutBaseWnd::OnMessage(msg, wParam, lParam);
}

void CMobileDynCodeApplyWnd::OnToolbarCommand(int index) {
    if (m_action.IsBusy())
        return;
    CLayoutBaseWnd::OnToolbarCommand(index);
}

bool CMobileDynCodeApplyWnd::IgnoresBackSwipe() const {
    return m_action.IsBusy() || CLayoutBaseWnd::IgnoresBackSwipe();
}

// ---- The application ----

void CMobileDynCodeApplyWnd::Tell(std::u16string_view text, std::u16string_view caption) {
    UiMessageBox(this, text, caption, MB_OK);
}

void CMobileDynCodeApplyWnd::OnOk() {
    CAppData* app = CAppData::Instance();
    if (m_action.IsBusy() || !app)
        return;
    Invalidate();
    if (m_account.GetLength() == 0) {
        Tell(u"请输入账号！");
        m_account.SetFocus();
        return;
    }
    if (m_password.GetLength() == 0) {
        Tell(u"请输入密码！");
        m_password.SetFocus();
        return;
    }
    if (m_deptCode.empty()) {
        Tell(u"请在“软件设置”设置营业部信息！");
        return;
    }
    const std::u16string mobile = RegisteredMobile(*app);
    const std::string typed = WideToAnsi(m_account.GetText());
    std::string password = WideToAnsi(m_password.GetText());
    const std::string account = NormalizeAccount(typed, m_typeCode, m_deptCode);
    const std::string mobileText = WideToAnsi(mobile);
    CDynCodeApplyFields fields;
    fields.typeCode = m_typeCode;
    fields.deptCode = m_deptCode;
    fields.accountId = account;
    fields.password = password;
    fields.mobile = mobileText;
    WipeSecret(m_pendingText);
    const DynCodeApplyRefusal refusal = AppendDynCodeApplyRequest(fields, m_pendingText);
    WipeSecret(password);
    if (refusal == DynCodeApplyRefusal::NoMobile) {
        Tell(u"本机未登记手机号码，无法申请手机令牌！");
        return;
    }
    if (refusal != DynCodeApplyRefusal::None) {
        Tell(u"账号或密码中不能含有“&”、“=”、“%”等字符！");
        return;
    }
    m_mobile = mobile;
    EnableToolbar(false);
    // A refusal reaches OnRequestNotSent, which tells it.
    m_action.Send();
    WipeSecret(m_pendingText);
}

int CMobileDynCodeApplyWnd::BuildRequest(CAString& out) {
    if (m_pendingText.empty())
        return 0;
    out.Assign(m_pendingText);
    return 1;
}

void CMobileDynCodeApplyWnd::EndAttempt() {
    m_action.Done();
    EnableToolbar(true);
    if (m_deptCode.empty())
        if (UiToolBar* bar = GetToolBar())
            bar->EnableButton(kToolbarMiddle, false);
}

void CMobileDynCodeApplyWnd::OnRequestNotSent(NotSent why) {
    const std::optional<ActionEnd> end = m_action.TakeNotSent(why);
    if (!end)
        return;
    EndAttempt();
    m_action.TellFailure(*end);
}

void CMobileDynCodeApplyWnd::OnNetReply(const CNetReply& reply) {
    const std::optional<ActionEnd> end = m_action.TakeReply(reply);
    if (!end)
        return;
    EndAttempt();
    CAppData* app = CAppData::Instance();
    if (*end != ActionEnd::Answered || !app) {
        m_action.TellFailure(*end == ActionEnd::Answered ? ActionEnd::Unknown : *end);
        return;
    }
    CDataSetList sets(reply.body, reply.length);
    const CDynCodeApplyReply read = ReadDynCodeApplyReply(sets);
    switch (read.kind) {
    case CDynCodeApplyReply::Kind::Error:
        app->ShowInfoMessage(read.errorText.c_str(), this);
        return;
    case CDynCodeApplyReply::Kind::BadFormat:
        Tell(u"数据接收不全或格式错误，手机令牌未保存");
        return;
    case CDynCodeApplyReply::Kind::BadSeed:
        Tell(u"令牌种子格式错误，手机令牌未保存");
        return;
    case CDynCodeApplyReply::Kind::NoAccount:
        Tell(u"应答中没有账号，手机令牌未保存");
        return;
    case CDynCodeApplyReply::Kind::Ok:
        break;
    }
    if (!StoreDynCodeApplication(*app, read, m_mobile, CClock::Instance().UtcSeconds())) {
        Tell(u"DataBase Operation Failed!", u"ERR");
        return;
    }
    Tell(u"手机令牌申请成功");
    EndWindow(1);
}
