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

namespace {
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Cuts text to at most limit units without splitting a surrogate pair.
std::u16string_view CutToLimit(std::u16string_view text, int limit) {
    if (limit <= 0 || text.size() <= static_cast<size_t>(limit))
        return text;
    size_t keep = static_cast<size_t>(limit);
    if (IsHighSurrogate(text[keep - 1]))
        --keep;
    return text.substr(0, keep);
}
} // namespace

void UiEdit::SetText(std::u16string_view text) {
    text = CutToLimit(text, m_limit);
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
    if (IsPassword()) {
        // One dot per character: a surrogate pair is one.
        size_t characters = 0;
        for (char16_t c : GetText())
            if (!IsLowSurrogate(c))
                ++characters;
        return std::u16string(characters, u'●');
    }
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
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, focused ? 2 : 1, focused ? UiTheme::kFocusFrame : UiTheme::kBorder});
    dc.SelectBrush(CBrush::Solid(back));
    dc.Rectangle(client);

    const CRect inner = client.Deflate(8, 4);
    const bool empty = GetText().empty();
    const std::u16string shown = empty ? m_hint : GetDisplayText();
    unsigned format = m_align | DT_END_ELLIPSIS;
    format |= m_singleLine ? (DT_VCENTER | DT_SINGLELINE) : DT_WORDBREAK;
    dc.SelectFont({m_fontSize, 400});
    dc.SetTextColor(empty ? UiTheme::kHint : (IsEnabled() ? GetTextColor() : UiTheme::kTextDisabled));
    dc.SetBkMode(TRANSPARENT);
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
        dc.SelectPen({PS_SOLID, 1, UiTheme::kText});
        dc.MoveTo(x, top);
        dc.LineTo(x, top + h);
    }
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
    // A character outside the basic plane arrives as two units: its first
    // half is taken only with room for both, its second only after its first.
    const bool pairPending = !GetText().empty() && IsHighSurrogate(GetText().back());
    if (IsLowSurrogate(ch) && !pairPending)
        return;
    const int room = m_limit > 0 ? m_limit - GetLength() : 2;
    if (room < (IsHighSurrogate(ch) ? 2 : 1))
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
    if (!text.empty() && IsHighSurrogate(text.back()))
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
