// The item picker of the forms: a title over a list of choice items, one
// of which the user picks. "确定" posts the owner WND_MSG_PICKER_RESULT with
// wParam = the caller id and lParam = a new int array of the chosen
// indices (the first entry is the choice, −1 ends the array); the array
// travels with the loop's PostOwned, so it is freed even when the owner is
// gone, and a receiver frees it with FreeChoiceIndices. A scripted answer
// (CModalScript, kind Picker) is taken instead of showing the window.
#pragma once

#include "core/CChoiceItem.h"
#include "framework/ui/CBaseWnd.h"
#include "platform/ui/UiChoiceList.h"

#include <vector>

class CMakeChoiceWnd : public CBaseWnd {
public:
    static constexpr int kListId = 150;
    static constexpr int kCodeChosen = 3;     // close code after "确定"
    static constexpr int kCodeCancelled = -1; // close code otherwise

    // owner: the window that gets the result (may be null).
    CMakeChoiceWnd(std::u16string_view title, UiWin* owner, int callerId);
    ~CMakeChoiceWnd() override;
    const char* GetClassName() const override { return "CMakeChoiceWnd"; }

    // Copies count items; the first checked one starts selected.
    void SetItems(const CChoiceItem* items, int count);
    const std::vector<CChoiceItem>& GetItems() const { return m_items; }
    int GetSelected() const { return m_selected; }

    // Runs the picker over the owner (or takes the scripted answer) and
    // returns the chosen index, −1 when cancelled. The caller keeps
    // ownership of this object.
    int Choose();
    // Posts the owner the result for index (nothing for a negative one).
    void PostChoice(int index);

    int OnInitDialog() override;
    void OnLayout() override;
    void OnToolbarCommand(int index) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    HWND m_owner;
    int m_callerId;
    std::vector<CChoiceItem> m_items;
    int m_selected = -1;
    int m_chosen = -1;
    UiChoiceList m_list;
};
