// GUI-thread work items and their hand-shake with the waiting thread.
#include "platform/win/CGuiTask.h"

#include <chrono>

void CGuiTask::Run() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_state != State::Queued)
            return;
        m_state = State::Running;
    }
    m_changed.notify_all();
    m_fn();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_state = State::Done;
    }
    m_changed.notify_all();
}

void CGuiTask::Drop() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_state != State::Queued)
            return;
        m_state = State::Cancelled;
    }
    m_changed.notify_all();
}

bool CGuiTask::WaitStarted(int timeoutMs) {
    std::unique_lock<std::mutex> guard(m_lock);
    if (m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] { return m_state != State::Queued; }))
        return m_state != State::Cancelled;
    m_state = State::Cancelled;
    return false;
}

bool CGuiTask::WaitFinished(int timeoutMs) {
    std::unique_lock<std::mutex> guard(m_lock);
    auto finished = [this] { return m_state == State::Done || m_state == State::Cancelled; };
    if (timeoutMs < 0) {
        m_changed.wait(guard, finished);
        return true;
    }
    return m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), finished);
}

bool CGuiTask::WaitStartedThenDone(int timeoutMs) {
    if (!WaitStarted(timeoutMs))
        return false;
    WaitFinished(-1);
    return GetState() == State::Done;
}

CGuiTask::State CGuiTask::GetState() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_state;
}
