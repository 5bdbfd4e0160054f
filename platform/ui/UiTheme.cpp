// The controls' shared painting routines.
#include "platform/ui/UiTheme.h"

#include "platform/gdi/CDC.h"

void UiTheme::DrawButtonFace(CDC& dc, const CRect& r, bool pressed, bool enabled) {
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 1, enabled ? kBorder : kTextDisabled});
    dc.SelectBrush(CBrush::Solid(pressed && enabled ? kFacePressed : kFace));
    dc.RoundRect(r, 10, 10);
}

void UiTheme::DrawPressedLook(CDC& dc, const CRect& r) { dc.FillRect(r, kFacePressed); }

void UiTheme::DrawPanel(CDC& dc, const CRect& r) {
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 1, kShade});
    dc.SelectBrush(CBrush::Solid(kShade));
    dc.RoundRect({r.left + 2, r.top + 2, r.right + 5, r.bottom + 5}, 10, 10);
    dc.SelectPen({PS_SOLID, 1, kBorder});
    dc.SelectBrush(CBrush::Solid(kPanel));
    dc.RoundRect(r, 10, 10);
}

void UiTheme::DrawScrollThumb(CDC& dc, const CRect& client, int contentHeight, int scrollPos) {
    const int h = client.Height();
    if (h <= 0 || contentHeight <= h)
        return;
    const int thumb = std::max(20, static_cast<int>(static_cast<long long>(h) * h / contentHeight));
    const int travel = h - thumb;
    const int top = static_cast<int>(static_cast<long long>(travel) * scrollPos / (contentHeight - h));
    dc.FillRect({client.right - kScrollBarWidth - 1, client.top + top, client.right - 1, client.top + top + thumb},
                kScrollThumb);
}

void UiTheme::DrawCentredText(CDC& dc, std::u16string_view text, const CRect& r, COLORREF color, int fontSize,
                              bool bold) {
    const CDCStateSaver saved(dc);
    dc.SelectFont({fontSize, bold ? 700 : 400});
    dc.SetTextColor(color);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}
