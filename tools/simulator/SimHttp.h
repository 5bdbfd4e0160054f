// The simulated server's HTTP/1.1, deliberately small: one POST at a time per
// connection with a Content-Length body, replies framed by Content-Length or
// chunked, and the form body's "a=1&b=2" parameters. Reading is bounded:
// head size, body size and the time a request may take to arrive.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace SimHttp {

// The largest request body taken; a larger Content-Length is answered 413 unread.
constexpr size_t kMaxBodyBytes = 64 * 1024;

// A request read off the socket.
struct Request {
    std::string method, target;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    bool keepAlive = true;
};

// How reading a request ended.
enum class ReadResult {
    Ok,
    Closed,          // the peer closed, went quiet past the idle time, or the server stops
    Malformed,       // to answer 400: bad request line, header line, Content-Length or a Transfer-Encoding
    HeadTooLarge,    // to answer 431: no blank line within the head bound
    BodyTooLarge,    // to answer 413: Content-Length above kMaxBodyBytes (nothing of the body is read)
    TimedOut,        // to answer 408: head and body not in within the request deadline
};

// Reads one request from fd; buffer holds bytes read past the previous
// request and keeps those past this one. Until the request's first byte the
// idle time (30 s) applies, from it on the whole request has deadlineMs.
// Returns Closed as soon as running turns false.
ReadResult ReadRequest(int fd, std::string& buffer, Request& request, int deadlineMs,
                       const std::atomic<bool>& running);
// The status line a refused request is answered with; empty for Ok and Closed.
const char* RefusalStatus(ReadResult result);

// How a reply is framed.
struct ReplyShape {
    std::string etag;                // the ETag value, quotes included
    bool chunked = false;            // chunked (a 7-byte chunk, then 4 KiB ones) or Content-Length
    bool connectionClose = false;    // says "Connection: close"
    bool cutInsideBody = false;      // promises the whole body but holds only its first half
};
// The reply's head and body as they go on the wire.
std::string FrameReply(const std::vector<uint8_t>& body, const ReplyShape& shape);

// Sends all bytes; false when the peer is gone.
bool SendAll(int fd, const void* data, size_t size);
// Sends bytes one at a time, dripMs apart; false as soon as the peer is
// gone or running turns false.
bool Drip(int fd, const std::string& bytes, int dripMs, const std::atomic<bool>& running);

// "a=1&b=2" -> pairs; an item without "=" is a name with an empty value.
std::vector<std::pair<std::string, std::string>> SplitParams(std::string_view text);
// Hex digits (either case) to bytes; false for an odd length or a non-digit.
bool HexDecode(std::string_view hex, std::vector<uint8_t>& out);

} // namespace SimHttp
