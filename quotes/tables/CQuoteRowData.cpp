// A quote table row's six cells.
#include "quotes/tables/CQuoteRowData.h"

void CQuoteRowData::SetCell(int index, std::u16string_view text, COLORREF color, int32_t kind) {
    if (index < 0 || index >= kCellCount)
        return;
    CQuoteCell& cell = m_cells[index];
    cell.text.Assign(text);
    cell.color = color;
    cell.kind = kind;
}

const CQuoteCell& CQuoteRowData::GetCell(int index) const {
    static const CQuoteCell kEmpty;
    if (index < 0 || index >= kCellCount)
        return kEmpty;
    return m_cells[index];
}

std::string CQuoteRowData::GetStockKey() const {
    std::string key = m_cells[kCode].text.ToAnsi();
    key.push_back('.');
    key += m_cells[kMarket].text.ToAnsi();
    return key;
}
