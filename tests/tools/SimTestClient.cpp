// The test client's helpers (see the header).
#include "SimTestClient.h"

#include "core/SealEnvelope.h"
#include "core/StrUtil.h"
#include "core/ZlibCodec.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
std::string Hex(const uint8_t* data, size_t size) {
    std::string out(size * 2 + 1, '\0');
    HexEncode(data, static_cast<int>(size), out.data(), 1);
    out.resize(size * 2);
    return out;
}

// Tries to take one complete reply out of raw; true when it is complete, with
// *used its length in raw.
bool TryParse(const std::string& raw, RawReply& r, size_t* used) {
    size_t end = raw.find("\r\n\r\n");
    if (end == std::string::npos) return false;
    r.gotHeaders = true;
    std::string head = raw.substr(0, end);
    r.status = std::atoi(head.c_str() + head.find(' ') + 1);
    size_t pos = 0;
    r.contentLength = -1;
    r.chunked = false;
    r.connectionClose = false;
    while ((pos = head.find("\r\n", pos)) != std::string::npos) {
        pos += 2;
        size_t lineEnd = head.find("\r\n", pos);
        std::string line = head.substr(pos, lineEnd == std::string::npos ? std::string::npos : lineEnd - pos);
        size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string name = line.substr(0, colon), value = line.substr(colon + 1);
        while (!value.empty() && value[0] == ' ') value.erase(0, 1);
        if (!strcasecmp(name.c_str(), "ETag")) r.etag = value;
        if (!strcasecmp(name.c_str(), "Content-Length")) r.contentLength = std::atol(value.c_str());
        if (!strcasecmp(name.c_str(), "Transfer-Encoding")) r.chunked = !strcasecmp(value.c_str(), "chunked");
        if (!strcasecmp(name.c_str(), "Connection")) r.connectionClose = !strcasecmp(value.c_str(), "close");
    }
    std::string rest = raw.substr(end + 4);
    r.body.clear();
    if (!r.chunked) {
        size_t n = r.contentLength < 0 ? rest.size() : std::min<size_t>(rest.size(), r.contentLength);
        r.body.assign(rest.begin(), rest.begin() + static_cast<long>(n));
        *used = end + 4 + n;
        return r.contentLength >= 0 && rest.size() >= static_cast<size_t>(r.contentLength);
    }
    size_t p = 0;
    while (true) {
        size_t eol = rest.find("\r\n", p);
        if (eol == std::string::npos) return false;
        size_t size = std::strtoul(rest.c_str() + p, nullptr, 16);
        p = eol + 2;
        if (size == 0) {
            *used = end + 4 + p + 2;
            return rest.size() >= p + 2;
        }
        size_t take = std::min(size, rest.size() - p);
        r.body.insert(r.body.end(), rest.begin() + static_cast<long>(p), rest.begin() + static_cast<long>(p + take));
        if (take < size || rest.size() < p + size + 2) return false;
        p += size + 2;
    }
}
} // namespace

SimConnection::SimConnection(int port) : m_port(port) {
    m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (m_fd >= 0 && ::connect(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

SimConnection::~SimConnection() {
    if (m_fd >= 0) ::close(m_fd);
}

bool SimConnection::Send(const std::string& bytes) {
    return m_fd >= 0 && ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

bool SimConnection::Post(const std::string& body) { return Send(PostBytes(m_port, body)); }

bool SimConnection::WaitReadable(int timeoutMs) {
    pollfd p{m_fd, POLLIN, 0};
    return m_fd >= 0 && ::poll(&p, 1, timeoutMs) > 0;
}

RawReply SimConnection::Read(int timeoutMs) {
    RawReply r;
    r.connected = m_fd >= 0;
    if (!r.connected) return r;
    std::string raw;
    raw.swap(m_pending);
    size_t used = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        r.complete = TryParse(raw, r, &used);
        if (r.complete || std::chrono::steady_clock::now() >= deadline) break;
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        char buf[8192];
        ssize_t n = ::recv(m_fd, buf, sizeof buf, 0);
        if (n <= 0) {
            r.closedByServer = true;
            r.reset = n < 0 && errno == ECONNRESET;
            break;
        }
        ++r.reads;
        raw.append(buf, static_cast<size_t>(n));
    }
    if (r.complete) {
        m_pending = raw.substr(used);
        raw.resize(used);
    }
    r.rawBytes = raw.size();
    return r;
}

std::string PostBytes(int port, const std::string& body) {
    return "POST / HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
           "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

RawReply SendRaw(int port, const std::string& bytes, int timeoutMs) {
    SimConnection connection(port);
    if (!connection.IsConnected()) return {};
    connection.Send(bytes);
    return connection.Read(timeoutMs);
}

RawReply PostRaw(int port, const std::string& body, int timeoutMs) {
    return SendRaw(port, PostBytes(port, body), timeoutMs);
}

bool ParseETag(const std::string& etag, int numbers[4]) {
    std::string t = etag;
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
    const char* p = t.c_str();
    for (int i = 0; i < 4; ++i) {
        char* end = nullptr;
        long v = std::strtol(p, &end, 10);
        if (end == p) return false;
        numbers[i] = static_cast<int>(v);
        if (i < 3 && *end != ',') return false;
        if (i == 3 && *end) return false;
        p = end + 1;
    }
    return true;
}

int ErrorOf(const RawReply& reply) {
    int n[4];
    return reply.complete && ParseETag(reply.etag, n) ? n[0] : -1;
}

std::unique_ptr<CDataSetList> OpenReply(const RawReply& reply, const std::string& key) {
    int n[4];
    if (!reply.complete || !ParseETag(reply.etag, n)) return nullptr;
    std::vector<uint8_t> body = reply.body;
    if (n[3] == 36) {
        if (body.size() < 16) return nullptr;
        std::vector<uint8_t> plain(body.size() - 8);
        int len = OpenSealedData(key.c_str(), body.data(), static_cast<int>(body.size()), plain.data());
        if (len < 0) return nullptr;
        plain.resize(len);
        body.swap(plain);
    }
    if (n[2] == 18) {
        std::vector<uint8_t> out;
        if (!ZlibUncompress(body.data(), body.size(), out)) return nullptr;
        body.swap(out);
    }
    auto list = std::make_unique<CDataSetList>(body.data(), static_cast<int>(body.size()));
    return list;
}

std::string EncipherSessionKey(const std::string& key) {
    std::ifstream in(std::string(ORB_SOURCE_DIR) + "/resources/pubkey.bin", std::ios::binary);
    std::vector<unsigned char> der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const unsigned char* p = der.data();
    EVP_PKEY* pub = d2i_PUBKEY(nullptr, &p, static_cast<long>(der.size()));
    if (!pub) return {};
    EVP_PKEY_CTX* ctx = EVP_PKEY_CTX_new(pub, nullptr);
    std::string hex;
    size_t outLength = 0;
    if (ctx && EVP_PKEY_encrypt_init(ctx) > 0 && EVP_PKEY_CTX_set_rsa_padding(ctx, RSA_PKCS1_OAEP_PADDING) > 0 &&
        EVP_PKEY_encrypt(ctx, nullptr, &outLength, reinterpret_cast<const unsigned char*>(key.data()), key.size()) > 0) {
        std::vector<uint8_t> out(outLength);
        if (EVP_PKEY_encrypt(ctx, out.data(), &outLength, reinterpret_cast<const unsigned char*>(key.data()),
                             key.size()) > 0)
            hex = Hex(out.data(), outLength);
    }
    EVP_PKEY_CTX_free(ctx);
    EVP_PKEY_free(pub);
    return hex;
}

std::string SealRequest(const std::string& text, const std::string& key) {
    std::string outer, inner;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t amp = text.find('&', pos);
        std::string item = text.substr(pos, amp == std::string::npos ? std::string::npos : amp - pos);
        if (!item.empty()) {
            std::string& into = strncasecmp(item.c_str(), "tc_", 3) == 0 ? outer : inner;
            if (!into.empty()) into += '&';
            into += item;
        }
        if (amp == std::string::npos) break;
        pos = amp + 1;
    }
    std::vector<uint8_t> sealed(SealedSize(static_cast<int>(inner.size())));
    int n = SealData(key.c_str(), reinterpret_cast<const uint8_t*>(inner.data()), static_cast<int>(inner.size()),
                     sealed.data());
    if (n < 0) return {};
    return outer + "&TC_REQDATA=" + Hex(sealed.data(), n) + "&TC_REQLENGTH=" + std::to_string(inner.size()) +
           "&TC_ENCRYPT=36";
}

std::string LogOn(int port, const std::string& key) {
    RawReply r = PostRaw(port, "tc_service=300&tc_isunicode=1&TC_MFUNCNO=100&TC_SFUNCNO=1&key=" +
                                   EncipherSessionKey(key) + "&supportCompress=18&session=");
    auto list = OpenReply(r, key);
    if (!list || list->IsError() || list->GetCount() < 1) return {};
    CDataSet* set = *list->GetAt(0);
    set->MoveFirst();
    auto text = set->GetFieldTextByName("session");
    if (!text) return {};
    std::string out;
    for (char16_t c : std::u16string_view(text->c_str())) out += static_cast<char>(c);
    return out;
}
