// The one send of a request that acts: what a reply or a refusal says
// became of it (not sent or unknown, by whether a byte left), and the
// piece's states on a window through the fake sender: one send per press,
// the page held while it is out, ready again only when nothing left.
#include "ui_Fixture.h"

#include "core/CDataSetWriter.h"
#include "framework/net/NetFailure.h"
#include "framework/ui/CActionSend.h"

#include <optional>

namespace {

std::vector<std::uint8_t> AnswerBody() {
    CDataSetWriter writer;
    writer.AddSet("result");
    writer.AddColumn(DataSetType::WideText, "htxh");
    writer.AddRow();
    writer.SetText(0, u"20261207000123");
    return writer.Serialize();
}

CNetReply ReplyOf(const std::vector<std::uint8_t>& body, int networkFailure, int requestLeft, int unknown = 0) {
    CNetReply reply;
    reply.body = body.empty() ? nullptr : body.data();
    reply.length = static_cast<int>(body.size());
    reply.networkFailure = networkFailure;
    reply.requestLeft = requestLeft;
    reply.outcomeUnknown = unknown;
    return reply;
}

// A page with one press: it records every end the piece hands it.
class CActionPage : public CNetWnd {
public:
    CActionPage() { g_page = this; }
    ~CActionPage() override {
        Destroy();
        g_page = nullptr;
    }
    int BuildRequest(CAString& out) override {
        out.Assign("tc_mfuncno=500&tc_sfuncno=6&code=600036");
        return 1;
    }
    void SendRefresh(RefreshCause) override {}
    void OnRequestNotSent(NotSent why) override {
        if (std::optional<ActionEnd> end = action.TakeNotSent(why))
            ends.push_back(*end);
    }
    void OnNetReply(const CNetReply& reply) override {
        if (std::optional<ActionEnd> end = action.TakeReply(reply))
            ends.push_back(*end);
    }

    CActionSend action{*this, u"未发出", u"结果未知"};
    std::vector<ActionEnd> ends;
    static inline CActionPage* g_page = nullptr;
};

class ActionSendTest : public UiWindowTest {
protected:
    std::unique_ptr<CActionPage> page;

    void Open() {
        StartWithMain([this] {
            page = std::make_unique<CActionPage>();
            ASSERT_TRUE(page->CreateOver(nullptr));
            page->ShowWindow(true);
        });
    }
    void ReleaseWindows() override {
        page.reset();
        UiWindowTest::ReleaseWindows();
    }
    template <class F>
    auto OnPage(F fn) {
        return driver.RunOnGui([fn] { return fn(*CActionPage::g_page); });
    }
    // The worker's word for the request out, as it would send it.
    void Tell(CNetReply reply) {
        OnPage([this, reply](CActionPage& page) {
            CNetReply copy = reply;
            copy.tag = sender.sent.empty() ? 0 : sender.sent.back().tag;
            page.SendMessage(NET_MSG_REPLY_READY, 0, reinterpret_cast<LPARAM>(&copy));
            return 0;
        });
    }
    std::vector<ActionEnd> Ends() {
        return OnPage([](CActionPage& page) { return page.ends; });
    }
    CActionSend::State State() {
        return OnPage([](CActionPage& page) { return page.action.GetState(); });
    }
};

} // namespace

TEST(ActionEnd, ARequestThatActsIsNotSentOnlyWhenNoByteLeftAndUnknownWhenItLeftWithoutAWholeAnswer) {
    const std::vector<std::uint8_t> answer = AnswerBody();
    const std::vector<std::uint8_t> refused = CDataSetWriter::ErrorBody(kNotPlacedText);
    const std::vector<std::uint8_t> failure = NetFailureBody(NET_ERR_CONNECT);
    const std::vector<std::uint8_t> unknown = OutcomeUnknownBody();
    const std::vector<std::uint8_t> garbage = {1, 2, 3, 4, 5};
    const std::vector<std::uint8_t> error = CDataSetWriter::ErrorBody(u"资金不足");
    const std::vector<std::uint8_t> none;
    const struct {
        const char* what;
        CNetReply reply;
        ActionEnd end;
    } cases[] = {
        {"the server's answer", ReplyOf(answer, 0, 1), ActionEnd::Answered},
        {"the server's error set", ReplyOf(error, 0, 1), ActionEnd::Answered},
        {"a connection that never opened", ReplyOf(failure, 1, 0), ActionEnd::NotSent},
        {"left, no answer", ReplyOf(unknown, 1, 1, 1), ActionEnd::Unknown},
        {"refused unread after a lost session", ReplyOf(refused, 1, 1), ActionEnd::Answered},
        {"left, an empty answer", ReplyOf(none, 0, 1), ActionEnd::Unknown},
        {"left, an unreadable answer", ReplyOf(garbage, 0, 1), ActionEnd::Unknown},
        {"left, a failure without its error set", ReplyOf(garbage, 1, 1), ActionEnd::Unknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ActionEndOfReply(c.reply), c.end) << c.what;

    using NotSent = CNetWnd::NotSent;
    for (NotSent why : {NotSent::NothingToSend, NotSent::SealFailed, NotSent::Refused, NotSent::NotArmed,
                        NotSent::WorkerBusy, NotSent::Abandoned})
        EXPECT_EQ(ActionEndOfNotSent(why, false), ActionEnd::NotSent) << static_cast<int>(why);
    EXPECT_EQ(ActionEndOfNotSent(NotSent::Abandoned, true), ActionEnd::Unknown);
}

TEST_F(ActionSendTest, APressSendsOnceHoldsThePageAndAnAnswerEndsInTelling) {
    Open();
    EXPECT_EQ(State(), CActionSend::State::Ready);
    EXPECT_TRUE(OnPage([](CActionPage& page) { return page.action.Send(); }));
    EXPECT_EQ(State(), CActionSend::State::Sending);
    EXPECT_FALSE(OnPage([](CActionPage& page) { return page.action.Send(); })) << "a second press sends nothing";
    EXPECT_EQ(driver.RunOnGui([this] { return sender.sent.size(); }), 1u);
    EXPECT_TRUE(OnPage([](CActionPage& page) {
        return page.IsHeldOpen() && page.action.Swallows(WND_MSG_CLOSE) &&
               page.action.Swallows(WND_MSG_CAPTION_BACK) && page.action.Swallows(WND_MSG_CAPTION_TRADE) &&
               !page.action.Swallows(WND_MSG_CHILD_CLOSED);
    }));
    const std::vector<std::uint8_t> answer = AnswerBody();
    Tell(ReplyOf(answer, 0, 1));
    EXPECT_EQ(Ends(), std::vector<ActionEnd>{ActionEnd::Answered});
    EXPECT_EQ(State(), CActionSend::State::Telling) << "busy until the page has told it";
    EXPECT_FALSE(OnPage([](CActionPage& page) { return page.action.Send(); }));
    EXPECT_TRUE(OnPage([](CActionPage& page) { return page.action.Swallows(WND_MSG_CLOSE); }));
    Tell(ReplyOf(answer, 0, 1));
    EXPECT_EQ(Ends().size(), 1u) << "a word for no send under way is dropped";
    OnPage([](CActionPage& page) {
        page.action.Done();
        return 0;
    });
    EXPECT_EQ(State(), CActionSend::State::Ready);
    EXPECT_FALSE(OnPage([](CActionPage& page) { return page.action.Swallows(WND_MSG_CLOSE); }));
}

TEST_F(ActionSendTest, AnAbandonmentIsNotSentBeforeTheRequestLeftAndUnknownAfter) {
    Open();
    for (const int left : {0, 1}) {
        SCOPED_TRACE(left);
        OnPage([](CActionPage& page) {
            page.ends.clear();
            page.action.Done();
            return page.action.Send();
        });
        CNetReply abandoned;
        abandoned.abandoned = 1;
        abandoned.requestLeft = left;
        Tell(abandoned);
        EXPECT_EQ(Ends(), std::vector<ActionEnd>{left ? ActionEnd::Unknown : ActionEnd::NotSent});
        EXPECT_EQ(State(), left ? CActionSend::State::Telling : CActionSend::State::Ready)
            << "only a request that never left may be sent again";
        EXPECT_FALSE(OnPage([](CActionPage& page) { return page.IsHeldOpen(); }));
        EXPECT_EQ(OnPage([left](CActionPage& page) {
                      return std::u16string(page.action.FailureText(left ? ActionEnd::Unknown : ActionEnd::NotSent));
                  }),
                  left ? u"结果未知" : u"未发出");
    }
}

TEST_F(ActionSendTest, ARefusalBeforeAnythingLeftMakesThePageReadyAndNothingIsSentLater) {
    Open();
    driver.RunOnGui([this] {
        sender.accept = false;
        return 0;
    });
    EXPECT_FALSE(OnPage([](CActionPage& page) { return page.action.Send(); }));
    EXPECT_EQ(Ends(), std::vector<ActionEnd>{ActionEnd::NotSent});
    EXPECT_EQ(State(), CActionSend::State::Ready);
    EXPECT_FALSE(OnPage([](CActionPage& page) { return page.IsHeldOpen() || page.IsRequestPending(); }));
    driver.RunOnGui([this] {
        sender.accept = true;
        return 0;
    });
    driver.WaitForRest();
    EXPECT_TRUE(driver.RunOnGui([this] { return sender.sent.empty(); })) << "a refused action never goes by itself";
    // A failure before it left is the same: the press may be made again.
    EXPECT_TRUE(OnPage([](CActionPage& page) { return page.action.Send(); }));
    const std::vector<std::uint8_t> failure = NetFailureBody(NET_ERR_CONNECT);
    Tell(ReplyOf(failure, 1, 0));
    EXPECT_EQ(Ends().back(), ActionEnd::NotSent);
    EXPECT_EQ(State(), CActionSend::State::Ready);
}
