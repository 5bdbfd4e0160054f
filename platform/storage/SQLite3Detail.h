// Helpers shared by the wrapper's classes and nothing else: the statement
// handle type and the one way an SQLite failure becomes an exception.
#pragma once

#include "platform/storage/CppSQLite3Exception.h"

#include <sqlite3.h>

#include <memory>
#include <string>

namespace sqlite3_detail {

// A prepared statement, finalized when the last owner lets go. A query made
// from a statement shares it; run counts the statement's resets, so a query
// knows when the statement has moved on to a newer run and no longer
// belongs to it.
struct StatementState {
    explicit StatementState(sqlite3_stmt* s) : stmt(s) {}
    StatementState(const StatementState&) = delete;
    StatementState& operator=(const StatementState&) = delete;
    ~StatementState() { sqlite3_finalize(stmt); }

    sqlite3_stmt* stmt;
    unsigned long long run = 0;
};
using StatementHandle = std::shared_ptr<StatementState>;

inline StatementHandle AdoptStatement(sqlite3_stmt* stmt) {
    return std::make_shared<StatementState>(stmt);
}

// Throws code with the connection's last message, prefixed by what was being
// done ("prepare", "step", ...). db may be null.
[[noreturn]] inline void ThrowError(sqlite3* db, int code, const char* doing) {
    std::string message = doing;
    message += ": ";
    message += db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    throw CppSQLite3Exception(code, std::move(message));
}

[[noreturn]] inline void ThrowMisuse(const char* message) {
    throw CppSQLite3Exception(SQLITE_MISUSE, message);
}

} // namespace sqlite3_detail
