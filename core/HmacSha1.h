// HMAC-SHA1 (RFC 2104, 64-byte block) for the one-time dynamic codes.
#pragma once

#include <cstdint>

// Writes the 20-byte HMAC-SHA1 of message under key to output. A key longer
// than 64 bytes is first replaced by its SHA-1 digest. Returns 0, or -1 when
// key, message or output is null or a length is negative.
int HmacSha1(const uint8_t* key, int keyLength, const uint8_t* message, int messageLength, uint8_t* output);
