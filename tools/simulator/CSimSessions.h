// The service logons of the simulated server (100/1): the session key each
// client enciphered with the public key, the session string handed out for
// it, and which keys to try on a sealed request. The keys kept are bounded
// (the most recently made or used ones); the session of a key dropped beyond
// the bound is lost. Every member may be called from any thread.
#pragma once

#include "tools/simulator/CSimRsaKey.h"
#include "tools/simulator/SimRouteGroup.h"

#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CSimSessions {
public:
    // Starts reading the built-in private key on a thread of its own: the
    // read costs a millisecond or more that the server's start need not
    // wait for; the first logon waits for what is left of it.
    CSimSessions() = default;

    // Keeps the keys of the latest maxKeys logons; a seal no hint opens is
    // tried with the sealTries most recently used keys.
    void SetBounds(size_t maxKeys, int sealTries);

    // 100/1: opens the enciphered key ("key", hex), hands out a session
    // string for it and sets issuedKey. An "error" set when the key is
    // missing or does not open.
    SimReply Logon(const SimRequest& request, std::string* issuedKey);

    // The keys a seal is tried with, in order: those of the kept sessions
    // the request names ("session" values), connectionKey when still kept,
    // then the most recently used keys. Few, since each try costs a pass
    // over the envelope.
    std::vector<std::string> SealCandidates(const std::vector<std::string>& sessionNames,
                                            const std::string& connectionKey) const;
    // Marks key as just used, so that it is among the first tried.
    void Touch(const std::string& key);
    // The key of a kept session string, else the latest logon's key.
    std::string KeyOfSessionOrLatest(const std::string& session) const;
    // The kept logon of key; an unknown session for an unkept or empty key.
    SimSession SessionOfKey(const std::string& key) const;

    // The latest logon's key and session string (empty before one).
    std::string LatestKey() const;
    std::string LatestSession() const;

private:
    struct IssuedKey {
        std::string session, key;
    };
    void Trim();  // under m_mu
    // Read at the first logon, not at the making: a program starting with
    // the simulator inside makes its own first keys meanwhile, and the two
    // first uses of OpenSSL at once hold each other up for milliseconds.
    const CSimRsaKey& RsaKey();

    std::mutex m_rsaMu;                 // guards m_rsa
    std::unique_ptr<CSimRsaKey> m_rsa;
    mutable std::mutex m_mu;
    std::map<std::string, std::string> m_sessions;  // session string -> key, of the kept keys
    std::deque<IssuedKey> m_keys;                   // kept logon keys, least recently used first
    size_t m_maxKeys = 1024;
    int m_sealTries = 8;
    std::string m_lastKey, m_lastSession;
    int m_counter = 0;
};
