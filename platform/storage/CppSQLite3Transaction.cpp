// Begin, commit, and rollback on the way out; see the header.
#include "platform/storage/CppSQLite3Transaction.h"

CppSQLite3Transaction::CppSQLite3Transaction(CppSQLite3DB& db) : m_db(db) {
    m_db.execDML(u"begin immediate");
}

CppSQLite3Transaction::~CppSQLite3Transaction() {
    if (m_done || !m_db.isOpen()) {
        return;
    }
    try {
        m_db.execDML(u"rollback");
    } catch (...) {
        // No transaction left to roll back; a destructor must not throw.
    }
}

void CppSQLite3Transaction::commit() {
    if (m_done) {
        return;
    }
    m_db.execDML(u"commit");
    m_done = true;
}
