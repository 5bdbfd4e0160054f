// The server's HTTP reading and framing.
#include "tools/simulator/SimHttp.h"
#include "core/StrUtil.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>

namespace SimHttp {

namespace {
constexpr size_t kMaxHeaderBytes = 64 * 1024;
constexpr int kIdleTimeoutMs = 30000;   // a kept-alive connection with no request is closed
constexpr int kPollSliceMs = 50;        // how often blocked loops look at the stop flag
constexpr size_t kChunkSize = 4096;     // chunked replies: a 7-byte chunk, then chunks of this size

std::string ChunkHeader(size_t size) {
    char line[32];
    std::snprintf(line, sizeof line, "%zx\r\n", size);
    return line;
}

// Waits ms; false as soon as running turns false or the peer has gone.
bool WaitOnPeer(int fd, int ms, const std::atomic<bool>& running) {
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
} // namespace

ReadResult ReadRequest(int fd, std::string& buffer, Request& request, int deadlineMs,
                       const std::atomic<bool>& running) {
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
        if (EqualsNoCase(name, "Content-Length")) {
            // Digits only, no sign, no overflow; two different lengths are a smuggling attempt.
            if (value.empty() || value.size() > 19 || value.find_first_not_of("0123456789") != std::string::npos)
                return ReadResult::Malformed;
            unsigned long long n = std::strtoull(value.c_str(), nullptr, 10);
            if (n > kMaxBodyBytes) return ReadResult::BodyTooLarge;
            if (contentLength && *contentLength != n) return ReadResult::Malformed;
            contentLength = static_cast<size_t>(n);
        } else if (EqualsNoCase(name, "Connection")) {
            if (EqualsNoCase(value, "close")) request.keepAlive = false;
            if (EqualsNoCase(value, "keep-alive")) request.keepAlive = true;
        } else if (EqualsNoCase(name, "Transfer-Encoding")) {
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

const char* RefusalStatus(ReadResult result) {
    switch (result) {
    case ReadResult::Malformed: return "400 Bad Request";
    case ReadResult::HeadTooLarge: return "431 Request Header Fields Too Large";
    case ReadResult::BodyTooLarge: return "413 Content Too Large";
    case ReadResult::TimedOut: return "408 Request Timeout";
    default: return "";
    }
}

std::string FrameReply(const std::vector<uint8_t>& payload, const ReplyShape& shape) {
    std::string wire = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nETag: ";
    wire += shape.etag;
    wire += "\r\n";
    if (shape.chunked)
        wire += "Transfer-Encoding: chunked\r\n";
    else
        wire += "Content-Length: " + std::to_string(payload.size()) + "\r\n";
    if (shape.connectionClose) wire += "Connection: close\r\n";
    wire += "\r\n";
    const char* bytes = reinterpret_cast<const char*>(payload.data());
    if (shape.cutInsideBody) {
        // The head promised the whole body (one chunk of it, when chunked).
        if (shape.chunked) wire += ChunkHeader(payload.size());
        wire.append(bytes, payload.size() / 2);
        return wire;
    }
    if (!shape.chunked) {
        wire.append(bytes, payload.size());
        return wire;
    }
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
    return wire;
}

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

bool Drip(int fd, const std::string& bytes, int dripMs, const std::atomic<bool>& running) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && !WaitOnPeer(fd, dripMs, running)) return false;
        if (!SendAll(fd, bytes.data() + i, 1)) return false;
    }
    return true;
}

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

} // namespace SimHttp
