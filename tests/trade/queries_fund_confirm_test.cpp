// The confirmation page against the simulated server: the text it sends,
// that it sends it once whatever the network does, its own worker when the
// shared one stays busy, and nothing without a login id.
#include "framework/app/CAppData.h"
#include "framework/net/CHttpPostClient.h"
#include "framework/net/CNetWorker.h"
#include "framework/net/CServiceLogon.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/WndMessages.h"
#include "platform/testing/CDriverControls.h"
#include "trade/queries/CFundTradeConfirmWnd.h"
#include "support/SimAppTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

constexpr const char16_t* kText = u"交易类型：权证行权\n行权代码：580001\n证券名称：华岳JTP1\n行权价格：4.50\n行权数量：1000\n";
constexpr const char* kRequest = "TC_MFUNCNO=100&TC_SFUNCNO=29&stkcode=580001&price=4.50&qty=1000&secuid=A123";
constexpr const char* kLoginId = "sessionid=T0001&operway=i";
constexpr const char16_t* kPrefix = u"委托已提交，合同序号为";

struct CConfirmLog {
    int closeCode = -2;
    bool ownWorker = false;
};

// Runs a confirmation page when told, letting the test queue what reaches
// the page before it shows.
class CConfirmHostWnd : public CNetWnd {
public:
    enum : UINT { kOpen = WM_USER + 90 };
    ~CConfirmHostWnd() override { Destroy(); }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != kOpen)
            return CNetWnd::OnMessage(msg, wParam, lParam);
        auto page = std::make_unique<CFundTradeConfirmWnd>(u"权证行权确认", this);
        page->SetConfirm(kText, request);
        page->SetResultPrefix(kPrefix);
        if (!page->CreateOver(this, GetWndManager().GetWorkRect()))
            return 0;
        if (beforeShow)
            beforeShow(*page);
        current = page.get();
        log.closeCode = page->ShowModal(-1, nullptr, nullptr);
        log.ownWorker = page->HasOwnWorker();
        current = nullptr;
        return 0;
    }
    const char* request = kRequest;
    std::function<void(CFundTradeConfirmWnd&)> beforeShow;
    CFundTradeConfirmWnd* current = nullptr;
    CConfirmLog log;
};

class FundConfirmTest : public SimAppTest {
protected:
    FundConfirmTest() : SimAppTest("orb_confirm") {}

    std::unique_ptr<CConfirmHostWnd> host;

    void SetUp() override {
        SimAppTest::SetUp();
        // A service logon, so the page's sealed request opens at the server.
        CHttpPostClient client;
        client.SetServer("127.0.0.1", sim.GetPort());
        CCommonTail tail;
        tail.imei = "861234567890123";
        std::string key, session;
        ASSERT_EQ(CServiceLogon::Run(client, std::string(ORB_SOURCE_DIR) + "/resources/pubkey.bin", tail, &key,
                                     &session),
                  0);
        sim.SetRoute(100, 29, [](const SimRequest&, CSimMarket&) {
            CDataSetWriter w;
            w.AddSet("wt");
            w.AddColumn(DataSetType::AnsiText, "htxh");
            w.AddRow();
            w.SetAnsiText(0, "20261207000123");
            return SimReply::Ok(w);
        });
        ASSERT_TRUE(driver.Start([this, key, session] {
            CAppData* app = CreateAppData();
            ASSERT_NE(app, nullptr);
            app->SetSessionKey(key);
            app->SetSession(session);
            app->SetLoginId(kLoginId);
            host = std::make_unique<CConfirmHostWnd>();
            ASSERT_TRUE(host->CreateOver(nullptr));
            host->ShowWindow(true);
        }));
    }
    void ReleaseWindows() override { host.reset(); }

    void Open(std::function<void(CFundTradeConfirmWnd&)> beforeShow = nullptr) {
        driver.RunOnGui([this, beforeShow] {
            host->beforeShow = beforeShow;
            host->PostMessage(CConfirmHostWnd::kOpen);
        });
        driver.WaitForRest();
    }
    // "确定", with the answer's box acknowledged.
    bool PressOk() {
        driver.AnswerNext(ModalKind::MessageBox, IDOK);
        return CDriverControls::PressBottomButton(driver, 1);
    }
    // Queues the middle button's press (and more) for the page before it shows.
    static void QueueOk(CFundTradeConfirmWnd& page) {
        page.PostMessage(WM_COMMAND, MakeWParam(UI_BOTTOM_BAR_ID, 0), 1);
    }
    CConfirmLog Log() {
        return driver.RunOnGui([this] { return host->log; });
    }
};

TEST_F(FundConfirmTest, OkSendsTheLoginIdAndTheKeptRequestSealedThenTellsTheContractAndCloses) {
    Open();
    EXPECT_EQ(driver.ControlText(CFundTradeConfirmWnd::kFirstLineId + 4), u"行权数量：1000");
    EXPECT_TRUE(Requests(100, 29).empty()) << "showing sends nothing";
    ASSERT_TRUE(PressOk());
    const std::vector<SimRequest> sent = Requests(100, 29);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(sent[0].sealed);
    for (const auto& [name, value] : {std::pair{"sessionid", "T0001"}, {"operway", "i"}, {"stkcode", "580001"},
                                      {"price", "4.50"}, {"qty", "1000"}, {"secuid", "A123"}})
        EXPECT_EQ(sent[0].Get(name), value) << name;
    ASSERT_EQ(ShownTexts().size(), 1u);
    EXPECT_EQ(ShownTexts()[0], std::u16string(kPrefix) + u"20261207000123");
    EXPECT_EQ(driver.Shown().back().caption, u"提示");
    EXPECT_EQ(Log().closeCode, 1);
    EXPECT_FALSE(Log().ownWorker);
}

TEST_F(FundConfirmTest, UnderEveryFaultTheRequestLeavesOnceAndTheUserIsToldToCheckTheOrders) {
    const SimFaultKind faults[] = {SimFaultKind::CloseAfterRequest, SimFaultKind::ResetAfterRequest,
                                   SimFaultKind::CloseInsideBody, SimFaultKind::TruncatedBody,
                                   SimFaultKind::CorruptBody};
    int count = 0;
    for (SimFaultKind fault : faults) {
        SCOPED_TRACE(static_cast<int>(fault));
        sim.InjectFaultFor(100, 29, SimFault(fault), 3);
        Open();
        ASSERT_TRUE(PressOk());
        sim.ClearFaults();
        EXPECT_EQ(sim.CountRequests(100, 29), ++count);
        ASSERT_FALSE(ShownTexts().empty());
        EXPECT_EQ(ShownTexts().back(), CFundTradeConfirmWnd::kOutcomeUnknown);
        EXPECT_EQ(Log().closeCode, 1);
    }
}

TEST_F(FundConfirmTest, ASecondPressAndClosingDoNothingWhileTheRequestIsOut) {
    SimFault slow(SimFaultKind::SlowReply);
    slow.delayMs = 500;
    sim.InjectFaultFor(100, 29, slow, 1);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    Open([](CFundTradeConfirmWnd& page) {
        QueueOk(page);
        QueueOk(page);
        page.PostMessage(WND_MSG_CLOSE, 0, 0);
        page.PostMessage(WND_MSG_CAPTION_BACK);
        page.PostMessage(WND_MSG_CAPTION_TRADE);
    });
    EXPECT_EQ(sim.CountRequests(100, 29), 1);
    EXPECT_EQ(ShownTexts(), std::vector<std::u16string>{std::u16string(kPrefix) + u"20261207000123"});
    EXPECT_EQ(Log().closeCode, 1) << "closed by the answer, not by the close";
}

TEST_F(FundConfirmTest, ASharedWorkerThatStaysBusyLeavesTheRequestToAWorkerOfThePagesOwn) {
    SimFault slow(SimFaultKind::SlowReply);
    slow.delayMs = 3500;
    sim.InjectFaultFor(500, 6, slow, 1);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    Open([this](CFundTradeConfirmWnd& page) {
        // An order that has left through the shared worker is never
        // abandoned: the worker stays busy.
        sim.ClearRequestLog();
        CAppData::Instance()->GetNetWorker()->PostRequest(nullptr, "TC_MFUNCNO=500&TC_SFUNCNO=6&x=1", 0);
        sim.WaitForRequests(1, 3000);
        QueueOk(page);
    });
    EXPECT_EQ(sim.CountRequests(100, 29), 1);
    EXPECT_EQ(sim.CountRequests(500, 6), 1);
    EXPECT_EQ(ShownTexts(), std::vector<std::u16string>{std::u16string(kPrefix) + u"20261207000123"});
    EXPECT_TRUE(Log().ownWorker);
    EXPECT_EQ(Log().closeCode, 1);
}

TEST_F(FundConfirmTest, WithoutALoginIdOrAKeptRequestNothingIsSentAndTheToolbarStaysUsable) {
    driver.RunOnGui([] { CAppData::Instance()->SetLoginId(nullptr); });
    Open();
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 1));
    auto toolbarOn = [this] {
        return driver.RunOnGui([this] { return host->current->GetToolBar()->IsButtonEnabled(1); });
    };
    EXPECT_TRUE(toolbarOn());
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2)); // back
    EXPECT_EQ(Log().closeCode, 1);

    driver.RunOnGui([this] {
        CAppData::Instance()->SetLoginId(kLoginId);
        host->request = nullptr;
    });
    Open();
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 1));
    EXPECT_TRUE(toolbarOn());
    EXPECT_EQ(sim.CountRequests(100, 29), 0);
    EXPECT_TRUE(ShownTexts().empty());
}

} // namespace
