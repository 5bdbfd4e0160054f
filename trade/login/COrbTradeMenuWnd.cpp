// The trade menu's header, rows and login road.
#include "trade/login/COrbTradeMenuWnd.h"

#include "core/CAString.h"
#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/app/CMenuNode.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/WndMessages.h"
#include "platform/ui/CUiMessageBox.h"
#include "trade/login/CTradeLoginAccountWnd.h"

#include <memory>

namespace {
constexpr char kFundOpenKeyword[] = "of_jjkh";
constexpr char kFundRiskKeyword[] = "of_jjkhfxts";

bool IsKeyword(const CMenuNode& node, const char* keyword) {
    return StrEqualNoCase(node.keyword.c_str(), keyword) == 0;
}

// False, with a notice, when the fund screen of keyword is not built; the
// user then learns it before any login is asked for.
bool HasFundScreen(UiWin* owner, const char* keyword) {
    if (CBaseWnd::GetWndManager().IsRegistered(keyword))
        return true;
    UiMessageBox(owner, COrbTradeMenuWnd::kNoFundServices, u"提示", MB_OK);
    return false;
}
} // namespace

COrbTradeMenuWnd::COrbTradeMenuWnd() {
    SetWindowKind(kWindowKind);
}

COrbTradeMenuWnd::~COrbTradeMenuWnd() {
    Destroy();
}

bool COrbTradeMenuWnd::IsLoggedIn() {
    CAppData* app = CAppData::Instance();
    return app && app->HasHolderData() && app->GetCurrentAccount() != nullptr;
}

CMenuNode* COrbTradeMenuWnd::GetMenuChild(int index) const {
    CMenuNode* node = GetMenuNode();
    if (!node || index < 0)
        return nullptr;
    CMenuNode* child = node->firstChild;
    for (int i = 0; child && i < index; ++i)
        child = child->nextSibling;
    return child;
}

int COrbTradeMenuWnd::OnInitDialog() {
    if (!COrbMenuWnd::OnInitDialog())
        return 0;
    const bool wide = GetClientRect().Width() == 720;
    if (!m_headerLabel.Create(this, {}, kLabelId, true) || !m_accountText.Create(this, {}, kLabelId, true) ||
        !m_headerButton.Create(this, {}, kHeaderButtonId, true))
        return 0;
    m_headerLabel.SetText(u"当前账号:");
    m_headerLabel.SetTextColor(0xFFFFFF);
    m_headerLabel.SetFontSize(wide ? 25 : 24);
    m_accountText.SetTextColor(0x1E1EFF);
    m_accountText.SetFontSize(wide ? 25 : 23);
    m_headerButton.SetStyle(UI_BTN_PUSH);
    // The theme's text colour: white would vanish on the light button face.
    m_headerButton.SetText(u"切换");
    // The white label sits on a dark field, as the bars' texts do.
    m_headerLabel.SetBkColor(kHeaderBackground);
    PlaceControls(120);
    return 1;
}

void COrbTradeMenuWnd::PlaceControls(int left) {
    m_left = left;
    if (!m_headerLabel.IsCreated())
        return;
    const CRect client = GetClientRect();
    const int w = client.Width();
    const int textWidth = static_cast<int>((w - left) * 0.72);
    const int top = kCaptionHeight;
    m_headerLabel.MoveWindow(CRect::FromSize(0, top, 110, kHeaderHeight));
    m_accountText.MoveWindow(CRect::FromSize(left, top, textWidth, kHeaderHeight));
    m_headerButton.MoveWindow(CRect::FromSize(left + textWidth, top, w - left - textWidth, kHeaderHeight));
    const int listTop = top + kHeaderHeight;
    GetList().MoveWindow(CRect::FromSize(0, listTop, w, client.Height() - listTop - GetBottomBarHeight()));
}

void COrbTradeMenuWnd::OnLayout() {
    COrbMenuWnd::OnLayout();
    const CRect client = GetClientRect();
    const bool turned = client.Width() > client.Height();
    if (turned && m_headerLabel.IsCreated()) {
        m_headerLabel.SetFontSize(25);
        m_accountText.SetFontSize(25);
    }
    PlaceControls(turned ? 110 : 120);
}

void COrbTradeMenuWnd::RefreshHeader() {
    if (!m_accountText.IsCreated())
        return;
    CAppData* app = CAppData::Instance();
    if (IsLoggedIn()) {
        const CAccountEntry* account = app->GetCurrentAccount();
        std::u16string text = account->customerName.str();
        text += u" ";
        text += CWString::CWStringFromAnsi(account->accountId.c_str()).str();
        m_accountText.SetText(text);
        m_headerButton.SetText(u"切换");
    } else {
        m_accountText.SetText(u"当前未登录交易系统");
        m_headerButton.SetText(u"登录");
    }
}

void COrbTradeMenuWnd::OnWindowShown() {
    RefreshHeader();
    COrbMenuWnd::OnWindowShown();
}

void COrbTradeMenuWnd::OnHeaderButton() {
    CAppData* app = CAppData::Instance();
    if (!app)
        return;
    int result = 0;
    if (IsLoggedIn()) {
        auto accounts = std::make_unique<CTradeLoginAccountWnd>(u"已登录账号", CTradeLoginAccountWnd::kModeLoggedIn);
        const COpenResult r = GetWndManager().RunWindow(std::move(accounts), -1, u"已登录账号", nullptr, nullptr, this,
                                                        ANIM_PAGE_IN, ANIM_PAGE_OUT);
        result = r ? r.closeCode : 0;
    } else {
        result = app->CheckTradeLogin(this, -1, false);
    }
    if (result != 0)
        RefreshHeader();
}

bool COrbTradeMenuWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) == kHeaderButtonId) {
        if (HighWord(wParam) == BN_CLICKED)
            OnHeaderButton();
        return true;
    }
    return COrbMenuWnd::OnCommand(wParam, lParam);
}

int COrbTradeMenuWnd::OpenMenuChild(int index) {
    CMenuNode* child = GetMenuChild(index);
    if (!child)
        return -1;
    if (IsKeyword(*child, kTradeExitKeyword)) {
        const bool wasLoggedIn = IsLoggedIn();
        const COpenResult r = GetWndManager().CreateWnd(kTradeExitKeyword, child->id, u"退出交易", "", "", 0, this);
        if (wasLoggedIn)
            RefreshHeader();
        return r ? 1 : 0;
    }
    if (IsKeyword(*child, kFundOpenKeyword) && !HasFundScreen(this, kFundRiskKeyword))
        return 0;
    if (!IsLoggedIn()) {
        CAppData* app = CAppData::Instance();
        return app ? app->CheckTradeLogin(this, index, false) : -1;
    }
    if (IsKeyword(*child, kFundOpenKeyword)) {
        const COpenResult r =
            GetWndManager().CreateWnd(kFundRiskKeyword, child->id, u"基金开户风险提示", "", "", 0, this);
        return r ? 1 : 0;
    }
    return COrbMenuWnd::OpenMenuChild(index);
}

LRESULT COrbTradeMenuWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WND_MSG_TRADE_LOGGED_IN) {
        RefreshHeader();
        OpenMenuChild(static_cast<int>(lParam));
        return 0;
    }
    if (msg == WND_MSG_FUND_RISK_AGREED) {
        if (HasFundScreen(this, kFundOpenKeyword))
            GetWndManager().CreateWnd(kFundOpenKeyword, static_cast<int>(lParam), u"基金开户", "", "", 0, this);
        return 0;
    }
    return COrbMenuWnd::OnMessage(msg, wParam, lParam);
}
