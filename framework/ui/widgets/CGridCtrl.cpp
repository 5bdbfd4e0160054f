// The table grid.
#include "framework/ui/widgets/CGridCtrl.h"

#include "framework/ui/widgets/GridLayout.h"
#include "platform/Clock.h"
#include "platform/gdi/CDC.h"

#include <algorithm>
#include <cstdlib>

CGridCtrl::CGridCtrl() : m_scroller([this] { return GetMaxScroll(); }, [this](int, int) { Invalidate(); }) {
    SetBkColor(0x000000);
}

CGridCtrl::~CGridCtrl() = default;

void CGridCtrl::SetTable(int rowLimit, int columnCount, bool headerRow, int onScreen, int fixed) {
    m_rowLimit = rowLimit;
    m_columnCount = std::max(0, columnCount);
    m_headerRow = headerRow;
    m_onScreen = std::max(1, onScreen);
    m_fixed = std::clamp(fixed, 0, m_columnCount);
    m_rows.clear();
    m_header.assign(static_cast<size_t>(m_columnCount), CGridCell{});
    m_hidden.assign(static_cast<size_t>(m_columnCount), false);
    m_selected = -1;
    m_scroller.Reset();
    m_firstScrolled = 0;
    Invalidate();
}

void CGridCtrl::SetHeader(const CGridCell* cells, int count) {
    m_header.assign(static_cast<size_t>(m_columnCount), CGridCell{});
    if (cells)
        std::copy_n(cells, std::clamp(count, 0, m_columnCount), m_header.begin());
    Invalidate();
}

const CGridCell* CGridCtrl::GetHeaderCell(int column) const {
    if (column < 0 || column >= static_cast<int>(m_header.size()))
        return nullptr;
    return &m_header[static_cast<size_t>(column)];
}

int CGridCtrl::AddRow(const CGridCell* cells, int count) {
    if (m_rowLimit > 0 && GetRowCount() >= m_rowLimit)
        return -1;
    std::vector<CGridCell> row(static_cast<size_t>(m_columnCount));
    if (cells)
        std::copy_n(cells, std::clamp(count, 0, m_columnCount), row.begin());
    m_rows.push_back(std::move(row));
    Invalidate();
    return GetRowCount() - 1;
}

void CGridCtrl::DeleteAllRows() { DeleteTopRows(GetRowCount()); }

void CGridCtrl::DeleteTopRows(int n) {
    if (n <= 0)
        return;
    n = std::min(n, GetRowCount());
    m_rows.erase(m_rows.begin(), m_rows.begin() + n);
    if (m_selected >= 0)
        m_selected = m_selected >= n ? m_selected - n : -1;
    SetScrollPos(GetScrollPos() - n * m_rowHeight);
    Invalidate();
}

const CGridCell* CGridCtrl::GetCell(int row, int column) const {
    if (row < 0 || row >= GetRowCount() || column < 0 || column >= m_columnCount)
        return nullptr;
    return &m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

CGridCell* CGridCtrl::GetCell(int row, int column) {
    return const_cast<CGridCell*>(static_cast<const CGridCtrl*>(this)->GetCell(row, column));
}

void CGridCtrl::SetSelectedRow(int row) {
    m_selected = (row >= 0 && row < GetRowCount()) ? row : -1;
    Invalidate();
}

void CGridCtrl::SetColumnHidden(int column, bool hidden) {
    if (column < 0 || column >= m_columnCount)
        return;
    m_hidden[static_cast<size_t>(column)] = hidden;
    SetFirstScrolled(m_firstScrolled);
}

bool CGridCtrl::IsColumnHidden(int column) const {
    return column >= 0 && column < m_columnCount && m_hidden[static_cast<size_t>(column)];
}

void CGridCtrl::SetFirstScrolled(int n) {
    m_firstScrolled = std::clamp(n, 0, GetMaxFirstScrolled());
    Invalidate();
}

int CGridCtrl::GetMaxFirstScrolled() const { return GridLayout::MaxFirstScrolled(m_hidden, m_fixed, m_onScreen); }

std::vector<CGridColumnSpan> CGridCtrl::VisibleColumns() const {
    return GridLayout::LayoutColumns(GetClientRect().Width(), m_hidden, m_fixed, m_onScreen, m_firstScrolled);
}

int CGridCtrl::ColumnWidth() const {
    const int shown = static_cast<int>(GridLayout::ShownColumns(m_hidden).size());
    const int slots = std::min(m_onScreen, shown);
    return slots > 0 ? GetClientRect().Width() / slots : 0;
}

void CGridCtrl::SetScrollPos(int pixels) { m_scroller.ScrollTo(pixels); }

int CGridCtrl::GetMaxScroll() const {
    return GridLayout::MaxScroll(GetClientRect().Height(), HeaderHeight(), m_rowHeight, GetRowCount());
}

void CGridCtrl::SetRowHeight(int pixels) {
    m_rowHeight = std::max(1, pixels);
    SetScrollPos(GetScrollPos());
    Invalidate();
}

void CGridCtrl::SetSlideMode(int mode) {
    m_slideMode = mode;
    if (mode == UI_SLIDE_NONE) {
        m_scroller.Stop();
        if (IsCreated())
            KillTimer(kMomentumTimer);
    }
}

int CGridCtrl::HitTestRow(CPoint pt) const {
    if (!GetClientRect().Contains(pt))
        return -1;
    return GridLayout::RowAt(pt.y, HeaderHeight(), m_rowHeight, GetScrollPos(), GetRowCount());
}

void CGridCtrl::DrawCell(CDC& dc, const CGridCell& cell, const CRect& r, bool header, bool selected) {
    const CDCStateSaver saved(dc);
    dc.SetTextColor(header ? m_headerColor : selected ? GridLayout::SelectedTextColor(cell.color) : cell.color);
    dc.DrawText(cell.text.view(), r.Deflate(4, 0), DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void CGridCtrl::OnPaint(CDC& dc) {
    UiWin::OnPaint(dc);
    const CRect client = GetClientRect();
    const std::vector<CGridColumnSpan> columns = VisibleColumns();
    const int header = HeaderHeight();
    const CDCStateSaver saved(dc);
    dc.SelectFont({m_fontSize, 400});
    dc.SetBkMode(TRANSPARENT);
    dc.SelectPen({PS_SOLID, 1, m_lineColor});

    if (GetRowCount() > 0) {
        const int scrollPos = GetScrollPos();
        const int first = scrollPos / m_rowHeight;
        for (int row = first; row < GetRowCount(); ++row) {
            const int top = header + row * m_rowHeight - scrollPos;
            if (top >= client.bottom)
                break;
            const CRect rowRect{0, top, client.right, top + m_rowHeight};
            // Rows under the header band are clipped by drawing the header last.
            if (row == m_selected)
                dc.DrawSelectionBand(rowRect);
            for (const CGridColumnSpan& span : columns)
                DrawCell(dc, m_rows[static_cast<size_t>(row)][static_cast<size_t>(span.column)],
                         {span.left, top, span.right, top + m_rowHeight}, false, row == m_selected);
            dc.MoveTo(0, rowRect.bottom - 1);
            dc.LineTo(client.right, rowRect.bottom - 1);
        }
    }
    if (header > 0) {
        dc.FillRect({0, 0, client.right, header}, GetBkColor());
        for (const CGridColumnSpan& span : columns)
            DrawCell(dc, m_header[static_cast<size_t>(span.column)], {span.left, 0, span.right, header}, true, false);
        dc.MoveTo(0, header - 1);
        dc.LineTo(client.right, header - 1);
    }
    // The edge between the fixed and the scrolling columns.
    const int fixedShown = std::min<int>(m_fixed, static_cast<int>(columns.size()));
    if (fixedShown > 0 && fixedShown < static_cast<int>(columns.size())) {
        const int x = columns[static_cast<size_t>(fixedShown - 1)].right - 1;
        dc.MoveTo(x, 0);
        dc.LineTo(x, client.bottom);
    }
}

void CGridCtrl::OnLButtonDown(UINT flags, CPoint pt) {
    if (m_scroller.Press(pt, CClock::Instance().TickCount()))
        KillTimer(kMomentumTimer);
    // A grid that never slides lets the page under it scroll instead; it
    // keeps the capture so that its own release still comes to it.
    if (m_slideMode == UI_SLIDE_NONE)
        ForwardMouseToParent(this, WM_LBUTTONDOWN, flags, pt);
    m_pressPoint = pt;
    m_pressFirst = m_firstScrolled;
    m_sideways = false;
    m_axisDecided = false;
    SetCapture();
}

void CGridCtrl::OnMouseMove(UINT flags, CPoint pt) {
    if (!m_scroller.Tracker().IsPressed())
        return;
    const int dy = m_scroller.Track(pt, CClock::Instance().TickCount());
    const int dx = pt.x - m_pressPoint.x;
    if (m_slideMode == UI_SLIDE_NONE) {
        ForwardMouseToParent(this, WM_MOUSEMOVE, flags, pt);
        return;
    }
    // The first move beyond the slop decides the axis of the whole drag.
    if (!m_axisDecided && m_scroller.Tracker().FingerMoved()) {
        m_axisDecided = true;
        m_sideways = std::abs(dx) > std::abs(pt.y - m_pressPoint.y) && GetMaxFirstScrolled() > 0;
    }
    if (m_sideways)
        SetFirstScrolled(GridLayout::FirstScrolledAfterDrag(m_pressFirst, dx, ColumnWidth(), GetMaxFirstScrolled()));
    else
        m_scroller.ScrollBy(dy);
}

void CGridCtrl::OnLButtonUp(UINT flags, CPoint pt) {
    if (GetCapture() == this)
        ReleaseCapture();
    if (!m_scroller.Tracker().IsPressed())
        return;
    if (m_slideMode == UI_SLIDE_NONE)
        ForwardMouseToParent(this, WM_LBUTTONUP, flags, pt);
    const std::uint64_t now = CClock::Instance().TickCount();
    if (m_slideMode == UI_SLIDE_NONE || m_sideways || GetMaxScroll() == 0)
        m_scroller.Lift(pt, now);
    else if (m_scroller.Release(pt, now))
        SetTimer(kMomentumTimer, CMouseTracker::kStepIntervalMs);
    if (!m_scroller.Tracker().IsTap())
        return;
    const int row = HitTestRow(pt);
    if (row >= 0)
        SetSelectedRow(row);
    if (!m_notify)
        return;
    if (row >= 0)
        NotifyParent(GRID_ROW_TAPPED, row);
    NotifyParent(GRID_TAPPED_AT, MakeLParam(pt.x, pt.y));
}

void CGridCtrl::OnTimer(UINT id) {
    if (id != kMomentumTimer) {
        UiWin::OnTimer(id);
        return;
    }
    if (!m_scroller.Tick(CClock::Instance().TickCount()))
        KillTimer(kMomentumTimer);
}

void CGridCtrl::OnSize(int, int) {
    SetScrollPos(GetScrollPos());
    SetFirstScrolled(m_firstScrolled);
}
