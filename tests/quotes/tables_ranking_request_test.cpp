// The ranking table's choice of ranking, without a window on screen:
// the option groups come from a stored configuration as the simulated
// server hands it out.
#include "core/CDataSetWriter.h"
#include "framework/app/CAppData.h"
#include "quotes/tables/COrbStockTableWnd.h"
#include "quotes/tables/CStockBoardTableWnd.h"
#include "quotes/tables/QuoteTableOptions.h"
#include "support/CTempDir.h"
#include "tools/simulator/CSimMenuTree.h"

#include <gtest/gtest.h>

#include <cstdio>
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

// The groups come from the configuration the application keeps, which a
// rewrite of "config" replaces at once; a file changed behind its back is
// not read again by each table that opens.
TEST_F(RankingRequestTest, TheOptionGroupsFollowTheConfigurationAsTheApplicationStoresIt) {
    const auto writeMarkets = [](const char16_t* markets) {
        CDataSetWriter writer;
        writer.AddSet("config");
        writer.AddColumn(DataSetType::AnsiText, "name");
        writer.AddColumn(DataSetType::WideText, "value");
        writer.AddRow();
        writer.SetAnsiText(0, "market");
        writer.SetText(1, markets);
        return writer.Serialize();
    };
    const std::vector<uint8_t> rewritten = writeMarkets(u"沪市^1#");
    ASSERT_TRUE(CAppData::Instance()->WriteDatFile("config", rewritten.data(), rewritten.size()));
    CNameValueList markets = LoadQuoteOptionGroup("market");
    ASSERT_EQ(markets.GetCount(), 1);
    EXPECT_EQ(std::u16string(markets.GetName(0)), u"沪市");
    EXPECT_EQ(LoadQuoteOptionGroups({"market", "sort"})[1].GetCount(), 0); // a group the configuration lacks

    const std::vector<uint8_t> behind = writeMarkets(u"深市^2#");
    const std::filesystem::path file = dir.Path() / "config.dat";
    std::FILE* out = std::fopen(file.string().c_str(), "wb");
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(std::fwrite(behind.data(), 1, behind.size(), out), behind.size());
    std::fclose(out);
    markets = LoadQuoteOptionGroup("market");
    ASSERT_EQ(markets.GetCount(), 1);
    EXPECT_EQ(std::u16string(markets.GetName(0)), u"沪市");
}

} // namespace
