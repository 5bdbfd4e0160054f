// A request worker: a thread with its connection that runs one request at a
// time and hands the reply to the window that asked.
//
// Posting: PostRequest takes (window handle, request text, flags) when the
// worker is idle and returns false, dropping the request, when it is busy,
// so the window can restore what it disabled. A request in flight counts
// as external work of the GUI loop (the test driver waits for it).
//
// Delivery: the reply (or the "error" set a failure becomes) reaches the
// window by SendMessage(window, NET_MSG_REPLY_READY, 0, CNetReply*) on the
// GUI thread; the worker owns the body during the send. A window that is
// gone by then gets nothing (handles are never reused). A GUI thread that
// waits for the worker in WaitIdle takes a reply that is waiting for it
// there; AbortAndWait and the destructor drop it instead.
//
// Failures: a local network failure (codes 1..4) is retried once when the
// request has kResendOnNetFailure, but never once a byte of it has left when
// it must not reach the server twice (kNeverResend, or an order,
// cancellation, batch order or warrant exercise by its function numbers).
// A lost session (server error 100) makes the worker log on again and
// resend, except a request that must not reach the server twice (the
// above, and every request without kResendOnNetFailure), which gets the
// failure. An aborted request delivers nothing.
#pragma once

#include "framework/net/CHttpPostClient.h"
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

    // Takes the request when idle; false (nothing sent) when busy or
    // without a thread. target may be null (nothing is delivered).
    bool PostRequest(HWND target, std::string requestText, unsigned flags);
    // 0 when the worker is idle or becomes idle within ms (a busy worker is
    // aborted first, and its reply dropped); kWaitTimeout when it stays busy.
    int AbortAndWait(int ms);
    bool IsIdle() const;
    // True when the worker is idle or becomes idle within ms.
    bool WaitIdle(int ms);

    CHttpPostClient& GetConnection() { return m_client; }

private:
    struct Job {
        HWND target = nullptr;
        std::string text;
        unsigned flags = 0;
        UiMessageLoop* loop = nullptr; // whose external work the job counts as
    };

    CNetWorker() = default;
    void ThreadMain();
    void RunJob(const Job& job);
    void Deliver(HWND target, const std::vector<std::uint8_t>& body, bool networkFailure);
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
    std::shared_ptr<CNetDeliverySlot> m_slot; // the reply waiting for the GUI thread
    std::thread m_thread;
};
