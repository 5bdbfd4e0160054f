// The simulator's half of the service logon cipher: an RSA private key that
// opens the session key the client enciphered with the public key of
// "pubkey.bin" (PKCS#1 OAEP with SHA-1 and MGF1-SHA-1, OpenSSL's default
// OAEP parameters).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

typedef struct evp_pkey_st EVP_PKEY;

class CSimRsaKey {
public:
    CSimRsaKey() = default;
    ~CSimRsaKey();
    CSimRsaKey(const CSimRsaKey&) = delete;
    CSimRsaKey& operator=(const CSimRsaKey&) = delete;

    // Reads a PEM private key; false when the text holds none.
    bool LoadPem(const char* pem);
    // The plain bytes of an OAEP cipher text; nullopt without a key or when
    // the cipher text does not decipher.
    std::optional<std::string> Decrypt(const uint8_t* cipher, size_t size) const;

private:
    EVP_PKEY* m_key = nullptr;
};
