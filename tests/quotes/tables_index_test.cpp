// The index tables: the domestic request's "&", the cells' texts and
// colours by rule, and against the simulated server the charts a row opens
// and the rows and headers a reply leaves.
#include "tables_ranking_Fixture.h"

#include "platform/testing/ShownWindow.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/tables/CChinaIndexWnd.h"
#include "quotes/tables/CGlobalIndexWnd.h"
#include "quotes/tables/IndexTables.h"

namespace {

TEST(IndexTableRules, TheDomesticRequestAddsOneAmpersandOnlyWhenMissing) {
    const struct {
        const char* preset;
        const char* expected;
    } cases[] = {
        {"tc_mfuncno=31000&tc_sfuncno=4&code=000001.02", "tc_mfuncno=31000&tc_sfuncno=4&code=000001.02&field="},
        {"tc_mfuncno=31000&tc_sfuncno=4&", "tc_mfuncno=31000&tc_sfuncno=4&field="},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChinaIndexRequest(c.preset), std::string(c.expected) + "4|16|21|20|17|18|13|11|14|15|3|1");
    EXPECT_EQ(ChinaIndexRequest(""), "") << "no preset sends nothing";
}

TEST(IndexTableRules, AnIndexThatHasNotOpenedShowsADashForItsPricesOnly) {
    const CQuoteNumber prevClose(3000, 2);
    const CQuoteNumber notOpened(0, 2);
    const CQuoteNumber opened(3010, 2);
    for (int column : {1, 6, 8, 9}) {
        const IndexCellLook dash = ChinaIndexCellLook(column, CQuoteNumber(3020, 2), notOpened, prevClose);
        EXPECT_TRUE(dash.dash) << column;
        EXPECT_EQ(dash.color, 14) << column;
        const IndexCellLook shown = ChinaIndexCellLook(column, CQuoteNumber(3020, 2), opened, prevClose);
        EXPECT_FALSE(shown.dash) << column;
        EXPECT_EQ(shown.color, 15) << column << ": above the previous close";
        EXPECT_EQ(ChinaIndexCellLook(column, CQuoteNumber(2990, 2), opened, prevClose).color, 16) << column;
    }
    for (int column : {2, 3, 4, 5, 7})
        EXPECT_FALSE(ChinaIndexCellLook(column, CQuoteNumber(1, 2), notOpened, prevClose).dash) << column;
    EXPECT_EQ(ChinaIndexCellLook(2, CQuoteNumber(-0.35, 3), opened, prevClose).color, 16);
    EXPECT_EQ(ChinaIndexCellLook(3, CQuoteNumber(0, 2), opened, prevClose).color, 17);
    EXPECT_EQ(ChinaIndexCellLook(4, CQuoteNumber(5, 2), opened, prevClose).color, 28);
    EXPECT_EQ(ChinaIndexCellLook(0, CQuoteNumber(5, 2), opened, prevClose).color, 14);
}

TEST(IndexTableRules, WorldCellsTakeTheColourOfTheirSignInTheSignedColumnsOnly) {
    const struct {
        int column;
        const char16_t* text;
        int color;
    } cases[] = {
        {2, u"-0.35", 16}, {3, u"0.00", 14}, {7, u"1.25", 15}, {8, u"-2.04", 16}, {9, u"14.960", 15},
        {1, u"-5.00", 14}, {6, u"38105.77", 14}, {11, u"美国", 14}, {2, u"-", 14},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WorldIndexColor(c.column, c.text), c.color) << c.column;
}

TEST(IndexTableRules, ARowKeyWidensTheMarketAndRefusesMissingOrUnsafeCells) {
    EXPECT_EQ(IndexRowKey("000001", "2"), "000001.02");
    EXPECT_EQ(IndexRowKey("399001", "01"), "399001.01");
    EXPECT_EQ(IndexRowKey("", "2"), "");
    EXPECT_EQ(IndexRowKey("000001", ""), "");
    EXPECT_EQ(IndexRowKey("0001&x=1", "2"), "");
}

class IndexTableTest : public RankingTest {
protected:
    static constexpr int kNodeChina = 41;
    static constexpr int kNodeWorld = 42;

    void StartWithChartStubs() {
        Start();
        driver.RunOnGui([] {
            CWndManager::Instance().RegisterWindow("kxchart", [](const CWndCreateInfo&) {
                return std::unique_ptr<CBaseWnd>(new CRecordingStubWnd("kxchart"));
            });
        });
    }
    // The shown table of class T; GUI thread.
    template <class T>
    static T* Shown() {
        return ShownTopWindow<T>();
    }
    template <class T>
    int Rows() {
        return driver.RunOnGui([] { T* t = Shown<T>(); return t ? t->GetGrid().GetRowCount() : -1; });
    }
    template <class T>
    std::vector<std::u16string> Headers() {
        return driver.RunOnGui([] {
            std::vector<std::u16string> out;
            if (T* t = Shown<T>())
                for (int c = 0; const CGridCell* h = t->GetGrid().GetHeaderCell(c); ++c)
                    out.emplace_back(h->text.view());
            return out;
        });
    }
};

TEST_F(IndexTableTest, ARowOpensItsMinuteChartAndTheSelectedRowItsKLineWithTheTwoDigitMarket) {
    StartWithChartStubs();
    OpenNode(kNodeChina);
    const std::vector<SimRequest> sent = Requests(31000, 4);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Get("field"), "4|16|21|20|17|18|13|11|14|15|3|1");
    ASSERT_EQ(Rows<CChinaIndexWnd>(), 6);
    EXPECT_EQ(driver.RunOnGui([] { return Shown<CChinaIndexWnd>()->GetGrid().GetColumnCount(); }), 12);

    // The grid's first row sits one header row below its top.
    const std::optional<CRect> grid = CDriverControls::ControlScreenRect(driver, CTableWnd::kGridId);
    ASSERT_TRUE(grid);
    ASSERT_TRUE(driver.Tap(grid->left + 40, grid->top + 48 + 24));
    ASSERT_EQ(g_ranking.opened["fschart"].size(), 1u);
    EXPECT_EQ(g_ranking.opened["fschart"][0].second, "date=&code=000001.02");

    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CChinaIndexWnd::kBarKLine));
    ASSERT_EQ(g_ranking.opened["kxchart"].size(), 1u);
    EXPECT_EQ(g_ranking.opened["kxchart"][0].second, "code=000001.02");
}

TEST_F(IndexTableTest, ChartsReadRealCellsRightAfterCreationAndNothingOpensWithoutARow) {
    StartWithChartStubs();
    sim.SetRoute(31000, 4, [](const SimRequest&, CSimMarket&) { return SimReply::Error(u"行情服务暂停"); });
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    OpenNode(kNodeChina);
    EXPECT_TRUE(MessageShown(u"行情服务暂停"));
    const auto columns = driver.RunOnGui([] {
        CChinaIndexWnd* t = Shown<CChinaIndexWnd>();
        return std::make_pair(t->GetCodeColumn(), t->GetMarketColumn());
    });
    EXPECT_EQ(columns, std::make_pair(10, 11)) << "set with the headers at creation";
    EXPECT_EQ(driver.RunOnGui([] { return Shown<CChinaIndexWnd>()->OpenMenuChild(0); }), -1);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CChinaIndexWnd::kBarKLine));
    EXPECT_TRUE(MessageShown(u"您未选中任何记录！"));
    EXPECT_TRUE(g_ranking.opened["kxchart"].empty());
    EXPECT_TRUE(g_ranking.opened["fschart"].empty());
}

TEST_F(IndexTableTest, EveryRowOfALongReplyShowsAndTheHeadersAreSetOnce) {
    Start();
    sim.SetRoute(31000, 4, [](const SimRequest& r, CSimMarket& market) {
        const std::vector<int> fields = CSimMarket::ParseFieldList(r.Get("field"));
        CDataSetWriter w;
        w.AddSet("hq");
        CSimMarket::AddFieldColumns(w, fields);
        for (int i = 0; i < 25; ++i)
            CSimMarket::WriteFieldRow(w, fields, market.Stocks()[static_cast<size_t>(i)]);
        return SimReply::Ok(w);
    });
    OpenNode(kNodeChina);
    EXPECT_EQ(Rows<CChinaIndexWnd>(), 25);
    const std::vector<std::u16string> headers = Headers<CChinaIndexWnd>();
    ASSERT_EQ(headers.size(), 12u);
    EXPECT_EQ(headers.front(), u"名称");
    EXPECT_EQ(headers.back(), u"市场");
    driver.RunOnGui([] { Shown<CChinaIndexWnd>()->Refresh(); });
    driver.WaitForRest();
    EXPECT_EQ(Requests(31000, 4).size(), 2u);
    EXPECT_EQ(Rows<CChinaIndexWnd>(), 25) << "rows replaced, not added";
    EXPECT_EQ(Headers<CChinaIndexWnd>(), headers);
}

TEST_F(IndexTableTest, WorldHeadersComeFromTheFirstReplyAndEmptyCellsShowADash) {
    Start();
    int replies = 0;
    sim.SetRoute(31000, 8, [&replies](const SimRequest&, CSimMarket&) {
        CDataSetWriter w;
        w.AddSet("hq");
        w.AddColumn(DataSetType::WideText, "name", ++replies == 1 ? u"名称" : u"改名");
        w.AddColumn(DataSetType::WideText, "area", u"地区");
        w.AddRow();
        w.SetText(0, u"道琼斯");
        return SimReply::Ok(w);
    });
    OpenNode(kNodeWorld);
    EXPECT_EQ(Headers<CGlobalIndexWnd>(), (std::vector<std::u16string>{u"名称", u"地区"}));
    EXPECT_EQ(driver.RunOnGui([] { return std::u16string(Shown<CGlobalIndexWnd>()->GetCellText(0, 1)->view()); }),
              u"-");
    driver.RunOnGui([] { Shown<CGlobalIndexWnd>()->Refresh(); });
    driver.WaitForRest();
    EXPECT_EQ(replies, 2);
    EXPECT_EQ(Headers<CGlobalIndexWnd>(), (std::vector<std::u16string>{u"名称", u"地区"}));
}

} // namespace

TEST_F(IndexTableTest, TheAmountColumnReadsAsAnAmountWithItsUnitWord) {
    Start();
    OpenNode(kNodeChina);
    ASSERT_EQ(Rows<CChinaIndexWnd>(), 6);
    const auto cells = driver.RunOnGui([] {
        std::vector<std::u16string> out;
        CGridCtrl& grid = Shown<CChinaIndexWnd>()->GetGrid();
        EXPECT_EQ(grid.GetHeaderCell(5)->text, u"金额");
        for (int row = 0; row < grid.GetRowCount(); ++row)
            out.emplace_back(grid.GetCell(row, 5)->text.view());
        return out;
    });
    for (size_t row = 0; row < cells.size(); ++row) {
        const std::u16string& amount = cells[row];
        SCOPED_TRACE(row);
        // A number, then 亿 or 万: the index amounts run to hundreds of millions.
        ASSERT_GE(amount.size(), 2u);
        EXPECT_TRUE(amount.back() == u'亿' || amount.back() == u'万');
        const std::u16string number = amount.substr(0, amount.size() - 1);
        EXPECT_EQ(number.find_first_not_of(u"0123456789."), std::u16string::npos);
        EXPECT_NE(number.front(), u'.');
    }
}
