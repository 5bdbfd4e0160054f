// The start-up screen's controls and its cancel (see the header).
#include "framework/app/CStartupWnd.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiDefs.h"
#include "platform/win/UiMessageLoop.h"

CStartupWnd::CStartupWnd(std::function<void()> onCancel) : m_onCancel(std::move(onCancel)) {
    SetBackground(0xFFFFFF);
}

CStartupWnd::~CStartupWnd() { Destroy(); }

bool CStartupWnd::Open(const CRect& rect) {
    if (!CreateForm(nullptr, rect, false))
        return false;
    m_title.SetText(u"OrbStock");
    m_title.SetFontSize(40);
    m_title.SetBold(true);
    m_title.SetFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    m_text.SetText(kConnectingText);
    m_text.SetFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    m_progress.SetRange(0, kSteps);
    m_cancel.SetStyle(UI_BTN_ROUND);
    m_cancel.SetText(u"取消");
    if (!m_title.Create(this, {}, kTitleId) || !m_text.Create(this, {}, kTextId) ||
        !m_progress.Create(this, {}, kProgressId) || !m_cancel.Create(this, {}, kCancelId)) {
        Destroy();
        return false;
    }
    Layout();
    SetTimer(kStepTimer, kStepIntervalMs);
    ShowWindow(true);
    return true;
}

void CStartupWnd::Layout() {
    if (!m_cancel.IsCreated())
        return;
    const CRect client = GetClientRect();
    const int middle = client.Height() * 2 / 5;
    m_title.MoveWindow(CRect::FromSize(0, middle - 110, client.Width(), 60));
    m_text.MoveWindow(CRect::FromSize(20, middle - 20, client.Width() - 40, 40));
    m_progress.MoveWindow(CRect::FromSize(60, middle + 40, client.Width() - 120, 10));
    m_cancel.MoveWindow(CRect::FromSize((client.Width() - 180) / 2, middle + 100, 180, 60));
}

void CStartupWnd::OnSize(int width, int height) {
    CUiWnd::OnSize(width, height);
    Layout();
}

CPoint CStartupWnd::GetCancelPoint() const {
    const CRect r = m_cancel.GetScreenRect();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void CStartupWnd::OnTimer(UINT id) {
    if (id == kStepTimer)
        m_progress.StepIt();
    else
        CUiWnd::OnTimer(id);
}

bool CStartupWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) != kCancelId || HighWord(wParam) != BN_CLICKED)
        return CUiWnd::OnCommand(wParam, lParam);
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (!m_onCancel || !loop)
        return true;
    // Once: the line stops and the button greys while the program ends.
    m_cancel.EnableWindow(false);
    KillTimer(kStepTimer);
    loop->PostTask([alive = std::weak_ptr<bool>(m_alive), cancel = std::move(m_onCancel)] {
        if (alive.lock())
            cancel();
    });
    m_onCancel = nullptr;
    return true;
}
