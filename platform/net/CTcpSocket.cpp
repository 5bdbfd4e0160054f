// Non-blocking POSIX TCP socket with poll-based waits; see the header.
#include "platform/net/CTcpSocket.h"

#include "platform/net/CAbortSignal.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {
long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

long long DeadlineAfter(int timeoutMs) { return NowMs() + (timeoutMs < 0 ? 0 : timeoutMs); }
} // namespace

CTcpSocket::CTcpSocket(CAbortSignal* abort) : m_abort(abort) {}

CTcpSocket::~CTcpSocket() { Close(); }

void CTcpSocket::Close() {
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
}

NetIo CTcpSocket::WaitFor(short events, long long deadlineMs) {
    for (;;) {
        if (m_abort && m_abort->IsRaised())
            return NetIo::Aborted;
        long long left = deadlineMs - NowMs();
        if (left <= 0)
            return NetIo::TimedOut;
        pollfd fds[2] = {{m_fd, events, 0}, {m_abort ? m_abort->GetFd() : -1, POLLIN, 0}};
        int n = poll(fds, 2, static_cast<int>(left > 60000 ? 60000 : left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return NetIo::Failed;
        }
        if (fds[1].revents & POLLIN)
            return NetIo::Aborted;
        if (fds[0].revents & (events | POLLERR | POLLHUP))
            return NetIo::Ok; // the next call tells data from error
    }
}

NetConnect CTcpSocket::Connect(const std::string& host, int port, int timeoutMs) {
    Close();
    long long deadline = DeadlineAfter(timeoutMs);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    std::string service = std::to_string(port);
    if (host.empty() || getaddrinfo(host.c_str(), service.c_str(), &hints, &list) != 0 || !list)
        return NetConnect::NotResolved;
    NetConnect outcome = NetConnect::Refused;
    for (addrinfo* ai = list; ai; ai = ai->ai_next) {
        m_fd = socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (m_fd < 0)
            continue;
        int rc = connect(m_fd, ai->ai_addr, ai->ai_addrlen);
        if (rc != 0 && errno == EINPROGRESS) {
            NetIo waited = WaitFor(POLLOUT, deadline);
            if (waited == NetIo::Aborted) {
                outcome = NetConnect::Aborted;
                Close();
                break;
            }
            int error = 0;
            socklen_t length = sizeof error;
            if (waited == NetIo::Ok && getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
                rc = 0;
        }
        if (rc == 0) {
            int one = 1;
            setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            outcome = NetConnect::Ok;
            break;
        }
        Close();
        if (NowMs() >= deadline)
            break;
    }
    freeaddrinfo(list);
    return outcome;
}

NetIo CTcpSocket::Send(const void* data, size_t size, int timeoutMs, size_t* sent) {
    *sent = 0;
    if (m_fd < 0)
        return NetIo::Failed;
    long long deadline = DeadlineAfter(timeoutMs);
    const char* p = static_cast<const char*>(data);
    while (*sent < size) {
        if (m_abort && m_abort->IsRaised())
            return NetIo::Aborted;
        ssize_t n = send(m_fd, p + *sent, size - *sent, MSG_NOSIGNAL);
        if (n > 0) {
            *sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            NetIo waited = WaitFor(POLLOUT, deadline);
            if (waited != NetIo::Ok)
                return waited;
            continue;
        }
        return NetIo::Failed;
    }
    return NetIo::Ok;
}

NetIo CTcpSocket::Receive(void* buffer, size_t capacity, int timeoutMs, size_t* received) {
    *received = 0;
    if (m_fd < 0)
        return NetIo::Failed;
    long long deadline = DeadlineAfter(timeoutMs);
    for (;;) {
        if (m_abort && m_abort->IsRaised())
            return NetIo::Aborted;
        ssize_t n = recv(m_fd, buffer, capacity, 0);
        if (n > 0) {
            *received = static_cast<size_t>(n);
            return NetIo::Ok;
        }
        if (n == 0)
            return NetIo::Closed;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            NetIo waited = WaitFor(POLLIN, deadline);
            if (waited != NetIo::Ok)
                return waited;
            continue;
        }
        // A reset after the peer read the request is a close for the caller.
        return errno == ECONNRESET ? NetIo::Closed : NetIo::Failed;
    }
}

bool CTcpSocket::IsReusable() {
    if (m_fd < 0)
        return false;
    pollfd fd = {m_fd, POLLIN, 0};
    int n = poll(&fd, 1, 0);
    if (n == 0)
        return true;
    // Readable while idle: either the peer closed or it sent something
    // nobody asked for; neither connection can carry a request.
    return false;
}
