// Small helpers over 8-bit (GBK or ASCII) C text: comparisons ignoring ASCII
// case, digit checks, URL-style "key=value&" parameters, hexadecimal text and
// little-endian reads. They take C pointers because request texts are built
// and parsed as C text; new copies come from malloc() and are released with
// free().
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// 0 when a and b are equal ignoring ASCII case, 1 otherwise (also when
// either is null).
int StrEqualNoCase(const char* a, const char* b);

// 0 when the first n characters of a and b are equal ignoring ASCII case
// (both may end earlier, together); non-zero otherwise or when either is null.
int StrNCmpNoCase(const char* a, const char* b, size_t n);

// True when a and b are equal ignoring ASCII case.
bool EqualsNoCase(std::string_view a, std::string_view b);

// True when every character is 0 to 9; an empty text passes, null fails.
bool IsAllDigits(const char* text);

// True when the text is not empty and every character is 0 to 9.
bool IsDigits(std::string_view text);
bool IsDigits(std::u16string_view text);

// True when every character is an ASCII letter, a digit or "." (an empty
// text passes): what a value taken from the user, a reply or a menu node
// must be to go into a request, so that no "&", "=" or "%" slips in.
bool IsPlainRequestText(std::string_view text);

// True for digits with at most one "."; an empty text passes, null fails.
bool IsDecimalNumber(const char* text);

// A price as the user or a form gives it: 1 to 16 characters of digits with
// at most one ".", and not "." alone ("0", "10." and ".5" pass, "1.2.3" and
// "-1" do not). Whether zero may be asked is the caller's rule.
bool IsPriceText(std::string_view text);

// The value of key in a query text "k1=v1&k2=v2": a new copy (free() it) of
// the text after "key=" up to "&", a blank or the end; null when the key is
// absent or an argument is null. The key is matched ignoring ASCII case and
// only at the start of the text or right after "&", so "code" never matches
// inside "xcode=".
char* GetUrlParam(const char* query, const char* key);

// GetUrlParam's value as a string: empty when the key is absent (then
// *present, when given, is false) or the query is null.
std::string GetUrlParamText(std::string_view query, const char* key, bool* present = nullptr);
std::string GetUrlParamText(const char* query, const char* key, bool* present = nullptr);

// A new copy of query (free() it) with the value of key replaced in place,
// or with "&", key, "=" and value appended when the key is absent. A null
// query counts as empty and a null value as an empty value; null when the
// key is null or empty.
char* SetUrlParam(const char* query, const char* key, const char* value);

// Writes 2 * length hexadecimal digits and a NUL to output (which must hold
// 2 * length + 1 bytes), upper-case letters when upper is non-zero. Returns
// the digit count, or -1 for a null argument or a length whose digit count
// an int cannot hold.
int HexEncode(const uint8_t* bytes, int length, char* output, int upper);
// The value 0 to 15 of a hexadecimal digit of either case; -1 for any other
// character.
int HexDigitValue(char c);

// The int32 stored little-endian at p, which need not be aligned.
int32_t ReadLE32(const uint8_t* p);
// Stores v little-endian at p, which need not be aligned.
void WriteLE32(uint8_t* p, uint32_t v);

// An ASCII capital letter made small; every other unit (GBK bytes, Chinese
// UTF-16) as it stands. The one case fold of the program's texts.
template <class Char> constexpr Char FoldAscii(Char c) {
    return (c >= Char('A') && c <= Char('Z')) ? static_cast<Char>(c + ('a' - 'A')) : c;
}
