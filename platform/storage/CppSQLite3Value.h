// A value bound to a statement parameter: text, a 64-bit integer or NULL.
//
// It exists so that a whole parameter list can be written inline,
// db.execDML(sql, {account, mobile, 1, nullptr}), and every value reaches
// SQLite bound, never pasted into the SQL text. The value owns its text, so
// a list may be built from temporaries.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

class CppSQLite3Value {
public:
    CppSQLite3Value() = default; // NULL
    CppSQLite3Value(std::nullptr_t) {}
    // Any integer type; unsigned values above INT64_MAX wrap, as in C.
    template <std::integral T> CppSQLite3Value(T value) : m_value(static_cast<std::int64_t>(value)) {}
    CppSQLite3Value(std::u16string text) : m_value(std::move(text)) {}
    CppSQLite3Value(std::u16string_view text) : m_value(std::u16string(text)) {}
    // A null pointer gives NULL, not the empty text.
    CppSQLite3Value(const char16_t* text) {
        if (text) {
            m_value = std::u16string(text);
        }
    }

    bool isNull() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(m_value); }
    bool isText() const { return std::holds_alternative<std::u16string>(m_value); }
    // Valid only for the matching kind.
    std::int64_t integer() const { return std::get<std::int64_t>(m_value); }
    const std::u16string& text() const { return std::get<std::u16string>(m_value); }

private:
    std::variant<std::monostate, std::int64_t, std::u16string> m_value;
};
