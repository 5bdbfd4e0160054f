// What a request worker needs from the application state, as an interface
// so that the worker stands without it (tests give their own). The
// application's version lives in CAppDataNet.cpp. Every member is called on
// the worker's thread and must be safe there.
#pragma once

#include <cstdint>
#include <string>

class INetContext {
public:
    virtual ~INetContext() = default;
    // The session key of the current logon; empty before the first one.
    virtual std::string GetSessionKey() = 0;
    // A re-logon succeeded: the new key and session string take over.
    virtual void OnSessionRenewed(const std::string& key, const std::string& session) = 0;
    // 0 direct, 1 through the operator's gateway ("Connect_Type").
    virtual int GetConnectType() = 0;
    // Adds one exchange's traffic (bytes) to the session totals.
    virtual void AddTraffic(std::uint64_t sent, std::uint64_t received) = 0;
    // Path of "pubkey.bin" for a re-logon; empty when none is known.
    virtual std::string GetPublicKeyPath() = 0;
};
