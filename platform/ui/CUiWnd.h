// The form window: a top-level window that hosts controls, has a class name
// and a background colour, and can run modally.
//
// A modal run shows the window and runs a nested loop of the program's
// UiMessageLoop until EndModal; the nested loop dispatches every window's
// messages, so the windows below keep their timers and replies. EndModal
// ends this window's own run even when called while a form runs modally
// above it: the code is kept, and the run ends as soon as the forms above
// have ended theirs. A form must not be deleted during its own run.
#pragma once

#include "platform/gdi/Color.h"
#include "platform/win/UiWin.h"

#include <string>

class CUiWnd : public UiWin {
public:
    CUiWnd();
    ~CUiWnd() override;
    const char* GetClassName() const override { return "CUiWnd"; }

    // Creates the form as a top-level window at rect (screen pixels) owned
    // by owner (may be null). False when creation fails.
    bool CreateForm(UiWin* owner, const CRect& rect, bool visible = false);

    // Shows the window (with animation), runs it modally and returns the
    // code given to EndModal, or the loop's code when the program quits.
    // Without a loop returns −1 at once.
    int DoModal(int animation = ANIM_NONE);
    int RunModal() { return DoModal(); }
    // Ends the modal run with code; ignored when the window is not running
    // modally.
    void EndModal(int code);
    bool IsModal() const { return m_modalDepth > 0; }
    // True while a modal run began after this window's own (a window that
    // does not run modally: while any runs): a form above has the user.
    bool HasModalAbove() const;
    int GetModalResult() const { return m_result; }

    // A form destroyed during its run ends the run with −1, so the loop
    // never waits for a window that is gone.
    void OnDestroy() override;

    // The background colour the form clears to.
    void SetBackground(COLORREF color) { SetBkColor(color); }

private:
    int m_modalDepth = 0;  // the loop's depth of this window's run; 0 when not modal
    bool m_endPending = false;
    int m_result = 0;
};
