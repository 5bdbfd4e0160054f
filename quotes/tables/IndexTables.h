// What the two index tables compute apart from their windows: the domestic
// table's request, the key a row opens its charts with, and the colour and
// text of each cell, so that every rule is tested without a window.
#pragma once

#include "core/CQuoteNumber.h"
#include "core/CWString.h"

#include <string>
#include <string_view>

// The domestic table's columns: name, last, change %, change, volume,
// amount, open, previous close, high, low, code, market.
inline constexpr std::string_view kChinaIndexFields = "4|16|21|20|17|18|13|11|14|15|3|1";
inline constexpr int kChinaIndexColumns = 12;
inline constexpr int kChinaIndexCodeColumn = 10;
inline constexpr int kChinaIndexMarketColumn = 11;
inline constexpr const char16_t* kChinaIndexHeaders[kChinaIndexColumns] = {
    u"名称", u"现价", u"涨幅%", u"涨跌", u"总量", u"金额", u"今开", u"昨收", u"最高", u"最低", u"代码", u"市场"};

// The preset, "&" unless it already ends in one, then "field=" and the
// columns' fields; empty for an empty preset (nothing is sent).
std::string ChinaIndexRequest(std::string_view preset);

// "code.market" with the market widened to two digits (NormalizeStockCode);
// empty when either part is missing or the key may not travel in a request.
std::string IndexRowKey(std::string_view code, std::string_view market);

class CDataSet;

// The cursor row's field as an index table shows it: a packed number that
// is a price, a change or a percentage without the unit word its code would
// carry for a count; with isCount, and for other types, the display text.
CWString IndexCellText(const CDataSet& set, int column, bool isCount);

// One domestic cell as shown: its text and palette colour index.
struct IndexCellLook {
    bool dash = false; // shown as "-" instead of its text
    int color = 14;    // palette index
};
// The look of column of a domestic row: last, open, high and low against
// the previous close, or "-" in colour 14 while the index has not opened
// (its open is 0); change and change % against 0; volume and amount 28;
// the rest 14.
IndexCellLook ChinaIndexCellLook(int column, const CQuoteNumber& value, const CQuoteNumber& open,
                                 const CQuoteNumber& prevClose);

// The palette index of a world-index cell: columns 2, 3, 7, 8 and 9 by the
// sign of their text read as a decimal number (15 above 0, 14 at 0, 16
// below), every other column 14.
int WorldIndexColor(int column, std::u16string_view text);
