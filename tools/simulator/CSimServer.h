// The simulated server's sockets: a loopback listening socket, the accept
// thread, and one thread per connection, bounded in number. What is done on
// a connection is the owner's (the serve function); the server only accepts,
// bounds, shuts down and reaps.
//
// Threads: Start runs the accept thread; each accepted connection is served
// on a thread of its own. The first connection's thread is made at Start: a
// thread made while the process loads a library waits for the whole load,
// and a program starting beside such a load would wait for its first reply. Every public member may be called from any thread
// except the serve function's own (Stop joins it).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <list>
#include <thread>

class CSimServer {
public:
    // Serves one accepted connection until it is to end; true to end it with
    // a reset (RST) rather than an orderly close. The server closes fd.
    using ServeFn = std::function<bool(int fd)>;
    // Asked for each accepted connection before it is served; true closes it unread.
    using DropFn = std::function<bool()>;

    CSimServer(ServeFn serve, DropFn drop);
    ~CSimServer();  // stops
    CSimServer(const CSimServer&) = delete;
    CSimServer& operator=(const CSimServer&) = delete;

    // Listens on 127.0.0.1:port (0 = a free port chosen by the system).
    // Returns the port, or -1 with errno set when the socket cannot be
    // opened, or -1 with errno EALREADY when the server already runs.
    int Start(int port);
    // Closes the listening socket and every connection and joins the threads.
    void Stop();
    int GetPort() const;  // -1 when not running
    // Closes the listening socket for ms milliseconds, then listens again.
    void RefuseConnections(int ms);

    // Connections served at once (beyond them peers wait in the listen
    // queue), and how long a reply the peer does not take may stall
    // (applies to connections accepted later).
    void SetBounds(int maxConnections, int sendStallMs);

    // Waits ms; false as soon as the server stops.
    bool SleepInterruptible(int ms);
    // True from Start to Stop; loops on connection threads watch it.
    const std::atomic<bool>& Running() const { return m_running; }

private:
    struct Connection {
        std::thread thread;
        int fd = -1;
        std::shared_ptr<std::atomic<bool>> done = std::make_shared<std::atomic<bool>>(false);
    };

    int OpenListener(int wanted);  // sets errno on failure
    void AcceptLoop();
    // The ready thread's body: serves the connection the accept loop hands it.
    void RunWhenHanded(Connection* c);
    void Run(int fd);
    void Wake();

    ServeFn m_serve;
    DropFn m_drop;
    mutable std::mutex m_mu;                 // guards everything below
    std::condition_variable m_cv;
    std::atomic<bool> m_running{false};
    int m_listenFd = -1;
    int m_port = 0;
    int m_wakeRead = -1, m_wakeWrite = -1;   // wakes the accept loop's poll
    bool m_refusing = false;
    std::chrono::steady_clock::time_point m_refuseUntil;
    std::thread m_acceptThread;
    std::list<Connection> m_connections;     // a list: the ready thread holds its entry
    Connection* m_ready = nullptr;           // the entry whose thread waits for its peer
    int m_served = 0;                        // connections whose serving has not ended
    int m_maxConnections = 256;
    int m_sendStallMs = 10000;
};
