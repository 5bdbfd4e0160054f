// Every fault orbsim's command line arms, on the road the desktop program's
// windows use: "--fault KIND:31000/4" read as orbsim reads it and armed on
// the simulator, then one quote query that may be resent through the real
// worker. The window hears exactly one word — the answer (after a resend
// where the exchange broke) or the failure — and the server saw the query.
#include "net_SimRoad_Fixture.h"

#include "framework/net/NetFailure.h"
#include "tools/simulator/SimCommandLine.h"

#include <algorithm>
#include <sstream>

namespace {

// The fault kinds orbsim --help lists: the first word of each line after
// "fault kinds:".
std::vector<std::string> UsageKinds() {
    const std::string usage = SimUsage();
    const std::string head = "fault kinds:\n";
    const size_t at = usage.find(head);
    std::vector<std::string> kinds;
    if (at == std::string::npos)
        return kinds;
    std::istringstream lines(usage.substr(at + head.size()));
    for (std::string line; std::getline(lines, line);) {
        std::string word;
        if (std::istringstream(line) >> word)
            kinds.push_back(word);
    }
    return kinds;
}

struct CKindCase {
    const char* kind;
    std::string options;     // after "KIND:31000/4"
    int copies;              // queries the server read
    std::u16string failure;  // the text the window is told; empty: the answer
};

class OrbsimFaultsTest : public SimRoadTest {};

TEST_F(OrbsimFaultsTest, EveryKindTheCommandLineTakesEndsAQuoteQueryInOneWord) {
    const std::u16string badReply = NetFailureMessage(NET_ERR_BAD_REPLY);
    const CKindCase cases[] = {
        // Known to be a quote query only once read: closed as after the request.
        {"accept-and-close", "", 2, u""},
        {"close-after-request", "", 2, u""},
        {"close-inside-body", "", 2, u""},
        {"slow-reply", ",delay=" + std::to_string(kTotalMs + 200), 2, u""}, // past the deadline
        {"truncated-body", "", 1, badReply},
        {"corrupt-body", "", 1, badReply},
        {"bad-etag", "", 1, badReply},
        {"error-set", ",code=7", 1, u"模拟的服务器错误"},
        {"session-lost", "", 2, u""}, // logged on again, then sent again
        {"reset-after-request", "", 2, u""},
        {"drip", ",delay=50", 2, u""},
        {"close-kept-alive", "", 1, u""}, // the reply is whole; the close only ends the connection
    };
    const std::vector<std::string> kinds = UsageKinds();
    ASSERT_FALSE(kinds.empty()) << SimUsage();
    for (const CKindCase& c : cases)
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), c.kind), kinds.end()) << c.kind << " is no longer taken";

    for (const std::string& kind : kinds) {
        SCOPED_TRACE(kind);
        const auto c =
            std::find_if(std::begin(cases), std::end(cases), [&](const CKindCase& k) { return kind == k.kind; });
        ASSERT_NE(c, std::end(cases)) << "a kind the command line takes has no row here";
        SimOptions options;
        std::string error;
        ASSERT_TRUE(ParseSimCommandLine({"--fault", kind + ":31000/4" + c->options}, options, error)) << error;
        sim.ClearFaults();
        ArmFaults(sim, options.faults);
        ForgetTold();
        const int before = sim.CountRequests(31000, 4);

        ASSERT_TRUE(Post("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=600010.02&field=4|16&session=S",
                         CNetWorker::kResendOnNetFailure));
        const std::vector<CTold> told = Told();
        ASSERT_EQ(told.size(), 1u) << "exactly one word for the query";
        EXPECT_EQ(sim.CountRequests(31000, 4) - before, c->copies);
        EXPECT_EQ(told[0].marks.abandoned, 0);
        EXPECT_EQ(told[0].text, c->failure);
        if (c->failure.empty()) {
            EXPECT_EQ(told[0].rows, 1) << "the quote asked for";
            EXPECT_EQ(told[0].marks.networkFailure, 0);
        }
    }
}

} // namespace
