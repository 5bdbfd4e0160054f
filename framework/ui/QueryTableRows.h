// What a query table shows of a reply set, apart from the grid: the
// column headers and which of them are hidden, the rows' texts and signs,
// and the paging cursor. The window colours and draws it.
#pragma once

#include "core/CAString.h"
#include "core/CWString.h"

#include <string_view>
#include <vector>

class CDataSet;

struct QueryTableColumn {
    CWString header; // the column's label, its name when it has none
    bool hidden = false;
};

struct QueryTableRows {
    std::vector<QueryTableColumn> columns;
    std::vector<std::vector<CWString>> rows; // one text per column
    std::vector<int> signs;                  // per row: the sign column's value, 0 without one
    CAString cursor;                         // the paging column's value in the last row
    bool hasCursor = false;                  // the set has the paging column
};

// True when name is the sign or the paging column's (ASCII case ignored):
// the table hides them.
bool IsQueryKeyField(std::string_view name, std::string_view signField, std::string_view pagingKey);
// The table of set, every row read from the first.
QueryTableRows ReadQueryTableRows(CDataSet& set, std::string_view signField, std::string_view pagingKey);
