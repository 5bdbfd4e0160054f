// A reply set read into the query table's columns and rows.
#include "framework/ui/QueryTableRows.h"

#include "core/CDataSet.h"
#include "core/StrUtil.h"

#include <string>

bool IsQueryKeyField(std::string_view name, std::string_view signField, std::string_view pagingKey) {
    const std::string n(name);
    return StrEqualNoCase(n.c_str(), std::string(signField).c_str()) == 0 ||
           StrEqualNoCase(n.c_str(), std::string(pagingKey).c_str()) == 0;
}

QueryTableRows ReadQueryTableRows(CDataSet& set, std::string_view signField, std::string_view pagingKey) {
    QueryTableRows out;
    const int columns = set.GetColumnCount();
    for (int c = 0; c < columns; ++c) {
        const DataSetColumn* column = set.GetColumn(c);
        const CWString label = column->GetLabel();
        out.columns.push_back({label.IsEmpty() ? CWString::CWStringFromAnsi(column->GetName()) : label,
                               IsQueryKeyField(column->GetName(), signField, pagingKey)});
    }
    const int signColumn = set.FindColumn(std::string(signField).c_str());
    const int pagingColumn = set.FindColumn(std::string(pagingKey).c_str());
    out.hasCursor = pagingColumn >= 0;
    set.MoveFirst();
    for (int row = 0; row < set.GetRowCount(); ++row, set.MoveNext()) {
        std::vector<CWString> texts;
        texts.reserve(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c)
            texts.push_back(set.GetFieldText(c));
        out.rows.push_back(std::move(texts));
        out.signs.push_back(signColumn >= 0 ? set.GetFieldInt(signColumn) : 0);
        if (pagingColumn >= 0)
            out.cursor = CAString::CAStringFromWide(set.GetFieldText(pagingColumn).view());
    }
    return out;
}
