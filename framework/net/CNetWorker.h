// A request worker: a thread with its connection that runs one request at a
// time and hands the reply to the window that asked.
//
// Posting: PostRequest takes (window handle, request text, flags, tag) when
// the worker is idle and returns false, dropping the request, when it is
// busy or the text fails CheckRequestText, so the window can restore what
// it disabled. A window refused as busy may ask to be told when the worker
// is free (NotifyWhenIdle) instead of waiting for it. A request in flight
// counts as external work of the GUI loop (the test driver waits for it).
//
// Delivery: every request taken ends in exactly one NET_MSG_REPLY_READY to
// its window, carrying a CNetReply (NetMessages.h): the reply, a failure
// (an "error" set, with whether the request had left), or an abandonment.
// A reply or failure is sent by SendMessage on the GUI thread while the
// worker waits (the worker owns the body during the send); an abandonment
// is posted and the worker goes on. A window that is gone by then gets
// nothing (handles are never reused). A GUI thread that waits for the
// worker (WaitIdle or AbortAndWait) takes a reply that is waiting for it
// there, so a reply that came is never dropped.
//
// Never twice: a request that must not reach the server twice — one
// without kResendOnNetFailure, and every request that acts: kNeverResend,
// or IsActingRequest by its function numbers (an order, cancellation,
// password change, trade login, batch order, warrant exercise or token
// application) — is neither retried nor
// abandoned once a byte of it has left. When a request that acts left and
// no answer came (the connection failed, the deadline passed, the reply was
// unreadable) its outcome is unknown: the window gets an "error" set with
// kOutcomeUnknownText and outcomeUnknown set. Other failures keep the six
// transport texts, with requestLeft telling whether the request had left.
//
// Failures: any other request is retried once after a local network failure
// when it has kResendOnNetFailure. A lost session (server error 100) makes
// the worker log on again and resend, except a never-twice request, which
// gets the failure (the server refused it unread).
#pragma once

#include "framework/net/CHttpPostClient.h"
#include "framework/net/NetMessages.h"
#include "platform/win/Message.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class INetContext;
class UiMessageLoop;
struct CNetDeliverySlot;

class CNetWorker {
public:
    // Request flags.
    enum : unsigned {
        kResendOnNetFailure = 1, // the window's resend-after-network-failure flag
        kNeverResend = 2,        // never send twice (e.g. the password change)
    };
    static constexpr int kWaitTimeout = 258; // AbortAndWait: still busy

    // A new worker with its thread and connection, or null when the thread
    // cannot be started.
    static std::unique_ptr<CNetWorker> Create();
    // Aborts the request in flight (its reply is dropped) and joins the thread.
    ~CNetWorker();
    CNetWorker(const CNetWorker&) = delete;
    CNetWorker& operator=(const CNetWorker&) = delete;

    // Where the worker finds the session key, the connection type, the
    // traffic totals and the public key; null runs without them (no sealed
    // replies, no re-logon). Set before the first request; not owned.
    void SetContext(INetContext* context);

    // Takes the request when idle; false (nothing sent) when busy, without
    // a thread, or for a text CheckRequestText refuses. target may be null
    // (nothing is delivered); tag comes back in the CNetReply.
    bool PostRequest(HWND target, std::string requestText, unsigned flags, unsigned tag = 0);
    // 0 when the worker is idle or becomes idle within ms; kWaitTimeout when
    // it stays busy. The request in flight is abandoned first (its window
    // told so) unless it must not be sent twice and has begun to leave:
    // that one is only waited for.
    int AbortAndWait(int ms);
    // Posts NET_MSG_WORKER_IDLE to window when the worker is next idle: at
    // once when it is idle now, else when the request in flight has ended
    // (before the loop stops counting it as external work). Never waits;
    // one notice per call, and a window that is gone by then gets nothing.
    // False, and nothing posted, when the worker will take no request
    // again (no thread, or ending).
    bool NotifyWhenIdle(HWND window);
    bool IsIdle() const;
    // True when the worker is idle or becomes idle within ms.
    bool WaitIdle(int ms);

    CHttpPostClient& GetConnection() { return m_client; }

private:
    struct Job {
        HWND target = nullptr;
        std::string text;
        unsigned flags = 0;
        unsigned tag = 0;
        bool neverTwice = false;       // neither retried nor abandoned once it left
        bool acts = false;             // an order or the like: unanswered means outcome unknown
        UiMessageLoop* loop = nullptr; // whose external work the job counts as
    };

    CNetWorker() = default;
    void ThreadMain();
    void RunJob(const Job& job);
    // Sends the window its reply or failure and waits until it is handled.
    void Deliver(const Job& job, const std::vector<std::uint8_t>& body, CNetReply marks);
    // Posts the window that its request was abandoned; does not wait.
    void ReportAbandoned(const Job& job, bool requestLeft);
    bool IsAbortRequested();
    // Waits for idle up to ms; with abort, aborts the request first.
    bool WaitIdleFor(int ms, bool abort);

    CHttpPostClient m_client;
    INetContext* m_context = nullptr;

    mutable std::mutex m_lock;             // guards everything below
    std::condition_variable m_wake;        // the thread: a job or quit
    std::condition_variable m_changed;     // waiters: idle, or a reply waiting for the GUI thread
    bool m_busy = false;
    bool m_hasJob = false;
    bool m_quit = false;
    bool m_abortRequested = false;
    Job m_job;
    std::vector<HWND> m_idleWaiters; // told when the running request ends
    std::shared_ptr<CNetDeliverySlot> m_slot; // the reply waiting for the GUI thread
    std::thread m_thread;
};
