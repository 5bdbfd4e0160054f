// The table grid of the quote and query screens: an optional header row
// and rows of cells, scrolled vertically with the finger and sideways by
// whole columns beyond the columns the screen holds, the fixed columns
// staying put. Rows are copied in and owned here; the grid never shares a
// cell with its caller.
//
// A tap (the rows at rest at the press, the finger still) on a row selects
// it and, with notifications on (the default), posts to the parent
//   WM_COMMAND MakeWParam(id, GRID_ROW_TAPPED), lParam = the row index
//   WM_COMMAND MakeWParam(id, GRID_TAPPED_AT),  lParam = MakeLParam(x, y)
// in that order; the second also follows a tap outside every row (below
// the last one), so a window that works from the point can hit-test itself.
// Row indices never count the header row.
#pragma once

#include "framework/ui/widgets/CGridCell.h"
#include "framework/ui/widgets/GridLayout.h"
#include "platform/ui/CMomentumScroller.h"
#include "platform/ui/UiDefs.h"
#include "platform/win/UiWin.h"

#include <cstdint>
#include <vector>

// WM_COMMAND codes of the grid.
enum : int {
    GRID_ROW_TAPPED = 1, // lParam: the tapped row (header not counted)
    GRID_TAPPED_AT = 2,  // lParam: MakeLParam(x, y), the tap in client coordinates
};

class CGridCtrl : public UiWin {
public:
    static constexpr UINT kMomentumTimer = 0x7F02;

    CGridCtrl();
    ~CGridCtrl() override;
    const char* GetClassName() const override { return "CGridCtrl"; }

    // Shapes the table and empties it (header, rows, selection, scrolls,
    // hidden flags). rowLimit ≤ 0: no limit; columnCount < 0 counts as 0;
    // onScreen < 1 counts as 1; fixed is clamped to [0, columnCount].
    void SetTable(int rowLimit, int columnCount, bool headerRow, int onScreen, int fixed);
    int GetRowLimit() const { return m_rowLimit; }
    int GetColumnCount() const { return m_columnCount; }
    bool HasHeaderRow() const { return m_headerRow; }
    int GetColumnsOnScreen() const { return m_onScreen; }
    int GetFixedColumns() const { return m_fixed; }

    // Copies count cells into the header; missing cells are empty, extra
    // ones ignored. A null cells pointer clears the header.
    void SetHeader(const CGridCell* cells, int count);
    const CGridCell* GetHeaderCell(int column) const; // null out of range

    // Appends a copy of count cells as a row (missing cells empty, extra
    // ones ignored). Returns the new row index, or −1 when the table is at
    // its row limit (the row is not added).
    int AddRow(const CGridCell* cells, int count);
    void DeleteAllRows();
    // Deletes the first n rows (all of them when n ≥ the count; nothing
    // for n ≤ 0). The selection follows its row, or goes when deleted.
    void DeleteTopRows(int n);
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    // The cell, or null for a row or column out of range. Valid until the
    // row is deleted.
    const CGridCell* GetCell(int row, int column) const;
    CGridCell* GetCell(int row, int column);

    // Selection: a row index, negative for none (out of range selects none).
    void SetSelectedRow(int row);
    int GetSelectedRow() const { return m_selected; }

    // Hidden columns take no room and never show; their cells stay readable.
    void SetColumnHidden(int column, bool hidden);
    bool IsColumnHidden(int column) const;

    // Sideways scroll: how many scrolling columns have left the screen.
    void SetFirstScrolled(int n); // clamped
    int GetFirstScrolled() const { return m_firstScrolled; }
    int GetMaxFirstScrolled() const;
    // The columns now on the screen with their spans.
    std::vector<CGridColumnSpan> VisibleColumns() const;

    // Vertical scroll in pixels from the first row.
    void SetScrollPos(int pixels); // clamped
    int GetScrollPos() const { return m_scroller.Offset(); }
    int GetMaxScroll() const;

    // Look and behaviour.
    void SetRowHeight(int pixels);
    int GetRowHeight() const { return m_rowHeight; }
    void SetFontSize(int pixels) { m_fontSize = pixels; Invalidate(); }
    int GetFontSize() const { return m_fontSize; }
    void SetLineColor(std::uint32_t color) { m_lineColor = color; Invalidate(); }
    void SetHeaderColor(std::uint32_t textColor) { m_headerColor = textColor; Invalidate(); }
    void SetNotify(bool on) { m_notify = on; }
    bool IsNotifyOn() const { return m_notify; }
    // UI_SLIDE_NORMAL, or UI_SLIDE_NONE: its rows and columns stay put and
    // presses and drags go on to the page under it as well (taps still select).
    void SetSlideMode(int mode);
    int GetSlideMode() const { return m_slideMode; }

    // The row under pt (client coordinates), −1 for none.
    int HitTestRow(CPoint pt) const;
    // The finger of the current or last press.
    bool WasScrollingAtPress() const { return m_scroller.Tracker().WasScrollingAtPress(); }
    bool FingerMoved() const { return m_scroller.Tracker().FingerMoved(); }

    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnMouseMove(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
    void OnTimer(UINT id) override;
    void OnSize(int width, int height) override;

private:
    int HeaderHeight() const { return m_headerRow ? m_rowHeight : 0; }
    int ColumnWidth() const;
    void DrawCell(CDC& dc, const CGridCell& cell, const CRect& r, bool header, bool selected);

    std::vector<std::vector<CGridCell>> m_rows;
    std::vector<CGridCell> m_header;
    std::vector<bool> m_hidden;
    int m_rowLimit = 0;          // rows, ≤ 0 unlimited
    int m_columnCount = 0;
    bool m_headerRow = false;
    int m_onScreen = 1;          // columns
    int m_fixed = 0;             // columns
    int m_firstScrolled = 0;     // columns
    int m_selected = -1;         // row
    int m_rowHeight = 48;        // pixels
    int m_fontSize = 21;         // pixels
    std::uint32_t m_lineColor = 0x404040;
    std::uint32_t m_headerColor = 0xC0C0C0;
    bool m_notify = true;
    int m_slideMode = UI_SLIDE_NORMAL;
    CMomentumScroller m_scroller; // vertical, in pixels from the first row
    CPoint m_pressPoint;
    int m_pressFirst = 0;        // m_firstScrolled at the press
    bool m_axisDecided = false;  // this drag has chosen its axis
    bool m_sideways = false;     // this drag moves columns, not rows
};
