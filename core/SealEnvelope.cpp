// Sealing with OpenSSL's Blowfish block functions (deprecated in OpenSSL 3
// but present without loading the legacy provider, which the EVP route
// would need) and zlib's CRC-32.
#define OPENSSL_SUPPRESS_DEPRECATED 1
#include "core/SealEnvelope.h"

#include "core/StrUtil.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <openssl/blowfish.h>
#include <openssl/crypto.h>
#include <vector>
#include <zlib.h>

namespace {
constexpr int kHeader = 8;
constexpr int kMinLength = 16;
constexpr size_t kMinKey = 6;
constexpr size_t kMaxKey = 72;  // Blowfish uses at most 72 key bytes

bool KeyUsable(const char* key) { return key && std::strlen(key) >= kMinKey; }

// Blowfish's key schedule runs the cipher 521 times, as much work as
// enciphering 4 KB, while a session seals and opens every message under
// the same key. So the schedules of the last few keys used (a simulator
// connection may try several keys on one seal) are kept, shared by the
// threads; each use takes a copy, wiped after it. Only the key bytes
// Blowfish uses are compared: the schedule is what a fresh BF_set_key would
// give, so the bytes are too. (Shared rather than per thread: a
// thread_local's first use waits out any library another thread is loading.)
class CKeySchedules {
public:
    static CKeySchedules& Instance() {
        // Never destroyed: a thread may still seal while the process ends.
        static CKeySchedules* schedules = new CKeySchedules;
        return *schedules;
    }

    // Copies the schedule of key into out.
    void CopyFor(const char* key, BF_KEY* out) {
        std::lock_guard lock(m_mutex);
        *out = For(key);
    }

private:
    const BF_KEY& For(const char* key) {
        const size_t n = std::min(std::strlen(key), kMaxKey);
        Slot* oldest = &m_slots[0];
        for (Slot& slot : m_slots) {
            if (slot.lastUse != 0 && slot.length == n && std::memcmp(slot.key, key, n) == 0) {
                slot.lastUse = ++m_uses;
                return slot.schedule;
            }
            if (slot.lastUse < oldest->lastUse)
                oldest = &slot;
        }
        std::memcpy(oldest->key, key, n);
        oldest->length = n;
        BF_set_key(&oldest->schedule, static_cast<int>(n), oldest->key);
        oldest->lastUse = ++m_uses;
        return oldest->schedule;
    }

    struct Slot {
        unsigned char key[kMaxKey];
        size_t length = 0;
        BF_KEY schedule;
        std::uint64_t lastUse = 0; // 0: empty
    };
    std::mutex m_mutex;
    Slot m_slots[4];
    std::uint64_t m_uses = 0;
};

// A copy of key's schedule for one message, wiped when it goes.
struct CSchedule {
    explicit CSchedule(const char* key) { CKeySchedules::Instance().CopyFor(key, &schedule); }
    ~CSchedule() { OPENSSL_cleanse(&schedule, sizeof schedule); }
    CSchedule(const CSchedule&) = delete;
    CSchedule& operator=(const CSchedule&) = delete;
    BF_KEY schedule;
};

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
    unsigned char iv[8] = {};
    const CSchedule schedule(key);
    BF_cbc_encrypt(plain.data(), output + kHeader, cipherLength, &schedule.schedule, iv, BF_ENCRYPT);
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
    unsigned char iv[8] = {};
    const CSchedule schedule(key);
    BF_cbc_encrypt(envelope + kHeader, plain.data(), cipherLength, &schedule.schedule, iv, BF_DECRYPT);
    if (Crc32(plain.data(), plainLength) != crc) return -4;
    std::memcpy(output, plain.data(), plainLength);
    return plainLength;
}
