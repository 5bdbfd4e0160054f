// The row orders with which the quote tables sort their rows on the device,
// and the reader of a cell's number they use. Each comparator takes two
// row-list items (whose data words point to CQuoteRowData records) and tells
// whether the first belongs before the second. Every one is a strict weak
// ordering, as the list's sort needs: an item without a record sorts before
// any item with one, two items without records are equivalent, and equal
// keys compare false both ways.
#pragma once

#include "platform/ui/UiList.h"

#include <string_view>

// The longest leading decimal number of text ("-1.25%" gives −1.25): an
// optional sign, digits, an optional point and digits. 0 when the text does
// not begin with a number ("-" and "" give 0). Never NaN or infinite.
double ReadCellNumber(std::u16string_view text);

bool CompareNameAsc(const UiListItem& a, const UiListItem& b);
bool CompareNameDesc(const UiListItem& a, const UiListItem& b);
bool CompareLastAsc(const UiListItem& a, const UiListItem& b);
bool CompareLastDesc(const UiListItem& a, const UiListItem& b);
bool CompareChangeAsc(const UiListItem& a, const UiListItem& b);
bool CompareChangeDesc(const UiListItem& a, const UiListItem& b);
bool CompareChangePctAsc(const UiListItem& a, const UiListItem& b);
bool CompareChangePctDesc(const UiListItem& a, const UiListItem& b);
