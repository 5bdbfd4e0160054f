// The start-up's logon and configuration fetch (see the header).
#include "framework/app/CStartupLogon.h"

#include "core/CDataSetList.h"
#include "core/FunctionNumbers.h"
#include "framework/app/AppRequestTail.h"
#include "framework/app/CAppData.h"
#include "framework/net/CNetWorker.h"
#include "framework/net/CServiceLogon.h"
#include "framework/net/NetFailure.h"
#include "framework/net/NetMessages.h"
#include "platform/storage/AtomicFile.h"
#include "platform/win/UiMessageLoop.h"

#include <optional>
#include <strings.h>
#include <system_error>
#include <vector>

namespace {
constexpr int kFetchMain = kFuncFetchConfig.main;
constexpr int kFetchSub = kFuncFetchConfig.sub;

CStartupLogon::LogonKey MakeLogonKey(const std::optional<std::vector<uint8_t>>& publicKeyDer) {
    CStartupLogon::LogonKey made;
    made.key = CServiceLogon::MakeSessionKey();
    if (!made.key.empty() && publicKeyDer)
        made.cipherHex = CServiceLogon::EncipherKey(made.key, *publicKeyDer);
    return made;
}
} // namespace

std::future<CStartupLogon::LogonKey> CStartupLogon::PrepareKey(const std::string& publicKeyPath) {
    auto make = [der = ReadWholeFile(publicKeyPath)] { return MakeLogonKey(der); };
    try {
        return std::async(std::launch::async, std::move(make));
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, std::move(make)); // no thread: made when taken
    }
}

CStartupLogon::~CStartupLogon() { Destroy(); }

bool CStartupLogon::Begin(CNetWorker* worker, const std::string& publicKeyPath, DoneHandler done,
                          std::future<LogonKey> prepared) {
    if (!worker || m_step != Step::Idle)
        return false;
    if (!IsCreated() && !Create(nullptr, CRect{0, 0, 0, 0}, 0, false))
        return false;
    m_worker = worker;
    m_publicKeyPath = publicKeyPath;
    m_prepared = std::move(prepared);
    m_done = std::move(done);
    m_step = Step::Logon;
    SetTimer(kLimitTimer, kLogonLimitMs);
    SendLogon();
    return true;
}

void CStartupLogon::OnTimer(UINT id) {
    if (id != kLimitTimer) {
        UiWin::OnTimer(id);
        return;
    }
    KillTimer(kLimitTimer);
    if (!IsRunning())
        return;
    Finish(false, NetFailureMessage(NET_ERR_RECEIVE));
    m_worker->AbortAndWait(0);
}

void CStartupLogon::Cancel() {
    if (!IsRunning())
        return;
    m_step = Step::Finished;
    m_done = nullptr;
    KillTimer(kLimitTimer);
    // A reply that came meanwhile is taken here and finds the exchange over.
    m_worker->AbortAndWait(0);
}

void CStartupLogon::SendLogon() {
    CAppData* app = CAppData::Instance();
    if (!app) {
        Finish(false, NetFailureMessage(NET_ERR_SERVER));
        return;
    }
    const LogonKey made = m_prepared.valid() ? m_prepared.get() : MakeLogonKey(ReadWholeFile(m_publicKeyPath));
    m_key = made.key;
    std::string text;
    if (!m_key.empty())
        text = CServiceLogon::BuildRequestWithCipher(made.cipherHex, MakeAppRequestTail(*app));
    if (text.empty()) {
        // No key file, or no key could be made: the logon cannot be sent.
        Finish(false, NetFailureMessage(NET_ERR_SERVER));
        return;
    }
    // The logon may go again after a network failure, and be abandoned at
    // the limit: each carries its own key and changes nothing else.
    if (!m_worker->WaitIdle(kIdleWaitMs) ||
        !m_worker->PostRequest(GetHandle(), std::move(text), CNetWorker::kResendOnNetFailure))
        Finish(false, NetFailureMessage(NET_ERR_SEND));
}

void CStartupLogon::SendFetch() {
    CAppData* app = CAppData::Instance();
    if (!app) {
        Finish(false, NetFailureMessage(NET_ERR_SERVER));
        return;
    }
    std::string text;
    if (!ComposeRequest(kFetchMain, kFetchSub, "", MakeAppRequestTail(*app), true, m_key, &text)) {
        Finish(false, NetFailureMessage(NET_ERR_SEND));
        return;
    }
    if (!m_worker->WaitIdle(kIdleWaitMs) ||
        !m_worker->PostRequest(GetHandle(), std::move(text), CNetWorker::kResendOnNetFailure))
        Finish(false, NetFailureMessage(NET_ERR_SEND));
}

LRESULT CStartupLogon::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case NET_MSG_REPLY_READY: {
        const CNetReply* reply = NetReplyFromLParam(lParam);
        if (reply && reply->abandoned)
            Finish(false, NetFailureMessage(NET_ERR_RECEIVE));
        else if (reply && IsRunning())
            OnReply(reply->body, reply->length);
        return 0;
    }
    case kMsgNextStep:
        if (static_cast<Step>(wParam) == Step::Fetch && m_step == Step::Fetch)
            SendFetch();
        return 0;
    default:
        return UiWin::WndProc(msg, wParam, lParam);
    }
}

void CStartupLogon::OnReply(const std::uint8_t* body, int length) {
    CAppData* app = CAppData::Instance();
    if (!app) {
        Finish(false, NetFailureMessage(NET_ERR_SERVER));
        return;
    }
    if (m_step == Step::Logon) {
        std::optional<std::string> session =
            length > 0 ? CServiceLogon::ReadSession(body, static_cast<size_t>(length)) : std::nullopt;
        if (!session) {
            Finish(false, FailureText(body, length));
            return;
        }
        app->SetSessionKey(m_key);
        app->SetSession(*session);
        m_step = Step::Fetch;
        PostMessage(kMsgNextStep, static_cast<WPARAM>(Step::Fetch));
        return;
    }
    if (m_step == Step::Fetch) {
        std::string menus, config;
        if (!SplitConfigReply(body, length, &menus, &config) || menus.empty()) {
            Finish(false, FailureText(body, length));
            return;
        }
        app->WriteDatFile("Menus", menus.data(), menus.size());
        if (!config.empty())
            app->WriteDatFile("config", config.data(), config.size());
        // What was stored is what the main menu shows; a tree that cannot be
        // read back leaves nothing to show.
        if (!app->GetMenuTree()) {
            Finish(false, NetFailureMessage(NET_ERR_BAD_REPLY));
            return;
        }
        Finish(true, {});
    }
}

void CStartupLogon::Finish(bool ok, std::u16string message) {
    if (m_step == Step::Finished)
        return;
    m_step = Step::Finished;
    KillTimer(kLimitTimer);
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (!loop || !m_done)
        return;
    // Run as a task, outside this window's procedure, so the handler may
    // delete this object; a task that finds it gone does nothing.
    Outcome outcome{ok, std::move(message)};
    loop->PostTask([alive = std::weak_ptr<bool>(m_alive), done = std::move(m_done), outcome] {
        if (alive.lock())
            done(outcome);
    });
    m_done = nullptr;
}

bool CStartupLogon::SplitConfigReply(const std::uint8_t* body, int length, std::string* menus, std::string* config) {
    menus->clear();
    config->clear();
    CDataSetList list(body, length);
    if (list.IsError())
        return false;
    std::vector<const CDataSet*> menuSets, configSets;
    for (int i = 0; i < list.GetCount(); ++i) {
        const CDataSet* set = *list.GetAt(i);
        if (!set)
            continue;
        if (::strcasecmp(set->GetTag(), "menus") == 0)
            menuSets.push_back(set);
        else if (::strcasecmp(set->GetTag(), "config") == 0)
            configSets.push_back(set);
    }
    if (!menuSets.empty()) {
        std::vector<uint8_t> bytes = CDataSetList::Serialize(menuSets.data(), menuSets.size());
        menus->assign(bytes.begin(), bytes.end());
    }
    if (!configSets.empty()) {
        std::vector<uint8_t> bytes = CDataSetList::Serialize(configSets.data(), configSets.size());
        config->assign(bytes.begin(), bytes.end());
    }
    return true;
}

std::u16string CStartupLogon::FailureText(const std::uint8_t* body, int length) {
    if (body && length > 0) {
        CDataSetList list(body, length);
        if (list.GetErrorIndex() >= 0)
            return list.GetErrorText().str();
    }
    return NetFailureMessage(NET_ERR_BAD_REPLY);
}
