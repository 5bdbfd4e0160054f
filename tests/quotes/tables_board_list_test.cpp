// The board list: button places for the screen width, which command ids
// open a sector, the sector table's request, and a list fetched until it
// arrives and never again.
#include "tables_ranking_Fixture.h"

#include "platform/win/UiMessageLoop.h"
#include "quotes/tables/CStockBoardListWnd.h"
#include "tools/simulator/SimQuoteRoutes.h"

namespace {

TEST(BoardListRules, ButtonsSitTwoToALineWithMarginsFromTheWidth) {
    const struct {
        int width;
        int index;
        CRect expected;
    } cases[] = {
        {480, 0, CRect::FromSize(14, 20, 211, 90)},  {480, 1, CRect::FromSize(253, 20, 211, 90)},
        {480, 2, CRect::FromSize(14, 110, 211, 90)}, {480, 3, CRect::FromSize(253, 110, 211, 90)},
        {480, 4, CRect::FromSize(14, 200, 211, 90)}, {720, 0, CRect::FromSize(21, 20, 316, 90)},
        {720, 1, CRect::FromSize(379, 20, 316, 90)}, {720, 5, CRect::FromSize(379, 200, 316, 90)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BoardButtonRect(c.index, c.width), c.expected) << c.width << " " << c.index;
}

TEST(BoardListRules, TheSectorRequestCarriesAKindOfAnyLengthAndRefusesUnsafeValues) {
    EXPECT_EQ(BoardStocksRequest("hy", "HY01"), "tc_mfuncno=100&tc_sfuncno=31&sector=hy&sectorcode=HY01");
    EXPECT_EQ(BoardStocksRequest("industry.level2.group", "HY01"),
              "tc_mfuncno=100&tc_sfuncno=31&sector=industry.level2.group&sectorcode=HY01");
    EXPECT_EQ(BoardStocksRequest("hy", "HY01&sector=gn"), "");
    EXPECT_EQ(BoardStocksRequest("", "HY01"), "");
    EXPECT_EQ(BoardStocksRequest("hy", ""), "");
}

class BoardListTest : public RankingTest {
protected:
    static constexpr int kNodeIndustries = 51; // "行业板块": sector=hy

    void StartWithTableStub() {
        Start();
        driver.RunOnGui([] {
            CWndManager::Instance().RegisterWindow("bkph", [](const CWndCreateInfo&) {
                return std::unique_ptr<CBaseWnd>(new CRecordingStubWnd("bkph"));
            });
        });
    }
    static CStockBoardListWnd* Shown() {
        const std::vector<UiWin*> tops = UiMessageLoop::Current()->TopLevelWindows();
        for (auto it = tops.rbegin(); it != tops.rend(); ++it)
            if (auto* w = dynamic_cast<CStockBoardListWnd*>(*it); w && w->IsVisible())
                return w;
        return nullptr;
    }
    int Buttons() {
        return driver.RunOnGui([] { return Shown() ? Shown()->GetButtonCount() : -1; });
    }
    void Refresh() {
        driver.RunOnGui([] { Shown()->Refresh(); });
        driver.WaitForRest();
    }
};

TEST_F(BoardListTest, OnlyTheIdsOfItsButtonsOpenASectorWithTheNodesKind) {
    StartWithTableStub();
    OpenNode(kNodeIndustries);
    ASSERT_EQ(Buttons(), 6);
    // The bar's command 101 with no button of that index, and ids around
    // the buttons'.
    for (int id : {101, 599, 600 + 6, 600 + 7, 599 + 65536})
        driver.RunOnGui([id] {
            if (CStockBoardListWnd* list = Shown())
                list->SendMessage(WM_COMMAND, static_cast<WPARAM>(id), 3);
        });
    ASSERT_EQ(Buttons(), 6) << "the list is still there";
    driver.WaitForRest();
    EXPECT_TRUE(g_ranking.opened["bkph"].empty());

    ASSERT_TRUE(CDriverControls::TapControl(driver, 600 + 2));
    ASSERT_EQ(g_ranking.opened["bkph"].size(), 1u);
    EXPECT_EQ(g_ranking.opened["bkph"][0].second, "tc_mfuncno=100&tc_sfuncno=31&sector=hy&sectorcode=HY03");
    EXPECT_EQ(g_ranking.titles["bkph"][0], u"医药");
}

TEST_F(BoardListTest, AnErrorLetsTheNextRefreshAskAgainAndAFilledListAsksNoMore) {
    Start();
    sim.SetRoute(100, 30, [](const SimRequest&, CSimMarket&) { return SimReply::Error(u"板块服务暂停"); });
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    OpenNode(kNodeIndustries);
    EXPECT_TRUE(MessageShown(u"板块服务暂停"));
    EXPECT_EQ(Buttons(), 0);

    sim.AddRoutes(std::make_unique<CSimQuoteRoutes>());
    Refresh();
    EXPECT_EQ(Requests(100, 30).size(), 2u);
    EXPECT_EQ(Buttons(), 6);
    Refresh();
    EXPECT_EQ(Requests(100, 30).size(), 2u) << "the filled list sends nothing";

    // A reply that comes after the list is filled is ignored.
    driver.RunOnGui([] {
        CDataSetWriter w;
        w.AddSet("sectors");
        w.AddColumn(DataSetType::WideText, "sectorname");
        w.AddColumn(DataSetType::AnsiText, "sectorcode");
        w.AddRow();
        w.SetText(0, u"迟到");
        w.SetAnsiText(1, "HY99");
        const std::vector<uint8_t> body = w.Serialize();
        Shown()->OnNetData(body.data(), static_cast<int>(body.size()), false);
    });
    EXPECT_EQ(Buttons(), 6);
}

} // namespace
