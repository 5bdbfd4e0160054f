// The same-day tables against the simulated exchange: the variants by menu
// node, the cancel road from the table through the confirmation page, and
// the row actions that must not run on a row that no longer stands.
#include "orders_confirm_Fixture.h"

#include "framework/shell/CWndManager.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/WndMessages.h"
#include "trade/TradeWindows.h"
#include "trade/queries/CTradeQueryTableWnd.h"

#include <array>
#include <chrono>
#include <thread>
#include <cstring>

namespace {

// A window the table opens ("fschart", "buysale"): records its texts and
// closes once shown.
struct COpened {
    std::string keyword;
    std::u16string title;
    std::string request;
};
inline std::vector<COpened> g_opened;

// A worker that stays busy and will not say when it is free.
class CBusySender : public IRequestSender {
public:
    bool Send(HWND, const std::string&, unsigned, unsigned) override { return false; }
    bool WaitIdle(int) override { return false; }
    int AbortAndWait(int) override { return 258; }
};

class CRecordingWnd : public CBaseWnd {
public:
    explicit CRecordingWnd(std::string keyword) : m_keyword(std::move(keyword)) {}
    ~CRecordingWnd() override { Destroy(); }
    const char* GetClassName() const override { return "CRecordingWnd"; }
    void SetMenuParams(int, const char*, const char* request) override { m_request = request ? request : ""; }
    void OnWindowShown() override {
        g_opened.push_back({m_keyword, GetTitle().str(), m_request});
        PostMessage(WND_MSG_CLOSE, 0, 1);
    }

private:
    std::string m_keyword;
    std::string m_request;
};

class TodayTableTest : public ConfirmPageTest {
protected:
    void SetUp() override {
        g_opened.clear();
        ConfirmPageTest::SetUp();
        RegisterTradeWindows();
        for (const char* keyword : {kMinuteChartKeyword, kOrderFormKeyword})
            CWndManager::Instance().RegisterWindow(keyword, [k = std::string(keyword)](const CWndCreateInfo&) {
                return std::unique_ptr<CBaseWnd>(new CRecordingWnd(k));
            });
    }

    // Logged in with 张伟's Shenzhen and Shanghai A holders.
    void StartWithHolders() {
        Start();
        driver.RunOnGui([] {
            CAppData* app = CAppData::Instance();
            auto holders = std::make_unique<CDataSet>("holder");
            for (const char* column : {"market", "secuid", "fundid"})
                holders->AddColumn(DataSetType::AnsiText, column);
            static const std::array<std::array<const char*, 3>, 2> rows = {
                {{"0", "0100012345", "000100012345"}, {"1", "A100012345", "000100012345"}}};
            for (const auto& row : rows) {
                holders->AddRow(-1);
                for (int c = 0; c < 3; ++c)
                    holders->SetField(c, row[c], static_cast<int>(std::strlen(row[c])));
            }
            const std::string loginId = app->GetLoginId();
            app->AddAccount(std::move(holders), "000100012345", loginId.c_str(), "123456", u"张伟", u"营业部");
        });
    }
    // An order through 500/6 as the confirmation page sends it.
    void Place(const char16_t* code, const char16_t* name, const char16_t* price, const char* holder) {
        Open(ConfirmMode::Buy, {{code, name, price, u"100", u"", holder}}, CPriceTypeItem(u"限价委托", "0B"));
        ASSERT_TRUE(PageShown());
        ASSERT_TRUE(PressOk());
        g_confirm = CConfirmLog();
    }
    // Opens the keyword's table of menu node id over the host and waits for its reply.
    void OpenTable(const char* keyword, int id, const char* request) {
        driver.RunOnGui([this, keyword, id, request] {
            host->run = [this, keyword, id, request] {
                CWndManager::Instance().CreateWnd(keyword, id, u"当日", "", request, 0, host.get());
            };
            host->PostMessage(CConfirmHostWnd::kRun);
        });
        ASSERT_TRUE(driver.WaitForRest());
    }
    static CTradeQueryTableWnd* Table() {
        UiWin* grid = CDriverControls::FindShownControl(CTableWnd::kGridId);
        return grid ? dynamic_cast<CTradeQueryTableWnd*>(grid->GetParent()) : nullptr;
    }
    template <class F>
    auto OnTable(F fn) {
        return driver.RunOnGui([fn] { return fn(*Table()); });
    }
    bool TapRow(int row) {
        const std::optional<CRect> grid = CDriverControls::ControlScreenRect(driver, CTableWnd::kGridId);
        const int h = CTradeQueryTableWnd::kRowHeight;
        return grid && driver.Tap(grid->left + 60, grid->top + h * (row + 1) + h / 2) && driver.WaitForRest();
    }
    std::vector<std::u16string> Toolbar() {
        return driver.RunOnGui([] {
            std::vector<std::u16string> out;
            UiToolBar* bar = Table() ? Table()->GetToolBar() : nullptr;
            for (int i = 0; bar && i < 3; ++i)
                out.push_back(bar->GetButtonText(i));
            return out;
        });
    }
};

} // namespace

TEST(TradeQueryText, VariantsRequestsAndCodesThatCannotAddAParameter) {
    EXPECT_EQ(TradeQueryVariantOf(371), TradeQueryVariant::Orders);
    EXPECT_EQ(TradeQueryVariantOf(372), TradeQueryVariant::Cancel);
    EXPECT_EQ(TradeQueryVariantOf(73), TradeQueryVariant::Plain);
    EXPECT_EQ(TradeQueryToolbar(TradeQueryVariant::Orders)[1], u"分时");
    EXPECT_EQ(TradeQueryToolbar(TradeQueryVariant::Cancel)[1], u"撤单");
    EXPECT_EQ(TradeQueryToolbar(TradeQueryVariant::Plain)[1], u"确定");
    const struct {
        const char* code;
        bool hasMarket;
        const char* market;
        const char* text;
    } charts[] = {
        {"600000", true, "1", "date=&code=600000.02"},  // Shanghai A: the quote market, not the trade one
        {"000016", true, "0", "date=&code=000016.01"},
        {"200168", true, "2", "date=&code=200168.01"},  // Shenzhen B
        {"900905", true, "3", "date=&code=900905.02"},  // Shanghai B
        {"600000", false, "", "date=&code=600000"},
        {"600000", true, "9", ""},
        {"600000&x=1", true, "1", ""},
        {"", false, "", ""},
    };
    for (const auto& c : charts)
        EXPECT_EQ(MinuteChartRequest(c.code, c.hasMarket, c.market), c.text) << c.code << " " << c.market;
    EXPECT_EQ(OrderFormRequest("600010", true), "code=600010&MMLB=1");
    EXPECT_EQ(OrderFormRequest("", false), "MMLB=0");
    EXPECT_EQ(OrderFormRequest("60%26", true), "MMLB=1");
}

TEST_F(TodayTableTest, AnOrderPlacedIsListedTodayAndCancelledFromTheCancelTableOnce) {
    StartWithHolders();
    Place(u"600010", u"华岳银行", u"8.00", kShHolder);       // rests: 100001
    Place(u"000016", u"平川银行", u"11.50", kSzHolder);      // fills: 100002
    OpenTable(kTradeQueryKeyword, 371, "tc_mfuncno=500&tc_sfuncno=10");
    EXPECT_EQ(Toolbar(), (std::vector<std::u16string>{u"选项", u"分时", u"返回"}));
    EXPECT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 2);
    // The query carries the fund id and the login, sealed.
    const std::vector<SimRequest> queries = Requests(500, 10);
    ASSERT_EQ(queries.size(), 1u);
    EXPECT_TRUE(queries[0].sealed);
    EXPECT_EQ(queries[0].Get("fundid"), "000100012345");
    // The chart of the selected row opens with its quote market.
    ASSERT_TRUE(TapRow(0));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    ASSERT_EQ(g_opened.size(), 1u);
    EXPECT_EQ(g_opened[0].keyword, "fschart");
    EXPECT_EQ(g_opened[0].request, "date=&code=600010.02");
    // "卖出" from the row menu opens the form for the selected row's stock
    // (the chart's close re-queried, which took the selection).
    ASSERT_TRUE(TapRow(0));
    driver.AnswerNext(ModalKind::PopupMenu, CTradeQueryTableWnd::kMenuSell);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarLeft));
    ASSERT_EQ(g_opened.size(), 2u);
    EXPECT_EQ(g_opened[1].title, u"卖出 华岳银行");
    EXPECT_EQ(g_opened[1].request, "code=600010&MMLB=1");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarRight));

    // The cancel table lists the resting order only; a tap cancels it.
    OpenTable(kTradeCancelKeyword, 372, "tc_mfuncno=500&tc_sfuncno=14");
    EXPECT_EQ(Toolbar(), (std::vector<std::u16string>{u"首页", u"撤单", u"返回"}));
    ASSERT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 1);
    ASSERT_TRUE(TapRow(0));
    ASSERT_TRUE(PageShown());
    const std::vector<std::u16string> lines = driver.RunOnGui([] { return Page()->GetLines(); });
    EXPECT_NE(std::find(lines.begin(), lines.end(), u"序号： 100001"), lines.end()) << "shown lines";
    ASSERT_TRUE(PressOk());
    const std::vector<SimRequest> cancels = Requests(500, 7);
    ASSERT_EQ(cancels.size(), 1u);
    EXPECT_EQ(cancels[0].Get("ordersno"), "100001");
    EXPECT_EQ(cancels[0].Get("secuid"), "A100012345");
    ASSERT_TRUE(driver.WaitForRest());
    // The re-query came, and the cancelled order is no longer listed.
    EXPECT_EQ(Requests(500, 14).size(), 2u);
    EXPECT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 0);
    ASSERT_TRUE(TapRow(0));
    EXPECT_EQ(Requests(500, 7).size(), 1u);
}

TEST_F(TodayTableTest, ARowIsActedOnOnlyWhileItStandsAndItsHolderIsTheAccounts) {
    StartWithHolders();
    Place(u"600010", u"华岳银行", u"8.00", kShHolder);
    OpenTable(kTradeCancelKeyword, 372, "tc_mfuncno=500&tc_sfuncno=14");
    ASSERT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 1);
    // A row that is not the selected one, or while a query is out, does nothing.
    EXPECT_FALSE(OnTable([](CTradeQueryTableWnd& t) { return t.CanActOnRow(0); })) << "not selected";
    EXPECT_TRUE(OnTable([](CTradeQueryTableWnd& t) {
        t.GetGrid().SetSelectedRow(0);
        return t.CanActOnRow(0);
    }));
    EXPECT_FALSE(OnTable([](CTradeQueryTableWnd& t) { return t.CanActOnRow(1); })) << "beyond the reply";
    // Another account's holder on the row: refused with a message, nothing sent.
    driver.RunOnGui([] {
        CAppData* app = CAppData::Instance();
        auto holders = std::make_unique<CDataSet>("holder");
        for (const char* column : {"market", "secuid", "fundid"})
            holders->AddColumn(DataSetType::AnsiText, column);
        holders->AddRow(-1);
        holders->SetField(1, "0100012345", 10);
        holders->SetField(2, "000100012345", 12);
        const std::string loginId = app->GetLoginId();
        app->AddAccount(std::move(holders), "000100012345", loginId.c_str(), "123456", u"张伟", u"营业部");
    });
    AnswerBoxes();
    ASSERT_TRUE(TapRow(0));
    EXPECT_FALSE(PageShown());
    EXPECT_EQ(LastTold(), u"该委托的股东代码不属于当前账号，不能撤单");
    EXPECT_TRUE(Requests(500, 7).empty());
    // An account change empties the table when it shows again.
    AnswerBoxes();
    driver.RunOnGui([] {
        CAppData::Instance()->SetLoginId("custid=000100012346&tradesession=T0002&operway=i");
        Table()->OnWindowShown();
    });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 0);
}

TEST_F(TodayTableTest, APlainTableHasNoRowActionAndAFailedQueryEmptiesIt) {
    StartWithHolders();
    Place(u"000016", u"平川银行", u"11.50", kSzHolder);
    OpenTable(kTradeQueryKeyword, 73, "tc_mfuncno=500&tc_sfuncno=11");
    EXPECT_EQ(Toolbar(), (std::vector<std::u16string>{u"首页", u"确定", u"返回"}));
    ASSERT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 1);
    ASSERT_TRUE(TapRow(0));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    EXPECT_TRUE(g_opened.empty());
    EXPECT_FALSE(PageShown());
    // The session lost: the refusal is shown and the old rows go with it.
    AnswerBoxes();
    driver.RunOnGui([] { CAppData::Instance()->SetLoginId("custid=000100012345&tradesession=T9999&operway=i"); });
    driver.RunOnGui([] { Table()->Refresh(); });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(LastTold(), u"交易登录已失效，请重新登录");
    EXPECT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 0);
    EXPECT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetDataSet(); }), nullptr);
}

TEST_F(TodayTableTest, ACancelledRowIsNotTappableWhileItsReQueryIsOut) {
    StartWithHolders();
    Place(u"600010", u"华岳银行", u"8.00", kShHolder);
    OpenTable(kTradeCancelKeyword, 372, "tc_mfuncno=500&tc_sfuncno=14");
    ASSERT_TRUE(TapRow(0));
    ASSERT_TRUE(PageShown());
    SimFault slow(SimFaultKind::SlowReply);
    slow.delayMs = 400;
    sim.InjectFaultFor(500, 14, slow);
    AnswerBoxes();
    Now([] { Page()->OnOk(); });
    // The page told the outcome and closed; the re-query is out.
    for (int i = 0; i < 200 && Requests(500, 14).size() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(Requests(500, 7).size(), 1u);
    bool stillListed = false;
    Now([&stillListed] {
        CTradeQueryTableWnd* table = Table();
        stillListed = table && table->GetGrid().GetRowCount() == 1;
        if (!stillListed)
            return;
        table->GetGrid().SetSelectedRow(0);
        table->OnCommand(MakeWParam(CTableWnd::kGridId, GRID_ROW_TAPPED), 0);
    });
    EXPECT_TRUE(stillListed) << "the old row stays shown until the reply";
    EXPECT_FALSE(PageShown()) << "no second confirmation for the cancelled row";
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 7).size(), 1u);
    EXPECT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 0);
}

TEST_F(TodayTableTest, AFailedQueryIsToldAndKeepsTheRowsACancelledOneStaysUntappable) {
    StartWithHolders();
    Place(u"600010", u"华岳银行", u"8.00", kShHolder);
    OpenTable(kTradeQueryKeyword, 371, "tc_mfuncno=500&tc_sfuncno=10");
    ASSERT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 1);
    // The connection dropped after the request, the retry too: the road's
    // failure is told and the last good row stays, still actionable.
    sim.InjectFaultFor(500, 10, SimFault(SimFaultKind::CloseAfterRequest), 2);
    AnswerBoxes();
    driver.RunOnGui([] { Table()->Refresh(); });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(LastTold(), u"错误(4)：接收数据失败，请重试");
    EXPECT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 1);
    EXPECT_TRUE(OnTable([](CTradeQueryTableWnd& t) {
        t.GetGrid().SetSelectedRow(0);
        return t.CanActOnRow(0);
    }));
    // A reply that cannot be read is told as such.
    sim.InjectFaultFor(500, 10, SimFault(SimFaultKind::CorruptBody));
    AnswerBoxes();
    driver.RunOnGui([] { Table()->Refresh(); });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(LastTold(), u"错误(6)：数据接收不全或格式错误");
    EXPECT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 1);
    // A query the busy worker will not take is told too.
    CBusySender busy;
    AnswerBoxes();
    driver.RunOnGui([&busy] {
        CNetWnd::SetDefaultSender(&busy);
        Table()->Refresh();
    });
    ASSERT_TRUE(driver.WaitForRest());
    driver.RunOnGui([] { CNetWnd::SetDefaultSender(nullptr); });
    EXPECT_EQ(LastTold(), u"查询未能发出，请稍后再试");
    EXPECT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 1);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarRight));

    // The cancel went through and its re-query failed: the row is still
    // shown, but no second cancel of it can start until an answer comes.
    OpenTable(kTradeCancelKeyword, 372, "tc_mfuncno=500&tc_sfuncno=14");
    ASSERT_TRUE(TapRow(0));
    ASSERT_TRUE(PageShown());
    sim.InjectFaultFor(500, 14, SimFault(SimFaultKind::CorruptBody));
    AnswerBoxes();
    ASSERT_TRUE(PressOk());
    ASSERT_TRUE(driver.WaitForRest());
    ASSERT_EQ(Requests(500, 7).size(), 1u);
    EXPECT_EQ(LastTold(), u"错误(6)：数据接收不全或格式错误");
    EXPECT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 1);
    AnswerBoxes();
    ASSERT_TRUE(TapRow(0));
    EXPECT_FALSE(PageShown());
    EXPECT_EQ(Requests(500, 7).size(), 1u);
    // The next answer lists what is left: nothing.
    driver.RunOnGui([] { Table()->Refresh(); });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(OnTable([](CTradeQueryTableWnd& t) { return t.GetGrid().GetRowCount(); }), 0);
}
