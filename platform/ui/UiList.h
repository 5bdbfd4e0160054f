// The owner-drawn list control: items of one fixed height, each a text and
// a data word, drawn by a virtual DrawItem so that derived lists paint rows
// of their own records.
//
// The list scrolls with the finger (CMomentumScroller): a drag moves the rows,
// a quick release keeps them moving a little on the program clock. The list
// itself never selects or reports on a tap; derived lists override
// OnLButtonUp, call UiList::OnLButtonUp first, and act only when IsTap()
// (the list was at rest at the press and the finger has not moved) —
// ReleaseAndHitTap does both and gives the tapped item.
//
// Items own nothing: when the data word points to a record of the owner,
// the owner frees it in OnRemoveItem, which runs exactly once for every item
// that leaves the list (RemoveItem, RemoveAll, and the list's destruction
// through Destroy). The UiList destructor cannot reach a derived hook, so a
// derived list whose items own records calls RemoveAll in its destructor.
#pragma once

#include "platform/ui/CMomentumScroller.h"
#include "platform/ui/UiDefs.h"
#include "platform/win/UiWin.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct UiListItem {
    std::u16string text;
    std::uintptr_t data = 0; // the owner's word, often a pointer to its record
};

// Tells whether item a belongs before item b: a strict weak ordering.
using UiListLess = std::function<bool(const UiListItem& a, const UiListItem& b)>;

class UiList : public UiWin {
public:
    static constexpr UINT kMomentumTimer = 0x7F01;

    UiList();
    ~UiList() override;
    const char* GetClassName() const override { return "UiList"; }

    // Items. Indices out of range are ignored (setters) or give empty
    // values (getters).
    int AddItem(std::u16string_view text, std::uintptr_t data = 0); // returns the new index
    int InsertItem(int index, std::u16string_view text, std::uintptr_t data = 0); // clamps index
    // Takes the item out, then calls OnRemoveItem(index, data) once; false
    // for an index out of range. The selection follows its item.
    bool RemoveItem(int index);
    // Empties the list, then calls OnRemoveItem for every former item in order.
    void RemoveAll();
    int GetCount() const { return static_cast<int>(m_items.size()); }
    std::u16string GetItemText(int index) const;
    void SetItemText(int index, std::u16string_view text);
    std::uintptr_t GetItemData(int index) const; // 0 out of range
    void SetItemData(int index, std::uintptr_t data);
    const std::vector<UiListItem>& Items() const { return m_items; }

    // Sorts count items from first (count −1: to the end) with std::stable_sort
    // on less; every item keeps its data and the selection stays on its item.
    void SortItems(const UiListLess& less, int first = 0, int count = -1);

    // Look and behaviour.
    void SetItemHeight(int pixels);
    int GetItemHeight() const { return m_itemHeight; }
    // Separator lines between items, and optionally below the last one.
    void SetSeparators(bool on, bool belowLast = false);
    bool HasSeparators() const { return m_separators; }
    // Notifications on/off: a flag derived lists consult before reporting taps.
    void SetNotify(bool on) { m_notify = on; }
    bool IsNotifyOn() const { return m_notify; }
    // UI_SLIDE_NORMAL or UI_SLIDE_NONE. A list that never slides passes
    // the finger on to its parent as well, so a scrolling page under it
    // scrolls; its own taps still reach it.
    void SetSlideMode(int mode);
    int GetSlideMode() const { return m_slideMode; }
    void ShowScrollBar(bool show);
    void SetFontSize(int pixels) { m_fontSize = pixels; Invalidate(); }
    int GetFontSize() const { return m_fontSize; }

    // Selection: −1 for none.
    int GetCurSel() const { return m_curSel; }
    // Selects index (−1 or out of range: none) and redraws the old and new item.
    void SetCurSel(int index);
    void RedrawItem(int index);

    // Geometry in client coordinates, the scroll position applied.
    CRect GetItemRect(int index) const;
    // The item under pt, −1 for none. Item i owns the rows from its top to
    // one pixel above the next item's top.
    int HitTest(CPoint pt) const;

    // Scrolling, in pixels from the top of the first item.
    int GetScrollPos() const { return m_scroller.Offset(); }
    void SetScrollPos(int pixels); // clamped to [0, GetMaxScroll()]
    int GetMaxScroll() const;
    void ScrollToTop() { SetScrollPos(0); }
    void EnsureItemVisible(int index);
    // Stops momentum (a button below the list asks for rest, say).
    void StopScrolling();

    // The finger of the current or last press.
    const CMouseTracker& Tracker() const { return m_scroller.Tracker(); }
    bool WasScrollingAtPress() const { return Tracker().WasScrollingAtPress(); }
    bool FingerMoved() const { return Tracker().FingerMoved(); }
    bool IsTap() const { return Tracker().IsTap(); }
    bool IsScrolling() const { return m_scroller.IsGliding(); }
    // For a derived list's release handler: runs the list's own release
    // handling and gives the item under pt when the press was a tap on an
    // item, else −1.
    int ReleaseAndHitTap(UINT flags, CPoint pt);

    // Draws item index into rect. The default draws the text, left aligned
    // and vertically centred, over the selection band when selected.
    virtual void DrawItem(CDC& dc, int index, const CRect& rect, bool selected);
    // Called once for each item that leaves the list, after it has left.
    virtual void OnRemoveItem(int index, std::uintptr_t data);

    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
    void OnMouseMove(UINT flags, CPoint pt) override;
    void OnTimer(UINT id) override;
    void OnSize(int width, int height) override;
    void OnDestroy() override;

private:
    std::vector<UiListItem> m_items;
    int m_itemHeight = 45;   // pixels
    int m_fontSize = 22;     // pixels
    int m_curSel = -1;
    int m_slideMode = UI_SLIDE_NORMAL;
    bool m_separators = true;
    bool m_separatorBelowLast = false;
    bool m_notify = false;
    bool m_scrollBar = false;
    CMomentumScroller m_scroller;
};
