// The ranking table's choice of ranking, without a window on screen:
// the option groups come from a stored configuration as the simulated
// server hands it out.
#include "core/CDataSetWriter.h"
#include "framework/app/CAppData.h"
#include "quotes/tables/COrbStockTableWnd.h"
#include "quotes/tables/CStockBoardTableWnd.h"
#include "support/CTempDir.h"
#include "tools/simulator/CSimMenuTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class RankingRequestTest : public ::testing::Test {
protected:
    CTempDir dir{"orb_rank"};

    void SetUp() override {
        CAppData* app = CAppData::Create(dir.Path().string());
        ASSERT_NE(app, nullptr);
        CDataSetWriter config;
        CSimMenuTree::WriteConfig(config);
        const std::vector<uint8_t> body = config.Serialize();
        ASSERT_TRUE(app->WriteDatFile("config", body.data(), body.size()));
    }
    void TearDown() override { CAppData::Destroy(); }
};

TEST_F(RankingRequestTest, ANewTableShowsTheFirstEntryOfEachGroupDescendingFromPageZero) {
    COrbStockTableWnd w;
    EXPECT_EQ(w.GetMarketCode(), "12");
    EXPECT_EQ(w.GetCategoryCode(), "A");
    EXPECT_EQ(w.GetFieldCode(), "zf");
    EXPECT_EQ(w.GetDirection(), 1);
    EXPECT_EQ(w.GetPageSize(), 20);
    EXPECT_EQ(w.MakeCaption(), u"沪深A股涨幅");
    EXPECT_TRUE(w.IsFirstShow()) << "the first showing titles the window";
    EXPECT_TRUE(w.GetRefreshOnShow());
    EXPECT_TRUE(w.GetAutoRefresh()) << "Quote_IsRefresh defaults to 1";
}

TEST_F(RankingRequestTest, TheMenuParametersChooseTheRankingAndItsTitle) {
    COrbStockTableWnd w;
    w.SetMenuParams(2, "market=2&type=B&sort=df&direct=0", "tc_mfuncno=31000&tc_sfuncno=3");
    EXPECT_EQ(w.GetMarketCode(), "2");
    EXPECT_EQ(w.GetCategoryCode(), "B");
    EXPECT_EQ(w.GetFieldCode(), "df");
    EXPECT_EQ(w.GetDirection(), 0);
    EXPECT_EQ(w.MakeCaption(), u"上海B股跌幅");
}

TEST_F(RankingRequestTest, ACodeThatMayNotTravelIsTakenFromNeitherAMenuNodeNorASortChoice) {
    COrbStockTableWnd w;
    w.SetFirstShow(false);
    w.ParseParams("market=1%26x&type=A=B&sort=z%f");
    CSortChoice choice;
    choice.market = "2&x=1";
    w.ApplySortChoice(choice);
    EXPECT_EQ(w.GetMarketCode(), "12");
    EXPECT_EQ(w.GetCategoryCode(), "A");
    EXPECT_EQ(w.GetFieldCode(), "zf");
    EXPECT_FALSE(w.IsFirstShow());
    CAString out;
    EXPECT_EQ(w.BuildRequest(out), 1);
}

TEST_F(RankingRequestTest, ACodeDifferingOnlyInCaseChangesNothing) {
    COrbStockTableWnd w;
    w.SetFirstShow(false);
    w.ParseParams("type=a&direct=1");
    EXPECT_EQ(w.GetCategoryCode(), "A");
    EXPECT_FALSE(w.IsFirstShow());
    w.ParseParams("sort=CJL");
    EXPECT_EQ(w.GetFieldCode(), "CJL");
    EXPECT_EQ(w.MakeCaption(), u"沪深A股成交量") << "the label is found ignoring case";
    EXPECT_TRUE(w.IsFirstShow());
}

TEST_F(RankingRequestTest, ACodeMissingFromItsGroupGetsAnEmptyLabel) {
    COrbStockTableWnd w;
    w.ParseParams("market=9");
    EXPECT_EQ(w.GetMarketCode(), "9");
    EXPECT_EQ(w.MakeCaption(), u"A股涨幅");
}

TEST_F(RankingRequestTest, ASortChoiceKeepsTheCodesItLeavesEmptyOrTooLongButAlwaysTakesItsDirection) {
    COrbStockTableWnd w;
    w.SetFirstShow(false);
    CSortChoice same;
    same.direction = 1;
    w.ApplySortChoice(same);
    EXPECT_FALSE(w.IsFirstShow()) << "nothing changed";

    CSortChoice choice;
    choice.market = "1";
    choice.category = "";
    choice.field = "0123456789"; // ten characters: never a code
    choice.direction = -1;
    w.ApplySortChoice(choice);
    EXPECT_EQ(w.GetMarketCode(), "1");
    EXPECT_EQ(w.GetCategoryCode(), "A");
    EXPECT_EQ(w.GetFieldCode(), "zf");
    EXPECT_EQ(w.GetDirection(), -1);
    EXPECT_TRUE(w.IsFirstShow());
    EXPECT_EQ(w.MakeCaption(), u"深圳A股涨幅");
}

TEST_F(RankingRequestTest, TheBoardTableSendsNothingWithoutAPresetAndStartsDescending) {
    CStockBoardTableWnd w;
    CAString out;
    EXPECT_EQ(w.BuildRequest(out), 0);
    EXPECT_EQ(w.GetDirection(), 0);
}

} // namespace
