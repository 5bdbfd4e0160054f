// orbsim's command line as SimCommandLine reads it, and the request lines
// it prints: names by default, values only when asked, passwords never.
#include "tools/simulator/SimCommandLine.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {
struct LineCase {
    std::vector<std::string> args;
    std::string error;               // empty: the line is read
    int port = 8002;
    SimFaultKind kind = SimFaultKind::None;  // of the first fault
    int main = -1, sub = -1, times = 1, delayMs = 0, errorCode = 0;
    size_t faults = 0;
};
} // namespace

TEST(SimCommandLine, ReadsPortFaultsAndTheirFunctionsAndRefusesWhatItCannotRead) {
    const LineCase cases[] = {
        {{}, ""},
        {{"0"}, "", 0},
        {{"9000", "--show-values"}, "", 9000},
        {{"--fault", "close-after-request"}, "", 8002, SimFaultKind::CloseAfterRequest, -1, -1, 1, 0, 0, 1},
        {{"--fault", "drip:500/6"}, "", 8002, SimFaultKind::Drip, 500, 6, 1, 200, 0, 1},
        {{"--fault", "drip:500/6,delay=5,times=3"}, "", 8002, SimFaultKind::Drip, 500, 6, 3, 5, 0, 1},
        {{"--fault", "slow-reply"}, "", 8002, SimFaultKind::SlowReply, -1, -1, 1, 1000, 0, 1},
        {{"--fault", "error-set:100/2,code=7"}, "", 8002, SimFaultKind::ErrorSet, 100, 2, 1, 0, 7, 1},
        {{"--fault", "accept-and-close", "--fault", "bad-etag:0/0", "8100"}, "", 8100,
         SimFaultKind::AcceptAndClose, -1, -1, 1, 0, 0, 2},
        {{"--fault", "none"}, "unknown fault kind 'none'"},
        {{"--fault", "Drip"}, "unknown fault kind 'Drip'"},
        {{"--fault", "close_after_request"}, "unknown fault kind 'close_after_request'"},
        {{"--fault", "drip:500"}, "MAIN/SUB in plain digits, not '500'"},
        {{"--fault", "drip:0500/6"}, "not '0500/6'"},
        {{"--fault", "drip:500/+6"}, "not '500/+6'"},
        {{"--fault", "drip:500/6/1"}, "not '500/6/1'"},
        {{"--fault", "drip:/6"}, "not '/6'"},
        {{"--fault", "drip,times=0"}, "not a number in range: 'times=0'"},
        {{"--fault", "drip,times=-1"}, "'times=-1'"},
        {{"--fault", "drip,delay=600001"}, "'delay=600001'"},
        {{"--fault", "drip,delay="}, "'delay='"},
        {{"--fault", "session-lost,delay=5"}, "delay= is for slow-reply and drip only"},
        {{"--fault", "drip,code=5"}, "code= is for error-set only"},
        {{"--fault", "drip,speed=5"}, "unknown fault option 'speed=5'"},
        {{"--fault"}, "--fault needs a value"},
        {{"--fault", ""}, "--fault needs a value"},
        {{"--fault", "--show-values"}, "--fault needs a value"},
        {{"--verbose"}, "unknown option '--verbose'"},
        {{"--fault=drip"}, "unknown option '--fault=drip'"},
        {{"8002", "9000"}, "one port at most, not '9000'"},
        {{"65536"}, "not '65536'"},
        {{"abc"}, "not 'abc'"},
        {{""}, "not ''"},
        {{"99999999999"}, "not '99999999999'"},
        {{"-1"}, "not '-1'"},
    };
    for (const LineCase& c : cases) {
        std::string line;
        for (const auto& a : c.args) line += "[" + a + "]";
        SCOPED_TRACE(line);
        SimOptions options;
        std::string error;
        bool read = ParseSimCommandLine(c.args, options, error);
        if (!c.error.empty()) {
            EXPECT_FALSE(read);
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
            continue;
        }
        ASSERT_TRUE(read) << error;
        EXPECT_EQ(options.port, c.port);
        ASSERT_EQ(options.faults.size(), c.faults);
        if (c.faults == 0) continue;
        const SimFaultOption& f = options.faults[0];
        EXPECT_EQ(f.fault.kind, c.kind);
        EXPECT_EQ(f.main, c.main);
        EXPECT_EQ(f.sub, c.sub);
        EXPECT_EQ(f.times, c.times);
        EXPECT_EQ(f.fault.delayMs, c.delayMs);
        EXPECT_EQ(f.fault.errorCode, c.errorCode);
    }
}

TEST(SimCommandLine, HelpWinsAndTheUsageNamesEveryFaultKindByItsOwnName) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"}, {"-h"}, {"9000", "--help"}}) {
        SimOptions options;
        std::string error;
        EXPECT_TRUE(ParseSimCommandLine(args, options, error));
        EXPECT_TRUE(options.help);
    }
    const std::string usage = SimUsage();
    EXPECT_EQ(usage.rfind("usage: orbsim [port]", 0), 0u);
    std::set<std::string_view> names;
    for (int k = static_cast<int>(SimFaultKind::AcceptAndClose); k <= static_cast<int>(SimFaultKind::CloseKeptAlive);
         ++k) {
        auto kind = static_cast<SimFaultKind>(k);
        std::string_view name = SimFaultKindName(kind);
        ASSERT_FALSE(name.empty()) << k;
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_NE(usage.find("  " + std::string(name) + " "), std::string::npos) << name;
        SimFaultKind back = SimFaultKind::None;
        EXPECT_TRUE(SimFaultKindFromName(name, &back));
        EXPECT_EQ(back, kind);
    }
    EXPECT_TRUE(SimFaultKindName(SimFaultKind::None).empty());
}

TEST(SimCommandLine, RequestLinesShowNamesOnlyAndNeverAPassword) {
    SimRequest r;
    r.main = 500;
    r.sub = 6;
    r.sealed = true;
    r.params = {{"TC_MFUNCNO", "500"}, {"code", "600010"}, {"trdpwd", "s3cret1"}, {" PWD ", "s3cret2"},
                {"NewPwd", "s3cret3"}, {"oldpwd", "s3cret4"}, {"authdata", "s3cret5"}, {"note", "a\x1b[2Jb\xd6\xd0"}};
    r.rawBody = "trdpwd=s3cret1";
    struct Case {
        bool showValues;
        std::string expected;
    };
    const Case cases[] = {
        {false, "request 500/6 (sealed): TC_MFUNCNO code trdpwd  PWD  NewPwd oldpwd authdata note"},
        {true, "request 500/6 (sealed): TC_MFUNCNO=500 code=600010 trdpwd=***  PWD =*** NewPwd=*** oldpwd=*** "
               "authdata=*** note=a\\x1B[2Jb\\xD6\\xD0"},
    };
    for (const Case& c : cases) {
        std::string line = DescribeRequest(r, c.showValues);
        EXPECT_EQ(line, c.expected);
        EXPECT_EQ(line.find("s3cret"), std::string::npos);
    }
    // A password is known by its name as decoded, whatever its case or escapes.
    struct Name {
        const char* name;
        bool masked;
    };
    const Name names[] = {
        {"password", true}, {"Password2", true}, {"txpwd", true}, {"newpwd", true}, {"TRDPWD", true},
        {"trd%70wd", true}, {"trd%50Wd", true}, {"%70%77%64", true}, {"trd%2570wd", true}, {"pass%77ord", true},
        {"authdata", true}, {"%2525252525252541", true},  // an escape nested past any reason
        {"code", false}, {"pw", false}, {"p%wd", false}, {"trd%7", false}, {"session", false},
    };
    for (const Name& n : names) {
        SimRequest one;
        one.params = {{n.name, "s3cret"}};
        std::string line = DescribeRequest(one, true);
        EXPECT_EQ(line.find("s3cret") == std::string::npos, n.masked) << n.name << ": " << line;
    }
    // A peer's thousands of parameters make one bounded line.
    SimRequest many;
    for (int i = 0; i < 5000; ++i) many.params.emplace_back(std::string(500, 'n'), "v");
    EXPECT_LT(DescribeRequest(many, true).size(), 16u * 1024);
}
