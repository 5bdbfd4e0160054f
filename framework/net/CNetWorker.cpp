// The request worker's thread, retry rules and reply hand-over; see the header.
#include "framework/net/CNetWorker.h"

#include "core/CDataSetList.h"
#include "framework/net/CServiceLogon.h"
#include "framework/net/INetContext.h"
#include "framework/net/NetFailure.h"
#include "framework/net/NetLog.h"
#include "framework/net/NetMessages.h"
#include "framework/net/RequestText.h"
#include "platform/system/CpuRelax.h"
#include "platform/win/CGuiTask.h"
#include "platform/win/UiMessageLoop.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <system_error>
#include <thread>

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
    std::atomic<bool> ended{false}; // Done or Withdrawn, for a wait that polls

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
            ended.store(true, std::memory_order_release);
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
            if (state == State::Pending) {
                state = State::Withdrawn;
                ended.store(true, std::memory_order_release);
            }
        }
        changed.notify_all();
    }
    // Worker: waits until done or withdrawn; withdraws when the loop dropped
    // the task that would have run it.
    void WaitEnd(const std::shared_ptr<CGuiTask>& task, int pollUs) {
        // A loop that polls for the answer handles it within microseconds:
        // polling for that end too spares the GUI thread a wake to make.
        const auto pollEnd = std::chrono::steady_clock::now() + std::chrono::microseconds(pollUs);
        while (!ended.load(std::memory_order_acquire) && std::chrono::steady_clock::now() < pollEnd)
            CpuRelax();
        std::unique_lock<std::mutex> guard(lock);
        while (state == State::Pending || state == State::Running) {
            if (changed.wait_for(guard, std::chrono::milliseconds(50)) == std::cv_status::timeout &&
                state == State::Pending && task->GetState() == CGuiTask::State::Cancelled)
                state = State::Withdrawn;
        }
    }
};

namespace {
constexpr int kWatchMs = 50; // the longest sleep on the kept connection alone
// An answer that came within kQuickAnswerUs (microseconds) is awaited the
// next time by the loop's polling, for twice that and kAnswerSlackUs more.
constexpr long long kQuickAnswerUs = 400;
constexpr long long kAnswerSlackUs = 50;
// Such an answer's handling on the GUI thread is awaited by polling for up
// to kHandOverPollUs (microseconds) before the worker sleeps.
constexpr int kHandOverPollUs = 200;

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
    if (!worker->m_wake.IsUsable())
        return nullptr;
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
    m_wake.Signal();
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
    INetContext* context = nullptr;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_thread.joinable() || m_quit || m_busy) {
            NetLogRequest("dropped, worker busy: ", requestText);
            return false;
        }
        m_busy = true;
        m_abortRequested = false;
        m_client.ResetAbort();
        m_job.target = target;
        m_job.text = std::move(requestText);
        m_job.flags = flags;
        m_job.tag = tag;
        m_job.neverTwice = neverTwice;
        m_job.acts = acts;
        m_job.sentBefore = m_client.GetBytesSent();
        m_job.receivedBefore = m_client.GetBytesReceived();
        m_job.loop = UiMessageLoop::Current();
        if (m_job.loop)
            m_job.loop->BeginExternalWork();
        context = m_context;
    }
    // A query that may go on the kept connection leaves from here, before
    // the worker wakes: a thread's wake costs about a fifth of a loopback
    // round trip. A worker asleep on that connection is then woken by the
    // answer alone. The worker does not touch the connection until it has
    // the job; a request that must not go twice keeps to the worker's fresh
    // connection.
    CHttpPostClient::Ahead ahead = CHttpPostClient::Ahead::None;
    if (!neverTwice) {
        NetLogRequest("request: ", m_job.text);
        if (context)
            m_client.SetConnectType(context->GetConnectType());
        ahead = m_client.SendAhead(m_job.text);
        m_job.sentAhead = ahead != CHttpPostClient::Ahead::None;
        // On a link that answered the last one within a fraction of a
        // millisecond, the loop polls for this answer a while instead of
        // sleeping: a wake costs tens of microseconds (UiMessageLoop::ExpectSoon).
        const long long last = m_client.LastAnswerUs();
        // With one processor the poller would only hold up the thread it waits for.
        static const bool parallel = std::thread::hardware_concurrency() > 1;
        m_job.quick = parallel && ahead == CHttpPostClient::Ahead::Whole && target && m_job.loop &&
                      last > 0 && last <= kQuickAnswerUs;
        if (m_job.quick)
            m_job.loop->ExpectSoon(static_cast<int>(2 * last + kAnswerSlackUs));
    }
    bool wake = true;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_hasJob = true;
        wake = !(m_watching && ahead == CHttpPostClient::Ahead::Whole);
    }
    if (wake)
        m_wake.Signal();
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
            // A worker asleep on the kept connection watches no abort.
            m_wake.Signal();
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
    // After a request the thread sleeps on the kept connection too, where
    // the answer to a request sent ahead (PostRequest) wakes it. Any wake
    // that brings no job ends that until the next request: a connection the
    // server closed stays readable, and must not wake it again. The watch
    // lasts kWatchMs, so a request whose answer never comes is still held
    // to the exchange's time-outs, from the worker's reading of it.
    bool watch = true;
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> guard(m_lock);
            while (!m_quit && !m_hasJob) {
                const int handle = watch ? m_client.KeptConnectionHandle() : -1;
                m_watching = handle >= 0;
                guard.unlock();
                m_wake.Wait(handle, handle >= 0 ? kWatchMs : -1);
                guard.lock();
                m_watching = false;
                watch = false;
            }
            if (!m_hasJob)
                break;
            job = std::move(m_job);
            m_job = Job{};
            m_hasJob = false;
        }
        watch = true;
        RunJob(job);
        INetContext* context = nullptr;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            context = m_context;
        }
        if (context)
            context->AddTraffic(m_client.GetBytesSent() - job.sentBefore,
                                m_client.GetBytesReceived() - job.receivedBefore);
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
    bool ahead = job.sentAhead; // the first attempt left before the worker woke
    CNetReply failure;
    failure.networkFailure = 1;
    if (job.neverTwice) // a query was logged as it was handed over
        NetLogRequest("request: ", text);
    for (;;) {
        if (context && !ahead)
            m_client.SetConnectType(context->GetConnectType());
        CHttpOutcome out = ahead ? m_client.FinishAhead(key) : m_client.Post(text, key, neverTwice);
        ahead = false;
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
        slot->WaitEnd(task, job.quick ? kHandOverPollUs : 0);
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
