// A unit of work queued to the GUI thread ahead of posted messages, with
// its state for the thread that waits on it (the test driver's inspections).
//
// The waiter may cancel a task that has not started yet, so that a task
// whose captures are about to go out of scope never runs late.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

class CGuiTask {
public:
    enum class State { Queued, Running, Done, Cancelled };

    explicit CGuiTask(std::function<void()> fn) : m_fn(std::move(fn)) {}

    // GUI thread: runs the work unless cancelled; marks it done either way.
    void Run();
    // Loop shutdown: the task will never run.
    void Drop();
    // Waiter: true when the task started within timeoutMs; false after
    // cancelling a task still queued.
    bool WaitStarted(int timeoutMs);
    // Waiter: true once the task has run or was cancelled; false when it is
    // still queued or running after timeoutMs (−1: no limit).
    bool WaitFinished(int timeoutMs);
    // WaitStarted, then an unbounded WaitFinished; true when the task ran.
    bool WaitStartedThenDone(int timeoutMs);
    State GetState() const;

private:
    std::function<void()> m_fn;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    State m_state = State::Queued;
};
