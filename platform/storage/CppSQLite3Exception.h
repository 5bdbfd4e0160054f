// The one exception of the SQLite wrapper: an SQLite result code and a
// message. Every wrapper call that fails throws it; the screens catch it
// around each database operation and show their own fixed text, so the
// message is for logs and tests.
#pragma once

#include <exception>
#include <string>

class CppSQLite3Exception : public std::exception {
public:
    // code is an SQLite result code (SQLITE_ERROR, SQLITE_MISUSE, ...);
    // message is UTF-8.
    CppSQLite3Exception(int code, std::string message);

    int errorCode() const noexcept { return m_code; }
    const char* errorMessage() const noexcept { return m_message.c_str(); }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    int m_code;
    std::string m_message;
};
