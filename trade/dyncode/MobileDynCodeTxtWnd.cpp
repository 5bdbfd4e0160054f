// The phone-token text page; see the header.
#include "trade/dyncode/MobileDynCodeTxtWnd.h"

#include "core/CDataSetList.h"
#include "platform/gdi/CDC.h"
#include "trade/dyncode/DynCodeApply.h"

MobileDynCodeTxtWnd::MobileDynCodeTxtWnd(std::u16string_view title, int mode, bool confirm)
    : m_mode(mode == kModeRisk ? kModeRisk : kModeUsage), m_confirm(confirm) {
    SetCaption(title);
}

MobileDynCodeTxtWnd::~MobileDynCodeTxtWnd() {
    Destroy();
}

int MobileDynCodeTxtWnd::OnInitDialog() {
    if (!CTextWnd::OnInitDialog())
        return 0;
    if (m_mode == kModeRisk) {
        UseTextToolbar(u"首页", u"下一步", u"返回");
        EnableMiddle(false);
    } else if (m_confirm) {
        UseTextToolbar(u"首页", u"确定", u"返回");
        EnableMiddle(false);
        if (!m_hint.Create(this, {}, kHintId, true) || !m_check.Create(this, {}, kCheckId, true) ||
            !m_checkLabel.Create(this, {}, kHintId, true))
            return 0;
        m_hint.SetText(u"请务必认真阅读使用说明，如有疑问请咨询97413。");
        m_hint.SetFormat(DT_LEFT | DT_VCENTER | DT_WORDBREAK);
        // A deeper red than the panel's stock one, to read on the white panel.
        m_hint.SetTextColor(kHintColor);
        m_check.SetStyle(UI_BTN_CHECK_ALT);
        m_check.SetChecked(false);
        m_check.EnableWindow(false);
        m_checkLabel.SetText(u"我已阅读此使用说明");
        m_checkLabel.SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        m_checkLabel.SetFontSize(24);
        m_checkLabel.SetTextColor(0x000000);
        PlaceConfirmArea();
    }
    return 1;
}

void MobileDynCodeTxtWnd::EnableMiddle(bool on) {
    if (UiToolBar* bar = GetToolBar()) {
        bar->EnableButton(kToolbarMiddle, on);
        bar->Invalidate();
    }
}

CRect MobileDynCodeTxtWnd::ConfirmPanel() const {
    const CRect client = GetClientRect();
    const int barTop = client.bottom - GetBottomBarHeight();
    const int lift = client.Width() == 720 ? 80 : 100;
    return {0, barTop - lift, client.Width(), barTop + 5};
}

void MobileDynCodeTxtWnd::PlaceConfirmArea() {
    if (!HasConfirmArea() || !m_check.IsCreated())
        return;
    const CRect client = GetClientRect();
    const int w = client.Width();
    const int barTop = client.bottom - GetBottomBarHeight();
    // Wide screens use the lower placement.
    const bool wide = w == 720;
    const int lift = wide ? 80 : 100;
    const int line = wide ? 40 : 50;
    const int checkLeft = wide ? 200 : 80;
    if (CClientArea* page = GetClientArea()) {
        CRect body = GetBodyRect();
        body.bottom -= lift;
        page->MoveWindow(body);
    }
    // The hint keeps clear of the panel's rounded frame: inset from both
    // sides and below its top, in a size whose one line fits between.
    const int pad = wide ? 4 : 6;
    m_hint.SetFontSize(wide ? 24 : 22);
    m_hint.MoveWindow(CRect::FromSize(kHintInset, barTop - lift + pad, w - 2 * kHintInset,
                                      (wide ? line : line - 10) - pad));
    m_check.MoveWindow(CRect::FromSize(checkLeft, barTop - lift + line + (wide ? 0 : -10), 60, line));
    m_checkLabel.MoveWindow(CRect::FromSize(checkLeft + 60, barTop - lift + line + (wide ? 0 : -10), w - checkLeft - 60, line));
    Invalidate();
}

void MobileDynCodeTxtWnd::OnLayout() {
    CTextWnd::OnLayout();
    PlaceConfirmArea();
}

void MobileDynCodeTxtWnd::OnPaint(CDC& dc) {
    CTextWnd::OnPaint(dc);
    if (!HasConfirmArea())
        return;
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 1, 0xA0A0A0});
    dc.SelectBrush(CBrush::Solid(0xFFFFFF));
    dc.RoundRect(ConfirmPanel(), 20, 20);
}

void MobileDynCodeTxtWnd::SetPageText(std::u16string_view text) {
    SetText(text.empty() ? std::u16string_view(kNoInfoText) : text);
    m_hasText = !text.empty();
    PlaceConfirmArea();
    if (m_mode == kModeRisk)
        EnableMiddle(m_hasText);
    else if (HasConfirmArea() && m_check.IsCreated()) {
        m_check.EnableWindow(m_hasText);
        EnableMiddle(m_hasText && m_check.IsChecked());
    }
    Invalidate();
}

bool MobileDynCodeTxtWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) == kCheckId && HasConfirmArea()) {
        EnableMiddle(m_hasText && m_check.IsChecked());
        return true;
    }
    return CTextWnd::OnCommand(wParam, lParam);
}

void MobileDynCodeTxtWnd::OnToolbarCommand(int index) {
    if (index != kToolbarMiddle || !IsRoadPage()) {
        CTextWnd::OnToolbarCommand(index);
        return;
    }
    // A disabled button may still see a press from a script: the same checks.
    if (!m_hasText || (HasConfirmArea() && !m_check.IsChecked()))
        return;
    m_outcome = m_mode == kModeRisk ? kOutcomeRiskRead : kOutcomeUsageConfirmed;
    SetHideAnimation(ANIM_NONE);
    EndWindow(-1);
}

int MobileDynCodeTxtWnd::BuildRequest(CAString& out) {
    if (m_hasText)
        return 0;
    return CTextWnd::BuildRequest(out);
}

void MobileDynCodeTxtWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!data || length <= 0)
        return;
    CDataSetList reply(data, length);
    if (ShowReplyError(reply))
        return;
    CDynCodeTexts texts;
    ReadDynCodeTexts(reply, texts);
    SetPageText(m_mode == kModeRisk ? texts.risk : texts.usage);
}
