// The window base: controls, the modal run over the parent, close codes
// and swipes.
#include "framework/ui/CBaseWnd.h"

#include "framework/app/CAppData.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/WndMessages.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/UiDefs.h"
#include "platform/ui/UiEdit.h"
#include "platform/ui/UiSip.h"
#include "platform/win/UiMessageLoop.h"

#include <cstdlib>
#include <cstring>

namespace {
// Window kinds that a right swipe never closes.
constexpr const char* kNoBackSwipe[] = {"COrbAppFrame", "CLogonWnd", kStockEditorClass, kTradeLoginClass};

// What the user's taps make of a window: its controls' commands, the
// caption buttons and presses on the form itself. An edit's focus and
// change reports are not acts but state the window keeps up with (a
// focus lost as a page opens restarts its timers), so they always pass.
bool IsUserInput(UINT msg, WPARAM wParam) {
    switch (msg) {
    case WM_COMMAND: {
        const int code = HighWord(wParam);
        return code != EN_SETFOCUS && code != EN_KILLFOCUS && code != EN_CHANGE;
    }
    case WND_MSG_CAPTION_BACK:
    case WND_MSG_CAPTION_TRADE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        return true;
    default:
        return false;
    }
}
} // namespace

CBaseWnd::CBaseWnd() {
    SetBackground(0xFFFFFF);
}

CBaseWnd::~CBaseWnd() {
    // Children go first, while the derived parts still stand.
    Destroy();
}

bool CBaseWnd::CreateOver(UiWin* parent, const CRect& rect) {
    CRect r = rect;
    if (r.IsEmpty())
        r = GetWndManager().GetWorkRect();
    m_parentWnd = parent ? parent->GetHandle() : nullptr;
    if (!CreateForm(parent, r, false))
        return false;
    if (!OnInitDialog()) {
        Destroy();
        return false;
    }
    return true;
}

int CBaseWnd::OnInitDialog() {
    const CRect client = GetClientRect();
    if (!m_captionBar.CreateBar(this))
        return 0;
    m_captionBar.SetTitle(m_title.view());
    const CRect bar{0, client.bottom - kBottomBarHeight, client.right, client.bottom};
    if (!m_imageBar.CreateBar(this, bar, true) || !m_toolBar.CreateBar(this, bar, false))
        return 0;
    if (!m_clientArea.Create(this, GetBodyRect(), kClientAreaId, true))
        return 0;
    return 1;
}

void CBaseWnd::SetMenuParams(int, const char*, const char*) {}

int CBaseWnd::ShowModal(int menuId, const char* param, const char* request, int animation) {
    if (!IsCreated())
        return -1;
    UiWin* parent = UiWin::FromHandle(m_parentWnd);
    if (parent && parent->IsVisible()) {
        parent->ShowWindow(false);
        if (auto* base = dynamic_cast<CBaseWnd*>(parent))
            base->OnWindowHidden();
    }
    m_closing = false;
    m_childNotified = false;
    m_closeCode = -1;
    if (auto* base = dynamic_cast<CBaseWnd*>(parent))
        base->m_lastChild = GetHandle();
    SetMenuParams(menuId, param, request);
    OnWindowShown();
    const int code = DoModal(animation);
    if (IsCreated()) {
        OnWindowHidden();
        ShowWindow(false, m_hideAnimation);
    }
    // A run that ended without EndWindow (the form was ended directly)
    // still tells its parent, so the parent never stays hidden.
    parent = UiWin::FromHandle(m_parentWnd);
    if (!m_childNotified && parent) {
        m_childNotified = true;
        parent->PostMessage(WND_MSG_CHILD_CLOSED, static_cast<WPARAM>(static_cast<LPARAM>(code)),
                            reinterpret_cast<LPARAM>(GetHandle()));
    }
    // A parent that is not a window base does not act on the message:
    // show it again here.
    if (parent && !dynamic_cast<CBaseWnd*>(parent) && !parent->IsVisible())
        parent->ShowWindow(true);
    return m_closing ? m_closeCode : code;
}

bool CBaseWnd::HandleHomeOrBack(int index) {
    if (index != kToolbarLeft && index != kToolbarRight)
        return false;
    EndWindow(index == kToolbarLeft ? 0 : 1);
    return true;
}

void CBaseWnd::EndWindow(int code) {
    if (m_closing || IsHeldOpen())
        return;
    m_closing = true;
    m_closeCode = code;
    if (UiWin* parent = UiWin::FromHandle(m_parentWnd)) {
        m_childNotified = true;
        parent->PostMessage(WND_MSG_CHILD_CLOSED, static_cast<WPARAM>(static_cast<LPARAM>(code)),
                            reinterpret_cast<LPARAM>(GetHandle()));
    }
    EndModal(code);
}

void CBaseWnd::OnChildClosed(int code) {
    if (code == 0 && IsModal()) {
        EndWindow(0);
        return;
    }
    if (!IsVisible()) {
        ShowWindow(true);
        if (code == 2)
            ApplyScreenSettings();
        OnWindowShown();
    } else if (code == 2) {
        ApplyScreenSettings();
    }
    if (code == 1)
        OnRefreshCommand();
}

void CBaseWnd::ApplyScreenSettings() {
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (loop)
        MoveWindow(loop->GetWorkRect());
    OnLayout();
    Invalidate();
}

void CBaseWnd::SetCaption(std::u16string_view text) {
    m_title.Assign(text);
    if (m_captionBar.IsCreated())
        m_captionBar.SetTitle(text);
}

void CBaseWnd::RemoveClientArea() {
    m_clientArea.Destroy();
}

void CBaseWnd::SetImageBarButtons(const std::vector<int>& resourceIds) {
    if (!m_imageBar.IsCreated())
        return;
    m_imageBar.SetImages(resourceIds);
    m_imageBar.ShowWindow(true);
    if (m_toolBar.IsCreated())
        m_toolBar.ShowWindow(false);
}

void CBaseWnd::UseTextToolbar(std::u16string_view left, std::u16string_view middle, std::u16string_view right) {
    m_imageBar.Destroy();
    if (!m_toolBar.IsCreated())
        return;
    m_toolBar.SetTexts(left, middle, right);
    m_toolBar.ShowWindow(true);
}

int CBaseWnd::GetBottomBarHeight() const {
    const bool shown = (m_imageBar.IsCreated() && m_imageBar.IsVisible()) ||
                       (m_toolBar.IsCreated() && m_toolBar.IsVisible());
    return shown ? kBottomBarHeight : 0;
}

CRect CBaseWnd::GetBodyRect() const {
    const CRect client = GetClientRect();
    const bool anyBar = m_imageBar.IsCreated() || m_toolBar.IsCreated();
    const int barHeight = anyBar ? kBottomBarHeight : 0;
    return {0, kCaptionHeight, client.right, std::max(kCaptionHeight, client.bottom - barHeight)};
}

void CBaseWnd::OnLayout() {
    const CRect client = GetClientRect();
    if (m_captionBar.IsCreated())
        m_captionBar.MoveWindow(CRect::FromSize(0, 0, client.Width(), kCaptionHeight));
    const CRect bar{0, client.bottom - kBottomBarHeight, client.right, client.bottom};
    if (m_imageBar.IsCreated())
        m_imageBar.MoveWindow(bar);
    if (m_toolBar.IsCreated())
        m_toolBar.MoveWindow(bar);
    if (m_clientArea.IsCreated())
        m_clientArea.MoveWindow(GetBodyRect());
}

int CBaseWnd::EnsureVisible(UiWin* control) {
    if (!m_clientArea.IsCreated() || !control)
        return 0;
    // The panel covers the screen's bottom; the share of it over the page.
    int reserve = 0;
    if (UiSip::IsShown()) {
        UiMessageLoop* loop = UiMessageLoop::Current();
        const int screenBottom = loop ? loop->GetScreenRect().bottom : GetScreenRect().bottom;
        const int pageBottom = m_clientArea.GetScreenRect().bottom;
        reserve = std::max(0, UiSip::kPanelHeight - (screenBottom - pageBottom));
    }
    m_clientArea.EnsureVisible(control, reserve);
    return m_clientArea.GetScrollPos();
}

void CBaseWnd::OnEditNotify(UiWin* /*window*/, UiEdit* edit, int screenMode, int typeA, int typeB) {
    if (!edit)
        return;
    int type = 0;
    int option = 0;
    if (screenMode == SCREEN_MODE_1 || screenMode == SCREEN_MODE_4) {
        type = typeA;
        option = 65;
    } else if (screenMode == SCREEN_MODE_0 || screenMode == SCREEN_MODE_2) {
        type = typeB;
        option = 0;
    } else {
        return;
    }
    edit->SetSipMode(type, option);
    if (edit->HasFocus())
        UiSip::Request(type, option);
}

void CBaseWnd::DrawRoundButton(CDC& dc, const CRect& rect, bool shadow) {
    constexpr int kCorner = 20; // the ellipse of a radius-10 corner
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 1, 0xD2D2D2});
    dc.SelectBrush(CBrush::Solid(0xD2D2D2));
    if (shadow)
        dc.RoundRect(rect.Offset(2, 2), kCorner, kCorner);
    dc.SelectPen({PS_SOLID, 1, 0x646464});
    dc.SelectBrush(CBrush::Solid(0xECECEC));
    dc.RoundRect(rect, kCorner, kCorner);
}

IWindowOpener& CBaseWnd::GetWndManager() {
    return GetWindowOpener();
}

void CBaseWnd::ResetRotation() {
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (!loop || loop->GetScreenMode() == SCREEN_MODE_1)
        return;
    loop->SetScreenMode(SCREEN_MODE_1);
    MoveWindow(loop->GetWorkRect());
    OnLayout();
}

bool CBaseWnd::IgnoresBackSwipe() const {
    const char* name = GetClassName();
    for (const char* kind : kNoBackSwipe)
        if (std::strcmp(name, kind) == 0)
            return true;
    return false;
}

bool CBaseWnd::TakesInput() const {
    return IsVisible() && !m_closing && !HasModalAbove() && !IsHeldOpen();
}

LRESULT CBaseWnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Commands and caption presses are posted: one made before a page
    // opened over this window, or before its action left, is handled only
    // after, and would open a second page or act twice. It is dropped, not
    // kept for later.
    if (IsUserInput(msg, wParam) && !TakesInput()) {
        // A press this form captured before ends with its release.
        if (msg == WM_LBUTTONUP && UiWin::GetCapture() == this)
            ReleaseCapture();
        return 0;
    }
    return OnMessage(msg, wParam, lParam);
}

LRESULT CBaseWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WND_MSG_CLOSE:
        EndWindow(static_cast<int>(lParam));
        return 0;
    case WND_MSG_CHILD_CLOSED:
        if (reinterpret_cast<HWND>(lParam) == m_lastChild)
            OnChildClosed(static_cast<int>(static_cast<LPARAM>(wParam)));
        return 0;
    case WND_MSG_CAPTION_BACK:
        if (IsModal())
            EndWindow(1);
        return 0;
    case WND_MSG_CAPTION_TRADE:
        if (CAppData* app = CAppData::Instance())
            app->CheckTradeLogin(this, -1, false);
        return 0;
    default:
        return CUiWnd::WndProc(msg, wParam, lParam);
    }
}

bool CBaseWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) == UI_BOTTOM_BAR_ID) {
        OnToolbarCommand(BarButtonIndex(wParam, lParam));
        return true;
    }
    return CUiWnd::OnCommand(wParam, lParam);
}

void CBaseWnd::OnLButtonDown(UINT flags, CPoint pt) {
    m_pressPoint = pt;
    m_pressed = true;
    CUiWnd::OnLButtonDown(flags, pt);
}

void CBaseWnd::OnLButtonUp(UINT flags, CPoint pt) {
    CUiWnd::OnLButtonUp(flags, pt);
    if (!m_pressed)
        return;
    m_pressed = false;
    const CRect area = m_hasSwipeRect ? m_swipeRect : GetClientRect();
    if (!area.Contains(pt))
        return;
    const int dx = pt.x - m_pressPoint.x;
    const int dy = pt.y - m_pressPoint.y;
    const int ax = std::abs(dx);
    const int ay = std::abs(dy);
    if (ax <= kSwipeMinDistance || ax <= 2 * ay)
        return; // not a sideways swipe (vertical swipes mean nothing here)
    if (dx > 0) {
        if (!IgnoresBackSwipe() && IsModal())
            EndWindow(1);
    } else {
        OnLeftSwipe();
    }
}
