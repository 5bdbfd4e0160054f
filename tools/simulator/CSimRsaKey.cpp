// RSA-OAEP deciphering through OpenSSL's EVP interface.
#include "tools/simulator/CSimRsaKey.h"

#include <cstring>
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

CSimRsaKey::~CSimRsaKey() { EVP_PKEY_free(m_key); }

bool CSimRsaKey::LoadPem(const char* pem) {
    if (!pem) return false;
    BIO* bio = BIO_new_mem_buf(pem, static_cast<int>(std::strlen(pem)));
    if (!bio) return false;
    EVP_PKEY* key = PEM_read_bio_PrivateKey(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    if (!key) return false;
    EVP_PKEY_free(m_key);
    m_key = key;
    return true;
}

std::optional<std::string> CSimRsaKey::Decrypt(const uint8_t* cipher, size_t size) const {
    if (!m_key || !cipher || size == 0) return std::nullopt;
    EVP_PKEY_CTX* ctx = EVP_PKEY_CTX_new(m_key, nullptr);
    if (!ctx) return std::nullopt;
    std::optional<std::string> result;
    size_t outLength = 0;
    if (EVP_PKEY_decrypt_init(ctx) > 0 && EVP_PKEY_CTX_set_rsa_padding(ctx, RSA_PKCS1_OAEP_PADDING) > 0 &&
        EVP_PKEY_decrypt(ctx, nullptr, &outLength, cipher, size) > 0) {
        std::string out(outLength, '\0');
        if (EVP_PKEY_decrypt(ctx, reinterpret_cast<unsigned char*>(out.data()), &outLength, cipher, size) > 0) {
            out.resize(outLength);
            result = std::move(out);
        }
    }
    EVP_PKEY_CTX_free(ctx);
    return result;
}
