// The one-time codes of the phone tokens: HOTP (RFC 4226) over a seed given
// as hexadecimal text, and the sealing of that seed for the token store.
// Pure computations; the store (DynCodeStore.h) keeps the sealed seeds and
// their counters.
//
// A seed is hexadecimal text, two digits a key byte. It is checked: a sign,
// a blank or any character that is not a hexadecimal digit makes it no seed
// at all, so a damaged seed is never read as some other key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The digit counts a code may have. Fewer digits would be guessable, more
// need a modulus beyond the 31-bit value HOTP truncates to.
inline constexpr int kDynCodeMinDigits = 6;
inline constexpr int kDynCodeMaxDigits = 8;
// The digit count the login sends.
inline constexpr int kDynCodeDigits = 6;
// Seed texts the store seals: 16 to 48 hexadecimal characters.
inline constexpr int kDynCodeMinSeedLength = 16;
inline constexpr int kDynCodeMaxSeedLength = 48;
// The sealing key of the stored seeds, used as its 16 bytes stand.
inline constexpr char kDynCodeSealKey[] = "MORNINGTIDEHARBO";

// Reads hexadecimal text into bytes, two digits a byte from the left; a
// text of odd length reads as if a '0' led it ("ABC" gives 0x0A 0xBC).
// False, out emptied, when a character is not a hexadecimal digit.
bool HexToBytes(std::string_view hex, std::vector<std::uint8_t>& out);
// Upper-case hexadecimal text of bytes, high nibble first.
std::string BytesToHex(const std::uint8_t* bytes, std::size_t length);

// HOTP of RFC 4226: HMAC-SHA1 of the 8-byte big-endian counter under key
// (an empty key is a key too), dynamically truncated to 31 bits, modulo
// 10^digits, written as exactly digits decimal characters, zero-padded.
// False, out emptied, for a digit count outside 6..8 or a failed HMAC.
bool DynCodeHotp(const std::uint8_t* key, std::size_t keyLength, std::uint32_t counter, int digits, std::string& out);
// DynCodeHotp over the bytes of a hexadecimal key text. False, out emptied,
// when the text is not hexadecimal or DynCodeHotp fails.
bool DynCodeCompute(std::string_view hexKey, std::uint32_t counter, int digits, std::string& out);

// The stored form of a seed: the seal envelope of its characters under
// kDynCodeSealKey, as upper-case hexadecimal (at most 112 characters). An
// empty text when the seed is not 16 to 48 hexadecimal characters or the
// sealing fails; a failed seal is never encoded.
std::u16string SealDynCodeSeed(std::string_view seed);
// Opens a stored seed. Returns the number of bytes the text stands for
// (its length / 2) and the seed in plain; plain is empty when the text is
// not hexadecimal, the envelope does not open (length, check sum) or what
// it holds is not a hexadecimal seed.
int OpenDynCodeSeed(std::u16string_view sealed, std::string& plain);
