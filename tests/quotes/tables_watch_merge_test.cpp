// The watch list's reply matching, store rewrite and block moves, without a
// window.
#include "quotes/tables/WatchListMerge.h"

#include <gtest/gtest.h>

namespace {

const std::vector<WatchReplyKey> kRows = {
    {"600010", 2}, // 0
    {"000016", 1}, // 1
    {"000016", 2}, // 2
    {"399001", 1}, // 3
};

TEST(WatchListMatch, AKeyMatchesItsFirstRowWithATwoOrOneDigitMarketIgnoringCase) {
    EXPECT_EQ(MatchWatchItem("600010.02", kRows), std::vector<int>{0});
    EXPECT_EQ(MatchWatchItem("600010.2", kRows), std::vector<int>{0});
    EXPECT_EQ(MatchWatchItem("000016.02", kRows), std::vector<int>{2});
    EXPECT_TRUE(MatchWatchItem("600010.01", kRows).empty());
    EXPECT_TRUE(MatchWatchItem("", kRows).empty());
}

TEST(WatchListMatch, ABareCodeMatchesEveryRowWhoseKeyStartsWithIt) {
    EXPECT_EQ(MatchWatchItem("000016", kRows), (std::vector<int>{1, 2}));
    EXPECT_EQ(MatchWatchItem("6000", kRows), std::vector<int>{0});
}

TEST(WatchListMerge, ItemsWithoutARowAreDroppedAndTheOrderIsKept) {
    const WatchListMerge m = MergeWatchListReply("399001.01,123456.01,600010.02", kRows, "399001.01,123456.01,600010.02");
    EXPECT_EQ(m.rows, (std::vector<int>{3, 0}));
    ASSERT_TRUE(m.newStore);
    EXPECT_EQ(*m.newStore, "399001.01,600010.02");
}

TEST(WatchListMerge, AReplyThatFoundNothingRewritesNothing) {
    EXPECT_FALSE(MergeWatchListReply("600010.02,399001.01", {}, "600010.02,399001.01").newStore);
    const WatchListMerge none = MergeWatchListReply("123456.01,654321.02", kRows, "123456.01,654321.02");
    EXPECT_TRUE(none.rows.empty());
    EXPECT_FALSE(none.newStore);
}

TEST(WatchListMerge, AReplyThatFoundEverythingRewritesNothing) {
    EXPECT_FALSE(MergeWatchListReply("600010.02,399001.01", kRows, "600010.02,399001.01").newStore);
}

TEST(WatchListMerge, ABareCodeIsWidenedInPlaceWithoutDuplicatingAStoredKey) {
    const WatchListMerge m = MergeWatchListReply("600010.02,000016,399001.01", kRows, "600010.02,000016,399001.01");
    EXPECT_EQ(m.rows, (std::vector<int>{0, 1, 2, 3}));
    ASSERT_TRUE(m.newStore);
    EXPECT_EQ(*m.newStore, "600010.02,000016.01,000016.02,399001.01");

    const WatchListMerge dup = MergeWatchListReply("000016,000016.02", kRows, "000016,000016.02");
    ASSERT_TRUE(dup.newStore);
    EXPECT_EQ(*dup.newStore, "000016.01,000016.02");
}

TEST(WatchListMerge, AnEditMadeWhileTheReplyWasOutSurvivesTheRewrite) {
    // Sent: three items, one unknown. Meanwhile the user moved 399001 first,
    // deleted 600010 and added 000016.02.
    const WatchListMerge m =
        MergeWatchListReply("600010.02,123456.01,399001.01", kRows, "399001.01,123456.01,000016.02");
    ASSERT_TRUE(m.newStore);
    EXPECT_EQ(*m.newStore, "399001.01,000016.02");
}

TEST(WatchListMerge, EmptyItemsOfTheStoredTextAreLeftOutOfARewrite) {
    const WatchListMerge m = MergeWatchListReply("600010.02,,999999.01,", kRows, "600010.02,,999999.01,");
    ASSERT_TRUE(m.newStore);
    EXPECT_EQ(*m.newStore, "600010.02");
}

TEST(WatchListMoves, ACheckedBlockMovesUpAndDownByOnePlace) {
    int movedTo = -1;
    auto up = MoveCheckedItems({false, false, true, true, false}, true, &movedTo);
    ASSERT_TRUE(up);
    EXPECT_EQ(*up, (std::vector<int>{0, 2, 3, 1, 4}));
    EXPECT_EQ(movedTo, 1);

    auto down = MoveCheckedItems({true, false, true, false}, false, &movedTo);
    ASSERT_TRUE(down);
    EXPECT_EQ(*down, (std::vector<int>{1, 0, 3, 2}));
    EXPECT_EQ(movedTo, 3);
}

TEST(WatchListMoves, NothingMovesAtTheEdgesOrWithoutACheck) {
    EXPECT_FALSE(MoveCheckedItems({true, false, true}, true, nullptr));
    EXPECT_FALSE(MoveCheckedItems({false, true, true}, false, nullptr));
    EXPECT_FALSE(MoveCheckedItems({false, false}, true, nullptr));
    EXPECT_FALSE(MoveCheckedItems({}, false, nullptr));
}

} // namespace
