// The text pages' column rule and line joining.
#include "quotes/info/InfoText.h"

#include "core/CDataSet.h"

int ArticleTextColumn(const CDataSet& set) {
    return set.GetColumnCount() == 2 ? 1 : 0;
}

std::u16string JoinTextColumn(CDataSet& set, int column) {
    std::u16string text;
    if (column < 0 || column >= set.GetColumnCount())
        return text;
    for (bool more = set.MoveFirst(); more; more = set.MoveNext()) {
        text += set.GetFieldText(column).view();
        text += u"\r\n";
    }
    return text;
}
