// A list whose taps choose: a tap on an item (the list at rest, the finger
// still) selects it and posts WM_COMMAND (id, UI_LIST_CHOSEN) with lParam =
// the item index. Drags only scroll. The pickers, the pop-up menu and the
// date picker's columns are made of it.
#pragma once

#include "platform/ui/UiList.h"

class UiChoiceList : public UiList {
public:
    UiChoiceList();
    ~UiChoiceList() override;
    const char* GetClassName() const override { return "UiChoiceList"; }

    // DT_LEFT or DT_CENTER for the items' text.
    void SetTextAlign(unsigned align) { m_align = align; Invalidate(); }

    void DrawItem(CDC& dc, int index, const CRect& rect, bool selected) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;

private:
    unsigned m_align = 0; // DT_LEFT
};
