// A thread's sleep that another thread ends, and that a socket's answer ends
// too: an eventfd polled beside the socket. A request worker waits on it
// between requests, so a reply to a request sent on its behalf while it
// slept wakes it once, by its arrival, with no wake of its own before.
#pragma once

class CWakeSignal {
public:
    CWakeSignal();  // IsUsable() is false when the eventfd could not be made
    ~CWakeSignal();
    CWakeSignal(const CWakeSignal&) = delete;
    CWakeSignal& operator=(const CWakeSignal&) = delete;

    bool IsUsable() const { return m_fd >= 0; }
    // Any thread: ends the current or the next Wait.
    void Signal();
    // Sleeps until Signal is called (consuming it), until watchFd, when not
    // negative, is readable, closed or in error, or for timeoutMs (−1: no
    // limit). True when a signal ended it.
    bool Wait(int watchFd, int timeoutMs = -1);

private:
    int m_fd = -1;
};
