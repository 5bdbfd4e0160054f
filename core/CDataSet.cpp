// Record-set parsing, field access and editing. Fields in a row are not
// aligned, so every read and write goes through memcpy; every size read
// from the wire is checked, in 64-bit arithmetic, against the bytes that
// are left before it is used.
#include "core/CDataSet.h"

#include "core/StrUtil.h"
#include "core/TextConvert.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

// Bounds-checked little-endian reader over a byte range.
class WireReader {
public:
    WireReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    size_t Left() const { return m_size - m_pos; }
    size_t Pos() const { return m_pos; }
    bool Bytes(size_t n, const uint8_t** out) {
        if (n > Left()) return false;
        *out = m_data + m_pos;
        m_pos += n;
        return true;
    }
    bool U8(uint32_t* v) {
        const uint8_t* p;
        if (!Bytes(1, &p)) return false;
        *v = p[0];
        return true;
    }
    bool U16(uint32_t* v) {
        const uint8_t* p;
        if (!Bytes(2, &p)) return false;
        *v = uint32_t(p[0]) | uint32_t(p[1]) << 8;
        return true;
    }
    bool U32(uint32_t* v) {
        const uint8_t* p;
        if (!Bytes(4, &p)) return false;
        *v = static_cast<uint32_t>(ReadLE32(p));
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

void PutU8(std::vector<uint8_t>& out, uint32_t v) { out.push_back(static_cast<uint8_t>(v)); }
void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t bytes[4];
    WriteLE32(bytes, v);
    out.insert(out.end(), bytes, bytes + 4);
}

uint32_t LoadU32(const uint8_t* p) { return static_cast<uint32_t>(ReadLE32(p)); }

// A wide text field's UTF-16LE bytes as text (an odd last byte is dropped).
std::u16string WideFromBytes(const uint8_t* p, int length) {
    std::u16string text(static_cast<size_t>(length) / 2, u'\0');
    if (!text.empty()) std::memcpy(text.data(), p, text.size() * 2);
    return text;
}

int SaturateToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (v <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

// A leading decimal integer of a text in the manner of atoi, saturating.
template <class Char> int ParseLeadingInt(const Char* s, size_t n) {
    size_t i = 0;
    while (i < n && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < n && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    int64_t v = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
        v = v * 10 + (s[i++] - '0');
        if (v > int64_t(1) << 32) break;
    }
    return SaturateToInt(static_cast<double>(negative ? -v : v));
}

std::u16string AsciiToWide(const char* s) {
    std::u16string w;
    for (; *s; ++s) w.push_back(static_cast<unsigned char>(*s));
    return w;
}

const uint8_t kEmptyField[8] = {};

} // namespace

CDataSet::CDataSet(std::string_view tag) : m_tag(tag.substr(0, std::min(tag.size(), kTagSize))) {}

std::unique_ptr<CDataSet> CDataSet::Parse(const uint8_t* data, size_t size, size_t* consumed) {
    if (!data || !consumed) return nullptr;
    WireReader in(data, size);
    const uint8_t* tag;
    uint32_t columnCount, rowCount, rowWidth, varSize;
    if (!in.Bytes(kTagSize, &tag) || !in.U32(&columnCount) || !in.U32(&rowCount) || !in.U32(&rowWidth) ||
        !in.U32(&varSize)) {
        return nullptr;
    }
    size_t tagLen = 0;
    while (tagLen < kTagSize && tag[tagLen]) ++tagLen;
    auto set = std::make_unique<CDataSet>(std::string_view(reinterpret_cast<const char*>(tag), tagLen));

    // Each descriptor takes at least 6 bytes, so the count is bounded by what is left.
    if (columnCount > in.Left() / 6) return nullptr;
    uint64_t width = 0;
    for (uint32_t c = 0; c < columnCount; ++c) {
        uint32_t type, fieldSize, nameLen, labelLen;
        const uint8_t *name, *label;
        if (!in.U8(&type) || !in.U8(&fieldSize) || !in.U16(&nameLen) || !in.Bytes(nameLen, &name) ||
            !in.U16(&labelLen) || !in.Bytes(size_t(labelLen) * 2, &label)) {
            return nullptr;
        }
        DataSetType t = static_cast<DataSetType>(type);
        if (DataSetTypeSize(t) == 0 || static_cast<int>(fieldSize) != DataSetTypeSize(t)) return nullptr;
        std::u16string labelText(labelLen, u'\0');
        if (labelLen) std::memcpy(labelText.data(), label, size_t(labelLen) * 2);
        set->m_columns.emplace_back(t, static_cast<int>(width),
                                    std::string(reinterpret_cast<const char*>(name), nameLen), std::move(labelText));
        width += fieldSize;
    }
    if (width != rowWidth) return nullptr;
    if (columnCount == 0 && rowCount != 0) return nullptr;
    if (rowCount > static_cast<uint32_t>(std::numeric_limits<int>::max())) return nullptr;
    uint64_t rowBytes = uint64_t(rowCount) * rowWidth;
    const uint8_t *rows, *var;
    if (rowBytes > in.Left() || !in.Bytes(static_cast<size_t>(rowBytes), &rows)) return nullptr;
    if (varSize > in.Left() || !in.Bytes(varSize, &var)) return nullptr;

    // Every reference into the variable-data area must lie inside it.
    for (const DataSetColumn& col : set->m_columns) {
        if (!DataSetTypeIsVariable(col.GetType())) continue;
        for (uint32_t r = 0; r < rowCount; ++r) {
            const uint8_t* ref = rows + size_t(r) * rowWidth + col.GetOffset();
            uint64_t offset = LoadU32(ref), length = LoadU32(ref + 4);
            if (offset + length > varSize) return nullptr;
            if (col.GetType() == DataSetType::WideText && (length & 1)) return nullptr;
        }
    }
    set->m_rowWidth = static_cast<int>(rowWidth);
    set->m_rowCount = static_cast<int>(rowCount);
    set->m_rows.assign(rows, rows + rowBytes);
    set->m_varData.assign(var, var + varSize);
    *consumed = in.Pos();
    return set;
}

void CDataSet::Serialize(std::vector<uint8_t>& out) const {
    // The rows are written with their references rebased on a compacted
    // variable-data area. Rows of a received set may share bytes of the
    // area; compacting would copy them once per reference (a small body
    // could grow without bound), so such an area is written as it stands.
    uint64_t referenced = 0;
    for (int r = 0; r < m_rowCount; ++r) {
        for (int c = 0; c < GetColumnCount(); ++c) {
            int length = 0;
            if (DataSetTypeIsVariable(m_columns[c].GetType()) && FieldPtrAt(r, c, &length)) referenced += length;
        }
    }
    std::vector<uint8_t> rows = m_rows;
    const bool compact = referenced <= m_varData.size();
    std::vector<uint8_t> var;
    if (!compact) var = m_varData;
    for (int r = 0; r < m_rowCount && compact; ++r) {
        for (int c = 0; c < GetColumnCount(); ++c) {
            if (!DataSetTypeIsVariable(m_columns[c].GetType())) continue;
            int length = 0;
            const uint8_t* p = FieldPtrAt(r, c, &length);
            uint8_t* ref = rows.data() + size_t(r) * m_rowWidth + m_columns[c].GetOffset();
            WriteLE32(ref, static_cast<uint32_t>(var.size()));
            WriteLE32(ref + 4, static_cast<uint32_t>(length));
            if (length > 0) var.insert(var.end(), p, p + length);
        }
    }
    uint8_t tag[kTagSize] = {};
    std::memcpy(tag, m_tag.data(), m_tag.size());
    out.insert(out.end(), tag, tag + kTagSize);
    PutU32(out, static_cast<uint32_t>(m_columns.size()));
    PutU32(out, static_cast<uint32_t>(m_rowCount));
    PutU32(out, static_cast<uint32_t>(m_rowWidth));
    PutU32(out, static_cast<uint32_t>(var.size()));
    for (const DataSetColumn& col : m_columns) {
        std::string_view name = col.GetName();
        const std::u16string& label = col.label();
        size_t nameLen = std::min<size_t>(name.size(), 0xFFFF);
        size_t labelLen = std::min<size_t>(label.size(), 0xFFFF);
        PutU8(out, static_cast<uint32_t>(col.GetType()));
        PutU8(out, static_cast<uint32_t>(col.GetSize()));
        PutU16(out, static_cast<uint32_t>(nameLen));
        out.insert(out.end(), name.begin(), name.begin() + nameLen);
        PutU16(out, static_cast<uint32_t>(labelLen));
        for (size_t i = 0; i < labelLen; ++i) PutU16(out, label[i]);
    }
    out.insert(out.end(), rows.begin(), rows.end());
    out.insert(out.end(), var.begin(), var.end());
}

bool CDataSet::IsError() const { return StrEqualNoCase(m_tag.c_str(), "error") == 0; }

bool CDataSet::MoveFirst() {
    if (m_rowCount == 0) return false;
    m_cursor = 0;
    return true;
}

bool CDataSet::MoveLast() {
    if (m_rowCount == 0) return false;
    m_cursor = m_rowCount - 1;
    return true;
}

bool CDataSet::MoveNext() {
    if (m_cursor + 1 < m_rowCount) {
        ++m_cursor;
        return true;
    }
    m_cursor = m_rowCount;
    return false;
}

bool CDataSet::MovePrev() {
    if (m_cursor - 1 >= 0 && m_cursor - 1 < m_rowCount) {
        --m_cursor;
        return true;
    }
    m_cursor = -1;
    return false;
}

bool CDataSet::Move(int n) {
    int64_t target = int64_t(m_cursor) + n;
    if (target < -1) target = -1;
    if (target > m_rowCount) target = m_rowCount;
    m_cursor = static_cast<int>(target);
    return m_cursor >= 0 && m_cursor < m_rowCount;
}

const DataSetColumn* CDataSet::GetColumn(int index) const {
    if (index < 0 || index >= GetColumnCount()) return nullptr;
    return &m_columns[index];
}

int CDataSet::FindColumn(const char* name) const {
    if (!name) return -1;
    for (int i = 0; i < GetColumnCount(); ++i) {
        if (StrEqualNoCase(m_columns[i].GetName(), name) == 0) return i;
    }
    return -1;
}

int CDataSet::AddColumn(DataSetType type, std::string_view name, std::u16string_view label) {
    if (m_rowCount != 0 || DataSetTypeSize(type) == 0) return -1;
    m_columns.emplace_back(type, m_rowWidth, std::string(name), std::u16string(label));
    m_rowWidth += DataSetTypeSize(type);
    return GetColumnCount() - 1;
}

const uint8_t* CDataSet::FieldPtrAt(int row, int column, int* length) const {
    if (row < 0 || row >= m_rowCount || column < 0 || column >= GetColumnCount()) return nullptr;
    const DataSetColumn& col = m_columns[column];
    const uint8_t* field = m_rows.data() + size_t(row) * m_rowWidth + col.GetOffset();
    if (!DataSetTypeIsVariable(col.GetType())) {
        if (length) *length = col.GetSize();
        return field;
    }
    uint64_t offset = LoadU32(field), size = LoadU32(field + 4);
    if (offset + size > m_varData.size()) return nullptr;  // cannot happen for parsed or edited sets
    if (length) *length = static_cast<int>(size);
    return size ? m_varData.data() + offset : kEmptyField;
}

const uint8_t* CDataSet::GetFieldPtr(int column, int* length, int* type) const {
    int n = 0;
    const uint8_t* p = FieldPtrAt(m_cursor, column, &n);
    if (!p) return nullptr;
    if (length) *length = n;
    if (type) *type = static_cast<int>(m_columns[column].GetType());
    return p;
}

int64_t CDataSet::FieldIntegerAt(int row, int column, bool* ok) const {
    *ok = false;
    const uint8_t* p = FieldPtrAt(row, column, nullptr);
    if (!p) return 0;
    switch (m_columns[column].GetType()) {
    case DataSetType::Int8:
        *ok = true;
        return static_cast<int8_t>(p[0]);
    case DataSetType::Int16: {
        *ok = true;
        return static_cast<int16_t>(uint16_t(p[0]) | uint16_t(p[1]) << 8);
    }
    case DataSetType::Int32:
    case DataSetType::Number:
        *ok = true;
        return ReadLE32(p);
    default:
        return 0;
    }
}

CWString CDataSet::FieldTextAt(int row, int column) const {
    int length = 0;
    const uint8_t* p = FieldPtrAt(row, column, &length);
    if (!p) return CWString();
    char buf[512];
    switch (m_columns[column].GetType()) {
    case DataSetType::Int8:
    case DataSetType::Int16:
    case DataSetType::Int32: {
        bool ok;
        std::snprintf(buf, sizeof buf, "%d", static_cast<int>(FieldIntegerAt(row, column, &ok)));
        return CWString(AsciiToWide(buf));
    }
    case DataSetType::Number:
        return CQuoteNumber().FromPacked(ReadLE32(p)).ToWideTextWithUnit();
    case DataSetType::Double: {
        double v;
        std::memcpy(&v, p, sizeof v);
        std::snprintf(buf, sizeof buf, "%.6f", v == 0.0 ? 0.0 : v);
        std::string text(buf);
        if (text.find('.') != std::string::npos) {
            while (text.back() == '0') text.pop_back();
            if (text.back() == '.') text.pop_back();
        }
        if (text == "-0") text = "0";
        return CWString(AsciiToWide(text.c_str()));
    }
    case DataSetType::WideText:
        return CWString(WideFromBytes(p, length));
    case DataSetType::AnsiText:
        return CWString(AnsiToWide(std::string_view(reinterpret_cast<const char*>(p), length)));
    case DataSetType::Bytes: {
        std::string hex(size_t(length) * 2 + 1, '\0');
        HexEncode(p, length, hex.data(), 1);
        hex.pop_back();
        return CWString(AsciiToWide(hex.c_str()));
    }
    }
    return CWString();
}

CWString CDataSet::GetFieldText(int column) const { return FieldTextAt(m_cursor, column); }

std::optional<CWString> CDataSet::GetFieldTextByName(const char* name) const {
    int column = FindColumn(name);
    if (column < 0) return std::nullopt;
    return GetFieldText(column);
}

int CDataSet::GetFieldNumber(CQuoteNumber& number, int column) const {
    number = CQuoteNumber();
    if (column < 0 || column >= GetColumnCount()) return 3;
    DataSetType type = m_columns[column].GetType();
    if (type != DataSetType::Number && type != DataSetType::Int32) return 3;
    const uint8_t* p = FieldPtrAt(m_cursor, column, nullptr);
    if (!p) return 2;
    number.FromPacked(ReadLE32(p));
    return 0;
}

int CDataSet::GetFieldNumberByName(CQuoteNumber& number, const char* name) const {
    return GetFieldNumber(number, FindColumn(name));
}

int16_t CDataSet::GetFieldInt16(int column) const {
    bool ok;
    return static_cast<int16_t>(FieldIntegerAt(m_cursor, column, &ok));
}

int32_t CDataSet::GetFieldInt32(int column) const {
    bool ok;
    return static_cast<int32_t>(FieldIntegerAt(m_cursor, column, &ok));
}

int16_t CDataSet::GetFieldInt16ByName(const char* name) const { return GetFieldInt16(FindColumn(name)); }

int CDataSet::GetFieldInt(int column) const {
    int length = 0;
    const uint8_t* p = FieldPtrAt(m_cursor, column, &length);
    if (!p) return 0;
    switch (m_columns[column].GetType()) {
    case DataSetType::Int8:
    case DataSetType::Int16:
    case DataSetType::Int32: {
        bool ok;
        return static_cast<int>(FieldIntegerAt(m_cursor, column, &ok));
    }
    case DataSetType::Number:
        return SaturateToInt(CQuoteNumber().FromPacked(ReadLE32(p)).GetValue());
    case DataSetType::Double: {
        double v;
        std::memcpy(&v, p, sizeof v);
        return SaturateToInt(v);
    }
    case DataSetType::WideText: {
        std::u16string text = WideFromBytes(p, length);
        return ParseLeadingInt(text.data(), text.size());
    }
    case DataSetType::AnsiText:
        return ParseLeadingInt(reinterpret_cast<const char*>(p), length);
    case DataSetType::Bytes:
        return 0;
    }
    return 0;
}

int CDataSet::AddRow(int index) {
    if (m_columns.empty() || m_rowCount == std::numeric_limits<int>::max()) return -1;
    if (index < 0 || index >= m_rowCount) index = m_rowCount;
    m_rows.insert(m_rows.begin() + size_t(index) * m_rowWidth, m_rowWidth, 0);
    ++m_rowCount;
    m_cursor = index;
    return index;
}

int CDataSet::SetField(int column, const void* data, int length, int row) {
    if (row == -1) row = m_cursor;
    if (row < 0 || row >= m_rowCount) return 2;
    if (column < 0 || column >= GetColumnCount()) return 3;
    if (length < 0 || (!data && length > 0)) return 1;
    const DataSetColumn& col = m_columns[column];
    uint8_t* field = m_rows.data() + size_t(row) * m_rowWidth + col.GetOffset();
    if (!DataSetTypeIsVariable(col.GetType())) {
        if (length != col.GetSize()) return 1;
        std::memcpy(field, data, length);
        return 0;
    }
    if (col.GetType() == DataSetType::WideText && (length & 1)) return 1;
    if (m_varData.size() + length > std::numeric_limits<uint32_t>::max()) return 1;
    WriteLE32(field, static_cast<uint32_t>(m_varData.size()));
    WriteLE32(field + 4, static_cast<uint32_t>(length));
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    if (length > 0) {
        // The source may be another field of this set, which the insert could move.
        std::vector<uint8_t> copy(bytes, bytes + length);
        m_varData.insert(m_varData.end(), copy.begin(), copy.end());
    }
    return 0;
}

int CDataSet::DeleteRow(int row) {
    if (row == -1) row = m_cursor;
    if (row < 0 || row >= m_rowCount) return 2;
    auto first = m_rows.begin() + size_t(row) * m_rowWidth;
    m_rows.erase(first, first + m_rowWidth);
    --m_rowCount;
    m_cursor = m_rowCount - 1;
    return 0;
}
