// The seal envelope that protects stored seeds and request data:
//   int32  plain length (little-endian)
//   uint32 CRC-32 of the plain bytes (little-endian)
//   Blowfish-CBC cipher text, zero initial block, of the plain bytes padded
//   with zero bytes to a multiple of 8.
// The key is the bytes of a key text as they stand (at least 6 of them).
// Any thread may seal and open; each keeps the key schedules of the last
// few keys it used, so a session's messages skip Blowfish's key set-up.
#pragma once

#include <cstddef>
#include <cstdint>

// The envelope size for a plain length: (length + 15) / 8 * 8.
int SealedSize(int length);

// Seals data[0 .. length) into output, which must hold SealedSize(length)
// bytes; output may be the buffer that holds data. Returns that size; -1 when key is null or shorter than 6
// characters, -2 for a null argument or a length below 16.
int SealData(const char* key, const uint8_t* data, int length, uint8_t* output);

// Opens an envelope of length bytes into output, which must hold length - 8
// bytes. Returns the plain length; -1 key null or shorter than 6 characters,
// -2 null argument or length below 16, -3 stored length negative or beyond
// the whole cipher blocks present, -4 CRC-32 mismatch. output is written
// only on success.
int OpenSealedData(const char* key, const uint8_t* envelope, int length, uint8_t* output);

// CRC-32 (the zlib / IEEE 802.3 polynomial) of n bytes.
uint32_t Crc32(const void* data, size_t n);
