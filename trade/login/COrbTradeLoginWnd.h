// The trade login form: sales department, account type, account number,
// "保存账号", the six-digit trading password and either a pass phrase or,
// for an account with a phone token on this phone, its one-time code.
//
// The login (500/1) acts on the account and leaves only from the "登录"
// press that passed every check (CActionSend), once: it is never resent, a
// refresh, a show or a child's close sends nothing, and one attempt uses one
// counter value of the phone token. While it is out the toolbar is disabled
// and the caption's buttons and a close do nothing; an error reply, a format
// error, a login that never left ("登录请求未发出，请重新登录") or one that
// left without an answer ("请求异常，请通过当日委托核实") enables it again. The password and the
// pass phrase are kept only for the attempt and wiped once it was handed
// on; they never reach a file or a log.
//
// A reply is a success only with a session text in set 0 and a holder set
// (set 1) with a fund account: the holder set is handed to the application
// state's account list, the login settings are written, a history row is
// kept when "保存账号" is checked, the opener is told (WND_MSG_TRADE_LOGGED_IN
// with the notify value, unless it is −1) and the form closes with code 1.
#pragma once

#include "core/CWString.h"
#include "framework/ui/CActionSend.h"
#include "framework/ui/CNetWnd.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiEdit.h"
#include "platform/ui/UiStatic.h"
#include "trade/login/CTradeLoginDepts.h"
#include "trade/login/ITradeLoginHost.h"
#include "trade/login/TradeLoginAttempt.h"
#include "trade/login/TradeLoginLayout.h"

#include <array>
#include <string>
#include <vector>

class COrbTradeLoginWnd : public CNetWnd, public ITradeLoginHost {
public:
    static constexpr int kWindowKind = 15;
    enum : int {
        kLabelId = 302,
        kRowId = 303,          // row i's background: kRowId + i
        kDeptArrowId = 187,
        kTypeArrowId = 188,
        kAccountId = 189,
        kSaveCheckId = 190,
        kPasswordId = 191,
        kPassPhraseId = 192,
        kCodeBoxId = 193,
        kDeptTextId = 194,
        kTypeTextId = 195,
        kTokenButtonId = 400,
        kHistoryButtonId = 401,
    };
    static constexpr int kRows = CTradeLoginLayout::kRows;
    static constexpr int kMaxDepts = CTradeLoginDepts::kMaxDepts;

    using CDept = CTradeLoginDepts::CDept;

    explicit COrbTradeLoginWnd(std::u16string_view title = u"交易登录");
    ~COrbTradeLoginWnd() override;
    const char* GetClassName() const override { return "COrbTradeLoginWnd"; }

    // After a successful login WND_MSG_TRADE_LOGGED_IN (wParam 0, lParam
    // value) goes to the parent, unless value is −1.
    void SetNotifyParam(int value) { m_notifyValue = value; }
    // Fills the form from a history row (ITradeLoginHost).
    bool SelectSalesDept(std::u16string_view account, std::u16string_view typeCode, std::u16string_view deptName,
                         std::u16string_view deptCode) override;

    // What the form shows and would send.
    const std::vector<CDept>& GetDepts() const { return m_depts.List(); }
    int GetDeptIndex() const { return m_depts.Index(); }
    std::string GetDeptCode() const { return m_depts.Code(); }
    std::u16string GetDeptText() const { return m_depts.Text(); }
    std::string GetTypeCode() const;
    bool IsTokenMode() const { return m_tokenMode; }
    // The account box's text as the account id the login sends.
    std::string NormalizedAccount() const;

    // ---- Virtual operations ----
    int OnInitDialog() override;
    void OnLayout() override;
    void OnPaint(CDC& dc) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnToolbarCommand(int index) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
    // The login is sent only by the press; no refresh sends anything.
    void SendRefresh(RefreshCause cause) override;
    int BuildRequest(CAString& out) override;
    void OnNetReply(const CNetReply& reply) override;
    void OnRequestNotSent(NotSent why) override;

private:
    // The press of "登录": checks, then sends once.
    void StartLogin();
    void ProcessLoginError(const CWString& text);
    void OpenDynCodeCtrWnd();
    void OpenHistory();
    void ChooseDept();
    void ChooseType();
    void LoadSalesDepts();
    void UpdateAuthMode();
    void ShowDeptAndType();
    void PlaceControls();
    void EndAttempt(bool enable);
    void EnableToolbar(bool on);
    CTradeLoginLayout Layout() const;
    void Message(std::u16string_view text, std::u16string_view caption);

    CTradeLoginDepts m_depts;
    int m_typeIndex = 0;
    int m_notifyValue = -1;
    bool m_tokenMode = false;
    CActionSend m_action{*this, u"登录请求未发出，请重新登录"};

    // The attempt's texts, kept only until the request is composed.
    std::string m_pendingText;  // the request (holds the password): wiped after sending
    CTradeLoginAttempt m_attempt;

    std::array<UiButton, kRows> m_rowBg;
    std::array<UiStatic, CTradeLoginLayout::kLabels> m_labels;
    UiStatic m_deptText;
    UiStatic m_typeText;
    UiButton m_deptArrow;
    UiButton m_typeArrow;
    UiEdit m_account;
    UiButton m_history;
    UiButton m_token;
    UiButton m_save;
    UiEdit m_password;
    UiEdit m_passPhrase;
    UiEdit m_code;
    UiStatic m_note;
};
