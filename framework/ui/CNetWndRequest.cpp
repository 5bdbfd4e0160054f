// The send road of a window: composing, sealing, offering to a sender,
// the pending request and what it asked, and its reply or failure.
#include "framework/ui/CNetWnd.h"

#include "framework/app/AppRequestTail.h"
#include "framework/app/CAppData.h"
#include "framework/app/CAppNetContext.h"
#include "framework/net/CHttpPostClient.h"
#include "framework/net/CNetWorker.h"
#include "framework/net/NetMessages.h"
#include "framework/net/RequestText.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {
IRequestSender* g_defaultSender = nullptr; // not owned; tests set it
unsigned g_lastTag = 0;                    // GUI thread; tags tell a window's requests apart

unsigned NextTag() {
    if (++g_lastTag == 0)
        g_lastTag = 1;
    return g_lastTag;
}

// Requests remembered per window; an older one can no longer answer.
constexpr std::size_t kKeptRequests = 16;

// The send message carries the function number in wParam, the sub-function
// and the request kind in the two halves of lParam.
LPARAM PackSubAndKind(int subFunc, int kind) {
    const std::uint64_t packed = (std::uint64_t{static_cast<std::uint32_t>(kind)} << 32) |
                                 std::uint64_t{static_cast<std::uint32_t>(subFunc)};
    return static_cast<LPARAM>(packed);
}
int SubOf(LPARAM lParam) { return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(lParam))); }
int KindOf(LPARAM lParam) {
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(lParam) >> 32));
}
} // namespace

void CNetWnd::SetDefaultSender(IRequestSender* sender) {
    g_defaultSender = sender;
}

IRequestSender* CNetWnd::GetDefaultSender() {
    return g_defaultSender;
}

IRequestSender& CNetWnd::GetSender() {
    if (m_sender)
        return *m_sender;
    if (g_defaultSender)
        return *g_defaultSender;
    return m_workerSender;
}

bool CNetWnd::PostRequest(int mainFunc, int subFunc, int kind) {
    return PostMessage(NET_MSG_SEND_REQUEST, static_cast<WPARAM>(static_cast<LPARAM>(mainFunc)),
                       PackSubAndKind(subFunc, kind));
}

void CNetWnd::Remember(unsigned tag, CAsked asked) {
    m_askedByTag[tag] = std::move(asked);
    // Tags grow, so the first ones are the oldest (but for a wrap).
    while (m_askedByTag.size() > kKeptRequests)
        m_askedByTag.erase(m_askedByTag.begin());
}

CNetWnd::CAsked CNetWnd::TakeAsked(unsigned tag) {
    const auto it = m_askedByTag.find(tag);
    if (it == m_askedByTag.end())
        return {};
    CAsked asked = std::move(it->second);
    m_askedByTag.erase(it);
    return asked;
}

void CNetWnd::ReportNotSent(NotSent why, CAsked asked) {
    // A handler may send again; what it was told stays for its own call.
    CAsked outer = std::exchange(m_asked, std::move(asked));
    OnRequestNotSent(why);
    m_asked = std::move(outer);
}

bool CNetWnd::SendRequest(int mainFunc, int subFunc, int kind) {
    // The arming holds for this one send, whatever becomes of it.
    const bool armed = std::exchange(m_armed, false);
    m_asking = CAsked{};
    m_asking.kind = kind;
    CAString windowText;
    const int built = BuildRequest(windowText);
    CAsked asked = std::move(m_asking);
    m_asking = CAsked{};
    if (built == 0) {
        ReportNotSent(NotSent::NothingToSend, std::move(asked));
        return false;
    }
    CAppData* app = CAppData::Instance();
    std::string text;
    if (app) {
        const CCommonTail tail = MakeAppRequestTail(*app);
        if (!ComposeRequest(mainFunc, subFunc, windowText.view(), tail, m_sealRequest, app->GetSessionKey().str(),
                            &text)) {
            ReportNotSent(NotSent::SealFailed, std::move(asked));
            return false;
        }
    } else {
        // Without an application state there is no tail and no session key.
        if (m_sealRequest) {
            ReportNotSent(NotSent::SealFailed, std::move(asked));
            return false;
        }
        text = BuildRequestText(mainFunc, subFunc, windowText.view());
    }
    if (CheckRequestText(text) != RequestRefusal::None) {
        ReportNotSent(NotSent::Refused, std::move(asked));
        return false;
    }
    // The function numbers stay in clear when the rest is sealed, so the
    // finished text tells whether it acts.
    const bool acts = IsActingRequest(text);
    if (acts && !armed) {
        ReportNotSent(NotSent::NotArmed, std::move(asked));
        return false;
    }
    unsigned flags = m_resendOnFailure ? unsigned(CNetWorker::kResendOnNetFailure) : 0u;
    if (acts)
        flags |= CNetWorker::kNeverResend;
    const unsigned tag = NextTag();
    IRequestSender& sender = GetSender();
    const bool replaces = m_waiting;
    const unsigned replaced = m_pendingTag;
    // Kept before the send: a sender may answer at once.
    Remember(tag, std::move(asked));
    if (sender.Send(GetHandle(), text, flags, tag)) {
        m_waiting = false;
        m_waitingText.clear();
    } else if (!acts && sender.NotifyWhenIdle(GetHandle())) {
        // A newer query replaces one that still waits: only one is owed.
        m_waiting = true;
        m_waitingText = std::move(text);
        m_waitingFlags = flags;
    } else {
        // An action is the user's to send again; it never goes by itself.
        ReportNotSent(NotSent::WorkerBusy, TakeAsked(tag));
        return false;
    }
    // A query that waited for the worker is replaced: only one is owed.
    if (replaces)
        TakeAsked(replaced);
    m_requestPending = true;
    m_actionOut = acts;
    m_pendingTag = tag;
    if (GetCaptionBar().IsCreated())
        GetCaptionBar().SetBusy(true);
    return true;
}

bool CNetWnd::TakeFreeWorker() {
    if (m_ownWorker)
        return true;
    if (GetSender().AbortAndWait(0) == 0)
        return true;
    CAppData* app = CAppData::Instance();
    if (!app)
        return false;
    std::unique_ptr<CNetWorker> worker = CNetWorker::Create();
    if (!worker)
        return false;
    const CHttpPostClient* shared = app->GetSharedConnection();
    const std::string host = shared ? shared->GetHost() : app->GetSetting("Server_Host").str();
    worker->GetConnection().SetServer(host, std::atoi(app->GetSetting("Server_Port").c_str()));
    worker->SetContext(&CAppNetContext::Instance());
    m_ownWorker = std::move(worker);
    SetWorker(m_ownWorker.get());
    return true;
}

bool CNetWnd::SendAction(int mainFunc, int subFunc, int kind) {
    m_armed = true;
    return SendRequest(mainFunc, subFunc, kind);
}

void CNetWnd::SendWaiting() {
    if (!m_waiting)
        return;
    IRequestSender& sender = GetSender();
    if (sender.Send(GetHandle(), m_waitingText, m_waitingFlags, m_pendingTag)) {
        m_waiting = false;
        m_waitingText.clear();
        return;
    }
    // Another window took the worker first: wait for its end in turn.
    if (sender.NotifyWhenIdle(GetHandle()))
        return;
    m_waiting = false;
    m_waitingText.clear();
    EndPending();
    ReportNotSent(NotSent::WorkerBusy, TakeAsked(m_pendingTag));
}

void CNetWnd::SendRefresh(RefreshCause) {
    PostRequest(-1, 0);
}

bool CNetWnd::WaitIdle(int ms) {
    return GetSender().WaitIdle(ms);
}

void CNetWnd::EndPending() {
    if (m_waiting)
        return; // an older request's end: the newer one is still owed
    m_requestPending = false;
    m_actionOut = false;
    if (GetCaptionBar().IsCreated())
        GetCaptionBar().SetBusy(false);
}

void CNetWnd::OnReplyReady(const CNetReply* reply) {
    if (reply && reply->abandoned) {
        // Only the request still out is restored; a late word about an
        // older one changes nothing.
        CAsked asked = TakeAsked(reply->tag);
        if (!m_requestPending || reply->tag != m_pendingTag)
            return;
        EndPending();
        m_abandonedLeft = reply->requestLeft != 0;
        ReportNotSent(NotSent::Abandoned, std::move(asked));
        m_abandonedLeft = false;
        return;
    }
    EndPending();
    if (reply) {
        CAsked outer = std::exchange(m_asked, TakeAsked(reply->tag));
        OnNetReply(*reply);
        m_asked = std::move(outer);
    }
}

void CNetWnd::OnSendMessage(WPARAM wParam, LPARAM lParam) {
    SendRequest(static_cast<int>(static_cast<LPARAM>(wParam)), SubOf(lParam), KindOf(lParam));
}
