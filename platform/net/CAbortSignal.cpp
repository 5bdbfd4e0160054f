// The abort flag over an eventfd; see the header.
#include "platform/net/CAbortSignal.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

CAbortSignal::CAbortSignal() { m_fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC); }

CAbortSignal::~CAbortSignal() {
    if (m_fd >= 0)
        close(m_fd);
}

void CAbortSignal::Raise() {
    m_raised = true;
    if (m_fd < 0)
        return;
    std::uint64_t one = 1;
    ssize_t n = write(m_fd, &one, sizeof one);
    (void)n; // the counter is already non-zero when the write fails
}

void CAbortSignal::Reset() {
    m_raised = false;
    if (m_fd < 0)
        return;
    std::uint64_t value = 0;
    ssize_t n = read(m_fd, &value, sizeof value);
    (void)n; // EAGAIN: the counter was zero already
}
