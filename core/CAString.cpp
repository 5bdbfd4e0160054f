// 8-bit string operations; GBK conversion goes through TextConvert.
#include "core/CAString.h"

#include "core/StrUtil.h"
#include "core/TextConvert.h"

#include <cstdarg>
#include <cstdio>

CAString::CAString(const char* text) {
    if (text) m_text.assign(text);
}

CAString CAString::CAStringFromWide(const char16_t* wide) {
    return wide ? CAString(WideToAnsi(std::u16string_view(wide, WideLength(wide)))) : CAString();
}

CAString CAString::CAStringFromWide(std::u16string_view wide) { return CAString(WideToAnsi(wide)); }

void CAString::Assign(const char* text) {
    if (text) m_text.assign(text);
    else m_text.clear();
}

void CAString::AssignWide(const char16_t* wide) {
    m_text = wide ? WideToAnsi(std::u16string_view(wide, WideLength(wide))) : std::string();
}

void CAString::Append(const char* text) {
    if (text) m_text.append(text);
}

int CAString::Format(const char* format, ...) {
    if (!format) {
        m_text.clear();
        return 0;
    }
    char buf[kFormatLimit + 1];
    va_list ap;
    va_start(ap, format);
    int n = std::vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    if (n < 0) n = 0;
    if (n > static_cast<int>(kFormatLimit)) n = kFormatLimit;
    m_text.assign(buf, n);
    return n;
}

bool CAString::EqualsNoCase(const CAString& other) const { return ::EqualsNoCase(m_text, other.m_text); }

bool CAString::EqualsNoCaseStr(const char* other) const {
    return ::EqualsNoCase(m_text, other ? std::string_view(other) : std::string_view());
}

int CAString::Find(const char* text, int start) const {
    if (!text || start < 0 || static_cast<size_t>(start) > m_text.size()) return -1;
    size_t hit = m_text.find(text, start);
    return hit == std::string::npos ? -1 : static_cast<int>(hit);
}

std::u16string CAString::ToWide() const { return AnsiToWide(std::string_view(m_text)); }
