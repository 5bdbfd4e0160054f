// The network window: request texts, refused and unsealable requests
// reported to the window, the refresh timer's trading-hours gate on a set
// clock, swipes, and the chart messages opening windows by keyword.
#include "ui_Fixture.h"

#include "platform/win/UiWindowTable.h"

#include <cstring>

namespace {

class NetWindowTest : public UiWindowTest {
protected:
    // main → b (a CTestNetWnd of the given class), b rests on the screen.
    void OpenB(const char* className = "CTestNetWnd") {
        RegisterTestWindow("testb", "b", className);
        StartWithMain();
        OpenFrom("main", "testb");
        ASSERT_EQ(Depth(), 1);
    }
    // Runs fn(b) on the GUI thread.
    template <class F>
    auto OnB(F fn) {
        return driver.RunOnGui([fn] { return fn(g_log.live.at("b")); });
    }
    std::vector<CFakeSender::Sent> Sent() {
        return driver.RunOnGui([this] { return sender.sent; });
    }
    std::vector<CNetWnd::NotSent> NotSentOfB() {
        return driver.RunOnGui([] { return g_log.notSent["b"]; });
    }
    // Sends b the worker's reply, as the worker would.
    void AnswerB(int networkFailure = 0) {
        OnB([networkFailure](CTestNetWnd* b) {
            static const char body[] = "body";
            CNetReply reply{reinterpret_cast<const std::uint8_t*>(body), 4, networkFailure};
            b->SendMessage(NET_MSG_REPLY_READY, 0, reinterpret_cast<LPARAM>(&reply));
        });
    }
    // A point in b's client area, below the caption bar, in screen pixels.
    static CPoint Body(int x, int y) { return {x, 36 + 42 + y}; }
};

} // namespace

TEST_F(NetWindowTest, ARequestIsTheFunctionNumbersTheWindowsTextAndTheCommonTailSealedAndFlaggedAsTheWindowSays) {
    OpenB();
    EXPECT_TRUE(OnB([](CTestNetWnd* b) { return b->GetResendOnFailure(); })) << "resends by default";
    const struct {
        int main, sub;
        const char* preset; // the default builder sends it
        bool seal, resend;
        const char* starts; // empty: sealed, nothing of the text in clear
    } cases[] = {
        {31000, 4, "code=600000.02", false, true, "TC_MFUNCNO=31000&TC_SFUNCNO=4&code=600000.02&"},
        {-1, 0, "tc_mfuncno=100&tc_sfuncno=31&x=1", false, false, "tc_mfuncno=100&tc_sfuncno=31&x=1&"},
        {-1, 0, "tc_mfuncno=500&tc_sfuncno=6&secuid=A1&price=10.00", true, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.preset);
        OnB([&c](CTestNetWnd* b) {
            CAppData::Instance()->SetSessionKey("0123456789ABCDEF");
            b->SetMenuParams(7, "param=1", c.preset);
            b->SetSealRequest(c.seal);
            b->SetResendOnFailure(c.resend);
            // The order goes as its checked press sends it.
            return c.seal ? b->SendAction(c.main, c.sub) : b->PostRequest(c.main, c.sub);
        });
        const auto sent = Sent();
        ASSERT_FALSE(sent.empty());
        const std::string& text = sent.back().text;
        EXPECT_EQ(text.rfind(*c.starts ? c.starts : "tc_mfuncno=500&tc_sfuncno=6&TC_REQDATA=", 0), 0u) << text;
        EXPECT_EQ(text.find("secuid"), std::string::npos) << text;
        EXPECT_NE(text.find(*c.starts ? "&softName=VuvEr&" : "&TC_ENCRYPT=36"), std::string::npos) << text;
        EXPECT_EQ(sent.back().flags, (c.resend ? 1u : 0u) | (c.seal ? 2u : 0u))
            << "the resend flag travels with the request, and an order is marked never to resend";
        AnswerB();
    }
}

TEST_F(NetWindowTest, SetMenuParamsKeepsTheOldValuesForMinusOneAndEmptyTexts) {
    OpenB();
    OnB([](CTestNetWnd* b) {
        b->SetMenuParams(12, "p=1", "r=1");
        b->SetMenuParams(-1, "", nullptr);
        EXPECT_EQ(b->GetMenuId(), 12);
        EXPECT_EQ(b->GetParamText(), "p=1");
        b->SetMenuParams(3, "p=2", "");
        EXPECT_EQ(b->GetMenuId(), 3);
        EXPECT_EQ(b->GetParamText(), "p=2");
        EXPECT_EQ(b->GetRequestText(), "r=1");
    });
}

TEST_F(NetWindowTest, ARequestNotSentIsReportedToTheWindowWithItsReasonAndLeavesItIdle) {
    OpenB();
    const struct {
        CNetWnd::NotSent why;
        const char* preset;
        bool seal, accept;
        bool armed; // sent by the checked press (SendAction), else posted
    } cases[] = {
        {CNetWnd::NotSent::NothingToSend, "", false, true, false},
        {CNetWnd::NotSent::SealFailed, "tc_mfuncno=500&tc_sfuncno=6&secuid=A1", true, true, true}, // no session key
        {CNetWnd::NotSent::Refused, "tc_mfuncno=500&tc_sfuncno=13&newpwd=1", false, true, true},  // a clear password
        {CNetWnd::NotSent::NotArmed, "tc_mfuncno=500&tc_sfuncno=6", false, true, false},
        {CNetWnd::NotSent::NotArmed, "tc_mfuncno=500&tc_sfuncno=69&mobile=1", false, true, false},
        {CNetWnd::NotSent::WorkerBusy, "tc_mfuncno=500&tc_sfuncno=6", false, false, true},
        // A sender that cannot say when it is free: the refused query is reported.
        {CNetWnd::NotSent::WorkerBusy, "tc_mfuncno=31000&tc_sfuncno=4", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.why));
        const size_t before = Sent().size();
        driver.RunOnGui([this, &c] {
            g_log.notSent.clear();
            sender.accept = c.accept;
            CTestNetWnd* b = g_log.live.at("b");
            b->SetMenuParams(-1, nullptr, c.preset);
            b->SetSealRequest(c.seal);
            if (c.armed)
                b->SendAction(-1, 0);
            else
                b->PostRequest(-1, 0);
        });
        EXPECT_EQ(Sent().size(), before);
        EXPECT_EQ(NotSentOfB(), std::vector<CNetWnd::NotSent>{c.why});
        EXPECT_FALSE(OnB([](CTestNetWnd* b) { return b->IsRequestPending() || b->GetCaptionBar().IsBusy(); }));
    }
}

TEST_F(NetWindowTest, TheFirstShowAbandonsTheWorkersRequestAndTheReplyStopsTheBusyLine) {
    OpenB();
    EXPECT_EQ(driver.RunOnGui([this] { return sender.aborts; }), 1);
    EXPECT_EQ(NotSentOfB(), std::vector<CNetWnd::NotSent>{CNetWnd::NotSent::NothingToSend})
        << "the first show tried to refresh";
    OnB([](CTestNetWnd* b) {
        b->SetMenuParams(-1, nullptr, "tc_mfuncno=1&tc_sfuncno=1");
        b->Refresh();
    });
    EXPECT_TRUE(OnB([](CTestNetWnd* b) { return b->GetCaptionBar().IsBusy(); }));
    driver.AdvanceClock(300);
    EXPECT_GE(OnB([](CTestNetWnd* b) { return b->GetCaptionBar().GetBusyStep(); }), 2) << "a step per 100 ms";
    AnswerB(1);
    EXPECT_EQ(OnB([](CTestNetWnd* b) { return b->replies; }), std::vector<std::string>{"body"});
    EXPECT_TRUE(OnB([](CTestNetWnd* b) { return b->lastFailure && !b->GetCaptionBar().IsBusy(); }));
}

namespace {

class RefreshTimerTest : public NetWindowTest {
protected:
    // Opens b with automatic refresh at local time day hh:mm (March 2024).
    void OpenAutoRefreshingAt(int day, int hour, int minute, bool anyTime = false) {
        CClock::Instance().UseManual({2024, 3, day, 0, hour, minute, 0, 0});
        CWndManager::Instance().RegisterWindow("testb", [anyTime](const CWndCreateInfo&) {
            auto w = std::make_unique<CTestNetWnd>("b");
            w->SetAutoRefresh(true);
            w->SetRefreshInTradingHoursOnly(!anyTime);
            w->SetMenuParams(-1, nullptr, "tc_mfuncno=31000&tc_sfuncno=4");
            return std::unique_ptr<CBaseWnd>(std::move(w));
        });
        StartWithMain();
        OpenFrom("main", "testb");
        ASSERT_EQ(Depth(), 1);
    }
    size_t CountFromB() {
        return driver.RunOnGui([this] {
            HWND b = g_log.live.at("b")->GetHandle();
            return static_cast<size_t>(
                std::count_if(sender.sent.begin(), sender.sent.end(), [b](auto& s) { return s.window == b; }));
        });
    }
};

} // namespace

TEST_F(RefreshTimerTest, TheTimerRefreshesEveryRefeWaitSecondsOnWeekdaysStrictlyBetween0915And1610ElseStopsForGood) {
    const struct {
        const char* what;
        int day, hour, minute;
        bool anyTime;
        int ticks;    // of ten seconds, each after the last request was answered
        size_t sends; // the first show's included
    } cases[] = {
        {"Friday 09:17", 15, 9, 17, false, 3, 4},
        {"Saturday", 16, 10, 0, false, 4, 1},
        {"Sunday", 17, 10, 0, false, 2, 1},
        {"Saturday night, at any time", 16, 22, 0, true, 3, 4},
        {"Wednesday 09:14: stopped at 09:15, even once the gate opens", 13, 9, 14, false, 13, 1},
        {"Monday 16:09: stopped at 16:10", 11, 16, 9, false, 12, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OpenAutoRefreshingAt(c.day, c.hour, c.minute, c.anyTime);
        for (int tick = 0; tick < c.ticks; ++tick) {
            AnswerB();
            driver.AdvanceClock(10000);
        }
        EXPECT_EQ(CountFromB(), c.sends);
        StopAndForget();
    }
}

namespace {
// Sends window the worker's word that the request tagged tag was abandoned.
void ReportAbandoned(CNetWnd* window, unsigned tag) {
    CNetReply reply;
    reply.abandoned = 1;
    reply.tag = tag;
    window->SendMessage(NET_MSG_REPLY_READY, 0, reinterpret_cast<LPARAM>(&reply));
}
} // namespace

TEST_F(RefreshTimerTest, ATickWhileTheRequestIsStillOutSendsNothingAndReportsNothing) {
    OpenAutoRefreshingAt(15, 9, 17);
    OnB([](CTestNetWnd* b) { b->Refresh(); });
    const unsigned tag = Sent().back().tag;
    sender.accept = false; // a busy worker: a tick would be refused
    driver.AdvanceClock(30000);
    EXPECT_EQ(CountFromB(), 2u) << "the first show and the refresh";
    EXPECT_TRUE(NotSentOfB().empty()) << "a refused tick would tell the window to stop waiting";
    // Word of an older request changes nothing; word that this one was
    // abandoned restores the window, and the next tick sends again.
    EXPECT_TRUE(OnB([tag](CTestNetWnd* b) {
        ReportAbandoned(b, tag - 1);
        return b->IsRequestPending();
    }));
    EXPECT_FALSE(OnB([tag](CTestNetWnd* b) {
        ReportAbandoned(b, tag);
        return b->IsRequestPending();
    }));
    EXPECT_EQ(NotSentOfB(), std::vector<CNetWnd::NotSent>{CNetWnd::NotSent::Abandoned});
    sender.accept = true;
    driver.AdvanceClock(10000);
    EXPECT_EQ(CountFromB(), 3u);
}

TEST_F(RefreshTimerTest, HidingTheWindowStopsAllOfItsTimers) {
    OpenAutoRefreshingAt(15, 10, 0);
    EXPECT_TRUE(OnB([](CTestNetWnd* b) {
        b->SetTimer(77, 1000); // a timer of the window's own
        b->OnWindowHidden();
        return !UiWindowTable::Instance().HasTimer(b->GetHandle(), 77);
    }));
    AnswerB();
    driver.AdvanceClock(30000);
    EXPECT_EQ(CountFromB(), 1u);
}

TEST_F(NetWindowTest, OnlyARightSwipeOfMoreThanFiftyPixelsAndUnderHalfAsSteepClosesTheWindowWithCodeOne) {
    const struct {
        const char* what;
        const char* className;
        CPoint from, to;
        bool closes;
    } cases[] = {
        {"right", "CTestNetWnd", Body(100, 300), Body(260, 320), true},
        {"across the caption bar", "CTestNetWnd", {120, 36 + 20}, {300, 36 + 25}, true},
        {"50 pixels", "CTestNetWnd", Body(100, 300), Body(150, 300), false},
        {"100 across, 50 down", "CTestNetWnd", Body(100, 300), Body(200, 250), false},
        {"left", "CTestNetWnd", Body(300, 300), Body(100, 300), false},
        {"in the watch-list editor", "CEditMyStockWnd", Body(100, 300), Body(300, 300), false},
    };
    StartWithMain();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegisterTestWindow("testb", "b", c.className);
        OpenFrom("main", "testb");
        driver.RunOnGui([] { g_log.childCodes.clear(); });
        ASSERT_TRUE(driver.Drag(c.from, c.to));
        EXPECT_EQ(Depth(), c.closes ? 0 : 1);
        EXPECT_EQ(driver.RunOnGui([] { return g_log.childCodes["main"]; }),
                  c.closes ? std::vector<int>{1} : std::vector<int>{});
        if (Depth() == 1)
            OnB([](CTestNetWnd* b) { b->EndWindow(1); });
    }
    EXPECT_EQ(driver.RunOnGui([] { return g_log.leftSwipes["b"]; }), 1);
    // Outside the swipe rectangle nothing closes.
    RegisterTestWindow("testb", "b");
    OpenFrom("main", "testb");
    OnB([](CTestNetWnd* b) { b->SetCaptionRect({0, 0, 480, 200}); });
    ASSERT_TRUE(driver.Drag(Body(100, 300), Body(260, 300)));
    EXPECT_EQ(Depth(), 1);
    for (const char* kind : {"COrbTradeLoginWnd", "CLogonWnd", "COrbAppFrame"})
        EXPECT_TRUE(CTestNetWnd("x", kind).IgnoresBackSwipe()) << kind;
}

TEST_F(NetWindowTest, TheMinuteAndKLineChartMessagesOpenTheirChartsWithThePostedText) {
    OpenB();
    const auto post = [this](UINT msg, const char* text) {
        OnB([msg, text](CTestNetWnd* b) { return b->PostMessage(msg, 0, reinterpret_cast<LPARAM>(strdup(text))); });
    };
    post(WND_MSG_OPEN_FSCHART, "code=1"); // no chart registered: the text is freed (ASan), nothing opens
    EXPECT_EQ(Depth(), 1);
    const std::tuple<UINT, const char*, const char*, const char16_t*> cases[] = {
        {WND_MSG_OPEN_FSCHART, "fschart", "date=&code=600000.02", u"分时走势"},
        {WND_MSG_OPEN_KXCHART, "kxchart", "code=000001.01", u"K线分析"},
    };
    for (auto [msg, keyword, text, title] : cases) {
        driver.RunOnGui([keyword] { RegisterTestWindow(keyword, "chart"); });
        post(msg, text);
        ASSERT_EQ(Depth(), 2) << keyword;
        EXPECT_EQ(driver.RunOnGui([] {
                      CTestNetWnd* chart = g_log.live.at("chart");
                      return std::to_string(chart->GetMenuId()) + " [" + chart->GetParamText().str() + "] " +
                             chart->GetRequestText().str();
                  }),
                  "-1 [] " + std::string(text));
        EXPECT_EQ(driver.RunOnGui([] { return g_log.live.at("chart")->GetTitle().str(); }), title);
        driver.RunOnGui([] { g_log.live.at("chart")->EndWindow(5); });
    }
    EXPECT_EQ(driver.RunOnGui([] { return g_log.childCodes["b"]; }), (std::vector<int>{5, 5}));
}

TEST_F(NetWindowTest, APostedOrSentRequestKindReachesTheBuilderAndTheReplyToThatVeryRequest) {
    OpenB();
    OnB([](CTestNetWnd* b) {
        b->SetMenuParams(-1, nullptr, "tc_mfuncno=31000&tc_sfuncno=4&code=600000.02");
        b->builtKinds.clear();
        b->PostRequest(-1, 0, 5);
    });
    OnB([](CTestNetWnd* b) { return b->SendRequest(-1, 0, 6); });
    const auto sent = Sent();
    ASSERT_GE(sent.size(), 2u);
    const unsigned first = sent[sent.size() - 2].tag, second = sent.back().tag;
    const auto answer = [this](unsigned tag) {
        OnB([tag](CTestNetWnd* b) {
            static const char body[] = "body";
            CNetReply reply{reinterpret_cast<const std::uint8_t*>(body), 4, 0};
            reply.tag = tag;
            b->SendMessage(NET_MSG_REPLY_READY, 0, reinterpret_cast<LPARAM>(&reply));
        });
    };
    // Answered out of order, and the first twice: each reply is read as
    // what it answers, and a request answers once.
    answer(second);
    answer(first);
    answer(first);
    OnB([](CTestNetWnd* b) {
        EXPECT_EQ(b->builtKinds, (std::vector<int>{5, 6}));
        const std::size_t n = b->answeredKinds.size();
        ASSERT_GE(n, 3u);
        EXPECT_EQ(std::vector<int>(b->answeredKinds.end() - 3, b->answeredKinds.end()),
                  (std::vector<int>{6, 5, CNetWnd::CAsked::kUnknown}));
        EXPECT_EQ(b->Asked().kind, CNetWnd::CAsked::kUnknown) << "outside a reply nothing is answered";
    });
}
