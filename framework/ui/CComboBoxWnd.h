// The combo box of the forms: a read-only edit line showing the selected
// item's text, a drop-down button and a drop-down list of the items (each
// a text and a wide data text, both copied). Opening the list grows the
// control downwards by the drop-down height, an opaque framed list that
// hides what lies under it; a tap on an item selects it,
// closes the list and posts WM_COMMAND (id, CBN_SELCHANGE) with the index
// to the parent.
#pragma once

#include "core/CWString.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiChoiceList.h"
#include "platform/ui/UiEdit.h"
#include "platform/win/UiWin.h"

#include <vector>

enum : int { CBN_SELCHANGE = 1 };

class CComboBoxWnd : public UiWin {
public:
    static constexpr int kEditId = 1;
    static constexpr int kDropId = 2;
    static constexpr int kListId = 3;
    static constexpr int kButtonWidth = 50; // pixels
    static constexpr int kItemHeight = 50;  // pixels

    CComboBoxWnd();
    ~CComboBoxWnd() override;
    const char* GetClassName() const override { return "CComboBoxWnd"; }

    // Creates the control under parent with id; the rectangle's height is
    // the edit line's.
    bool CreateCombo(UiWin* parent, const CRect& rect, int id);

    void AddItem(std::u16string_view text, std::u16string_view data);
    void RemoveAll();
    // The item's data, null when absent.
    const CWString* GetItemData(int index) const;
    // The item's text, empty when absent.
    CWString GetItemText(int index) const;
    // The selected item's index, −1 when none.
    int GetCount() const { return m_selected; }
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // Selects index and shows its text (out of range: no selection).
    void SetCurSel(int index);
    // Index of the first item whose data equals text; −1 when none or when
    // text is empty.
    int FindItem(std::u16string_view text) const;
    // Places the edit line at (x, y) with width; the list opens dropHeight
    // pixels below it.
    void MoveWindow(int x, int y, int width, int dropHeight);
    bool IsDropped() const { return m_dropped; }
    void ShowDropDown(bool show);

    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
    // The open list's frame.
    void OnPaint(CDC& dc) override;

private:
    CRect ListRect(int width) const;

    struct Item {
        CWString text;
        CWString data;
    };
    std::vector<Item> m_items;
    int m_selected = -1;
    int m_lineHeight = 50;  // pixels
    int m_dropHeight = 200; // pixels
    bool m_dropped = false;
    UiEdit m_edit;
    UiButton m_drop;
    UiChoiceList m_list;
};
