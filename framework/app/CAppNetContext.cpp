// The application's INetContext; see the header.
#include "framework/app/CAppNetContext.h"

#include "framework/app/CAppData.h"
#include "platform/win/UiMessageLoop.h"

CAppNetContext& CAppNetContext::Instance() {
    static CAppNetContext context;
    return context;
}

void CAppNetContext::SetPublicKeyPath(const std::string& path) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_publicKeyPath = path;
}

std::string CAppNetContext::GetSessionKey() {
    CAppData* app = CAppData::Instance();
    return app ? app->GetSessionKey().str() : std::string();
}

void CAppNetContext::OnSessionRenewed(const std::string& key, const std::string& session) {
    CAppData* app = CAppData::Instance();
    if (!app)
        return;
    app->SetSessionKey(key);
    // The session string belongs to the GUI thread.
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (loop && !loop->IsGuiThread()) {
        loop->PostTask([session] {
            if (CAppData* current = CAppData::Instance())
                current->SetSession(session);
        });
    } else {
        app->SetSession(session);
    }
}

int CAppNetContext::GetConnectType() {
    CAppData* app = CAppData::Instance();
    return app ? app->GetConnectType() : 0;
}

void CAppNetContext::AddTraffic(std::uint64_t sent, std::uint64_t received) {
    if (CAppData* app = CAppData::Instance()) {
        app->AddUploadBytes(sent);
        app->AddDownloadBytes(received);
    }
}

std::string CAppNetContext::GetPublicKeyPath() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_publicKeyPath.empty())
            return m_publicKeyPath;
    }
    CAppData* app = CAppData::Instance();
    return app ? app->MakeNativePath("pubkey.bin") : std::string();
}
