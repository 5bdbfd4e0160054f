// The wrapper's exception; see the header.
#include "platform/storage/CppSQLite3Exception.h"

#include <utility>

CppSQLite3Exception::CppSQLite3Exception(int code, std::string message)
    : m_code(code), m_message(std::move(message)) {
    if (m_message.empty()) {
        m_message = "SQLite error " + std::to_string(code);
    }
}
