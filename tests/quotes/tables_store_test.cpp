// The watch-list store: key normalising, the text form, and a write that
// fails. The add rule's outcomes are the editor's add table.
#include "framework/app/CAppData.h"
#include "quotes/tables/MyQuotesStore.h"
#include "support/CTempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace {

TEST(StockKey, AOneDigitMarketIsWidenedAndAnythingElseIsLeftAlone) {
    EXPECT_EQ(NormalizeStockCode("600000.1"), "600000.01");
    EXPECT_EQ(NormalizeStockCode("000001.2"), "000001.02");
    EXPECT_EQ(NormalizeStockCode("000001.02"), "000001.02");
    EXPECT_EQ(NormalizeStockCode("000001"), "000001");
    EXPECT_EQ(NormalizeStockCode("000001."), "000001.");
    EXPECT_EQ(NormalizeStockCode("000001.123"), "000001.123");
    EXPECT_EQ(NormalizeStockCode(""), "");
}

TEST(StockKey, OnlyACodeWithAMarketOfAtMostElevenCharactersIsStoreable) {
    EXPECT_TRUE(IsStoreableStockKey("600000.01"));
    EXPECT_TRUE(IsStoreableStockKey("12345678.01"));
    EXPECT_FALSE(IsStoreableStockKey("123456789.01")) << "twelve characters";
    EXPECT_FALSE(IsStoreableStockKey("600000"));
    EXPECT_FALSE(IsStoreableStockKey("600000."));
    EXPECT_FALSE(IsStoreableStockKey(".01"));
    EXPECT_FALSE(IsStoreableStockKey("6,0.01")) << "a comma would split the stored item";
}

TEST(StoreText, ItemsAreSplitAtCommasUpToTheNulAndEmptyItemsAreSkipped) {
    EXPECT_EQ(ParseMyQuotes("000001.02,399001.01"), (std::vector<std::string>{"000001.02", "399001.01"}));
    EXPECT_EQ(ParseMyQuotes(std::string_view("a,,b,\0c", 7)), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(ParseMyQuotes("").empty());
    EXPECT_EQ(JoinMyQuotes({"a", "b", "c"}), "a,b,c");
    EXPECT_EQ(JoinMyQuotes({"a", "b"}, '|'), "a|b");
    EXPECT_EQ(JoinMyQuotes({}), "");
}

TEST(StoreText, KeysCompareIgnoringCaseAfterWidening) {
    EXPECT_TRUE(SameStockKey("000001.2", "000001.02"));
    EXPECT_TRUE(SameStockKey("hk0001.03", "HK0001.03"));
    EXPECT_FALSE(SameStockKey("000001.02", "000001.01"));
    EXPECT_FALSE(SameStockKey("000001", "000001.02"));
}

class StoreTest : public ::testing::Test {
protected:
    CTempDir temp{"orb_store"};
    const std::filesystem::path dir = temp.Path();
    CAppData* app = nullptr;

    void SetUp() override {
        app = CAppData::Create(dir.string());
        ASSERT_NE(app, nullptr);
    }
    void TearDown() override { CAppData::Destroy(); }
    std::optional<std::string> FileBytes() const { return temp.ReadText("MyQuotes.dat"); }
    void WriteFile(const std::string& bytes) const { temp.WriteBytes("MyQuotes.dat", bytes); }
};

TEST_F(StoreTest, AFailedWriteIsReportedAndTheOldStoreStays) {
    const std::string before("000001.02\0", 10);
    WriteFile(before);
    // The data directory refuses new files, so the atomic write cannot
    // make its temporary file. (Root ignores permissions; the directory
    // stand-in below covers that case.)
    std::filesystem::permissions(dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const bool writable = std::ofstream(dir / "probe").good();
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
    if (!writable) {
        std::filesystem::permissions(dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_EQ(AddStockToStore(*app, "600010.02").outcome, AddStockOutcome::WriteFailed);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        EXPECT_EQ(FileBytes(), before);
    }
    std::filesystem::remove(dir / "probe");

    // A directory where the file should be can be neither read nor replaced.
    std::filesystem::remove(dir / "MyQuotes.dat");
    std::filesystem::create_directory(dir / "MyQuotes.dat");
    const AddStockResult r = AddStockToStore(*app, "600010.02");
    EXPECT_EQ(r.outcome, AddStockOutcome::WriteFailed);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "MyQuotes.dat"));
}

} // namespace
