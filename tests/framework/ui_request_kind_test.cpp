// What a request asked, kept by the network window from its build to its
// reply or failure: the builder's notes, the failures of every road, and a
// query that waited for the busy worker and was replaced.
#include "framework/ui/CNetWnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Takes or refuses texts; says it will tell when it is free when asked to.
class CKindSender : public IRequestSender {
public:
    bool accept = true;
    bool notify = false;
    std::vector<unsigned> tags;
    bool Send(HWND, const std::string&, unsigned, unsigned tag) override {
        if (accept)
            tags.push_back(tag);
        return accept;
    }
    bool WaitIdle(int) override { return true; }
    int AbortAndWait(int) override { return 0; }
    bool NotifyWhenIdle(HWND) override { return notify; }
};

// Notes its kind's number in every request it builds (nothing for kind 9)
// and records what each reply and failure is about.
class CKindWnd : public CNetWnd {
public:
    struct Told {
        int kind;
        std::string text;
        bool failed;
    };
    std::vector<Told> told;

    int BuildRequest(CAString& out) override {
        if (Asking().kind == 9)
            return 0;
        Asking().text = "asked " + std::to_string(Asking().kind);
        out.Assign("tc_mfuncno=31000&tc_sfuncno=4&code=600000.02");
        return 1;
    }
    void OnNetReply(const CNetReply&) override { told.push_back({Asked().kind, Asked().text, false}); }
    void OnRequestNotSent(NotSent) override { told.push_back({Asked().kind, Asked().text, true}); }

    void Answer(unsigned tag, bool abandoned = false) {
        CNetReply reply;
        reply.tag = tag;
        reply.abandoned = abandoned ? 1 : 0;
        OnMessage(NET_MSG_REPLY_READY, 0, reinterpret_cast<LPARAM>(&reply));
    }
};

class RequestKindTest : public ::testing::Test {
protected:
    CKindSender sender;
    CKindWnd window;
    void SetUp() override { window.SetRequestSender(&sender); }
};

} // namespace

TEST_F(RequestKindTest, EveryFailureRoadTellsWhatTheRequestThatFailedAsked) {
    // Nothing built.
    EXPECT_FALSE(window.SendRequest(-1, 0, 9));
    // A busy worker that will not say when it is free.
    sender.accept = false;
    EXPECT_FALSE(window.SendRequest(-1, 0, 3));
    // Taken, then abandoned.
    sender.accept = true;
    ASSERT_TRUE(window.SendRequest(-1, 0, 4));
    window.Answer(sender.tags.back(), true);
    ASSERT_EQ(window.told.size(), 3u);
    EXPECT_EQ(window.told[0].kind, 9);
    EXPECT_TRUE(window.told[0].failed);
    EXPECT_EQ(window.told[1].kind, 3);
    EXPECT_EQ(window.told[1].text, "asked 3");
    EXPECT_EQ(window.told[2].kind, 4);
    EXPECT_EQ(window.told[2].text, "asked 4");
    EXPECT_TRUE(window.told[2].failed);
    EXPECT_FALSE(window.IsRequestPending());
}

TEST_F(RequestKindTest, AQueryWaitingForTheBusyWorkerIsReplacedAndOnlyTheNewerOneIsAnswered) {
    ASSERT_TRUE(window.SendRequest(-1, 0, 1));
    const unsigned running = sender.tags.back();
    // The worker is busy: the next two wait for it in turn, the newer one
    // replacing the older.
    sender.accept = false;
    sender.notify = true;
    ASSERT_TRUE(window.SendRequest(-1, 0, 2));
    ASSERT_TRUE(window.SendRequest(-1, 0, 3));
    window.Answer(running);
    // Free again: the waiting query goes under its own tag.
    sender.accept = true;
    window.OnMessage(NET_MSG_WORKER_IDLE, 0, 0);
    ASSERT_EQ(sender.tags.size(), 2u);
    window.Answer(sender.tags.back());
    ASSERT_EQ(window.told.size(), 2u);
    EXPECT_EQ(window.told[0].kind, 1);
    EXPECT_EQ(window.told[1].kind, 3);
    EXPECT_EQ(window.told[1].text, "asked 3");
    EXPECT_FALSE(window.IsRequestPending());
}

TEST_F(RequestKindTest, AWaitingQueryTheWorkerCanNoLongerTakeIsReportedWithItsKind) {
    ASSERT_TRUE(window.SendRequest(-1, 0, 1));
    sender.accept = false;
    sender.notify = true;
    ASSERT_TRUE(window.SendRequest(-1, 0, 7));
    // Still busy, and it cannot say when it will be free any more.
    sender.notify = false;
    window.OnMessage(NET_MSG_WORKER_IDLE, 0, 0);
    ASSERT_EQ(window.told.size(), 1u);
    EXPECT_EQ(window.told[0].kind, 7);
    EXPECT_TRUE(window.told[0].failed);
}
