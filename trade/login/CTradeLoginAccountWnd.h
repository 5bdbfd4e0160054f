// The list of trade accounts, in one of two modes fixed at construction:
// - logged-in accounts ("已登录账号"): make one current ("激活"), log one
//   out ("注销"), or log in another ("登录新账户"); the list mirrors the
//   application state's accounts each time it is filled, and logging the
//   last one out closes the window with code 0;
// - history accounts ("历史登录账户", from the login form's history
//   button): delete a row ("删除") or fill the login form from it ("登录",
//   which closes with code 1 only once the form was filled).
// "返回" closes with code 2 in both modes.
#pragma once

#include "framework/ui/CLayoutBaseWnd.h"
#include "framework/ui/widgets/CMenuListCtrl.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiStatic.h"

class ITradeLoginHost;

class CTradeLoginAccountWnd : public CLayoutBaseWnd {
public:
    enum : int { kModeLoggedIn = 0, kModeHistory = 1 };
    enum : int { kLabelId = 302, kListId = 184, kNewLoginId = 229 };
    static constexpr int kItemHeight = 80; // pixels

    CTradeLoginAccountWnd(std::u16string_view title, int mode);
    ~CTradeLoginAccountWnd() override;
    const char* GetClassName() const override { return "CTradeLoginAccountWnd"; }

    int GetMode() const { return m_mode; }
    // The login form a history row fills (not owned; a window that
    // implements the host); null keeps the old one.
    void SetLoginWnd(ITradeLoginHost* host);

    void FillList();
    CMenuListCtrl& GetList() { return m_list; }

    // ---- Virtual operations ----
    int OnInitDialog() override;
    void BuildForm() override;
    void OnLayout() override;
    CRect GetFormRect() const override;
    void OnToolbarCommand(int index) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void ActivateSelected();
    void LogoutSelected();
    void DeleteSelectedHistory();
    // True when the login form was filled from the selected row.
    bool LoginWithSelectedHistory();
    void PlaceControls();
    void SetLabelForCurrent();

    int m_mode;
    HWND m_loginWnd = nullptr;
    UiStatic m_label;
    CMenuListCtrl m_list;
    UiButton m_newLogin;
};
