// The never-twice matrix: every request that acts on the account, and a
// query of a window that must not resend, goes through the real worker to
// the simulated server under each way the exchange can fail; the server's
// request log must show it exactly once, and the window must be told what is
// known — the outcome is unknown when it left and no answer came. A query
// that may resend is sent again once where the rules allow it.
#include "net_SimRoad_Fixture.h"

#include "framework/net/NetFailure.h"

namespace {

// How a fault ends the exchange for a request that acts.
enum class Expect {
    Unknown,  // it left, no answer: "请求异常，请通过当日委托核实"
    Refused,  // the server refused it unread (lost session): a plain failure
    Answered, // the server's own answer arrives
};

struct CFaultCase {
    const char* name;
    SimFault fault;
    Expect acting;     // for a request that acts, or a window that must not resend
    int queryCopies;   // how often a query that may resend reaches the server
};

SimFault Timed(SimFaultKind kind, int ms) {
    SimFault f(kind);
    f.delayMs = ms;
    return f;
}

// The refusal's tag arrives whole; its error set is cut half way.
SimFault SessionLostCut() {
    SimFault f(SimFaultKind::CloseInsideBody);
    f.errorCode = 100;
    f.errorText = u"会话已失效，请重新登录";
    return f;
}

const CFaultCase kFaults[] = {
    {"close after read", SimFaultKind::CloseAfterRequest, Expect::Unknown, 2},
    {"reset after read", SimFaultKind::ResetAfterRequest, Expect::Unknown, 2},
    {"close inside the body", SimFaultKind::CloseInsideBody, Expect::Unknown, 2},
    {"slow past the deadline", Timed(SimFaultKind::SlowReply, 2000), Expect::Unknown, 2},
    {"drip", Timed(SimFaultKind::Drip, 40), Expect::Unknown, 2},
    {"session lost", SimFaultKind::SessionLost, Expect::Refused, 2},
    {"session lost, its body cut", SessionLostCut(), Expect::Refused, 2},
    {"kept-alive connection the server closed", SimFaultKind::CloseKeptAlive, Expect::Answered, 1},
};

struct CRequestCase {
    const char* name;
    int main, sub;
    unsigned flags;
};

const CRequestCase kActing[] = {
    {"order", 500, 6, CNetWorker::kResendOnNetFailure},
    {"cancellation", 500, 7, CNetWorker::kResendOnNetFailure},
    {"batch order", 100, 20, CNetWorker::kResendOnNetFailure},
    {"warrant exercise", 100, 29, CNetWorker::kResendOnNetFailure},
    {"password change", 500, 13, CNetWorker::kResendOnNetFailure},
    {"trade login", 500, 1, CNetWorker::kResendOnNetFailure},
    // Acts by its function numbers alone, though it is no never-twice function.
    {"token application", 500, 69, CNetWorker::kResendOnNetFailure},
    {"query marked never to resend", 500, 3, CNetWorker::kResendOnNetFailure | CNetWorker::kNeverResend},
    {"query of a window with resend off", 31000, 4, 0},
};

class NeverTwiceTest : public SimRoadTest {
protected:
    // Sends the request under the fault; returns what the window was told.
    CTold SendUnder(const CRequestCase& request, const CFaultCase& fault) {
        ForgetTold();
        sim.ClearFaults();
        sim.ClearRequestLog();
        if (fault.fault.kind == SimFaultKind::CloseKeptAlive) {
            // The connection is kept alive by one answered query, which the
            // server then closes behind the client's back.
            sim.InjectFaultFor(31000, 99, fault.fault);
            Post("TC_MFUNCNO=31000&TC_SFUNCNO=99", CNetWorker::kResendOnNetFailure);
            ForgetTold();
        } else {
            sim.InjectFaultFor(request.main, request.sub, fault.fault);
        }
        const std::string text = "TC_MFUNCNO=" + std::to_string(request.main) +
                                 "&TC_SFUNCNO=" + std::to_string(request.sub) + "&code=600036&session=S";
        EXPECT_TRUE(Post(text, request.flags));
        std::vector<CTold> told = Told();
        EXPECT_EQ(told.size(), 1u) << "exactly one word for the request";
        return told.empty() ? CTold{} : told.back();
    }
    int Copies(int main, int sub) {
        int n = 0;
        for (const SimRequest& r : sim.GetRequestLog())
            n += r.main == main && r.sub == sub;
        return n;
    }
    int Copies(const CRequestCase& request) { return Copies(request.main, request.sub); }
};

} // namespace

TEST_F(NeverTwiceTest, EveryRequestThatActsReachesTheServerOnceAndAnUnansweredOneIsReportedAsUnknown) {
    for (const CRequestCase& request : kActing) {
        const bool acts = request.flags != 0;
        for (const CFaultCase& fault : kFaults) {
            SCOPED_TRACE(std::string(request.name) + " under " + fault.name);
            const CTold told = SendUnder(request, fault);
            EXPECT_EQ(Copies(request), 1);
            EXPECT_EQ(told.marks.abandoned, 0);
            switch (fault.acting) {
            case Expect::Unknown:
                EXPECT_EQ(told.marks.requestLeft, 1);
                EXPECT_EQ(told.marks.networkFailure, 1);
                EXPECT_EQ(told.marks.outcomeUnknown, acts ? 1 : 0);
                if (acts)
                    EXPECT_EQ(told.text, kOutcomeUnknownText);
                else
                    EXPECT_NE(told.text.find(u"错误("), std::u16string::npos) << "a query keeps the six texts";
                break;
            case Expect::Refused:
                EXPECT_EQ(told.marks.outcomeUnknown, 0);
                // Refused unread: a request that acts says plainly it was not carried out.
                EXPECT_EQ(told.text, acts ? std::u16string(kNotPlacedText) : NetFailureMessage(NET_ERR_SERVER));
                EXPECT_EQ(Copies(100, 1), 1) << "the session is renewed all the same";
                break;
            case Expect::Answered:
                EXPECT_EQ(told.marks.outcomeUnknown, 0);
                EXPECT_EQ(told.marks.networkFailure, 0);
                break;
            }
            if (acts) {
                EXPECT_EQ(told.text.find(u"请重试"), std::u16string::npos) << "never asked to try again";
            }
        }
    }
}

TEST_F(NeverTwiceTest, AQueryThatMayResendIsSentAgainOnceAndAnswered) {
    const CRequestCase query{"query", 31000, 4, CNetWorker::kResendOnNetFailure};
    for (const CFaultCase& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        const CTold told = SendUnder(query, fault);
        EXPECT_EQ(Copies(query), fault.queryCopies);
        EXPECT_EQ(told.marks.networkFailure, 0);
        EXPECT_TRUE(told.text.empty()) << "the second copy is answered";
    }
}

TEST_F(NeverTwiceTest, AFirstShowWhileAnOrderIsOutWaitsForItInsteadOfAbandoningIt) {
    sim.InjectFaultFor(500, 6, Timed(SimFaultKind::SlowReply, 300));
    worker->GetConnection().SetTimeouts(2000, 2000, 5000);
    ASSERT_TRUE(driver.RunOnGui([this] {
        return worker->PostRequest(hwnd, "TC_MFUNCNO=500&TC_SFUNCNO=6&code=600036", CNetWorker::kResendOnNetFailure);
    }));
    ASSERT_TRUE(sim.WaitForRequests(1, 5000));
    // Another window's first show, on the GUI thread, asks for the worker.
    const int waited = driver.RunOnGui([this] { return worker->AbortAndWait(5000); });
    EXPECT_EQ(waited, 0);
    driver.WaitForRest();
    std::vector<CTold> told = Told();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].marks.abandoned, 0) << "the order's answer reached its window";
    EXPECT_EQ(told[0].marks.outcomeUnknown, 0);
    EXPECT_EQ(sim.GetRequestLog().size(), 1u);
}
