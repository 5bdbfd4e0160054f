// The reference-screen comparison: what it tolerates, what it catches, and
// the pictures a mismatch leaves for a person.
#include "tools/orbstock/ScreenCompare.h"

#include "support/CTempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
CScreenPixels Plain(int width, int height, std::uint32_t colour) {
    return {width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height, colour)};
}
} // namespace

TEST(ScreenCompare, AntiAliasingPassesButAMovedTextAColourOrASizeDoesNot) {
    const CScreenPixels reference = Plain(100, 100, 0xFF202020);
    struct Case {
        const char* what;
        int changed;          // pixels changed
        std::uint32_t colour; // what they become
        bool matches;
    };
    const Case cases[] = {
        {"every pixel off by a little", 10000, 0xFF3A3A3A, true},
        {"a few glyph edges", 40, 0xFFFFFFFF, true},
        {"a line of text", 300, 0xFFFFFFFF, false},
        {"a changed background", 10000, 0xFF2020C0, false},
    };
    for (const Case& c : cases) {
        CScreenPixels shot = reference;
        for (int i = 0; i < c.changed; ++i)
            shot.pixels[static_cast<size_t>(i)] = c.colour;
        EXPECT_EQ(CompareScreens(shot, reference, kTourTolerance).matches, c.matches) << c.what;
    }
    EXPECT_FALSE(CompareScreens(Plain(100, 99, 0xFF202020), reference, kTourTolerance).matches);
}

TEST(ScreenCompare, AMismatchLeavesTheNewScreenAndItsDifferenceBesideTheReferenceUntilItMatches) {
    CTempDir dir;
    const std::string refDir = dir.Path().string();
    const std::string shot = refDir + "/shot.png";
    ASSERT_TRUE(SaveScreen(refDir + "/menu.png", Plain(8, 8, 0xFF000000)));
    ASSERT_TRUE(SaveScreen(shot, Plain(8, 8, 0xFFFFFFFF)));
    CScreenDiff diff;
    EXPECT_EQ(CheckScreen(shot, refDir, "menu", kTourTolerance, &diff), ScreenCheck::Differs);
    EXPECT_EQ(diff.differing, 64);
    EXPECT_TRUE(std::filesystem::exists(refDir + "/menu_err.png"));
    EXPECT_TRUE(std::filesystem::exists(refDir + "/menu_diff.png"));

    ASSERT_TRUE(SaveScreen(shot, Plain(8, 8, 0xFF000000)));
    EXPECT_EQ(CheckScreen(shot, refDir, "menu", kTourTolerance, nullptr), ScreenCheck::Matches);
    EXPECT_FALSE(std::filesystem::exists(refDir + "/menu_err.png")) << "a stale mismatch is cleared";
    EXPECT_EQ(CheckScreen(shot, refDir, "other", kTourTolerance, nullptr), ScreenCheck::NoReference);
}
