// Reading a record-set field as 8-bit text, whatever text type the server
// chose for the column: the menu tree and the holder records compare and
// forward these values as GBK bytes.
#pragma once

#include "core/CDataSet.h"

#include <string>

// The cursor row's field: 8-bit text as it stands, wide text converted to
// GBK, other types as their display text in GBK. Empty when the cursor or
// the column is invalid.
std::string GetFieldAnsiText(const CDataSet& set, int column);
