// The confirmation page against the simulated exchange: the exact texts it
// sends once the server has opened "TC_REQDATA", what it tells the user,
// and that an order, a cancellation or a batch reaches the server exactly
// once whatever fails and whatever the user does while it is out.
#include "orders_confirm_Fixture.h"

#include "framework/net/CNetWorker.h"
#include "framework/net/NetFailure.h"
#include "framework/ui/WndMessages.h"

namespace {

ConfirmEntry Order(const char16_t* code, const char16_t* name, const char16_t* price, const char16_t* qty,
                   const char* holder) {
    return {code, name, price, qty, u"", holder};
}

struct SentCase {
    const char* what;
    ConfirmMode mode;
    std::vector<ConfirmEntry> entries;
    std::optional<CPriceTypeItem> type;
    int main, sub;
    std::string text;                    // as opened, without the tail
    std::vector<std::u16string> told;    // the message boxes, in order
    std::vector<std::string> watchItems;
};

void PrintTo(const SentCase& c, std::ostream* os) { *os << c.what; }

class ConfirmSent : public ConfirmPageTest, public ::testing::WithParamInterface<SentCase> {};

const char kSz[] = "market=0&secuid=0100012345&fundid=000100012345";
const char kSh[] = "market=1&secuid=A100012345&fundid=000100012345";

} // namespace

TEST_P(ConfirmSent, ThePressSendsTheEntryOnceTellsTheAnswerAndClosesWithOne) {
    const SentCase& c = GetParam();
    Start();
    if (c.mode == ConfirmMode::Cancel) {
        // A resting order to cancel: 100001.
        Open(ConfirmMode::Buy, {Order(u"600010", u"华岳银行", u"8.00", u"100", kSh)}, CPriceTypeItem(u"限价委托", "0B"));
        ASSERT_TRUE(PressOk());
        g_confirm = CConfirmLog();
        sim.ClearRequestLog();
    }
    const size_t before = driver.Shown().size();
    Open(c.mode, c.entries, c.type);
    ASSERT_TRUE(PageShown());
    ASSERT_TRUE(PressOk());
    const std::vector<SimRequest> sent = Requests(c.main, c.sub);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(sent[0].sealed);
    EXPECT_EQ(OpenedText(sent[0]), c.text);
    std::vector<std::u16string> told;
    for (size_t i = before; i < driver.Shown().size(); ++i)
        told.push_back(driver.Shown()[i].text);
    EXPECT_EQ(told, c.told);
    EXPECT_EQ(g_confirm.closeCodes, std::vector<int>{1});
    EXPECT_EQ(g_confirm.watchItems, c.watchItems);
    EXPECT_FALSE(PageShown());
}

INSTANTIATE_TEST_SUITE_P(Entries, ConfirmSent, ::testing::Values(
    SentCase{"a limit buy", ConfirmMode::Buy, {Order(u"000016", u"平川银行", u"11.50", u"200", kSz)},
             CPriceTypeItem(u"限价委托", "0B"), 500, 6,
             "tc_mfuncno=500&tc_sfuncno=6&custid=000100012345&tradesession=T0001"
             "&operway=i&trdpwd=123456&bsflag=0B&price=11.50&qty=200"
             "&stkcode=000016&market=0&secuid=0100012345&fundid=000100012345",
             {u"委托已提交,合同序号为100001"}, {"000016.01"}},
    SentCase{"a limit sell of an odd lot", ConfirmMode::Sell, {Order(u"600023", u"东麓钢铁", u"3.00", u"50", kSh)},
             CPriceTypeItem(u"限价委托", "0S"), 500, 6,
             "tc_mfuncno=500&tc_sfuncno=6&custid=000100012345&tradesession=T0001"
             "&operway=i&trdpwd=123456&bsflag=0S&price=3.00&qty=50"
             "&stkcode=600023&market=1&secuid=A100012345&fundid=000100012345",
             {u"委托已提交,合同序号为100001"}, {}},
    SentCase{"a market-price buy shows - and sends no price", ConfirmMode::Buy,
             {Order(u"000016", u"平川银行", u"-", u"100", kSz)}, CPriceTypeItem(u"对方最优价格", "0a"), 500, 6,
             "tc_mfuncno=500&tc_sfuncno=6&custid=000100012345&tradesession=T0001"
             "&operway=i&trdpwd=123456&bsflag=0a&price=&qty=100"
             "&stkcode=000016&market=0&secuid=0100012345&fundid=000100012345",
             {u"委托已提交,合同序号为100001"}, {"000016.01"}},
    SentCase{"a market-price sell in Shanghai", ConfirmMode::Sell, {Order(u"600010", u"华岳银行", u"-", u"300", kSh)},
             CPriceTypeItem(u"五档即成剩撤", "0i"), 500, 6,
             "tc_mfuncno=500&tc_sfuncno=6&custid=000100012345&tradesession=T0001"
             "&operway=i&trdpwd=123456&bsflag=0i&price=&qty=300"
             "&stkcode=600010&market=1&secuid=A100012345&fundid=000100012345",
             {u"委托已提交,合同序号为100001"}, {}},
    SentCase{"a Shenzhen B-share buy joins the watch list with its quote market", ConfirmMode::Buy,
             {Order(u"200168", u"澄江B股", u"2.384", u"100", "market=2&secuid=2000012345&fundid=000100012345")},
             CPriceTypeItem(u"限价委托", "0B"), 500, 6,
             "tc_mfuncno=500&tc_sfuncno=6&custid=000100012345&tradesession=T0001"
             "&operway=i&trdpwd=123456&bsflag=0B&price=2.384&qty=100"
             "&stkcode=200168&market=2&secuid=2000012345&fundid=000100012345",
             {u"委托已提交,合同序号为100001"}, {"200168.01"}},
    SentCase{"a cancel by its serial, the row's price and unit no matter", ConfirmMode::Cancel,
             {{u"600010", u"华岳银行", u"0", u"100股", u"100001", kSh}}, std::nullopt, 500, 7,
             "tc_mfuncno=500&tc_sfuncno=7&custid=000100012345&tradesession=T0001&operway=i&ordersno=100001"
             "&market=1&secuid=A100012345&fundid=000100012345",
             {u"撤单已提交!"}, {}},
    SentCase{"a batch without its incomplete entry", ConfirmMode::Batch,
             {Order(u"000016", u"平川银行", u"11.50", u"100", kSz),
              Order(u"600010", u"华岳银行", u"8.00", u"100", "market=1&secuid=A100012345"),
              Order(u"600047", u"江屿港务", u"5.86", u"200", kSh)},
             std::nullopt, 100, 20,
             "tc_mfuncno=100&tc_sfuncno=20&custid=000100012345&tradesession=T0001"
             "&operway=i&trdpwd=123456&codes=000016,600047"
             "&price=11.50,5.86&qty=100,200&fundids=000100012345,000100012345&secuids=0100012345,A100012345&markets=0,1",
             {u"以下委托资料不全，未提交：第2笔", u"000016 委托已提交,合同序号为100001",
              u"600047 委托已提交,合同序号为100002"}, {}}));

TEST_F(ConfirmPageTest, ALongSessionTextIsSentWholeAndTheOrderIsPlaced) {
    const std::string token(2000, 'k');
    Start("&token=" + token);
    Open(ConfirmMode::Buy, {Order(u"000016", u"平川银行", u"11.50", u"100", kSz)}, CPriceTypeItem(u"限价委托", "0B"));
    ASSERT_TRUE(PressOk());
    const std::vector<SimRequest> sent = Requests(500, 6);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Get("token"), token);
    EXPECT_EQ(sent[0].Get("stkcode"), "000016") << "nothing after the session text was cut";
    EXPECT_EQ(LastTold(), u"委托已提交,合同序号为100001");
}

TEST_F(ConfirmPageTest, AnEntryThatFailsItsChecksIsToldSkippedAndNothingIsSent) {
    Start();
    const struct {
        ConfirmMode mode;
        ConfirmEntry entry;
        std::optional<CPriceTypeItem> type;
        std::u16string told;
    } cases[] = {
        {ConfirmMode::Sell, Order(u"000016", u"x", u"-", u"1234567890", kSz), CPriceTypeItem(u"五档即成剩撤", "0i"),
         u"委托数量有误"},
        {ConfirmMode::Batch, Order(u"000016", u"x", u"1", u"100", "market=0&secuid=0100012345"), std::nullopt,
         u"以下委托资料不全，未提交：第1笔"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        g_confirm.closeCodes.clear();
        Open(c.mode, {c.entry}, c.type);
        ASSERT_TRUE(PageShown());
        ASSERT_TRUE(PressOk());
        EXPECT_EQ(LastTold(), c.told);
        EXPECT_EQ(g_confirm.closeCodes, std::vector<int>{1}) << "the last entry skipped ends the page";
    }
    EXPECT_EQ(TradeRequests(), 0u);
}

TEST_F(ConfirmPageTest, WithoutATradeLoginNothingIsSentAndThePageStaysForAnotherPress) {
    Start();
    driver.RunOnGui([] { CAppData::Instance()->Logout(); });
    Open(ConfirmMode::Buy, {Order(u"000016", u"平川银行", u"11.50", u"100", kSz)}, CPriceTypeItem(u"限价委托", "0B"));
    ASSERT_TRUE(PressOk());
    EXPECT_EQ(LastTold(), u"请先登录交易账号");
    EXPECT_TRUE(PageShown());
    EXPECT_EQ(TradeRequests(), 0u);
    EXPECT_TRUE(driver.RunOnGui([] { return Page() && !Page()->IsBusy(); }));
}

namespace {

struct FaultCase {
    const char* name;
    SimFault fault;
    std::u16string told;
};

SimFault Timed(SimFaultKind kind, int ms) {
    SimFault f(kind);
    f.delayMs = ms;
    return f;
}

} // namespace

TEST_F(ConfirmPageTest, AnOrderACancelAndABatchReachTheServerExactlyOnceUnderEveryFailureAndTellTheOutcome) {
    const FaultCase faults[] = {
        {"close after read", SimFaultKind::CloseAfterRequest, kOutcomeUnknownText},
        {"reset after read", SimFaultKind::ResetAfterRequest, kOutcomeUnknownText},
        {"close inside the body", SimFaultKind::CloseInsideBody, kOutcomeUnknownText},
        {"a cut body", SimFaultKind::TruncatedBody, kOutcomeUnknownText},
        {"a corrupt body", SimFaultKind::CorruptBody, kOutcomeUnknownText},
        {"a bad ETag", SimFaultKind::BadETag, kOutcomeUnknownText},
        {"slow past the deadline", Timed(SimFaultKind::SlowReply, 1500), kOutcomeUnknownText},
        {"drip", Timed(SimFaultKind::Drip, 60), kOutcomeUnknownText},
        {"session lost", SimFaultKind::SessionLost, kNotPlacedText},
    };
    const struct {
        const char* what;
        int main, sub;
        ConfirmMode mode;
        ConfirmEntry entry;
        std::optional<CPriceTypeItem> type;
    } requests[] = {
        {"order", 500, 6, ConfirmMode::Buy, Order(u"000016", u"平川银行", u"10.00", u"100", kSz),
         CPriceTypeItem(u"限价委托", "0B")},
        {"cancellation", 500, 7, ConfirmMode::Cancel, {u"600010", u"华岳银行", u"8.00", u"100", u"100001", kSh},
         std::nullopt},
        {"batch", 100, 20, ConfirmMode::Batch, Order(u"000016", u"平川银行", u"10.00", u"100", kSz), std::nullopt},
    };
    Start();
    for (const auto& r : requests) {
        for (const FaultCase& f : faults) {
            SCOPED_TRACE(std::string(r.what) + " under " + f.name);
            g_confirm.closeCodes.clear();
            sim.InjectFaultFor(r.main, r.sub, f.fault);
            const int before = sim.CountRequests(r.main, r.sub);
            const std::vector<std::string> ordersBefore = TodaysOrders();
            Open(r.mode, {r.entry}, r.type);
            ASSERT_TRUE(PageShown());
            ASSERT_TRUE(PressOk());
            EXPECT_EQ(sim.CountRequests(r.main, r.sub), before + 1);
            EXPECT_EQ(LastTold(), f.told);
            EXPECT_EQ(g_confirm.closeCodes, std::vector<int>{1});
            if (f.told == kNotPlacedText) {
                EXPECT_NE(ordersBefore, std::vector<std::string>{"failed"});
                EXPECT_EQ(TodaysOrders(), ordersBefore) << "a refused request changed nothing at the exchange";
            }
        }
    }
    EXPECT_EQ(sim.CountRequests(100, 1), 1 + 3) << "each lost session was renewed, the request not resent";
}

TEST_F(ConfirmPageTest, AnOrderRefusedForALostSessionIsNotPlacedAndTheNextOneIsUnderTheSameTradeLogin) {
    Start();
    sim.InjectFaultFor(500, 6, SimFault(SimFaultKind::SessionLost));
    Open(ConfirmMode::Buy, {Order(u"000016", u"平川银行", u"11.50", u"100", kSz)}, CPriceTypeItem(u"限价委托", "0B"));
    ASSERT_TRUE(PressOk());
    EXPECT_EQ(LastTold(), kNotPlacedText);
    EXPECT_EQ(sim.CountRequests(100, 1), 2) << "the service logon was renewed";
    EXPECT_TRUE(TodaysOrders().empty()) << "nothing at the exchange, and the trade login still holds";

    Open(ConfirmMode::Buy, {Order(u"000016", u"平川银行", u"11.50", u"100", kSz)}, CPriceTypeItem(u"限价委托", "0B"));
    ASSERT_TRUE(PressOk());
    EXPECT_EQ(LastTold(), u"委托已提交,合同序号为100001") << "the first order the exchange took";
    ASSERT_EQ(TodaysOrders().size(), 1u);
    EXPECT_TRUE(driver.RunOnGui([] { return CAppData::Instance()->IsTradeLoggedIn(); }));
}

TEST_F(ConfirmPageTest, AnEmptyAnswerLeavesTheOutcomeUnknown) {
    Start();
    sim.SetRoute(500, 6, [](const SimRequest&, CSimMarket&) { return SimReply{}; });
    Open(ConfirmMode::Buy, {Order(u"000016", u"平川银行", u"11.50", u"100", kSz)}, CPriceTypeItem(u"限价委托", "0B"));
    ASSERT_TRUE(PressOk());
    EXPECT_EQ(LastTold(), kOutcomeUnknownText);
    EXPECT_EQ(g_confirm.closeCodes, std::vector<int>{1});
    EXPECT_TRUE(g_confirm.watchItems.empty());
}

TEST_F(ConfirmPageTest, WhileTheRequestIsOutASecondPressTheBackSwipeTheCaptionButtonsAndACloseChangeNothing) {
    Start();
    sim.InjectFaultFor(500, 6, Timed(SimFaultKind::SlowReply, 400));
    Open(ConfirmMode::Buy, {Order(u"000016", u"平川银行", u"11.50", u"100", kSz)}, CPriceTypeItem(u"限价委托", "0B"));
    ASSERT_TRUE(PageShown());
    AnswerBoxes();
    Now([] { Page()->OnOk(); });
    ASSERT_TRUE(sim.WaitForRequests(3, 5000)) << "the logon, the trade login, the order";
    Now([] {
        CTradeConfirmWnd* page = Page();
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(page->IsBusy());
        page->OnOk();
        page->OnToolbarCommand(CBaseWnd::kToolbarMiddle);
        page->OnToolbarCommand(CBaseWnd::kToolbarRight);
        page->OnToolbarCommand(CBaseWnd::kToolbarLeft);
        page->SendMessage(WND_MSG_CAPTION_BACK, 0, 0);
        page->SendMessage(WND_MSG_CAPTION_TRADE, 0, 0);
        page->SendMessage(WND_MSG_CLOSE, 0, 1);
        // A swipe to the right across the page.
        page->OnLButtonDown(0, {60, 300});
        page->OnLButtonUp(0, {300, 310});
        EXPECT_FALSE(page->IsClosing());
    });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 6).size(), 1u);
    EXPECT_EQ(LastTold(), u"委托已提交,合同序号为100001");
    EXPECT_EQ(g_confirm.closeCodes, std::vector<int>{1});
}

TEST_F(ConfirmPageTest, WhenTheSharedWorkerIsBusyTheOrderGoesOnceThroughAWorkerOfThePagesOwn) {
    Start();
    sim.InjectFaultFor(500, 13, Timed(SimFaultKind::SlowReply, 500));
    Open(ConfirmMode::Buy, {Order(u"000016", u"平川银行", u"11.50", u"100", kSz)}, CPriceTypeItem(u"限价委托", "0B"));
    ASSERT_TRUE(PageShown());
    // Another window's password change is out on the shared worker: it is
    // never cut off, so the page cannot have that worker.
    Now([] {
        CAppData::Instance()->GetNetWorker()->PostRequest(nullptr, "TC_MFUNCNO=500&TC_SFUNCNO=13&x=1",
                                                          CNetWorker::kNeverResend);
    });
    ASSERT_TRUE(sim.WaitForRequests(3, 5000)) << "the logon, the trade login, the password change";
    ASSERT_EQ(Requests(500, 13).size(), 1u);
    AnswerBoxes();
    Now([] { Page()->OnOk(); }); // a press while the other request is out
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 6).size(), 1u);
    EXPECT_EQ(Requests(500, 13).size(), 1u);
    EXPECT_EQ(LastTold(), u"委托已提交,合同序号为100001");
    EXPECT_EQ(g_confirm.closeCodes, std::vector<int>{1});
}

TEST_F(ConfirmPageTest, AnOrderThatNeverLeftIsToldNotSentAndTheSamePressSendsItOnce) {
    Start();
    Open(ConfirmMode::Buy, {Order(u"000016", u"平川银行", u"11.50", u"100", kSz)}, CPriceTypeItem(u"限价委托", "0B"));
    ASSERT_TRUE(PageShown());
    // No server answers where the order would go: not a byte leaves.
    const int port = driver.RunOnGui([] {
        CHttpPostClient& link = CAppData::Instance()->GetNetWorker()->GetConnection();
        const int was = link.GetPort();
        link.SetServer(link.GetHost(), 1);
        return was;
    });
    ASSERT_TRUE(PressOk());
    driver.RunOnGui([port] {
        CHttpPostClient& link = CAppData::Instance()->GetNetWorker()->GetConnection();
        link.SetServer(link.GetHost(), port);
    });
    EXPECT_EQ(LastTold(), u"委托未能发出，请稍后再试");
    EXPECT_TRUE(Requests(500, 6).empty());
    EXPECT_TRUE(g_confirm.closeCodes.empty()) << "the page stays for another press";
    EXPECT_TRUE(driver.RunOnGui([] { return Page() && !Page()->IsBusy(); }));
    ASSERT_TRUE(PressOk());
    EXPECT_EQ(Requests(500, 6).size(), 1u);
    EXPECT_EQ(LastTold(), u"委托已提交,合同序号为100001");
    EXPECT_EQ(g_confirm.closeCodes, std::vector<int>{1});
}
