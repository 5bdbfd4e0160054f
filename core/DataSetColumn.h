// One column descriptor of a record set: type, place in the fixed-width row,
// 8-bit name (what code looks columns up by) and wide display label (what
// table headers show).
#pragma once

#include "core/CWString.h"
#include "core/DataSetType.h"

#include <string>

class DataSetColumn {
public:
    DataSetColumn(DataSetType type, int offset, std::string name, std::u16string label)
        : m_type(type), m_offset(offset), m_name(std::move(name)), m_label(std::move(label)) {}

    DataSetType GetType() const { return m_type; }
    int GetSize() const { return DataSetTypeSize(m_type); }  // bytes in the row
    int GetOffset() const { return m_offset; }                // bytes from the row start
    const char* GetName() const { return m_name.c_str(); }
    CWString GetLabel() const { return CWString(std::u16string_view(m_label)); }
    const std::u16string& label() const { return m_label; }

private:
    DataSetType m_type;
    int m_offset;          // bytes from the start of the row
    std::string m_name;    // 8-bit column name
    std::u16string m_label;  // display label
};
