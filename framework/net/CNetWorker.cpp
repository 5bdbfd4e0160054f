// The request worker's thread, retry rules and reply hand-over; see the header.
#include "framework/net/CNetWorker.h"

#include "core/CDataSetList.h"
#include "framework/net/CServiceLogon.h"
#include "framework/net/INetContext.h"
#include "framework/net/NetFailure.h"
#include "framework/net/NetLog.h"
#include "framework/net/NetMessages.h"
#include "framework/net/RequestText.h"
#include "platform/win/CGuiTask.h"
#include "platform/win/UiMessageLoop.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <system_error>

// One reply waiting for the GUI thread. The GUI runs it (from its queue, or
// from WaitIdle) unless the worker withdrew it first; the worker's body
// stays alive until the slot is done or withdrawn.
struct CNetDeliverySlot {
    enum class State { Pending, Running, Done, Withdrawn };

    std::mutex lock;
    std::condition_variable changed;
    State state = State::Pending;
    HWND target = nullptr;
    CNetReply reply;

    // GUI thread: sends the reply unless withdrawn.
    void Run() {
        {
            std::lock_guard<std::mutex> guard(lock);
            if (state != State::Pending)
                return;
            state = State::Running;
        }
        SendMessage(target, NET_MSG_REPLY_READY, 0, reinterpret_cast<LPARAM>(&reply));
        {
            std::lock_guard<std::mutex> guard(lock);
            state = State::Done;
        }
        changed.notify_all();
    }
    // True while the GUI has not started the reply yet.
    bool IsPending() {
        std::lock_guard<std::mutex> guard(lock);
        return state == State::Pending;
    }
    // Any thread: a reply not yet started will never be sent.
    void Withdraw() {
        {
            std::lock_guard<std::mutex> guard(lock);
            if (state == State::Pending)
                state = State::Withdrawn;
        }
        changed.notify_all();
    }
    // Worker: waits until done or withdrawn; withdraws when the loop dropped
    // the task that would have run it.
    void WaitEnd(const std::shared_ptr<CGuiTask>& task) {
        std::unique_lock<std::mutex> guard(lock);
        while (state == State::Pending || state == State::Running) {
            if (changed.wait_for(guard, std::chrono::milliseconds(50)) == std::cv_status::timeout &&
                state == State::Pending && task->GetState() == CGuiTask::State::Cancelled)
                state = State::Withdrawn;
        }
    }
};

namespace {
bool BodyReadable(const std::vector<std::uint8_t>& body) {
    if (body.size() > static_cast<size_t>(INT_MAX))
        return false;
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    return !list.IsUnreadable();
}

bool BodyHasErrorSet(const std::vector<std::uint8_t>& body) {
    if (body.size() > static_cast<size_t>(INT_MAX))
        return false;
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    return list.HasErrorSet();
}
} // namespace

std::unique_ptr<CNetWorker> CNetWorker::Create() {
    std::unique_ptr<CNetWorker> worker(new CNetWorker());
    try {
        worker->m_thread = std::thread([w = worker.get()] { w->ThreadMain(); });
    } catch (const std::system_error&) {
        return nullptr;
    }
    return worker;
}

CNetWorker::~CNetWorker() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_quit = true;
        if (m_busy) {
            m_abortRequested = true;
            m_client.Abort();
        }
        if (m_slot)
            m_slot->Withdraw();
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CNetWorker::SetContext(INetContext* context) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_context = context;
}

bool CNetWorker::PostRequest(HWND target, std::string requestText, unsigned flags, unsigned tag) {
    if (CheckRequestText(requestText) != RequestRefusal::None) {
        NetLogRequest("refused, not a request to send: ", requestText);
        return false;
    }
    const bool acts = (flags & kNeverResend) || IsActingRequest(requestText);
    const bool neverTwice = acts || !(flags & kResendOnNetFailure);
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_thread.joinable() || m_quit || m_busy) {
            NetLogRequest("dropped, worker busy: ", requestText);
            return false;
        }
        m_busy = true;
        m_hasJob = true;
        m_abortRequested = false;
        m_client.ResetAbort();
        m_job.target = target;
        m_job.text = std::move(requestText);
        m_job.flags = flags;
        m_job.tag = tag;
        m_job.neverTwice = neverTwice;
        m_job.acts = acts;
        m_job.loop = UiMessageLoop::Current();
        if (m_job.loop)
            m_job.loop->BeginExternalWork();
    }
    m_wake.notify_all();
    return true;
}

bool CNetWorker::NotifyWhenIdle(HWND window) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_thread.joinable() || m_quit)
            return false;
        if (m_busy) {
            if (std::find(m_idleWaiters.begin(), m_idleWaiters.end(), window) == m_idleWaiters.end())
                m_idleWaiters.push_back(window);
            return true;
        }
    }
    PostMessage(window, NET_MSG_WORKER_IDLE, 0, 0);
    return true;
}

bool CNetWorker::IsIdle() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return !m_busy;
}

bool CNetWorker::WaitIdle(int ms) { return WaitIdleFor(ms, false); }

int CNetWorker::AbortAndWait(int ms) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_thread.joinable())
            return kWaitTimeout;
    }
    return WaitIdleFor(ms, true) ? 0 : kWaitTimeout;
}

bool CNetWorker::WaitIdleFor(int ms, bool abort) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms < 0 ? 0 : ms);
    UiMessageLoop* loop = UiMessageLoop::Current();
    const bool onGui = loop && loop->IsGuiThread();
    std::unique_lock<std::mutex> guard(m_lock);
    if (abort && m_busy && !m_abortRequested) {
        // A reply that has come is not abandoned: it is taken below.
        if (m_slot) {
            NetLogLine("abort: the reply has come and is delivered");
        } else if (m_client.TryAbort()) {
            NetLogLine("abort");
            m_abortRequested = true;
        } else {
            NetLogLine("abort refused: the request has left and must not be sent twice");
        }
    }
    while (m_busy) {
        // The worker waits for this very thread to take its reply: take it
        // here, or neither side could move until the time ran out. A reply
        // already running is the one this thread is inside of (a handler
        // waiting): the worker cannot go idle before it returns, so only
        // the time can end the wait.
        if (onGui && m_slot && m_slot->IsPending()) {
            std::shared_ptr<CNetDeliverySlot> slot = m_slot;
            guard.unlock();
            slot->Run();
            guard.lock();
            continue;
        }
        if (m_changed.wait_until(guard, deadline) == std::cv_status::timeout)
            return !m_busy;
    }
    return true;
}

bool CNetWorker::IsAbortRequested() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_abortRequested || m_quit;
}

void CNetWorker::ThreadMain() {
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> guard(m_lock);
            m_wake.wait(guard, [this] { return m_quit || m_hasJob; });
            if (!m_hasJob)
                break;
            job = std::move(m_job);
            m_job = Job{};
            m_hasJob = false;
        }
        std::uint64_t sentBefore = m_client.GetBytesSent();
        std::uint64_t receivedBefore = m_client.GetBytesReceived();
        RunJob(job);
        INetContext* context = nullptr;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            context = m_context;
        }
        if (context)
            context->AddTraffic(m_client.GetBytesSent() - sentBefore, m_client.GetBytesReceived() - receivedBefore);
        std::vector<HWND> waiters;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_busy = false;
            m_abortRequested = false;
            waiters.swap(m_idleWaiters);
        }
        m_changed.notify_all();
        // Posted while the request still counts as the loop's work, so a
        // loop at rest has every notice handled.
        for (HWND window : waiters)
            PostMessage(window, NET_MSG_WORKER_IDLE, 0, 0);
        // The loop may have gone while the request ran (program end).
        UiMessageLoop::EndExternalWorkOn(job.loop);
    }
}

void CNetWorker::RunJob(const Job& job) {
    INetContext* context = nullptr;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        context = m_context;
    }
    std::string text = job.text;
    std::string key = context ? context->GetSessionKey() : std::string();
    const bool mayResend = (job.flags & kResendOnNetFailure) != 0;
    const bool neverTwice = job.neverTwice;
    bool retried = false;
    bool loggedOnAgain = false;
    bool left = false; // some attempt left and was not refused unread
    CNetReply failure;
    failure.networkFailure = 1;
    NetLogRequest("request: ", text);
    for (;;) {
        if (context)
            m_client.SetConnectType(context->GetConnectType());
        CHttpOutcome out = m_client.Post(text, key, neverTwice);
        left = left || out.requestLeft;
        if (out.aborted || IsAbortRequested()) {
            NetLogLine("request abandoned");
            ReportAbandoned(job, left);
            return;
        }
        NetLogLine("reply: code " + std::to_string(out.transportCode) + ", server error " +
                   std::to_string(out.serverError) + ", " + std::to_string(out.body.size()) + " bytes");
        failure.requestLeft = left ? 1 : 0;
        // A request that acts, left and got no whole, readable answer may
        // have been carried out: say so, never "try again". Only a lost
        // session is known to have been refused unread.
        if (job.acts && left && out.serverError != 100 &&
            (out.transportCode != 0 || !BodyReadable(out.body))) {
            NetLogLine("outcome unknown");
            failure.outcomeUnknown = 1;
            Deliver(job, OutcomeUnknownBody(), failure);
            return;
        }
        if (out.serverError == 100) {
            // The server refused the request unread: log on again, then send
            // it once more unless it must never be sent twice. The refusal
            // counts even when its body was then cut: the tag said it all.
            // A request that acts was not carried out: the user is told so
            // plainly, whatever else went wrong on the way.
            const auto refusedBody = [&job](int code) { return job.acts ? NotPlacedBody() : NetFailureBody(code); };
            std::string publicKey = context ? context->GetPublicKeyPath() : std::string();
            CNetReply refused;
            refused.requestLeft = 1;
            if (loggedOnAgain || publicKey.empty()) {
                Deliver(job, refusedBody(NET_ERR_SERVER), refused);
                return;
            }
            std::optional<std::string> clear =
                IsSealedRequest(text) ? OpenSealedRequest(text, key) : std::optional<std::string>(text);
            CCommonTail tail = ReadCommonTail(clear ? *clear : std::string());
            std::string newKey, session;
            int rc = CServiceLogon::Run(m_client, publicKey, tail, &newKey, &session);
            if (rc == -1 || IsAbortRequested()) {
                ReportAbandoned(job, false);
                return;
            }
            if (rc != 0) {
                refused.networkFailure = rc != NET_ERR_SERVER ? 1 : 0;
                Deliver(job, refusedBody(rc), refused);
                return;
            }
            context->OnSessionRenewed(newKey, session);
            NetLogLine("logged on again");
            std::optional<std::string> renewed = RenewRequestSession(text, key, newKey, session);
            if (neverTwice || !renewed) {
                Deliver(job, refusedBody(NET_ERR_SERVER), refused);
                return;
            }
            text = std::move(*renewed);
            key = newKey;
            loggedOnAgain = true;
            left = false;
            continue;
        }
        if (IsLocalNetworkFailure(out.transportCode)) {
            bool mayRetry = mayResend && !retried && (!out.requestLeft || !neverTwice);
            if (mayRetry) {
                retried = true;
                continue;
            }
            Deliver(job, NetFailureBody(out.transportCode), failure);
            return;
        }
        CNetReply answered;
        answered.requestLeft = 1;
        if (out.serverError != 0) {
            if (out.transportCode == 0 && BodyHasErrorSet(out.body))
                Deliver(job, out.body, answered);
            else
                Deliver(job, NetFailureBody(NET_ERR_SERVER), answered);
            return;
        }
        if (out.transportCode != 0 || !BodyReadable(out.body)) {
            Deliver(job, NetFailureBody(NET_ERR_BAD_REPLY), failure);
            return;
        }
        Deliver(job, out.body, answered);
        return;
    }
}

void CNetWorker::Deliver(const Job& job, const std::vector<std::uint8_t>& body, CNetReply marks) {
    if (!job.target || !UiMessageLoop::Current())
        return;
    auto slot = std::make_shared<CNetDeliverySlot>();
    slot->target = job.target;
    slot->reply = marks;
    slot->reply.body = body.empty() ? nullptr : body.data();
    slot->reply.length = static_cast<int>(body.size());
    slot->reply.tag = job.tag;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_quit)
            return;
        m_slot = slot;
    }
    m_changed.notify_all();
    std::shared_ptr<CGuiTask> task = UiMessageLoop::PostTaskToCurrent([slot] { slot->Run(); });
    if (task)
        slot->WaitEnd(task);
    std::lock_guard<std::mutex> guard(m_lock);
    m_slot.reset();
}

void CNetWorker::ReportAbandoned(const Job& job, bool requestLeft) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_quit || !job.target)
            return;
    }
    CNetReply reply;
    reply.abandoned = 1;
    reply.requestLeft = requestLeft ? 1 : 0;
    reply.tag = job.tag;
    UiMessageLoop::PostTaskToCurrent([target = job.target, reply] {
        CNetReply copy = reply;
        SendMessage(target, NET_MSG_REPLY_READY, 0, reinterpret_cast<LPARAM>(&copy));
    });
}
