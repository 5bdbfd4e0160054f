// The POST exchange: connect (or reuse), send, read the head and the body,
// check the ETag, open and unpack; see the header.
#include "framework/net/CHttpPostClient.h"

#include "core/SealEnvelope.h"
#include "core/ZlibCodec.h"
#include "platform/net/CTcpSocket.h"
#include "framework/net/HttpWire.h"
#include "framework/net/NetFailure.h"

#include <algorithm>
#include <chrono>
#include <climits>

namespace {
constexpr std::string_view kBodyPrefix = "tc_service=300&tc_isunicode=1&";
constexpr size_t kReadChunk = 16 * 1024;
constexpr size_t kMaxChunkLine = 1024;

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

CHttpPostClient::CHttpPostClient() {
    m_factory = [](CAbortSignal* abort) { return std::make_unique<CTcpSocket>(abort); };
}

CHttpPostClient::~CHttpPostClient() = default;

std::string CHttpPostClient::GetHost() const {
    std::lock_guard<std::mutex> guard(m_configLock);
    return m_config.host;
}

int CHttpPostClient::GetPort() const {
    std::lock_guard<std::mutex> guard(m_configLock);
    return m_config.port;
}

void CHttpPostClient::SetServer(const std::string& host, int port) {
    std::lock_guard<std::mutex> guard(m_configLock);
    m_config.host = host;
    m_config.port = port;
}

void CHttpPostClient::SetConnectType(int type) {
    std::lock_guard<std::mutex> guard(m_configLock);
    m_config.connectType = type;
}

int CHttpPostClient::GetConnectType() const {
    std::lock_guard<std::mutex> guard(m_configLock);
    return m_config.connectType;
}

void CHttpPostClient::SetGateway(const std::string& host, int port) {
    std::lock_guard<std::mutex> guard(m_configLock);
    m_config.gatewayHost = host;
    m_config.gatewayPort = port;
}

void CHttpPostClient::SetTimeouts(int connectMs, int ioMs, int totalMs) {
    std::lock_guard<std::mutex> guard(m_configLock);
    m_config.connectTimeoutMs = connectMs;
    m_config.ioTimeoutMs = ioMs;
    m_config.totalTimeoutMs = totalMs;
}

bool CHttpPostClient::TryAbort() {
    std::lock_guard<std::mutex> guard(m_commitLock);
    if (m_protected && m_committed)
        return false;
    m_abort.Raise();
    return true;
}

void CHttpPostClient::ResetAbort() {
    std::lock_guard<std::mutex> guard(m_commitLock);
    m_abort.Reset();
    m_committed = false;
}

int CHttpPostClient::StepTimeout(int limitMs) const {
    const long long left = m_deadlineMs - NowMs();
    if (left <= 0)
        return 0;
    return static_cast<int>(std::min<long long>(left, limitMs));
}

void CHttpPostClient::SetSocketFactory(SocketFactory factory) {
    std::lock_guard<std::mutex> guard(m_configLock);
    m_factory = std::move(factory);
    m_factoryChanged = true;
}

void CHttpPostClient::Disconnect() {
    if (m_socket)
        m_socket->Close();
    m_socket.reset();
    m_connectedTo.clear();
    m_in.clear();
}

NetIo CHttpPostClient::ReadMore(int timeoutMs, CHttpOutcome& out) {
    char buffer[kReadChunk];
    size_t got = 0;
    const int wait = StepTimeout(timeoutMs);
    if (wait <= 0)
        return NetIo::TimedOut;
    NetIo io = m_socket->Receive(buffer, sizeof buffer, wait, &got);
    if (io == NetIo::Ok) {
        m_in.append(buffer, got);
        out.bytesReceived += got;
        m_bytesReceived += got;
    }
    return io;
}

int CHttpPostClient::ReadLine(std::string& line, size_t limit, int timeoutMs, CHttpOutcome& out) {
    for (;;) {
        size_t end = m_in.find('\n');
        if (end != std::string::npos) {
            if (end > limit)
                return NET_ERR_BAD_REPLY;
            line.assign(m_in, 0, end);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            m_in.erase(0, end + 1);
            return 0;
        }
        if (m_in.size() > limit)
            return NET_ERR_BAD_REPLY;
        NetIo io = ReadMore(timeoutMs, out);
        if (io != NetIo::Ok)
            return IoFailureCode(io);
    }
}

int CHttpPostClient::ReadExactly(std::uint64_t n, std::vector<std::uint8_t>& into, int timeoutMs,
                                 CHttpOutcome& out) {
    while (n > 0) {
        if (m_in.empty()) {
            NetIo io = ReadMore(timeoutMs, out);
            if (io != NetIo::Ok)
                return IoFailureCode(io);
        }
        size_t take = static_cast<size_t>(std::min<std::uint64_t>(n, m_in.size()));
        into.insert(into.end(), m_in.begin(), m_in.begin() + static_cast<std::ptrdiff_t>(take));
        m_in.erase(0, take);
        n -= take;
    }
    return 0;
}

int CHttpPostClient::ReadReply(const Config& config, const std::string& sessionKey, CHttpOutcome& out) {
    const int timeout = config.ioTimeoutMs;
    // Head: up to the blank line, within kMaxHead bytes.
    size_t headEnd = std::string::npos;
    size_t sepLength = 0;
    for (;;) {
        size_t crlf = m_in.find("\r\n\r\n");
        size_t lf = m_in.find("\n\n");
        headEnd = std::min(crlf, lf);
        sepLength = headEnd == crlf ? 4 : 2;
        if (headEnd != std::string::npos)
            break;
        if (m_in.size() > kMaxHead)
            return NET_ERR_BAD_REPLY;
        NetIo io = ReadMore(timeout, out);
        if (io != NetIo::Ok)
            return IoFailureCode(io);
    }
    if (headEnd > kMaxHead)
        return NET_ERR_BAD_REPLY;
    CHttpHead head;
    bool parsed = ParseHttpHead(std::string_view(m_in).substr(0, headEnd), kMaxBody, &head);
    m_in.erase(0, headEnd + sepLength);
    if (!parsed || head.status != 200 || (!head.hasLength && !head.chunked))
        return NET_ERR_BAD_REPLY;
    CReplyTag tag;
    if (!head.hasETag || !ParseReplyTag(head.etag, &tag))
        return NET_ERR_BAD_REPLY;
    out.serverError = tag.error;

    // Body.
    std::vector<std::uint8_t> body;
    if (head.hasLength) {
        body.reserve(static_cast<size_t>(std::min<std::uint64_t>(head.contentLength, 1u << 20)));
        if (int rc = ReadExactly(head.contentLength, body, timeout, out))
            return rc;
    } else {
        std::string line;
        for (;;) {
            if (int rc = ReadLine(line, kMaxChunkLine, timeout, out))
                return rc;
            std::uint64_t size = 0;
            if (!ParseChunkSize(line, kMaxBody - body.size(), &size))
                return NET_ERR_BAD_REPLY;
            if (size == 0)
                break;
            if (int rc = ReadExactly(size, body, timeout, out))
                return rc;
            if (int rc = ReadLine(line, kMaxChunkLine, timeout, out))
                return rc;
            if (!line.empty())
                return NET_ERR_BAD_REPLY;
        }
        // Trailer lines up to the blank one.
        for (int count = 0;; ++count) {
            if (count > 64)
                return NET_ERR_BAD_REPLY;
            if (int rc = ReadLine(line, kMaxChunkLine, timeout, out))
                return rc;
            if (line.empty())
                break;
        }
    }
    if (head.closeAfter)
        Disconnect();

    // Open, then unpack.
    if (tag.cipher == 36) {
        if (body.size() > INT_MAX || sessionKey.empty())
            return NET_ERR_BAD_REPLY;
        std::vector<std::uint8_t> plain(body.size() >= 8 ? body.size() - 8 : 0);
        int n = OpenSealedData(sessionKey.c_str(), body.data(), static_cast<int>(body.size()), plain.data());
        if (n < 0)
            return NET_ERR_BAD_REPLY;
        plain.resize(static_cast<size_t>(n));
        body.swap(plain);
    } else if (tag.cipher != 0) {
        return NET_ERR_BAD_REPLY;
    }
    if (tag.compression == 18) {
        std::vector<std::uint8_t> unpacked;
        if (!ZlibUncompress(body.data(), body.size(), unpacked))
            return NET_ERR_BAD_REPLY;
        body.swap(unpacked);
    } else if (tag.compression != 0) {
        return NET_ERR_BAD_REPLY;
    }
    out.body.swap(body);
    return 0;
}

CHttpOutcome CHttpPostClient::Post(std::string_view requestText, const std::string& sessionKey, bool isProtected) {
    CHttpOutcome out;
    Config config;
    SocketFactory factory;
    {
        std::lock_guard<std::mutex> guard(m_configLock);
        config = m_config;
        factory = m_factory;
        if (m_factoryChanged) {
            m_factoryChanged = false;
            Disconnect();
        }
    }
    m_deadlineMs = NowMs() + std::max(config.totalTimeoutMs, 0);
    {
        std::lock_guard<std::mutex> guard(m_commitLock);
        m_protected = isProtected;
        m_committed = false;
    }
    const bool viaGateway = config.connectType == 1;
    const std::string peerHost = viaGateway ? config.gatewayHost : config.host;
    const int peerPort = viaGateway ? config.gatewayPort : config.port;
    const std::string peer = peerHost + ":" + std::to_string(peerPort);

    auto finish = [&](int code) {
        if (code == -1) {
            out.aborted = true;
            code = 0;
        }
        out.transportCode = code;
        if (code != 0 || out.aborted) {
            Disconnect();
            out.body.clear();
        }
        return out;
    };

    if (m_abort.IsRaised())
        return finish(-1);
    // A kept connection serves only the same peer and only while quiet. A
    // protected request always takes a fresh one: a kept connection the
    // server closed a moment ago would fail it after it left, unread, and
    // its outcome would be unknown for nothing.
    if (m_socket && (isProtected || m_connectedTo != peer || !m_socket->IsReusable()))
        Disconnect();
    if (!m_socket) {
        m_socket = factory(&m_abort);
        if (!m_socket)
            return finish(NET_ERR_NO_NETWORK);
        NetConnect connected = m_socket->Connect(peerHost, peerPort, StepTimeout(config.connectTimeoutMs));
        if (connected == NetConnect::Aborted)
            return finish(-1);
        if (connected != NetConnect::Ok)
            return finish(connected == NetConnect::NotResolved ? NET_ERR_NO_NETWORK : NET_ERR_CONNECT);
        m_connectedTo = peer;
    }
    m_in.clear();

    std::string body;
    body.reserve(kBodyPrefix.size() + requestText.size());
    body.append(kBodyPrefix).append(requestText);
    std::string request = BuildPostHead(config.host, config.port, viaGateway, body.size());
    request += body;
    {
        // From here a byte may leave: a protected request can no longer be
        // abandoned, and an abort that came first stops it unsent.
        std::lock_guard<std::mutex> guard(m_commitLock);
        if (m_abort.IsRaised())
            return finish(-1);
        m_committed = true;
    }
    size_t sent = 0;
    NetIo io = m_socket->Send(request.data(), request.size(), StepTimeout(config.ioTimeoutMs), &sent);
    out.bytesSent += sent;
    m_bytesSent += sent;
    out.requestLeft = sent > 0;
    if (io == NetIo::Aborted)
        return finish(-1);
    if (io != NetIo::Ok || sent != request.size())
        return finish(NET_ERR_SEND);
    return finish(ReadReply(config, sessionKey, out));
}
