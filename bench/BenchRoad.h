// What the start-up and tap benchmarks share: the program at its main menu
// against the embedded simulator, a bare loopback POST (the floor a request
// cannot go below: the same bytes to the same server, nothing of the
// program around it) and medians of interleaved samples.
#pragma once

#include "bench/BenchClock.h"
#include "framework/shell/COrbApp.h"
#include "platform/testing/CTestDriver.h"
#include "platform/win/UiMessageLoop.h"
#include "platform/win/UiWin.h"
#include "tools/orbstock/RegisterWindows.h"
#include "tools/simulator/CBrokerSimulator.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace benchroad {

using benchclock::Median;
using benchclock::NowUs;

// A data folder of its own, removed at the end.
class CTempFolder {
public:
    explicit CTempFolder(const std::string& tag) {
        m_path = std::filesystem::temp_directory_path() / ("orb_bench_" + tag + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~CTempFolder() {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    std::string Path() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

// Runs program with args, this environment and extraEnv before it, and
// gives what it wrote on its standard output (and its standard error too,
// with withStderr); nullopt when it could not run or did not exit with 0.
inline std::optional<std::string> RunForOutput(const std::string& program, const std::vector<std::string>& args,
                                               const std::vector<std::string>& extraEnv, bool withStderr) {
    int out[2];
    if (::pipe(out) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    if (withStderr)
        posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string path = program;
    std::vector<char*> argv{path.data()};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> env;
    for (const std::string& setting : extraEnv)
        env.push_back(const_cast<char*>(setting.c_str()));
    for (char** e = environ; *e; ++e)
        env.push_back(*e);
    env.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    ::close(out[0]);
    int status = 0;
    if (spawned != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return text;
}

// The whole HTTP request as the simulator logged it.
inline std::string WireBytes(const SimRequest& request) {
    std::string out = "POST " + request.target + " HTTP/1.1\r\n";
    for (const auto& [name, value] : request.headers)
        out += name + ": " + value + "\r\n";
    out += "\r\n";
    out += request.rawBody;
    return out;
}

// One kept-alive loopback connection that sends given bytes and reads one
// Content-Length reply whole; no parsing beyond the framing.
class CBarePost {
public:
    explicit CBarePost(int port) : m_port(port) {}
    ~CBarePost() { Close(); }
    CBarePost(const CBarePost&) = delete;
    CBarePost& operator=(const CBarePost&) = delete;

    void Close() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    // Bytes of the reply (head and body); 0 on failure.
    size_t Exchange(std::string_view request) {
        if (m_fd < 0 && !Connect())
            return 0;
        for (size_t sent = 0; sent < request.size();) {
            ssize_t n = ::send(m_fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return Fail();
            sent += static_cast<size_t>(n);
        }
        std::string in;
        size_t headEnd = std::string::npos;
        size_t total = 0;
        char buffer[16384];
        while (true) {
            if (headEnd == std::string::npos) {
                headEnd = in.find("\r\n\r\n");
                if (headEnd != std::string::npos) {
                    size_t at = FindNoCase(in.substr(0, headEnd), "content-length:");
                    if (at == std::string::npos)
                        return Fail();
                    total = headEnd + 4 + std::strtoul(in.c_str() + at + 15, nullptr, 10);
                }
            }
            if (headEnd != std::string::npos && in.size() >= total)
                return total;
            ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return Fail();
            in.append(buffer, static_cast<size_t>(n));
        }
    }

private:
    static size_t FindNoCase(const std::string& text, std::string_view what) {
        auto it = std::search(text.begin(), text.end(), what.begin(), what.end(),
                              [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
        return it == text.end() ? std::string::npos : static_cast<size_t>(it - text.begin());
    }
    bool Connect() {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        if (m_fd < 0)
            return false;
        int one = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(m_port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            Close();
            return false;
        }
        return true;
    }
    size_t Fail() {
        Close();
        return 0;
    }

    int m_port;
    int m_fd = -1;
};

// The class of the topmost shown window.
inline std::string TopClass(CTestDriver& driver) {
    return driver.RunOnGui([]() -> std::string {
        std::vector<UiWin*> tops = UiMessageLoop::Current()->TopLevelWindows();
        for (auto it = tops.rbegin(); it != tops.rend(); ++it)
            if ((*it)->IsVisible())
                return (*it)->GetClassName();
        return {};
    });
}

// The program over a data folder and its own simulator, started to the
// painted main menu as the tour starts it (headless, the manual clock).
class CBenchProgram {
public:
    CBenchProgram(const std::string& dataDir) {
        m_port = m_simulator.Start(0);
        COrbAppOptions options;
        options.dataDir = dataDir;
        options.serverHost = "127.0.0.1";
        options.serverPort = m_port;
        options.resourceDir = ORB_SOURCE_DIR "/resources";
        m_app = std::make_unique<COrbApp>(options);
        m_driver.SetRestTimeout(20000);
        RegisterWindows();
        // The driver checks every partial repaint against a whole one, as
        // the tests want; the program does not, and neither is it timed.
        m_started = m_driver.Start([this] {
            UiMessageLoop::SetVerifyPartialPaints(false);
            m_app->InitInstance();
        }) && m_driver.RunOnGui([this] { return m_app->GetState(); }) == COrbApp::State::Running;
    }
    ~CBenchProgram() {
        m_driver.Stop();
        m_app->ExitInstance();
        m_simulator.Stop();
    }
    bool Started() const { return m_started; }
    int Port() const { return m_port; }
    CTestDriver& Driver() { return m_driver; }
    COrbApp& App() { return *m_app; }
    CBrokerSimulator& Simulator() { return m_simulator; }

private:
    CBrokerSimulator m_simulator;
    int m_port = -1;
    std::unique_ptr<COrbApp> m_app;
    CTestDriver m_driver;
    bool m_started = false;
};

} // namespace benchroad
