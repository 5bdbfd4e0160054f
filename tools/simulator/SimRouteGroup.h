// What a route of the simulated server sees and answers, and the interface
// through which a screen group's routes reach the server. Nothing here knows
// the server: a route gets the request as parsed, a context (the market, the
// clock, the caller's session) and answers with a SimReply.
//
// Adding a screen group's routes:
//   1. Write tools/simulator/Sim<Group>Routes.h/.cpp: a class deriving from
//      ISimRouteGroup whose AddRoutes calls table.Add(main, sub, handler) once
//      per function; the group's own data (a market of its own, orders kept
//      per session) lives in the class or in a data file pair beside it.
//   2. List the group in MakeRouteGroups() (tools/simulator/SimRouteGroups.cpp).
//   3. Name its functions in docs/protocol.md.
// Nothing else of the simulator changes (CMake picks up new .cpp files),
// except the menu node of a screen opened from the menu (CSimMenuTree.cpp).
// A handler that acts on an account passes SimNeeds::Session to Add and
// keeps its state per context.session.id.
//
// Handlers run on connection threads, one at a time (the server holds one
// lock around every handler call), so a group's state needs no lock of its own.
#pragma once

#include "core/CDataSetWriter.h"
#include "core/FunctionNumbers.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CSimMarket;

// One request as the server understood it; what a route reads and what the
// request log keeps.
struct SimRequest {
    // TC_MFUNCNO and TC_SFUNCNO as ReadFunctionNumbers reads them: -1 when
    // absent or not plain digits, and both -1 when either is malformed or
    // given twice (such a request names no function).
    int main = -1;
    int sub = -1;
    // Every parameter in the order sent, the sealed ones opened and put where
    // "TC_REQDATA" stood ("TC_REQDATA", "TC_REQLENGTH" and "TC_ENCRYPT"
    // themselves are left out). Values are the 8-bit text as sent.
    std::vector<std::pair<std::string, std::string>> params;
    bool sealed = false;             // the parameters came in "TC_REQDATA"
    std::string sessionKey;          // the key that opened it, or the logged-on one
    std::string target;              // request target ("/" or "http://host:port/")
    std::vector<std::pair<std::string, std::string>> headers;  // as received
    std::string rawBody;             // the POST body exactly as received
    uint64_t number = 0;             // 1 for the first request the server read, counting on

    // The value of the first parameter named name ignoring ASCII case; empty
    // when absent.
    std::string Get(std::string_view name) const;
    bool Has(std::string_view name) const;
    // Get(name) as a decimal integer; fallback when absent or not a number.
    int GetInt(std::string_view name, int fallback) const;
    // The value of a header named name ignoring case; empty when absent.
    std::string GetHeader(std::string_view name) const;
};

// What a route answers: a record-set body and the ETag's error number
// (0 success, 100 session lost, anything else a server error).
struct SimReply {
    std::vector<uint8_t> body;
    int error = 0;

    static SimReply Ok(const CDataSetWriter& writer) { return {writer.Serialize(), 0}; }
    // A body with one "error" set holding text, under the error number.
    static SimReply Error(std::u16string_view text, int error = 1) {
        return {CDataSetWriter::ErrorBody(text), error};
    }
};

// The service logon a request belongs to: the one whose key opened its seal,
// else the one its "session" parameter names, else the latest.
struct SimSession {
    std::string id;                  // "S0001"; empty when no logon is kept for the request
    std::string key;                 // the session key; empty likewise

    bool Known() const { return !id.empty(); }
};

// The market's time: milliseconds since 1970 (UTC) of the program's clock
// (the wall clock, or a test driver's manual one), unless a test fixed it
// (CBrokerSimulator::SetClock), so time-dependent data can be exact.
struct SimClock {
    int64_t fixedMs = -1;            // -1: the program's clock

    int64_t NowMs() const;
};

// What a handler may use besides the request. Valid during the call only.
struct SimContext {
    CSimMarket& market;
    const SimClock& clock;
    const SimSession& session;
};

using SimHandler = std::function<SimReply(const SimRequest& request, SimContext& context)>;

// Whether the server calls a handler without a kept logon. A route that acts
// on an account asks for one; its request without one is answered "session
// lost" (ETag error 100) and never reaches it.
enum class SimNeeds { Nothing, Session };

// The server's functions by (main, sub).
class CSimRouteTable {
public:
    struct Entry {
        SimHandler handler;
        SimNeeds needs = SimNeeds::Nothing;
    };

    // Adds or replaces the handler of (main, sub).
    void Add(int main, int sub, SimHandler handler, SimNeeds needs = SimNeeds::Nothing);
    void Add(FunctionNumber f, SimHandler handler, SimNeeds needs = SimNeeds::Nothing) {
        Add(f.main, f.sub, std::move(handler), needs);
    }
    // The entry of (main, sub); null when the server has no such function.
    const Entry* Find(int main, int sub) const;
    const Entry* Find(FunctionNumber f) const { return Find(f.main, f.sub); }

private:
    std::map<std::pair<int, int>, Entry> m_entries;
};

// A screen group's routes.
class ISimRouteGroup {
public:
    virtual ~ISimRouteGroup() = default;
    // Adds the group's functions to the table; called once, before serving.
    virtual void AddRoutes(CSimRouteTable& table) = 0;
};
