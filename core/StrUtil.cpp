// 8-bit text helpers; see the header for the contracts.
#include "core/StrUtil.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
char* MallocText(const std::string& s) {
    char* p = static_cast<char*>(std::malloc(s.size() + 1));
    if (p) std::memcpy(p, s.c_str(), s.size() + 1);
    return p;
}

// Locates the value of key in query: sets begin and end (offsets of the
// value) and returns true when the key is present.
bool FindParam(const char* query, const char* key, size_t* begin, size_t* end) {
    size_t keyLen = std::strlen(key);
    if (keyLen == 0) return false;
    for (const char* p = query; *p;) {
        if (StrNCmpNoCase(p, key, keyLen) == 0 && p[keyLen] == '=') {
            const char* v = p + keyLen + 1;
            const char* e = v;
            while (*e && *e != '&' && *e != ' ') ++e;
            *begin = v - query;
            *end = e - query;
            return true;
        }
        const char* amp = std::strchr(p, '&');
        if (!amp) break;
        p = amp + 1;
    }
    return false;
}
} // namespace

int StrEqualNoCase(const char* a, const char* b) {
    if (!a || !b) return 1;
    while (*a && *b && FoldAscii(*a) == FoldAscii(*b)) {
        ++a;
        ++b;
    }
    return (*a == 0 && *b == 0) ? 0 : 1;
}

int StrNCmpNoCase(const char* a, const char* b, size_t n) {
    if (!a || !b) return 1;
    for (size_t i = 0; i < n; ++i) {
        int ca = static_cast<unsigned char>(FoldAscii(a[i]));
        int cb = static_cast<unsigned char>(FoldAscii(b[i]));
        if (ca != cb) return ca - cb;
        if (ca == 0) break;
    }
    return 0;
}

bool IsAllDigits(const char* text) {
    if (!text) return false;
    for (; *text; ++text) {
        if (*text < '0' || *text > '9') return false;
    }
    return true;
}

bool IsDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool IsDigits(std::u16string_view text) {
    if (text.empty())
        return false;
    for (char16_t c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

bool IsPriceText(std::string_view text) {
    if (text.empty() || text.size() > 16 || text == ".")
        return false;
    int points = 0;
    for (char c : text)
        if (c == '.' ? ++points > 1 : (c < '0' || c > '9'))
            return false;
    return true;
}

bool IsPlainRequestText(std::string_view text) {
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.'))
            return false;
    return true;
}

bool IsDecimalNumber(const char* text) {
    if (!text) return false;
    int points = 0;
    for (; *text; ++text) {
        if (*text == '.') {
            if (++points > 1) return false;
        } else if (*text < '0' || *text > '9') {
            return false;
        }
    }
    return true;
}

char* GetUrlParam(const char* query, const char* key) {
    if (!query || !key) return nullptr;
    size_t begin, end;
    if (!FindParam(query, key, &begin, &end)) return nullptr;
    return MallocText(std::string(query + begin, end - begin));
}

std::string GetUrlParamText(std::string_view query, const char* key, bool* present) {
    const std::string copy(query);
    return GetUrlParamText(copy.c_str(), key, present);
}

std::string GetUrlParamText(const char* query, const char* key, bool* present) {
    char* value = GetUrlParam(query, key);
    if (present)
        *present = value != nullptr;
    std::string out = value ? value : "";
    std::free(value);
    return out;
}

char* SetUrlParam(const char* query, const char* key, const char* value) {
    if (!key || !*key) return nullptr;
    if (!query) query = "";
    if (!value) value = "";
    std::string result(query);
    size_t begin, end;
    if (FindParam(query, key, &begin, &end)) {
        result.replace(begin, end - begin, value);
    } else {
        result.append("&").append(key).append("=").append(value);
    }
    return MallocText(result);
}

int HexEncode(const uint8_t* bytes, int length, char* output, int upper) {
    if (!bytes || !output || length < 0 || length > INT_MAX / 2) return -1;
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    for (size_t i = 0; i < static_cast<size_t>(length); ++i) {
        output[2 * i] = digits[bytes[i] >> 4];
        output[2 * i + 1] = digits[bytes[i] & 15];
    }
    output[2 * static_cast<size_t>(length)] = '\0';
    return 2 * length;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int32_t ReadLE32(const uint8_t* p) {
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return static_cast<int32_t>(v);
}

void WriteLE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
