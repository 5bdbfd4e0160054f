// The accept loop and the connection bounds.
#include "tools/simulator/CSimServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <system_error>
#include <unistd.h>

namespace {
constexpr int kPollSliceMs = 50;        // how often blocked loops look at the stop flag
constexpr int kAcceptPauseMs = 100;     // after accept found no descriptor (or thread) to spare
constexpr int kListenBacklog = 512;     // connections beyond the served ones wait here
} // namespace

CSimServer::CSimServer(ServeFn serve, DropFn drop) : m_serve(std::move(serve)), m_drop(std::move(drop)) {}

CSimServer::~CSimServer() { Stop(); }

int CSimServer::OpenListener(int wanted) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(wanted));
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0 || ::listen(fd, kListenBacklog) < 0) {
        int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    return fd;
}

int CSimServer::Start(int port) {
    std::lock_guard<std::mutex> lock(m_mu);
    if (m_running) {
        errno = EALREADY;
        return -1;
    }
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) < 0) return -1;
    m_listenFd = OpenListener(port);
    if (m_listenFd < 0) {
        int error = errno;
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        errno = error;
        return -1;
    }
    m_wakeRead = pipeFds[0];
    m_wakeWrite = pipeFds[1];
    m_running = true;
    m_refusing = false;
    m_acceptThread = std::thread([this] { AcceptLoop(); });
    m_connections.emplace_back();
    Connection& ready = m_connections.back();
    try {
        ready.thread = std::thread([this, c = &ready] { RunWhenHanded(c); });
        m_ready = &ready;
    } catch (const std::system_error&) {
        m_connections.pop_back(); // the first peer gets a thread of its own
    }
    return m_port;
}

void CSimServer::Stop() {
    std::list<Connection> connections;
    {
        std::lock_guard<std::mutex> lock(m_mu);
        if (!m_running) return;
        m_running = false;
        m_ready = nullptr;
        Wake();
        // Unblock every connection thread; each closes its own socket.
        for (auto& c : m_connections) ::shutdown(c.fd, SHUT_RDWR);
    }
    m_cv.notify_all();
    if (m_acceptThread.joinable()) m_acceptThread.join();
    {
        std::lock_guard<std::mutex> lock(m_mu);
        connections.swap(m_connections);
    }
    for (auto& c : connections)
        if (c.thread.joinable()) c.thread.join();
    std::lock_guard<std::mutex> lock(m_mu);
    if (m_listenFd >= 0) ::close(m_listenFd);
    m_listenFd = -1;
    ::close(m_wakeRead);
    ::close(m_wakeWrite);
    m_wakeRead = m_wakeWrite = -1;
}

int CSimServer::GetPort() const {
    std::lock_guard<std::mutex> lock(m_mu);
    return m_running ? m_port : -1;
}

void CSimServer::RefuseConnections(int ms) {
    std::unique_lock<std::mutex> lock(m_mu);
    if (!m_running) return;
    m_refusing = true;
    m_refuseUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    Wake();
    // The accept thread owns the listening socket; wait until it has closed it.
    m_cv.wait(lock, [this] { return m_listenFd < 0 || !m_running; });
}

void CSimServer::SetBounds(int maxConnections, int sendStallMs) {
    {
        std::lock_guard<std::mutex> lock(m_mu);
        m_maxConnections = maxConnections;
        m_sendStallMs = sendStallMs;
    }
    m_cv.notify_all();
}

bool CSimServer::SleepInterruptible(int ms) {
    std::unique_lock<std::mutex> lock(m_mu);
    return !m_cv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return !m_running.load(); });
}

void CSimServer::Wake() {
    char c = 1;
    if (m_wakeWrite >= 0) (void)!::write(m_wakeWrite, &c, 1);
}

void CSimServer::AcceptLoop() {
    while (m_running) {
        int fd;
        {
            std::unique_lock<std::mutex> lock(m_mu);
            if (m_refusing) {
                if (m_listenFd >= 0) {
                    ::close(m_listenFd);
                    m_listenFd = -1;
                    m_cv.notify_all();
                }
                if (std::chrono::steady_clock::now() >= m_refuseUntil) {
                    m_listenFd = OpenListener(m_port);
                    m_refusing = false;
                } else {
                    m_cv.wait_until(lock, m_refuseUntil, [this] { return !m_running.load(); });
                    continue;
                }
            }
            // Reap the threads of closed connections.
            for (auto it = m_connections.begin(); it != m_connections.end();) {
                if (it->done->load()) {
                    it->thread.join();
                    it = m_connections.erase(it);
                } else {
                    ++it;
                }
            }
            // At the cap, further peers wait in the listen queue: accepting
            // them only to close them would fail clients a moment would serve.
            if (m_served >= m_maxConnections) {
                m_cv.wait_for(lock, std::chrono::milliseconds(500), [this] {
                    return !m_running.load() || m_refusing || m_served < m_maxConnections;
                });
                continue;
            }
            fd = m_listenFd;
        }
        if (fd < 0) {
            // Reopening failed (the port was taken meanwhile): try again shortly.
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollSliceMs));
            std::lock_guard<std::mutex> lock(m_mu);
            if (!m_refusing && m_listenFd < 0) m_listenFd = OpenListener(m_port);
            continue;
        }
        pollfd fds[2] = {{fd, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        int n = ::poll(fds, 2, 500);
        if (n <= 0) continue;
        if (fds[1].revents) {
            char buf[64];
            while (::read(m_wakeRead, buf, sizeof buf) > 0) {}
        }
        if (!(fds[0].revents & POLLIN)) continue;
        int conn = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (conn < 0) {
            // The pending peer stays queued, so poll would wake at once
            // again: wait for descriptors to come free instead of spinning.
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                SleepInterruptible(kAcceptPauseMs);
            continue;
        }
        if (m_drop()) {
            ::close(conn);
            continue;
        }
        int one = 1;
        ::setsockopt(conn, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::unique_lock<std::mutex> lock(m_mu);
        if (!m_running) {
            ::close(conn);
            break;
        }
        // A reply the peer does not read must not hold the thread for ever.
        timeval stall{m_sendStallMs / 1000, (m_sendStallMs % 1000) * 1000};
        ::setsockopt(conn, SOL_SOCKET, SO_SNDTIMEO, &stall, sizeof stall);
        if (m_ready) {
            m_ready->fd = conn;
            m_ready = nullptr;
            ++m_served;
            m_cv.notify_all();
            continue;
        }
        // Listed before its thread starts, so Run always finds its entry.
        m_connections.emplace_back();
        Connection& c = m_connections.back();
        c.fd = conn;
        ++m_served;
        auto done = c.done;
        try {
            c.thread = std::thread([this, conn, done] {
                Run(conn);
                done->store(true);
            });
        } catch (const std::system_error&) {
            // No thread to spare: drop this peer and let running ones end.
            m_connections.pop_back();
            --m_served;
            ::close(conn);
            m_cv.wait_for(lock, std::chrono::milliseconds(kAcceptPauseMs), [this] { return !m_running.load(); });
        }
    }
}

void CSimServer::RunWhenHanded(Connection* c) {
    int fd;
    {
        std::unique_lock<std::mutex> lock(m_mu);
        m_cv.wait(lock, [&] { return c->fd >= 0 || !m_running.load(); });
        fd = c->fd;
    }
    if (fd >= 0) Run(fd);
    c->done->store(true);
}

void CSimServer::Run(int fd) {
    if (m_serve(fd)) {
        // A zero linger makes close abort with RST; a shutdown first would send a FIN.
        linger hardClose{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hardClose, sizeof hardClose);
    } else {
        ::shutdown(fd, SHUT_RDWR);
    }
    {
        std::lock_guard<std::mutex> lock(m_mu);
        // Stop may be waiting to shut this socket down; close it only under the lock.
        for (auto& c : m_connections)
            if (c.fd == fd) c.fd = -1;
        ::close(fd);
        --m_served;
    }
    m_cv.notify_all();  // the accept loop may wait for a free place
}
