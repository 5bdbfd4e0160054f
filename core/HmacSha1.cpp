// HMAC over OpenSSL's SHA-1 (EVP digest interface), built here so that the
// long-key rule and the argument checks are plainly visible.
#include "core/HmacSha1.h"

#include <cstring>
#include <openssl/evp.h>

namespace {
constexpr int kBlock = 64;
constexpr int kDigest = 20;

// SHA-1 of the concatenation of two byte ranges; false when OpenSSL fails.
bool Sha1Two(const uint8_t* a, size_t an, const uint8_t* b, size_t bn, uint8_t* out) {
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    if (!ctx) return false;
    unsigned int len = 0;
    bool ok = EVP_DigestInit_ex(ctx, EVP_sha1(), nullptr) == 1 && EVP_DigestUpdate(ctx, a, an) == 1 &&
              (bn == 0 || EVP_DigestUpdate(ctx, b, bn) == 1) && EVP_DigestFinal_ex(ctx, out, &len) == 1 &&
              len == kDigest;
    EVP_MD_CTX_free(ctx);
    return ok;
}
} // namespace

int HmacSha1(const uint8_t* key, int keyLength, const uint8_t* message, int messageLength, uint8_t* output) {
    if (!key || !message || !output || keyLength < 0 || messageLength < 0) return -1;
    uint8_t block[kBlock] = {};
    if (keyLength > kBlock) {
        if (!Sha1Two(key, keyLength, nullptr, 0, block)) return -1;
    } else if (keyLength > 0) {
        std::memcpy(block, key, keyLength);
    }
    uint8_t pad[kBlock];
    uint8_t inner[kDigest];
    for (int i = 0; i < kBlock; ++i) pad[i] = block[i] ^ 0x36;
    if (!Sha1Two(pad, kBlock, message, messageLength, inner)) return -1;
    for (int i = 0; i < kBlock; ++i) pad[i] = block[i] ^ 0x5c;
    if (!Sha1Two(pad, kBlock, inner, kDigest, output)) return -1;
    return 0;
}
