// The caption bar's drawing, buttons and busy line.
#include "framework/ui/CCaptionBar.h"

#include "framework/app/CAppData.h"
#include "framework/ui/WndMessages.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/UiDefs.h"

namespace {
constexpr COLORREF kBarColor = 0x3C2814;        // dark blue
constexpr COLORREF kTitleColor = 0xFFFFFF;
constexpr COLORREF kButtonFrame = 0xA0A0A0;
constexpr COLORREF kTradeLoggedIn = 0x28B428;    // green face: a trade account is logged in
constexpr COLORREF kBusyColor = 0x00C8FF;        // orange
constexpr int kBusyLineWidth = 60;               // pixels
} // namespace

CCaptionBar::CCaptionBar() {
    SetBkColor(kBarColor);
    SetTextColor(kTitleColor);
}

CCaptionBar::~CCaptionBar() {
    Destroy();
}

bool CCaptionBar::CreateBar(UiWin* window) {
    const CRect r = CRect::FromSize(0, 0, window->GetClientRect().Width(), kHeight);
    return Create(window, r, 0, true);
}

void CCaptionBar::SetTitle(std::u16string_view title) {
    m_title.Assign(title);
    Invalidate();
}

void CCaptionBar::SetBusy(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    m_busyStep = 0;
    if (busy)
        SetTimer(kBusyTimer, kBusyIntervalMs);
    else
        KillTimer(kBusyTimer);
    Invalidate();
}

CRect CCaptionBar::GetBackRect() const {
    return CRect::FromSize(0, 0, kButtonWidth, kHeight).Deflate(4, 4);
}

CRect CCaptionBar::GetTradeRect() const {
    const int w = GetClientRect().Width();
    return CRect::FromSize(w - kButtonWidth, 0, kButtonWidth, kHeight).Deflate(4, 4);
}

bool CCaptionBar::TradeLookLoggedIn() {
    CAppData* app = CAppData::Instance();
    return app && app->IsTradeLoggedIn();
}

void CCaptionBar::OnPaint(CDC& dc) {
    const CRect client = GetClientRect();
    const CDCStateSaver saved(dc);
    dc.SetBkMode(TRANSPARENT);

    // Back button: a framed box with a left arrow.
    const CRect back = GetBackRect();
    dc.SelectPen({PS_SOLID, 1, kButtonFrame});
    dc.SelectBrush(CBrush::Solid(m_pressed == kBack ? 0x785A3C : kBarColor));
    dc.RoundRect(back, 10, 10);
    dc.SelectPen({PS_SOLID, 2, kTitleColor});
    const int cy = back.top + back.Height() / 2;
    const int cx = back.left + back.Width() / 2;
    dc.MoveTo(cx + 8, cy - 10);
    dc.LineTo(cx - 6, cy);
    dc.LineTo(cx + 8, cy + 10);

    // Trade button: filled in the logged-in look while a trade account is in.
    const CRect trade = GetTradeRect();
    const bool loggedIn = TradeLookLoggedIn();
    dc.SelectPen({PS_SOLID, 1, kButtonFrame});
    dc.SelectBrush(CBrush::Solid(loggedIn ? kTradeLoggedIn : (m_pressed == kTrade ? 0x785A3C : kBarColor)));
    dc.RoundRect(trade, 10, 10);
    dc.SelectFont({20, 600});
    dc.SetTextColor(kTitleColor);
    dc.DrawText(u"交易", trade, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    // Title between the buttons.
    dc.SelectFont({24, 600});
    const CRect title{back.right + 8, 0, trade.left - 8, client.bottom};
    dc.DrawText(m_title.view(), title, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);

    if (m_busy) {
        const int span = std::max(1, client.Width() - kBusyLineWidth);
        const int x = span * m_busyStep / (kBusySteps - 1);
        dc.FillRect(CRect{x, client.bottom - 3, x + kBusyLineWidth, client.bottom}, kBusyColor);
    }
}

void CCaptionBar::OnLButtonDown(UINT flags, CPoint pt) {
    if (GetBackRect().Contains(pt)) {
        m_pressed = kBack;
    } else if (GetTradeRect().Contains(pt)) {
        m_pressed = kTrade;
    } else {
        m_pressed = kPassedOn;
        ForwardMouseToParent(this, WM_LBUTTONDOWN, flags, pt);
        return;
    }
    SetCapture();
    Invalidate();
}

void CCaptionBar::OnMouseMove(UINT flags, CPoint pt) {
    if (m_pressed == kPassedOn)
        ForwardMouseToParent(this, WM_MOUSEMOVE, flags, pt);
}

void CCaptionBar::OnLButtonUp(UINT flags, CPoint pt) {
    const Pressed pressed = m_pressed;
    m_pressed = kNone;
    if (pressed == kPassedOn || pressed == kNone) {
        ForwardMouseToParent(this, WM_LBUTTONUP, flags, pt);
        return;
    }
    if (GetCapture() == this)
        ReleaseCapture();
    Invalidate();
    UiWin* window = GetParent();
    if (!window)
        return;
    if (pressed == kBack && GetBackRect().Contains(pt))
        window->PostMessage(WND_MSG_CAPTION_BACK);
    else if (pressed == kTrade && GetTradeRect().Contains(pt))
        window->PostMessage(WND_MSG_CAPTION_TRADE);
}

void CCaptionBar::OnTimer(UINT id) {
    if (id != kBusyTimer) {
        UiWin::OnTimer(id);
        return;
    }
    m_busyStep = (m_busyStep + 1) % kBusySteps;
    Invalidate();
}
