// The combo box's items, selection and drop-down list.
#include "framework/ui/CComboBoxWnd.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiDefs.h"
#include "platform/ui/UiTheme.h"

CComboBoxWnd::CComboBoxWnd() = default;

CComboBoxWnd::~CComboBoxWnd() {
    Destroy();
}

bool CComboBoxWnd::CreateCombo(UiWin* parent, const CRect& rect, int id) {
    m_lineHeight = rect.Height();
    if (!Create(parent, rect, id, true))
        return false;
    const int w = rect.Width();
    m_edit.SetReadOnly(true);
    m_drop.SetStyle(UI_BTN_DROP);
    m_list.SetItemHeight(kItemHeight);
    // Opaque: the open list lies over the form's other controls.
    m_list.SetBkColor(UiTheme::kEditBack);
    if (!m_edit.Create(this, {0, 0, w - kButtonWidth, m_lineHeight}, kEditId) ||
        !m_drop.Create(this, {w - kButtonWidth, 0, w, m_lineHeight}, kDropId) ||
        !m_list.Create(this, ListRect(w), kListId, false))
        return false;
    for (const Item& item : m_items)
        m_list.AddItem(item.text.view());
    return true;
}

void CComboBoxWnd::AddItem(std::u16string_view text, std::u16string_view data) {
    m_items.push_back({CWString(text), CWString(data)});
    if (m_list.IsCreated())
        m_list.AddItem(text);
}

void CComboBoxWnd::RemoveAll() {
    m_items.clear();
    if (m_list.IsCreated())
        m_list.RemoveAll();
    SetCurSel(-1);
}

const CWString* CComboBoxWnd::GetItemData(int index) const {
    if (index < 0 || index >= GetItemCount())
        return nullptr;
    return &m_items[index].data;
}

CWString CComboBoxWnd::GetItemText(int index) const {
    if (index < 0 || index >= GetItemCount())
        return {};
    return m_items[index].text;
}

void CComboBoxWnd::SetCurSel(int index) {
    m_selected = index >= 0 && index < GetItemCount() ? index : -1;
    if (m_edit.IsCreated())
        m_edit.SetText(m_selected >= 0 ? m_items[m_selected].text.view() : std::u16string_view());
    if (m_list.IsCreated())
        m_list.SetCurSel(m_selected);
}

int CComboBoxWnd::FindItem(std::u16string_view text) const {
    if (text.empty())
        return -1;
    for (int i = 0; i < GetItemCount(); ++i)
        if (m_items[i].data == text)
            return i;
    return -1;
}

void CComboBoxWnd::MoveWindow(int x, int y, int width, int dropHeight) {
    m_dropHeight = dropHeight;
    const int height = m_lineHeight + (m_dropped ? m_dropHeight : 0);
    UiWin::MoveWindow(CRect::FromSize(x, y, width, height));
    if (m_edit.IsCreated())
        m_edit.MoveWindow({0, 0, width - kButtonWidth, m_lineHeight});
    if (m_drop.IsCreated())
        m_drop.MoveWindow({width - kButtonWidth, 0, width, m_lineHeight});
    if (m_list.IsCreated())
        m_list.MoveWindow(ListRect(width));
}

CRect CComboBoxWnd::ListRect(int width) const {
    // One pixel inside the drop-down area, for its frame.
    return {1, m_lineHeight, width - 1, m_lineHeight + m_dropHeight - 1};
}

void CComboBoxWnd::OnPaint(CDC& dc) {
    UiWin::OnPaint(dc);
    if (!m_dropped)
        return;
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 1, UiTheme::kBorder});
    dc.SelectBrush(CBrush::Solid(UiTheme::kEditBack));
    dc.Rectangle({0, m_lineHeight - 1, GetClientRect().Width(), m_lineHeight + m_dropHeight});
}

void CComboBoxWnd::ShowDropDown(bool show) {
    if (show == m_dropped || !IsCreated())
        return;
    m_dropped = show;
    const CRect r = GetRect();
    UiWin::MoveWindow(CRect::FromSize(r.left, r.top, r.Width(), m_lineHeight + (show ? m_dropHeight : 0)));
    m_list.ShowWindow(show);
}

bool CComboBoxWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LowWord(wParam);
    if (id == kDropId) {
        ShowDropDown(!m_dropped);
        return true;
    }
    if (id == kListId && HighWord(wParam) == UI_LIST_CHOSEN) {
        SetCurSel(static_cast<int>(lParam));
        ShowDropDown(false);
        NotifyParent(CBN_SELCHANGE, m_selected);
        return true;
    }
    return UiWin::OnCommand(wParam, lParam);
}

void CComboBoxWnd::OnLButtonUp(UINT flags, CPoint pt) {
    UiWin::OnLButtonUp(flags, pt);
}
