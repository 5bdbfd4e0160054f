// The history table, the password form and the warrant form against the
// simulated broker: pages and their cursor, the change that is sent only
// by its press and lands on the account it was sent for, and the exercise
// that reaches the server once whatever the network does.
#include "queries_Fixture.h"

#include "framework/ui/WndMessages.h"
#include "trade/queries/CFundTradeConfirmWnd.h"
#include "trade/queries/CAccountQueryWnd.h"
#include "trade/queries/CTradeHisQueryTableWnd.h"
#include "trade/queries/CTradePasswordWnd.h"
#include "trade/queries/CWarrantWnd.h"

namespace {

// A worker that stays busy and will not say when it is free.
class CBusySender : public IRequestSender {
public:
    bool Send(HWND, const std::string&, unsigned, unsigned) override { return false; }
    bool WaitIdle(int) override { return false; }
    int AbortAndWait(int) override { return 258; }
};

SimFault Timed(SimFaultKind kind, int ms) {
    SimFault f(kind);
    f.delayMs = ms;
    return f;
}

} // namespace

TEST_F(TradeQueryTest, HistoryPagesAskAfterTheLastRowAndEveryOtherSendStartsAgain) {
    Start();
    Open<CTradeHisQueryTableWnd>(74, "tc_mfuncno=500&tc_sfuncno=20");
    EXPECT_TRUE(Requests(500, 20).empty()) << "nothing before the dates are confirmed";
    driver.RunOnGui([] {
        CTradeHisQueryTableWnd* table = Shown<CTradeHisQueryTableWnd>();
        // The driver's day is 13 March 2024: the 30 days ending on it.
        EXPECT_EQ(DateText(table->GetStartDate()), "20240213");
        EXPECT_EQ(DateText(table->GetEndDate()), "20240313");
        EXPECT_TRUE(table->IsDateRowShown());
        table->SetStartDate({2026, 6, 1});
        table->SetEndDate({2026, 12, 4});
        table->OnConfirmDates();
    });
    ASSERT_TRUE(driver.WaitForRest());
    std::string lastRow;
    driver.RunOnGui([&] {
        CTradeHisQueryTableWnd* table = Shown<CTradeHisQueryTableWnd>();
        EXPECT_EQ(table->GetGrid().GetRowCount(), 80);
        EXPECT_FALSE(table->IsDateRowShown());
        lastRow = table->GetPagingCursor().str();
        // The tap on the last row of the full page.
        table->OnCommand(MakeWParam(CTableWnd::kGridId, GRID_ROW_TAPPED), 79);
    });
    ASSERT_TRUE(driver.WaitForRest());
    driver.RunOnGui([] { Shown<CTradeHisQueryTableWnd>()->Refresh(); });
    ASSERT_TRUE(driver.WaitForRest());
    const std::vector<SimRequest> sent = Requests(500, 20);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].Get("strdate"), "20260601");
    EXPECT_EQ(sent[0].Get("enddate"), "20261204");
    EXPECT_EQ(sent[0].Get("request_num"), "80");
    EXPECT_TRUE(sent[0].Has("poststr") && sent[0].Get("poststr").empty());
    EXPECT_EQ(sent[1].Get("poststr"), lastRow);
    EXPECT_TRUE(sent[2].Get("poststr").empty()) << "a refresh starts from page 1";
}

TEST_F(TradeQueryTest, AnAccountChangeEmptiesTheHistoryAndDropsTheReplyForTheOldAccount) {
    Start(true);
    Open<CTradeHisQueryTableWnd>(75, "tc_mfuncno=500&tc_sfuncno=21");
    sim.InjectFaultFor(500, 21, Timed(SimFaultKind::SlowReply, 300));
    Now([] {
        CTradeHisQueryTableWnd* table = Shown<CTradeHisQueryTableWnd>();
        table->SetStartDate({2026, 6, 1});
        table->SetEndDate({2026, 12, 4});
        table->OnConfirmDates();
    });
    ASSERT_TRUE(WaitForFunction(500, 21));
    Now([] { CAppData::Instance()->SwitchAccount(0); });
    ASSERT_TRUE(driver.WaitForRest());
    driver.RunOnGui([] {
        CTradeHisQueryTableWnd* table = Shown<CTradeHisQueryTableWnd>();
        EXPECT_EQ(table->GetGrid().GetRowCount(), 0);
        EXPECT_TRUE(table->IsDateRowShown());
        EXPECT_TRUE(table->GetPagingCursor().IsEmpty());
    });
}

TEST_F(TradeQueryTest, AFailedHistoryOrFundsQueryIsToldAndTheFundsPagesStay) {
    Start();
    Open<CTradeHisQueryTableWnd>(74, "tc_mfuncno=500&tc_sfuncno=20");
    // The reply cannot be read: its failure is told, not "not sent", and
    // the dates come back to ask again.
    sim.InjectFaultFor(500, 20, SimFault(SimFaultKind::CorruptBody));
    AnswerBoxes();
    driver.RunOnGui([] {
        CTradeHisQueryTableWnd* table = Shown<CTradeHisQueryTableWnd>();
        table->SetStartDate({2026, 6, 1});
        table->SetEndDate({2026, 12, 4});
        table->OnConfirmDates();
    });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(LastTold(), u"错误(6)：数据接收不全或格式错误");
    driver.RunOnGui([] {
        CTradeHisQueryTableWnd* table = Shown<CTradeHisQueryTableWnd>();
        EXPECT_TRUE(table->IsDateRowShown());
        EXPECT_EQ(table->GetGrid().GetRowCount(), 0);
        table->EndWindow(1);
    });
    ASSERT_TRUE(driver.WaitForRest());

    Open<CAccountQueryWnd>(76, "tc_mfuncno=500&tc_sfuncno=12");
    const int pages = driver.RunOnGui([] { return Shown<CAccountQueryWnd>()->GetPageCount(); });
    ASSERT_GT(pages, 0);
    // The connection dropped after the request, and again on the retry.
    sim.InjectFaultFor(500, 12, SimFault(SimFaultKind::CloseAfterRequest), 2);
    AnswerBoxes();
    driver.RunOnGui([] { Shown<CAccountQueryWnd>()->Refresh(); });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(LastTold(), u"错误(4)：接收数据失败，请重试");
    driver.RunOnGui([pages] {
        CAccountQueryWnd* funds = Shown<CAccountQueryWnd>();
        EXPECT_EQ(funds->GetPageCount(), pages) << "the last answer's pages stay";
        EXPECT_TRUE(funds->HasTabBar());
    });
    EXPECT_EQ(Requests(500, 12).size(), 3u);
    // A query the busy worker will not take is told; the pages stay.
    CBusySender busy;
    AnswerBoxes();
    driver.RunOnGui([&busy] {
        CNetWnd::SetDefaultSender(&busy);
        Shown<CAccountQueryWnd>()->Refresh();
    });
    ASSERT_TRUE(driver.WaitForRest());
    driver.RunOnGui([] { CNetWnd::SetDefaultSender(nullptr); });
    EXPECT_EQ(LastTold(), u"查询未能发出，请稍后再试");
    EXPECT_EQ(driver.RunOnGui([] { return Shown<CAccountQueryWnd>()->GetPageCount(); }), pages);
}

TEST_F(TradeQueryTest, ThePasswordChangeIsSentOnlyByItsPressAndTheNextOrderCarriesTheNewPassword) {
    Start();
    Open<CTradePasswordWnd>(77, "tc_mfuncno=500&tc_sfuncno=13&");
    AnswerBoxes();
    driver.RunOnGui([] {
        CTradePasswordWnd* form = Shown<CTradePasswordWnd>();
        form->OldField().SetText(u"123456");
        form->NewField().SetText(u"654321");
        form->ConfirmField().SetText(u"654321");
        // Roads that never send a change.
        form->Refresh();
        form->OnChildClosed(1);
        form->PostRequest(-1, 0);
    });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_TRUE(Requests(500, 13).empty());
    const std::string before = driver.RunOnGui([] { return std::string(CAppData::Instance()->GetLoginId()); });
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    const std::vector<SimRequest> sent = Requests(500, 13);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Get("oldpwd"), "123456");
    EXPECT_EQ(sent[0].Get("newpwd"), "654321");
    EXPECT_EQ(sent[0].Get("tradesession"), "T0001");
    EXPECT_EQ(LastTold(), CTradePasswordWnd::kDone);
    EXPECT_EQ(g_queryCloseCodes, std::vector<int>{1});
    driver.RunOnGui([&] {
        CAppData* app = CAppData::Instance();
        EXPECT_STREQ(app->GetTradePassword(), "654321");
        const std::string loginId = app->GetLoginId();
        EXPECT_EQ(loginId.rfind(before, 0), 0u);
        EXPECT_NE(loginId.find("&authid=AU"), std::string::npos) << loginId;
    });
}

TEST_F(TradeQueryTest, AChangeLandsOnTheAccountItWasSentForAfterASwitch) {
    Start(true);
    Open<CTradePasswordWnd>(77, "tc_mfuncno=500&tc_sfuncno=13&");
    AnswerBoxes();
    sim.InjectFaultFor(500, 13, Timed(SimFaultKind::SlowReply, 400));
    Now([] {
        CTradePasswordWnd* form = Shown<CTradePasswordWnd>();
        form->OldField().SetText(u"123456");
        form->NewField().SetText(u"654321");
        form->ConfirmField().SetText(u"654321");
        form->OnOk();
    });
    ASSERT_TRUE(WaitForFunction(500, 13));
    Now([] {
        CTradePasswordWnd* form = Shown<CTradePasswordWnd>();
        ASSERT_TRUE(form->IsSending());
        // The caption buttons, the toolbar and a close do nothing meanwhile.
        form->SendMessage(WND_MSG_CAPTION_BACK);
        form->SendMessage(WND_MSG_CLOSE, 0, 1);
        form->OnToolbarCommand(CBaseWnd::kToolbarRight);
        EXPECT_FALSE(form->IsClosing());
        CAppData::Instance()->SwitchAccount(0); // 李娜
    });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 13).size(), 1u);
    driver.RunOnGui([] {
        CAppData* app = CAppData::Instance();
        EXPECT_STREQ(app->GetTradePassword(), "135790") << "the current login is another account's";
        CAccountEntry* changed = app->GetAccount(app->FindAccount("000100012345"));
        ASSERT_NE(changed, nullptr);
        EXPECT_STREQ(changed->password.Get(), "654321");
        EXPECT_NE(changed->loginId.str().find("&authid="), std::string::npos);
        EXPECT_EQ(std::string(app->GetLoginId()).find("authid"), std::string::npos);
    });
}

TEST_F(TradeQueryTest, AChangeWithoutAnAnswerRecordsNothingAndSaysTheOutcomeIsUnknown) {
    Start();
    Open<CTradePasswordWnd>(77, "tc_mfuncno=500&tc_sfuncno=13&");
    AnswerBoxes();
    sim.InjectFaultFor(500, 13, SimFault(SimFaultKind::CloseAfterRequest));
    driver.RunOnGui([] {
        CTradePasswordWnd* form = Shown<CTradePasswordWnd>();
        form->OldField().SetText(u"123456");
        form->NewField().SetText(u"654321");
        form->ConfirmField().SetText(u"654321");
        form->OnOk();
    });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 13).size(), 1u);
    EXPECT_EQ(LastTold(), CTradePasswordWnd::kOutcomeUnknown);
    driver.RunOnGui([] { EXPECT_STREQ(CAppData::Instance()->GetTradePassword(), "123456"); });
}

TEST_F(TradeQueryTest, ThePrecheckNarrowsTheHoldersToTheWarrantsMarketAndADroppedCodeClearsIt) {
    Start();
    Open<CWarrantWnd>(78, "");
    driver.RunOnGui([] { EXPECT_EQ(Shown<CWarrantWnd>()->GetHolderItems().size(), 2u); });
    // A tap on the shareholder field offers the holders; the second is taken.
    const CRect field = driver.RunOnGui([] { return Shown<CWarrantWnd>()->HolderField().GetScreenRect(); });
    driver.AnswerNext(ModalKind::Picker, 1);
    ASSERT_TRUE(driver.Tap((field.left + field.right) / 2, (field.top + field.bottom) / 2));
    ASSERT_TRUE(driver.WaitForRest());
    driver.RunOnGui([] { EXPECT_EQ(Shown<CWarrantWnd>()->GetSelectedHolder(), 1); });
    ASSERT_TRUE(CDriverControls::TapControl(driver, CWarrantWnd::kCodeId));
    ASSERT_TRUE(driver.TypeText(u"582010"));
    ASSERT_TRUE(driver.WaitForRest());
    driver.RunOnGui([] {
        CWarrantWnd* form = Shown<CWarrantWnd>();
        ASSERT_EQ(form->GetHolderItems().size(), 1u);
        EXPECT_EQ(form->GetHolderItems()[0].value.str(), "market=1&secuid=A100012345&fundid=000100012345");
        EXPECT_EQ(form->HolderField().GetText(), u"沪AA100012345");
        EXPECT_EQ(form->PriceField().GetText(), u"7.80");
        EXPECT_EQ(form->NameField().GetText(), u"华岳CWB1");
        // Another code: the answer of the old one is gone.
        form->CodeField().SetText(u"58201");
    });
    ASSERT_TRUE(driver.WaitForRest());
    driver.RunOnGui([] {
        CWarrantWnd* form = Shown<CWarrantWnd>();
        EXPECT_TRUE(form->PriceField().GetText().empty());
        EXPECT_EQ(form->GetHolderItems().size(), 2u);
    });
}

TEST_F(TradeQueryTest, AnExerciseReachesTheServerOnceUnderEveryFault) {
    const struct {
        const char* name;
        SimFault fault;
    } faults[] = {
        {"close after read", SimFault(SimFaultKind::CloseAfterRequest)},
        {"reset after read", SimFault(SimFaultKind::ResetAfterRequest)},
        {"a cut body", SimFault(SimFaultKind::TruncatedBody)},
        {"slow past the deadline", Timed(SimFaultKind::SlowReply, 1500)},
        {"no fault", SimFault(SimFaultKind::None)},
    };
    Start();
    Open<CWarrantWnd>(78, "");
    ASSERT_TRUE(CDriverControls::TapControl(driver, CWarrantWnd::kCodeId));
    ASSERT_TRUE(driver.TypeText(u"582010"));
    ASSERT_TRUE(driver.WaitForRest());
    for (const auto& f : faults) {
        SCOPED_TRACE(f.name);
        const int before = sim.CountRequests(100, 29);
        if (f.fault.kind != SimFaultKind::None)
            sim.InjectFaultFor(100, 29, f.fault);
        driver.RunOnGui([] { Shown<CWarrantWnd>()->QuantityField().SetText(u"100"); });
        AnswerBoxes();
        ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
        // The confirmation page, then its "确定".
        ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
        ASSERT_TRUE(driver.WaitForRest());
        EXPECT_EQ(sim.CountRequests(100, 29), before + 1);
        if (f.fault.kind == SimFaultKind::None)
            EXPECT_EQ(LastTold().rfind(u"委托已提交，合同序号为", 0), 0u);
        else
            EXPECT_EQ(LastTold(), CFundTradeConfirmWnd::kOutcomeUnknown);
    }
    const std::vector<SimRequest> sent = Requests(100, 29);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().Get("price"), "7.80");
    EXPECT_EQ(sent.back().Get("secuid"), "A100012345");
}

TEST_F(TradeQueryTest, TheWarrantFormRefusesAShortCodeAndABadQuantity) {
    Start();
    Open<CWarrantWnd>(78, "");
    AnswerBoxes(6);
    ASSERT_TRUE(CDriverControls::TapControl(driver, CWarrantWnd::kCodeId));
    ASSERT_TRUE(driver.TypeText(u"58201"));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    EXPECT_EQ(LastTold(), CWarrantWnd::kShortCode);
    ASSERT_TRUE(driver.TypeText(u"0"));
    ASSERT_TRUE(driver.WaitForRest());
    driver.RunOnGui([] { Shown<CWarrantWnd>()->QuantityField().SetText(u"0"); });
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    EXPECT_EQ(LastTold(), CWarrantWnd::kBadQuantity);
    EXPECT_EQ(sim.CountRequests(100, 29), 0);
}
