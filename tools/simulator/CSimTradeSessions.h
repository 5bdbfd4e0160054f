// The trade sessions the simulated broker hands out at a trade login
// (500/1): the session text is "custid=<fundid>&tradesession=T0001", key=
// value pairs that lead every later trade request of the account. A trade
// route checks its request's pair against the sessions handed out, under
// the same service logon: a request without one, with one never handed
// out, or with another account's or another logon's, is refused.
//
// A phone whose service session was lost logs on again by itself, unseen by
// its user; its trade logins live on. So a trade session follows its phone
// (the "imei" the login came with) to that phone's next service logon, and
// the logon it left no longer carries it.
//
// The texts count T0001, T0002, ... from the server's start, so runs are
// byte for byte the same. Handlers run under the server's lock; the lock
// here is for a test that reads the count while the server runs.
#pragma once

#include "tools/simulator/SimRouteGroup.h"

#include <map>
#include <mutex>
#include <string>
#include <string_view>

class CSimTradeAccounts;
struct SimTradeAccount;

class CSimTradeSessions {
public:
    // A new session text for fundid, kept for the service logon serviceId
    // of the phone device (empty: a caller that names none).
    std::string Issue(std::string_view fundid, std::string_view serviceId, std::string_view device = {});
    // The fund account whose session the request carries ("custid" and
    // "tradesession", as the login id puts them in front); empty when the
    // request carries none that this server handed out to that account
    // under the request's service logon, or under an earlier logon of the
    // phone the request names ("imei"), which the session then moves to.
    std::string Check(const SimRequest& request, const SimSession& session) const;
    // How many sessions were handed out.
    size_t Count() const;
    // The customer a trade request acts for: the one whose session it
    // carries (Check), and whose fund id it names when it names one. Null,
    // with the refusal (an "error" set, ETag error 1) in *refusal, otherwise.
    const SimTradeAccount* Account(const CSimTradeAccounts& accounts, const SimRequest& request,
                                   const SimContext& context, SimReply* refusal) const;

private:
    struct Entry {
        std::string fundid;
        std::string serviceId;
        std::string device;  // the login's "imei"; empty when it named none
    };
    mutable std::mutex m_lock;
    // By "tradesession"; Check moves an entry to its phone's new logon.
    mutable std::map<std::string, Entry, std::less<>> m_sessions;
    int m_issued = 0;
};
