// The edit box.
#include "platform/ui/UiEdit.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiSip.h"
#include "platform/ui/UiTheme.h"

UiEdit::UiEdit() {
    UiWin::SetTextColor(UiTheme::kText);
    UiWin::SetBkColor(UiTheme::kEditBack);
}

UiEdit::~UiEdit() = default;

void UiEdit::SetText(std::u16string_view text) {
    if (m_limit > 0 && text.size() > static_cast<size_t>(m_limit))
        text = text.substr(0, m_limit);
    if (text == GetText())
        return;
    UiWin::SetText(text);
    Invalidate();
    NotifyChange(UI_EDIT_CHANGE_SET);
}

void UiEdit::SetLimitText(int maxChars) {
    m_limit = std::max(0, maxChars);
    if (m_limit > 0 && GetText().size() > static_cast<size_t>(m_limit))
        SetText(std::u16string(GetText()));
}

std::u16string UiEdit::GetDisplayText() const {
    if (IsPassword())
        return std::u16string(GetText().size(), u'●');
    return GetText();
}

void UiEdit::NotifyChange(int how) {
    NotifyParent(EN_CHANGE);
    if (UiWin* parent = GetParent(); parent && IsCreated())
        parent->PostMessage(UIM_EDIT_NOTIFY, static_cast<WPARAM>(GetId()), how);
}

void UiEdit::OnPaint(CDC& dc) {
    const CRect client = GetClientRect();
    const COLORREF back = (m_readOnly || !IsEnabled()) ? UiTheme::kEditReadOnly : GetBkColor();
    const bool focused = HasFocus();
    const CPen oldPen = dc.SelectPen({PS_SOLID, focused ? 2 : 1, focused ? UiTheme::kFocusFrame : UiTheme::kBorder});
    const CBrush oldBrush = dc.SelectBrush(CBrush::Solid(back));
    dc.Rectangle(client);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);

    const CRect inner = client.Deflate(8, 4);
    const bool empty = GetText().empty();
    const std::u16string shown = empty ? m_hint : GetDisplayText();
    unsigned format = m_align | DT_END_ELLIPSIS;
    format |= m_singleLine ? (DT_VCENTER | DT_SINGLELINE) : DT_WORDBREAK;
    const CFont oldFont = dc.SelectFont({m_fontSize, 400});
    const COLORREF color = empty ? UiTheme::kHint : (IsEnabled() ? GetTextColor() : UiTheme::kTextDisabled);
    const COLORREF oldColor = dc.SetTextColor(color);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    if (!shown.empty())
        dc.DrawText(shown, inner, format);
    if (focused && !m_readOnly) {
        // The caret after the last character (before the hint when empty).
        const int width = empty ? 0 : dc.GetTextExtent(shown).cx;
        int x = inner.left + width;
        if (m_align == DT_CENTER)
            x = inner.left + (inner.Width() + width) / 2;
        else if (m_align == DT_RIGHT)
            x = inner.right - 1;
        x = std::min(x, inner.right - 1);
        const int h = m_fontSize;
        const int top = m_singleLine ? inner.top + (inner.Height() - h) / 2 : inner.top;
        const CPen caretPen = dc.SelectPen({PS_SOLID, 1, UiTheme::kText});
        dc.MoveTo(x, top);
        dc.LineTo(x, top + h);
        dc.SelectPen(caretPen);
    }
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldColor);
    dc.SelectFont(oldFont);
}

void UiEdit::OnLButtonDown(UINT, CPoint) {
    if (!HasFocus())
        SetFocus();
}

void UiEdit::OnChar(char16_t ch) {
    if (m_readOnly || !IsEnabled())
        return;
    // Control characters (backspace arrives as VK_BACK; return and tab end
    // nothing in a one-line box) are not text.
    if (ch < 0x20 || ch == 0x7F)
        return;
    if (m_limit > 0 && GetLength() >= m_limit)
        return;
    std::u16string text = GetText();
    text.push_back(ch);
    UiWin::SetText(text);
    Invalidate();
    NotifyChange(UI_EDIT_CHANGE_TYPED);
}

void UiEdit::OnKeyDown(int key) {
    if (key != VK_BACK || m_readOnly || !IsEnabled() || GetText().empty())
        return;
    std::u16string text = GetText();
    text.pop_back();
    // Never leave half of a surrogate pair behind.
    if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF)
        text.pop_back();
    UiWin::SetText(text);
    Invalidate();
    NotifyChange(UI_EDIT_CHANGE_DELETED);
}

void UiEdit::OnSetFocus() {
    Invalidate();
    if (!m_readOnly)
        UiSip::Request(m_sipType, m_sipOption);
    NotifyParent(EN_SETFOCUS);
}

void UiEdit::OnKillFocus() {
    Invalidate();
    UiSip::Show(false);
    NotifyParent(EN_KILLFOCUS);
}
