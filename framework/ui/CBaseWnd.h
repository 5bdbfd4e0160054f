// The base of every application window: a form over the work area with the
// caption bar at the top, a client area, and a bottom bar that is either an
// image bar or a three-button text toolbar (both report command 101 with
// the button index). It runs modally over its parent and closes with a
// close code that the parent acts on.
//
// ONE OWNER PER WINDOW. The code that creates a window with new and runs it
// (ShowModal, directly or through CWndManager::CreateWnd) owns the object
// and deletes it after the modal run returns; nothing else ever deletes it.
// EndWindow therefore never hands the object over: the WND_MSG_CHILD_CLOSED
// it posts to the parent carries the close code and the closed window's
// handle for identification only, and a parent never deletes on it. Because
// modal runs nest like calls, a child's run always returns (and the child
// is deleted) before its parent's run can return, so a chain of windows
// closing with code 0 is deleted from the top down, each window once. A
// reply or message that arrives for a deleted window finds its handle gone
// and is dropped by the loop (handles are never reused).
//
// A parent acts on WND_MSG_CHILD_CLOSED only from the child it ran last:
// a child that posts its parent a notice and then closes leaves its close
// message queued behind the notice, and a parent that opened another window
// in answer must not come back over that newer window.
//
// Close codes the parent acts on when it is active again (on the child's
// WND_MSG_CHILD_CLOSED): 0 closes the parent too (the chain unwinds to the
// main frame, which does not run modally), 1 refreshes it, 2 re-applies the
// screen settings; other codes (−1: the window closes itself to open
// another) only show the parent again.
#pragma once

#include "core/CWString.h"
#include "framework/ui/CCaptionBar.h"
#include "framework/ui/CClientArea.h"
#include "platform/ui/CUiWnd.h"
#include "platform/ui/UiImageBar.h"
#include "platform/ui/UiToolBar.h"

#include <vector>

class CDC;
class IWindowOpener;
class UiEdit;

class CBaseWnd : public CUiWnd {
public:
    static constexpr int kCaptionHeight = CCaptionBar::kHeight; // 42 pixels
    static constexpr int kBottomBarHeight = UiButtonBar::kHeight; // 65 pixels
    static constexpr int kClientAreaId = 100;
    static constexpr int kSwipeMinDistance = 50; // pixels, exclusive

    CBaseWnd();
    ~CBaseWnd() override;
    const char* GetClassName() const override { return "CBaseWnd"; }

    // Creates the form at rect (screen pixels; the work area when empty)
    // with parent as its parent window (may be null), hidden, then runs
    // OnInitDialog. False (the form destroyed again) when either fails.
    bool CreateOver(UiWin* parent, const CRect& rect = {});

    // Hides the parent, hands the texts to SetMenuParams, runs OnWindowShown,
    // shows the window with the animation and runs it modally. Returns the
    // close code (−1 when the program quits or the window could not run).
    // The caller still owns the window and deletes it afterwards.
    int ShowModal(int menuId, const char* param, const char* request, int animation = ANIM_NONE);
    // The animation used when the window hides at its close.
    void SetHideAnimation(int animation) { m_hideAnimation = animation; }

    // Closes the window with code: tells the parent (WND_MSG_CHILD_CLOSED
    // with the code) and ends the modal run. Ignored once closing, and while
    // the window is held open.
    void EndWindow(int code);
    bool IsClosing() const { return m_closing; }
    int GetCloseCode() const { return m_closeCode; }

    void SetCaption(std::u16string_view text);
    const CWString& GetTitle() const { return m_title; }
    // The rectangle (client coordinates) in which swipes are recognised;
    // the whole client area until set.
    void SetCaptionRect(const CRect& rect) { m_swipeRect = rect; m_hasSwipeRect = true; }

    HWND GetParentWnd() const { return m_parentWnd; }
    bool IsFirstShow() const { return m_firstShow; }

    // Controls.
    CCaptionBar& GetCaptionBar() { return m_captionBar; }
    // The client area (a scrolling page between the bars); null once removed.
    CClientArea* GetClientArea() { return m_clientArea.IsCreated() ? &m_clientArea : nullptr; }
    void RemoveClientArea();
    UiImageBar* GetImageBar() { return m_imageBar.IsCreated() ? &m_imageBar : nullptr; }
    UiToolBar* GetToolBar() { return m_toolBar.IsCreated() ? &m_toolBar : nullptr; }
    // Fills the image bar with up to ten images by resource id and shows it.
    void SetImageBarButtons(const std::vector<int>& resourceIds);
    // The text toolbar's buttons as OnToolbarCommand numbers them.
    enum : int { kToolbarLeft = 0, kToolbarMiddle = 1, kToolbarRight = 2 };
    // Removes the image bar and shows the text toolbar with the three texts.
    void UseTextToolbar(std::u16string_view left, std::u16string_view middle, std::u16string_view right);
    // The shown bottom bar's height: 65, or 0 without one.
    int GetBottomBarHeight() const;
    // The area between the caption bar and the bottom bar (client coordinates).
    CRect GetBodyRect() const;

    // Scrolls the client area so that control stays above the input panel;
    // returns the client area's scroll offset (0 without a client area).
    int EnsureVisible(UiWin* control);
    // Asks the keyboard for an edit: screen modes 1 and 4 type a with
    // option 65, modes 0 and 2 type b with option 0, other modes nothing.
    static void OnEditNotify(UiWin* window, UiEdit* edit, int screenMode, int typeA, int typeB);
    // A rounded box of corner radius 10: border 0x646464, fill 0xECECEC,
    // with a shadow in 0xD2D2D2 two pixels below and right when shadow is set.
    static void DrawRoundButton(CDC& dc, const CRect& rect, bool shadow);
    // The window manager, as windows see it (framework/ui/IWindowOpener.h).
    static IWindowOpener& GetWndManager();
    // Restores portrait mode 1 when the screen is turned, laying the window
    // out again.
    void ResetRotation();

    // ---- Virtual operations ----
    // Builds the controls; 0 on failure.
    virtual int OnInitDialog();
    // The window's texts (CNetWnd keeps them); nothing here.
    virtual void SetMenuParams(int menuId, const char* param, const char* request);
    virtual void OnWindowShown() {}
    virtual void OnWindowHidden() {}
    // The window-message slot: the base handles WND_MSG_CLOSE,
    // WND_MSG_CHILD_CLOSED and the caption buttons, then the form.
    virtual LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // A bottom-bar press (command 101) with its button index.
    virtual void OnToolbarCommand(int /*index*/) {}
    // The outer buttons of the usual three-button bar: the left ("首页")
    // closes with code 0 (the chain unwinds to the main window), the right
    // ("返回") with code 1. True
    // when index was one of them; the middle button is the caller's.
    bool HandleHomeOrBack(int index);
    // A swipe to the left; nothing here.
    virtual void OnLeftSwipe() {}
    // Places the controls again after the window's size changed.
    virtual void OnLayout();
    // Child closed with code 1; nothing here (CNetWnd refreshes).
    virtual void OnRefreshCommand() {}
    // Child closed with code 2: the window takes the screen again.
    virtual void ApplyScreenSettings();
    // A child the window ran closed with code (see above).
    virtual void OnChildClosed(int code);
    // True for the kinds a right swipe never closes: the main frame, the
    // logon window, the watch-list editor and the trade login.
    virtual bool IgnoresBackSwipe() const;
    // True while the window must not close: an outcome it alone can tell
    // is still on its way (a request that acts is out). Every close road,
    // the user's and the program's, waits for it.
    virtual bool IsHeldOpen() const { return false; }
    // True while the window is the one the user acts on: shown, closing not
    // begun, no modal run above its own and no request that acts out.
    // Commands, caption presses and its own taps are dropped otherwise.
    bool TakesInput() const;

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;

protected:
    HWND m_parentWnd = nullptr;   // the window this one runs over
    CWString m_title;
    bool m_firstShow = true;      // set at construction, cleared by the first show

private:
    CCaptionBar m_captionBar;
    CClientArea m_clientArea;
    UiImageBar m_imageBar;
    UiToolBar m_toolBar;
    CRect m_swipeRect;
    bool m_hasSwipeRect = false;
    CPoint m_pressPoint;
    bool m_pressed = false;       // a press was seen since the last release
    bool m_closing = false;
    bool m_childNotified = false; // WND_MSG_CHILD_CLOSED posted for this run
    HWND m_lastChild = nullptr;   // the child whose run began last over this window
    int m_closeCode = -1;
    int m_hideAnimation = ANIM_NONE;
};
