// The deal page against the simulated server: the first page and paging
// from the cursors, buttons that wait for the answer, a header without a
// row and an empty older page.
#include "info_Fixture.h"

#include "tools/simulator/SimDetailRoutes.h"

namespace {

using DealScreenTest = InfoTest;

std::vector<std::u16string> Times(const CInfoGrid& g) {
    std::vector<std::u16string> out;
    for (const auto& row : g.texts)
        out.push_back(row[0]);
    return out;
}

TEST_F(DealScreenTest, TheFirstPageIsTheLatestDealsAndThePagesMoveFromTheCursors) {
    OpenDeals("code=600010.02&date=0");
    std::vector<SimDeal> day;
    sim.WithMarket([&day](CSimMarket& m) { day = SimDealsOf(*m.Find("600010.02"), m.Now()); });
    auto times = [&day](size_t from) {
        std::vector<std::u16string> out;
        for (size_t i = from; i < from + 11; ++i)
            out.push_back(DealTimeText(day[i].time));
        return out;
    };
    ASSERT_GT(day.size(), 22u);
    const CInfoGrid first = GridOf(true);
    EXPECT_EQ(Times(first), times(day.size() - 11)) << "oldest at the top";
    EXPECT_EQ(first.caption, u"华岳银行 600010 成交明细");
    EXPECT_EQ(driver.RunOnGui([] { return g_info.deals->GetGrid().GetSelectedRow(); }), 10);
    const DealCursors at = driver.RunOnGui([] { return g_info.deals->GetCursors(); });

    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CStockDealDetailWnd::kButtonOlder));
    EXPECT_EQ(Times(GridOf(true)), times(day.size() - 22));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CStockDealDetailWnd::kButtonNewer));
    EXPECT_EQ(Times(GridOf(true)), times(day.size() - 11));

    const std::vector<SimRequest> asked = Requests(31000, 9);
    ASSERT_EQ(asked.size(), 3u);
    const std::vector<std::vector<std::string>> want = {
        {"0", "0", "1", "11"},
        {std::to_string(at.topTime), std::to_string(at.topCount), "1", "11"},
        {"", "", "0", "11"}, // from the older page's bottom
    };
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(asked[i].Get("code"), "600010.02");
        EXPECT_EQ(asked[i].Get("date"), "0");
        const char* names[] = {"time", "offset", "direct", "count"};
        for (int n = 0; n < 4; ++n) {
            if (!want[i][n].empty()) {
                EXPECT_EQ(asked[i].Get(names[n]), want[i][n]) << i << names[n];
            }
        }
    }
}

TEST_F(DealScreenTest, PagingButtonsDoNothingWhileARequestIsOut) {
    OpenDeals("code=600010.02&date=0");
    SimFault slow(SimFaultKind::SlowReply);
    slow.delayMs = 600;
    sim.InjectFaultFor(31000, 9, slow, 1);
    // The presses arrive as the bar's taps do: three before the first
    // press's send, and one queued behind it, with the request at the server.
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
        w.AddSet("cjmx");
        w.AddColumn(DataSetType::Int16, "tm");
        w.AddColumn(DataSetType::Number, "zjcj");
        for (int tm : {1458, 1459, 1500}) {
            if (r.Get("time") != "0")
                break;
            w.AddRow();
            w.SetInt(0, tm);
            w.SetNumber(1, CQuoteNumber(8.6, 2));
        }
        return SimReply::Ok(w);
    });
    OpenDeals("code=600010.02&date=20261204");
    const CInfoGrid g = GridOf(true);
    EXPECT_EQ(g.caption, u"600010.02 成交明细");
    ASSERT_EQ(Times(g), (std::vector<std::u16string>{u"15:00", u"14:59", u"14:58"}));
    const COLORREF flat = driver.RunOnGui([] { return CAppData::Instance()->GetColor(17); });
    for (const auto& row : g.colors)
        EXPECT_EQ(row[1], flat) << "no close to compare with";
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CStockDealDetailWnd::kButtonOlder));
    EXPECT_EQ(Requests(31000, 9).size(), 2u);
    EXPECT_EQ(Times(GridOf(true)), Times(g));
}

} // namespace
