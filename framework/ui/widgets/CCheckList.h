// A list whose items carry a CCheckItem, owned by the list: each item's
// record is deleted exactly once when it leaves the list (removal, emptying
// or the list's destruction).
//
// Two modes. Multi-choice: a tap toggles the item's check mark. Single
// choice: a tap selects the item and, with notifications on (the default),
// posts WM_COMMAND MakeWParam(id, CHECKLIST_CHOSEN) with lParam = the item
// index to the parent, on every tap, the selected item too. Taps count
// only when the list was at rest and the finger still.
#pragma once

#include "framework/ui/widgets/CCheckItem.h"
#include "platform/ui/UiList.h"

#include <string_view>

enum : int { CHECKLIST_CHOSEN = 2 }; // WM_COMMAND code; lParam: item index

class CCheckList : public UiList {
public:
    CCheckList();
    ~CCheckList() override;
    const char* GetClassName() const override { return "CCheckList"; }

    // Appends an item holding record (taken over; null makes an empty,
    // checked one). Returns the new index.
    int AddCheckItem(std::u16string_view text, CCheckItem* record);
    // Appends an item with a new record of value and checked.
    int AddCheckItem(std::u16string_view text, const char* value, bool checked = true);
    // The item's record, null out of range.
    CCheckItem* GetCheckItem(int index) const;

    void SetSingleChoice(bool single) { m_single = single; Invalidate(); }
    bool IsSingleChoice() const { return m_single; }

    // false out of range.
    bool IsChecked(int index) const;
    void SetChecked(int index, bool checked); // ignored out of range
    int CountChecked() const;

    void DrawItem(CDC& dc, int index, const CRect& rect, bool selected) override;
    void OnRemoveItem(int index, std::uintptr_t data) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;

private:
    bool m_single = false;
};
