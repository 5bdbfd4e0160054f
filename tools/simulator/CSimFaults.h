// The failures the simulated server can be told to produce, and the queue
// that hands them out: general faults in the order armed, and faults for one
// function, which are looked at first. A refusal (Refuses) stands in for the
// function, which is then not run; the others spoil the reply of a request
// the server carried out. Every member may be called from any
// thread.
#pragma once

#include "tools/simulator/SimRouteGroup.h"

#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

enum class SimFaultKind {
    None,
    AcceptAndClose,      // a connection is accepted and closed before reading
    CloseAfterRequest,   // the request is read (and logged), then the connection closed
    CloseInsideBody,     // headers promise the whole body; half of it is sent, then close
                         // (with errorCode set, of an error set under that ETag error)
    SlowReply,           // the reply waits delayMs before it is sent
    TruncatedBody,       // a well-framed reply whose body is the real one cut in half
    CorruptBody,         // a well-framed reply whose body bytes are all 0xA5
    BadETag,             // the ETag header is not four numbers
    ErrorSet,            // the body is an "error" set with errorText, ETag error errorCode
    SessionLost,         // ETag error 100 and an empty body
    ResetAfterRequest,   // the request is read (and logged), then the connection reset (RST, not FIN)
    Drip,                // head and body go out one byte every delayMs; Stop or the peer leaving ends it
    CloseKeptAlive,      // the reply goes out without "Connection: close", then the connection is closed
};

struct SimFault {
    SimFault() = default;
    SimFault(SimFaultKind k) : kind(k) {}  // implicit, so {SimFaultKind::SlowReply} makes one

    SimFaultKind kind = SimFaultKind::None;
    int delayMs = 0;                 // SlowReply: milliseconds before the reply; Drip: between bytes
    std::u16string errorText;        // ErrorSet: the text of the error set
    int errorCode = 0;               // ErrorSet, CloseInsideBody: the ETag error number

    // Whether the fault is the server refusing the request (an error set,
    // a lost session): the request is then not carried out at all.
    bool Refuses() const;
    // The reply of such a refusal.
    SimReply Refusal() const;
};

class CSimFaults {
public:
    // The next count requests (connections, for AcceptAndClose) fail as told.
    void Inject(const SimFault& fault, int count);
    // The next count requests of (main, sub) fail as told. AcceptAndClose
    // acts here as CloseAfterRequest, since the function is known only
    // after reading.
    void InjectFor(int main, int sub, const SimFault& fault, int count);
    void Clear();

    // True when a connection just accepted is to be closed unread.
    bool TakeAcceptFault();
    // The fault due for a request of (main, sub); kind None when none is.
    SimFault Take(int main, int sub);

private:
    struct Targeted {
        int main, sub;
        SimFault fault;
        int count;
    };

    std::mutex m_mu;
    std::deque<std::pair<SimFault, int>> m_faults;  // fault, requests left
    std::vector<Targeted> m_targeted;
};
