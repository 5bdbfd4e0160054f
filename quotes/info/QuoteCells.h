// What the detail page and the deal details share: the quote colours of
// the application's palette, and a grid row of four coloured cells.
#pragma once

#include "framework/app/CAppData.h"
#include "framework/ui/CTableWnd.h"

#include <array>

// Sets the rise, fall, flat and volume colours (palette 15, 16, 17, 28) of
// a palette from the application's, when there is one; the rest is kept.
template <class Palette>
Palette WithAppQuoteColors(Palette p) {
    if (CAppData* app = CAppData::Instance()) {
        p.rise = app->GetColor(15);
        p.fall = app->GetColor(16);
        p.flat = app->GetColor(17);
        p.volume = app->GetColor(28);
    }
    return p;
}

// Adds a row of four cells, each a text and its colour, to the table.
template <class Cell>
void AddColoredRow(CTableWnd& table, const std::array<Cell, 4>& row) {
    CGridCell cells[4];
    for (int c = 0; c < 4; ++c) {
        cells[c].text.Assign(row[c].text);
        cells[c].color = row[c].color;
    }
    table.AddRow(cells, 4);
}
