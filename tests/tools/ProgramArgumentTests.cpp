// The command lines of orbstock and orbsim: every wrong one ends with a
// message naming the fault and exit status 64, before any window, server
// or file is touched. The programs are run as built, as a person runs them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
struct RunResult {
    int status = -1;      // exit status; -1 when it did not exit normally
    std::string errors;   // what it wrote to stderr
};

// Runs program with args, no display and an empty environment otherwise.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
    RunResult result;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return result;
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], 2);
        int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::close(pipeFds[0]);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        char* envp[] = {const_cast<char*>("HOME=/nonexistent"), nullptr};
        ::execve(program.c_str(), argv.data(), envp);
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    char buf[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buf, sizeof buf)) > 0) result.errors.append(buf, static_cast<size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    return result;
}

bool Exists(const std::string& path) { return ::access(path.c_str(), X_OK) == 0; }

const std::string kOrbstock = std::string(ORB_BINARY_DIR) + "/tools/orbstock/orbstock";
const std::string kOrbsim = std::string(ORB_BINARY_DIR) + "/tools/simulator/orbsim";
} // namespace

TEST(OrbstockArguments, AWrongServerValueIsRefusedWithItsTextAndUsage) {
    if (!Exists(kOrbstock)) GTEST_SKIP() << "orbstock is built only with SDL2";
    for (const char* server : {"localhost", "host:", ":8002", "host:0", "host:65536", "host:99999999999999999999",
                               "host:80x", "host: 80", "host:+80", "host:-1"}) {
        RunResult r = RunProgram(kOrbstock, {"--server", server});
        EXPECT_EQ(r.status, 64) << server;
        EXPECT_NE(r.errors.find(std::string("--server wants HOST:PORT, not '") + server + "'"), std::string::npos)
            << server << ": " << r.errors;
        EXPECT_NE(r.errors.find("usage: orbstock"), std::string::npos) << server;
    }
}

TEST(OrbstockArguments, AMissingEmptyOrOptionLikeValueIsAMissingValue) {
    if (!Exists(kOrbstock)) GTEST_SKIP() << "orbstock is built only with SDL2";
    const std::vector<std::vector<std::string>> lines = {
        {"--server"}, {"--data-dir"}, {"--tour"}, {"--tour", ""}, {"--data-dir", ""},
        {"--tour", "--server", "127.0.0.1:1"}, {"--data-dir", "--tour", "out"},
    };
    for (const auto& line : lines) {
        RunResult r = RunProgram(kOrbstock, line);
        EXPECT_EQ(r.status, 64) << line[0] << " " << line.size();
        EXPECT_NE(r.errors.find("orbstock: " + line[0] + " needs a value"), std::string::npos) << r.errors;
    }
}

TEST(OrbstockArguments, UnknownOptionsAndStrayWordsAreNamed) {
    if (!Exists(kOrbstock)) GTEST_SKIP() << "orbstock is built only with SDL2";
    for (const char* arg : {"--verbose", "-x", "--server=127.0.0.1:8002", "tour"}) {
        RunResult r = RunProgram(kOrbstock, {arg});
        EXPECT_EQ(r.status, 64) << arg;
        EXPECT_NE(r.errors.find(std::string("unknown option '") + arg + "'"), std::string::npos) << r.errors;
    }
    RunResult help = RunProgram(kOrbstock, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.errors.empty());
}

TEST(OrbsimArguments, APortThatIsNotANumberUpTo65535IsRefusedNotWrappedOrZeroed) {
    ASSERT_TRUE(Exists(kOrbsim));
    for (const char* port : {"abc", "", "65536", "70000", "-1", "80x", "99999999999"}) {
        RunResult r = RunProgram(kOrbsim, {port});
        EXPECT_EQ(r.status, 64) << port;
        EXPECT_NE(r.errors.find(std::string("not '") + port + "'"), std::string::npos) << port << ": " << r.errors;
    }
    RunResult extra = RunProgram(kOrbsim, {"8002", "9000"});
    EXPECT_EQ(extra.status, 64);
    EXPECT_NE(extra.errors.find("usage: orbsim [port]"), std::string::npos);
}
