// A TCP connection over POSIX sockets. Every wait is a poll on the socket
// and on an abort signal, so another thread stops a connect, send or
// receive at once; time-outs are in milliseconds. Name resolution uses
// getaddrinfo, which the abort signal cannot interrupt.
#pragma once

#include "platform/net/INetSocket.h"

class CTcpSocket : public INetSocket {
public:
    // abort may be null (nothing can stop the waits but their time-outs);
    // it must outlive the socket.
    explicit CTcpSocket(CAbortSignal* abort);
    ~CTcpSocket() override;
    CTcpSocket(const CTcpSocket&) = delete;
    CTcpSocket& operator=(const CTcpSocket&) = delete;

    NetConnect Connect(const std::string& host, int port, int timeoutMs) override;
    NetIo Send(const void* data, size_t size, int timeoutMs, size_t* sent) override;
    NetIo Receive(void* buffer, size_t capacity, int timeoutMs, size_t* received) override;
    bool IsReusable() override;
    void Close() override;

private:
    // Waits until the socket is ready for events or the deadline (a
    // steady-clock time in ms) passes.
    NetIo WaitFor(short events, long long deadlineMs);

    int m_fd = -1;
    CAbortSignal* m_abort;
};
