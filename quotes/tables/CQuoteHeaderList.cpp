// The quote table header: titles, pressed look, sort arrow and taps.
#include "quotes/tables/CQuoteHeaderList.h"

#include "platform/gdi/CDC.h"
#include "quotes/tables/QuoteTableLayout.h"

namespace {
constexpr const char16_t* kTitles[CQuoteHeaderList::kColumnCount] = {u"名称", u"现价", u"涨跌", u"涨幅"};
} // namespace

CQuoteHeaderList::CQuoteHeaderList() {
    m_arrowUp.LoadResource(kArrowUpImage);
    m_arrowDown.LoadResource(kArrowDownImage);
    AddItem(u"");
}

CQuoteHeaderList::~CQuoteHeaderList() = default;

void CQuoteHeaderList::SetDirection(int direction) {
    m_direction = direction == 1 ? 1 : 0;
    Invalidate();
}

void CQuoteHeaderList::SetArrowShown(bool shown) {
    m_arrowShown = shown;
    Invalidate();
}

bool CQuoteHeaderList::IsPressed(int column) const {
    return column >= 0 && column < kColumnCount && m_pressed[column];
}

CRect CQuoteHeaderList::GetArrowRect(CDC& dc, const CRect& r) const {
    const CRect shrunk = r.Deflate(2, 2);
    const CQuoteHeaderLayout layout = CQuoteHeaderLayout::For(shrunk, CQuoteColumns::ForWidth(r.Width()));
    int glyph = 0;
    {
        const CDCStateSaver saved(dc);
        dc.SelectFont({kFontSize, kFontWeight});
        glyph = dc.GetTextExtent(u"国").cx;
    }
    const CRect& last = layout.titles[kColumnCount - 1];
    return last.Offset(last.Width() / 2 + glyph, 0);
}

void CQuoteHeaderList::DrawItem(CDC& dc, int, const CRect& r, bool) {
    const CDCStateSaver saved(dc);
    dc.SelectFont({kFontSize, kFontWeight});
    dc.SetBkMode(TRANSPARENT);
    const CRect shrunk = r.Deflate(2, 2);
    dc.SelectPen({PS_SOLID, 1, kFrameColor});
    dc.SelectBrush(CBrush::Solid(kFrameColor));
    dc.Rectangle(shrunk);

    const CQuoteHeaderLayout layout = CQuoteHeaderLayout::For(shrunk, CQuoteColumns::ForWidth(r.Width()));
    if (IsNotifyOn()) {
        for (int i = 0; i < kColumnCount; ++i) {
            if (!m_pressed[i])
                continue;
            CRect bar = layout.titles[i];
            if (i == kColumnCount - 1)
                bar.right = r.right;
            dc.DrawGradientBar(bar);
        }
    }
    dc.SetTextColor(0x000000);
    dc.SelectPen({PS_SOLID, 1, 0x000000});
    for (int i = 0; i < kColumnCount; ++i) {
        const CRect& t = layout.titles[i];
        dc.DrawText(kTitles[i], t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        if (i < kColumnCount - 1) {
            dc.MoveTo(t.right, t.top + 3);
            dc.LineTo(t.right, t.bottom - 3);
        }
    }
    if (IsNotifyOn() && m_arrowShown) {
        const CImage& arrow = m_direction == 1 ? m_arrowUp : m_arrowDown;
        if (arrow.IsLoaded()) {
            const CRect box = GetArrowRect(dc, r);
            const int y = box.top + (box.Height() - arrow.Height()) / 2;
            dc.DrawImage(arrow, CRect::FromSize(box.left, y, arrow.Width(), arrow.Height()));
        }
    }
}

void CQuoteHeaderList::OnLButtonDown(UINT flags, CPoint pt) {
    UiList::OnLButtonDown(flags, pt);
    if (!IsNotifyOn() || WasScrollingAtPress())
        return;
    const CRect client = GetClientRect();
    const int zone = QuoteHeaderZoneAt(pt.x, client.left, client.right);
    if (zone == kColumnCount - 1 || (m_allColumns && zone >= 0)) {
        m_pressed[zone] = true;
        Invalidate();
    }
}

void CQuoteHeaderList::OnLButtonUp(UINT flags, CPoint pt) {
    int pressed = -1;
    for (int i = 0; i < kColumnCount; ++i) {
        if (m_pressed[i])
            pressed = i;
        m_pressed[i] = false;
    }
    UiList::OnLButtonUp(flags, pt);
    if (pressed >= 0 && IsTap() && IsNotifyOn()) {
        if (pressed == kColumnCount - 1) {
            m_arrowShown = true;
            m_direction = m_direction == 1 ? 0 : 1;
            NotifyParent(kDirectionCode, m_direction);
        } else {
            NotifyParent(pressed + 1, 0);
        }
    }
    Invalidate();
}
