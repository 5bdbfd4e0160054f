// What a window fills under its opaque children: the area less the holes,
// as disjoint pieces that cover exactly the uncovered pixels.
#include "platform/Geometry.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {
// Every pixel of area not in any hole, and a check that no two pieces overlap.
std::set<std::pair<int, int>> Uncovered(const CRect& area, const std::vector<CRect>& holes) {
    std::set<std::pair<int, int>> out;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            bool hidden = false;
            for (const CRect& h : holes)
                hidden = hidden || h.Contains({x, y});
            if (!hidden)
                out.insert({x, y});
        }
    return out;
}
} // namespace

TEST(SubtractRects, ThePiecesCoverExactlyWhatNoHoleCoversAndNeverOverlap) {
    const CRect area{0, 0, 20, 30};
    const std::vector<std::vector<CRect>> cases = {
        {},                                               // nothing covered
        {{0, 0, 20, 30}},                                 // all covered: nothing to fill
        {{-5, -5, 40, 40}},                               // a hole larger than the area
        {{0, 0, 20, 4}, {0, 4, 20, 26}, {0, 26, 20, 30}}, // caption, body and bar tile it
        {{5, 5, 10, 10}},                                 // a hole inside
        {{5, 5, 10, 10}, {8, 8, 15, 25}, {0, 28, 3, 40}}, // overlapping and sticking out
        {{20, 0, 30, 30}},                                // beside, not over
    };
    for (const auto& holes : cases) {
        std::set<std::pair<int, int>> filled;
        for (const CRect& piece : SubtractRects(area, holes)) {
            EXPECT_FALSE(piece.IsEmpty());
            for (int y = piece.top; y < piece.bottom; ++y)
                for (int x = piece.left; x < piece.right; ++x)
                    EXPECT_TRUE(filled.insert({x, y}).second) << "pieces overlap at " << x << "," << y;
        }
        EXPECT_EQ(filled, Uncovered(area, holes));
    }
    EXPECT_TRUE(SubtractRects({}, {}).empty());
}
