// The deal page against the simulated server: the first page, paging older
// and newer from the cursors, buttons that wait for the answer, a header
// without a row, an empty older page and texts that may not travel.
#include "info_Fixture.h"

#include "tools/simulator/SimDetailRoutes.h"

namespace {

using DealScreenTest = InfoTest;

std::u16string Time(int tm) {
    return DealTimeText(tm);
}

// The simulator's deals of a stock.
std::vector<SimDeal> DealsOf(CBrokerSimulator& sim, const char* key) {
    std::vector<SimDeal> deals;
    sim.WithMarket([&](CSimMarket& m) { deals = SimDealsOf(*m.Find(key)); });
    return deals;
}

std::vector<std::u16string> Times(const CInfoGrid& g) {
    std::vector<std::u16string> out;
    for (const auto& row : g.texts)
        out.push_back(row[0]);
    return out;
}

TEST_F(DealScreenTest, TheFirstPageIsTheLatestDealsAndThePagesMoveFromTheCursors) {
    OpenDeals("code=600010.02&date=0");
    const std::vector<SimDeal> day = DealsOf(sim, "600010.02");
    ASSERT_GT(day.size(), 40u);
    std::vector<SimRequest> asked = Requests(31000, 9);
    ASSERT_EQ(asked.size(), 1u);
    for (const auto& [name, value] : {std::pair{"code", "600010.02"}, {"date", "0"}, {"time", "0"},
                                      {"offset", "0"}, {"direct", "1"}, {"count", "11"}})
        EXPECT_EQ(asked[0].Get(name), value) << name;
    Grid g = DealGrid();
    ASSERT_EQ(g.texts.size(), 11u);
    std::vector<std::u16string> want;
    for (size_t i = day.size() - 11; i < day.size(); ++i)
        want.push_back(Time(day[i].time));
    EXPECT_EQ(Times(g), want) << "oldest at the top";
    EXPECT_EQ(g.selected, 10);
    EXPECT_EQ(g.caption, u"华岳银行 600010 成交明细");

    // Older: from the top row's minute and its count there.
    const DealCursors top = driver.RunOnGui([] { return g_info.deals->GetCursors(); });
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CStockDealDetailWnd::kButtonOlder));
    asked = Requests(31000, 9);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].Get("time"), std::to_string(top.topTime));
    EXPECT_EQ(asked[1].Get("offset"), std::to_string(top.topCount));
    EXPECT_EQ(asked[1].Get("direct"), "1");
    want.clear();
    for (size_t i = day.size() - 22; i < day.size() - 11; ++i)
        want.push_back(Time(day[i].time));
    EXPECT_EQ(Times(DealGrid()), want);

    // Newer: after the bottom row's minute; the page fills back up to the latest.
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CStockDealDetailWnd::kButtonNewer));
    asked = Requests(31000, 9);
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[2].Get("direct"), "0");
    want.clear();
    for (size_t i = day.size() - 11; i < day.size(); ++i)
        want.push_back(Time(day[i].time));
    EXPECT_EQ(Times(DealGrid()), want);
}

TEST_F(DealScreenTest, PagingButtonsDoNothingWhileARequestIsOut) {
    OpenDeals("code=600010.02&date=0");
    ASSERT_EQ(Requests(31000, 9).size(), 1u);
    // Three presses before the first is even sent, then one while it is with the server.
    SimFault slow(SimFaultKind::SlowReply);
    slow.delayMs = 600;
    sim.InjectFaultFor(31000, 9, slow, 1);
    // The presses arrive as the bar's taps do, queued behind the send the
    // first one posts: the last one finds its request with the server.
    driver.RunOnGui([] {
        CStockDealDetailWnd* page = g_info.deals;
        page->OnToolbarCommand(CStockDealDetailWnd::kButtonOlder);
        page->OnToolbarCommand(CStockDealDetailWnd::kButtonNewer);
        page->OnToolbarCommand(CStockDealDetailWnd::kButtonRefresh);
        page->PostMessage(WM_COMMAND, MakeWParam(UI_BOTTOM_BAR_ID, 0), CStockDealDetailWnd::kButtonNewer);
    });
    const std::vector<SimRequest> asked = Requests(31000, 9);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].Get("direct"), "1") << "the first press's request";
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CStockDealDetailWnd::kButtonNewer));
    EXPECT_EQ(Requests(31000, 9).size(), 3u) << "answered: the buttons work again";
}

TEST_F(DealScreenTest, AHeaderWithoutARowLeavesTheCloseUnknownAndAnEmptyOlderPageKeepsTheRows) {
    sim.SetRoute(31000, 9, [](const SimRequest& r, CSimMarket&) {
        CDataSetWriter w;
        w.AddSet("hq");
        w.AddColumn(DataSetType::Number, "zrsp");
        w.AddColumn(DataSetType::WideText, "name");
        w.AddColumn(DataSetType::AnsiText, "code");
        w.AddSet("cjmx");
        w.AddColumn(DataSetType::Int16, "tm");
        w.AddColumn(DataSetType::Number, "zjcj");
        w.AddColumn(DataSetType::Int32, "cjsl");
        w.AddColumn(DataSetType::Int8, "direct");
        if (r.Get("time") == "0") {
            for (int i = 0; i < 3; ++i) {
                w.AddRow();
                w.SetInt(0, i == 0 ? 1500 : 1459 - (i - 1));
                w.SetNumber(1, CQuoteNumber(8.6 + i, 2));
                w.SetInt(2, 5);
                w.SetInt(3, i);
            }
        }
        return SimReply::Ok(w);
    });
    OpenDeals("code=600010.02&date=20261204");
    Grid g = DealGrid();
    EXPECT_EQ(g.caption, u"600010.02 成交明细");
    ASSERT_EQ(Times(g), (std::vector<std::u16string>{u"14:58", u"14:59", u"15:00"}));
    const COLORREF flat = driver.RunOnGui([] { return CAppData::Instance()->GetColor(17); });
    for (const auto& row : g.colors)
        EXPECT_EQ(row[1], flat) << "no close to compare with";
    EXPECT_EQ(Requests(31000, 9)[0].Get("date"), "20261204");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CStockDealDetailWnd::kButtonOlder));
    EXPECT_EQ(Requests(31000, 9).size(), 2u);
    EXPECT_EQ(Times(DealGrid()), Times(g));
}

TEST_F(DealScreenTest, ACodeOrDateThatMayNotTravelSendsNothing) {
    OpenDeals("code=60%3D1&date=0");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CStockDealDetailWnd::kButtonBack));
    OpenDeals("code=600010.02&date=2026%2612");
    EXPECT_TRUE(Requests(31000, 9).empty());
}

} // namespace
