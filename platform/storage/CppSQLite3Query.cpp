// Row-by-row reading of a query; see the header for the rules on defaults.
#include "platform/storage/CppSQLite3Query.h"

#include <utility>

namespace {

char16_t FoldAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
}

bool EqualNoCase(std::u16string_view a, const char16_t* b) {
    if (!b) {
        return false;
    }
    size_t i = 0;
    for (; i < a.size(); ++i) {
        if (b[i] == 0 || FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return b[i] == 0;
}

} // namespace

CppSQLite3Query::CppSQLite3Query(sqlite3_detail::StatementHandle stmt, bool shared)
    : m_stmt(std::move(stmt)), m_shared(shared), m_run(m_stmt->run), m_eof(false) {
    Step();
}

CppSQLite3Query::CppSQLite3Query(CppSQLite3Query&& other) noexcept
    : m_stmt(std::move(other.m_stmt)), m_shared(other.m_shared), m_run(other.m_run), m_eof(other.m_eof) {
    other.m_eof = true;
}

CppSQLite3Query& CppSQLite3Query::operator=(CppSQLite3Query&& other) noexcept {
    if (this != &other) {
        finalize();
        m_stmt = std::move(other.m_stmt);
        m_shared = other.m_shared;
        m_run = other.m_run;
        m_eof = other.m_eof;
        other.m_eof = true;
    }
    return *this;
}

CppSQLite3Query::~CppSQLite3Query() {
    finalize();
}

sqlite3_stmt* CppSQLite3Query::Current() const {
    if (!m_stmt || (m_shared && m_stmt->run != m_run)) {
        return nullptr;
    }
    return m_stmt->stmt;
}

bool CppSQLite3Query::eof() const {
    return m_eof || !Current();
}

void CppSQLite3Query::Step() {
    int rc = sqlite3_step(m_stmt->stmt);
    if (rc == SQLITE_ROW) {
        return;
    }
    m_eof = true;
    if (rc != SQLITE_DONE) {
        sqlite3* db = sqlite3_db_handle(m_stmt->stmt);
        std::string message = std::string("step: ") + sqlite3_errmsg(db);
        finalize();
        throw CppSQLite3Exception(rc, std::move(message));
    }
}

void CppSQLite3Query::nextRow() {
    if (!eof()) {
        Step();
    }
}

void CppSQLite3Query::finalize() noexcept {
    // A statement's query gives the statement back reset, unless the
    // statement has already moved on to a newer run.
    if (m_shared && Current()) {
        sqlite3_reset(m_stmt->stmt);
    }
    m_stmt.reset();
    m_eof = true;
}

int CppSQLite3Query::numFields() const {
    sqlite3_stmt* stmt = Current();
    return stmt ? sqlite3_column_count(stmt) : 0;
}

int CppSQLite3Query::fieldIndex(std::u16string_view name) const {
    int count = numFields();
    for (int i = 0; i < count; ++i) {
        if (EqualNoCase(name, static_cast<const char16_t*>(sqlite3_column_name16(Current(), i)))) {
            return i;
        }
    }
    return -1;
}

std::u16string CppSQLite3Query::fieldName(int index) const {
    if (index < 0 || index >= numFields()) {
        sqlite3_detail::ThrowMisuse("fieldName: column index out of range");
    }
    const auto* name = static_cast<const char16_t*>(sqlite3_column_name16(Current(), index));
    return name ? std::u16string(name) : std::u16string();
}

int CppSQLite3Query::RowColumn(int index) const {
    sqlite3_stmt* stmt = Current();
    if (m_eof || !stmt) {
        sqlite3_detail::ThrowMisuse("field read with no current row");
    }
    if (index < 0 || index >= sqlite3_column_count(stmt)) {
        return -1;
    }
    return sqlite3_column_type(stmt, index) == SQLITE_NULL ? -1 : index;
}

std::u16string CppSQLite3Query::getStringField(int index, std::u16string_view nullValue) const {
    int column = RowColumn(index);
    if (column < 0) {
        return std::u16string(nullValue);
    }
    // text16 before bytes16, as SQLite asks, so the length is that of the
    // converted text.
    const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(m_stmt->stmt, column));
    int bytes = sqlite3_column_bytes16(m_stmt->stmt, column);
    if (!text) {
        return std::u16string(nullValue);
    }
    return std::u16string(text, static_cast<size_t>(bytes) / sizeof(char16_t));
}

std::u16string CppSQLite3Query::getStringField(std::u16string_view name,
                                               std::u16string_view nullValue) const {
    return getStringField(fieldIndex(name), nullValue);
}

int CppSQLite3Query::getIntField(int index, int nullValue) const {
    int column = RowColumn(index);
    return column < 0 ? nullValue : sqlite3_column_int(m_stmt->stmt, column);
}

int CppSQLite3Query::getIntField(std::u16string_view name, int nullValue) const {
    return getIntField(fieldIndex(name), nullValue);
}

std::int64_t CppSQLite3Query::getIntField64(int index, std::int64_t nullValue) const {
    int column = RowColumn(index);
    return column < 0 ? nullValue : sqlite3_column_int64(m_stmt->stmt, column);
}

std::int64_t CppSQLite3Query::getIntField64(std::u16string_view name, std::int64_t nullValue) const {
    return getIntField64(fieldIndex(name), nullValue);
}

bool CppSQLite3Query::fieldIsNull(int index) const {
    return RowColumn(index) < 0;
}

bool CppSQLite3Query::fieldIsNull(std::u16string_view name) const {
    return fieldIsNull(fieldIndex(name));
}
