// The service logon's key making, RSA enciphering and reply reading; see
// the header.
#include "framework/net/CServiceLogon.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "framework/net/CHttpPostClient.h"
#include "framework/net/NetFailure.h"
#include "framework/net/RequestText.h"
#include "platform/storage/AtomicFile.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>
#include <vector>

std::string CServiceLogon::MakeSessionKey() {
    static constexpr char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::string key;
    while (key.size() < kKeyLength) {
        unsigned char bytes[32];
        if (RAND_bytes(bytes, sizeof bytes) != 1)
            return {};
        for (unsigned char b : bytes) {
            // 248 = 4 × 62: values above it would favour the first letters.
            if (b < 248 && key.size() < kKeyLength)
                key += kAlphabet[b % 62];
        }
    }
    return key;
}

std::string CServiceLogon::EncipherKey(const std::string& key, const std::string& publicKeyPath) {
    std::optional<std::vector<uint8_t>> der = ReadWholeFile(publicKeyPath);
    return der ? EncipherKey(key, *der) : std::string();
}

std::string CServiceLogon::EncipherKey(const std::string& key, const std::vector<std::uint8_t>& publicKeyDer) {
    const unsigned char* p = publicKeyDer.data();
    EVP_PKEY* pkey = d2i_PUBKEY(nullptr, &p, static_cast<long>(publicKeyDer.size()));
    if (!pkey)
        return {};
    std::string hex;
    EVP_PKEY_CTX* ctx = EVP_PKEY_CTX_new(pkey, nullptr);
    size_t length = 0;
    if (ctx && EVP_PKEY_get_base_id(pkey) == EVP_PKEY_RSA && EVP_PKEY_encrypt_init(ctx) == 1 &&
        EVP_PKEY_CTX_set_rsa_padding(ctx, RSA_PKCS1_OAEP_PADDING) == 1 &&
        EVP_PKEY_encrypt(ctx, nullptr, &length, reinterpret_cast<const unsigned char*>(key.data()), key.size()) ==
            1) {
        std::vector<unsigned char> cipher(length);
        if (EVP_PKEY_encrypt(ctx, cipher.data(), &length, reinterpret_cast<const unsigned char*>(key.data()),
                             key.size()) == 1) {
            hex.assign(length * 2 + 1, '\0');
            HexEncode(cipher.data(), static_cast<int>(length), hex.data(), 1);
            hex.pop_back();
        }
    }
    EVP_PKEY_CTX_free(ctx);
    EVP_PKEY_free(pkey);
    return hex;
}

std::string CServiceLogon::BuildRequest(const std::string& key, const std::string& publicKeyPath,
                                        const CCommonTail& tail) {
    return BuildRequestWithCipher(EncipherKey(key, publicKeyPath), tail);
}

std::string CServiceLogon::BuildRequestWithCipher(const std::string& cipherHex, const CCommonTail& tail) {
    if (cipherHex.empty())
        return {};
    std::string text = BuildRequestText(kMainFunc, kSubFunc, "key=" + cipherHex);
    CCommonTail logonTail = tail;
    logonTail.session.clear();
    AppendCommonTail(text, logonTail);
    return text;
}

std::optional<std::string> CServiceLogon::ReadSession(const std::uint8_t* body, size_t length) {
    if (!body || length > static_cast<size_t>(INT32_MAX))
        return std::nullopt;
    CDataSetList list(body, static_cast<int>(length));
    if (list.IsError() || list.GetCount() < 1)
        return std::nullopt;
    CDataSet* set = *list.GetAt(0);
    if (!set || !set->MoveFirst())
        return std::nullopt;
    int column = set->FindColumn("session");
    std::string session = set->GetFieldText(column >= 0 ? column : 0).ToAnsi();
    // The session travels in every request's tail: a value that would end
    // early or inject another parameter is not a session.
    if (!IsPlainTailValue(session))
        return std::nullopt;
    return session;
}

int CServiceLogon::Run(CHttpPostClient& client, const std::string& publicKeyPath, const CCommonTail& tail,
                       std::string* key, std::string* session) {
    std::string newKey = MakeSessionKey();
    std::string text = newKey.empty() ? std::string() : BuildRequest(newKey, publicKeyPath, tail);
    if (text.empty())
        return NET_ERR_SERVER;
    CHttpOutcome outcome = client.Post(text, newKey);
    if (outcome.aborted)
        return -1;
    if (outcome.transportCode != 0)
        return outcome.transportCode;
    if (outcome.serverError != 0)
        return NET_ERR_SERVER;
    std::optional<std::string> newSession = ReadSession(outcome.body.data(), outcome.body.size());
    if (!newSession)
        return NET_ERR_BAD_REPLY;
    *key = newKey;
    *session = *newSession;
    return 0;
}
