// The grid window's rows and cells.
#include "framework/ui/CTableWnd.h"

#include <cstring>

CTableWnd::CTableWnd() = default;

CTableWnd::~CTableWnd() {
    Destroy();
}

int CTableWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    RemoveClientArea();
    SetBackground(0);
    if (!m_grid.Create(this, {}, kGridId, true))
        return 0;
    LayoutGrid();
    return 1;
}

void CTableWnd::LayoutGrid() {
    if (!m_grid.IsCreated())
        return;
    const CRect client = GetClientRect();
    m_grid.MoveWindow({0, kCaptionHeight, client.right, client.bottom - GetBottomBarHeight()});
}

void CTableWnd::OnLayout() {
    CNetWnd::OnLayout();
    LayoutGrid();
}

void CTableWnd::SetupTable(int rowLimit, int columnCount, bool headerRow, int onScreen, int fixed) {
    m_header.clear();
    m_grid.SetTable(rowLimit, columnCount, headerRow, onScreen, fixed);
}

int CTableWnd::AddRow(const CGridCell* cells, int count) {
    return m_grid.AddRow(cells, count);
}

int CTableWnd::SetCells(const CWString* texts, const std::uint32_t* colors, const int* values, int count) {
    if (!texts || count <= 0)
        return -1;
    std::vector<CGridCell> cells(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        cells[i].text = texts[i];
        if (colors)
            cells[i].color = colors[i];
        if (values)
            cells[i].value = values[i];
    }
    return m_grid.AddRow(cells.data(), count);
}

void CTableWnd::AddColumnHeader(std::u16string_view text) {
    CGridCell cell;
    cell.text.Assign(text);
    m_header.push_back(cell);
    m_grid.SetHeader(m_header.data(), static_cast<int>(m_header.size()));
}

const CWString* CTableWnd::GetCellText(int row, int column) const {
    const CGridCell* cell = m_grid.GetCell(row, column);
    return cell ? &cell->text : nullptr;
}

char* CTableWnd::GetCellTextA(int row, int column) const {
    const CWString* text = GetCellText(row, column);
    if (!text)
        return nullptr;
    return strdup(CAString::CAStringFromWide(text->view()).c_str());
}
