// The pop-up option menu of the screens: a column of buttons across the
// full width at the bottom of the work area, run modally, giving the
// chosen command id.
//
// The menu's window covers the whole work area so that, while it runs, no
// tap reaches the screen below it: the buttons sit in a panel of GetHeight
// pixels at the bottom, and a tap above the panel (or Escape) dismisses the
// menu with 0. When the panel is capped at the work area's height its
// buttons scroll.
//
// TrackMenu asks CModalScript (kind PopupMenu) first: a scripted answer is
// returned at once, the item texts recorded, nothing shown.
#pragma once

#include "core/CWString.h"
#include "platform/ui/CUiWnd.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiScrollWin.h"

#include <memory>
#include <vector>

// One push-button item of a menu run by CPopMenuWnd::Run.
struct CPopMenuItem {
    const char16_t* text;
    int id; // the command id the item gives
};

class CPopMenuWnd : public CUiWnd {
public:
    static constexpr int kItemPitch = 95;  // pixels per item
    static constexpr int kPadding = 28;    // pixels above and below the items, together
    static constexpr int kSideMargin = 20; // pixels left and right of the buttons
    static constexpr int kFirstButtonId = 1000; // control id of item 0's button; item i has 1000 + i

    CPopMenuWnd();
    ~CPopMenuWnd() override;
    const char* GetClassName() const override { return "CPopMenuWnd"; }

    // Appends a button with the text, a UI_BTN_ style and its command id.
    void AddItem(const CWString& text, int buttonStyle, int commandId);
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    int GetItemCommand(int index) const; // 0 out of range
    CWString GetItemText(int index) const; // empty out of range

    // min(items × 95 + 28, work-area height); uncapped without a loop.
    int GetHeight() const;
    static int HeightFor(int itemCount, int workHeight);

    // Shows the menu over the work area, owned by parent (may be null),
    // with the show and hide animations, runs it and returns the chosen
    // command id, or 0 when dismissed, empty or not shown. Callable again
    // after it returns.
    int TrackMenu(UiWin* parent, int showAnimation = ANIM_SLIDE_UP, int hideAnimation = ANIM_SLIDE_DOWN);
    // A menu of push-button items, in order, run over parent as TrackMenu
    // runs it: the chosen command id, or 0.
    static int Run(UiWin* parent, const std::vector<CPopMenuItem>& items);

    // The panel's rectangle in the menu's client coordinates while it runs.
    CRect GetPanelRect() const { return m_panel; }

    int OnCreate() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
    void OnKeyDown(int key) override;

private:
    struct Item {
        CWString text;
        int style = 0;
        int command = 0;
    };
    void DestroyButtons();

    std::vector<Item> m_items;
    UiScrollWin m_page;
    std::vector<std::unique_ptr<UiButton>> m_buttons;
    CRect m_panel;               // client coordinates
    bool m_outsidePress = false; // a press came down above the panel
};
