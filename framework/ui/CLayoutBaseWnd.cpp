// Form rows, the toolbar and the focus frame.
#include "framework/ui/CLayoutBaseWnd.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiTheme.h"

CLayoutBaseWnd::CLayoutBaseWnd() {
    SetSealRequest(true);
}

CLayoutBaseWnd::~CLayoutBaseWnd() {
    Destroy();
}

int CLayoutBaseWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    UseTextToolbar(u"首页", m_middleText, u"返回");
    BuildForm();
    return 1;
}

void CLayoutBaseWnd::EnableToolbar(bool on) {
    if (UiToolBar* bar = GetToolBar()) {
        bar->EnableAll(on);
        bar->Invalidate();
    }
}

CRect CLayoutBaseWnd::GetFormRect() const {
    return GetBodyRect();
}

CRect CLayoutBaseWnd::GetRowRect(int column, int row) const {
    const int width = GetFormRect().Width();
    const int top = m_topOffset + row * kRowHeight - 5;
    if (column == 0)
        return CRect::FromSize(kLeftMargin, top, kLabelWidth, kRowBoxHeight);
    return {kLeftMargin + kFieldOffset, top, width - kLeftMargin, top + kRowBoxHeight};
}

CRect CLayoutBaseWnd::GetRowRect3(int column, int row) const {
    const int width = GetFormRect().Width();
    const int top = m_topOffset + row * kRowHeight - 5;
    const int middleLeft = kLeftMargin + kFieldOffset;
    const int middleRight = middleLeft + (width - 2 * kLeftMargin) / 2;
    switch (column) {
    case 0:
        return CRect::FromSize(kLeftMargin, top, kLabelWidth, kRowBoxHeight);
    case 1:
        return {middleLeft, top, middleRight, top + kRowBoxHeight};
    default:
        return {middleRight + 20, top, width - kLeftMargin - 20, top + kRowBoxHeight};
    }
}

void CLayoutBaseWnd::AddComboItem(std::u16string_view text, const char* value, bool selected, CChoiceItem& out) {
    out.text.Assign(text);
    out.value.Assign(value ? value : "");
    out.checked = selected;
}

std::vector<CChoiceItem> CLayoutBaseWnd::CopyItemArray(const CArrayT<CChoiceItem>& items, int* count) {
    std::vector<CChoiceItem> copy(items.begin(), items.end());
    if (count)
        *count = static_cast<int>(copy.size());
    return copy;
}

const char* CLayoutBaseWnd::GetItemData(const CArrayT<CChoiceItem>& items, int index) {
    if (index < 0 || index >= items.GetCount())
        return nullptr;
    return items.GetAt(index).value.c_str();
}

void CLayoutBaseWnd::OnToolbarCommand(int index) {
    if (!HandleHomeOrBack(index) && index == kToolbarMiddle)
        OnOk();
}

void CLayoutBaseWnd::OnPaint(CDC& dc) {
    CNetWnd::OnPaint(dc);
    UiWin* focus = UiWin::GetFocus();
    if (!focus || focus == this)
        return;
    // Only a field of this window gets the frame.
    UiWin* up = focus->GetParent();
    while (up && up != this)
        up = up->GetParent();
    if (!up)
        return;
    const CRect mine = GetScreenRect();
    const CRect r = focus->GetScreenRect().Offset(-mine.left, -mine.top).Deflate(-3, -3);
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 2, UiTheme::kFocusFrame});
    dc.SelectBrush(CBrush::Null());
    dc.Rectangle(r);
}
