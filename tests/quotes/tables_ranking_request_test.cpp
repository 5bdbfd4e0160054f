// The ranking table's choice and request text, without a window on screen:
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
    static std::string Request(COrbStockTableWnd& w) {
        CAString out;
        EXPECT_EQ(w.BuildRequest(out), 1);
        return out.str();
    }
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

TEST_F(RankingRequestTest, TheRequestCarriesTheTypeGroupAsClassAndTheSortGroupAsType) {
    COrbStockTableWnd w;
    w.SetMenuParams(2, "market=2&type=B&sort=df&direct=0", "tc_mfuncno=31000&tc_sfuncno=3");
    EXPECT_EQ(Request(w),
              "tc_mfuncno=31000&tc_sfuncno=3&market=2&class=B&type=df&direct=0&offset=0&count=20"
              "&field=4|3|16|20|21|13|11|1");
    EXPECT_EQ(w.MakeCaption(), u"上海B股跌幅");
}

TEST_F(RankingRequestTest, ALongPresetRequestIsNeverCut) {
    COrbStockTableWnd w;
    const std::string preset = "tc_mfuncno=31000&tc_sfuncno=3&pad=" + std::string(3000, 'x');
    w.SetMenuParams(2, "", preset.c_str());
    const std::string text = Request(w);
    EXPECT_EQ(text.substr(0, preset.size()), preset);
    const std::string tail = "&field=4|3|16|20|21|13|11|1";
    ASSERT_GT(text.size(), preset.size() + tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
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

TEST_F(RankingRequestTest, TheBoardTableAddsTheFieldListToItsPresetAndSendsNothingWithoutOne) {
    CStockBoardTableWnd w;
    CAString out;
    EXPECT_EQ(w.BuildRequest(out), 0);
    w.SetMenuParams(54, "", "tc_mfuncno=100&tc_sfuncno=31&sector=gn&sectorcode=GN02");
    EXPECT_EQ(w.BuildRequest(out), 1);
    EXPECT_EQ(out.str(), "tc_mfuncno=100&tc_sfuncno=31&sector=gn&sectorcode=GN02&field=4|3|16|20|21|13|11|1");
    EXPECT_EQ(w.GetDirection(), 0) << "the board starts descending";
}

} // namespace
