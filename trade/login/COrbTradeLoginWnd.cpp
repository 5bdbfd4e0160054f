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
#include "trade/login/TradeAccountHistory.h"
#include "trade/login/TradeAccountId.h"
#include "trade/login/TradeLoginAttempt.h"
#include "trade/login/TradeLoginText.h"

namespace {
// Opens the phone-token window over the form (posted by the question after
// a refused token).
constexpr UINT kMsgOpenDynCode = WND_MSG_OPEN_DYNCODE;

constexpr const char16_t* kRowLabels[CTradeLoginLayout::kLabels] = {
    u"营业部", u"账号类型", u"账       号", u"保存账号", u"交易密码", u"认证口令", u"手机令牌"};
constexpr char16_t kNoteNormal[] = u"(简易方式不用输入认证口令)";
constexpr char16_t kNoteToken[] = u"(您已开通手机令牌模式，无需认证口令)";
constexpr char16_t kPassPhraseHint[] = u"请输入认证口令...";
constexpr COLORREF kBlue = 0xFF1414;  // the department and type texts
constexpr COLORREF kGrey = 0x646464;  // the token mode's disabled texts
constexpr int kPasswordLength = 6;    // digits
constexpr int kMaxAccountChars = 12;
constexpr int kMaxPassPhraseChars = 12;

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
    WipeSecret(m_pendingText);
    m_attempt.password.Clear();
    Destroy();
}

// ---- What the form shows ----

std::string COrbTradeLoginWnd::GetTypeCode() const {
    return kTradeAccountTypes[m_typeIndex].code;
}

std::string COrbTradeLoginWnd::NormalizedAccount() const {
    return NormalizeAccount(WideToAnsi(TextOf(m_account)), GetTypeCode(), GetDeptCode());
}

// ---- Building ----

CTradeLoginLayout COrbTradeLoginWnd::Layout() const {
    return LayOutTradeLogin(GetClientRect().Width(), GetBodyRect().Height(), kCaptionHeight, m_tokenMode);
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
    for (int i = 0; i < CTradeLoginLayout::kLabels; ++i) {
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
            if (type == kTradeAccountTypes[i].code)
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
    const CTradeLoginLayout at = Layout();
    for (int i = 0; i < kRows; ++i)
        m_rowBg[i].MoveWindow(at.rows[i]);
    for (int i = 0; i < CTradeLoginLayout::kLabels; ++i)
        m_labels[i].MoveWindow(at.labels[i]);
    m_deptText.MoveWindow(at.deptText);
    m_deptArrow.MoveWindow(at.deptArrow);
    m_typeText.MoveWindow(at.typeText);
    m_typeArrow.MoveWindow(at.typeArrow);
    m_account.MoveWindow(at.account);
    m_history.MoveWindow(at.history);
    m_token.MoveWindow(at.token);
    m_save.MoveWindow(at.save);
    m_password.MoveWindow(at.password);
    m_passPhrase.MoveWindow(at.passPhrase);
    m_code.MoveWindow(at.code);
    m_note.MoveWindow(at.note);
}

void COrbTradeLoginWnd::OnLayout() {
    CNetWnd::OnLayout();
    if (m_note.IsCreated())
        PlaceControls();
}

void COrbTradeLoginWnd::OnPaint(CDC& dc) {
    CNetWnd::OnPaint(dc);
    DrawRoundButton(dc, Layout().frame, true);
}

void COrbTradeLoginWnd::LoadSalesDepts() {
    CAppData* app = CAppData::Instance();
    if (app && !m_depts.Load(*app))
        Message(u"DB Operation Failed in CSalesDeptSetWnd::AddToDisplay!", u"ERR");
}

void COrbTradeLoginWnd::ShowDeptAndType() {
    m_deptText.SetText(GetDeptText());
    m_typeText.SetText(kTradeAccountTypes[m_typeIndex].text);
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
    const std::vector<CDept>& depts = m_depts.List();
    for (size_t i = 0; i < depts.size(); ++i) {
        CChoiceItem item;
        item.text = depts[i].name;
        item.value.Assign(depts[i].code);
        item.checked = static_cast<int>(i) == m_depts.Index();
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
        item.text = kTradeAccountTypes[i].text;
        item.value.Assign(kTradeAccountTypes[i].code);
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
        if (wParam == 0)
            m_depts.Select(index);
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
    const CTradeLoginDepts::CTake take =
        m_depts.TakeHistoryDept(CAppData::Instance(), deptName, WideToAnsi(deptCode));
    if (take.addFailed)
        Message(u"DB Failed in COrbTradeLoginWnd::AddSalesDept!", u"ERR");
    if (take.reloadFailed)
        Message(u"DB Operation Failed in CSalesDeptSetWnd::AddToDisplay!", u"ERR");
    const std::string type = WideToAnsi(typeCode);
    for (int i = 0; i < 5; ++i)
        if (type == kTradeAccountTypes[i].code)
            m_typeIndex = i;
    m_account.SetText(account);
    ShowDeptAndType();
    UpdateAuthMode();
    Invalidate();
    return take.taken;
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
    if (!m_depts.HasChoice()) {
        Message(CTradeLoginDepts::kNoDeptText, u"提示");
        return;
    }
    std::string typed = WideToAnsi(TextOf(m_account));
    std::string password = WideToAnsi(TextOf(m_password));
    std::string passPhrase = m_tokenMode ? std::string() : WideToAnsi(TextOf(m_passPhrase));
    if (!IsLoginValueSafe(typed) || !IsLoginValueSafe(password) || !IsLoginValueSafe(passPhrase)) {
        WipeSecret(password);
        WipeSecret(passPhrase);
        Message(u"账号、交易密码或认证口令中不能含有“&”、“=”、“%”等字符！", u"提示");
        return;
    }
    const std::string account = NormalizedAccount();
    const int logged = app->FindAccount(account.c_str());
    if (logged >= 0) {
        WipeSecret(password);
        WipeSecret(passPhrase);
        app->SwitchAccount(logged);
        Message(u"该账户已登录，当前已激活！", u"提示");
        return;
    }
    std::string code;
    const DynCodeState token = GetDynCodeForAccount(*app, account, code, true);
    if (token == DynCodeState::AdvanceFailed) {
        WipeSecret(password);
        WipeSecret(passPhrase);
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
    WipeSecret(m_pendingText);
    const bool built = AppendTradeLoginRequest(fields, m_pendingText);
    WipeSecret(passPhrase);
    if (!built) {
        WipeSecret(password);
        Message(u"账号、交易密码或认证口令中不能含有“&”、“=”、“%”等字符！", u"提示");
        return;
    }
    m_attempt.account = account;
    m_attempt.typed = typed;
    m_attempt.type = type;
    m_attempt.dept = dept;
    m_attempt.deptName = GetDeptText();
    m_attempt.password.Assign(password);
    WipeSecret(password);

    EnableToolbar(false);
    // A query of another window may still hold the worker: the login is
    // not queued behind it, nor does the GUI wait for it. A refusal
    // reaches OnRequestNotSent, which tells it.
    m_action.Send();
    WipeSecret(m_pendingText);
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
    m_attempt.password.Clear();
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
    const bool save = m_save.IsChecked();
    RecordTradeLogin(*app, m_attempt, login, save);
    EndAttempt(false);
    app->ShowInfoMessage(u"您已经成功登陆交易系统！", this);
    if (save && !SaveTradeLoginHistory(*app, m_attempt, login))
        Message(u"DataBase Operation Failed!", u"ERR");
    if (UiWin* parent = UiWin::FromHandle(m_parentWnd); parent && m_notifyValue != -1)
        parent->PostMessage(WND_MSG_TRADE_LOGGED_IN, 0, m_notifyValue);
    EndWindow(1);
}

void COrbTradeLoginWnd::ProcessLoginError(const CWString& text) {
    CAppData* app = CAppData::Instance();
    const TokenRefusal refusal = ReadTokenRefusal(text.view());
    if (refusal == TokenRefusal::None || !app) {
        if (app)
            app->ShowInfoMessage(text.c_str(), this);
        return;
    }
    if (DeleteDynCodeForAccount(*app, m_attempt.account) < 0)
        Message(u"DB Op Failed in COrbTradeLoginWnd::ProcessLoginError!", u"ERR");
    UpdateAuthMode();
    if (refusal == TokenRefusal::Refused) {
        std::u16string question = text.str();
        question += u"\n手机令牌认证失效，现在重新申请令牌？";
        if (UiMessageBox(this, question, u"询问", MB_OKCANCEL) == IDOK)
            PostMessage(kMsgOpenDynCode);
    } else {
        Message(u"此认证方式没有申请，请重新登录", u"提示");
    }
}
