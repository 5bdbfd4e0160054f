// The server loop, request opening, reply packing and the fault seams. The
// HTTP side is deliberately small: one POST at a time per connection, a
// Content-Length request body, replies by Content-Length or chunked.
#include "tools/simulator/CBrokerSimulator.h"

#include "core/FunctionNumbers.h"
#include "core/SealEnvelope.h"
#include "core/ZlibCodec.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/CSimMenuTree.h"
#include "tools/simulator/CSimRsaKey.h"
#include "tools/simulator/SimPrivateKey.h"
#include "tools/simulator/SimQuoteRoutes.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {
constexpr size_t kMaxHeaderBytes = 64 * 1024;
constexpr size_t kMaxBodyBytes = CBrokerSimulator::kMaxBodyBytes;
constexpr int kIdleTimeoutMs = 30000;   // a kept-alive connection with no request is closed
constexpr int kPollSliceMs = 50;        // how often blocked loops look at the stop flag
constexpr int kAcceptPauseMs = 100;     // after accept found no descriptor (or thread) to spare
constexpr int kListenBacklog = 512;     // connections beyond the served ones wait here
constexpr size_t kMaxCountedFunctions = 4096;  // a peer may invent any number of function numbers
constexpr size_t kChunkSize = 4096;     // chunked replies: a 7-byte chunk, then chunks of this size

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

int ParseInt(const std::string& text, int fallback) {
    if (text.empty()) return fallback;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end || errno || v < -2147483647L || v > 2147483647L) return fallback;
    return static_cast<int>(v);
}

// "a=1&b=2" -> pairs; an item without "=" is a name with an empty value.
std::vector<std::pair<std::string, std::string>> SplitParams(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> out;
    while (!text.empty()) {
        size_t amp = text.find('&');
        std::string_view item = text.substr(0, amp);
        if (!item.empty()) {
            size_t eq = item.find('=');
            if (eq == std::string_view::npos)
                out.emplace_back(std::string(item), std::string());
            else
                out.emplace_back(std::string(item.substr(0, eq)), std::string(item.substr(eq + 1)));
        }
        if (amp == std::string_view::npos) break;
        text.remove_prefix(amp + 1);
    }
    return out;
}

bool HexDecode(std::string_view hex, std::vector<uint8_t>& out) {
    if (hex.size() % 2) return false;
    out.clear();
    out.reserve(hex.size() / 2);
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    for (size_t i = 0; i < hex.size(); i += 2) {
        int hi = nibble(hex[i]), lo = nibble(hex[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return true;
}

// Sends all bytes; false when the peer is gone.
bool SendAll(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool SendText(int fd, const std::string& text) { return SendAll(fd, text.data(), text.size()); }

std::string ChunkHeader(size_t size) {
    char line[32];
    std::snprintf(line, sizeof line, "%zx\r\n", size);
    return line;
}

// A request read off the socket.
struct HttpRequest {
    std::string method, target;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    bool keepAlive = true;
};

// How reading a request ended.
enum class ReadResult {
    Ok,
    Closed,          // the peer closed, went quiet past the idle time, or the server stops
    Malformed,       // answered 400: bad request line, header line, Content-Length or a Transfer-Encoding
    HeadTooLarge,    // answered 431: no blank line within kMaxHeaderBytes
    BodyTooLarge,    // answered 413: Content-Length above kMaxBodyBytes (nothing of the body is read)
    TimedOut,        // answered 408: head and body not in within the request deadline
};

// The status line a refused request is answered with; empty for none.
const char* RefusalStatus(ReadResult result) {
    switch (result) {
    case ReadResult::Malformed: return "400 Bad Request";
    case ReadResult::HeadTooLarge: return "431 Request Header Fields Too Large";
    case ReadResult::BodyTooLarge: return "413 Content Too Large";
    case ReadResult::TimedOut: return "408 Request Timeout";
    default: return "";
    }
}

// The key the last logon on this thread issued; routes run on the
// connection's thread, so Serve learns here which key its peer now holds.
thread_local std::string t_issuedKey;

// About what a logged request holds on to, for the log's byte bound.
size_t Footprint(const SimRequest& r) {
    size_t n = sizeof r + r.rawBody.size() + r.target.size() + r.sessionKey.size();
    for (const auto& [k, v] : r.params) n += k.size() + v.size() + 64;
    for (const auto& [k, v] : r.headers) n += k.size() + v.size() + 64;
    return n;
}

bool IsValidSessionKey(const std::string& key) {
    if (key.size() < 6 || key.size() > 72) return false;
    for (char c : key)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
    return true;
}
} // namespace

std::string SimRequest::Get(std::string_view name) const {
    for (const auto& [k, v] : params)
        if (EqualNoCase(k, name)) return v;
    return {};
}

bool SimRequest::Has(std::string_view name) const {
    for (const auto& p : params)
        if (EqualNoCase(p.first, name)) return true;
    return false;
}

int SimRequest::GetInt(std::string_view name, int fallback) const { return ParseInt(Get(name), fallback); }

std::string SimRequest::GetHeader(std::string_view name) const {
    for (const auto& [k, v] : headers)
        if (EqualNoCase(k, name)) return v;
    return {};
}

struct CBrokerSimulator::Impl {
    struct Connection {
        std::thread thread;
        int fd = -1;
        std::shared_ptr<std::atomic<bool>> done = std::make_shared<std::atomic<bool>>(false);
    };
    struct Targeted {
        int main, sub;
        SimFault fault;
        int count;
    };
    struct IssuedKey {
        std::string session, key;
    };

    // Guards everything down to the routes.
    mutable std::mutex mu;
    mutable std::condition_variable cv;
    std::atomic<bool> running{false};
    int listenFd = -1;
    int port = 0;
    int wakeRead = -1, wakeWrite = -1;   // wakes the accept loop's poll
    bool refusing = false;
    std::chrono::steady_clock::time_point refuseUntil;
    std::thread acceptThread;
    std::vector<Connection> connections;
    int served = 0;                               // connections whose Serve has not ended
    SimLimits limits;
    SimFraming framing = SimFraming::ContentLength;
    int replyCounter = 0;
    std::deque<std::pair<SimFault, int>> faults;
    std::vector<Targeted> targeted;
    // The request log: a ring of the newest requests, bounded in count and bytes.
    std::deque<SimRequest> log;
    size_t logFootprint = 0;
    uint64_t requestCounter = 0;                  // numbers the requests
    size_t loggedSinceClear = 0;
    std::map<std::pair<int, int>, int> counts;    // requests per function, whole run
    std::map<std::string, std::string> sessions;  // session string -> key, of the kept keys
    std::deque<IssuedKey> keys;                   // kept logon keys, least recently used first
    std::string lastKey, lastSession;
    int sessionCounter = 0;

    // The routes and the market; routes run under this lock, one at a time.
    std::mutex routeMu;
    std::map<std::pair<int, int>, SimRoute> routes;
    CSimMarket market;
    CSimRsaKey rsa;

    int OpenListener(int wanted);
    void AcceptLoop();
    void Serve(int fd);
    // Reads one request; anything but Ok ends the connection.
    ReadResult ReadRequest(int fd, std::string& buffer, HttpRequest& request, int deadlineMs);
    // Takes the fault due for a request of (main, sub), if any.
    SimFault TakeFault(int main, int sub);
    bool TakeAcceptFault();
    void Wake() {
        char c = 1;
        if (wakeWrite >= 0) (void)!::write(wakeWrite, &c, 1);
    }
    bool SleepInterruptible(int ms) {
        std::unique_lock<std::mutex> lock(mu);
        return !cv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return !running.load(); });
    }
    // Under mu: drops the oldest requests and keys beyond the limits.
    void TrimLog();
    void TrimKeys();
    // Under mu: marks key as just used, so that it is among the first tried.
    void TouchKey(const std::string& key);
    void Log(SimRequest request);
    // Waits ms; false as soon as the server stops or the peer has gone.
    bool WaitOnPeer(int fd, int ms);
    // Sends the reply's bytes, one at a time for Drip; false when the peer
    // is gone or the server stops.
    bool Transmit(int fd, const std::string& bytes, const SimFault& fault);
    // Opens the request; connectionKey is the key last issued or used on
    // the connection (tried early on a seal) and is updated.
    SimRequest OpenRequest(const HttpRequest& http, std::string& connectionKey, bool* sealBroken);
    SimReply Route(const SimRequest& request);
    void SendReply(int fd, const SimRequest& request, SimReply reply, const SimFault& fault, bool* closeAfter);

    SimReply Logon(const SimRequest& request);
};

CBrokerSimulator::CBrokerSimulator() : m_impl(std::make_unique<Impl>()) {
    m_impl->rsa.LoadPem(SimPrivateKeyPem());
    Impl* impl = m_impl.get();
    SetRoute(100, 1, [impl](const SimRequest& r, CSimMarket&) { return impl->Logon(r); });
    SetRoute(100, 2, [](const SimRequest&, CSimMarket&) {
        CDataSetWriter w;
        CSimMenuTree::WriteMenus(w);
        CSimMenuTree::WriteConfig(w);
        return SimReply::Ok(w);
    });
    SetRoute(100, 22, [](const SimRequest&, CSimMarket&) {
        CDataSetWriter w;
        w.AddSet("ok");
        return SimReply::Ok(w);
    });
    AddQuoteRoutes(*this);
}

CBrokerSimulator::~CBrokerSimulator() { Stop(); }

int CBrokerSimulator::Impl::OpenListener(int wanted) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(wanted));
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0 || ::listen(fd, kListenBacklog) < 0) {
        ::close(fd);
        return -1;
    }
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    port = ntohs(addr.sin_port);
    return fd;
}

int CBrokerSimulator::Start(int port) {
    Impl& d = *m_impl;
    std::lock_guard<std::mutex> lock(d.mu);
    if (d.running) return -1;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) < 0) return -1;
    d.listenFd = d.OpenListener(port);
    if (d.listenFd < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return -1;
    }
    d.wakeRead = pipeFds[0];
    d.wakeWrite = pipeFds[1];
    d.running = true;
    d.refusing = false;
    d.acceptThread = std::thread([&d] { d.AcceptLoop(); });
    return d.port;
}

void CBrokerSimulator::Stop() {
    Impl& d = *m_impl;
    std::vector<Impl::Connection> connections;
    {
        std::lock_guard<std::mutex> lock(d.mu);
        if (!d.running) return;
        d.running = false;
        d.Wake();
        // Unblock every connection thread; each closes its own socket.
        for (auto& c : d.connections) ::shutdown(c.fd, SHUT_RDWR);
    }
    d.cv.notify_all();
    if (d.acceptThread.joinable()) d.acceptThread.join();
    {
        std::lock_guard<std::mutex> lock(d.mu);
        connections.swap(d.connections);
    }
    for (auto& c : connections)
        if (c.thread.joinable()) c.thread.join();
    std::lock_guard<std::mutex> lock(d.mu);
    if (d.listenFd >= 0) ::close(d.listenFd);
    d.listenFd = -1;
    ::close(d.wakeRead);
    ::close(d.wakeWrite);
    d.wakeRead = d.wakeWrite = -1;
}

int CBrokerSimulator::GetPort() const {
    std::lock_guard<std::mutex> lock(m_impl->mu);
    return m_impl->running ? m_impl->port : -1;
}

void CBrokerSimulator::RefuseConnections(int ms) {
    Impl& d = *m_impl;
    std::unique_lock<std::mutex> lock(d.mu);
    if (!d.running) return;
    d.refusing = true;
    d.refuseUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    d.Wake();
    // The accept thread owns the listening socket; wait until it has closed it.
    d.cv.wait(lock, [&d] { return d.listenFd < 0 || !d.running; });
}

void CBrokerSimulator::Impl::AcceptLoop() {
    while (running) {
        int fd;
        {
            std::unique_lock<std::mutex> lock(mu);
            if (refusing) {
                if (listenFd >= 0) {
                    ::close(listenFd);
                    listenFd = -1;
                    cv.notify_all();
                }
                if (std::chrono::steady_clock::now() >= refuseUntil) {
                    listenFd = OpenListener(port);
                    refusing = false;
                } else {
                    cv.wait_until(lock, refuseUntil, [this] { return !running.load(); });
                    continue;
                }
            }
            // Reap the threads of closed connections.
            for (auto it = connections.begin(); it != connections.end();) {
                if (it->done->load()) {
                    it->thread.join();
                    it = connections.erase(it);
                } else {
                    ++it;
                }
            }
            // At the cap, further peers wait in the listen queue: accepting
            // them only to close them would fail clients a moment would serve.
            if (served >= limits.maxConnections) {
                cv.wait_for(lock, std::chrono::milliseconds(500),
                            [this] { return !running.load() || refusing || served < limits.maxConnections; });
                continue;
            }
            fd = listenFd;
        }
        if (fd < 0) {
            // Reopening failed (the port was taken meanwhile): try again shortly.
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollSliceMs));
            std::lock_guard<std::mutex> lock(mu);
            if (!refusing && listenFd < 0) listenFd = OpenListener(port);
            continue;
        }
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeRead, POLLIN, 0}};
        int n = ::poll(fds, 2, 500);
        if (n <= 0) continue;
        if (fds[1].revents) {
            char buf[64];
            while (::read(wakeRead, buf, sizeof buf) > 0) {}
        }
        if (!(fds[0].revents & POLLIN)) continue;
        int conn = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (conn < 0) {
            // The pending peer stays queued, so poll would wake at once
            // again: wait for descriptors to come free instead of spinning.
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                SleepInterruptible(kAcceptPauseMs);
            continue;
        }
        if (TakeAcceptFault()) {
            ::close(conn);
            continue;
        }
        int one = 1;
        ::setsockopt(conn, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::unique_lock<std::mutex> lock(mu);
        if (!running) {
            ::close(conn);
            break;
        }
        // A reply the peer does not read must not hold the thread for ever.
        timeval stall{limits.sendStallMs / 1000, (limits.sendStallMs % 1000) * 1000};
        ::setsockopt(conn, SOL_SOCKET, SO_SNDTIMEO, &stall, sizeof stall);
        // Listed before its thread starts, so Serve always finds its entry.
        connections.emplace_back();
        Connection& c = connections.back();
        c.fd = conn;
        ++served;
        auto done = c.done;
        try {
            c.thread = std::thread([this, conn, done] {
                Serve(conn);
                done->store(true);
            });
        } catch (const std::system_error&) {
            // No thread to spare: drop this peer and let running ones end.
            connections.pop_back();
            --served;
            ::close(conn);
            cv.wait_for(lock, std::chrono::milliseconds(kAcceptPauseMs), [this] { return !running.load(); });
        }
    }
}

ReadResult CBrokerSimulator::Impl::ReadRequest(int fd, std::string& buffer, HttpRequest& request,
                                              int deadlineMs) {
    using Clock = std::chrono::steady_clock;
    // Until the request's first byte the idle time applies; from it on, the
    // whole request has deadlineMs, so a peer that drips bytes is cut off.
    std::optional<Clock::time_point> deadline;
    auto startClock = [&] {
        if (!deadline && !buffer.empty()) deadline = Clock::now() + std::chrono::milliseconds(deadlineMs);
    };
    startClock();
    enum class More { Data, Closed, Expired };
    auto readMore = [&]() -> More {
        auto idleUntil = Clock::now() + std::chrono::milliseconds(kIdleTimeoutMs);
        while (running) {
            auto now = Clock::now();
            if (deadline && now >= *deadline) return More::Expired;
            if (!deadline && now >= idleUntil) return More::Closed;
            auto until = deadline ? *deadline : idleUntil;
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count() + 1;
            pollfd p{fd, POLLIN, 0};
            int n = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, kPollSliceMs)));
            if (n < 0 && errno != EINTR) return More::Closed;
            if (n > 0) {
                char chunk[16384];
                ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
                if (got < 0 && errno == EINTR) continue;
                if (got <= 0) return More::Closed;
                buffer.append(chunk, static_cast<size_t>(got));
                startClock();
                return More::Data;
            }
        }
        return More::Closed;
    };
    size_t end;
    size_t searched = 0;  // the head's end is looked for in new bytes only
    while ((end = buffer.find("\r\n\r\n", searched)) == std::string::npos) {
        if (buffer.size() > kMaxHeaderBytes) return ReadResult::HeadTooLarge;
        searched = buffer.size() < 3 ? 0 : buffer.size() - 3;
        // Nothing of a next request yet is a quiet end, not a fault.
        More more = readMore();
        if (more == More::Expired) return ReadResult::TimedOut;
        if (more == More::Closed) return ReadResult::Closed;
    }
    if (end > kMaxHeaderBytes) return ReadResult::HeadTooLarge;
    std::string head = buffer.substr(0, end);
    buffer.erase(0, end + 4);
    size_t lineEnd = head.find("\r\n");
    std::string line = head.substr(0, lineEnd);
    size_t s1 = line.find(' '), s2 = line.rfind(' ');
    if (s1 == std::string::npos || s2 == s1 || s1 == 0 || s2 == s1 + 1) return ReadResult::Malformed;
    request.method = line.substr(0, s1);
    request.target = line.substr(s1 + 1, s2 - s1 - 1);
    std::string version = line.substr(s2 + 1);
    if (version != "HTTP/1.1" && version != "HTTP/1.0") return ReadResult::Malformed;
    request.keepAlive = version != "HTTP/1.0";
    request.headers.clear();
    std::optional<size_t> contentLength;
    while (lineEnd != std::string::npos) {
        size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        std::string h = head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
        size_t colon = h.find(':');
        if (colon == std::string::npos || colon == 0) return ReadResult::Malformed;
        std::string name = h.substr(0, colon);
        size_t v = h.find_first_not_of(" \t", colon + 1);
        std::string value = v == std::string::npos ? std::string() : h.substr(v);
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
        if (EqualNoCase(name, "Content-Length")) {
            // Digits only, no sign, no overflow; two different lengths are a smuggling attempt.
            if (value.empty() || value.size() > 19 || value.find_first_not_of("0123456789") != std::string::npos)
                return ReadResult::Malformed;
            unsigned long long n = std::strtoull(value.c_str(), nullptr, 10);
            if (n > kMaxBodyBytes) return ReadResult::BodyTooLarge;
            if (contentLength && *contentLength != n) return ReadResult::Malformed;
            contentLength = static_cast<size_t>(n);
        } else if (EqualNoCase(name, "Connection")) {
            if (EqualNoCase(value, "close")) request.keepAlive = false;
            if (EqualNoCase(value, "keep-alive")) request.keepAlive = true;
        } else if (EqualNoCase(name, "Transfer-Encoding")) {
            return ReadResult::Malformed;  // requests come with a Content-Length
        }
        request.headers.emplace_back(std::move(name), std::move(value));
    }
    size_t length = contentLength.value_or(0);
    while (buffer.size() < length) {
        More more = readMore();
        if (more == More::Expired) return ReadResult::TimedOut;
        if (more == More::Closed) return ReadResult::Closed;
    }
    request.body = buffer.substr(0, length);
    buffer.erase(0, length);
    return ReadResult::Ok;
}

bool CBrokerSimulator::Impl::TakeAcceptFault() {
    std::lock_guard<std::mutex> lock(mu);
    if (faults.empty() || faults.front().first.kind != SimFaultKind::AcceptAndClose) return false;
    if (--faults.front().second <= 0) faults.pop_front();
    return true;
}

SimFault CBrokerSimulator::Impl::TakeFault(int main, int sub) {
    std::lock_guard<std::mutex> lock(mu);
    for (auto it = targeted.begin(); it != targeted.end(); ++it) {
        if (it->main == main && it->sub == sub) {
            SimFault f = it->fault;
            if (--it->count <= 0) targeted.erase(it);
            if (f.kind == SimFaultKind::AcceptAndClose) f.kind = SimFaultKind::CloseAfterRequest;
            return f;
        }
    }
    if (faults.empty()) return {};
    SimFault f = faults.front().first;
    if (--faults.front().second <= 0) faults.pop_front();
    return f;
}

SimRequest CBrokerSimulator::Impl::OpenRequest(const HttpRequest& http, std::string& connectionKey,
                                               bool* sealBroken) {
    SimRequest r;
    r.target = http.target;
    r.headers = http.headers;
    r.rawBody = http.body;
    *sealBroken = false;
    auto outer = SplitParams(http.body);
    std::string reqData, reqLength;
    size_t sealAt = std::string::npos;
    for (const auto& [k, v] : outer) {
        if (EqualNoCase(k, "TC_REQDATA")) {
            reqData = v;
            sealAt = r.params.size();
        } else if (EqualNoCase(k, "TC_REQLENGTH")) {
            reqLength = v;
        } else if (EqualNoCase(k, "TC_ENCRYPT")) {
            // The only cipher is 36; its number says nothing more.
        } else {
            r.params.emplace_back(k, v);
        }
    }
    // A seal costs a key schedule and a pass over the envelope per key
    // tried, so only a few keys are: the one of a "session" sent in clear,
    // the connection's own, then the most recently used ones.
    std::vector<std::string> candidates;
    if (sealAt != std::string::npos) {
        std::lock_guard<std::mutex> lock(mu);
        auto add = [&](const std::string& key) {
            if (!key.empty() && std::find(candidates.begin(), candidates.end(), key) == candidates.end())
                candidates.push_back(key);
        };
        for (const auto& [k, v] : r.params)
            if (EqualNoCase(k, "session"))
                if (auto it = sessions.find(v); it != sessions.end()) add(it->second);
        // Only a key still kept: a connection may outlive its logon's key.
        if (std::any_of(keys.begin(), keys.end(), [&](const IssuedKey& k) { return k.key == connectionKey; }))
            add(connectionKey);
        int tries = 0;
        for (auto it = keys.rbegin(); it != keys.rend() && tries < limits.sealTries; ++it, ++tries) add(it->key);
    }
    if (sealAt != std::string::npos) {
        r.sealed = true;
        std::vector<uint8_t> envelope;
        bool opened = false;
        if (HexDecode(reqData, envelope) && envelope.size() >= 16 && envelope.size() < kMaxBodyBytes) {
            std::vector<uint8_t> plain(envelope.size() - 8);
            for (const auto& key : candidates) {
                int n = OpenSealedData(key.c_str(), envelope.data(), static_cast<int>(envelope.size()), plain.data());
                if (n < 0) continue;
                if (!reqLength.empty() && ParseInt(reqLength, -1) != n) break;
                auto inner = SplitParams(std::string_view(reinterpret_cast<const char*>(plain.data()), n));
                r.params.insert(r.params.begin() + static_cast<std::ptrdiff_t>(sealAt), inner.begin(), inner.end());
                r.sessionKey = key;
                opened = true;
                break;
            }
        }
        *sealBroken = !opened;
        if (opened) {
            connectionKey = r.sessionKey;
            std::lock_guard<std::mutex> lock(mu);
            TouchKey(r.sessionKey);
        }
    }
    if (r.sessionKey.empty()) {
        std::lock_guard<std::mutex> lock(mu);
        auto it = sessions.find(r.Get("session"));
        r.sessionKey = it != sessions.end() ? it->second : lastKey;
    }
    // Read from the opened parameters with the client's own reading, so a
    // text the client takes for one function is never served as another.
    std::string text;
    for (const auto& [k, v] : r.params) {
        if (!text.empty()) text += '&';
        text += k + '=' + v;
    }
    CFunctionNumbers numbers = ReadFunctionNumbers(text);
    if (!numbers.malformed && !numbers.repeated) {
        r.main = numbers.main;
        r.sub = numbers.sub;
    }
    return r;
}

SimReply CBrokerSimulator::Impl::Route(const SimRequest& request) {
    std::lock_guard<std::mutex> lock(routeMu);
    auto it = routes.find({request.main, request.sub});
    if (it == routes.end()) {
        std::string numbers = std::to_string(request.main) + "/" + std::to_string(request.sub);
        std::u16string wide = u"不支持的功能(" + std::u16string(numbers.begin(), numbers.end()) + u")";
        return SimReply::Error(wide, 1);
    }
    return it->second(request, market);
}

SimReply CBrokerSimulator::Impl::Logon(const SimRequest& request) {
    std::vector<uint8_t> cipher;
    if (!HexDecode(request.Get("key"), cipher) || cipher.empty()) return SimReply::Error(u"登录请求缺少密钥", 1);
    auto key = rsa.Decrypt(cipher.data(), cipher.size());
    if (!key || !IsValidSessionKey(*key)) return SimReply::Error(u"密钥无法解开", 1);
    char session[16];
    {
        std::lock_guard<std::mutex> lock(mu);
        std::snprintf(session, sizeof session, "S%04d", ++sessionCounter);
        sessions[session] = *key;
        keys.push_back({session, *key});
        TrimKeys();
        t_issuedKey = *key;
        lastKey = *key;
        lastSession = session;
    }
    CDataSetWriter w;
    w.AddSet("logon");
    w.AddColumn(DataSetType::AnsiText, "session", u"会话");
    w.AddRow();
    w.SetAnsiText(0, session);
    return SimReply::Ok(w);
}

void CBrokerSimulator::Impl::SendReply(int fd, const SimRequest& request, SimReply reply, const SimFault& fault,
                                       bool* closeAfter) {
    if (fault.kind == SimFaultKind::SlowReply && !SleepInterruptible(fault.delayMs)) {
        *closeAfter = true;
        return;
    }
    if (fault.kind == SimFaultKind::ErrorSet) reply = SimReply::Error(fault.errorText, fault.errorCode);
    if (fault.kind == SimFaultKind::SessionLost) reply = SimReply{{}, 100};

    // Error replies go out plain so that their error set is always readable.
    std::vector<uint8_t> payload = std::move(reply.body);
    int compression = 0, cipher = 0;
    if (reply.error == 0 && request.Get("supportCompress") == "18" && !payload.empty()) {
        std::vector<uint8_t> packed = ZlibCompress(payload.data(), payload.size());
        // The seal envelope takes at least 16 bytes; a tiny stream stays unpacked.
        if (packed.size() >= 16) {
            payload.swap(packed);
            compression = 18;
        }
    }
    bool isLogon = request.main == 100 && request.sub == 1;
    if (reply.error == 0 && !isLogon && !request.sessionKey.empty() && payload.size() >= 16) {
        std::vector<uint8_t> sealed(SealedSize(static_cast<int>(payload.size())));
        if (SealData(request.sessionKey.c_str(), payload.data(), static_cast<int>(payload.size()), sealed.data()) > 0) {
            payload.swap(sealed);
            cipher = 36;
        }
    }
    if (fault.kind == SimFaultKind::TruncatedBody) payload.resize(payload.size() / 2);
    if (fault.kind == SimFaultKind::CorruptBody) std::fill(payload.begin(), payload.end(), uint8_t{0xA5});

    bool chunked;
    {
        std::lock_guard<std::mutex> lock(mu);
        chunked = framing == SimFraming::Chunked || (framing == SimFraming::Alternate && replyCounter % 2 == 1);
        ++replyCounter;
    }
    char etag[64];
    if (fault.kind == SimFaultKind::BadETag)
        std::snprintf(etag, sizeof etag, "\"broken\"");
    else
        std::snprintf(etag, sizeof etag, "\"%d,0,%d,%d\"", reply.error, compression, cipher);
    std::string head = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nETag: ";
    head += etag;
    head += "\r\n";
    if (chunked)
        head += "Transfer-Encoding: chunked\r\n";
    else
        head += "Content-Length: " + std::to_string(payload.size()) + "\r\n";
    // CloseKeptAlive lets the client believe the connection stays usable.
    if (*closeAfter && fault.kind != SimFaultKind::CloseKeptAlive) head += "Connection: close\r\n";
    head += "\r\n";
    std::string wire = std::move(head);
    const char* bytes = reinterpret_cast<const char*>(payload.data());
    if (fault.kind == SimFaultKind::CloseInsideBody) {
        // The headers promised the whole body (one chunk of it, when chunked).
        if (chunked) wire += ChunkHeader(payload.size());
        wire.append(bytes, payload.size() / 2);
        Transmit(fd, wire, fault);
        *closeAfter = true;
        return;
    }
    if (!chunked) {
        wire.append(bytes, payload.size());
    } else {
        // Uneven chunks, so that a reader cannot rely on one chunk per body.
        size_t pos = 0;
        size_t first = std::min<size_t>(7, payload.size());
        while (pos < payload.size()) {
            size_t n = pos == 0 ? first : std::min(kChunkSize, payload.size() - pos);
            wire += ChunkHeader(n);
            wire.append(bytes + pos, n);
            wire += "\r\n";
            pos += n;
        }
        wire += "0\r\n\r\n";
    }
    if (!Transmit(fd, wire, fault) || fault.kind == SimFaultKind::CloseKeptAlive) *closeAfter = true;
}

bool CBrokerSimulator::Impl::WaitOnPeer(int fd, int ms) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (running) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0) return true;
        // Stop shuts the socket down, which wakes this poll as a hang-up too.
        pollfd p{fd, POLLRDHUP, 0};
        int n = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), kPollSliceMs)));
        if (n < 0 && errno != EINTR) return false;
        if (n > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR))) return false;
    }
    return false;
}

bool CBrokerSimulator::Impl::Transmit(int fd, const std::string& bytes, const SimFault& fault) {
    if (fault.kind != SimFaultKind::Drip) return SendText(fd, bytes);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && !WaitOnPeer(fd, fault.delayMs)) return false;
        if (!SendAll(fd, bytes.data() + i, 1)) return false;
    }
    return true;
}

void CBrokerSimulator::Impl::TrimLog() {
    size_t keep = std::max<size_t>(limits.logRequests, 1);
    // The newest request stays even when it alone is over the byte bound.
    while (log.size() > keep || (log.size() > 1 && logFootprint > limits.logBytes)) {
        logFootprint -= Footprint(log.front());
        log.pop_front();
    }
}

void CBrokerSimulator::Impl::TrimKeys() {
    size_t keep = std::max<size_t>(limits.logonKeys, 1);
    while (keys.size() > keep) {
        auto it = sessions.find(keys.front().session);
        if (it != sessions.end()) sessions.erase(it);
        keys.pop_front();
    }
}

void CBrokerSimulator::Impl::TouchKey(const std::string& key) {
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        if (it->key != key) continue;
        IssuedKey used = std::move(*it);
        keys.erase(std::next(it).base());
        keys.push_back(std::move(used));
        return;
    }
}

void CBrokerSimulator::Impl::Log(SimRequest request) {
    {
        std::lock_guard<std::mutex> lock(mu);
        // Numbered under the same lock as the push, so the log is in number order.
        request.number = ++requestCounter;
        auto counted = counts.find({request.main, request.sub});
        if (counted != counts.end())
            ++counted->second;
        else if (counts.size() < kMaxCountedFunctions)
            counts.emplace(std::make_pair(request.main, request.sub), 1);
        ++loggedSinceClear;
        logFootprint += Footprint(request);
        log.push_back(std::move(request));
        TrimLog();
    }
    cv.notify_all();
}

void CBrokerSimulator::Impl::Serve(int fd) {
    std::string buffer;
    std::string connectionKey;
    bool reset = false;
    int deadlineMs;
    {
        std::lock_guard<std::mutex> lock(mu);
        deadlineMs = limits.requestDeadlineMs;
    }
    while (running) {
        HttpRequest http;
        ReadResult read = ReadRequest(fd, buffer, http, deadlineMs);
        if (read != ReadResult::Ok) {
            // A refused request is answered, without a body, and the connection closed:
            // what follows it on the stream cannot be trusted to start a request.
            if (*RefusalStatus(read))
                SendText(fd, std::string("HTTP/1.1 ") + RefusalStatus(read) +
                                 "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            break;
        }
        bool sealBroken = false;
        SimRequest request = OpenRequest(http, connectionKey, &sealBroken);
        Log(request);
        SimFault fault = TakeFault(request.main, request.sub);
        if (fault.kind == SimFaultKind::CloseAfterRequest || fault.kind == SimFaultKind::AcceptAndClose) break;
        if (fault.kind == SimFaultKind::ResetAfterRequest) {
            reset = true;
            break;
        }
        // A seal that no logon's key opens means the server has lost the session.
        SimReply reply = sealBroken ? SimReply::Error(u"会话已失效，请重新登录", 100) : Route(request);
        // The key a logon on this connection issued is the one its next seals likely use.
        if (!t_issuedKey.empty()) connectionKey = std::move(t_issuedKey);
        t_issuedKey.clear();
        bool closeAfter = !http.keepAlive;
        SendReply(fd, request, std::move(reply), fault, &closeAfter);
        if (closeAfter) break;
    }
    if (reset) {
        // A zero linger makes close abort with RST; a shutdown first would send a FIN.
        linger hardClose{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hardClose, sizeof hardClose);
    } else {
        ::shutdown(fd, SHUT_RDWR);
    }
    {
        std::lock_guard<std::mutex> lock(mu);
        // Stop may be waiting to shut this socket down; close it only under the lock.
        for (auto& c : connections)
            if (c.fd == fd) c.fd = -1;
        ::close(fd);
        --served;
    }
    cv.notify_all();  // the accept loop may wait for a free place
}

void CBrokerSimulator::SetFraming(SimFraming framing) {
    std::lock_guard<std::mutex> lock(m_impl->mu);
    m_impl->framing = framing;
    m_impl->replyCounter = 0;
}

void CBrokerSimulator::InjectFault(const SimFault& fault, int count) {
    if (count <= 0 || fault.kind == SimFaultKind::None) return;
    std::lock_guard<std::mutex> lock(m_impl->mu);
    m_impl->faults.emplace_back(fault, count);
}

void CBrokerSimulator::InjectFaultFor(int main, int sub, const SimFault& fault, int count) {
    if (count <= 0 || fault.kind == SimFaultKind::None) return;
    std::lock_guard<std::mutex> lock(m_impl->mu);
    m_impl->targeted.push_back({main, sub, fault, count});
}

void CBrokerSimulator::ClearFaults() {
    std::lock_guard<std::mutex> lock(m_impl->mu);
    m_impl->faults.clear();
    m_impl->targeted.clear();
}

std::vector<SimRequest> CBrokerSimulator::GetRequestLog() const {
    std::lock_guard<std::mutex> lock(m_impl->mu);
    return {m_impl->log.begin(), m_impl->log.end()};
}

std::vector<SimRequest> CBrokerSimulator::GetRequestLogSince(uint64_t after) const {
    std::lock_guard<std::mutex> lock(m_impl->mu);
    const auto& log = m_impl->log;
    auto first = std::find_if(log.begin(), log.end(), [after](const SimRequest& r) { return r.number > after; });
    return {first, log.end()};
}

void CBrokerSimulator::ClearRequestLog() {
    std::lock_guard<std::mutex> lock(m_impl->mu);
    m_impl->log.clear();
    m_impl->logFootprint = 0;
    m_impl->loggedSinceClear = 0;
}

bool CBrokerSimulator::WaitForRequests(size_t count, int ms) const {
    std::unique_lock<std::mutex> lock(m_impl->mu);
    return m_impl->cv.wait_for(lock, std::chrono::milliseconds(ms),
                               [&] { return m_impl->loggedSinceClear >= count; });
}

int CBrokerSimulator::CountRequests(int main, int sub) const {
    std::lock_guard<std::mutex> lock(m_impl->mu);
    auto it = m_impl->counts.find({main, sub});
    return it == m_impl->counts.end() ? 0 : it->second;
}

void CBrokerSimulator::SetLimits(const SimLimits& limits) {
    std::lock_guard<std::mutex> lock(m_impl->mu);
    m_impl->limits = limits;
    m_impl->TrimLog();
    m_impl->TrimKeys();
    m_impl->cv.notify_all();
}

SimLimits CBrokerSimulator::GetLimits() const {
    std::lock_guard<std::mutex> lock(m_impl->mu);
    return m_impl->limits;
}

void CBrokerSimulator::SetRoute(int main, int sub, SimRoute route) {
    std::lock_guard<std::mutex> lock(m_impl->routeMu);
    m_impl->routes[{main, sub}] = std::move(route);
}

std::string CBrokerSimulator::GetSessionKey() const {
    std::lock_guard<std::mutex> lock(m_impl->mu);
    return m_impl->lastKey;
}

std::string CBrokerSimulator::GetSessionString() const {
    std::lock_guard<std::mutex> lock(m_impl->mu);
    return m_impl->lastSession;
}

void CBrokerSimulator::WithMarket(const std::function<void(CSimMarket&)>& fn) {
    std::lock_guard<std::mutex> lock(m_impl->routeMu);
    fn(m_impl->market);
}
