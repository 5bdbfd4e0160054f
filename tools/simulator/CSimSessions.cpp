// Logons and session keys.
#include "tools/simulator/CSimSessions.h"

#include "tools/simulator/SimHttp.h"
#include "tools/simulator/SimPrivateKey.h"

#include <algorithm>
#include <cstdio>

namespace {
bool IsValidSessionKey(const std::string& key) {
    if (key.size() < 6 || key.size() > 72) return false;
    for (char c : key)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
    return true;
}
} // namespace

const CSimRsaKey& CSimSessions::RsaKey() {
    std::lock_guard<std::mutex> lock(m_rsaMu);
    if (!m_rsa) {
        m_rsa = std::make_unique<CSimRsaKey>();
        m_rsa->LoadPem(SimPrivateKeyPem());
    }
    return *m_rsa;
}

void CSimSessions::SetBounds(size_t maxKeys, int sealTries) {
    std::lock_guard<std::mutex> lock(m_mu);
    m_maxKeys = maxKeys;
    m_sealTries = sealTries;
    Trim();
}

void CSimSessions::Trim() {
    size_t keep = std::max<size_t>(m_maxKeys, 1);
    while (m_keys.size() > keep) {
        auto it = m_sessions.find(m_keys.front().session);
        if (it != m_sessions.end()) m_sessions.erase(it);
        m_keys.pop_front();
    }
}

SimReply CSimSessions::Logon(const SimRequest& request, std::string* issuedKey) {
    std::vector<uint8_t> cipher;
    if (!SimHttp::HexDecode(request.Get("key"), cipher) || cipher.empty()) return SimReply::Error(u"登录请求缺少密钥", 1);
    auto key = RsaKey().Decrypt(cipher.data(), cipher.size());
    if (!key || !IsValidSessionKey(*key)) return SimReply::Error(u"密钥无法解开", 1);
    char session[16];
    {
        std::lock_guard<std::mutex> lock(m_mu);
        std::snprintf(session, sizeof session, "S%04d", ++m_counter);
        m_sessions[session] = *key;
        m_keys.push_back({session, *key});
        Trim();
        m_lastKey = *key;
        m_lastSession = session;
    }
    *issuedKey = *key;
    CDataSetWriter w;
    w.AddSet("logon");
    w.AddColumn(DataSetType::AnsiText, "session", u"会话");
    w.AddRow();
    w.SetAnsiText(0, session);
    return SimReply::Ok(w);
}

std::vector<std::string> CSimSessions::SealCandidates(const std::vector<std::string>& sessionNames,
                                                      const std::string& connectionKey) const {
    std::vector<std::string> candidates;
    std::lock_guard<std::mutex> lock(m_mu);
    auto add = [&](const std::string& key) {
        if (!key.empty() && std::find(candidates.begin(), candidates.end(), key) == candidates.end())
            candidates.push_back(key);
    };
    for (const auto& name : sessionNames)
        if (auto it = m_sessions.find(name); it != m_sessions.end()) add(it->second);
    // Only a key still kept: a connection may outlive its logon's key.
    if (std::any_of(m_keys.begin(), m_keys.end(), [&](const IssuedKey& k) { return k.key == connectionKey; }))
        add(connectionKey);
    int tries = 0;
    for (auto it = m_keys.rbegin(); it != m_keys.rend() && tries < m_sealTries; ++it, ++tries) add(it->key);
    return candidates;
}

void CSimSessions::Touch(const std::string& key) {
    std::lock_guard<std::mutex> lock(m_mu);
    for (auto it = m_keys.rbegin(); it != m_keys.rend(); ++it) {
        if (it->key != key) continue;
        IssuedKey used = std::move(*it);
        m_keys.erase(std::next(it).base());
        m_keys.push_back(std::move(used));
        return;
    }
}

std::string CSimSessions::KeyOfSessionOrLatest(const std::string& session) const {
    std::lock_guard<std::mutex> lock(m_mu);
    auto it = m_sessions.find(session);
    return it != m_sessions.end() ? it->second : m_lastKey;
}

SimSession CSimSessions::SessionOfKey(const std::string& key) const {
    if (key.empty()) return {};
    std::lock_guard<std::mutex> lock(m_mu);
    // The newest logon with that key: a client that logs on again may reuse it.
    for (auto it = m_keys.rbegin(); it != m_keys.rend(); ++it)
        if (it->key == key) return {it->session, it->key};
    return {};
}

std::string CSimSessions::LatestKey() const {
    std::lock_guard<std::mutex> lock(m_mu);
    return m_lastKey;
}

std::string CSimSessions::LatestSession() const {
    std::lock_guard<std::mutex> lock(m_mu);
    return m_lastSession;
}
