// orbsim: runs the simulated broker server alone until it is interrupted,
// for manual sessions with the desktop program ("--server 127.0.0.1:PORT"),
// optionally with faults armed. It prints one line per request: the
// function and the parameter names, values only when asked (passwords
// never). "orbsim --help" gives the options.
#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/SimCommandLine.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }
} // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!ParseSimCommandLine(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "orbsim: %s\n%s", error.c_str(), SimUsage().c_str());
        return kSimUsageError;
    }
    if (options.help) {
        std::fputs(SimUsage().c_str(), stdout);
        return 0;
    }
    CBrokerSimulator server;
    int port = server.Start(options.port);
    if (port < 0) {
        // The system's reason ("Address already in use") tells the user what to change.
        std::fprintf(stderr, "orbsim: cannot listen on 127.0.0.1:%d: %s\n", options.port, std::strerror(errno));
        return 1;
    }
    ArmFaults(server, options.faults);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::printf("orbsim listening on 127.0.0.1:%d\n", port);
    for (const auto& f : options.faults) std::printf("fault armed: %s\n", DescribeFault(f).c_str());
    std::fflush(stdout);
    const size_t kept = server.GetLimits().logRequests;
    uint64_t shown = 0;
    while (!g_stop) {
        usleep(200 * 1000);
        for (const SimRequest& r : server.GetRequestLogSince(shown)) {
            // More came since the last look than the log keeps.
            if (r.number > shown + 1)
                std::printf("(%llu requests not shown: the log keeps the last %zu)\n",
                            static_cast<unsigned long long>(r.number - shown - 1), kept);
            std::printf("%s\n", DescribeRequest(r, options.showValues).c_str());
            shown = r.number;
        }
        std::fflush(stdout);
    }
    server.Stop();
    return 0;
}
