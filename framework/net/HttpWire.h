// The HTTP/1.1 pieces of the request road as pure functions: the POST head
// the client writes, and the parsers of what the server answers (status
// line and headers, chunk sizes, the four-number ETag). Every number read
// is checked against a limit before anything is sized by it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The head of a reply as far as the road uses it.
struct CHttpHead {
    int status = 0;
    int minorVersion = 1;        // HTTP/1.<minorVersion>
    bool hasLength = false;
    std::uint64_t contentLength = 0; // bytes, when hasLength
    bool chunked = false;
    bool closeAfter = false;     // "Connection: close", or HTTP/1.0 without keep-alive
    bool hasETag = false;
    std::string etag;            // the raw header value
};

// The four numbers of the reply ETag.
struct CReplyTag {
    int error = 0;       // 0 success, 100 session lost, else a server error
    int ignored = 0;
    int compression = 0; // 0 none, 18 zlib
    int cipher = 0;      // 0 none, 36 seal envelope
};

// Parses head (the status line and header lines, each ended by CRLF or LF,
// without the blank line). False for a bad status line, a header line
// without a colon, a Content-Length that is not all digits, exceeds
// maxBody or disagrees with another one, a Transfer-Encoding other than
// plain "chunked", or both framings at once.
bool ParseHttpHead(std::string_view head, std::uint64_t maxBody, CHttpHead* out);

// Parses an ETag value: optional W/, optional quotes, four comma-separated
// decimal integers (blanks allowed around them). False otherwise.
bool ParseReplyTag(std::string_view value, CReplyTag* out);

// Parses a chunk-size line without its line end: hexadecimal digits,
// optionally followed by ";extension". False for no digits, junk, or a
// size above limit.
bool ParseChunkSize(std::string_view line, std::uint64_t limit, std::uint64_t* size);

// The POST head for a body of bodyLength bytes to host:port, direct or, with
// viaGateway, in the gateway proxy's form with "X-Online-Host".
std::string BuildPostHead(const std::string& host, int port, bool viaGateway, size_t bodyLength);
