// The wake over an eventfd; see the header.
#include "platform/net/CWakeSignal.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {
constexpr int kNapMs = 10; // the longest sleep of a signal without its eventfd
}

CWakeSignal::CWakeSignal() { m_fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC); }

CWakeSignal::~CWakeSignal() {
    if (m_fd >= 0)
        close(m_fd);
}

void CWakeSignal::Signal() {
    if (m_fd < 0)
        return;
    std::uint64_t one = 1;
    ssize_t n = write(m_fd, &one, sizeof one);
    (void)n; // the counter is already non-zero when the write fails
}

bool CWakeSignal::Wait(int watchFd, int timeoutMs) {
    // A negative descriptor is skipped by poll; without its eventfd the
    // signal cannot be seen, and the sleeper only naps.
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {watchFd, POLLIN, 0}};
    if (m_fd < 0 && (timeoutMs < 0 || timeoutMs > kNapMs))
        timeoutMs = kNapMs;
    int n = poll(fds, 2, timeoutMs);
    while (n < 0 && errno == EINTR)
        n = poll(fds, 2, timeoutMs);
    if (n <= 0 || !(fds[0].revents & POLLIN))
        return false;
    std::uint64_t value = 0;
    ssize_t got = read(m_fd, &value, sizeof value);
    (void)got; // EAGAIN: another wait took it first
    return true;
}
