// The same-day table in cancel mode (node 372): a tap on a row, or
// "撤单", opens the cancel confirmation for that order.
#pragma once

#include "trade/queries/CTradeQueryTableWnd.h"

class CTradeCancelWnd : public CTradeQueryTableWnd {
public:
    CTradeCancelWnd();
    ~CTradeCancelWnd() override;
    const char* GetClassName() const override { return "CTradeCancelWnd"; }

    // A negative row: "您未选中任何记录！"; otherwise the cancel.
    int OpenMenuChild(int row) override;

protected:
    // Button 1 always reads "撤单".
    void ApplyToolbar() override;
    void OnRowTapped(int row) override;
};
