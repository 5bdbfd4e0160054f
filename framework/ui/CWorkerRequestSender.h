// The program's request sender: a CNetWorker, either one a window owns or,
// by default, the application's shared worker (taken on first use).
#pragma once

#include "framework/ui/IRequestSender.h"

class CNetWorker;

class CWorkerRequestSender : public IRequestSender {
public:
    // worker null: the shared worker of CAppData.
    explicit CWorkerRequestSender(CNetWorker* worker = nullptr) : m_worker(worker) {}

    void SetWorker(CNetWorker* worker) { m_worker = worker; }
    // The worker used: the given one or the shared one; null without a
    // CAppData or when no worker can start.
    CNetWorker* GetWorker() const;

    bool Send(HWND window, const std::string& text, unsigned flags, unsigned tag) override;
    bool WaitIdle(int ms) override;
    int AbortAndWait(int ms) override;
    bool NotifyWhenIdle(HWND window) override;

private:
    CNetWorker* m_worker; // not owned; null = shared
};
