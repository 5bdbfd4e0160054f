// The trading password change ("xgmm"): the old password, the new one and
// the new one again; "修改" checks them and sends the change once.
//
// The change acts, so only the "修改" press that passed the checks sends it
// (CActionSend); a show, a refresh or a child's close never does. While it
// is out the window ignores its toolbar, the back swipe, both caption
// buttons and a close message. The window keeps the account it sent for:
// the reply updates that account's entry, and the current login only while
// that account is still current. The new password is kept as a secret until
// the reply is handled. A change that never left says so and may be sent
// again; one that left and got no answer, or an empty one, changes nothing
// and tells the user the outcome is unknown.
#pragma once

#include "framework/app/CSecretText.h"
#include "framework/ui/CActionSend.h"
#include "framework/ui/CLayoutBaseWnd.h"
#include "framework/ui/widgets/CNotifyEdit.h"
#include "platform/ui/UiStatic.h"
#include "trade/queries/AccountRequests.h"

class CTradePasswordWnd : public CLayoutBaseWnd {
public:
    enum : int { kLabelId = 302, kOldId = 225, kNewId = 226, kConfirmId = 227 };
    static constexpr std::u16string_view kDone = u"密码修改已提交";
    static constexpr std::u16string_view kOutcomeUnknown = u"请求异常，请通过当日委托核实";
    static constexpr std::u16string_view kNotSent = u"请求未能发出，请稍后再试";
    static constexpr std::u16string_view kNoLogin = u"请先登录交易账号";

    CTradePasswordWnd();
    ~CTradePasswordWnd() override;
    const char* GetClassName() const override { return "CTradePasswordWnd"; }

    CNotifyEdit& OldField() { return m_old; }
    CNotifyEdit& NewField() { return m_new; }
    CNotifyEdit& ConfirmField() { return m_confirm; }
    bool IsSending() const { return m_action.IsBusy(); }

    // The checks, then the one send of the change; true when it went.
    bool SubmitChange();

    // ---- Virtual operations ----
    void BuildForm() override;
    void OnOk() override;
    void OnLayout() override;
    void OnToolbarCommand(int index) override;
    int BuildRequest(CAString& out) override;
    void SendRefresh(RefreshCause) override {}
    void OnNetReply(const CNetReply& reply) override;
    void OnRequestNotSent(NotSent why) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool IgnoresBackSwipe() const override;
    void OnLButtonDown(UINT flags, CPoint pt) override;

private:
    void PlaceControls();
    // Takes a successful reply into the account it was sent for.
    void TakeNewPassword(const std::string& authid);
    // Forgets the attempt's passwords and enables the toolbar again.
    void EndSending();

    UiStatic m_labels[3];
    CNotifyEdit m_old;
    CNotifyEdit m_new;
    CNotifyEdit m_confirm;
    CSecretText m_oldPassword;   // of the change out
    CSecretText m_newPassword;   // of the change out
    CAString m_account;          // the account the change was sent for
    CActionSend m_action{*this, kNotSent, kOutcomeUnknown};
};
