// A connection to one SQLite database file, with wide (UTF-16) SQL.
//
// The screens open a database per operation: open, check the table, create
// it or work on it, close. Values go in bound, never pasted into the SQL:
//
//     db.execDML(u"delete from Table_DynCode where ACCOUNT=?1", {account});
//     int n = 0;
//     if (db.execScalar(u"select count(*) from Table_SalesDept", n) && n > 0) ...
//
// Every call that fails throws CppSQLite3Exception; the only "false" answers
// are tableExists for a missing table and execScalar for a query with no
// value. Each SQL text holds exactly one statement; text with a second
// statement after the first is refused, so a value pasted in by mistake can
// never run a statement of its own.
//
// A connection is used on one thread. Queries and statements made from it
// may outlive it: close ends the connection once the last of them is gone.
#pragma once

#include "platform/storage/CppSQLite3Query.h"
#include "platform/storage/CppSQLite3Statement.h"
#include "platform/storage/CppSQLite3Value.h"

#include <initializer_list>
#include <string_view>

class CppSQLite3DB {
public:
    // How long a call waits for another connection's lock before it fails
    // with SQLITE_BUSY, in milliseconds.
    static constexpr int kBusyTimeoutMs = 5000;

    CppSQLite3DB() = default;
    CppSQLite3DB(const CppSQLite3DB&) = delete;
    CppSQLite3DB& operator=(const CppSQLite3DB&) = delete;
    ~CppSQLite3DB() { close(); }

    // Opens the database file at path (UTF-16) to read and write, creating
    // it when missing. A new file is made readable and writable by its
    // owner only (0600) before SQLite sees it; an existing file keeps its
    // mode. Closes a connection already open first. Throws
    // CppSQLite3Exception (SQLITE_CANTOPEN) when the file cannot be created
    // or opened for writing, for instance when its directory is missing or
    // the file is read-only.
    void open(std::u16string_view path);
    // Opens the existing database file at path for what reads it: to read
    // and write when the system allows it (so a journal a crash left is
    // rolled back), read-only when writing is refused, so that a file the
    // user cannot write is still read. Never creates the file. Throws
    // (SQLITE_CANTOPEN) when it is missing or cannot be read either.
    void openForReading(std::u16string_view path);
    // True when the connection open is read-only; a write on it throws.
    bool isReadOnly() const { return m_readOnly; }
    // Closes the connection; harmless when none is open. Never throws.
    void close() noexcept;
    bool isOpen() const { return m_db != nullptr; }

    // True when a table of that name (ignoring case, as SQL does) exists.
    // Throws when no connection is open or SQLite fails.
    bool tableExists(std::u16string_view table);

    // Runs one statement with values bound to ?1..?n; returns the number of
    // rows inserted, updated or deleted (0 for other statements). Throws for
    // bad SQL, a wrong number of values or a failure while running.
    int execDML(std::u16string_view sql, std::initializer_list<CppSQLite3Value> params = {});
    // Runs one query with values bound; the result stands on its first row.
    // Throws as execDML.
    CppSQLite3Query execQuery(std::u16string_view sql, std::initializer_list<CppSQLite3Value> params = {});
    // Runs one query and stores the first column of its first row in out.
    // Returns false, leaving out unchanged, when the query gives no row, the
    // value is NULL or it does not fit an int. Throws as execDML.
    bool execScalar(std::u16string_view sql, int& out, std::initializer_list<CppSQLite3Value> params = {});

    // Compiles one statement for binding and running, possibly many times.
    // Throws for bad SQL, an empty text or a text of more than one statement.
    CppSQLite3Statement compileStatement(std::u16string_view sql);

private:
    sqlite3* Handle();
    // The SQLite connection to file with flags.
    void OpenHandle(const std::string& file, int flags);

    sqlite3* m_db = nullptr;
    bool m_readOnly = false;
};
