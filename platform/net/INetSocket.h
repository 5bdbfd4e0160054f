// The socket seen by the HTTP client: an interface so that a test can put
// in a socket that fails at an exact point (after n bytes, on connect, ...)
// where a real peer cannot be made to.
#pragma once

#include <cstddef>
#include <string>

class CAbortSignal;

// How one socket operation ended.
enum class NetIo {
    Ok,       // some bytes moved (all of them for a send)
    Closed,   // the peer closed the connection (receive only)
    TimedOut, // nothing within the time
    Aborted,  // the abort signal was raised
    Failed,   // any other error; the connection is unusable
};

// Outcome of a connect.
enum class NetConnect {
    Ok,
    NotResolved, // the name did not resolve (no network)
    Refused,     // refused, unreachable or timed out
    Aborted,
};

class INetSocket {
public:
    virtual ~INetSocket() = default;

    // Resolves host and connects to port within timeoutMs, closing any
    // connection held before.
    virtual NetConnect Connect(const std::string& host, int port, int timeoutMs) = 0;
    // Sends all size bytes within timeoutMs overall; *sent gets the bytes
    // handed to the network so far, also on failure.
    virtual NetIo Send(const void* data, size_t size, int timeoutMs, size_t* sent) = 0;
    // Receives up to capacity bytes, waiting up to timeoutMs for the first;
    // *received gets the count (0 unless Ok).
    virtual NetIo Receive(void* buffer, size_t capacity, int timeoutMs, size_t* received) = 0;
    // True while connected and the peer has neither closed nor sent
    // anything unasked, so the connection may carry another request.
    virtual bool IsReusable() = 0;
    virtual void Close() = 0;
};
