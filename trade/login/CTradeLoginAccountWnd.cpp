// The logged-in and history account lists; see the header.
#include "trade/login/CTradeLoginAccountWnd.h"

#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/CUiMessageBox.h"
#include "trade/login/ITradeLoginHost.h"
#include "trade/login/TradeAccountHistory.h"
#include "trade/login/TradeLoginText.h"

namespace {
constexpr int kMargin = 40;       // pixels left and right
constexpr int kLabelTop = 20;     // pixels below the caption bar
constexpr int kListTop = 90;      // pixels below the caption bar
constexpr char16_t kCurrentPrefix[] = u"当前使用的账户是:\n    ";

void Tell(UiWin* owner, std::u16string_view text) {
    UiMessageBox(owner, text, u"提示", MB_OK);
}
} // namespace

CTradeLoginAccountWnd::CTradeLoginAccountWnd(std::u16string_view title, int mode)
    : m_mode(mode == kModeHistory ? kModeHistory : kModeLoggedIn) {
    SetCaption(title);
    // The lists come from the phone and the application state, not the server.
    SetFirstShow(false);
    SetRefreshOnShow(false);
    SetAutoRefresh(false);
}

CTradeLoginAccountWnd::~CTradeLoginAccountWnd() {
    m_list.RemoveAll();
    Destroy();
}

void CTradeLoginAccountWnd::SetLoginWnd(ITradeLoginHost* host) {
    // Kept by handle, so a form that is gone is never reached.
    if (auto* wnd = dynamic_cast<UiWin*>(host))
        m_loginWnd = wnd->GetHandle();
}

int CTradeLoginAccountWnd::OnInitDialog() {
    if (!CLayoutBaseWnd::OnInitDialog())
        return 0;
    if (m_mode == kModeLoggedIn)
        UseTextToolbar(u"注销", u"激活", u"返回");
    else
        UseTextToolbar(u"删除", u"登录", u"返回");
    return m_list.IsCreated() ? 1 : 0;
}

void CTradeLoginAccountWnd::BuildForm() {
    RemoveClientArea();
    if (!m_label.Create(this, {}, kLabelId, true) || !m_list.Create(this, {}, kListId, true))
        return;
    m_label.SetFontSize(24);
    m_label.SetTextColor(0x000000);
    m_label.SetFormat(m_mode == kModeLoggedIn ? DT_LEFT | DT_WORDBREAK : DT_LEFT | DT_BOTTOM | DT_SINGLELINE);
    m_list.SetItemHeight(kItemHeight);
    m_list.SetFontSize(26);
    m_list.SetSeparators(true, false);
    m_list.ShowScrollBar(true);
    if (m_mode == kModeLoggedIn) {
        if (!m_newLogin.Create(this, {}, kNewLoginId, true))
            return;
        m_newLogin.SetStyle(UI_BTN_ROUND);
        m_newLogin.SetText(u"登录新账户");
        m_newLogin.SetTextColor(0x000000);
    }
    PlaceControls();
    FillList();
}

CRect CTradeLoginAccountWnd::GetFormRect() const {
    const int width = GetClientRect().Width();
    const int height = GetClientRect().Height() - kCaptionHeight;
    const int listHeight = height - kListTop - kBottomBarHeight - (m_mode == kModeLoggedIn ? 142 : 62);
    return CRect::FromSize(kMargin, kCaptionHeight + kListTop, width - 2 * kMargin, std::max(listHeight, 0));
}

void CTradeLoginAccountWnd::PlaceControls() {
    const int width = GetClientRect().Width();
    const CRect list = GetFormRect();
    if (m_label.IsCreated())
        m_label.MoveWindow(CRect::FromSize(kMargin, kCaptionHeight + kLabelTop, width - 2 * kMargin, 60));
    if (m_list.IsCreated())
        m_list.MoveWindow(list);
    if (m_newLogin.IsCreated())
        m_newLogin.MoveWindow(CRect::FromSize(kMargin, list.bottom + 15, width - 2 * kMargin, 70));
}

void CTradeLoginAccountWnd::OnLayout() {
    CLayoutBaseWnd::OnLayout();
    PlaceControls();
    if (m_list.IsCreated())
        m_list.ScrollToTop();
}

void CTradeLoginAccountWnd::SetLabelForCurrent() {
    CAppData* app = CAppData::Instance();
    const CAccountEntry* current = app ? app->GetCurrentAccount() : nullptr;
    if (!current) {
        m_label.SetText(u"当前使用的账户是: 未登录任何账户");
        return;
    }
    std::u16string text = kCurrentPrefix;
    text += AccountRowTitle(current->accountId.view(), current->customerName.view()).view();
    m_label.SetText(text);
}

void CTradeLoginAccountWnd::FillList() {
    if (!m_list.IsCreated())
        return;
    CAppData* app = CAppData::Instance();
    if (m_mode == kModeLoggedIn) {
        m_list.RemoveAll();
        const int count = app ? app->GetAccountCount() : 0;
        for (int i = 0; i < count; ++i) {
            const CAccountEntry* entry = app->GetAccount(i);
            m_list.AddRow(AccountRowTitle(entry->accountId.view(), entry->customerName.view()), entry->department);
        }
        SetLabelForCurrent();
        if (app && count > 0)
            m_list.SetCurSel(app->GetCurrentAccountIndex());
    } else {
        std::vector<CHisAccountRecord> rows;
        try {
            if (app)
                rows = ReadHistoryAccounts(*app);
        } catch (...) {
            // The list stays as it was.
            UiMessageBox(this, u"DataBase Operation Failed!", u"ERR", MB_OK);
            return;
        }
        m_list.RemoveAll();
        for (CHisAccountRecord& row : rows) {
            std::u16string title = MaskAccountId(row.account.view());
            title += u' ';
            title += row.accountName.view();
            const CWString text = row.salesDept;
            m_list.AddRow(CWString(title), text, std::make_unique<CHisAccountRecord>(std::move(row)));
        }
        m_label.SetText(u"当前手机历史登录账户信息:");
        if (m_list.GetCount() > 0)
            m_list.SetCurSel(0);
    }
    Invalidate();
}

void CTradeLoginAccountWnd::OnToolbarCommand(int index) {
    if (index == kToolbarRight) {
        EndWindow(2);
        return;
    }
    if (m_mode == kModeLoggedIn) {
        if (index == kToolbarLeft) {
            if (UiMessageBox(this, u"确定退出当前账户的登录状态？", u"询问", MB_YESNO) != IDYES)
                return;
            LogoutSelected();
            FillList();
            if (m_list.GetCount() == 0)
                EndWindow(0);
        } else if (index == kToolbarMiddle) {
            ActivateSelected();
        }
    } else {
        if (index == kToolbarLeft) {
            DeleteSelectedHistory();
        } else if (index == kToolbarMiddle) {
            if (LoginWithSelectedHistory() && m_list.GetCount() > 0)
                EndWindow(1);
        }
    }
}

bool CTradeLoginAccountWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) == kNewLoginId && m_mode == kModeLoggedIn) {
        CAppData* app = CAppData::Instance();
        if (app && app->CheckTradeLogin(this, -1, true) == 1)
            FillList();
        return true;
    }
    return CLayoutBaseWnd::OnCommand(wParam, lParam);
}

void CTradeLoginAccountWnd::ActivateSelected() {
    CAppData* app = CAppData::Instance();
    const int row = m_list.GetCurSel();
    if (!app || row < 0 || row >= m_list.GetCount()) {
        Tell(this, u"请选中要激活的账户！");
        return;
    }
    app->SwitchAccount(row);
    const CAccountEntry* current = app->GetCurrentAccount();
    if (!current)
        return;
    SetLabelForCurrent();
    std::u16string text = u"账户";
    text += AccountRowTitle(current->accountId.view(), current->customerName.view()).view();
    text += u"已激活！";
    Tell(this, text);
}

void CTradeLoginAccountWnd::LogoutSelected() {
    CAppData* app = CAppData::Instance();
    const int row = m_list.GetCurSel();
    if (!app || row < 0 || row >= m_list.GetCount()) {
        Tell(this, u"请选中要注销登录的账户！");
        return;
    }
    app->RemoveAccount(row);
}

void CTradeLoginAccountWnd::DeleteSelectedHistory() {
    const int row = m_list.GetCurSel();
    if (row < 0 || row >= m_list.GetCount()) {
        Tell(this, u"请选中要删除的历史登录账户！");
        return;
    }
    const auto* record = static_cast<const CHisAccountRecord*>(m_list.GetRowData(row));
    if (!record)
        return;
    if (UiMessageBox(this, u"确定删除此历史记录？", u"询问", MB_YESNO) != IDYES)
        return;
    CAppData* app = CAppData::Instance();
    try {
        if (app)
            DeleteHistoryAccount(*app, record->account.view());
    } catch (...) {
        UiMessageBox(this, u"DataBase Operation Failed!", u"ERR", MB_OK);
        return;
    }
    FillList();
}

bool CTradeLoginAccountWnd::LoginWithSelectedHistory() {
    const int row = m_list.GetCurSel();
    if (row < 0 || row >= m_list.GetCount()) {
        Tell(this, u"请选中要登录的历史账户！");
        return false;
    }
    const auto* record = static_cast<const CHisAccountRecord*>(m_list.GetRowData(row));
    if (!record) {
        Tell(this, u"信息不完整，无法完成指定操作！");
        return false;
    }
    auto* login = dynamic_cast<ITradeLoginHost*>(UiWin::FromHandle(m_loginWnd));
    if (!login)
        return false;
    login->SelectSalesDept(record->inputAccount.view(), record->accountType.view(), record->salesDept.view(),
                           record->salesDeptCode.view());
    return true;
}
