// The minute chart against the simulated server: the request lifecycle,
// refreshes that add points once, the overlay, menus, orders at a pressed
// level, the information page of a mark, the K-line switch, and what a
// child's close or a refused reply must leave as it was.
#include "charts_fs_Fixture.h"
#include "support/WholePaintTexts.h"

#include "quotes/charts/CChartState.h"
#include "quotes/tables/COrbTableWnd.h"

namespace {

TEST_F(ChartTest, TheFirstRequestAsksForTheWholeDayAndEachRefreshFromTheHeldPointsAddingNoneTwice) {
    Start();
    OpenChart("date=&code=600010.02");
    ASSERT_EQ(TopWindow(), "CFSFrame");
    ASSERT_EQ(Minutes().size(), 1u);
    const SimRequest first = Minutes()[0];
    EXPECT_EQ(first.Get("code"), "600010.02");
    EXPECT_EQ(first.Get("time"), "0");
    EXPECT_EQ(first.Get("maxvol"), "999999999");
    EXPECT_EQ(first.Get("addup"), "0");
    EXPECT_EQ(first.Get("freq"), "2");
    EXPECT_EQ(first.Get("close_xxld"), "0");
    EXPECT_EQ(first.Get("date"), "");
    std::vector<int> times = HeldTimes();
    ASSERT_EQ(times.size(), 23u);
    EXPECT_EQ(times.back(), 1014);
    const int32_t maxvol = OnChart([](CFSFrame& f) { return f.GetData()->GetMaxVolumeNumber(); });
    EXPECT_GT(maxvol, 0);
    EXPECT_EQ(OnChart([](CFSFrame& f) { return std::u16string(f.GetTitle().view()); }), u"华岳银行 600010 分时");

    // Six minutes on, the refresh timer asks from the second-to-last point.
    sim.SetClock(ChartLocalMs(2026, 12, 7, 10, 21));
    driver.AdvanceClock(5000);
    ASSERT_EQ(Minutes().size(), 2u);
    EXPECT_EQ(Minutes()[1].Get("time"), "1012");
    EXPECT_EQ(Minutes()[1].Get("maxvol"), std::to_string(maxvol));
    times = HeldTimes();
    ASSERT_EQ(times.size(), 26u);
    for (size_t i = 1; i < times.size(); ++i)
        EXPECT_LT(times[i - 1], times[i]) << "point " << i;
    EXPECT_EQ(times.back(), 1020);

    // The refresh button again with nothing new: the same points.
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 4));
    EXPECT_EQ(Minutes().back().Get("time"), "1018");
    EXPECT_EQ(HeldTimes(), times);
}

TEST_F(ChartTest, TheOverlaySwitchReloadsWithTheIndexAndOffDropsItAtTheNextRequest) {
    Start();
    OpenChart("date=&code=600010.02");
    ASSERT_TRUE(ChooseMenu(CFSFrame::kMenuOverlayOn));
    ASSERT_EQ(Minutes().size(), 2u);
    EXPECT_EQ(Minutes()[1].Get("addup"), "1");
    EXPECT_EQ(Minutes()[1].Get("time"), "0");
    EXPECT_TRUE(OnChart([](CFSFrame& f) { return f.GetData()->HasOverlayTable() && f.GetView()->IsOverlayShown(); }));
    EXPECT_EQ(ChartMenu().back(), u"取消叠加");

    ASSERT_TRUE(ChooseMenu(CFSFrame::kMenuOverlayOff));
    EXPECT_EQ(Minutes().size(), 2u) << "switching off only repaints";
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 4));
    EXPECT_EQ(Minutes()[2].Get("addup"), "0");
    EXPECT_EQ(Minutes()[2].Get("time"), "0");
    EXPECT_FALSE(OnChart([](CFSFrame& f) { return f.GetData()->HasOverlayTable(); }));
    EXPECT_EQ(HeldTimes().size(), 23u);
}

TEST_F(ChartTest, AnOverlaySwitchABusyWorkerRefusedGoesOutAfterTheReplyItWasBusyWith) {
    Start();
    OpenChart("date=&code=600010.02");
    SimFault slow(SimFaultKind::SlowReply);
    slow.delayMs = 300;
    sim.InjectFaultFor(31000, 1, slow);
    // A refresh goes out; the switch, a moment later, finds the worker busy.
    OnChart([](CFSFrame& f) {
        f.WaitIdle(2000);
        f.SendRequest(-1, 0);
        f.OnMenuCommand(CFSFrame::kMenuOverlayOn);
        return true;
    });
    driver.WaitForRest();
    driver.AdvanceClock(CFSFrame::kRetryMs);
    std::string seen;
    for (const SimRequest& r : Minutes())
        seen += r.Get("addup") + "/" + r.Get("time") + " ";
    ASSERT_EQ(Minutes().size(), 3u) << seen;
    EXPECT_EQ(Minutes()[1].Get("addup"), "0");
    EXPECT_EQ(Minutes()[2].Get("addup"), "1");
    EXPECT_EQ(Minutes()[2].Get("time"), "0");
    EXPECT_TRUE(OnChart([](CFSFrame& f) { return f.GetData()->HasOverlayTable(); }));
    // A switch whose own request went out is not sent again.
    ASSERT_TRUE(ChooseMenu(CFSFrame::kMenuOverlayOff));
    ASSERT_TRUE(ChooseMenu(CFSFrame::kMenuOverlayOn));
    EXPECT_EQ(Minutes().size(), 4u);
}

TEST_F(ChartTest, AHistoryChartIsAskedForOnceAndItsMenuHasNoOverlayAndRefusesOrders) {
    Start(true);
    OpenChart("date=20261202&code=600010.02");
    ASSERT_EQ(Minutes().size(), 1u);
    EXPECT_EQ(Minutes()[0].Get("date"), "20261202");
    EXPECT_EQ(HeldTimes().size(), 121u);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 4));
    driver.AdvanceClock(5000);
    EXPECT_EQ(Minutes().size(), 1u) << "a past day is complete";
    EXPECT_EQ(ChartMenu(), (std::vector<std::u16string>{u"取消", u"交易明细", u"卖出委托", u"买入委托", u"加入自选"}));
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(ChooseMenu(CFSFrame::kMenuBuy));
    EXPECT_EQ(ShownTexts().back(), u"这是历史分时图，不能委托！");
    EXPECT_TRUE(g_chartOpened["buysale"].empty());
}

TEST_F(ChartTest, TheMenuOfAStockOffersOrdersAndTheOverlayAndThatOfAnIndexNeither) {
    Start();
    OpenChart("date=&code=600010.02");
    EXPECT_EQ(ChartMenu(), (std::vector<std::u16string>{u"取消", u"交易明细", u"卖出委托", u"买入委托", u"加入自选",
                                                        u"叠加大盘"}));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 5));
    ASSERT_EQ(ChartHandle(), nullptr);
    OpenChart("date=&code=000001.02");
    EXPECT_EQ(ChartMenu(), (std::vector<std::u16string>{u"取消", u"交易明细", u"加入自选"}));
    EXPECT_TRUE(OnChart([](CFSFrame& f) { return f.GetData()->HasOverlayTable(); })) << "an index has its second line";
}

TEST_F(ChartTest, AHeldPressOnALevelOffersToSellABidAndBuyAnAskAtItsPriceAndKeepsThePage) {
    Start(true);
    OpenChart("date=&code=600010.02");
    const CFSLayout layout = Layout();
    const CRect& panel = layout.panel;
    const CPoint pageTap = Screen(panel.left + 40, panel.top + panel.Height() / 2);
    ASSERT_TRUE(driver.Tap(pageTap.x, pageTap.y));
    ASSERT_TRUE(driver.Tap(pageTap.x, pageTap.y));
    ASSERT_EQ(CChartState::Shared().GetPanelPage(), 2);

    const int rowH = panel.Height() / 3;
    const CPoint bid1 = Screen(panel.left + panel.Width() * 3 / 4, panel.top + rowH / 2);
    driver.AnswerNext(ModalKind::PopupMenu, CFSFrame::kMenuSell);
    ASSERT_TRUE(driver.TapAndHold(bid1.x, bid1.y));
    EXPECT_EQ(driver.Shown().back().items, (std::vector<std::u16string>{u"取消", u"卖出"}));
    ASSERT_EQ(g_chartOpened["buysale"].size(), 1u);
    const std::string bidPrice = OnChart([](CFSFrame& f) { return f.GetData()->GetBid(0).price.ToText().str(); });
    const std::string askPrice = OnChart([](CFSFrame& f) { return f.GetData()->GetAsk(1).price.ToText().str(); });
    EXPECT_EQ(g_chartOpened["buysale"][0], "code=600010.02&price=" + bidPrice + "&market=2&type=1&MMLB=1");
    EXPECT_EQ(CChartState::Shared().GetPanelPage(), 2) << "the release ending a held press turns no page";

    const CPoint ask2 = Screen(panel.left + 20, panel.top + rowH + rowH / 2);
    driver.AnswerNext(ModalKind::PopupMenu, CFSFrame::kMenuBuy);
    ASSERT_TRUE(driver.TapAndHold(ask2.x, ask2.y));
    EXPECT_EQ(driver.Shown().back().items, (std::vector<std::u16string>{u"取消", u"买入"}));
    ASSERT_EQ(g_chartOpened["buysale"].size(), 2u);
    EXPECT_EQ(g_chartOpened["buysale"][1], "code=600010.02&price=" + askPrice + "&market=2&type=1&MMLB=0");
    EXPECT_EQ(CChartState::Shared().GetPanelPage(), 2);
}

TEST_F(ChartTest, ATapOnAMarkOpensOneInformationPageEvenWhenTheFingerDragsAcrossTheBand) {
    Start();
    sim.SetClock(ChartLocalMs(2026, 12, 7, 15, 30));
    OpenChart("date=&code=600010.02");
    const CFSLayout layout = Layout();
    const CRect& grid = layout.grid;
    const int x = ChartSlotX(grid.left, grid.Width(), kFSSlots, FSMarkSlot(633));
    const CPoint at = Screen(x, grid.top + 5);
    const CPoint away = Screen(x + 60, grid.top + 5);
    ASSERT_TRUE(driver.Press(at.x, at.y));
    driver.WaitForRest();
    ASSERT_TRUE(driver.Release(at.x, at.y));
    EXPECT_EQ(TopWindow(), "CInfoMineTxtWnd");
    const auto texts = Requests(504, 11);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Get("stkcode"), "600010.02");
    EXPECT_EQ(texts[0].Get("id"), "81002,81003");
    EXPECT_EQ(texts[0].Get("date"), "20261207");
    EXPECT_EQ(texts[0].Get("lmdm"), "xxld");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2)); // 返回
    ASSERT_EQ(TopWindow(), "CFSFrame");
    ASSERT_TRUE(driver.Drag(at, away));
    EXPECT_EQ(Requests(504, 11).size(), 2u) << "one page for one press";
    EXPECT_EQ(TopWindow(), "CInfoMineTxtWnd");
}

TEST_F(ChartTest, ComingBackFromAChildKeepsTheHeldDayAndTheCursor) {
    Start();
    OpenChart("date=&code=600010.02");
    const CFSLayout layout = Layout();
    const CPoint at = Screen(layout.grid.left + layout.grid.Width() / 10, layout.grid.top + 80);
    ASSERT_TRUE(driver.Tap(at.x, at.y));
    const int cursor = OnChart([](CFSFrame& f) { return f.GetView()->GetCursorPosition(); });
    EXPECT_EQ(cursor, 12);
    ASSERT_TRUE(ChooseMenu(CFSFrame::kMenuDeals));
    EXPECT_EQ(g_chartOpened["CStockDealDetailWnd"], std::vector<std::string>{"code=600010.02&date="});
    ASSERT_EQ(TopWindow(), "CFSFrame");
    EXPECT_EQ(OnChart([](CFSFrame& f) { return f.GetView()->GetCursorPosition(); }), cursor);
    ASSERT_GE(Minutes().size(), 2u);
    EXPECT_NE(Minutes().back().Get("time"), "0") << "the held day goes on";
    EXPECT_EQ(HeldTimes().size(), 23u);
}

TEST_F(ChartTest, TheKLineOpensOverTheParentAfterTheChartHasClosed) {
    Start();
    OpenChart("date=&code=600010.02");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2));
    EXPECT_EQ(g_chartOpened["kxchart"], std::vector<std::string>{"code=600010.02"});
    EXPECT_EQ(ChartHandle(), nullptr);
    EXPECT_EQ(TopWindow(), "CChartHostWnd");
}

TEST_F(ChartTest, ARefusedFirstReplyNamesNoStockAndAnErrorSetOfTheIndexKeepsTheHeldOne) {
    Start();
    SimFault fault(SimFaultKind::ErrorSet);
    fault.errorText = u"行情服务暂停";
    fault.errorCode = 1;
    sim.InjectFaultFor(31000, 1, fault);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    OpenChart("date=&code=600010.02");
    EXPECT_EQ(ShownTexts(), std::vector<std::u16string>{u"行情服务暂停"});
    EXPECT_EQ(OnChart([](CFSFrame& f) { return std::string(f.GetCodeText()); }), "600010.02");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 4));
    EXPECT_EQ(Minutes().back().Get("code"), "600010.02");
    EXPECT_EQ(HeldTimes().size(), 23u);

    ASSERT_TRUE(ChooseMenu(CFSFrame::kMenuOverlayOn));
    ASSERT_TRUE(OnChart([](CFSFrame& f) { return f.GetData()->HasOverlayTable(); }));
    CSimChartRoutes::FailMinuteSets(0, 1);
    sim.SetClock(ChartLocalMs(2026, 12, 7, 10, 21));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 4));
    EXPECT_TRUE(OnChart([](CFSFrame& f) { return f.GetData()->HasOverlayTable(); })) << "the held index stays";
    EXPECT_EQ(HeldTimes().size(), 26u);
    EXPECT_EQ(ShownTexts().size(), 1u) << "an error in place of the index is not shown";

    // A reply whose first set is a quote header is no minute reply.
    sim.SetRoute(31000, 1, [](const SimRequest&, CSimMarket&) {
        CDataSetWriter w;
        w.AddSet("HQ.INFO");
        w.AddColumn(DataSetType::AnsiText, "code");
        w.AddRow();
        w.SetAnsiText(0, "999999");
        return SimReply::Ok(w);
    });
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 4));
    EXPECT_EQ(HeldTimes().size(), 26u);
    EXPECT_EQ(OnChart([](CFSFrame& f) { return std::string(f.GetCodeText()); }), "600010.02");
}

TEST_F(ChartTest, ARankingRowAndASearchResultOpenTheMinuteChart) {
    Start();
    driver.RunOnGui([this] { host->PostMessage(CChartHostWnd::kOpenNode, 0, 2); }); // "沪深排名"
    driver.WaitForRest();
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 0));
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 0));
    ASSERT_EQ(TopWindow(), "CFSFrame");
    EXPECT_EQ(Minutes().front().Get("code"), "300058.1");
    EXPECT_EQ(HeldTimes().size(), 23u);

    // From the chart's own search: a single find shows its day in the chart.
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 1));
    ASSERT_EQ(TopWindow(), "CEditMyStockWnd");
    driver.TypeText(u"600010");
    EXPECT_EQ(TopWindow(), "CFSFrame");
    EXPECT_EQ(Minutes().back().Get("code"), "600010.02");
    EXPECT_EQ(OnChart([](CFSFrame& f) { return f.GetData()->GetStockKey(); }), "600010.02");
    EXPECT_EQ(HeldTimes().size(), 23u);

    // From the ranking's search, closed first: the chart opens over the table with its day.
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 5));
    ASSERT_EQ(TopWindow(), "COrbStockTableWnd");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 1));
    driver.TypeText(u"000031");
    // The table shown again sends its own request first; a chart whose first
    // request found the worker busy asks again shortly.
    driver.AdvanceClock(CFSFrame::kRetryMs);
    EXPECT_EQ(TopWindow(), "CFSFrame");
    EXPECT_EQ(OnChart([](CFSFrame& f) { return f.GetData()->GetStockKey(); }), "000031.01");
}

// A stock not traded today, and any stock before the opening: no point at a
// price of 0, a scale whose middle is the previous close, and "-" in the
// legend; whichever of zeros or the previous close the server reports.
class UnopenedChartTest : public ChartTest, public ::testing::WithParamInterface<std::tuple<const char*, int, int>> {};

TEST_P(UnopenedChartTest, DrawsAScaleAroundThePreviousCloseAndNoPointAtZero) {
    const auto [code, hour, minute] = GetParam();
    Start();
    sim.SetClock(ChartLocalMs(2026, 12, 7, hour, minute));
    OpenChart(std::string("date=&code=") + code);
    ASSERT_EQ(TopWindow(), "CFSFrame");
    ASSERT_EQ(OnChart([](CFSFrame& f) { return f.GetData()->GetStockKey(); }), code);
    const std::vector<double> prices = OnChart([](CFSFrame& f) {
        std::vector<double> out;
        for (int i = 0; i < f.GetData()->GetCount(); ++i) {
            CQuoteNumber price;
            out.push_back(f.GetData()->GetNumber(price, CFSData::kColPrice, i).GetValue());
        }
        return out;
    });
    for (double price : prices)
        EXPECT_NE(price, 0.0);
    const auto [top, bottom, prevClose] = OnChart([](CFSFrame& f) {
        const CFSRange& r = f.GetView()->GetRanges().price;
        return std::tuple{r.top.GetValue(), r.bottom.GetValue(), r.prevClose.GetValue()};
    });
    ASSERT_GT(prevClose, 0.0);
    EXPECT_NEAR(top - prevClose, prevClose / 500, 0.006);
    EXPECT_NEAR(prevClose - bottom, prevClose / 500, 0.006);
    if (prices.empty()) {
        EXPECT_EQ(OnChart([](CFSFrame& f) { return std::u16string(f.GetView()->GetLegendItem(1)->value); }), u"-");
    }
}

INSTANTIATE_TEST_SUITE_P(UntradedAndPreOpen, UnopenedChartTest,
                         ::testing::Values(std::tuple{"600372.02", 10, 15}, std::tuple{"600010.02", 9, 0}),
                         [](const auto& info) {
                             return std::string(info.index == 0 ? "NotTradedToday" : "BeforeTheOpening");
                         });

// The Hang Seng index's five-digit labels fit the label column, turned or not.
TEST_F(ChartTest, TheLabelColumnHoldsTheWidestPriceLabelInBothOrientations) {
    Start();
    OpenChart("date=&code=100100.03");
    ASSERT_EQ(TopWindow(), "CFSFrame");
    for (int mode : {SCREEN_MODE_0, SCREEN_MODE_1}) {
        const HWND handle = ChartHandle();
        driver.RunOnGui([mode, handle] {
            UiMessageLoop::Current()->SetScreenMode(mode);
            if (UiWin* w = UiWin::FromHandle(handle))
                static_cast<CFSFrame*>(w)->ApplyScreenSettings();
        });
        driver.WaitForRest();
        const auto [margin, widest] = OnChart([](CFSFrame& f) {
            const std::unique_ptr<CDC> dc = CDC::CreateMemoryDC(1, 1);
            return std::pair{f.GetView()->GetLabelMargin(), f.GetView()->MeasureScaleLabels(*dc, u"").cx};
        });
        EXPECT_GT(widest, 0) << mode;
        EXPECT_GE(margin, widest) << mode;
    }
}

} // namespace

namespace {

// A finger moving the cursor repaints a few strips, not the screen; the
// driver's loop paints the whole screen again after every partial paint
// and stops the test on any pixel that differs.
TEST_F(ChartTest, AFingerMovingTheCursorRepaintsOnlyWhatChangedAndMatchesAFullPaint) {
    Start();
    sim.SetClock(ChartLocalMs(2026, 12, 7, 15, 30));
    OpenChart("date=&code=600010.02");
    const CFSLayout layout = Layout();
    const CRect& grid = layout.grid;
    const CPoint from = Screen(grid.left + grid.Width() / 4, grid.top + 60);
    const CPoint to = Screen(grid.left + grid.Width() / 2, grid.top + 60);
    ASSERT_TRUE(driver.Drag(from, to, 6));
    const auto report = driver.RunOnGui([] { return UiMessageLoop::Current()->LastPaint(); });
    const auto shownBefore = driver.ScreenTexts();
    ASSERT_FALSE(report.whole);
    const long long screen = 480LL * 720;
    EXPECT_LT(report.Pixels({0, 0, 480, 720}) * 4, screen) << "a quarter of the screen at most";
    // The text log reads as after a full paint.
    ExpectTextsAsAfterWholePaint(driver, shownBefore);
}

// A partial paint shows the picture as the finger left it; a cursor key
// then marks the whole window, and the chart is drawn anew with the cursor
// moved (a stale picture would differ from the full paint the driver's
// loop compares every partial paint with).
TEST_F(ChartTest, AKeyAfterAFingerRedrawsTheChartWithTheCursorMoved) {
    Start();
    sim.SetClock(ChartLocalMs(2026, 12, 7, 15, 30));
    OpenChart("date=&code=600010.02");
    const CFSLayout layout = Layout();
    const CRect& grid = layout.grid;
    ASSERT_TRUE(driver.Drag(Screen(grid.left + grid.Width() / 2, grid.top + 60),
                            Screen(grid.left + grid.Width() / 3, grid.top + 60), 4));
    const int dragged = OnChart([](CFSFrame& f) { return f.GetView()->GetCursorPosition(); });
    auto shown = [this] {
        std::u16string all;
        for (const CDrawnText& t : driver.ScreenTexts())
            all += t.text + u"|";
        return all;
    };
    const std::u16string before = shown();
    ASSERT_TRUE(driver.PressKey(VK_LEFT));
    EXPECT_EQ(OnChart([](CFSFrame& f) { return f.GetView()->GetCursorPosition(); }), dragged - 1);
    const auto report = driver.RunOnGui([] { return UiMessageLoop::Current()->LastPaint(); });
    EXPECT_FALSE(report.whole) << "the window, not the screen";
    EXPECT_NE(shown(), before) << "the legends follow the cursor";
}

} // namespace
