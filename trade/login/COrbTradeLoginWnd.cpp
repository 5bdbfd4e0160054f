// The trade login form and its one send; see the header.
#include "trade/login/COrbTradeLoginWnd.h"

#include "core/CDataSetList.h"
#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "framework/ui/CMakeChoiceWnd.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/WndMessages.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/CUiMessageBox.h"
#include "trade/dyncode/DynCodeStore.h"
#include "trade/login/CTradeLoginAccountWnd.h"
#include "trade/login/SalesDeptStore.h"
#include "trade/login/TradeAccountHistory.h"
#include "trade/login/TradeAccountId.h"
#include "trade/login/TradeLoginText.h"

#include <algorithm>
#include <cstring>

namespace {
// Opens the phone-token window over the form (posted by the question after
// a refused token).
constexpr UINT kMsgOpenDynCode = WND_MSG_OPEN_DYNCODE;

struct CAccountType {
    const char16_t* text;
    const char* code;
};
constexpr CAccountType kAccountTypes[5] = {
    {u"资金账号", kAccountTypeFund},      {u"深A股东", kAccountTypeShenzhenA}, {u"沪A股东", kAccountTypeShanghaiA},
    {u"深B股东", kAccountTypeShenzhenB}, {u"沪B股东", kAccountTypeShanghaiB},
};
constexpr const char16_t* kRowLabels[7] = {u"营业部", u"账号类型", u"账       号", u"保存账号",
                                           u"交易密码", u"认证口令", u"手机令牌"};
constexpr char16_t kNoDeptText[] = u"未设置营业部信息";
constexpr char16_t kNoteNormal[] = u"(简易方式不用输入认证口令)";
constexpr char16_t kNoteToken[] = u"(您已开通手机令牌模式，无需认证口令)";
constexpr char16_t kPassPhraseHint[] = u"请输入认证口令...";
constexpr COLORREF kBlue = 0xFF1414;  // the department and type texts
constexpr COLORREF kGrey = 0x646464;  // the token mode's disabled texts
constexpr int kPasswordLength = 6;    // digits
constexpr int kMaxAccountChars = 12;
constexpr int kMaxPassPhraseChars = 12;
// The server's texts of a refused phone-token login.
constexpr const char16_t* kTokenErrors[] = {u"令牌验证失败", u"找不到令牌", u"认证失败，您已经申请了动态口令",
                                            u"此认证方式没有申请"};
constexpr char16_t kNotApplied[] = u"此认证方式没有申请";

void Wipe(std::string& text) {
    if (!text.empty())
        explicit_bzero(text.data(), text.size());
    text.clear();
}

std::u16string TextOf(const UiWin& control) {
    return std::u16string(control.GetText());
}
} // namespace

COrbTradeLoginWnd::COrbTradeLoginWnd(std::u16string_view title) {
    SetCaption(title);
    SetWindowKind(kWindowKind);
    SetSealRequest(true);
    // One attempt, one send: never again after a network failure, and
    // nothing on the first show.
    SetResendOnFailure(false);
    SetFirstShow(false);
    SetRefreshOnShow(false);
    SetAutoRefresh(false);
}

COrbTradeLoginWnd::~COrbTradeLoginWnd() {
    Wipe(m_pendingText);
    m_attemptPassword.Clear();
    Destroy();
}

// ---- What the form shows ----

std::string COrbTradeLoginWnd::GetDeptCode() const {
    return m_deptIndex >= 0 && m_deptIndex < static_cast<int>(m_depts.size()) ? m_depts[m_deptIndex].code
                                                                              : std::string();
}

std::u16string COrbTradeLoginWnd::GetDeptText() const {
    return m_deptIndex >= 0 && m_deptIndex < static_cast<int>(m_depts.size()) ? m_depts[m_deptIndex].name.str()
                                                                              : std::u16string(kNoDeptText);
}

std::string COrbTradeLoginWnd::GetTypeCode() const {
    return kAccountTypes[m_typeIndex].code;
}

std::string COrbTradeLoginWnd::NormalizedAccount() const {
    return NormalizeAccount(WideToAnsi(TextOf(m_account)), GetTypeCode(), GetDeptCode());
}

// ---- Building ----

int COrbTradeLoginWnd::RowPitch() const {
    const int fit = (GetBodyRect().Height() - kRowTop - kRowGap) / kRows;
    return std::clamp(fit, 62, kRowPitch);
}

CRect COrbTradeLoginWnd::RowRect(int row) const {
    const int width = GetClientRect().Width();
    const int pitch = RowPitch();
    return CRect::FromSize(kRowLeft, kCaptionHeight + kRowTop + pitch * row, width - 2 * kRowLeft, pitch);
}

int COrbTradeLoginWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    RemoveClientArea();
    UseTextToolbar(u"首页", u"登录", u"返回");
    for (int i = 0; i < kRows; ++i) {
        if (!m_rowBg[i].Create(this, {}, kRowId + i, true))
            return 0;
        m_rowBg[i].SetStyle(UI_BTN_ROW);
    }
    for (int i = 0; i < 7; ++i) {
        if (!m_labels[i].Create(this, {}, kLabelId, true))
            return 0;
        m_labels[i].SetText(kRowLabels[i]);
        m_labels[i].SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        m_labels[i].SetFontSize(24);
        m_labels[i].SetTextColor(0x000000);
    }
    if (!m_deptText.Create(this, {}, kDeptTextId, true) || !m_typeText.Create(this, {}, kTypeTextId, true) ||
        !m_deptArrow.Create(this, {}, kDeptArrowId, true) || !m_typeArrow.Create(this, {}, kTypeArrowId, true) ||
        !m_account.Create(this, {}, kAccountId, true) || !m_history.Create(this, {}, kHistoryButtonId, true) ||
        !m_token.Create(this, {}, kTokenButtonId, true) || !m_save.Create(this, {}, kSaveCheckId, true) ||
        !m_password.Create(this, {}, kPasswordId, true) || !m_passPhrase.Create(this, {}, kPassPhraseId, true) ||
        !m_code.Create(this, {}, kCodeBoxId, true) || !m_note.Create(this, {}, kLabelId, true))
        return 0;
    for (UiStatic* text : {&m_deptText, &m_typeText}) {
        text->SetFormat(DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        text->SetFontSize(22);
        text->SetTextColor(kBlue);
    }
    m_deptArrow.SetStyle(UI_BTN_DROP);
    m_typeArrow.SetStyle(UI_BTN_DROP);
    m_history.SetStyle(UI_BTN_DROP);
    m_token.SetStyle(UI_BTN_PUSH);
    m_token.SetText(u"令");
    m_token.SetFontSize(20);
    m_save.SetStyle(UI_BTN_CHECK);

    CAppData* app = CAppData::Instance();
    m_account.SetLimitText(kMaxAccountChars);
    m_account.SetHintText(u"请输入账号...");
    m_account.SetTextColor(0x000000);
    m_password.SetInputMode(UI_EDIT_INPUT_PASSWORD);
    m_password.SetLimitText(kPasswordLength);
    m_password.SetHintText(u"请输入交易密码...");
    m_password.SetTextColor(0x000000);
    m_passPhrase.SetInputMode(UI_EDIT_INPUT_PASSWORD);
    m_passPhrase.SetLimitText(kMaxPassPhraseChars);
    m_passPhrase.SetHintText(kPassPhraseHint);
    m_passPhrase.SetTextColor(0x000000);
    m_code.SetReadOnly(true);
    m_code.EnableWindow(false);
    m_code.SetTextColor(kGrey);
    m_note.SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    m_note.SetFontSize(22);
    m_note.SetTextColor(0x000000);
    m_note.SetText(kNoteNormal);
    const bool narrow = GetClientRect().Width() == 480;
    m_account.SetSipMode(narrow ? 9 : 4, narrow ? 65 : -1);
    m_password.SetSipMode(narrow ? 9 : 4, narrow ? 65 : -1);
    m_passPhrase.SetSipMode(4, narrow ? 65 : -1);

    if (app) {
        m_typeIndex = 0;
        const CAString type = app->GetSetting("Trade_ZHLX");
        for (int i = 0; i < 5; ++i)
            if (type == kAccountTypes[i].code)
                m_typeIndex = i;
        m_account.SetText(app->GetSetting("Trade_ZJZH").ToWide());
        m_save.SetChecked(app->GetSetting("Trade_SAVEZJZH") != "0");
    }
    LoadSalesDepts();
    ShowDeptAndType();
    PlaceControls();
    // The token rows show only in token mode.
    m_labels[6].ShowWindow(false);
    m_code.ShowWindow(false);
    m_rowBg[7].ShowWindow(false);
    UpdateAuthMode();
    if (m_account.GetLength() == 0)
        m_account.SetFocus();
    else if (m_password.GetLength() == 0)
        m_password.SetFocus();
    if (app) {
        try {
            EnsureHistoryTable(*app);
        } catch (...) {
            Message(u"DataBase Operation Failed!", u"ERR");
        }
    }
    return 1;
}

void COrbTradeLoginWnd::PlaceControls() {
    const int w = GetClientRect().Width();
    for (int i = 0; i < kRows; ++i)
        m_rowBg[i].MoveWindow(RowRect(i));
    for (int i = 0; i < 7; ++i) {
        const CRect row = RowRect(i);
        m_labels[i].MoveWindow(CRect::FromSize(row.left + 10, row.top, 120, row.Height()));
    }
    const auto y = [&](int row) { return RowRect(row).top; };
    const int pitch = RowPitch();
    m_deptText.MoveWindow(CRect::FromSize(w - 340, y(0), 270, pitch));
    m_deptArrow.MoveWindow(CRect::FromSize(w - 70, y(0) + (pitch - 30) / 2, 30, 30));
    m_typeText.MoveWindow(CRect::FromSize(w - 340, y(1), 270, pitch));
    m_typeArrow.MoveWindow(CRect::FromSize(w - 70, y(1) + (pitch - 30) / 2, 30, 30));
    const int box = pitch - 10; // the boxes' height, 60 in a 70-pixel row
    m_account.MoveWindow(CRect::FromSize(w - 300, y(2) + 5, 220, box));
    m_history.MoveWindow(CRect::FromSize(w - 300 + 220 - 50, y(2) + 5, 50, box));
    m_token.MoveWindow(CRect::FromSize(w - 300 + 220 + 6, y(2) + 10, 40, box - 10));
    m_save.MoveWindow(CRect::FromSize(w - 150, y(3) + 5, 120, box));
    m_password.MoveWindow(CRect::FromSize(w - 300, y(4) + 5, 260, box));
    m_passPhrase.MoveWindow(CRect::FromSize(w - 300, y(5) + 5, 260, box));
    m_code.MoveWindow(CRect::FromSize(w - 300, y(6) + 5, 260, box));
    const CRect noteRow = RowRect(m_tokenMode ? 7 : 6);
    m_note.MoveWindow(CRect::FromSize(noteRow.left + 10, noteRow.top, 420, pitch));
}

void COrbTradeLoginWnd::OnLayout() {
    CNetWnd::OnLayout();
    if (m_note.IsCreated())
        PlaceControls();
}

void COrbTradeLoginWnd::OnPaint(CDC& dc) {
    CNetWnd::OnPaint(dc);
    const CRect first = RowRect(0);
    const CRect last = RowRect(m_tokenMode ? 7 : 6);
    DrawRoundButton(dc, CRect{first.left, first.top - 3, first.right, last.bottom}, true);
}

void COrbTradeLoginWnd::LoadSalesDepts() {
    m_depts.clear();
    m_deptIndex = -1;
    CAppData* app = CAppData::Instance();
    if (!app)
        return;
    const std::optional<std::vector<SalesDept>> stored = ::LoadSalesDepts(*app);
    if (!stored) {
        Message(u"DB Operation Failed in CSalesDeptSetWnd::AddToDisplay!", u"ERR");
        return;
    }
    for (const SalesDept& dept : *stored) {
        if (static_cast<int>(m_depts.size()) >= kMaxDepts)
            break;
        m_depts.push_back({CWString(dept.name), dept.code});
    }
    SelectDeptByCode(app->GetSetting(kSalesDeptSetting).view());
}

void COrbTradeLoginWnd::SelectDeptByCode(std::string_view code) {
    m_deptIndex = -1;
    for (size_t i = 0; i < m_depts.size(); ++i)
        if (m_depts[i].code == code) {
            m_deptIndex = static_cast<int>(i);
            return;
        }
    // The built-in code, or one no longer listed, stands for the first row:
    // the form sends the code of the name it shows.
    if (!m_depts.empty())
        m_deptIndex = 0;
}

void COrbTradeLoginWnd::ShowDeptAndType() {
    m_deptText.SetText(GetDeptText());
    m_typeText.SetText(kAccountTypes[m_typeIndex].text);
}

// ---- Token mode ----

void COrbTradeLoginWnd::UpdateAuthMode() {
    CAppData* app = CAppData::Instance();
    std::string code;
    bool token = false;
    if (app && m_account.GetLength() > 0)
        token = GetDynCodeForAccount(*app, NormalizedAccount(), code, false) == DynCodeState::Code;
    if (token) {
        m_code.SetText(AnsiToWide(code));
    } else {
        m_code.SetText(u"");
    }
    if (token == m_tokenMode)
        return;
    m_tokenMode = token;
    m_passPhrase.EnableWindow(!token);
    m_passPhrase.SetHintText(token ? u"" : kPassPhraseHint);
    if (token)
        m_passPhrase.SetText(u"");
    m_labels[5].SetTextColor(token ? kGrey : 0x000000);
    m_labels[6].ShowWindow(token);
    m_code.ShowWindow(token);
    m_rowBg[7].ShowWindow(token);
    m_token.SetTextColor(token ? kBlue : kGrey);
    m_note.SetText(token ? kNoteToken : kNoteNormal);
    PlaceControls();
    Invalidate();
}

// ---- Commands ----

void COrbTradeLoginWnd::OnToolbarCommand(int index) {
    if (m_action.IsBusy())
        return;
    if (index == kToolbarLeft)
        EndWindow(0);
    else if (index == kToolbarMiddle)
        StartLogin();
    else if (index == kToolbarRight)
        EndWindow(1);
}

bool COrbTradeLoginWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LowWord(wParam);
    switch (id) {
    case kDeptArrowId:
    case kRowId:
        ChooseDept();
        return true;
    case kTypeArrowId:
    case kRowId + 1:
        ChooseType();
        return true;
    case kTokenButtonId:
        OpenDynCodeCtrWnd();
        return true;
    case kHistoryButtonId:
        OpenHistory();
        return true;
    default:
        return CNetWnd::OnCommand(wParam, lParam);
    }
}

void COrbTradeLoginWnd::OnLButtonDown(UINT flags, CPoint pt) {
    // A press on the form takes the focus from the three boxes.
    if (UiWin* focus = UiWin::GetFocus(); focus == &m_account || focus == &m_password || focus == &m_passPhrase)
        SetFocus();
    CNetWnd::OnLButtonDown(flags, pt);
}

void COrbTradeLoginWnd::OnLButtonUp(UINT flags, CPoint pt) {
    CNetWnd::OnLButtonUp(flags, pt);
}

void COrbTradeLoginWnd::ChooseDept() {
    if (m_action.IsBusy())
        return;
    std::vector<CChoiceItem> items;
    for (size_t i = 0; i < m_depts.size(); ++i) {
        CChoiceItem item;
        item.text = m_depts[i].name;
        item.value.Assign(m_depts[i].code);
        item.checked = static_cast<int>(i) == m_deptIndex;
        items.push_back(std::move(item));
    }
    CMakeChoiceWnd picker(u"选择营业部", this, 0);
    picker.SetItems(items.data(), static_cast<int>(items.size()));
    picker.Choose();
}

void COrbTradeLoginWnd::ChooseType() {
    if (m_action.IsBusy())
        return;
    std::vector<CChoiceItem> items;
    for (int i = 0; i < 5; ++i) {
        CChoiceItem item;
        item.text = kAccountTypes[i].text;
        item.value.Assign(kAccountTypes[i].code);
        item.checked = i == m_typeIndex;
        items.push_back(std::move(item));
    }
    CMakeChoiceWnd picker(u"选择账号类型", this, 1);
    picker.SetItems(items.data(), static_cast<int>(items.size()));
    picker.Choose();
}

LRESULT COrbTradeLoginWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Nothing leaves the form while its login is out.
    if (m_action.Swallows(msg))
        return 0;
    switch (msg) {
    case UIM_EDIT_NOTIFY:
        if (static_cast<int>(wParam) == kAccountId)
            UpdateAuthMode();
        break;
    case WND_MSG_PICKER_RESULT: {
        const int* chosen = reinterpret_cast<const int*>(lParam);
        const int index = chosen ? chosen[0] : -1;
        if (wParam == 0 && index >= 0 && index < static_cast<int>(m_depts.size()))
            m_deptIndex = index;
        else if (wParam == 1 && index >= 0 && index < 5)
            m_typeIndex = index;
        FreeChoiceIndices(lParam);
        ShowDeptAndType();
        UpdateAuthMode();
        return 0;
    }
    case kMsgOpenDynCode:
        OpenDynCodeCtrWnd();
        return 0;
    default:
        break;
    }
    return CNetWnd::OnMessage(msg, wParam, lParam);
}

void COrbTradeLoginWnd::OpenDynCodeCtrWnd() {
    // Until the phone-token window is registered this opens nothing and
    // the form stays as it was.
    GetWndManager().CreateWnd(kDynCodeCtrClass, -1, u"手机令牌", "", "", 0, this);
    UpdateAuthMode();
}

void COrbTradeLoginWnd::OpenHistory() {
    if (m_action.IsBusy())
        return;
    auto history = std::make_unique<CTradeLoginAccountWnd>(u"历史登录账户", CTradeLoginAccountWnd::kModeHistory);
    history->SetLoginWnd(this);
    const COpenResult result =
        GetWndManager().RunWindow(std::move(history), -1, u"历史登录账户", nullptr, nullptr, this);
    if (result && result.closeCode == 1)
        m_password.SetFocus();
}

bool COrbTradeLoginWnd::SelectSalesDept(std::u16string_view account, std::u16string_view typeCode,
                                        std::u16string_view deptName, std::u16string_view deptCode) {
    CAppData* app = CAppData::Instance();
    const std::string code = WideToAnsi(deptCode);
    bool taken = true;
    if (code != GetDeptCode()) {
        bool listed = false;
        for (const CDept& dept : m_depts)
            listed = listed || dept.code == code;
        if (!listed && app) {
            // A history row may name no real department ("登录时未正确设置营业部",
            // an empty code); such a row, or a full list, leaves the
            // form's department as it is.
            const SalesDeptAdd added = AddSalesDeptIfMissing(*app, deptName, code);
            if (added == SalesDeptAdd::Failed)
                Message(u"DB Failed in COrbTradeLoginWnd::AddSalesDept!", u"ERR");
            if (added == SalesDeptAdd::Added || added == SalesDeptAdd::Present) {
                const std::string keep = GetDeptCode();
                LoadSalesDepts();
                SelectDeptByCode(keep);
            }
        }
        taken = false;
        for (size_t i = 0; i < m_depts.size(); ++i)
            if (m_depts[i].code == code) {
                m_deptIndex = static_cast<int>(i);
                taken = true;
            }
    }
    const std::string type = WideToAnsi(typeCode);
    for (int i = 0; i < 5; ++i)
        if (type == kAccountTypes[i].code)
            m_typeIndex = i;
    m_account.SetText(account);
    ShowDeptAndType();
    UpdateAuthMode();
    Invalidate();
    return taken;
}

// ---- The login ----

void COrbTradeLoginWnd::Message(std::u16string_view text, std::u16string_view caption) {
    UiMessageBox(this, text, caption, MB_OK);
}

void COrbTradeLoginWnd::StartLogin() {
    CAppData* app = CAppData::Instance();
    if (m_action.IsBusy() || !app)
        return;
    if (m_account.GetLength() == 0) {
        Message(u"请输入账号！", u"提示");
        m_account.SetFocus();
        return;
    }
    if (m_password.GetLength() < kPasswordLength) {
        Message(u"请输入正确交易密码！", u"提示");
        m_password.SetFocus();
        return;
    }
    if (m_deptIndex < 0) {
        Message(kNoDeptText, u"提示");
        return;
    }
    std::string typed = WideToAnsi(TextOf(m_account));
    std::string password = WideToAnsi(TextOf(m_password));
    std::string passPhrase = m_tokenMode ? std::string() : WideToAnsi(TextOf(m_passPhrase));
    if (!IsLoginValueSafe(typed) || !IsLoginValueSafe(password) || !IsLoginValueSafe(passPhrase)) {
        Wipe(password);
        Wipe(passPhrase);
        Message(u"账号、交易密码或认证口令中不能含有“&”、“=”、“%”等字符！", u"提示");
        return;
    }
    const std::string account = NormalizedAccount();
    const int logged = app->FindAccount(account.c_str());
    if (logged >= 0) {
        Wipe(password);
        Wipe(passPhrase);
        app->SwitchAccount(logged);
        Message(u"该账户已登录，当前已激活！", u"提示");
        return;
    }
    std::string code;
    const DynCodeState token = GetDynCodeForAccount(*app, account, code, true);
    if (token == DynCodeState::AdvanceFailed) {
        Wipe(password);
        Wipe(passPhrase);
        Message(u"DB Operation Failed in COrbTradeLoginWnd::BuildRequest!", u"ERR");
        return;
    }
    CTradeLoginFields fields;
    const std::string type = GetTypeCode();
    const std::string dept = GetDeptCode();
    fields.typeCode = type;
    fields.deptCode = dept;
    fields.accountId = account;
    fields.password = password;
    if (token == DynCodeState::Code) {
        fields.auth = LoginAuth::TokenCode;
        fields.authData = code;
    } else if (!passPhrase.empty()) {
        fields.auth = LoginAuth::PassPhrase;
        fields.authData = passPhrase;
    }
    Wipe(m_pendingText);
    const bool built = AppendTradeLoginRequest(fields, m_pendingText);
    Wipe(passPhrase);
    if (!built) {
        Wipe(password);
        Message(u"账号、交易密码或认证口令中不能含有“&”、“=”、“%”等字符！", u"提示");
        return;
    }
    m_attemptAccount = account;
    m_attemptTyped = typed;
    m_attemptType = type;
    m_attemptDept = dept;
    m_attemptDeptName = GetDeptText();
    m_attemptPassword.Assign(password);
    Wipe(password);

    EnableToolbar(false);
    // A query of another window may still hold the worker: the login is
    // not queued behind it, nor does the GUI wait for it. A refusal
    // reaches OnRequestNotSent, which tells it.
    m_action.Send();
    Wipe(m_pendingText);
}

void COrbTradeLoginWnd::EnableToolbar(bool on) {
    if (UiToolBar* bar = GetToolBar()) {
        bar->EnableAll(on);
        bar->Invalidate();
    }
}

void COrbTradeLoginWnd::SendRefresh(RefreshCause) {}

int COrbTradeLoginWnd::BuildRequest(CAString& out) {
    if (m_pendingText.empty())
        return 0;
    out.Assign(m_pendingText);
    return 1;
}

void COrbTradeLoginWnd::EndAttempt(bool enable) {
    m_action.Done();
    m_attemptPassword.Clear();
    if (enable)
        EnableToolbar(true);
}

void COrbTradeLoginWnd::OnRequestNotSent(NotSent why) {
    const std::optional<ActionEnd> end = m_action.TakeNotSent(why);
    if (!end)
        return;
    EndAttempt(true);
    m_action.TellFailure(*end);
}

void COrbTradeLoginWnd::OnNetReply(const CNetReply& reply) {
    const std::optional<ActionEnd> end = m_action.TakeReply(reply);
    if (!end)
        return;
    if (*end != ActionEnd::Answered) {
        EndAttempt(true);
        m_action.TellFailure(*end);
        return;
    }
    CDataSetList sets(reply.body, reply.length);
    CTradeLoginReply login = ReadTradeLoginReply(sets);
    switch (login.kind) {
    case CTradeLoginReply::Kind::Error:
        EndAttempt(true);
        ProcessLoginError(login.errorText);
        return;
    case CTradeLoginReply::Kind::BadFormat:
        EndAttempt(true);
        Message(u"数据接收不全或格式错误", u"提示");
        return;
    case CTradeLoginReply::Kind::Success:
        break;
    }
    CAppData* app = CAppData::Instance();
    if (!app) {
        EndAttempt(true);
        return;
    }
    const std::string loginId = login.session + "&operway=i";
    const CWString deptText = LoginDeptText(login.fundId, m_attemptDept, m_attemptDeptName);
    const bool save = m_save.IsChecked();
    app->SetSetting("Trade_ZJZH", save ? m_attemptTyped : std::string(), false);
    app->SetSetting("Trade_SAVEZJZH", save ? "1" : "0", false);
    app->SetSetting("Trade_ZHLX", m_attemptType, false);
    app->SetSetting(kSalesDeptSetting, m_attemptDept, true);
    app->AddAccount(std::move(login.holders), login.fundId.c_str(), loginId.c_str(), m_attemptPassword.Get(),
                    login.customerName.c_str(), deptText.c_str());
    app->SetTradeLoggedIn(true);
    EndAttempt(false);
    app->ShowInfoMessage(u"您已经成功登陆交易系统！", this);
    if (save) {
        CHisAccountRecord row;
        row.account = CWString(AnsiToWide(login.fundId));
        row.accountName = login.customerName;
        row.salesDept = deptText;
        row.salesDeptCode = CWString(AnsiToWide(login.orgId));
        row.accountType = CWString(AnsiToWide(m_attemptType));
        row.inputAccount = CWString(AnsiToWide(m_attemptTyped));
        try {
            EnsureHistoryTable(*app);
            SaveHistoryAccount(*app, row);
        } catch (...) {
            Message(u"DataBase Operation Failed!", u"ERR");
        }
    }
    if (UiWin* parent = UiWin::FromHandle(m_parentWnd); parent && m_notifyValue != -1)
        parent->PostMessage(WND_MSG_TRADE_LOGGED_IN, 0, m_notifyValue);
    EndWindow(1);
}

void COrbTradeLoginWnd::ProcessLoginError(const CWString& text) {
    CAppData* app = CAppData::Instance();
    bool tokenRefused = false;
    for (const char16_t* marker : kTokenErrors)
        tokenRefused = tokenRefused || text.Contains(marker, 1);
    if (!tokenRefused || !app) {
        if (app)
            app->ShowInfoMessage(text.c_str(), this);
        return;
    }
    if (DeleteDynCodeForAccount(*app, m_attemptAccount) < 0)
        Message(u"DB Op Failed in COrbTradeLoginWnd::ProcessLoginError!", u"ERR");
    UpdateAuthMode();
    if (!text.Contains(kNotApplied, 1)) {
        std::u16string question = text.str();
        question += u"\n手机令牌认证失效，现在重新申请令牌？";
        if (UiMessageBox(this, question, u"询问", MB_OKCANCEL) == IDOK)
            PostMessage(kMsgOpenDynCode);
    } else {
        Message(u"此认证方式没有申请，请重新登录", u"提示");
    }
}
