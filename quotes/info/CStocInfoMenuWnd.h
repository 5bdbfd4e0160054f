// The menu of a node's information pages. Under "F10" (stock mode) it is
// one stock's: the parameter text is the stock's code and the caption its
// name, and each child opens with "&stkcode=" and the code added to its
// request and "_" and the name to its title. Under "bkhq" (the sectors'
// menu) the children open as they stand.
#pragma once

#include "framework/ui/COrbMenuWnd.h"

class CStocInfoMenuWnd : public COrbMenuWnd {
public:
    enum : int { kStockMode = 0, kPlainMode = 1 };

    explicit CStocInfoMenuWnd(int flag);
    ~CStocInfoMenuWnd() override;
    const char* GetClassName() const override { return "CStocInfoMenuWnd"; }

    int GetFlag() const { return m_flag; }

    // Opens child index: 1 when a window ran, 0 when none (also for a code
    // that may not travel), −1 for no such child.
    int OpenMenuChild(int index) override;

private:
    int m_flag;
};
