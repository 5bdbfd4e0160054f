// The detail quote page against the simulated server: what it asks for and
// shows, buy before and after a quote, and a reply code that may not travel.
#include "info_Fixture.h"

#include <cstdio>

namespace {

using DetailScreenTest = InfoTest;

// A 31000/4 route answering the stock of the request's code after change.
template <class F>
SimRoute QuoteOf(F change) {
    return [change](const SimRequest& r, CSimMarket& m) {
        const std::vector<int> fields = CSimMarket::ParseFieldList(r.Get("field"));
        CDataSetWriter w;
        w.AddSet("hq");
        CSimMarket::AddFieldColumns(w, fields);
        SimStock s = *m.Find(r.Get("code"));
        if (change(s))
            CSimMarket::WriteFieldRow(w, fields, s);
        return SimReply::Ok(w);
    };
}

TEST_F(DetailScreenTest, AStockShowsSixteenRowsFromItsRequestWithTheBookInLotsAndAnIndexSix) {
    OpenDetail("600010.02");
    const std::vector<SimRequest> asked = Requests(31000, 4);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Get("code"), "600010.02");
    EXPECT_EQ(asked[0].Get("field"), kDetailFields);
    const CInfoGrid stock = GridOf(false);
    ASSERT_EQ(stock.texts.size(), 16u);
    std::string last;
    sim.WithMarket([&last](CSimMarket& m) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", m.Find("600010.02")->last);
        last = text;
    });
    EXPECT_EQ(stock.texts[0][1], std::u16string(last.begin(), last.end())) << "the last price at the clock";
    for (int r = 6; r < 16; ++r) {
        const int lots = std::stoi(std::string(stock.texts[r][3].begin(), stock.texts[r][3].end()));
        EXPECT_TRUE(lots >= 10 && lots <= 909) << lots;
    }
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 5));
    OpenDetail("000001.02");
    const CInfoGrid index = GridOf(false);
    ASSERT_EQ(index.texts.size(), 6u);
    EXPECT_EQ(index.texts[5][1], u"-");
}

TEST_F(DetailScreenTest, BuyOpensNothingBeforeAQuoteWasShownAndTheTradeLoginsRoadAfter) {
    bool rows = false;
    sim.SetRoute(31000, 4, QuoteOf([&rows](SimStock&) { return rows; }));
    OpenDetail("600010.02");
    ASSERT_TRUE(ChooseMenu(CStockDetaiPriceWnd::kMenuBuy));
    ASSERT_TRUE(ChooseMenu(CStockDetaiPriceWnd::kMenuSell));
    EXPECT_TRUE(g_info.opened.empty());
    EXPECT_TRUE(ShownTexts().empty());
    sim.WithMarket([&rows](CSimMarket&) { rows = true; });
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 4)); // refresh
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(ChooseMenu(CStockDetaiPriceWnd::kMenuBuy));
    EXPECT_EQ(g_info.opened.count("CSalesDeptSetWnd"), 1u) << "no department yet";
}

TEST_F(DetailScreenTest, AReplyCodeThatMayNotTravelReachesNoRequestAndOpensNothing) {
    sim.SetRoute(31000, 4, QuoteOf([](SimStock& s) { return s.code = "1&x=2", true; }));
    OpenDetail("600010.02");
    ASSERT_EQ(GridOf(false).texts.size(), 16u) << "the quote itself is shown";
    EXPECT_EQ(driver.RunOnGui([] { return g_info.detail->GetStockCode(); }), u"1&x=2.02");
    for (int button : {4, 2, 3}) // refresh, minute chart, K-line
        ASSERT_TRUE(CDriverControls::PressBottomButton(driver, button));
    for (int id : {CStockDetaiPriceWnd::kMenuBuy, CStockDetaiPriceWnd::kMenuAddToMyStocks,
                   CStockDetaiPriceWnd::kMenuStockInfo})
        ASSERT_TRUE(ChooseMenu(id));
    EXPECT_TRUE(g_info.opened.empty());
    EXPECT_TRUE(ShownTexts().empty());
    EXPECT_EQ(Requests(31000, 4).size(), 1u);
}

} // namespace
