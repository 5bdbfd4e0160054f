// The fault queue.
#include "tools/simulator/CSimFaults.h"

bool SimFault::Refuses() const {
    return kind == SimFaultKind::ErrorSet || kind == SimFaultKind::SessionLost ||
           (kind == SimFaultKind::CloseInsideBody && errorCode != 0);
}

SimReply SimFault::Refusal() const {
    if (kind == SimFaultKind::SessionLost) return SimReply{{}, 100};
    return SimReply::Error(errorText, errorCode);
}

void CSimFaults::Inject(const SimFault& fault, int count) {
    if (count <= 0 || fault.kind == SimFaultKind::None) return;
    std::lock_guard<std::mutex> lock(m_mu);
    m_faults.emplace_back(fault, count);
}

void CSimFaults::InjectFor(int main, int sub, const SimFault& fault, int count) {
    if (count <= 0 || fault.kind == SimFaultKind::None) return;
    std::lock_guard<std::mutex> lock(m_mu);
    m_targeted.push_back({main, sub, fault, count});
}

void CSimFaults::Clear() {
    std::lock_guard<std::mutex> lock(m_mu);
    m_faults.clear();
    m_targeted.clear();
}

bool CSimFaults::TakeAcceptFault() {
    std::lock_guard<std::mutex> lock(m_mu);
    if (m_faults.empty() || m_faults.front().first.kind != SimFaultKind::AcceptAndClose) return false;
    if (--m_faults.front().second <= 0) m_faults.pop_front();
    return true;
}

SimFault CSimFaults::Take(int main, int sub) {
    std::lock_guard<std::mutex> lock(m_mu);
    for (auto it = m_targeted.begin(); it != m_targeted.end(); ++it) {
        if (it->main == main && it->sub == sub) {
            SimFault f = it->fault;
            if (--it->count <= 0) m_targeted.erase(it);
            if (f.kind == SimFaultKind::AcceptAndClose) f.kind = SimFaultKind::CloseAfterRequest;
            return f;
        }
    }
    if (m_faults.empty()) return {};
    SimFault f = m_faults.front().first;
    if (--m_faults.front().second <= 0) m_faults.pop_front();
    return f;
}
