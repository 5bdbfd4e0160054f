// The program's wide string: UTF-16 text over std::u16string, with the
// operations the screens use (printf-style formatting, replacing, searching
// and comparing ignoring case) and cheap views for the platform layer, whose
// API takes std::u16string.
//
// Case-insensitive operations fold ASCII letters only; Chinese text has no
// case and the server's keys are ASCII.
#pragma once

#include <string>
#include <string_view>

class CWString {
public:
    // Longest text that Format produces, in UTF-16 units.
    static constexpr size_t kFormatLimit = 2048;

    CWString() = default;
    CWString(const char16_t* text);  // null gives the empty string
    CWString(std::u16string_view text) : m_text(text) {}
    CWString(std::u16string&& text) : m_text(std::move(text)) {}

    // A wide string from GBK 8-bit text (null gives the empty string).
    static CWString CWStringFromAnsi(const char* ansi);
    static CWString CWStringFromAnsi(std::string_view ansi);

    void Assign(const char16_t* text);
    void Assign(std::u16string_view text) { m_text.assign(text); }
    void Append(const char16_t* text);
    void Append(std::u16string_view text) { m_text.append(text); }
    void AppendChar(char16_t c) { m_text.push_back(c); }
    // Appends GBK 8-bit text, converted.
    void AppendAnsi(const char* ansi);

    // printf-style formatting into this string; the result is cut at
    // kFormatLimit units. The format is wide text and follows the device's
    // wide printf: %s (and %ls) take a const char16_t*, %hs and %S take a GBK
    // const char*, %c takes a char16_t; numeric conversions are those of C
    // printf, with flags, width, precision (also *) and length modifiers.
    // Returns the resulting length.
    int Format(const char16_t* format, ...);

    // Replaces every occurrence of `from`, scanning left to right and never
    // rescanning replaced text. An empty `from` replaces nothing. Returns the
    // number of replacements.
    int Replace(std::u16string_view from, std::u16string_view to);
    // True when text occurs; case-sensitive when caseSensitive is 1, else
    // ASCII case is ignored. An empty text is always contained.
    bool Contains(std::u16string_view text, int caseSensitive) const;
    // Three-way comparison ignoring ASCII case: <0, 0 or >0. Null compares as empty.
    int CompareNoCase(const char16_t* other) const;
    int CompareNoCase(std::u16string_view other) const;

    const char16_t* c_str() const { return m_text.c_str(); }
    size_t length() const { return m_text.size(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Clear() { m_text.clear(); }
    std::u16string_view view() const { return m_text; }
    const std::u16string& str() const { return m_text; }
    std::u16string& str() { return m_text; }
    operator std::u16string_view() const { return m_text; }

    // The text converted to GBK, and to UTF-8 for logs and the desktop host.
    std::string ToAnsi() const;
    std::string ToUtf8() const;

    friend bool operator==(const CWString& a, const CWString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CWString& a, std::u16string_view b) { return a.m_text == b; }
    friend bool operator==(const CWString& a, const char16_t* b) { return a.m_text == std::u16string_view(b ? b : u""); }

private:
    std::u16string m_text;
};
