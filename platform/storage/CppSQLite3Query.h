// The rows of a query, read one at a time: the query stands on its first row
// (or at eof) when it is made, nextRow moves on, fields are read by column
// name or index from the current row.
//
// Reading is forgiving where the screens expect it: a column that the query
// does not have, or a NULL value, gives the caller's default. Reading is
// strict where a forgiving answer would hide a fault: a field read with no
// current row (at eof or after finalize) throws.
//
// Column names compare ignoring ASCII case, as SQL does. A query is used on
// one thread; it may outlive its database object (the connection closes when
// the last query or statement is gone).
#pragma once

#include "platform/storage/SQLite3Detail.h"

#include <cstdint>
#include <string>
#include <string_view>

class CppSQLite3Query {
public:
    // An empty query: eof, no fields.
    CppSQLite3Query() = default;
    CppSQLite3Query(CppSQLite3Query&& other) noexcept;
    CppSQLite3Query& operator=(CppSQLite3Query&& other) noexcept;
    CppSQLite3Query(const CppSQLite3Query&) = delete;
    CppSQLite3Query& operator=(const CppSQLite3Query&) = delete;
    ~CppSQLite3Query();

    // True when there is no current row (also once the statement it was
    // made from is bound, run or reset again).
    bool eof() const;
    // Moves to the next row, or to eof. Does nothing at eof. Throws
    // CppSQLite3Exception when SQLite fails to produce the row.
    void nextRow();
    // Releases the statement; the query is then at eof. Never throws.
    void finalize() noexcept;

    // Number of result columns (0 once finalized).
    int numFields() const;
    // Index of the column of that name, or -1.
    int fieldIndex(std::u16string_view name) const;
    // Name of a column; throws for an index out of range.
    std::u16string fieldName(int index) const;

    // The field's value on the current row. A missing column or a NULL value
    // gives the default; text read as an integer converts as SQLite converts
    // ("12abc" gives 12, "abc" gives 0); getIntField keeps the low 32 bits of
    // a larger integer, so read 64-bit columns with getIntField64. All throw
    // CppSQLite3Exception when there is no current row.
    std::u16string getStringField(std::u16string_view name, std::u16string_view nullValue = u"") const;
    std::u16string getStringField(int index, std::u16string_view nullValue = u"") const;
    int getIntField(std::u16string_view name, int nullValue = 0) const;
    int getIntField(int index, int nullValue = 0) const;
    std::int64_t getIntField64(std::u16string_view name, std::int64_t nullValue = 0) const;
    std::int64_t getIntField64(int index, std::int64_t nullValue = 0) const;
    // True for a NULL value or a missing column; throws with no current row.
    bool fieldIsNull(std::u16string_view name) const;
    bool fieldIsNull(int index) const;

private:
    friend class CppSQLite3DB;
    friend class CppSQLite3Statement;

    // Steps to the first row. shared: the handle belongs to a reusable
    // statement, which is reset (not finalized) when the query lets go.
    // Throws CppSQLite3Exception when the first step fails.
    CppSQLite3Query(sqlite3_detail::StatementHandle stmt, bool shared);

    // The statement while this query may read it, else null.
    sqlite3_stmt* Current() const;
    void Step();
    // Column index usable on the current row, or -1 for a missing column.
    int RowColumn(int index) const;

    sqlite3_detail::StatementHandle m_stmt;
    bool m_shared = false;
    unsigned long long m_run = 0; // the statement's run this query reads
    bool m_eof = true;
};
