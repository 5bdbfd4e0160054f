// Sealing with OpenSSL's Blowfish block functions (deprecated in OpenSSL 3
// but present without loading the legacy provider, which the EVP route
// would need) and zlib's CRC-32.
#define OPENSSL_SUPPRESS_DEPRECATED 1
#include "core/SealEnvelope.h"

#include "core/StrUtil.h"

#include <climits>
#include <cstring>
#include <openssl/blowfish.h>
#include <vector>
#include <zlib.h>

namespace {
constexpr int kHeader = 8;
constexpr int kMinLength = 16;
constexpr size_t kMinKey = 6;
constexpr size_t kMaxKey = 72;  // Blowfish uses at most 72 key bytes

bool KeyUsable(const char* key) { return key && std::strlen(key) >= kMinKey; }

void SetKey(const char* key, BF_KEY* bf) {
    size_t n = std::strlen(key);
    if (n > kMaxKey) n = kMaxKey;
    BF_set_key(bf, static_cast<int>(n), reinterpret_cast<const unsigned char*>(key));
}

} // namespace

uint32_t Crc32(const void* data, size_t n) {
    uLong crc = crc32(0L, Z_NULL, 0);
    const Bytef* p = static_cast<const Bytef*>(data);
    while (n > 0) {
        uInt chunk = n > UINT_MAX ? UINT_MAX : static_cast<uInt>(n);
        crc = crc32(crc, p, chunk);
        p += chunk;
        n -= chunk;
    }
    return static_cast<uint32_t>(crc);
}

int SealedSize(int length) {
    if (length < 0 || length > INT_MAX - 15) return -1;
    return (length + 15) / 8 * 8;
}

int SealData(const char* key, const uint8_t* data, int length, uint8_t* output) {
    if (!KeyUsable(key)) return -1;
    if (!data || !output || length < kMinLength) return -2;
    int size = SealedSize(length);
    if (size < 0) return -2;
    int cipherLength = size - kHeader;
    std::vector<uint8_t> plain(cipherLength, 0);
    std::memcpy(plain.data(), data, length);
    // From here on only the copy is read: output may be data's own buffer.
    WriteLE32(output, static_cast<uint32_t>(length));
    WriteLE32(output + 4, Crc32(plain.data(), length));
    BF_KEY bf;
    SetKey(key, &bf);
    unsigned char iv[8] = {};
    BF_cbc_encrypt(plain.data(), output + kHeader, cipherLength, &bf, iv, BF_ENCRYPT);
    return size;
}

int OpenSealedData(const char* key, const uint8_t* envelope, int length, uint8_t* output) {
    if (!KeyUsable(key)) return -1;
    if (!envelope || !output || length < kMinLength) return -2;
    int32_t plainLength = ReadLE32(envelope);
    uint32_t crc = static_cast<uint32_t>(ReadLE32(envelope + 4));
    // Only whole cipher blocks decipher; a stored length beyond them is a lie.
    int cipherLength = (length - kHeader) / 8 * 8;
    if (plainLength < 0 || plainLength > cipherLength) return -3;
    std::vector<uint8_t> plain(cipherLength);
    BF_KEY bf;
    SetKey(key, &bf);
    unsigned char iv[8] = {};
    BF_cbc_encrypt(envelope + kHeader, plain.data(), cipherLength, &bf, iv, BF_DECRYPT);
    if (Crc32(plain.data(), plainLength) != crc) return -4;
    std::memcpy(output, plain.data(), plainLength);
    return plainLength;
}
