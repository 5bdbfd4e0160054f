// 8-bit field text.
#include "framework/app/DataSetText.h"

#include "core/TextConvert.h"

std::string GetFieldAnsiText(const CDataSet& set, int column) {
    int length = 0;
    int type = 0;
    const uint8_t* data = set.GetFieldPtr(column, &length, &type);
    if (data == nullptr) {
        return {};
    }
    if (type == static_cast<int>(DataSetType::AnsiText)) {
        return std::string(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
    }
    return WideToAnsi(set.GetFieldText(column).view());
}
