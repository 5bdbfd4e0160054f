// The application state's request road: the shared worker, made on first
// use with the configured server and the application's context, and its
// connection.
#include "framework/app/CAppData.h"

#include "framework/app/CAppNetContext.h"
#include "framework/net/CNetWorker.h"

#include <cstdlib>

CNetWorker* CAppData::GetNetWorker() {
    if (!m_netWorker) {
        std::unique_ptr<CNetWorker> worker = CNetWorker::Create();
        if (!worker)
            return nullptr;
        worker->GetConnection().SetServer(GetSetting("Server_Host").str(),
                                          std::atoi(GetSetting("Server_Port").c_str()));
        worker->SetContext(&CAppNetContext::Instance());
        m_netWorker = NetWorkerPtr(worker.release(), [](CNetWorker* w) { delete w; });
    }
    return m_netWorker.get();
}

CHttpPostClient* CAppData::GetSharedConnection() {
    CNetWorker* worker = GetNetWorker();
    return worker ? &worker->GetConnection() : nullptr;
}
