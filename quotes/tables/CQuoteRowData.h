// The record of one row of a stock quote table: six cells, each a wide text,
// a colour and a cell kind. A record belongs to its row-list item (the
// item's data word points to it) and is deleted when the item leaves the
// list. Texts are whole strings: the drawing ends a long one with an
// ellipsis, nothing is cut on the way in.
#pragma once

#include "core/CWString.h"
#include "platform/gdi/Color.h"

#include <cstdint>
#include <string>
#include <string_view>

struct CQuoteCell {
    CWString text;
    COLORREF color = 0; // 0x00BBGGRR
    int32_t kind = 0;   // the CQuoteRowData::Kind of the cell
};

class CQuoteRowData {
public:
    static constexpr int kCellCount = 6;
    // Cell indexes.
    enum Cell : int { kName = 0, kCode = 1, kLast = 2, kChange = 3, kChangePct = 4, kMarket = 5 };
    // Cell kinds as the tables fill them.
    enum Kind : int32_t {
        kKindMarket = 0,
        kKindName = 1,
        kKindCode = 2,
        kKindLast = 3,
        kKindChange = 4,
        kKindChangePct = 5,
    };

    // Sets cell index (ignored out of range).
    void SetCell(int index, std::u16string_view text, COLORREF color, int32_t kind);
    // Cell index; out of range gives an empty cell.
    const CQuoteCell& GetCell(int index) const;
    const CWString& GetText(int index) const { return GetCell(index).text; }
    COLORREF GetColor(int index) const { return GetCell(index).color; }

    // The stock key of the row as 8-bit text: code, a point and the market
    // cell as the reply gave them ("600010.2" or "600010.02").
    std::string GetStockKey() const;

private:
    CQuoteCell m_cells[kCellCount];
};
