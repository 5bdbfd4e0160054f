// The menu window: the children of its menu node as rows (CMenuListCtrl,
// id 160); a tapped row posts WND_MSG_OPEN_MENU_CHILD to the window, which
// opens that child by its keyword. The rows are made again whenever the
// window's menu id changes.
#pragma once

#include "framework/ui/CListWnd.h"
#include "framework/ui/widgets/CMenuListCtrl.h"

class COrbMenuWnd : public CListWnd {
public:
    static constexpr int kListId = 160;
    static constexpr int kItemHeight = 80; // pixels

    COrbMenuWnd();
    ~COrbMenuWnd() override;
    const char* GetClassName() const override { return "COrbMenuWnd"; }

    CMenuListCtrl& GetList() { return m_list; }
    // Fills the rows from the menu node's children.
    void FillMenu();

    int OnInitDialog() override;
    void SetMenuParams(int menuId, const char* param, const char* request) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnItemChosen(int index) override;
    void OnLayout() override;

private:
    CMenuListCtrl m_list;
};
