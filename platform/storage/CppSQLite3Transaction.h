// A transaction that undoes itself unless committed: made, it begins; commit
// makes the work permanent; destroyed uncommitted (an exception on the way
// out, an early return), it rolls the work back. A screen that rewrites a
// table (delete all, insert each row) uses one so that a failure halfway
// leaves the old rows, not half of the new ones.
#pragma once

#include "platform/storage/CppSQLite3DB.h"

class CppSQLite3Transaction {
public:
    // Begins at once, taking the write lock ("begin immediate"). Throws
    // CppSQLite3Exception when the transaction cannot begin (no connection,
    // already in a transaction, database busy).
    explicit CppSQLite3Transaction(CppSQLite3DB& db);
    CppSQLite3Transaction(const CppSQLite3Transaction&) = delete;
    CppSQLite3Transaction& operator=(const CppSQLite3Transaction&) = delete;
    // Rolls back unless committed; a failed rollback is ignored (SQLite has
    // then already ended the transaction).
    ~CppSQLite3Transaction();

    // Commits. Throws CppSQLite3Exception when the commit fails; the work is
    // then rolled back by the destructor. A second commit does nothing.
    void commit();

private:
    CppSQLite3DB& m_db;
    bool m_done = false;
};
