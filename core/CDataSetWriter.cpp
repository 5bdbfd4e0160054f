// Record-set building on top of CDataSet's own editing operations.
#include "core/CDataSetWriter.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "core/TextConvert.h"

#include <cstring>
#include <limits>

CDataSet& CDataSetWriter::AddSet(std::string_view tag) {
    m_sets.push_back(std::make_unique<CDataSet>(tag));
    return *m_sets.back();
}

CDataSet& CDataSetWriter::AddErrorSet(std::u16string_view text) {
    CDataSet& set = AddSet("error");
    AddColumn(DataSetType::WideText, "errmsg", u"错误信息");
    AddRow();
    SetText(0, text);
    return set;
}

int CDataSetWriter::AddColumn(DataSetType type, std::string_view name, std::u16string_view label) {
    CDataSet* set = Current();
    return set ? set->AddColumn(type, name, label) : -1;
}

int CDataSetWriter::AddRow() {
    CDataSet* set = Current();
    return set ? set->AddRow(set->GetRowCount()) : -1;
}

int CDataSetWriter::TypeOf(int column, DataSetType* type) {
    CDataSet* set = Current();
    const DataSetColumn* col = set ? set->GetColumn(column) : nullptr;
    if (!col) return 3;
    *type = col->GetType();
    return 0;
}

int CDataSetWriter::SetInt(int column, int64_t value) {
    DataSetType type;
    if (int rc = TypeOf(column, &type)) return rc;
    uint8_t bytes[4];
    WriteLE32(bytes, static_cast<uint32_t>(value));  // the low bytes first, so any width is a prefix
    switch (type) {
    case DataSetType::Int8: return Current()->SetField(column, bytes, 1);
    case DataSetType::Int16: return Current()->SetField(column, bytes, 2);
    case DataSetType::Int32: return Current()->SetField(column, bytes, 4);
    default: return 3;
    }
}

int CDataSetWriter::SetNumber(int column, const CQuoteNumber& number) {
    DataSetType type;
    if (int rc = TypeOf(column, &type)) return rc;
    if (type != DataSetType::Number) return 3;
    uint8_t bytes[4];
    WriteLE32(bytes, static_cast<uint32_t>(number.ToPacked()));
    return Current()->SetField(column, bytes, 4);
}

int CDataSetWriter::SetDouble(int column, double value) {
    DataSetType type;
    if (int rc = TypeOf(column, &type)) return rc;
    if (type != DataSetType::Double) return 3;
    uint8_t bytes[8];
    std::memcpy(bytes, &value, 8);  // the host is little-endian, as the wire
    return Current()->SetField(column, bytes, 8);
}

int CDataSetWriter::SetText(int column, std::u16string_view text) {
    DataSetType type;
    if (int rc = TypeOf(column, &type)) return rc;
    if (type == DataSetType::AnsiText) return SetAnsiText(column, WideToAnsi(text));
    if (type != DataSetType::WideText) return 3;
    if (text.size() > static_cast<size_t>(std::numeric_limits<int>::max() / 2)) return 1;
    return Current()->SetField(column, text.data(), static_cast<int>(text.size() * 2));
}

int CDataSetWriter::SetAnsiText(int column, std::string_view text) {
    DataSetType type;
    if (int rc = TypeOf(column, &type)) return rc;
    if (type != DataSetType::AnsiText) return 3;
    if (text.size() > static_cast<size_t>(std::numeric_limits<int>::max())) return 1;
    return Current()->SetField(column, text.data(), static_cast<int>(text.size()));
}

int CDataSetWriter::SetBytes(int column, const void* data, size_t length) {
    DataSetType type;
    if (int rc = TypeOf(column, &type)) return rc;
    if (type != DataSetType::Bytes) return 3;
    if (length > static_cast<size_t>(std::numeric_limits<int>::max())) return 1;
    return Current()->SetField(column, data, static_cast<int>(length));
}

std::vector<uint8_t> CDataSetWriter::Serialize() const {
    std::vector<const CDataSet*> sets;
    for (const auto& set : m_sets) sets.push_back(set.get());
    return CDataSetList::Serialize(sets.data(), sets.size());
}

std::vector<uint8_t> CDataSetWriter::ErrorBody(std::u16string_view text) {
    CDataSetWriter writer;
    writer.AddErrorSet(text);
    return writer.Serialize();
}
