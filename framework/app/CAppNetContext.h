// The application state's side of the request road: INetContext over
// CAppData (session key, connection type, traffic totals) plus the path of
// "pubkey.bin", which the start-up sets from the resource directory.
#pragma once

#include "framework/net/INetContext.h"

#include <mutex>
#include <string>

class CAppNetContext : public INetContext {
public:
    // The one context the application's workers use.
    static CAppNetContext& Instance();

    // Path of "pubkey.bin"; until set, the file of that name in the data
    // directory.
    void SetPublicKeyPath(const std::string& path);

    std::string GetSessionKey() override;
    // Stores the key at once and the session string on the GUI thread
    // (queued ahead of the reply that follows).
    void OnSessionRenewed(const std::string& key, const std::string& session) override;
    int GetConnectType() override;
    void AddTraffic(std::uint64_t sent, std::uint64_t received) override;
    std::string GetPublicKeyPath() override;

private:
    std::mutex m_lock;
    std::string m_publicKeyPath; // empty: the data directory's "pubkey.bin"
};
