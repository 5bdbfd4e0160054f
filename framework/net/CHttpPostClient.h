// The HTTP/1.1 POST client of a request worker: one request at a time over
// one kept-alive connection to the configured server, or to the operator's
// gateway proxy with the server named in "X-Online-Host" (docs/protocol.md).
//
// Post runs on the worker's thread; the setters, GetHost, Abort and the
// traffic totals may be called from any thread. A changed server or
// connection type takes effect from the next request.
//
// Time: each wait is bounded by its own time-out (connect, or the longest
// silence while sending or receiving) and the whole exchange — connect,
// send and the whole reply — by an overall deadline, so a server that
// drips one byte at a time still ends in a failure.
//
// Never twice: a request posted as protected cannot be abandoned once its
// first byte may have left (TryAbort refuses), because an abandoned order
// that reached the server would leave its outcome unknown.
#pragma once

#include "platform/net/CAbortSignal.h"
#include "platform/net/INetSocket.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// What one exchange came to.
struct CHttpOutcome {
    int transportCode = 0;     // 0, or a failure code 1..6 of NetFailure.h
    bool aborted = false;      // the abort signal stopped it (transportCode then 0)
    bool requestLeft = false;  // some byte of the request was handed to the network
    int serverError = 0;       // the ETag's error number (valid when a head was read)
    std::vector<std::uint8_t> body; // opened and unpacked body (also for a server error)
    std::uint64_t bytesSent = 0;     // by this exchange, headers included
    std::uint64_t bytesReceived = 0; // by this exchange, headers included
};

class CHttpPostClient {
public:
    static constexpr int kDefaultPort = 8002;
    static constexpr int kDefaultConnectTimeoutMs = 20000;
    static constexpr int kDefaultIoTimeoutMs = 30000;  // longest silence while sending or receiving
    static constexpr int kDefaultTotalTimeoutMs = 60000; // the whole exchange
    static constexpr std::uint64_t kMaxBody = 32u * 1024 * 1024; // bytes on the wire
    static constexpr size_t kMaxHead = 16 * 1024;      // bytes of status line and headers
    static constexpr const char* kGatewayHost = "10.0.0.172";
    static constexpr int kGatewayPort = 80;

    // Makes the socket for a connection; the signal outlives it.
    using SocketFactory = std::function<std::unique_ptr<INetSocket>(CAbortSignal*)>;

    CHttpPostClient();
    ~CHttpPostClient();
    CHttpPostClient(const CHttpPostClient&) = delete;
    CHttpPostClient& operator=(const CHttpPostClient&) = delete;

    std::string GetHost() const;
    int GetPort() const;
    void SetServer(const std::string& host, int port);
    // 0 direct; 1 through the gateway proxy (the "Connect_Type" setting).
    void SetConnectType(int type);
    int GetConnectType() const;
    void SetGateway(const std::string& host, int port);
    // Milliseconds; totalMs bounds the whole exchange (connect to last byte).
    void SetTimeouts(int connectMs, int ioMs, int totalMs = kDefaultTotalTimeoutMs);
    // Replaces the real TCP socket (a test seam); the next request connects anew.
    void SetSocketFactory(SocketFactory factory);

    // Any thread: stops the exchange in flight at its next wait, protected
    // or not (program end).
    void Abort() { m_abort.Raise(); }
    // Any thread: stops the exchange in flight unless it is protected and
    // its sending has begun; false (nothing changed) in that case.
    bool TryAbort();
    // Lowers the abort flag (and forgets the last protected send) before
    // the next request.
    void ResetAbort();

    // Sends "tc_service=300&tc_isunicode=1&" + requestText and reads the
    // reply, opening a sealed body with sessionKey and unpacking a packed
    // one. With isProtected the request goes on a fresh connection and
    // TryAbort is refused from the moment the first byte may leave. Never
    // throws; every failure is in the outcome.
    CHttpOutcome Post(std::string_view requestText, const std::string& sessionKey, bool isProtected = false);
    // Drops the connection (the next request connects anew).
    void Disconnect();

    std::uint64_t GetBytesSent() const { return m_bytesSent.load(); }
    std::uint64_t GetBytesReceived() const { return m_bytesReceived.load(); }

private:
    struct Config {
        std::string host;
        int port = kDefaultPort;
        int connectType = 0;
        std::string gatewayHost = kGatewayHost;
        int gatewayPort = kGatewayPort;
        int connectTimeoutMs = kDefaultConnectTimeoutMs;
        int ioTimeoutMs = kDefaultIoTimeoutMs;
        int totalTimeoutMs = kDefaultTotalTimeoutMs;
    };
    // The wait for one step: its own limit, cut to what is left of the
    // exchange's deadline (0 once it has passed).
    int StepTimeout(int limitMs) const;
    // Reads more bytes into m_in; NetIo of the receive.
    NetIo ReadMore(int timeoutMs, CHttpOutcome& out);
    // Takes one line (without its end) from m_in, reading as needed; a code
    // 4 or 6 on failure, -1 when aborted, 0 on success.
    int ReadLine(std::string& line, size_t limit, int timeoutMs, CHttpOutcome& out);
    int ReadExactly(std::uint64_t n, std::vector<std::uint8_t>& into, int timeoutMs, CHttpOutcome& out);
    int ReadReply(const Config& config, const std::string& sessionKey, CHttpOutcome& out);
    static int IoFailureCode(NetIo io) { return io == NetIo::Aborted ? -1 : 4; }

    mutable std::mutex m_configLock;
    Config m_config;
    SocketFactory m_factory;
    bool m_factoryChanged = false;

    CAbortSignal m_abort;
    std::mutex m_commitLock;              // orders TryAbort against the start of a protected send
    bool m_protected = false;             // the exchange in flight may not be abandoned once sent
    bool m_committed = false;             // its sending has begun
    long long m_deadlineMs = 0;           // steady-clock ms at which the exchange gives up
    std::unique_ptr<INetSocket> m_socket; // worker thread only
    std::string m_connectedTo;            // "host:port" the socket is connected to
    std::string m_in;                     // received bytes not yet consumed
    std::atomic<std::uint64_t> m_bytesSent{0};
    std::atomic<std::uint64_t> m_bytesReceived{0};
};
