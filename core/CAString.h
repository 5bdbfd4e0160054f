// The program's 8-bit string: GBK text over std::string, with the same
// operations as the wide string where the screens use them. Comparisons
// ignoring case fold ASCII letters only, which leaves GBK bytes untouched.
#pragma once

#include <string>
#include <string_view>

class CAString {
public:
    // Longest text that Format produces, in bytes.
    static constexpr size_t kFormatLimit = 2048;

    CAString() = default;
    CAString(const char* text);  // null gives the empty string
    CAString(std::string_view text) : m_text(text) {}
    CAString(std::string&& text) : m_text(std::move(text)) {}

    // An 8-bit string from UTF-16 text converted to GBK (null gives empty).
    static CAString CAStringFromWide(const char16_t* wide);
    static CAString CAStringFromWide(std::u16string_view wide);

    void Assign(const char* text);
    void Assign(std::string_view text) { m_text.assign(text); }
    // Assigns UTF-16 text converted to GBK.
    void AssignWide(const char16_t* wide);
    void Append(const char* text);
    void Append(std::string_view text) { m_text.append(text); }
    void AppendChar(char c) { m_text.push_back(c); }

    // C printf formatting into this string, cut at kFormatLimit bytes.
    // Returns the resulting length.
    int Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Equality ignoring ASCII case. A null text equals the empty string.
    bool EqualsNoCase(const CAString& other) const;
    bool EqualsNoCaseStr(const char* other) const;
    bool NotEqualsNoCaseStr(const char* other) const { return !EqualsNoCaseStr(other); }
    // Index of text at or after start, -1 when absent (or start out of range,
    // or text null). An empty text is found at start.
    int Find(const char* text, int start = 0) const;

    const char* c_str() const { return m_text.c_str(); }
    size_t length() const { return m_text.size(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Clear() { m_text.clear(); }
    std::string_view view() const { return m_text; }
    const std::string& str() const { return m_text; }
    std::string& str() { return m_text; }
    operator std::string_view() const { return m_text; }

    // The text converted from GBK to UTF-16.
    std::u16string ToWide() const;

    friend bool operator==(const CAString& a, const CAString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CAString& a, std::string_view b) { return a.m_text == b; }
    friend bool operator==(const CAString& a, const char* b) { return a.m_text == std::string_view(b ? b : ""); }

private:
    std::string m_text;
};
