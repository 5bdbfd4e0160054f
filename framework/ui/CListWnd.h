// The list window base: a list on the client area and the toolbar "首页" /
// "查找" / "返回" (0 closes with code 0, 1 opens the stock search, 2 closes
// with code 1). A chosen row goes to OnItemChosen.
#pragma once

#include "framework/ui/CNetWnd.h"

class CListWnd : public CNetWnd {
public:
    CListWnd();
    ~CListWnd() override;
    const char* GetClassName() const override { return "CListWnd"; }

    int OnInitDialog() override;
    void OnToolbarCommand(int index) override;
    // A row of the window's list was chosen; nothing here.
    virtual void OnItemChosen(int /*index*/) {}
};
