// The service logon (function 100/1): a fresh 16-character session key,
// enciphered with the RSA public key of "pubkey.bin" (DER
// SubjectPublicKeyInfo, PKCS#1 OAEP) and sent as upper-case hex in "key=";
// the reply's set 0 carries the session string. The start-up's logon
// window builds the request and reads the reply with these pieces; a worker
// that meets a lost session runs the whole exchange with Run.
#pragma once

#include "core/FunctionNumbers.h"
#include "framework/net/RequestText.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CHttpPostClient;

class CServiceLogon {
public:
    static constexpr int kMainFunc = kFuncLogon.main;
    static constexpr int kSubFunc = kFuncLogon.sub;
    static constexpr size_t kKeyLength = 16;

    // kKeyLength random characters of [0-9A-Za-z] from the OpenSSL random
    // generator; empty when it fails.
    static std::string MakeSessionKey();
    // key enciphered under the public key in the DER file, as upper-case
    // hex; empty when the file is missing or holds no RSA public key.
    static std::string EncipherKey(const std::string& key, const std::string& publicKeyPath);
    // The same with the file's bytes, for a caller that read them itself.
    static std::string EncipherKey(const std::string& key, const std::vector<std::uint8_t>& publicKeyDer);
    // The whole request text "TC_MFUNCNO=100&TC_SFUNCNO=1&key=<hex>" with
    // the common tail (its session left empty); empty when the key cannot
    // be enciphered.
    static std::string BuildRequest(const std::string& key, const std::string& publicKeyPath,
                                    const CCommonTail& tail);
    // The same for a key enciphered already (EncipherKey's hex); empty for
    // an empty hex.
    static std::string BuildRequestWithCipher(const std::string& cipherHex, const CCommonTail& tail);
    // The session string of a reply body: set 0, row 0, the field "session"
    // (field 0 when no column has that name); nullopt for an unreadable
    // body, an "error" set, no row or an empty value.
    static std::optional<std::string> ReadSession(const std::uint8_t* body, size_t length);

    // Runs a logon over client (on the caller's thread). On success stores
    // the new key and session string and returns 0; otherwise a failure
    // code 1..6 (5 for a refusal by the server, or no key file), or -1 when
    // aborted; *key and *session are then unchanged.
    static int Run(CHttpPostClient& client, const std::string& publicKeyPath, const CCommonTail& tail,
                   std::string* key, std::string* session);
};
