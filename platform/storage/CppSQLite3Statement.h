// A compiled statement with parameters ?1, ?2, ... bound to values.
//
// This is how a value reaches the database: bound, never pasted between
// quotes into SQL text, so a value holding a quote or a semicolon is stored
// as its own characters and cannot change the statement. A statement can be
// run many times: bind, run, bind the next values, run again. Bindings stay
// until replaced.
//
// Made by CppSQLite3DB::compileStatement; used on one thread.
#pragma once

#include "platform/storage/CppSQLite3Query.h"
#include "platform/storage/CppSQLite3Value.h"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

class CppSQLite3Statement {
public:
    // An empty statement; every call but finalize throws.
    CppSQLite3Statement() = default;
    CppSQLite3Statement(CppSQLite3Statement&&) noexcept = default;
    CppSQLite3Statement& operator=(CppSQLite3Statement&&) noexcept = default;
    CppSQLite3Statement(const CppSQLite3Statement&) = delete;
    CppSQLite3Statement& operator=(const CppSQLite3Statement&) = delete;
    ~CppSQLite3Statement() = default;

    // Binds parameter index (1-based). Binding ends any query still reading
    // from this statement. Throws CppSQLite3Exception for an index the
    // statement does not have (SQLITE_RANGE).
    void bind(int index, std::u16string_view text);
    void bind(int index, const std::u16string& text) { bind(index, std::u16string_view(text)); }
    // A null pointer binds NULL.
    void bind(int index, const char16_t* text);
    template <std::integral T> void bind(int index, T value) {
        bindInt64(index, static_cast<std::int64_t>(value));
    }
    void bind(int index, std::nullptr_t) { bindNull(index); }
    void bind(int index, const CppSQLite3Value& value);
    void bindInt64(int index, std::int64_t value);
    void bindNull(int index);
    // Binds values to ?1..?n in order. Throws SQLITE_RANGE unless the list
    // holds exactly as many values as the statement has parameters.
    void bindAll(std::initializer_list<CppSQLite3Value> values);

    // Runs the statement to its end; returns the number of rows it inserted,
    // updated or deleted (0 for other statements). The statement is then
    // ready to run again. Throws CppSQLite3Exception when SQLite fails.
    int execDML();
    // Runs the statement as a query standing on its first row. The query
    // reads until this statement is bound, run or reset again. Throws
    // CppSQLite3Exception when the first step fails.
    CppSQLite3Query execQuery();
    // Stops a run in progress; bindings stay.
    void reset();
    // Releases the statement; it is then empty. Never throws.
    void finalize() noexcept { m_stmt.reset(); }

private:
    friend class CppSQLite3DB;
    explicit CppSQLite3Statement(sqlite3_detail::StatementHandle stmt) : m_stmt(std::move(stmt)) {}

    sqlite3_stmt* Ready();
    void Check(int rc, const char* doing);

    sqlite3_detail::StatementHandle m_stmt;
};
