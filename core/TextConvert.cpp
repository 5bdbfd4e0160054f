// GBK conversion through iconv, and a hand-written UTF-8 codec. iconv
// descriptors carry state and are not shareable: a conversion borrows a
// pair from a pool and gives it back. (A pool rather than a pair per
// thread: a thread_local's first use waits out any library another thread
// is loading, and the pool keeps the GBK module loaded between uses.)
#include "core/TextConvert.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <mutex>
#include <type_traits>
#include <vector>

static_assert(std::endian::native == std::endian::little, "char16_t buffers are handed to iconv as UTF-16LE");

namespace {

struct IconvPair {
    iconv_t toWide = reinterpret_cast<iconv_t>(-1);
    iconv_t toAnsi = reinterpret_cast<iconv_t>(-1);
    IconvPair() {
        toWide = iconv_open("UTF-16LE", "CP936");
        toAnsi = iconv_open("CP936", "UTF-16LE");
    }
    ~IconvPair() {
        if (toWide != reinterpret_cast<iconv_t>(-1)) iconv_close(toWide);
        if (toAnsi != reinterpret_cast<iconv_t>(-1)) iconv_close(toAnsi);
    }
};

// The pairs not in use; made as conversions overlap, kept for the process.
class CConverterPool {
public:
    static CConverterPool& Instance() {
        // Never destroyed: a thread may still convert while the process ends.
        static CConverterPool* pool = new CConverterPool;
        return *pool;
    }
    std::unique_ptr<IconvPair> Take() {
        {
            std::lock_guard lock(m_mutex);
            if (!m_free.empty()) {
                std::unique_ptr<IconvPair> pair = std::move(m_free.back());
                m_free.pop_back();
                return pair;
            }
        }
        return std::make_unique<IconvPair>();
    }
    void Give(std::unique_ptr<IconvPair> pair) {
        std::lock_guard lock(m_mutex);
        m_free.push_back(std::move(pair));
    }

private:
    std::mutex m_mutex;
    std::vector<std::unique_ptr<IconvPair>> m_free;
};

// A pair borrowed for one conversion.
class CConverters {
public:
    CConverters() : m_pair(CConverterPool::Instance().Take()) {}
    ~CConverters() { CConverterPool::Instance().Give(std::move(m_pair)); }
    CConverters(const CConverters&) = delete;
    CConverters& operator=(const CConverters&) = delete;
    IconvPair* operator->() const { return m_pair.get(); }

private:
    std::unique_ptr<IconvPair> m_pair;
};

// Input bytes that make one character that does not convert: a GBK byte
// is skipped alone (the next may start a valid character), a UTF-16
// surrogate pair as a whole, so that it becomes one replacement.
size_t SkipAnsi(const char*, size_t) { return 1; }
size_t SkipWide(const char* p, size_t left) {
    auto unit = [p](size_t i) { return char16_t(uint8_t(p[i]) | uint8_t(p[i + 1]) << 8); };
    if (left >= 4 && unit(0) >= 0xD800 && unit(0) <= 0xDBFF && unit(2) >= 0xDC00 && unit(2) <= 0xDFFF) return 4;
    return 2;
}

// Runs cd over the input, appending to out. On a character that does not
// convert, skips its bytes (as skip tells) and appends `replacement`.
void RunIconv(iconv_t cd, const char* in, size_t inLeft, std::string& out, size_t (*skip)(const char*, size_t),
              std::string_view replacement) {
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        out.append(in, inLeft);  // no converter: better raw than nothing
        return;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char chunk[4096];
    char* src = const_cast<char*>(in);
    while (inLeft > 0) {
        char* dst = chunk;
        size_t dstLeft = sizeof chunk;
        size_t rc = iconv(cd, &src, &inLeft, &dst, &dstLeft);
        out.append(chunk, dst - chunk);
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            size_t n = std::min(inLeft, skip(src, inLeft));
            src += n;
            inLeft -= n;
            out.append(replacement);
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
}

template <class T> bool IsAscii(const T* text, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (static_cast<std::make_unsigned_t<T>>(text[i]) >= 0x80) return false;
    return true;
}

template <class T> T* MallocCopy(const T* data, size_t n) {
    T* p = static_cast<T*>(std::malloc((n + 1) * sizeof(T)));
    if (!p) return nullptr;
    if (n) std::memcpy(p, data, n * sizeof(T));
    p[n] = T(0);
    return p;
}

} // namespace

size_t WideLength(const char16_t* text) {
    if (!text) return 0;
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

void PrepareTextConvert() {
    // The pool keeps the pair, and with it the module, for the process.
    CConverters ready;
}

std::u16string AnsiToWide(std::string_view text) {
    // GBK keeps ASCII as it is: codes, numbers and keys need no converter.
    if (IsAscii(text.data(), text.size()))
        return std::u16string(text.begin(), text.end());
    std::string bytes;
    static const char16_t kReplacement = 0xFFFD;
    RunIconv(CConverters()->toWide, text.data(), text.size(), bytes, SkipAnsi,
             std::string_view(reinterpret_cast<const char*>(&kReplacement), 2));
    std::u16string result(bytes.size() / 2, u'\0');
    if (!result.empty()) std::memcpy(result.data(), bytes.data(), result.size() * 2);
    return result;
}

std::string WideToAnsi(std::u16string_view text) {
    if (IsAscii(text.data(), text.size()))
        return std::string(text.begin(), text.end());
    std::string result;
    RunIconv(CConverters()->toAnsi, reinterpret_cast<const char*>(text.data()), text.size() * 2, result, SkipWide, "?");
    return result;
}

int AnsiToWide(const char* text, char16_t** out) {
    if (!out) return -1;
    *out = nullptr;
    if (!text) return -1;
    std::u16string wide = AnsiToWide(std::string_view(text));
    *out = MallocCopy(wide.data(), wide.size());
    return *out ? static_cast<int>(wide.size()) : -1;
}

int WideToAnsi(const char16_t* text, char** out) {
    if (!out) return -1;
    *out = nullptr;
    if (!text) return -1;
    std::string ansi = WideToAnsi(std::u16string_view(text, WideLength(text)));
    *out = MallocCopy(ansi.data(), ansi.size());
    return *out ? static_cast<int>(ansi.size()) : -1;
}

std::u16string Utf8ToWide(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        char32_t cp;
        size_t len;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            len = 4;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        bool ok = i + len <= n;
        for (size_t k = 1; ok && k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (cc & 0x3F);
        }
        // Reject overlong forms, surrogates and values beyond the last plane.
        static const char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (ok && (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

std::string WideToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}
