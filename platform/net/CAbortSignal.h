// A flag that another thread raises to stop a wait at once: an eventfd that
// a socket's poll watches beside the socket, plus an atomic copy for cheap
// checks between waits.
#pragma once

#include <atomic>

class CAbortSignal {
public:
    CAbortSignal();  // IsUsable() is false when the eventfd could not be made
    ~CAbortSignal();
    CAbortSignal(const CAbortSignal&) = delete;
    CAbortSignal& operator=(const CAbortSignal&) = delete;

    bool IsUsable() const { return m_fd >= 0; }
    // Any thread: raises the flag and wakes every poll on the descriptor.
    void Raise();
    // Lowers the flag (between requests, by the owner of the wait).
    void Reset();
    bool IsRaised() const { return m_raised.load(); }
    // The descriptor to poll for POLLIN; readable while the flag is up.
    int GetFd() const { return m_fd; }

private:
    int m_fd = -1;
    std::atomic<bool> m_raised{false};
};
