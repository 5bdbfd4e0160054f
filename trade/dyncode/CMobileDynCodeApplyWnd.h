// The phone-token application form ("手机令牌申请"): sales department,
// account type, account number and trading password. The application
// (500/69) acts on the account and leaves only from the "确定" press that
// passed every check (CActionSend), once, sealed and never resent: a picker
// swiped away, the first show or any refresh sends nothing. The GUI never
// waits for a worker: a busy shared one leaves the application to one of
// the form's own. An application that never left may be made again; one
// that left without an answer says so and stores nothing. It
// goes with the phone's registered mobile number; without one nothing is
// sent. A reply of exactly one set with "seed", "fundidlist" and
// "secuidlist" is stored for every account it names in one transaction;
// every other outcome tells the user and stores nothing. After a success
// the form says "手机令牌申请成功" and closes with code 1.
#pragma once

#include "framework/ui/CActionSend.h"
#include "framework/ui/CLayoutBaseWnd.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiEdit.h"
#include "platform/ui/UiStatic.h"

#include <array>
#include <string>
#include <vector>

class CMobileDynCodeApplyWnd : public CLayoutBaseWnd {
public:
    static constexpr int kWindowKind = 17;
    enum : int {
        kLabelId = 302,
        kDeptPickerId = 187,
        kTypePickerId = 188,
        kAccountId = 189,
        kPasswordId = 191,
    };
    static constexpr int kMaxAccountChars = 12;
    static constexpr int kMaxPasswordChars = 6;
    static constexpr char16_t kNoDeptText[] = u"未设置营业部信息";

    struct CChoice {
        std::u16string text;
        std::string code;
    };

    explicit CMobileDynCodeApplyWnd(std::u16string_view title = u"手机令牌申请");
    ~CMobileDynCodeApplyWnd() override;
    const char* GetClassName() const override { return "CMobileDynCodeApplyWnd"; }

    // The department list (every stored row) and the account types.
    void FillChoiceLists();
    const std::vector<CChoice>& GetDepts() const { return m_depts; }
    const std::string& GetDeptCode() const { return m_deptCode; }
    const std::string& GetTypeCode() const { return m_typeCode; }
    std::u16string GetDeptText() const { return std::u16string(m_deptBox.GetText()); }
    bool IsSending() const { return m_action.IsBusy(); }

    // ---- Virtual operations ----
    void BuildForm() override;
    // The "确定" press: checks, then sends once.
    void OnOk() override;
    void OnLayout() override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
    void OnToolbarCommand(int index) override;
    bool IgnoresBackSwipe() const override;
    // Nothing but the press sends.
    void SendRefresh(RefreshCause) override {}
    int BuildRequest(CAString& out) override;
    void OnNetReply(const CNetReply& reply) override;
    void OnRequestNotSent(NotSent why) override;

private:
    void PlaceControls();
    CRect Row(int column, int row) const;
    void Choose(int callerId);
    void EndAttempt();
    void Tell(std::u16string_view text, std::u16string_view caption = u"提示");

    std::array<UiStatic, 4> m_labels;
    UiEdit m_deptBox;
    UiButton m_deptPicker;
    UiEdit m_typeBox;
    UiButton m_typePicker;
    UiEdit m_account;
    UiEdit m_password;
    std::vector<CChoice> m_depts;
    int m_typeIndex = 0;
    std::string m_deptCode;
    std::string m_typeCode;
    CActionSend m_action{*this, u"申请请求未发出，请重新申请"};
    std::string m_pendingText; // the armed request (holds the password): wiped once handed on
    std::u16string m_mobile;   // the number the application went with
};
