// The password form, its checks and the one send of the change.
#include "trade/queries/CTradePasswordWnd.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/ui/WndMessages.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/CUiMessageBox.h"

#include <cstdlib>

namespace {
constexpr int kFormTop = 40; // pixels: the password rows sit lower than other forms'

std::string Narrow(std::u16string_view text) {
    return CAString::CAStringFromWide(text).str();
}
} // namespace

CTradePasswordWnd::CTradePasswordWnd() {
    SetMiddleText(u"修改");
    SetTopOffset(kFormTop);
    SetFirstShow(false);
    SetRefreshOnShow(false);
    SetAutoRefresh(false);
    SetResendOnFailure(false);
}

CTradePasswordWnd::~CTradePasswordWnd() {
    Destroy();
}

void CTradePasswordWnd::BuildForm() {
    CClientArea* page = GetClientArea();
    if (!page)
        return;
    static constexpr std::u16string_view kLabels[] = {u"原 密 码:", u"新 密 码:", u"确认密码"};
    static constexpr std::u16string_view kHints[] = {u"请输入原密码...", u"请输入6位数字新密码...",
                                                     u"请确认您的新密码..."};
    CNotifyEdit* fields[] = {&m_old, &m_new, &m_confirm};
    const int ids[] = {kOldId, kNewId, kConfirmId};
    const bool narrow = GetClientRect().Width() == 480;
    for (int i = 0; i < 3; ++i) {
        if (m_labels[i].Create(page, {}, kLabelId, true)) {
            m_labels[i].SetText(kLabels[i]);
            m_labels[i].SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            m_labels[i].SetFontSize(24);
            m_labels[i].SetTextColor(0x000000);
        }
        if (fields[i]->Create(page, {}, ids[i], true)) {
            fields[i]->SetTextColor(0x000000);
            fields[i]->SetInputMode(UI_EDIT_INPUT_PASSWORD);
            fields[i]->SetLimitText(6);
            fields[i]->SetHintText(kHints[i]);
            fields[i]->SetSipMode(narrow ? 9 : 4, narrow ? 65 : -1);
        }
    }
    PlaceControls();
    m_old.SetFocus();
}

void CTradePasswordWnd::PlaceControls() {
    CNotifyEdit* fields[] = {&m_old, &m_new, &m_confirm};
    for (int i = 0; i < 3; ++i) {
        if (m_labels[i].IsCreated())
            m_labels[i].MoveWindow(GetRowRect(0, i));
        if (fields[i]->IsCreated())
            fields[i]->MoveWindow(GetRowRect(1, i).Deflate(0, 5));
    }
}

void CTradePasswordWnd::OnLayout() {
    CLayoutBaseWnd::OnLayout();
    PlaceControls();
}

void CTradePasswordWnd::OnLButtonDown(UINT flags, CPoint pt) {
    if (m_old.HasFocus() || m_new.HasFocus() || m_confirm.HasFocus())
        SetFocus();
    CLayoutBaseWnd::OnLButtonDown(flags, pt);
}

void CTradePasswordWnd::OnOk() {
    SubmitChange();
}

bool CTradePasswordWnd::SubmitChange() {
    if (m_action.IsBusy())
        return false;
    const PasswordCheck check = CheckPasswords(m_old.GetText(), m_new.GetText(), m_confirm.GetText());
    CAppData* app = CAppData::Instance();
    if (!check.message.empty()) {
        if (app)
            app->ShowInfoMessage(std::u16string(check.message).c_str(), this);
        CNotifyEdit* field = check.field == PasswordField::Old   ? &m_old
                             : check.field == PasswordField::New ? &m_new
                                                                 : &m_confirm;
        field->SetFocus();
        return false;
    }
    CAccountEntry* entry = app ? app->GetCurrentAccount() : nullptr;
    if (!app || !entry || !*app->GetLoginId()) {
        UiMessageBox(this, kNoLogin, u"提示", MB_OK);
        return false;
    }
    m_account = entry->accountId;
    m_oldPassword.Assign(Narrow(m_old.GetText()));
    m_newPassword.Assign(Narrow(m_new.GetText()));
    EnableToolbar(false);
    // A refusal reaches OnRequestNotSent, which tells it.
    return m_action.Send();
}

int CTradePasswordWnd::BuildRequest(CAString& out) {
    out.Clear();
    CAppData* app = CAppData::Instance();
    if (!m_action.IsSending() || !app || !m_oldPassword.Get() || !m_newPassword.Get())
        return 0;
    const std::string text =
        BuildPasswordRequest(GetRequestText().view(), app->GetLoginId(), m_oldPassword.Get(), m_newPassword.Get());
    if (text.empty())
        return 0;
    out.Assign(text);
    return 1;
}

void CTradePasswordWnd::EndSending() {
    m_action.Done();
    m_oldPassword.Clear();
    m_newPassword.Clear();
    EnableToolbar(true);
}

void CTradePasswordWnd::OnRequestNotSent(NotSent why) {
    const std::optional<ActionEnd> end = m_action.TakeNotSent(why);
    if (!end)
        return;
    EndSending();
    m_action.TellFailure(*end);
}

void CTradePasswordWnd::OnNetReply(const CNetReply& reply) {
    const std::optional<ActionEnd> end = m_action.TakeReply(reply);
    if (!end)
        return;
    CAppData* app = CAppData::Instance();
    // No answer, or an empty one: whether the password changed is unknown.
    if (*end != ActionEnd::Answered) {
        EndSending();
        m_action.TellFailure(*end);
        return;
    }
    CDataSetList list(reply.body, reply.length);
    if (list.IsError()) {
        EndSending();
        if (app)
            app->ShowInfoMessage(list.GetErrorText().c_str(), this);
        return;
    }
    if (list.GetCount() == 0) {
        EndSending();
        m_action.TellFailure(ActionEnd::Unknown);
        return;
    }
    std::string authid;
    CDataSet* set = *list.GetAt(0);
    if (set && set->MoveFirst()) {
        if (std::optional<CWString> value = set->GetFieldTextByName("authid"))
            authid = CAString::CAStringFromWide(value->view()).str();
    }
    TakeNewPassword(authid);
    EndSending();
    if (app)
        app->ShowInfoMessage(kDone.data(), this);
    PostMessage(WND_MSG_CLOSE, 0, 1);
}

void CTradePasswordWnd::TakeNewPassword(const std::string& authid) {
    CAppData* app = CAppData::Instance();
    if (!app)
        return;
    const int index = app->FindAccount(m_account.c_str());
    CAccountEntry* entry = app->GetAccount(index);
    if (!entry)
        return;
    CAString loginId = entry->loginId;
    // A value that could break the login id's parameters is not taken.
    if (!authid.empty() && IsPlainValue(authid)) {
        if (char* changed = SetUrlParam(loginId.c_str(), "authid", authid.c_str())) {
            loginId.Assign(changed);
            std::free(changed);
        }
    }
    if (index == app->GetCurrentAccountIndex()) {
        app->SetLoginId(loginId.c_str());
        app->SetTradePassword(m_newPassword.Get());
    } else {
        entry->loginId = loginId;
        entry->password.Assign(m_newPassword.Get() ? m_newPassword.Get() : "");
    }
}

void CTradePasswordWnd::OnToolbarCommand(int index) {
    if (m_action.IsBusy())
        return;
    CLayoutBaseWnd::OnToolbarCommand(index);
}

LRESULT CTradePasswordWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_action.Swallows(msg))
        return 0;
    if (msg == UIM_EDIT_NOTIFY) {
        const int how = CNotifyEdit::NotifyEditCode(lParam);
        const int id = CNotifyEdit::NotifyEditId(wParam);
        if (how == UI_EDIT_CHANGE_TYPED || how == UI_EDIT_CHANGE_DELETED) {
            if (id == kOldId && m_old.GetLength() == 6)
                m_new.SetFocus();
            else if (id == kNewId && m_new.GetLength() == 6)
                m_confirm.SetFocus();
        }
    }
    return CLayoutBaseWnd::OnMessage(msg, wParam, lParam);
}

bool CTradePasswordWnd::IgnoresBackSwipe() const {
    return m_action.IsBusy() || CLayoutBaseWnd::IgnoresBackSwipe();
}
