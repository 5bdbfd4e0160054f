// The row record of a watch-list reply row, built as the ranking table builds
// its rows (same columns, colours and "-" rule) with the market widened to
// two digits, so that a row's key has the store's form.
#pragma once

#include "core/CAString.h"

class CDataSet;
class CQuoteRowData;

// The watch list's quote fields: name, code, last, change, change in
// percent, open, previous close, market.
inline constexpr const char* kWatchListFields = "4|3|16|20|21|13|11|1";

// A new record of the cursor row of set, whose columns follow
// kWatchListFields; the caller owns it. Cells of columns the set lacks stay
// empty. The market cell gets a "0" in front when it is one character long.
CQuoteRowData* MakeWatchListRow(const CDataSet& set);
