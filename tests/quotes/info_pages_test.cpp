// The information pages: the article request and a stock menu child's
// texts, the article text's column and lines, and against the simulated
// server a news list that keeps its last good reply, an article reply
// without sets, and the two modes of the information menu.
#include "tables_ranking_Fixture.h"

#include "core/CDataSet.h"
#include "platform/testing/ShownWindow.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/info/COrbInfoListWnd.h"
#include "quotes/info/COrbInfoTxtWnd.h"
#include "quotes/info/CStocInfoMenuWnd.h"
#include "quotes/info/InfoRequests.h"
#include "quotes/info/InfoText.h"

namespace {

TEST(InfoPageRules, TheArticleRequestTakesTheListsFunctionAndContentSubFunction) {
    EXPECT_EQ(ArticleRequest("tc_mfuncno=504&tc_sfuncno=20&cont_sfunc=21&lmdm=cjyw", 77),
              "tc_mfuncno=504&tc_sfuncno=21&newsid=77");
    EXPECT_EQ(ArticleRequest("tc_mfuncno=504&tc_sfuncno=20&lmdm=cjyw", 77), "") << "no cont_sfunc";
    EXPECT_EQ(ArticleRequest("tc_sfuncno=20&cont_sfunc=21", 77), "") << "no tc_mfuncno";
    EXPECT_EQ(ArticleRequest("tc_mfuncno=504&cont_sfunc=2%26x", 77), "") << "an unsafe value";
}

TEST(InfoPageRules, AStockMenuChildGetsTheCodeAndTheStockNameOnlyInStockMode) {
    const std::optional<InfoChildOpen> stock =
        StockInfoChild("tc_mfuncno=504&tc_sfuncno=21&lmdm=gsgk", u"公司概况", true, "600010", u"华岳银行");
    ASSERT_TRUE(stock);
    EXPECT_EQ(stock->request, "tc_mfuncno=504&tc_sfuncno=21&lmdm=gsgk&stkcode=600010");
    EXPECT_EQ(stock->title, u"公司概况_华岳银行");
    const std::optional<InfoChildOpen> plain =
        StockInfoChild("tc_mfuncno=100&tc_sfuncno=30&sector=hy", u"行业板块", false, "", u"板块行情");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->request, "tc_mfuncno=100&tc_sfuncno=30&sector=hy");
    EXPECT_EQ(plain->title, u"行业板块");
    EXPECT_FALSE(StockInfoChild("lmdm=gsgk", u"A", true, "", u"B")) << "no stock";
    EXPECT_FALSE(StockInfoChild("lmdm=gsgk", u"A", true, "600010&lmdm=x", u"B"));
}

TEST(InfoPageRules, TwoColumnsShowTheSecondAndEveryLineEndsWithCarriageReturnLineFeed) {
    for (int columns : {1, 2, 3}) {
        CDataSet set("content");
        for (int c = 0; c < columns; ++c)
            set.AddColumn(DataSetType::WideText, "c" + std::to_string(c));
        for (const char16_t* line : {u"a", u"b", u"c"}) {
            set.AddRow(-1);
            for (int c = 0; c < columns; ++c) {
                const std::u16string text = c == ArticleTextColumn(set) ? line : u"x";
                set.SetField(c, text.data(), static_cast<int>(text.size() * 2));
            }
        }
        EXPECT_EQ(ArticleTextColumn(set), columns == 2 ? 1 : 0) << columns;
        EXPECT_EQ(JoinTextColumn(set, ArticleTextColumn(set)), u"a\r\nb\r\nc\r\n") << columns;
    }
    CDataSet empty("content");
    empty.AddColumn(DataSetType::WideText, "text");
    EXPECT_EQ(JoinTextColumn(empty, 0), u"");
    EXPECT_EQ(JoinTextColumn(empty, 1), u"") << "no such column";
}

class InfoPagesTest : public RankingTest {
protected:
    static constexpr int kNodeNews = 61;   // "财经要闻"
    static constexpr int kNodeBoards = 5;  // "板块行情" (bkhq)
    static constexpr int kNodeStockInfo = 9; // "个股资讯" (F10)

    void StartWithStubs(std::initializer_list<const char*> keywords) {
        Start();
        std::vector<std::string> list(keywords.begin(), keywords.end());
        driver.RunOnGui([list] {
            for (const std::string& k : list)
                CWndManager::Instance().RegisterWindow(k, [k](const CWndCreateInfo&) {
                    return std::unique_ptr<CBaseWnd>(new CRecordingStubWnd(k));
                });
        });
    }
    template <class T>
    static T* Shown() {
        return ShownTopWindow<T>();
    }
    // Opens the node with a parameter text and title, as a detail page would.
    void OpenWith(int node, const char* keyword, const char16_t* title, const char* param) {
        driver.RunOnGui([this, node, keyword, title, param] {
            UiMessageLoop::Current()->PostTask([this, node, keyword, title, param] {
                CWndManager::Instance().CreateWnd(keyword, node, title, param, "", 0, host.get());
            });
        });
        driver.WaitForRest();
    }
    std::vector<std::u16string> Titles() {
        return CDriverControls::ListItems(driver, COrbInfoListWnd::kListId).value_or(std::vector<std::u16string>{});
    }
};

TEST_F(InfoPagesTest, AnErrorKeepsTheLastTitlesAndTheirIdsSoAPickAfterItAndTheCloseAreSound) {
    StartWithStubs({"newscontent"});
    OpenNode(kNodeNews);
    const std::vector<std::u16string> titles = Titles();
    ASSERT_EQ(titles.size(), 6u);

    sim.SetRoute(504, 20, [](const SimRequest&, CSimMarket&) { return SimReply::Error(u"资讯服务暂停"); });
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    driver.RunOnGui([] { Shown<COrbInfoListWnd>()->Refresh(); });
    driver.WaitForRest();
    EXPECT_TRUE(MessageShown(u"资讯服务暂停"));
    EXPECT_EQ(Titles(), titles);

    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbInfoListWnd::kListId, 1));
    ASSERT_EQ(g_ranking.opened["newscontent"].size(), 1u);
    EXPECT_EQ(g_ranking.opened["newscontent"][0].second, "tc_mfuncno=504&tc_sfuncno=21&newsid=1002");
    EXPECT_EQ(g_ranking.titles["newscontent"][0], titles[1]);

    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2));
    EXPECT_EQ(g_ranking.hostChildCodes, std::vector<int>{1});
}

TEST_F(InfoPagesTest, AnArticleShowsItsLinesAndAReplyWithoutSetsLeavesTheWaitingText) {
    Start();
    OpenNode(kNodeNews);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbInfoListWnd::kListId, 0));
    const std::u16string shown = driver.RunOnGui([] { return Shown<COrbInfoTxtWnd>()->GetShownText(); });
    EXPECT_EQ(shown.rfind(u"人民银行今日", 0), 0u);
    EXPECT_EQ(shown.substr(shown.size() - 2), u"\r\n");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2));

    sim.SetRoute(504, 21, [](const SimRequest&, CSimMarket&) { return SimReply{CDataSetList::Serialize(nullptr, 0)}; });
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbInfoListWnd::kListId, 0));
    EXPECT_EQ(driver.RunOnGui([] { return Shown<COrbInfoTxtWnd>()->GetShownText(); }), CTextWnd::kWaitText);

    sim.SetRoute(504, 21, [](const SimRequest&, CSimMarket&) {
        CDataSetWriter w;
        w.AddSet("content");
        w.AddColumn(DataSetType::WideText, "text");
        return SimReply::Ok(w);
    });
    driver.RunOnGui([] { Shown<COrbInfoTxtWnd>()->Refresh(); });
    driver.WaitForRest();
    EXPECT_EQ(driver.RunOnGui([] { return Shown<COrbInfoTxtWnd>()->GetShownText(); }), COrbInfoTxtWnd::kNoText);
}

TEST_F(InfoPagesTest, TheStockMenuAddsTheStockAndTheSectorMenuOpensItsChildrenAsTheyStand) {
    StartWithStubs({"newscontent", "bkhqlist"});
    OpenWith(kNodeStockInfo, "F10", u"华岳银行", "600010");
    ASSERT_TRUE(CDriverControls::TapListItem(driver, CStocInfoMenuWnd::kListId, 0));
    ASSERT_EQ(g_ranking.opened["newscontent"].size(), 1u);
    EXPECT_EQ(g_ranking.opened["newscontent"][0].second, "tc_mfuncno=504&tc_sfuncno=21&lmdm=gsgk&stkcode=600010");
    EXPECT_EQ(g_ranking.titles["newscontent"][0], u"公司概况_华岳银行");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2));

    OpenNode(kNodeBoards);
    EXPECT_EQ(driver.RunOnGui([] { return Shown<CStocInfoMenuWnd>()->GetFlag(); }), CStocInfoMenuWnd::kPlainMode);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, CStocInfoMenuWnd::kListId, 0));
    ASSERT_EQ(g_ranking.opened["bkhqlist"].size(), 1u);
    EXPECT_EQ(g_ranking.opened["bkhqlist"][0].second, "tc_mfuncno=100&tc_sfuncno=30&sector=hy");
    EXPECT_EQ(g_ranking.titles["bkhqlist"][0], u"行业板块");
}

TEST_F(InfoPagesTest, WithoutAStockTheStockMenuOpensNothingAndSaysSo) {
    StartWithStubs({"newscontent"});
    OpenNode(kNodeStockInfo);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, CStocInfoMenuWnd::kListId, 0));
    EXPECT_TRUE(MessageShown(u"未选中任何股票！"));
    EXPECT_TRUE(g_ranking.opened["newscontent"].empty());
}

} // namespace
