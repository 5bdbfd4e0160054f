// The ranking table against the simulated server: the first request, paging
// forward and back, the messages at either end, and a page move that fails.
#include "tables_ranking_Fixture.h"

namespace {

// A worker for the table alone: refuses every send, or takes each one for
// the test to abandon.
struct CTestSender : IRequestSender {
    bool refuse = true;
    unsigned tag = 0; // of the last send
    bool Send(HWND, const std::string&, unsigned, unsigned t) override {
        tag = t;
        return !refuse;
    }
    bool WaitIdle(int) override { return true; }
    int AbortAndWait(int) override { return 0; }
};

class RankingPagingTest : public RankingTest {
protected:
    CTestSender worker; // outlives the table's use of it: the driver stops in TearDown

    bool Next() { return CDriverControls::PressBottomButton(driver, 3); }
    bool Previous() { return CDriverControls::PressBottomButton(driver, 2); }
    int PageIndex() { return OnTable([](COrbStockTableWnd& t) { return t.GetPageIndex(); }); }
};

TEST_F(RankingPagingTest, OpeningTheMenuNodeSendsItsRankingFirstPageAndTitlesTheWindow) {
    Start();
    OpenNode(kNodeAllRising);
    const std::vector<SimRequest> sent = Rankings();
    ASSERT_EQ(sent.size(), 1u);
    for (const auto& [key, value] : {std::pair<const char*, const char*>{"market", "12"}, {"class", "A"},
                                     {"type", "zf"}, {"direct", "1"}, {"offset", "0"}, {"count", "20"}})
        EXPECT_EQ(sent[0].Get(key), value) << key;
    EXPECT_EQ(RowCount(), 20);
    EXPECT_EQ(Caption(), u"沪深A股涨幅");
    EXPECT_EQ(Column(CQuoteRowData::kName).front(), u"智云数据") << "the largest rise first";
}

TEST_F(RankingPagingTest, AFullPageLetsNextAskForTheFollowingTwentyRows) {
    Start();
    OpenNode(kNodeAllRising);
    ASSERT_EQ(RowCount(), 20);
    ASSERT_TRUE(Next());
    std::vector<SimRequest> sent = Rankings();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].Get("offset"), "20");
    EXPECT_EQ(sent[1].Get("count"), "20");
    EXPECT_EQ(RowCount(), 20);
    EXPECT_EQ(PageIndex(), 1);
    EXPECT_EQ(OnTable([](COrbStockTableWnd& t) { return t.GetSelectedRow(); }), 0)
        << "a new page starts at its first row";
    EXPECT_FALSE(OnTable([](COrbStockTableWnd& t) { return t.IsPageChanged(); }));

    ASSERT_TRUE(Next());
    sent = Rankings();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2].Get("offset"), "40");
    EXPECT_EQ(RowCount(), 4) << "44 stocks: the last page is short";
}

TEST_F(RankingPagingTest, AShortPageOfNineteenRowsShowsTheLastPageMessageAndSendsNothing) {
    ServeRankingOf(39);
    Start();
    OpenNode(kNodeAllRising);
    ASSERT_TRUE(Next());
    ASSERT_EQ(RowCount(), 19);
    const size_t before = Rankings().size();
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(Next());
    EXPECT_TRUE(MessageShown(u"已是最后一页，向后无更多数据显示！"));
    EXPECT_EQ(driver.Shown().back().caption, u"提示");
    EXPECT_EQ(Rankings().size(), before);
    EXPECT_EQ(PageIndex(), 1);
}

TEST_F(RankingPagingTest, PreviousOnTheFirstPageShowsTheFirstPageMessageAndSendsNothing) {
    Start();
    OpenNode(kNodeAllRising);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(Previous());
    EXPECT_TRUE(MessageShown(u"已是第一页，向前无更多数据显示！"));
    EXPECT_EQ(Rankings().size(), 1u);
}

TEST_F(RankingPagingTest, AnEmptyPageAfterAFullOneIsReportedAndPreviousGoesBack) {
    ServeRankingOf(40);
    Start();
    OpenNode(kNodeAllRising);
    ASSERT_TRUE(Next());
    ASSERT_EQ(RowCount(), 20);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(Next());
    EXPECT_TRUE(MessageShown(u"当前页无数据显示，请返回上一页！"));
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(PageIndex(), 2);
    ASSERT_TRUE(Previous());
    EXPECT_EQ(Rankings().back().Get("offset"), "20");
    EXPECT_EQ(RowCount(), 20);
}

TEST_F(RankingPagingTest, AFailedNextPageKeepsThePageShownSoTheFollowingPressSkipsNone) {
    Start();
    OpenNode(kNodeAllRising);
    SimFault error(SimFaultKind::ErrorSet);
    error.errorText = u"排名服务暂停";
    sim.InjectFaultFor(31000, 3, error);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(Next());
    EXPECT_EQ(PageIndex(), 0) << "after an error reply";

    // The request and its one resend both lose the connection.
    sim.InjectFaultFor(31000, 3, SimFault(SimFaultKind::CloseAfterRequest), 2);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(Next());
    EXPECT_EQ(PageIndex(), 0) << "after a network failure";

    OnTable([this](COrbStockTableWnd& t) { t.SetRequestSender(&worker); });
    ASSERT_TRUE(Next());
    EXPECT_EQ(PageIndex(), 0) << "after a refused send";

    worker.refuse = false;
    ASSERT_TRUE(Next());
    OnTable([this](COrbStockTableWnd& t) {
        CNetReply abandoned;
        abandoned.abandoned = 1;
        abandoned.tag = worker.tag;
        t.SendMessage(NET_MSG_REPLY_READY, 0, reinterpret_cast<LPARAM>(&abandoned));
    });
    EXPECT_EQ(PageIndex(), 0) << "after an abandoned request";

    OnTable([](COrbStockTableWnd& t) { t.SetRequestSender(nullptr); });
    ASSERT_TRUE(Next());
    EXPECT_EQ(Rankings().back().Get("offset"), "20");
    EXPECT_EQ(Column(CQuoteRowData::kName).size(), 20u);
}

TEST_F(RankingPagingTest, ARefreshKeepsTheSelectedRowOnlyWhileThePageStillHasIt) {
    ServeRankingOf(25);
    Start();
    OpenNode(kNodeAllRising);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 3));
    driver.RunOnGui([] { g_ranking.table->Refresh(); });
    driver.WaitForRest();
    EXPECT_EQ(OnTable([](COrbStockTableWnd& t) { return t.GetSelectedRow(); }), 3);

    // The next page holds 5 rows; selecting row 4 and shrinking the
    // ranking to 22 stocks leaves 2 rows at the refresh.
    ASSERT_TRUE(Next());
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 4));
    ServeRankingOf(22);
    driver.RunOnGui([] { g_ranking.table->Refresh(); });
    driver.WaitForRest();
    EXPECT_EQ(RowCount(), 2);
    EXPECT_EQ(OnTable([](COrbStockTableWnd& t) { return t.GetSelectedRow(); }), -1);
}

TEST_F(RankingPagingTest, TheBackButtonClosesTheTableWithCodeOne) {
    Start();
    OpenNode(kNodeAllRising);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 5));
    EXPECT_EQ(g_ranking.hostChildCodes, std::vector<int>{1});
    EXPECT_EQ(driver.RunOnGui([] { return g_ranking.table; }), nullptr);
}

} // namespace
