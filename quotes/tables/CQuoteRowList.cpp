// The stock rows of a quote table: drawing, colour mapping and taps.
#include "quotes/tables/CQuoteRowList.h"

#include "platform/gdi/CDC.h"
#include "quotes/tables/CQuoteRowData.h"
#include "quotes/tables/QuoteTableLayout.h"

namespace {
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRise = 0x2626FF;
constexpr COLORREF kFall = 0x17FF17;
constexpr unsigned kCellFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
constexpr int kBoxCorner = 20; // the ellipse of a radius-10 corner

void HorizontalLine(CDC& dc, int left, int right, int y) {
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 1, CQuoteRowList::kLineColor});
    dc.MoveTo(left, y);
    dc.LineTo(right, y);
}
} // namespace

CQuoteRowList::CQuoteRowList() {
    SetFontSize(kFontSize);
}

CQuoteRowList::~CQuoteRowList() {
    // UiList's destructor cannot reach OnRemoveItem: free the records here.
    RemoveAll();
}

int CQuoteRowList::AddRow(CQuoteRowData* record) {
    if (!record)
        return -1;
    return AddItem(u"", reinterpret_cast<std::uintptr_t>(record));
}

CQuoteRowData* CQuoteRowList::GetRowData(int index) const {
    return reinterpret_cast<CQuoteRowData*>(GetItemData(index));
}

COLORREF CQuoteRowList::MapCellColor(COLORREF color, bool selected) {
    if (selected) {
        if (color == kWhite || color == kRise)
            return 0x1E1EA0;
        if (color == kFall)
            return 0x147814;
        return color;
    }
    return color == kFall ? 0x14C814 : color;
}

void CQuoteRowList::DrawItem(CDC& dc, int index, const CRect& r, bool selected) {
    const CQuoteRowData* row = GetRowData(index);
    const CDCStateSaver saved(dc);
    dc.SelectFont({kFontSize, 400});
    dc.SetBkMode(TRANSPARENT);
    if (selected)
        dc.DrawSelectionBand(r);
    if (index == 0)
        HorizontalLine(dc, r.left, r.right, r.top);

    if (row) {
        const COLORREF nameColor = selected ? 0x000000 : kWhite;
        const int nameHeight = dc.GetTextExtent(u"国").cy + 2;
        dc.SelectFont({kFontSize - 2, 400});
        const CWString& code = row->GetText(CQuoteRowData::kCode);
        const int codeHeight = dc.GetTextExtent(code.IsEmpty() ? std::u16string_view(u"0") : code.view()).cy + 2;
        dc.SelectFont({kFontSize, 400});
        const CQuoteRowLayout l = CQuoteRowLayout::For(r, nameHeight, codeHeight);

        dc.SetTextColor(nameColor);
        dc.DrawText(row->GetText(CQuoteRowData::kName).view(), l.name, kCellFormat);
        dc.SelectFont({kFontSize - 2, 400});
        dc.DrawText(code.view(), l.code, kCellFormat);
        dc.SelectFont({kFontSize, 400});

        dc.SetTextColor(MapCellColor(row->GetColor(CQuoteRowData::kLast), selected));
        dc.DrawText(row->GetText(CQuoteRowData::kLast).view(), l.last, kCellFormat);
        dc.SetTextColor(MapCellColor(row->GetColor(CQuoteRowData::kChange), selected));
        dc.DrawText(row->GetText(CQuoteRowData::kChange).view(), l.change, kCellFormat);

        // The percent box always takes the selected-row mapping.
        dc.SelectPen({PS_SOLID, 1, kBoxPen});
        dc.SelectBrush(CBrush::Solid(MapCellColor(row->GetColor(CQuoteRowData::kChangePct), true)));
        dc.RoundRect(l.percentBox, kBoxCorner, kBoxCorner);
        CWString percent = row->GetText(CQuoteRowData::kChangePct);
        percent.AppendChar(u'%');
        dc.SetTextColor(kBoxText);
        dc.DrawText(percent.view(), l.percentBox, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }

    HorizontalLine(dc, r.left, r.right, r.bottom - 1);
}

void CQuoteRowList::OnRemoveItem(int, std::uintptr_t data) {
    delete reinterpret_cast<CQuoteRowData*>(data);
}

void CQuoteRowList::OnLButtonUp(UINT flags, CPoint pt) {
    UiList::OnLButtonUp(flags, pt);
    if (!IsTap())
        return;
    const int row = HitTest(pt);
    if (row < 0)
        return;
    const int old = GetCurSel();
    if (row == old) {
        RedrawItem(row);
        NotifyParent(kRowClicked, row);
        return;
    }
    const CRect client = GetClientRect();
    if (InRightFifth(pt.x, client.left, client.right))
        NotifyParent(kRowMenu, row);
    SetCurSel(row);
}
