// One typed record set of a reply: a tag, column descriptors, fixed-width
// rows and a variable-data area for texts and arrays, with a row cursor.
// The binary form is given in docs/wire-format.md; Parse and Serialize
// follow it exactly and Parse trusts no size it reads.
//
// Cursor: a fresh set stands before row 0 (cursor -1), so a loop of
// MoveNext visits every row; the cursor ranges over -1 .. row count, and
// field getters on a cursor outside the rows, or on a missing column, give
// the empty value (0, empty text, null pointer).
//
// Return codes of the record-set operations: 0 success, 1 short or
// mismatched input, 2 row out of range, 3 no such column or wrong type.
#pragma once

#include "core/CQuoteNumber.h"
#include "core/CWString.h"
#include "core/DataSetColumn.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CDataSet {
public:
    static constexpr size_t kTagSize = 16;  // bytes of the NUL-padded tag

    // An empty set with the tag (cut at kTagSize bytes) and no columns.
    explicit CDataSet(std::string_view tag = {});

    // Reads one set from data[0 .. size). On success returns the set and
    // stores the bytes it took in *consumed; returns null for a truncated or
    // inconsistent set.
    static std::unique_ptr<CDataSet> Parse(const uint8_t* data, size_t size, size_t* consumed);
    // Appends the binary form of this set to out; the variable-data area is
    // written compacted, holding only what the rows refer to, unless rows
    // share bytes of it: then as it stands, so a parsed set never writes
    // more bytes than it was read from.
    void Serialize(std::vector<uint8_t>& out) const;

    const char* GetTag() const { return m_tag.c_str(); }
    // The tag equals "error" ignoring case.
    bool IsError() const;
    int GetRowCount() const { return m_rowCount; }
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    // The cursor row, -1 .. row count.
    int GetCursor() const { return m_cursor; }

    // Cursor to the first or last row; false (cursor unchanged) when empty.
    bool MoveFirst();
    bool MoveLast();
    // One row on or back; false, with the cursor past the end (row count) or
    // before the start (-1), when it passes the last or the first row.
    bool MoveNext();
    bool MovePrev();
    // Cursor + n clamped to -1 .. row count; true when it stands on a row.
    bool Move(int n);

    // The column descriptor, null out of range.
    const DataSetColumn* GetColumn(int index) const;
    // Index of the first column whose name equals name ignoring ASCII case;
    // -1 when absent.
    int FindColumn(const char* name) const;
    // Adds a column of the type at the end of the row; allowed only while
    // the set has no rows. Returns its index, or -1.
    int AddColumn(DataSetType type, std::string_view name, std::u16string_view label = {});

    // The cursor row's field as display text: integers "%d", wide texts as
    // they stand, 8-bit texts converted from GBK, packed numbers with their
    // decimals and unit word, doubles with up to 6 decimals and no trailing
    // zeros, byte arrays as upper-case hexadecimal. Empty without data.
    CWString GetFieldText(int column) const;
    // The same by column name; nullopt when the column is absent.
    std::optional<CWString> GetFieldTextByName(const char* name) const;

    // The cursor row's 4-byte field (a packed number, or an int32 read as
    // packed) as a quote number. Returns 0, or 2 / 3 with number set to 0.
    int GetFieldNumber(CQuoteNumber& number, int column) const;
    int GetFieldNumberByName(CQuoteNumber& number, const char* name) const;

    // Integer fields (8-, 16- or 32-bit columns; a packed-number column gives
    // its raw int32) cut to 16 or 32 bits; 0 when the cursor, the column or
    // the type is invalid.
    int16_t GetFieldInt16(int column) const;
    int32_t GetFieldInt32(int column) const;
    int16_t GetFieldInt16ByName(const char* name) const;
    // The field as an int whatever its type: texts parsed as a leading
    // decimal integer, packed numbers decoded and truncated, doubles
    // truncated; values beyond the int range saturate.
    int GetFieldInt(int column) const;

    // Raw bytes of the cursor row's field: in the row for fixed-size types,
    // in the variable-data area for texts and arrays (UTF-16LE for wide
    // text, unaligned). *length gets the byte count and *type the type code
    // (either may be null). Null when the cursor or the column is invalid.
    const uint8_t* GetFieldPtr(int column, int* length, int* type) const;
    const uint8_t* GetFieldData(int column) const { return GetFieldPtr(column, nullptr, nullptr); }
    const uint8_t* GetFieldDataByName(const char* name) const { return GetFieldData(FindColumn(name)); }

    // Inserts a zero-filled row before index, or appends one when index is
    // out of range; the cursor moves to the new row, whose index is returned.
    int AddRow(int index);
    // Sets a field of the row (-1 = the cursor row). Fixed-size types need
    // length == column size; texts (wide text as UTF-16LE bytes, an even
    // length) and arrays are copied to the variable-data area. Returns 0,
    // 1 for null data with a non-zero length or a wrong length, 2 for a bad
    // row, 3 for a bad column.
    int SetField(int column, const void* data, int length, int row = -1);
    // Removes the row (-1 = the cursor row); the cursor then stands on the
    // new last row (-1 when none is left). Returns 0, or 2 for a bad row.
    int DeleteRow(int row = -1);

private:
    friend class CDataSetList;

    const uint8_t* FieldPtrAt(int row, int column, int* length) const;
    CWString FieldTextAt(int row, int column) const;
    int64_t FieldIntegerAt(int row, int column, bool* ok) const;

    std::string m_tag;                    // at most kTagSize bytes
    std::vector<DataSetColumn> m_columns;
    int m_rowWidth = 0;                   // bytes per row, the sum of the column sizes
    int m_rowCount = 0;
    std::vector<uint8_t> m_rows;          // m_rowCount * m_rowWidth bytes
    std::vector<uint8_t> m_varData;       // texts and arrays the rows refer to
    int m_cursor = -1;                    // -1 .. m_rowCount
};
