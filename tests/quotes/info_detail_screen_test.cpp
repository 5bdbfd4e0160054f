// The detail quote page against the simulated server: what it asks for and
// shows, buy and sell before and after a quote, and a reply code that may
// not travel.
#include "info_Fixture.h"

#include "quotes/info/StockDetail.h"

namespace {

using DetailScreenTest = InfoTest;

TEST_F(DetailScreenTest, AStockShowsSixteenRowsFromItsRequestAndAnIndexSix) {
    OpenDetail("600010.02");
    const std::vector<SimRequest> asked = Requests(31000, 4);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Get("code"), "600010.02");
    EXPECT_EQ(asked[0].Get("field"), kDetailFields);
    const Grid stock = DetailGrid();
    ASSERT_EQ(stock.texts.size(), 16u);
    std::u16string last;
    sim.WithMarket([&](CSimMarket& m) {
        const SimStock* s = m.Find("600010.02");
        last = CQuoteNumber(s->last, 2).ToWideText().str();
    });
    EXPECT_EQ(stock.texts[0][0], u"最新");
    EXPECT_EQ(stock.texts[0][1], last);
    EXPECT_EQ(stock.texts[10][0], u"卖一");
    EXPECT_EQ(stock.texts[11][0], u"买一");
    for (int r = 6; r < 16; ++r) {
        const int lots = std::stoi(std::string(stock.texts[r][3].begin(), stock.texts[r][3].end()));
        EXPECT_GE(lots, 10) << "shares shown in lots";
        EXPECT_LE(lots, 909);
    }
    EXPECT_EQ(driver.ControlText(CStockDetaiPriceWnd::kCaptionLabelId), u"详细报价:");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 5));

    OpenDetail("000001.02");
    const Grid index = DetailGrid();
    ASSERT_EQ(index.texts.size(), 6u);
    EXPECT_EQ(index.texts[5][1], u"-") << "an index has no order ratio";
}

TEST_F(DetailScreenTest, BuyOpensNothingBeforeAQuoteWasShownAndTheTradeLoginAfter) {
    sim.SetRoute(31000, 4, [](const SimRequest&, CSimMarket&) {
        CDataSetWriter w;
        w.AddSet("hq");
        CSimMarket::AddFieldColumns(w, CSimMarket::ParseFieldList(kDetailFields));
        return SimReply::Ok(w);
    });
    OpenDetail("600010.02");
    ASSERT_TRUE(ChooseMenu(CStockDetaiPriceWnd::kMenuBuy));
    ASSERT_TRUE(ChooseMenu(CStockDetaiPriceWnd::kMenuSell));
    EXPECT_TRUE(g_info.opened.empty());
    EXPECT_TRUE(ShownTexts().empty());

    // With the real quote the trade login's road starts (no department yet).
    sim.SetRoute(31000, 4, [](const SimRequest& r, CSimMarket& m) {
        const std::vector<int> fields = CSimMarket::ParseFieldList(r.Get("field"));
        CDataSetWriter w;
        w.AddSet("hq");
        CSimMarket::AddFieldColumns(w, fields);
        CSimMarket::WriteFieldRow(w, fields, *m.Find(r.Get("code")));
        return SimReply::Ok(w);
    });
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 4));
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(ChooseMenu(CStockDetaiPriceWnd::kMenuBuy));
    EXPECT_EQ(g_info.opened.count("CSalesDeptSetWnd"), 1u);
    EXPECT_EQ(g_info.opened.count("buysale"), 0u);
}

TEST_F(DetailScreenTest, AReplyCodeThatMayNotTravelReachesNoRequestAndOpensNothing) {
    sim.SetRoute(31000, 4, [](const SimRequest& r, CSimMarket& m) {
        const std::vector<int> fields = CSimMarket::ParseFieldList(r.Get("field"));
        SimStock s = *m.Find("600010.02");
        s.code = "1&x=2";
        CDataSetWriter w;
        w.AddSet("hq");
        CSimMarket::AddFieldColumns(w, fields);
        CSimMarket::WriteFieldRow(w, fields, s);
        return SimReply::Ok(w);
    });
    OpenDetail("600010.02");
    ASSERT_EQ(DetailGrid().texts.size(), 16u) << "the quote itself is shown";
    EXPECT_EQ(driver.RunOnGui([] { return g_info.detail->GetStockCode(); }), u"1&x=2.02");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 4)); // refresh
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2)); // minute chart
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 3)); // K-line
    for (int id : {CStockDetaiPriceWnd::kMenuBuy, CStockDetaiPriceWnd::kMenuAddToMyStocks,
                   CStockDetaiPriceWnd::kMenuStockInfo})
        ASSERT_TRUE(ChooseMenu(id));
    EXPECT_TRUE(g_info.opened.empty());
    EXPECT_TRUE(ShownTexts().empty());
    for (const SimRequest& r : sim.GetRequestLog())
        EXPECT_FALSE(r.Has("x")) << r.rawBody;
    EXPECT_EQ(Requests(31000, 4).size(), 1u);
}

TEST_F(DetailScreenTest, TheBarOpensTheChartsOfTheKeyAndTheMenuTheStocksInformation) {
    OpenDetail("600010.02");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 3));
    ASSERT_TRUE(ChooseMenu(CStockDetaiPriceWnd::kMenuStockInfo));
    ASSERT_EQ(g_info.opened["fschart"].size(), 1u);
    EXPECT_EQ(g_info.opened["fschart"][0].second, "date=&code=600010.02");
    ASSERT_EQ(g_info.opened["kxchart"].size(), 1u);
    EXPECT_EQ(g_info.opened["kxchart"][0].second, "code=600010.02");
    ASSERT_EQ(g_info.opened["F10"].size(), 1u);
    EXPECT_EQ(g_info.opened["F10"][0].first, "600010.02");
    EXPECT_EQ(g_info.titles["F10"][0], u"华岳银行");
    ASSERT_TRUE(ChooseMenu(CStockDetaiPriceWnd::kMenuHome));
    EXPECT_EQ(g_info.detail, nullptr);
}

} // namespace
