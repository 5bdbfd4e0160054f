// The board (sector) stock table (keyword "bkph"): the stocks of one sector
// in a single unpaged table, sorted on the device by change in percent. The
// board list opens it with the sector's name as title and a request naming
// the sector; it keeps the ranking table's rows, row taps and row filling.
// The direction field is the rows' order: 0 descending, 1 ascending.
#pragma once

#include "quotes/tables/COrbStockTableWnd.h"

class CStockBoardTableWnd : public COrbStockTableWnd {
public:
    CStockBoardTableWnd();
    ~CStockBoardTableWnd() override;
    const char* GetClassName() const override { return "CStockBoardTableWnd"; }

    // Sorts the rows by change in percent in the direction (0 descending,
    // 1 ascending; other values keep the order) and redraws them.
    void SortRows();

    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    // Plain CNetWnd::OnWindowShown: the caption stays the opener's title.
    void OnWindowShown() override;
    // SectorMembersRequest of the preset request; 0 without one.
    int BuildRequest(CAString& out) override;

protected:
    // The sector's rows, sorted in the current direction.
    void TakeReplyRows(CDataSet* first) override;
};
