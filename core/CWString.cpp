// Wide string operations. Format is a small wide printf: it walks the
// format, hands each numeric conversion to snprintf with the same flags and
// widens the ASCII result, and copies string arguments itself.
#include "core/CWString.h"

#include "core/StrUtil.h"
#include "core/TextConvert.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdint>
#include <cstddef>

namespace {

void AppendPadded(std::u16string& out, std::u16string_view text, int width, bool left) {
    size_t pad = (width > 0 && static_cast<size_t>(width) > text.size()) ? width - text.size() : 0;
    if (!left) out.append(pad, u' ');
    out.append(text);
    if (left) out.append(pad, u' ');
}

// Widths and precisions beyond the format limit change nothing in the cut
// result, so they are clamped there rather than handed on to snprintf
// (which would build the whole field first, or fail past INT_MAX).
constexpr int kFieldLimit = static_cast<int>(CWString::kFormatLimit) + 1;

int ClampField(int64_t value) { return value > kFieldLimit ? kFieldLimit : static_cast<int>(value); }

// Reads a decimal width or precision at p, clamped.
int ParseField(const char16_t*& p) {
    int64_t value = 0;
    while (*p >= u'0' && *p <= u'9') {
        value = value * 10 + (*p++ - u'0');
        if (value > kFieldLimit) value = kFieldLimit;
    }
    return static_cast<int>(value);
}

void AppendAscii(std::u16string& out, const char* s, int n) {
    for (int i = 0; i < n; ++i) out.push_back(static_cast<unsigned char>(s[i]));
}

// Formats one numeric conversion with snprintf; conversion is one complete
// narrow conversion ("%-8.2f"). Integer and floating arguments of one
// conversion never mix, so the caller extracts the argument with the
// matching type.
template <class T> void AppendNumber(std::u16string& out, const std::string& conversion, T value) {
    char buf[512];
    int n = std::snprintf(buf, sizeof buf, conversion.c_str(), value);
    if (n < 0) return;
    if (n >= static_cast<int>(sizeof buf)) {
        std::string big(n + 1, '\0');
        std::snprintf(big.data(), big.size(), conversion.c_str(), value);
        AppendAscii(out, big.data(), n);
    } else {
        AppendAscii(out, buf, n);
    }
}

std::u16string FormatWide(const char16_t* fmt, va_list ap) {
    std::u16string out;
    if (!fmt) return out;
    const char16_t* p = fmt;
    while (*p && out.size() <= CWString::kFormatLimit) {
        if (*p != u'%') {
            out.push_back(*p++);
            continue;
        }
        ++p;
        if (*p == u'%') {
            out.push_back(u'%');
            ++p;
            continue;
        }
        // The snprintf conversion is rebuilt from what was parsed, so that
        // clamped numbers and a length modifier matching the argument read
        // are what snprintf sees.
        std::string flags;
        bool left = false;
        while (*p == u'-' || *p == u'+' || *p == u' ' || *p == u'#' || *p == u'0') {
            if (*p == u'-') left = true;
            flags.push_back(static_cast<char>(*p++));
        }
        int width = 0;
        if (*p == u'*') {
            int64_t w = va_arg(ap, int);
            if (w < 0) {
                left = true;
                flags.push_back('-');
                w = -w;
            }
            width = ClampField(w);
            ++p;
        } else {
            width = ParseField(p);
        }
        int precision = -1;
        if (*p == u'.') {
            ++p;
            if (*p == u'*') {
                int value = va_arg(ap, int);
                precision = value < 0 ? -1 : ClampField(value);
                ++p;
            } else {
                precision = ParseField(p);
            }
        }
        std::string conversion = "%" + flags;
        if (width > 0) conversion += std::to_string(width);
        if (precision >= 0) conversion += "." + std::to_string(precision);
        // Length modifiers: h hh l ll L q z j t, and the device's I64. Only
        // the argument's size matters to the wide format; snprintf is given
        // the one modifier that matches the argument read.
        std::string length;
        while (*p == u'h' || *p == u'l' || *p == u'L' || *p == u'q' || *p == u'z' || *p == u'j' || *p == u't') {
            length.push_back(static_cast<char>(*p++));
        }
        if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
            length = "ll";
            p += 3;
        }
        char16_t conv = *p;
        if (!conv) break;
        ++p;
        switch (conv) {
        case u'd':
        case u'i':
        case u'u':
        case u'o':
        case u'x':
        case u'X': {
            bool isSigned = conv == u'd' || conv == u'i';
            if (length == "ll" || length == "L" || length == "q" || length == "j") {
                std::string full = conversion + "ll" + static_cast<char>(conv);
                if (isSigned) AppendNumber(out, full, va_arg(ap, long long));
                else AppendNumber(out, full, va_arg(ap, unsigned long long));
            } else if (length == "l" || length == "z" || length == "t") {
                std::string full = conversion + "l" + static_cast<char>(conv);
                if (isSigned) AppendNumber(out, full, va_arg(ap, long));
                else AppendNumber(out, full, va_arg(ap, unsigned long));
            } else {
                // h and hh narrow an int argument, as in C.
                std::string full = conversion + (length == "h" || length == "hh" ? length : "") + static_cast<char>(conv);
                if (isSigned) AppendNumber(out, full, va_arg(ap, int));
                else AppendNumber(out, full, va_arg(ap, unsigned int));
            }
            break;
        }
        case u'f':
        case u'F':
        case u'e':
        case u'E':
        case u'g':
        case u'G':
        case u'a':
        case u'A':
            if (length == "L") AppendNumber(out, conversion + "L" + static_cast<char>(conv), va_arg(ap, long double));
            else AppendNumber(out, conversion + static_cast<char>(conv), va_arg(ap, double));
            break;
        case u'p':
            AppendNumber(out, conversion + "p", va_arg(ap, void*));
            break;
        case u'c': {
            char16_t c = static_cast<char16_t>(va_arg(ap, int));
            AppendPadded(out, std::u16string_view(&c, 1), width, left);
            break;
        }
        case u's':
        case u'S': {
            std::u16string text;
            if (conv == u'S' || length == "h") {
                const char* s = va_arg(ap, const char*);
                text = s ? AnsiToWide(std::string_view(s)) : u"(null)";
            } else {
                const char16_t* s = va_arg(ap, const char16_t*);
                text = s ? std::u16string(s) : u"(null)";
            }
            if (precision >= 0 && static_cast<size_t>(precision) < text.size()) text.resize(precision);
            AppendPadded(out, text, width, left);
            break;
        }
        default:
            // Unknown conversion: keep it visible rather than guess an argument.
            out.push_back(u'%');
            out.push_back(conv);
            break;
        }
    }
    if (out.size() > CWString::kFormatLimit) {
        out.resize(CWString::kFormatLimit);
        // A cut between the halves of a surrogate pair drops the lone half.
        if (out.back() >= 0xD800 && out.back() <= 0xDBFF) out.pop_back();
    }
    return out;
}

} // namespace

CWString::CWString(const char16_t* text) {
    if (text) m_text.assign(text);
}

CWString CWString::CWStringFromAnsi(const char* ansi) {
    return ansi ? CWString(AnsiToWide(std::string_view(ansi))) : CWString();
}

CWString CWString::CWStringFromAnsi(std::string_view ansi) { return CWString(AnsiToWide(ansi)); }

void CWString::Assign(const char16_t* text) {
    if (text) m_text.assign(text);
    else m_text.clear();
}

void CWString::Append(const char16_t* text) {
    if (text) m_text.append(text);
}

void CWString::AppendAnsi(const char* ansi) {
    if (ansi) m_text.append(AnsiToWide(std::string_view(ansi)));
}

int CWString::Format(const char16_t* format, ...) {
    va_list ap;
    va_start(ap, format);
    m_text = FormatWide(format, ap);
    va_end(ap);
    return static_cast<int>(m_text.size());
}

int CWString::Replace(std::u16string_view from, std::u16string_view to) {
    if (from.empty()) return 0;
    std::u16string result;
    int count = 0;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_text.find(from, pos);
        if (hit == std::u16string::npos) break;
        result.append(m_text, pos, hit - pos);
        result.append(to);
        pos = hit + from.size();
        ++count;
    }
    if (count == 0) return 0;
    result.append(m_text, pos, std::u16string::npos);
    m_text.swap(result);
    return count;
}

bool CWString::Contains(std::u16string_view text, int caseSensitive) const {
    if (caseSensitive == 1) return m_text.find(text) != std::u16string::npos;
    if (text.size() > m_text.size()) return false;
    for (size_t i = 0; i + text.size() <= m_text.size(); ++i) {
        size_t k = 0;
        while (k < text.size() && FoldAscii(m_text[i + k]) == FoldAscii(text[k])) ++k;
        if (k == text.size()) return true;
    }
    return false;
}

int CWString::CompareNoCase(const char16_t* other) const {
    return CompareNoCase(std::u16string_view(other ? other : u""));
}

int CWString::CompareNoCase(std::u16string_view other) const {
    size_t n = std::min(m_text.size(), other.size());
    for (size_t i = 0; i < n; ++i) {
        int a = FoldAscii(m_text[i]);
        int b = FoldAscii(other[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    if (m_text.size() == other.size()) return 0;
    return m_text.size() < other.size() ? -1 : 1;
}

std::string CWString::ToAnsi() const { return WideToAnsi(std::u16string_view(m_text)); }

std::string CWString::ToUtf8() const { return WideToUtf8(m_text); }
