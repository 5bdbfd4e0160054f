// The look the quote screens' grids share.
#pragma once

#include <cstdint>
#include <functional>

class CGridCtrl;
class CTableWnd;
class CWString;

// A grid that slides, in 21-pixel text, rows rowHeight pixels high; taps
// are reported to the window when notify is set.
void SetQuoteGridLook(CGridCtrl& grid, bool notify, int rowHeight);

// Appends a row of columns cells to the table; cell(c, text) sets the text
// of column c and returns its colour. A cell's value is its column.
void AddColumnRow(CTableWnd& table, int columns, const std::function<std::uint32_t(int, CWString&)>& cell);
