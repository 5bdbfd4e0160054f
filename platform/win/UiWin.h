// The window object of the platform layer: a handle, a parent, a rectangle,
// visibility, enabled state, focus and one window procedure.
//
// Every control and every application window derives UiWin. A window is
// created with Create (which gives it a handle and inserts it into its
// parent's children) and destroyed with Destroy or its destructor; after
// that its handle resolves to nothing (UiWin::FromHandle returns null), so
// a message posted to a gone window is dropped, never delivered to freed
// memory. Windows are owned by whoever created them with new; the layer
// never deletes a window object itself.
//
// Coordinates: a top-level window's rectangle is in screen pixels; a child's
// is in its parent's client coordinates. Mouse messages carry client
// coordinates of the receiving window.
//
// All members run on the GUI thread only, except PostMessage and
// SendMessage, which any thread may call (see UiMessageLoop.h).
#pragma once

#include "platform/Geometry.h"
#include "platform/win/Message.h"

#include <cstdint>
#include <string>
#include <vector>

class CDC;

// Show and hide animation codes that windows pass around. The layer may
// run any of them instantly; the codes are kept so callers can be checked.
enum : int {
    ANIM_NONE = 0,
    ANIM_SLIDE_UP = 1,   // pop-up menus show
    ANIM_SLIDE_DOWN = 2, // pop-up menus hide
    ANIM_PAGE_OUT = 9,
    ANIM_PAGE_IN = 10,
    ANIM_FADE_OUT = 11,
    ANIM_FADE_IN = 12,
};

class UiWin {
public:
    UiWin();
    virtual ~UiWin();
    UiWin(const UiWin&) = delete;
    UiWin& operator=(const UiWin&) = delete;

    // Creates the window under parent (null: a top-level window) at rect.
    // Sends WM_CREATE; returns false when WM_CREATE returns −1 or the window
    // exists already. A created window starts hidden unless visible is set.
    bool Create(UiWin* parent, const CRect& rect, int id = 0, bool visible = true);
    // Destroys children first, sends WM_DESTROY, releases capture and focus
    // it holds, kills its timers and retires its handle. Safe to call twice,
    // and from a handler while the window is being destroyed (a no-op then).
    // The destructor calls it too, but by then only UiWin's own handlers
    // run: a window that needs OnDestroy calls Destroy in its destructor.
    void Destroy();
    bool IsCreated() const { return m_handle != nullptr; }

    HWND GetHandle() const { return m_handle; }
    static UiWin* FromHandle(HWND handle); // null for a gone or null handle
    static bool IsWindow(HWND handle) { return FromHandle(handle) != nullptr; }

    UiWin* GetParent() const { return m_parent; }
    // Another window that owns this top-level window (a modal owner); not a parent.
    void SetOwner(UiWin* owner);
    UiWin* GetOwner() const;
    const std::vector<UiWin*>& GetChildren() const { return m_children; }
    UiWin* FindChild(int id) const; // searches the whole subtree
    int GetId() const { return m_id; }
    void SetId(int id) { m_id = id; }

    // Class name reported by the window (its first virtual slot in spirit).
    virtual const char* GetClassName() const { return "UiWin"; }

    CRect GetRect() const { return m_rect; }            // in parent coordinates
    CRect GetClientRect() const { return {0, 0, m_rect.Width(), m_rect.Height()}; }
    CRect GetScreenRect() const;
    CPoint ScreenToClient(CPoint screen) const;
    void MoveWindow(const CRect& rect, bool repaint = true); // sends WM_SIZE when the size changes

    // Sends WM_SHOWWINDOW on a change. Showing a top-level window raises it
    // to the top of the z-order. The animation runs instantly; its code is
    // recorded either way (see GetLastShowAnimation).
    void ShowWindow(bool show, int animation = ANIM_NONE);
    bool IsVisible() const { return m_visible; }
    // The animation codes of the last ShowWindow(true) and ShowWindow(false)
    // calls (−1 before the first), for tests.
    int GetLastShowAnimation() const { return m_lastShowAnimation; }
    int GetLastHideAnimation() const { return m_lastHideAnimation; }
    // Visible and every ancestor visible.
    bool IsShownOnScreen() const;
    void EnableWindow(bool enable);
    bool IsEnabled() const { return m_enabled; }

    void SetFocus();
    bool HasFocus() const;
    static UiWin* GetFocus();
    void SetCapture();
    static void ReleaseCapture();
    static UiWin* GetCapture();

    void SetText(std::u16string_view text);
    const std::u16string& GetText() const { return m_text; }
    void SetBkColor(std::uint32_t color) { m_bkColor = color; m_hasBk = true; Invalidate(); }
    void ClearBkColor() { m_hasBk = false; Invalidate(); }
    std::uint32_t GetBkColor() const { return m_bkColor; }
    // True when the window fills its whole area with its background colour
    // before it paints: nothing under it needs filling first.
    bool HasBkColor() const { return m_hasBk; }
    void SetTextColor(std::uint32_t color) { m_textColor = color; Invalidate(); }
    std::uint32_t GetTextColor() const { return m_textColor; }

    // Marks the window for repainting (its whole top-level window); the
    // loop paints what is marked when idle.
    void Invalidate();
    // Marks only a rectangle of the client area: for a window that knows
    // just what changed (a chart's cursor and legends).
    void InvalidateRect(const CRect& clientRect);
    // Paints now what is marked, when anything is.
    void UpdateWindow();

    // Timers: WM_TIMER with the id every interval of the program clock,
    // while the window lives. Setting an existing id restarts it.
    void SetTimer(UINT id, UINT intervalMs);
    void KillTimer(UINT id);
    // Stops every timer of this window (not those of its child windows).
    void KillAllTimers();

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // The one window procedure. The default dispatches the platform messages
    // to the virtual handlers below and returns 0 for the rest.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // Paints the client area; dc has its origin at the client's top-left and
    // is clipped to it. PaintTree has filled the background colour (when
    // set and CoversClient is false) before calling it; the default draws
    // nothing more.
    virtual void OnPaint(CDC& dc);
    // True when OnPaint sets every pixel of the client area (a picture
    // copied over all of it): its background is not filled first.
    virtual bool CoversClient() const { return false; }
    virtual void OnLButtonDown(UINT flags, CPoint pt);
    virtual void OnLButtonUp(UINT flags, CPoint pt);
    virtual void OnMouseMove(UINT flags, CPoint pt);
    virtual void OnTimer(UINT id);
    // A child's WM_COMMAND. Returns true when handled.
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnChar(char16_t ch);
    virtual void OnKeyDown(int key);
    virtual void OnSize(int width, int height);
    virtual void OnShowWindow(bool shown);
    virtual void OnSetFocus();
    virtual void OnKillFocus();
    virtual int OnCreate();  // −1 refuses creation
    virtual void OnDestroy();

    // Posts WM_COMMAND (id, code, value) to the parent (or owner for a
    // top-level window): how controls report to their window.
    void NotifyParent(int code, LPARAM value = 0);

    // The hit test used to route a press: the deepest visible, enabled
    // descendant under pt (client coordinates), or this window.
    UiWin* ChildFromPoint(CPoint pt);

    // Paints this window and its visible children into dc, whose origin is
    // this window's top-left. Used by the loop's screen painting and by tests.
    void PaintTree(CDC& dc);

private:
    friend class UiMessageLoop;
    HWND m_handle = nullptr;
    UiWin* m_parent = nullptr;
    HWND m_owner = nullptr;
    std::vector<UiWin*> m_children; // in z-order, last on top
    CRect m_rect;
    int m_id = 0;
    bool m_destroying = false;      // inside Destroy
    bool m_visible = false;
    bool m_enabled = true;
    bool m_hasBk = false;
    std::uint32_t m_bkColor = 0;    // 0x00BBGGRR
    std::uint32_t m_textColor = 0;  // 0x00BBGGRR
    std::u16string m_text;
    int m_lastShowAnimation = -1;   // ANIM_* code of the last show
    int m_lastHideAnimation = -1;   // ANIM_* code of the last hide
};
