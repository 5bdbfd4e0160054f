// The stock search pop-up against the simulated server: code and pinyin
// searches, what a chosen stock opens, and what never reaches a request.
#include "tables_watch_Fixture.h"

#include "tools/simulator/CSimMarket.h"

namespace {

constexpr int kEdit = CEditMyStockWnd::kEditId;
constexpr int kButton = CEditMyStockWnd::kButtonId;
constexpr int kList = CEditMyStockWnd::kListId;

// A worker that is always busy: every send is refused.
class CBusySender : public IRequestSender {
public:
    bool Send(HWND, const std::string&, unsigned, unsigned) override { return false; }
    bool WaitIdle(int) override { return false; }
    int AbortAndWait(int) override { return 258; }
};

class StockSearch : public WatchListTest {
protected:
    void OpenSearch() {
        Start(std::string("600010.02"));
        HostDoes(CWatchHostWnd::kOpenSearch);
        ASSERT_EQ(TopWindow(), "CEditMyStockWnd");
    }
};

TEST_F(StockSearch, SixTypedDigitsSearchAtOnceAndASingleFindOpensItsMinuteChartInTheOwner) {
    OpenSearch();
    driver.TypeText(u"60001");
    EXPECT_TRUE(Requests(31000, 4).empty()) << "five digits do not search";
    driver.TypeText(u"0");
    const auto sent = Requests(31000, 4);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Get("code"), "600010");
    EXPECT_EQ(sent[0].Get("count"), "1");
    EXPECT_EQ(sent[0].Get("field"), "4|3|1");
    EXPECT_EQ(g_charts.fschart, std::vector<std::string>{"date=&code=600010.02"});
    EXPECT_EQ(TopWindow(), "CWatchHostWnd");
}

TEST_F(StockSearch, PinyinInitialsAreSentUpperCaseAndAChosenStockOpensItsMinuteChart) {
    OpenSearch();
    driver.TypeText(u"hy");
    ASSERT_TRUE(CDriverControls::TapControl(driver, kButton));
    const auto sent = Requests(31000, 10);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Get("type"), "2");
    EXPECT_EQ(sent[0].Get("pattern"), "HY");
    EXPECT_EQ(ListTexts(kList), (std::vector<std::u16string>{u"华岳银行(600010.02)", u"鸿运家电(000123.01)"}));
    EXPECT_EQ(driver.ControlEnabled(kEdit), true);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, kList, 1));
    EXPECT_EQ(g_charts.fschart, std::vector<std::string>{"date=&code=000123.01"});
}

TEST_F(StockSearch, APinyinFindKeepsATwoDigitMarketAsItStandsAndWidensAOneDigitOne) {
    sim.WithMarket([](CSimMarket& m) { m.FindMutable("600010.02")->market = 12; });
    OpenSearch();
    driver.TypeText(u"hy");
    ASSERT_TRUE(CDriverControls::TapControl(driver, kButton));
    EXPECT_EQ(ListTexts(kList), (std::vector<std::u16string>{u"华岳银行(600010.12)", u"鸿运家电(000123.01)"}));
    ASSERT_TRUE(CDriverControls::TapListItem(driver, kList, 0));
    EXPECT_EQ(g_charts.fschart, std::vector<std::string>{"date=&code=600010.12"});
}

TEST_F(StockSearch, ACodePrefixListsEveryMatchAndKeepsThePopUpOpen) {
    OpenSearch();
    driver.TypeText(u"6001");
    ASSERT_TRUE(CDriverControls::TapControl(driver, kButton));
    EXPECT_EQ(Requests(31000, 4).at(0).Get("code"), "6001");
    EXPECT_EQ(ListTexts(kList), (std::vector<std::u16string>{u"北溪药业 (600105.2)", u"瑞禾食品 (600131.2)",
                                                             u"长澜能源 (600167.2)"}));
    EXPECT_EQ(TopWindow(), "CEditMyStockWnd");
    // A search that finds nothing keeps the items of the previous one.
    driver.TypeText(u"99");
    ASSERT_TRUE(CDriverControls::TapControl(driver, kButton));
    EXPECT_EQ(ListTexts(kList).size(), 3u);
    // A tap on a found stock opens it.
    ASSERT_TRUE(CDriverControls::TapListItem(driver, kList, 1));
    EXPECT_EQ(g_charts.fschart, std::vector<std::string>{"date=&code=600131.02"});
}

TEST_F(StockSearch, ASearchTextWithASymbolIsRefusedAndNothingIsSent) {
    OpenSearch();
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    driver.TypeText(u"60&c=1");
    EXPECT_EQ(ShownTexts(), std::vector<std::u16string>{u"请输入股票代码或拼音缩写！"});
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(CDriverControls::TapControl(driver, kButton));
    EXPECT_EQ(ShownTexts().size(), 2u);
    EXPECT_TRUE(sim.GetRequestLog().empty());
    EXPECT_EQ(TopWindow(), "CEditMyStockWnd");
}

TEST_F(StockSearch, AnEmptyBoxAsksForATextAndOkWithoutAChoiceSaysSo) {
    OpenSearch();
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(CDriverControls::TapControl(driver, kButton));
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 0));
    EXPECT_EQ(ShownTexts(), (std::vector<std::u16string>{u"请输入股票代码或拼音缩写！", u"您未选中任何股票！"}));
    EXPECT_TRUE(sim.GetRequestLog().empty());
}

TEST_F(StockSearch, TheSearchBoxIsEnabledAgainWhenABusyWorkerRefusesTheSendOrAnErrorReplyIsShown) {
    CBusySender busy;
    OpenSearch();
    driver.RunOnGui([&busy] { CNetWnd::SetDefaultSender(&busy); });
    driver.TypeText(u"hy");
    ASSERT_TRUE(CDriverControls::TapControl(driver, kButton));
    EXPECT_EQ(driver.ControlEnabled(kEdit), true) << "after a refused send";
    driver.RunOnGui([] { CNetWnd::SetDefaultSender(nullptr); });

    SimFault fault(SimFaultKind::ErrorSet);
    fault.errorText = u"查询服务暂停";
    fault.errorCode = 1;
    sim.InjectFaultFor(31000, 10, fault);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(CDriverControls::TapControl(driver, kButton));
    EXPECT_EQ(Requests(31000, 10).size(), 1u) << "the next press goes out";
    EXPECT_EQ(ShownTexts(), std::vector<std::u16string>{u"查询服务暂停"});
    EXPECT_EQ(driver.ControlEnabled(kEdit), true) << "after an error reply";
}

TEST_F(StockSearch, ExitClosesThePopUpWithoutOpeningAChart) {
    OpenSearch();
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2));
    EXPECT_EQ(TopWindow(), "CWatchHostWnd");
    EXPECT_TRUE(g_charts.fschart.empty());
}

} // namespace
