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

bool CGuiTask::WaitStartedThenDone(int timeoutMs) {
    std::unique_lock<std::mutex> guard(m_lock);
    bool started = m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                                      [this] { return m_state != State::Queued; });
    if (!started) {
        m_state = State::Cancelled;
        return false;
    }
    m_changed.wait(guard, [this] { return m_state == State::Done || m_state == State::Cancelled; });
    return m_state == State::Done;
}

CGuiTask::State CGuiTask::GetState() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_state;
}
