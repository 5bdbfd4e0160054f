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

TEST_F(RankingRequestTest, TheParametersChooseTheRankingAndItsTitleWhichTheConfigurationLabels) {
    struct Case {
        const char *params, *market, *category, *field; // params nullptr: a new table as it stands
        int direction;
        std::u16string caption;
    };
    const Case cases[] = {
        {nullptr, "12", "A", "zf", 1, u"沪深A股涨幅"}, // each group's first entry
        {"market=2&type=B&sort=df&direct=0", "2", "B", "df", 0, u"上海B股跌幅"},
        {"sort=CJL", "12", "A", "CJL", 1, u"沪深A股成交量"}, // the label found ignoring case
        {"market=9", "9", "A", "zf", 1, u"A股涨幅"},          // missing from its group: no label
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params ? c.params : "new");
        COrbStockTableWnd w;
        if (c.params)
            w.SetMenuParams(2, c.params, "tc_mfuncno=31000&tc_sfuncno=3");
        EXPECT_EQ(w.GetMarketCode(), c.market);
        EXPECT_EQ(w.GetCategoryCode(), c.category);
        EXPECT_EQ(w.GetFieldCode(), c.field);
        EXPECT_EQ(w.GetDirection(), c.direction);
        EXPECT_EQ(w.MakeCaption(), c.caption);
    }
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

TEST_F(RankingRequestTest, ACodeDifferingOnlyInCaseChangesNothingAndAnotherRetitles) {
    COrbStockTableWnd w;
    w.SetFirstShow(false);
    w.ParseParams("type=a&direct=1");
    EXPECT_EQ(w.GetCategoryCode(), "A");
    EXPECT_FALSE(w.IsFirstShow());
    w.ParseParams("sort=CJL");
    EXPECT_TRUE(w.IsFirstShow());
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
