// How a quote reply row becomes a table row record, shared by the ranking,
// board and watch-list tables so that all three show the same cells, colours
// and "-" rule. The reply's columns follow kQuoteRowFields.
#pragma once

class CDataSet;
class CQuoteRowData;

// The quote tables' field list: name, code, last, change, change in percent,
// open, previous close, market.
inline constexpr const char* kQuoteRowFields = "4|3|16|20|21|13|11|1";

// A new record of the cursor row of set (the caller owns it). Name and code
// take the palette's default table text colour (14); the last price takes
// the compare colour against the previous close, or is "-" in the default
// colour when the open is 0 (not traded today); change and change in
// percent take the compare colour against zero. The last price, change and
// change in percent show a packed number's value with its code's decimals
// and never 万 or 亿 ("8.52", "3.038"). Cells of columns the set lacks stay
// empty. With widenMarket a one-character market cell gets a "0" in front,
// so that the row's key has the store's form.
CQuoteRowData* MakeQuoteRow(const CDataSet& set, bool widenMarket);
