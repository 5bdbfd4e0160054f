// The text pages' shared rules, apart from any window: which column of a
// reply holds the text, and the text the records make. The article page
// and the information-mark page both read their replies through them.
#pragma once

#include <string>

class CDataSet;

// The column an article's lines are in: 1 when the set has exactly two
// columns (a line number and the line), else 0.
int ArticleTextColumn(const CDataSet& set);

// The display text of column of every record of set, each followed by
// "\r\n"; empty when the set has no records or no such column.
std::u16string JoinTextColumn(CDataSet& set, int column);
