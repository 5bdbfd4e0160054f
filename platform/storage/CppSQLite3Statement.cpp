// Binding and running a compiled statement; see the header.
#include "platform/storage/CppSQLite3Statement.h"

#include <climits>

sqlite3_stmt* CppSQLite3Statement::Ready() {
    if (!m_stmt) {
        sqlite3_detail::ThrowMisuse("statement is empty or finalized");
    }
    // A statement that has run (or is being read) must be reset before it
    // takes new values or runs again; reset keeps the bindings.
    sqlite3_reset(m_stmt->stmt);
    ++m_stmt->run;
    return m_stmt->stmt;
}

void CppSQLite3Statement::Check(int rc, const char* doing) {
    if (rc != SQLITE_OK) {
        sqlite3_detail::ThrowError(sqlite3_db_handle(m_stmt->stmt), rc, doing);
    }
}

void CppSQLite3Statement::bind(int index, std::u16string_view text) {
    sqlite3_stmt* stmt = Ready();
    if (text.size() > static_cast<size_t>(INT_MAX) / sizeof(char16_t)) {
        throw CppSQLite3Exception(SQLITE_TOOBIG, "bind: text too long");
    }
    // An empty view may have no data pointer; SQLite would read that as NULL.
    const char16_t* data = text.data() ? text.data() : u"";
    Check(sqlite3_bind_text16(stmt, index, data, static_cast<int>(text.size() * sizeof(char16_t)),
                              SQLITE_TRANSIENT),
          "bind");
}

void CppSQLite3Statement::bind(int index, const char16_t* text) {
    if (text) {
        bind(index, std::u16string_view(text));
    } else {
        bindNull(index);
    }
}

void CppSQLite3Statement::bind(int index, const CppSQLite3Value& value) {
    if (value.isText()) {
        bind(index, std::u16string_view(value.text()));
    } else if (value.isInteger()) {
        bindInt64(index, value.integer());
    } else {
        bindNull(index);
    }
}

void CppSQLite3Statement::bindInt64(int index, std::int64_t value) {
    Check(sqlite3_bind_int64(Ready(), index, value), "bind");
}

void CppSQLite3Statement::bindNull(int index) {
    Check(sqlite3_bind_null(Ready(), index), "bind");
}

void CppSQLite3Statement::bindAll(std::initializer_list<CppSQLite3Value> values) {
    int expected = sqlite3_bind_parameter_count(Ready());
    if (static_cast<size_t>(expected) != values.size()) {
        throw CppSQLite3Exception(SQLITE_RANGE, "bind: the statement takes " + std::to_string(expected) +
                                                    " values, " + std::to_string(values.size()) +
                                                    " were given");
    }
    int index = 1;
    for (const CppSQLite3Value& value : values) {
        bind(index++, value);
    }
}

int CppSQLite3Statement::execDML() {
    sqlite3_stmt* stmt = Ready();
    sqlite3* db = sqlite3_db_handle(stmt);
    // sqlite3_changes keeps the count of the last DML statement, so it is
    // only this statement's count when the total moved.
    int before = sqlite3_total_changes(db);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        std::string message = std::string("step: ") + sqlite3_errmsg(db);
        sqlite3_reset(stmt);
        throw CppSQLite3Exception(rc, std::move(message));
    }
    int changed = sqlite3_total_changes(db) != before ? sqlite3_changes(db) : 0;
    sqlite3_reset(stmt);
    return changed;
}

CppSQLite3Query CppSQLite3Statement::execQuery() {
    Ready();
    return CppSQLite3Query(m_stmt, true);
}

void CppSQLite3Statement::reset() {
    Ready();
}
