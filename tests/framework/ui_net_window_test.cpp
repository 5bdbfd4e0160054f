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
    std::vector<CFakeSender::Sent> Sent() {
        return driver.RunOnGui([this] { return sender.sent; });
    }
    std::vector<CNetWnd::NotSent> NotSentOf(const std::string& label) {
        return driver.RunOnGui([label] { return g_log.notSent[label]; });
    }
    // A point in b's client area, below the caption bar, in screen pixels.
    static CPoint Body(int x, int y) { return {x, 36 + 42 + y}; }
};

} // namespace

TEST_F(NetWindowTest, ARequestStartsWithTheFunctionNumbersAndTheBuildersTextAndEndsWithTheCommonTail) {
    OpenB();
    driver.RunOnGui([] {
        g_log.live.at("b")->builder = [](CAString& out) {
            out.Assign("code=600000.02");
            return 1;
        };
        g_log.live.at("b")->PostRequest(31000, 4);
    });
    const auto sent = Sent();
    ASSERT_FALSE(sent.empty());
    const std::string& text = sent.back().text;
    EXPECT_EQ(text.rfind("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=600000.02&", 0), 0u) << text;
    EXPECT_NE(text.find("softName=VuvEr"), std::string::npos) << text;
    EXPECT_NE(text.find("supportCompress=18"), std::string::npos) << text;
}

TEST_F(NetWindowTest, MainFunctionMinusOneSendsTheBuildersTextAloneAndTheDefaultBuilderSendsThePreset) {
    OpenB();
    driver.RunOnGui([] {
        g_log.live.at("b")->SetMenuParams(7, "param=1", "tc_mfuncno=100&tc_sfuncno=31&x=1");
        g_log.live.at("b")->Refresh();
    });
    const auto sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().text.rfind("tc_mfuncno=100&tc_sfuncno=31&x=1&", 0), 0u) << sent.back().text;
    EXPECT_EQ(driver.RunOnGui([] { return g_log.live.at("b")->GetMenuId(); }), 7);
}

TEST_F(NetWindowTest, SetMenuParamsKeepsTheOldValuesForMinusOneAndEmptyTexts) {
    OpenB();
    driver.RunOnGui([] {
        CTestNetWnd* b = g_log.live.at("b");
        b->SetMenuParams(12, "p=1", "r=1");
        b->SetMenuParams(-1, "", nullptr);
        EXPECT_EQ(b->GetMenuId(), 12);
        EXPECT_EQ(b->GetParamText(), "p=1");
        EXPECT_EQ(b->GetRequestText(), "r=1");
        b->SetMenuParams(3, "p=2", "");
        EXPECT_EQ(b->GetMenuId(), 3);
        EXPECT_EQ(b->GetParamText(), "p=2");
        EXPECT_EQ(b->GetRequestText(), "r=1");
    });
}

TEST_F(NetWindowTest, NothingIsSentWhenTheBuilderGivesNothingAndTheWindowIsTold) {
    OpenB();
    const size_t before = Sent().size();
    driver.RunOnGui([] { g_log.live.at("b")->PostRequest(31000, 4); });
    EXPECT_EQ(Sent().size(), before);
    const auto why = NotSentOf("b");
    ASSERT_FALSE(why.empty());
    EXPECT_EQ(why.back(), CNetWnd::NotSent::NothingToSend);
}

TEST_F(NetWindowTest, ARequestRefusedByABusyWorkerIsReportedToTheWindowAndLeavesItIdle) {
    OpenB();
    driver.RunOnGui([this] {
        sender.accept = false;
        CTestNetWnd* b = g_log.live.at("b");
        b->SetMenuParams(-1, nullptr, "tc_mfuncno=500&tc_sfuncno=6");
        b->PostRequest(-1, 0);
    });
    const auto why = NotSentOf("b");
    ASSERT_FALSE(why.empty());
    EXPECT_EQ(why.back(), CNetWnd::NotSent::WorkerBusy);
    EXPECT_FALSE(driver.RunOnGui([] { return g_log.live.at("b")->IsRequestPending(); }));
    EXPECT_FALSE(driver.RunOnGui([] { return g_log.live.at("b")->GetCaptionBar().IsBusy(); }));
}

TEST_F(NetWindowTest, ASealedRequestWithoutASessionKeyIsNotSentAndReportedAsASealingFailure) {
    OpenB();
    driver.RunOnGui([] {
        CTestNetWnd* b = g_log.live.at("b");
        b->SetSealRequest(true);
        b->SetMenuParams(-1, nullptr, "tc_mfuncno=500&tc_sfuncno=6&secuid=A1&price=10.00");
        b->PostRequest(-1, 0);
    });
    EXPECT_TRUE(Sent().empty() || Sent().back().text.find("secuid") == std::string::npos);
    const auto why = NotSentOf("b");
    ASSERT_FALSE(why.empty());
    EXPECT_EQ(why.back(), CNetWnd::NotSent::SealFailed);
}

TEST_F(NetWindowTest, ASealedRequestCarriesItsParametersInsideTheSeal) {
    OpenB();
    driver.RunOnGui([] {
        CAppData::Instance()->SetSessionKey("0123456789ABCDEF");
        CTestNetWnd* b = g_log.live.at("b");
        b->SetSealRequest(true);
        b->SetResendOnFailure(true);
        b->SetMenuParams(-1, nullptr, "tc_mfuncno=500&tc_sfuncno=6&secuid=A1&price=10.00");
        b->PostRequest(-1, 0);
    });
    const auto sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_NE(sent.back().text.find("TC_REQDATA="), std::string::npos);
    EXPECT_EQ(sent.back().text.find("secuid"), std::string::npos);
    EXPECT_EQ(sent.back().flags, 1u) << "the resend flag travels with the request";
}

TEST_F(NetWindowTest, AWindowResendsAfterANetworkFailureUnlessItTurnsThatOff) {
    OpenB();
    driver.RunOnGui([] {
        CTestNetWnd* b = g_log.live.at("b");
        b->SetMenuParams(-1, nullptr, "tc_mfuncno=31000&tc_sfuncno=4&code=600000");
        b->PostRequest(-1, 0);
    });
    ASSERT_FALSE(Sent().empty());
    EXPECT_EQ(Sent().back().flags, 1u) << "quote windows resend by default";
    driver.RunOnGui([] {
        CTestNetWnd* b = g_log.live.at("b");
        b->SetResendOnFailure(false);
        b->PostRequest(-1, 0);
    });
    EXPECT_EQ(Sent().back().flags, 0u) << "order and password windows turn resending off";
}

TEST_F(NetWindowTest, TheReplyReachesTheHandlerAndStopsTheBusyLine) {
    OpenB();
    driver.RunOnGui([] {
        CTestNetWnd* b = g_log.live.at("b");
        b->SetMenuParams(-1, nullptr, "tc_mfuncno=1&tc_sfuncno=1");
        b->Refresh();
    });
    EXPECT_TRUE(driver.RunOnGui([] { return g_log.live.at("b")->GetCaptionBar().IsBusy(); }));
    driver.AdvanceClock(300);
    EXPECT_GE(driver.RunOnGui([] { return g_log.live.at("b")->GetCaptionBar().GetBusyStep(); }), 2)
        << "the busy line steps every 100 ms";
    driver.RunOnGui([] {
        static const char body[] = "body";
        CNetReply reply{reinterpret_cast<const std::uint8_t*>(body), 4, 1};
        g_log.live.at("b")->SendMessage(NET_MSG_REPLY_READY, 0, reinterpret_cast<LPARAM>(&reply));
    });
    EXPECT_EQ(driver.RunOnGui([] { return g_log.live.at("b")->replies; }), std::vector<std::string>{"body"});
    EXPECT_TRUE(driver.RunOnGui([] { return g_log.live.at("b")->lastFailure; }));
    EXPECT_FALSE(driver.RunOnGui([] { return g_log.live.at("b")->GetCaptionBar().IsBusy(); }));
}

TEST_F(NetWindowTest, TheFirstShowAbandonsTheWorkersRunningRequestAndRefreshes) {
    OpenB();
    EXPECT_EQ(driver.RunOnGui([this] { return sender.aborts; }), 1);
    EXPECT_FALSE(driver.RunOnGui([] { return g_log.live.at("b")->IsFirstShow(); }));
    const auto why = NotSentOf("b");
    ASSERT_EQ(why.size(), 1u) << "the first show tried to refresh";
    EXPECT_EQ(why[0], CNetWnd::NotSent::NothingToSend);
}

TEST(NetWindowRefreshGate, RefreshesOnlyOnWeekdaysStrictlyBetween0915And1610) {
    EXPECT_TRUE(CNetWnd::IsRefreshTime(5, 9, 16));
    EXPECT_TRUE(CNetWnd::IsRefreshTime(1, 16, 9));
    EXPECT_FALSE(CNetWnd::IsRefreshTime(3, 9, 15));
    EXPECT_FALSE(CNetWnd::IsRefreshTime(3, 16, 10));
    EXPECT_FALSE(CNetWnd::IsRefreshTime(6, 10, 0));
    EXPECT_FALSE(CNetWnd::IsRefreshTime(0, 10, 0));
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
    // Answers b's request that is out, as the worker would.
    void AnswerB() {
        driver.RunOnGui([] {
            static const char body[] = "body";
            CNetReply reply{reinterpret_cast<const std::uint8_t*>(body), 4, 0};
            g_log.live.at("b")->SendMessage(NET_MSG_REPLY_READY, 0, reinterpret_cast<LPARAM>(&reply));
        });
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

TEST_F(RefreshTimerTest, OnFridayAt0917TheTimerRefreshesEveryRefeWaitSeconds) {
    OpenAutoRefreshingAt(15, 9, 17); // Friday
    EXPECT_EQ(CountFromB(), 1u) << "the first show";
    for (size_t tick = 2; tick <= 4; ++tick) {
        AnswerB();
        driver.AdvanceClock(10000);
        EXPECT_EQ(CountFromB(), tick);
    }
}

TEST_F(RefreshTimerTest, OnSaturdayTheTimerStopsWithoutRefreshing) {
    OpenAutoRefreshingAt(16, 10, 0); // Saturday
    driver.AdvanceClock(10000);
    EXPECT_EQ(CountFromB(), 1u);
    driver.AdvanceClock(30000);
    EXPECT_EQ(CountFromB(), 1u) << "the timer is stopped";
}

TEST_F(RefreshTimerTest, AWindowThatRefreshesAtAnyTimeRefreshesOnSaturdayEveryGivenInterval) {
    OpenAutoRefreshingAt(16, 22, 0, true); // Saturday night
    driver.RunOnGui([] { g_log.live.at("b")->SetRefreshInterval(3); });
    driver.RunOnGui([] { g_log.live.at("b")->OnWindowShown(); }); // the interval counts from a show
    AnswerB();
    driver.AdvanceClock(3000);
    EXPECT_EQ(CountFromB(), 2u);
}

TEST_F(RefreshTimerTest, At0915TheTimerStops) {
    OpenAutoRefreshingAt(13, 9, 14); // Wednesday; the first tick at 09:15
    driver.AdvanceClock(10000);
    EXPECT_EQ(CountFromB(), 1u);
    driver.AdvanceClock(120000);
    EXPECT_EQ(CountFromB(), 1u) << "stopped, even once the gate opens";
}

TEST_F(RefreshTimerTest, At1610TheTimerStops) {
    OpenAutoRefreshingAt(13, 16, 9); // the tick lands at 16:09:55 .. then 16:10
    driver.AdvanceClock(10000);
    const size_t after = CountFromB();
    driver.AdvanceClock(60000);
    EXPECT_LE(CountFromB(), after + 5);
    const size_t stopped = CountFromB();
    driver.AdvanceClock(60000);
    EXPECT_EQ(CountFromB(), stopped);
}

namespace {
// A sender that behaves like one worker: it refuses while a request is out,
// and the test answers or abandons that request.
class CWorkerLikeSender : public IRequestSender {
public:
    bool Send(HWND, const std::string&, unsigned, unsigned tag) override {
        if (busy)
            return false;
        busy = true;
        ++taken;
        lastTag = tag;
        return true;
    }
    bool WaitIdle(int) override { return !busy; }
    int AbortAndWait(int) override {
        busy = false;
        return 0;
    }
    bool busy = false;
    int taken = 0;
    unsigned lastTag = 0;
};

// Sends window the worker's word that the request tagged tag was abandoned.
void ReportAbandoned(CNetWnd* window, unsigned tag) {
    CNetReply reply;
    reply.abandoned = 1;
    reply.tag = tag;
    window->SendMessage(NET_MSG_REPLY_READY, 0, reinterpret_cast<LPARAM>(&reply));
}
} // namespace

TEST_F(RefreshTimerTest, ATickWhileTheRequestIsStillOutSendsNothingAndReportsNothing) {
    CWorkerLikeSender worker;
    OpenAutoRefreshingAt(15, 9, 17);
    driver.RunOnGui([&] {
        CTestNetWnd* b = g_log.live.at("b");
        b->SetRequestSender(&worker);
        b->Refresh();
    });
    ASSERT_EQ(driver.RunOnGui([&] { return worker.taken; }), 1);
    driver.AdvanceClock(30000);
    EXPECT_EQ(driver.RunOnGui([&] { return worker.taken; }), 1);
    EXPECT_TRUE(NotSentOf("b").empty()) << "a refused tick would tell the window to stop waiting";
    EXPECT_TRUE(driver.RunOnGui([] { return g_log.live.at("b")->IsRequestPending(); }));

    // Word of an older request changes nothing; word that this one was
    // abandoned restores the window, and the next tick sends again.
    driver.RunOnGui([&] { ReportAbandoned(g_log.live.at("b"), worker.lastTag - 1); });
    EXPECT_TRUE(driver.RunOnGui([] { return g_log.live.at("b")->IsRequestPending(); }));
    driver.RunOnGui([&] {
        worker.busy = false;
        ReportAbandoned(g_log.live.at("b"), worker.lastTag);
    });
    EXPECT_FALSE(driver.RunOnGui([] { return g_log.live.at("b")->IsRequestPending(); }));
    EXPECT_EQ(NotSentOf("b"), std::vector<CNetWnd::NotSent>{CNetWnd::NotSent::Abandoned});
    driver.AdvanceClock(10000);
    EXPECT_EQ(driver.RunOnGui([&] { return worker.taken; }), 2);
    driver.RunOnGui([] { g_log.live.at("b")->SetRequestSender(nullptr); });
}

TEST_F(RefreshTimerTest, HidingTheWindowStopsAllOfItsTimers) {
    OpenAutoRefreshingAt(15, 10, 0);
    const bool stopped = driver.RunOnGui([] {
        CTestNetWnd* b = g_log.live.at("b");
        b->SetTimer(77, 1000); // a timer of the window's own
        b->OnWindowHidden();
        return !UiWindowTable::Instance().HasTimer(b->GetHandle(), 77);
    });
    EXPECT_TRUE(stopped);
    driver.AdvanceClock(30000);
    EXPECT_EQ(CountFromB(), 1u);
}

TEST_F(NetWindowTest, ARightSwipeClosesTheWindowWithCodeOne) {
    OpenB();
    ASSERT_TRUE(driver.Drag(Body(100, 300), Body(260, 320)));
    EXPECT_EQ(Depth(), 0);
    EXPECT_EQ(driver.RunOnGui([] { return g_log.childCodes["main"]; }), std::vector<int>{1});
}

TEST_F(NetWindowTest, AShortOrDiagonalMoveOrASwipeLeftDoesNotClose) {
    OpenB();
    ASSERT_TRUE(driver.Drag(Body(100, 300), Body(150, 300))); // 50 pixels: not more than 50
    ASSERT_TRUE(driver.Drag(Body(100, 300), Body(200, 250))); // 100 across, 50 down: not twice
    EXPECT_EQ(Depth(), 1);
    ASSERT_TRUE(driver.Drag(Body(300, 300), Body(100, 300)));
    EXPECT_EQ(Depth(), 1);
    EXPECT_EQ(driver.RunOnGui([] { return g_log.leftSwipes["b"]; }), 1);
}

TEST_F(NetWindowTest, ASwipeAcrossTheCaptionBarClosesToo) {
    OpenB();
    ASSERT_TRUE(driver.Drag({120, 36 + 20}, {300, 36 + 25}));
    EXPECT_EQ(Depth(), 0);
}

TEST_F(NetWindowTest, ASwipeOutsideTheSwipeRectangleDoesNotClose) {
    OpenB();
    driver.RunOnGui([] { g_log.live.at("b")->SetCaptionRect({0, 0, 480, 200}); });
    ASSERT_TRUE(driver.Drag(Body(100, 300), Body(260, 300)));
    EXPECT_EQ(Depth(), 1);
}

TEST_F(NetWindowTest, TheWatchListEditorIgnoresARightSwipe) {
    OpenB("CEditMyStockWnd");
    ASSERT_TRUE(driver.Drag(Body(100, 300), Body(300, 300)));
    EXPECT_EQ(Depth(), 1);
}

TEST_F(NetWindowTest, TheTradeLoginAndTheLogonWindowIgnoreARightSwipe) {
    for (const char* kind : {"COrbTradeLoginWnd", "CLogonWnd", "COrbAppFrame"}) {
        CTestNetWnd w("x", kind);
        EXPECT_TRUE(w.IgnoresBackSwipe()) << kind;
    }
    CTestNetWnd plain("y");
    EXPECT_FALSE(plain.IgnoresBackSwipe());
}

namespace {
struct COpened {
    int menuId = 0;
    std::string param;
    std::string request;
    std::u16string title;
    std::string keyword;
};
std::vector<COpened> g_opened;

// A chart stand-in: records what it was opened with and closes at once.
class CFakeChart : public CNetWnd {
public:
    explicit CFakeChart(std::string keyword) : m_keyword(std::move(keyword)) {}
    ~CFakeChart() override { Destroy(); }
    void SetMenuParams(int menuId, const char* param, const char* request) override {
        g_opened.push_back({menuId, param ? param : "", request ? request : "", {}, m_keyword});
        CNetWnd::SetMenuParams(menuId, param, request);
    }
    void OnWindowShown() override {
        g_opened.back().title = GetTitle().str();
        PostMessage(WND_MSG_CLOSE, 0, 5);
    }

private:
    std::string m_keyword;
};
} // namespace

TEST_F(NetWindowTest, TheMinuteAndKLineChartMessagesOpenTheirChartsWithThePostedText) {
    g_opened.clear();
    for (const char* key : {"fschart", "kxchart"})
        CWndManager::Instance().RegisterWindow(key, [](const CWndCreateInfo& info) {
            return std::unique_ptr<CBaseWnd>(new CFakeChart(info.keyword));
        });
    OpenB();
    driver.RunOnGui([] {
        g_log.live.at("b")->PostMessage(WND_MSG_OPEN_FSCHART, 0, reinterpret_cast<LPARAM>(strdup("date=&code=600000.02")));
        g_log.live.at("b")->PostMessage(WND_MSG_OPEN_KXCHART, 0, reinterpret_cast<LPARAM>(strdup("code=000001.01")));
    });
    auto opened = driver.RunOnGui([] { return g_opened; });
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].keyword, "fschart");
    EXPECT_EQ(opened[0].menuId, -1);
    EXPECT_EQ(opened[0].param, "");
    EXPECT_EQ(opened[0].request, "date=&code=600000.02");
    EXPECT_EQ(opened[0].title, u"分时走势");
    EXPECT_EQ(opened[1].keyword, "kxchart");
    EXPECT_EQ(opened[1].request, "code=000001.01");
    EXPECT_EQ(opened[1].title, u"K线分析");
    EXPECT_EQ(Depth(), 1) << "both charts closed back to b";
    EXPECT_EQ(driver.RunOnGui([] { return g_log.childCodes["b"]; }), (std::vector<int>{5, 5}));
}

TEST_F(NetWindowTest, AChartMessageWithoutARegisteredChartFreesItsTextAndOpensNothing) {
    OpenB();
    driver.RunOnGui(
        [] { g_log.live.at("b")->PostMessage(WND_MSG_OPEN_FSCHART, 0, reinterpret_cast<LPARAM>(strdup("code=1"))); });
    EXPECT_EQ(Depth(), 1);
}
