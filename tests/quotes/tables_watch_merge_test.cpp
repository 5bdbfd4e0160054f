// The watch list's reply matching, store rewrite and block moves, without a
// window: the cases the table on screen does not reach.
#include "quotes/tables/WatchListMerge.h"

#include <gtest/gtest.h>

namespace {

const std::vector<WatchReplyKey> kRows = {{"600010", 2}, {"000016", 1}, {"000016", 2}, {"399001", 1}};

TEST(WatchListMatch, AKeyMatchesItsFirstRowWithATwoOrOneDigitMarketAndABareCodeEveryRowItStarts) {
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"600010.02", {0}}, {"600010.2", {0}}, {"000016.02", {2}}, {"600010.01", {}},
        {"", {}},           {"000016", {1, 2}}, {"6000", {0}}};
    for (const auto& [key, rows] : cases)
        EXPECT_EQ(MatchWatchItem(key, kRows), rows) << key;
}

TEST(WatchListMerge, ARewriteWidensWithoutDuplicatingAndLeavesEmptyItemsOut) {
    const std::pair<const char*, const char*> cases[] = {
        {"000016,000016.02", "000016.01,000016.02"},
        {"600010.02,,999999.01,", "600010.02"},
        {"600010.02,399001.01", nullptr}, // everything found: no rewrite
    };
    for (const auto& [stored, rewritten] : cases) {
        const WatchListMerge m = MergeWatchListReply(stored, kRows, stored);
        ASSERT_EQ(m.newStore.has_value(), rewritten != nullptr) << stored;
        if (rewritten) {
            EXPECT_EQ(*m.newStore, rewritten);
        }
    }
    EXPECT_FALSE(MergeWatchListReply("600010.02,399001.01", {}, "600010.02,399001.01").newStore) << "nothing found";
}

TEST(WatchListMoves, ACheckedBlockMovesByOnePlaceAndNothingMovesAtTheEdgesOrWithoutACheck) {
    int movedTo = -1;
    EXPECT_EQ(MoveCheckedItems({false, false, true, true, false}, true, &movedTo), (std::vector<int>{0, 2, 3, 1, 4}));
    EXPECT_EQ(movedTo, 1);
    EXPECT_EQ(MoveCheckedItems({true, false, true, false}, false, &movedTo), (std::vector<int>{1, 0, 3, 2}));
    EXPECT_EQ(movedTo, 3);
    EXPECT_FALSE(MoveCheckedItems({true, false, true}, true, nullptr));
    EXPECT_FALSE(MoveCheckedItems({false, true, true}, false, nullptr));
    EXPECT_FALSE(MoveCheckedItems({false, false}, true, nullptr));
    EXPECT_FALSE(MoveCheckedItems({}, false, nullptr));
}

} // namespace
