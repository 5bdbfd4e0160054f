// The generic item picker hook: a title over a list of texts, run modally;
// a tap on an item chooses it, "取消" cancels. Pick returns the chosen
// index, or −1 when cancelled. It asks CModalScript (kind Picker) first: a
// scripted index is returned at once with the title and items recorded.
// The framework's choice windows build on this.
#pragma once

#include "platform/ui/CUiWnd.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiChoiceList.h"

#include <string>
#include <vector>

class UiPicker : public CUiWnd {
public:
    static constexpr int kListId = 1;
    static constexpr int kCancelId = 2;
    static constexpr int kTitleHeight = 60; // pixels
    static constexpr int kRowHeight = 60;   // pixels

    UiPicker();
    ~UiPicker() override;
    const char* GetClassName() const override { return "UiPicker"; }

    void SetTitle(std::u16string_view title) { m_title = title; }
    void SetItems(const std::vector<std::u16string>& items) { m_items = items; }
    // The item shown selected at the start, −1 for none.
    void SetInitial(int index) { m_initial = index; }

    // Runs the picker over the work area, owned by owner; the chosen index
    // or −1. Callable again after it returns.
    int Pick(UiWin* owner, int animation = ANIM_NONE);

    UiChoiceList* GetList() { return m_list.IsCreated() ? &m_list : nullptr; }

    int OnCreate() override;
    void OnPaint(CDC& dc) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    std::u16string m_title;
    std::vector<std::u16string> m_items;
    int m_initial = -1;
    UiChoiceList m_list;
    UiButton m_cancel;
};
