// The text pop-up menu: rows of texts with command ids, shown at the bottom
// of the work area and run modally. TrackPopup returns the chosen row's
// id, or 0 when the menu is dismissed (a tap outside it, or Escape).
//
// TrackPopup asks CModalScript (kind PopupMenu) first: a scripted answer is
// returned at once with the menu's texts recorded, showing nothing.
#pragma once

#include "platform/ui/CUiWnd.h"
#include "platform/ui/UiChoiceList.h"

#include <string>
#include <vector>

class CUiPopupMenu : public CUiWnd {
public:
    static constexpr int kRowHeight = 70; // pixels

    CUiPopupMenu();
    ~CUiPopupMenu() override;
    const char* GetClassName() const override { return "CUiPopupMenu"; }

    void AppendItem(int id, std::u16string_view text);
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    int GetItemId(int index) const;
    // The menu's height: rows, at most the work area's height.
    int GetMenuHeight(int workHeight) const;

    // Shows the menu over owner's screen, runs it and hides it again; the
    // chosen id, or 0. Callable again after it returns.
    int TrackPopup(UiWin* owner, int showAnimation = ANIM_SLIDE_UP, int hideAnimation = ANIM_SLIDE_DOWN);

    // The rows' list while the menu runs (null otherwise), for tests.
    UiChoiceList* GetList() { return m_list.IsCreated() ? &m_list : nullptr; }

    int OnCreate() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
    void OnKeyDown(int key) override;

private:
    struct Item {
        int id = 0;
        std::u16string text;
    };
    std::vector<Item> m_items;
    UiChoiceList m_list;
    bool m_outsidePress = false; // a press came down outside the rows
};
