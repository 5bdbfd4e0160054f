// Fuzz target: a packed quote number cell (the first four bytes) read from
// a record set as number, text and integer; decoding and packing again
// must give the same cell.
#include "core/CDataSet.h"
#include "core/StrUtil.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    CDataSet set("numbers");
    int column = set.AddColumn(DataSetType::Number, "price");
    set.AddRow(0);
    if (set.SetField(column, data, 4) != 0)
        std::abort();
    CQuoteNumber number;
    if (set.GetFieldNumber(number, column) != 0 || number.ToPacked() != ReadLE32(data))
        std::abort();
    if (number.GetCode() < 0 || number.GetCode() > 3)
        std::abort();
    CWString text = set.GetFieldText(column);
    if (text.str().rfind(number.ToWideText().str(), 0) != 0)
        std::abort();
    if (set.GetFieldInt(column) != static_cast<int>(std::trunc(number.GetValue())))
        std::abort();
    number.ToText();
    return 0;
}
