// The grid window base: a CGridCtrl (id 171) between the caption bar and
// the bottom bar, with helpers to append rows and read cells.
#pragma once

#include "framework/ui/CNetWnd.h"
#include "framework/ui/widgets/CGridCtrl.h"

#include <vector>

class CTableWnd : public CNetWnd {
public:
    static constexpr int kGridId = 171;

    CTableWnd();
    ~CTableWnd() override;
    const char* GetClassName() const override { return "CTableWnd"; }

    CGridCtrl& GetGrid() { return m_grid; }
    // Places the grid below the caption bar, above the bottom bar.
    void LayoutGrid();
    // Shapes the grid (see CGridCtrl::SetTable) and forgets the headers.
    void SetupTable(int rowLimit, int columnCount, bool headerRow, int onScreen, int fixed);
    // Appends a row of count cells; returns its index or −1.
    int AddRow(const CGridCell* cells, int count);
    // Appends a row from parallel arrays (colours and values may be null).
    int SetCells(const CWString* texts, const std::uint32_t* colors, const int* values, int count);
    // Appends a header cell.
    void AddColumnHeader(std::u16string_view text);
    // The cell's text, null out of range.
    const CWString* GetCellText(int row, int column) const;
    // A new malloc'd 8-bit (GBK) copy of the cell's text, null out of
    // range; the caller frees it.
    char* GetCellTextA(int row, int column) const;

    int OnInitDialog() override;
    void OnLayout() override;

private:
    CGridCtrl m_grid;
    std::vector<CGridCell> m_header;
};
