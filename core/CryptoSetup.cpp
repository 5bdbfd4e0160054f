#include "core/CryptoSetup.h"

#include <mutex>
#include <openssl/crypto.h>
#include <openssl/rand.h>

void PrepareCrypto() {
    static std::once_flag once;
    std::call_once(once, [] {
        OPENSSL_init_crypto(OPENSSL_INIT_LOAD_CONFIG, nullptr);
        // The generator sets itself up at its first use.
        unsigned char byte = 0;
        RAND_bytes(&byte, 1);
    });
}
