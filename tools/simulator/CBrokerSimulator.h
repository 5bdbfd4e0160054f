// The simulated broker server: the peer of every end-to-end test and the
// desktop program's built-in default server. It speaks the protocol of
// docs/protocol.md over its own small HTTP/1.1 loop on POSIX sockets (not a
// general HTTP library) because its fault seams need byte-exact control:
// closing inside a body, cutting a body short, a broken ETag, a reset, a
// reply that trickles in byte by byte.
//
// This class joins the parts, each in a file pair of its own: the sockets
// and connection bounds (CSimServer), HTTP reading and framing (SimHttp),
// the fault queue (CSimFaults), logons and session keys (CSimSessions), the
// request log (CSimRequestLog), and the functions, added by the route groups
// of MakeRouteGroups (SimRouteGroup.h says how to add one).
//
// Threads: Start opens a loopback listening socket and runs an accept thread;
// every connection is served on a thread of its own, one request after the
// other, until the peer closes or the server does. Every public member may be
// called from any thread. Routes run on connection threads, one at a time
// (the route table and the market are guarded by one lock).
//
// Whatever its peers do, the server's memory and work stay bounded
// (SimLimits): connections served at once, the time a request may take to
// arrive, the body size, the request log, the logon keys kept and the keys
// tried on a seal.
//
// A request: the POST body "tc_service=300&tc_isunicode=1&..." is split into
// parameters (names matched ignoring case, values taken as they stand, GBK);
// "TC_REQDATA" is opened with a session key of a service logon and its
// parameters take its place. The reply body is built by the route, packed
// (18) when the request says "supportCompress=18", sealed (36) with the
// session key once the client has one (never for 100/1), and sent with the
// ETag "error,0,compression,cipher" by Content-Length or chunked.
#pragma once

#include "tools/simulator/CSimFaults.h"
#include "tools/simulator/SimRouteGroup.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CSimMarket;

// A route as a test sets it (SetRoute): one function (main, sub) of the server.
using SimRoute = std::function<SimReply(const SimRequest& request, CSimMarket& market)>;

// The server's bounds. The defaults are what orbsim runs with; tests may
// narrow them (SetLimits) to reach a bound quickly.
struct SimLimits {
    // Connections served at once; one beyond waits in the listen queue
    // (not accepted) until a served one ends.
    int maxConnections = 256;
    // A request's head and body must be in within this many milliseconds
    // of its first byte, or it is answered 408 and the connection closed.
    // Waiting for the first byte of a kept connection's next request is
    // the separate idle time (30 s).
    int requestDeadlineMs = 10000;
    // A reply the peer does not take for this long ends the connection.
    int sendStallMs = 10000;
    // The request log keeps the newest logRequests requests, fewer when
    // they would hold more than logBytes of bodies, parameters and headers.
    size_t logRequests = 4096;
    size_t logBytes = 32u << 20;
    // Session keys kept: those of the logons most recently made or used to
    // open a seal; the session of a key dropped beyond them is lost.
    size_t logonKeys = 1024;
    // Keys tried on a seal that no hint opens: the most recently used ones.
    int sealTries = 8;
};

// The bounds of a server built into the desktop program: its log is small,
// since nobody reads it there and a long session should not grow by it.
SimLimits EmbeddedDesktopLimits();

// How reply bodies are framed.
enum class SimFraming {
    ContentLength,
    Chunked,
    Alternate,                       // Content-Length, chunked, Content-Length, ...
};

class CBrokerSimulator {
public:
    // The largest request body taken; a larger Content-Length is answered
    // 413 unread. The longest requests of the client, a watch list of
    // thousands of codes or a sealed request at twice its plain size in
    // hex, stay far below it.
    static constexpr size_t kMaxBodyBytes = 64 * 1024;

    CBrokerSimulator();
    ~CBrokerSimulator();  // stops the server
    CBrokerSimulator(const CBrokerSimulator&) = delete;
    CBrokerSimulator& operator=(const CBrokerSimulator&) = delete;

    // Listens on 127.0.0.1:port (0 = a free port chosen by the system) and
    // starts serving. Returns the port, or -1 when the socket cannot be
    // opened (errno says why) or the server already runs (errno EALREADY).
    int Start(int port = 0);
    // Closes the listening socket and every connection and joins the threads.
    // Safe to call twice.
    void Stop();
    int GetPort() const;

    // Closes the listening socket for ms milliseconds, so connecting fails
    // with "refused", then listens on the same port again.
    void RefuseConnections(int ms);

    void SetFraming(SimFraming framing);

    // The request deadline and the send stall apply to connections accepted
    // after the call; the other limits at once (the log and the keys are
    // cut to them).
    void SetLimits(const SimLimits& limits);
    SimLimits GetLimits() const;

    // The next count requests (connections, for AcceptAndClose) fail as told.
    void InjectFault(const SimFault& fault, int count = 1);
    // The next count requests of function (main, sub) fail as told; these
    // are looked at before the general ones. AcceptAndClose acts here as
    // CloseAfterRequest, since the function is known only after reading.
    void InjectFaultFor(int main, int sub, const SimFault& fault, int count = 1);
    void ClearFaults();

    // The requests the log keeps (the newest ones, see SimLimits), oldest
    // first; also those that a fault then failed, once they were read.
    std::vector<SimRequest> GetRequestLog() const;
    // Those of them whose number is above after.
    std::vector<SimRequest> GetRequestLogSince(uint64_t after) const;
    // Empties the log; the counts below and the numbering go on.
    void ClearRequestLog();
    // Blocks until at least count requests were logged since the start or
    // the last ClearRequestLog, or ms pass; true when they were.
    bool WaitForRequests(size_t count, int ms) const;
    // How many requests of function (main, sub) the server has read since
    // it was made, whatever the log still keeps (-1/-1: those naming none).
    // Only the first 4096 distinct functions seen are counted.
    int CountRequests(int main, int sub) const;

    // Adds or replaces the route of (main, sub), for a test.
    void SetRoute(int main, int sub, SimRoute route);
    // Adds a group's routes as the listed groups' are (a test's own group),
    // replacing those of the same numbers; the server keeps the group.
    void AddRoutes(std::unique_ptr<ISimRouteGroup> group);
    // Fixes the market's clock (SimClock) at ms since 1970 UTC; -1 returns
    // it to the program's clock.
    void SetClock(int64_t ms);

    // The session key of the latest service logon (empty before one) and the
    // session string handed out with it.
    std::string GetSessionKey() const;
    std::string GetSessionString() const;

    // Runs fn on the market under the routes' lock (to change prices in a test).
    void WithMarket(const std::function<void(CSimMarket&)>& fn);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
