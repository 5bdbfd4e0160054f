// Cost of stopping the simulated server with two connections open, one idle
// after a request and one halfway through its next request, measured next
// to a stop with no connection, so that the wait the open connections add
// shows as the difference. A connection thread that noticed the stop only at
// its idle or request timeout would add seconds here.
#include "tools/simulator/CBrokerSimulator.h"

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const std::string kLogout = "tc_service=300&tc_isunicode=1&TC_MFUNCNO=100&TC_SFUNCNO=22";

int Connect(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
}

void SendText(int fd, const std::string& text) { (void)!::send(fd, text.data(), text.size(), MSG_NOSIGNAL); }

// One whole request and its reply, so that the server serves the connection.
bool RoundTrip(int fd) {
    SendText(fd, "POST / HTTP/1.1\r\nContent-Length: " + std::to_string(kLogout.size()) + "\r\n\r\n" + kLogout);
    std::string reply;
    char buf[4096];
    while (true) {
        size_t head = reply.find("\r\n\r\n");
        size_t at = reply.find("Content-Length: ");
        if (head != std::string::npos && at != std::string::npos &&
            reply.size() >= head + 4 + std::stoul(reply.substr(at + 16)))
            return true;
        ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) return false;
        reply.append(buf, static_cast<size_t>(n));
    }
}

void BM_StopAlone(benchmark::State& state) {
    CBrokerSimulator server;
    for (auto _ : state) {
        state.PauseTiming();
        server.Start(0);
        state.ResumeTiming();
        server.Stop();
    }
}
BENCHMARK(BM_StopAlone)->Unit(benchmark::kMicrosecond);

void BM_StopWithIdleAndHalfSentConnections(benchmark::State& state) {
    CBrokerSimulator server;
    for (auto _ : state) {
        state.PauseTiming();
        int port = server.Start(0);
        int idle = Connect(port), half = Connect(port);
        if (idle < 0 || half < 0 || !RoundTrip(idle) || !RoundTrip(half)) {
            state.SkipWithError("the server did not answer");
            break;
        }
        SendText(half, "POST / HTTP/1.1\r\nContent-Length: 1000\r\n\r\nTC_");
        state.ResumeTiming();
        server.Stop();
        state.PauseTiming();
        ::close(idle);
        ::close(half);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StopWithIdleAndHalfSentConnections)->Unit(benchmark::kMicrosecond);

} // namespace
