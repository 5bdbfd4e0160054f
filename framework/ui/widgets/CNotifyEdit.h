// The watching edit box: an edit that tells its parent window of every
// change of its text, so a form reacts while the user types (moves on after
// six digits, starts a search).
//
// On each change it posts to its parent (a scrolling page passes it on):
//   UIM_EDIT_NOTIFY (0xFFF10045), wParam = the edit's control id,
//                                 lParam = the notification code:
//   UI_EDIT_CHANGE_TYPED (1) a character typed, UI_EDIT_CHANGE_DELETED (2)
//   one erased, UI_EDIT_CHANGE_SET (3) the program replaced the text;
// beside the WM_COMMAND EN_CHANGE of every edit. Read them with
// NotifyEditId and NotifyEditCode.
#pragma once

#include "platform/ui/UiDefs.h"
#include "platform/ui/UiEdit.h"

class CNotifyEdit : public UiEdit {
public:
    CNotifyEdit();
    ~CNotifyEdit() override;
    const char* GetClassName() const override { return "CNotifyEdit"; }

    static int NotifyEditId(WPARAM wParam) { return static_cast<int>(wParam); }
    static int NotifyEditCode(LPARAM lParam) { return static_cast<int>(lParam); }
};
