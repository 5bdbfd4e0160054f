// Conversions between the program's two text widths and UTF-8.
//
// Wide text is UTF-16 (char16_t) everywhere; 8-bit text is the device code
// page GBK (CP936). GBK goes through iconv; UTF-8, used only by the desktop
// host and the logs, is converted by hand because surrogate pairs are all
// there is to it. Bytes that do not convert become U+FFFD (to wide) or '?'
// (to 8-bit); a conversion never fails as a whole.
//
// Ownership: the C-style variants return a buffer from malloc() that the
// caller releases with free(); every "new copy" in the core follows that rule.
#pragma once

#include <string>
#include <string_view>

// Converts NUL-terminated GBK text into a new NUL-terminated UTF-16 buffer
// stored in *out (free() it). Returns the number of UTF-16 units, or -1 with
// *out = nullptr when text or out is null.
int AnsiToWide(const char* text, char16_t** out);

// Converts NUL-terminated UTF-16 text into a new NUL-terminated GBK buffer
// stored in *out (free() it). Returns the byte count, or -1 with *out =
// nullptr when text or out is null.
int WideToAnsi(const char16_t* text, char** out);

// Value-returning variants for new code; they accept embedded NULs.
std::u16string AnsiToWide(std::string_view text);
std::string WideToAnsi(std::u16string_view text);

// UTF-8 <-> UTF-16. Invalid UTF-8 sequences and lone surrogates become U+FFFD.
std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);

// Makes a GBK converter ready now, loading the system's conversion module,
// so that no later conversion loads it: a module load waits out any
// library another thread is loading. Conversions work without it.
void PrepareTextConvert();

// Length of a NUL-terminated UTF-16 text; 0 for null.
size_t WideLength(const char16_t* text);
