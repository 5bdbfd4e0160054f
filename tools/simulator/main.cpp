// orbsim: runs the simulated broker server alone until it is killed, for
// manual sessions with the desktop program ("--server 127.0.0.1:PORT").
// Usage: orbsim [port]   (default 8002; 0 picks a free port)
#include "tools/simulator/CBrokerSimulator.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }
} // namespace

namespace {
// A port 0..65535 written in digits only; -1 otherwise (atoi would take
// "abc" as 0 and 70000 would wrap to another port).
int ParsePort(const char* text) {
    size_t n = std::strlen(text);
    if (n == 0 || n > 5 || std::strspn(text, "0123456789") != n) return -1;
    long port = std::strtol(text, nullptr, 10);
    return port <= 65535 ? static_cast<int>(port) : -1;
}
} // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: orbsim [port]\n");
        return 64;
    }
    int wanted = argc > 1 ? ParsePort(argv[1]) : 8002;
    if (wanted < 0) {
        std::fprintf(stderr, "orbsim: the port must be a number from 0 to 65535, not '%s'\nusage: orbsim [port]\n",
                     argv[1]);
        return 64;
    }
    CBrokerSimulator server;
    int port = server.Start(wanted);
    if (port < 0) {
        std::fprintf(stderr, "orbsim: cannot listen on 127.0.0.1:%d\n", wanted);
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::printf("orbsim listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);
    size_t shown = 0;
    while (!g_stop) {
        usleep(200 * 1000);
        auto log = server.GetRequestLog();
        for (; shown < log.size(); ++shown)
            std::printf("request %d/%d%s: %s\n", log[shown].main, log[shown].sub, log[shown].sealed ? " (sealed)" : "",
                        log[shown].rawBody.c_str());
        std::fflush(stdout);
    }
    server.Stop();
    return 0;
}
