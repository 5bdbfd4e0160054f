// The connection: opening with a private file mode, compiling exactly one
// statement per text, and the bound-value conveniences over
// CppSQLite3Statement.
#include "platform/storage/CppSQLite3DB.h"

#include "platform/storage/FileOps.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// The path as the system's file calls take it (UTF-8). A path that is not
// valid UTF-16 (a lone surrogate) or holds a NUL names no file: it fails
// with the wrapper's own exception, not the library's conversion error.
std::string NativePath(std::u16string_view path) {
    std::string file;
    try {
        file = std::filesystem::path(std::u16string(path)).native();
    } catch (const std::exception&) {
        file.clear();
    }
    if (file.empty() || file.find('\0') != std::string::npos) {
        throw CppSQLite3Exception(SQLITE_CANTOPEN, "open: invalid database path");
    }
    return file;
}

} // namespace

void CppSQLite3DB::open(std::u16string_view path) {
    close();
    std::string file = NativePath(path);
    // Create the file with its final mode ourselves: SQLite would create it
    // 0644 less the umask, and changing the umask is not thread-safe. The
    // file table answers, so a test can make the disk refuse.
    int fd = -1;
    const int error = FileOps().OpenForLocking(file, fd);
    if (error != 0) {
        throw CppSQLite3Exception(SQLITE_CANTOPEN, "open: " + file + ": " + std::strerror(error));
    }
    FileOps().Close(fd);
    OpenHandle(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

void CppSQLite3DB::openForReading(std::u16string_view path) {
    close();
    std::string file = NativePath(path);
    FileInfo info;
    int error = FileOps().InfoAt(file, info);
    if (error == 0 && info.kind != FileKind::Regular) {
        error = EISDIR;
    }
    if (error != 0) {
        throw CppSQLite3Exception(SQLITE_CANTOPEN, "open: " + file + ": " + std::strerror(error));
    }
    int fd = -1;
    if (FileOps().OpenForLocking(file, fd) == 0) {
        FileOps().Close(fd);
        OpenHandle(file, SQLITE_OPEN_READWRITE);
        return;
    }
    error = FileOps().OpenForReading(file, fd);
    if (error != 0) {
        throw CppSQLite3Exception(SQLITE_CANTOPEN, "open: " + file + ": " + std::strerror(error));
    }
    FileOps().Close(fd);
    OpenHandle(file, SQLITE_OPEN_READONLY);
    m_readOnly = true;
}

void CppSQLite3DB::OpenHandle(const std::string& file, int flags) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = std::string("open: ") + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw CppSQLite3Exception(rc, std::move(message));
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    m_db = db;
    m_readOnly = false;
}

void CppSQLite3DB::close() noexcept {
    if (m_db) {
        // _v2: statements still alive keep the connection until they finish.
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        m_readOnly = false;
    }
}

sqlite3* CppSQLite3DB::Handle() {
    if (!m_db) {
        sqlite3_detail::ThrowMisuse("database is not open");
    }
    return m_db;
}

CppSQLite3Statement CppSQLite3DB::compileStatement(std::u16string_view sql) {
    sqlite3* db = Handle();
    if (sql.size() > static_cast<size_t>(INT_MAX) / sizeof(char16_t)) {
        throw CppSQLite3Exception(SQLITE_TOOBIG, "prepare: SQL text too long");
    }
    const char16_t* end = sql.data() + sql.size();
    sqlite3_stmt* raw = nullptr;
    const void* tail = nullptr;
    int rc = sqlite3_prepare16_v2(db, sql.empty() ? u"" : sql.data(),
                                  static_cast<int>(sql.size() * sizeof(char16_t)), &raw, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_detail::ThrowError(db, rc, "prepare");
    }
    if (!raw) {
        sqlite3_detail::ThrowMisuse("prepare: no SQL statement in the text");
    }
    sqlite3_detail::StatementHandle stmt = sqlite3_detail::AdoptStatement(raw);

    // What follows the statement may be spaces, semicolons and comments,
    // nothing that compiles.
    const auto* rest = static_cast<const char16_t*>(tail);
    while (rest && rest < end) {
        sqlite3_stmt* extra = nullptr;
        const void* next = nullptr;
        rc = sqlite3_prepare16_v2(db, rest, static_cast<int>((end - rest) * sizeof(char16_t)), &extra, &next);
        if (extra) {
            sqlite3_finalize(extra);
            sqlite3_detail::ThrowMisuse("prepare: more than one SQL statement in the text");
        }
        if (rc != SQLITE_OK) {
            sqlite3_detail::ThrowError(db, rc, "prepare");
        }
        if (next == rest) {
            break;
        }
        rest = static_cast<const char16_t*>(next);
    }
    return CppSQLite3Statement(std::move(stmt));
}

bool CppSQLite3DB::tableExists(std::u16string_view table) {
    int count = 0;
    execScalar(u"select count(*) from sqlite_master where type='table' and name=?1 collate nocase", count,
               {table});
    return count > 0;
}

int CppSQLite3DB::execDML(std::u16string_view sql, std::initializer_list<CppSQLite3Value> params) {
    CppSQLite3Statement stmt = compileStatement(sql);
    stmt.bindAll(params);
    return stmt.execDML();
}

CppSQLite3Query CppSQLite3DB::execQuery(std::u16string_view sql,
                                        std::initializer_list<CppSQLite3Value> params) {
    CppSQLite3Statement stmt = compileStatement(sql);
    stmt.bindAll(params);
    // The query becomes the statement's only owner and finalizes it.
    return CppSQLite3Query(std::move(stmt.m_stmt), false);
}

bool CppSQLite3DB::execScalar(std::u16string_view sql, int& out,
                              std::initializer_list<CppSQLite3Value> params) {
    CppSQLite3Query query = execQuery(sql, params);
    if (query.eof() || query.numFields() < 1 || query.fieldIsNull(0)) {
        return false;
    }
    std::int64_t value = query.getIntField64(0);
    if (value < INT_MIN || value > INT_MAX) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}
