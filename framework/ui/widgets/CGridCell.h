// One cell of the table grid: a text and three ints, the colour first. A
// plain record so that screens build rows of cells on the stack and hand
// them to the grid, which copies them.
#pragma once

#include "core/CWString.h"

#include <cstdint>

struct CGridCell {
    CWString text;
    std::uint32_t color = 0xFFFFFF; // 0x00BBGGRR
    int value = 0;                  // the screen's own number (a column index, say)
    int kind = 0;                   // the screen's own cell kind
};
