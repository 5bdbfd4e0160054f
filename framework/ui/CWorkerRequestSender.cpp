// Requests through a CNetWorker.
#include "framework/ui/CWorkerRequestSender.h"

#include "framework/app/CAppData.h"
#include "framework/net/CNetWorker.h"

CNetWorker* CWorkerRequestSender::GetWorker() const {
    if (m_worker)
        return m_worker;
    CAppData* app = CAppData::Instance();
    return app ? app->GetNetWorker() : nullptr;
}

bool CWorkerRequestSender::Send(HWND window, const std::string& text, unsigned flags, unsigned tag) {
    CNetWorker* worker = GetWorker();
    return worker && worker->PostRequest(window, text, flags, tag);
}

bool CWorkerRequestSender::WaitIdle(int ms) {
    CNetWorker* worker = GetWorker();
    return !worker || worker->WaitIdle(ms);
}

int CWorkerRequestSender::AbortAndWait(int ms) {
    CNetWorker* worker = GetWorker();
    return worker ? worker->AbortAndWait(ms) : 0;
}

bool CWorkerRequestSender::NotifyWhenIdle(HWND window) {
    CNetWorker* worker = GetWorker();
    return worker && worker->NotifyWhenIdle(window);
}
