// The command lines of orbstock, orbsim and orb_icongen: every wrong one
// ends with a message naming the fault and exit status 64, before any
// window, server or file is touched (a repeated option too); --help prints
// the usage. And orbstock on a display nobody answers says so, once, and
// ends instead of running unseen, and orbsim on a port in use says why.
// The programs are run as built, as a person runs them.
#include "core/TextConvert.h"
#include "platform/storage/CRegRecord.h"
#include "platform/storage/CRegistry.h"
#include "support/CTempDir.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdio>
#include <fcntl.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
struct RunResult {
    int status = -1;      // exit status; -1 when it did not exit normally
    std::string output;   // what it wrote to stdout
    std::string errors;   // what it wrote to stderr
};

// Everything a descriptor gives until its end.
std::string ReadAll(int fd) {
    std::string text;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
    ::close(fd);
    return text;
}

// Runs program with args, no display and an empty environment otherwise
// (env adds "NAME=value" entries). A program still running after 30 s is
// killed, so a program that never ends fails instead of hanging the suite.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& env = {}) {
    RunResult result;
    int outFds[2];
    int errFds[2];
    if (::pipe(outFds) != 0) return result;
    if (::pipe(errFds) != 0) return result;
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(outFds[1], 1);
        ::dup2(errFds[1], 2);
        int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::close(outFds[0]);
        ::close(errFds[0]);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp{const_cast<char*>("HOME=/nonexistent")};
        for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        ::alarm(30);
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(outFds[1]);
    ::close(errFds[1]);
    // The outputs are short: stdout fits its pipe while stderr is read.
    result.errors = ReadAll(errFds[0]);
    result.output = ReadAll(outFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    return result;
}

bool Exists(const std::string& path) { return ::access(path.c_str(), X_OK) == 0; }

const std::string kOrbstock = std::string(ORB_BINARY_DIR) + "/tools/orbstock/orbstock";
const std::string kOrbsim = std::string(ORB_BINARY_DIR) + "/tools/simulator/orbsim";
const std::string kIcongen = std::string(ORB_BINARY_DIR) + "/tools/icongen/orb_icongen";
} // namespace

TEST(ProgramArguments, AWrongLineNamesItsFaultWithTheUsageAndStatus64AndHelpPrintsTheUsage) {
    const bool haveOrbstock = Exists(kOrbstock);  // built only with SDL2
    ASSERT_TRUE(Exists(kOrbsim));
    ASSERT_TRUE(Exists(kIcongen));
    struct Line {
        const std::string* program;
        std::vector<std::string> args;
        std::string fault;  // in stderr; empty for help
        std::string usage;
    };
    const std::string orbstock = "usage: orbstock", orbsim = "usage: orbsim [port]", icongen = "usage: orb_icongen";
    std::vector<Line> lines;
    for (const char* server : {"localhost", "host:", ":8002", "host:0", "host:65536", "host:99999999999999999999",
                               "host:80x", "host: 80", "host:+80", "host:-1"})
        lines.push_back({&kOrbstock, {"--server", server}, std::string("--server wants HOST:PORT, not '") + server + "'",
                         orbstock});
    const std::vector<std::vector<std::string>> missingValues = {
        {"--server"}, {"--data-dir"}, {"--tour"}, {"--tour", ""}, {"--data-dir", ""},
        {"--tour", "--server", "127.0.0.1:1"}, {"--data-dir", "--tour", "out"}, {"--mobile"}, {"--mobile", ""},
    };
    for (const auto& args : missingValues) lines.push_back({&kOrbstock, args, "orbstock: " + args[0] + " needs a value", orbstock});
    // The number goes into requests as is: digits, eleven, beginning with 1.
    for (const char* mobile : {"1380013800", "138001380001", "23800138000", "1380013800x", "13800&38000", "１3800138000"})
        lines.push_back({&kOrbstock, {"--mobile", mobile},
                         std::string("--mobile wants an 11-digit mobile number, not '") + mobile + "'", orbstock});
    lines.push_back({&kOrbstock, {"--mobile", "13800138000", "--tour", "t"}, "--mobile goes with the program", orbstock});
    for (const char* arg : {"--verbose", "-x", "--server=127.0.0.1:8002", "tour"})
        lines.push_back({&kOrbstock, {arg}, std::string("unknown option '") + arg + "'", orbstock});
    const std::pair<std::vector<std::string>, std::string> repeats[] = {
        {{"--server", "127.0.0.1:1", "--server", "127.0.0.1:2"}, "--server"},
        {{"--data-dir", "a", "--tour", "t", "--data-dir", "a"}, "--data-dir"},
        {{"--tour", "a", "--check", "b", "--check", "c"}, "--check"},
        {{"--data-dir", "a", "-h", "--help"}, "--help"},
        {{"--mobile", "13800138000", "--mobile", "13900139000"}, "--mobile"}};
    for (const auto& [args, repeated] : repeats)
        lines.push_back({&kOrbstock, args, "orbstock: " + repeated + " is given more than once", orbstock});
    lines.push_back({&kOrbsim, {"80x"}, "not '80x'", orbsim});
    lines.push_back({&kOrbsim, {"8002", "9000"}, "one port at most", orbsim});
    lines.push_back({&kIcongen, {}, "", icongen});
    lines.push_back({&kIcongen, {"a", "b"}, "", icongen});
    lines.push_back({&kIcongen, {"--out"}, "unknown option '--out'", icongen});
    for (const auto& [program, usage] : {std::pair{&kOrbstock, orbstock}, {&kOrbsim, orbsim}, {&kIcongen, icongen}}) {
        lines.push_back({program, {"--help"}, "", usage});
        lines.push_back({program, {"-h"}, "", usage});
    }
    lines.push_back({&kOrbstock, {"-h"}, "-h, --help", orbstock});
    for (const Line& line : lines) {
        if (line.program == &kOrbstock && !haveOrbstock) continue;
        std::string text = line.program->substr(line.program->rfind('/') + 1);
        for (const auto& a : line.args) text += " [" + a + "]";
        SCOPED_TRACE(text);
        const bool help = !line.args.empty() && (line.args[0] == "--help" || line.args[0] == "-h");
        RunResult r = RunProgram(*line.program, line.args);
        EXPECT_EQ(r.status, help ? 0 : 64);
        EXPECT_NE((help ? r.output : r.errors).find(line.fault), std::string::npos) << r.errors;
        EXPECT_NE((help ? r.output : r.errors).find(line.usage), std::string::npos) << r.errors;
        EXPECT_TRUE((help ? r.errors : r.output).empty()) << "nothing on the other stream";
    }
}

TEST(OrbstockDisplay, ADisplayWithoutAServerIsRefusedWithAMessageInsteadOfAnUnseenWindow) {
    if (!Exists(kOrbstock)) GTEST_SKIP() << "orbstock is built only with SDL2";
    CTempDir data("orb_display");
    // SDL leaves what the D-Bus library allocated to the end of the process,
    // so a sanitizer build would report it as a leak there. The display is
    // named by its socket: ":99999" alone falls back to a TCP port on this
    // machine, where a test's server may listen and never answer.
    RunResult r = RunProgram(kOrbstock, {"--data-dir", data.Path().string()},
                             {"DISPLAY=unix:99999", "ASAN_OPTIONS=detect_leaks=0"});
    EXPECT_EQ(r.status, 2) << r.errors;
    EXPECT_NE(r.errors.find("'unix:99999' cannot be opened"), std::string::npos) << r.errors;
    EXPECT_NE(r.errors.find("xvfb-run"), std::string::npos) << r.errors;
    // One message, said once: not the host's own line before it.
    EXPECT_EQ(r.errors.rfind("orbstock: "), 0u) << r.errors;
    EXPECT_EQ(r.errors.find("OrbStock: "), std::string::npos) << r.errors;
}

TEST(OrbstockDisplay, TheRegisteredMobileNumberIsStoredWhereTheRegistrationKeepsItBeforeAnyWindow) {
    if (!Exists(kOrbstock)) GTEST_SKIP() << "orbstock is built only with SDL2";
    CTempDir data("orb_mobile");
    // A display nobody answers: the program ends before its window, the
    // number already stored.
    RunResult r = RunProgram(kOrbstock, {"--data-dir", data.Path().string(), "--mobile", "13912345678"},
                             {"DISPLAY=unix:99999", "ASAN_OPTIONS=detect_leaks=0"});
    EXPECT_EQ(r.status, 2) << r.errors;
    CRegRecord record;
    ReadRegRecord(CRegistry(Utf8ToWide((data.Path() / "Registry.dat").string())), record);
    EXPECT_EQ(record.Focus, u"13912345678");
}

TEST(ProgramArguments, OrbsimOnABusyPortSaysWhyAndFails) {
    ASSERT_TRUE(Exists(kOrbsim));
    int taken = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(taken, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(taken, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(taken, 1), 0);
    socklen_t len = sizeof addr;
    ::getsockname(taken, reinterpret_cast<sockaddr*>(&addr), &len);
    const std::string port = std::to_string(ntohs(addr.sin_port));
    RunResult r = RunProgram(kOrbsim, {port});
    ::close(taken);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.errors.find("127.0.0.1:" + port + ": Address already in use"), std::string::npos) << r.errors;
    EXPECT_EQ(r.output.find("listening"), std::string::npos) << r.output;
}
