// A raw HTTP client for the simulator tests: it sends one POST over a fresh
// socket, or several over one kept connection, and reports exactly what came
// back (headers, body as framed, how the connection ended), plus the
// client's side of the protocol: the RSA logon cipher, request sealing and
// reply opening.
#pragma once

#include "core/CDataSetList.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct RawReply {
    bool connected = false;     // the TCP connection was made
    bool gotHeaders = false;    // a complete status line and header block arrived
    bool complete = false;      // the body arrived whole as framed
    bool chunked = false;
    int status = 0;
    std::string etag;           // the ETag header as sent
    bool connectionClose = false;  // the head says "Connection: close"
    long contentLength = -1;    // -1 when absent
    std::vector<uint8_t> body;  // the body bytes received (de-chunked)
    size_t rawBytes = 0;        // every byte received
    int reads = 0;              // how many receives it took
    bool closedByServer = false;  // the server closed before a complete reply (or after nothing)
    bool reset = false;         // ... and that close was a reset, not a FIN
};

// One connection kept across requests, to see what the server does to it
// between them.
class SimConnection {
public:
    explicit SimConnection(int port);
    ~SimConnection();
    SimConnection(const SimConnection&) = delete;
    SimConnection& operator=(const SimConnection&) = delete;

    bool IsConnected() const { return m_fd >= 0; }
    // Sends bytes exactly as given; false when they cannot be sent whole.
    bool Send(const std::string& bytes);
    bool Post(const std::string& body);
    // Blocks until something arrives or the server ends the connection
    // (true), or timeoutMs pass (false).
    bool WaitReadable(int timeoutMs);
    // Reads one reply until it is complete or the server closes (or
    // timeoutMs pass); bytes past it are kept for the next one.
    RawReply Read(int timeoutMs = 5000);

private:
    int m_port;
    int m_fd = -1;
    std::string m_pending;
};

// The POST that carries body, as the client sends it.
std::string PostBytes(int port, const std::string& body);

// Sends bytes exactly as given to 127.0.0.1:port and reads one reply until
// it is complete or the server closes (or timeoutMs pass).
RawReply SendRaw(int port, const std::string& bytes, int timeoutMs = 5000);

// Posts body to 127.0.0.1:port and reads one reply until it is complete or
// the server closes (or timeoutMs pass).
RawReply PostRaw(int port, const std::string& body, int timeoutMs = 5000);

// The ETag's four numbers; false when it is not four decimal numbers.
bool ParseETag(const std::string& etag, int numbers[4]);
// The ETag's error number of a complete reply; -1 when incomplete or unreadable.
int ErrorOf(const RawReply& reply);

// Opens (cipher 36, with key) and unpacks (compression 18) a complete
// reply into record sets; null when the ETag or the body is unreadable.
std::unique_ptr<CDataSetList> OpenReply(const RawReply& reply, const std::string& key);

// Enciphers the session key with the public key of resources/pubkey.bin
// (RSA-OAEP) and returns it as upper-case hex.
std::string EncipherSessionKey(const std::string& key);

// The request text with every parameter not named "tc_..." sealed with key
// into TC_REQDATA / TC_REQLENGTH / TC_ENCRYPT=36, as the client sends it.
std::string SealRequest(const std::string& text, const std::string& key);

// Logs on with key through 100/1 and returns the session string ("" on failure).
std::string LogOn(int port, const std::string& key);
