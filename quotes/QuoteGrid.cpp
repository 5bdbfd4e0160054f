#include "quotes/QuoteGrid.h"

#include "framework/ui/CTableWnd.h"
#include "framework/ui/widgets/CGridCtrl.h"

#include <vector>

void SetQuoteGridLook(CGridCtrl& grid, bool notify, int rowHeight) {
    grid.SetSlideMode(UI_SLIDE_NORMAL);
    grid.SetNotify(notify);
    grid.SetFontSize(21);
    grid.SetRowHeight(rowHeight);
}

void AddColumnRow(CTableWnd& table, int columns, const std::function<std::uint32_t(int, CWString&)>& cell) {
    std::vector<CWString> texts(static_cast<size_t>(columns));
    std::vector<std::uint32_t> colors(static_cast<size_t>(columns));
    std::vector<int> values(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        colors[c] = cell(c, texts[c]);
        values[c] = c;
    }
    table.SetCells(texts.data(), colors.data(), values.data(), columns);
}
