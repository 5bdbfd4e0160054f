// The reference-screen comparison: what it forgives (drawn edges), what it
// catches (a replaced row, a changed flat colour), and the pictures a
// mismatch leaves for a person.
#include "tools/orbstock/ScreenCompare.h"

#include "support/CTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {
CScreenPixels Plain(int width, int height, std::uint32_t colour) {
    return {width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height, colour)};
}

// Black and white squares: no pixel is flat and none lies between its
// neighbours, so every changed one is a stray.
CScreenPixels Checkers(int width, int height) {
    CScreenPixels image = Plain(width, height, 0xFF000000);
    for (int y = 0; y < height; ++y)
        for (int x = (y % 2); x < width; x += 2)
            image.pixels[static_cast<size_t>(y * width + x)] = 0xFFFFFFFF;
    return image;
}

int Channel(std::uint32_t pixel, int c) { return static_cast<int>((pixel >> (8 * c)) & 0xFF); }
int Luma(std::uint32_t pixel) { return 299 * Channel(pixel, 0) + 587 * Channel(pixel, 1) + 114 * Channel(pixel, 2); }

// The screen with its glyph edges drawn lighter (step > 0) or darker: every
// pixel strictly between its neighbours (a darker and a lighter one, each
// channel inside their range) moves each channel that share of the way
// towards its neighbours' lightest or darkest value, as a font build with
// another gamma blends edges. A pixel of the same colour as a neighbour is
// part of a line drawn in one colour (a chart's strokes), which no font
// build redraws, and stays.
CScreenPixels WithEdgesMoved(const CScreenPixels& screen, double step) {
    CScreenPixels out = screen;
    const auto at = [&](int x, int y) { return screen.pixels[static_cast<size_t>(y * screen.width + x)]; };
    for (int y = 1; y + 1 < screen.height; ++y) {
        for (int x = 1; x + 1 < screen.width; ++x) {
            const std::uint32_t centre = at(x, y);
            bool darker = false, lighter = false, stroke = false;
            int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (dx == 0 && dy == 0)
                        continue;
                    const std::uint32_t n = at(x + dx, y + dy);
                    stroke = stroke || n == centre;
                    darker = darker || Luma(n) < Luma(centre);
                    lighter = lighter || Luma(n) > Luma(centre);
                    for (int c = 0; c < 3; ++c) {
                        low[c] = std::min(low[c], Channel(n, c));
                        high[c] = std::max(high[c], Channel(n, c));
                    }
                }
            bool between = darker && lighter && !stroke;
            for (int c = 0; c < 3; ++c)
                between = between && Channel(centre, c) >= low[c] && Channel(centre, c) <= high[c];
            if (!between)
                continue;
            std::uint32_t drawn = 0xFF000000u;
            for (int c = 0; c < 3; ++c) {
                const int value = Channel(centre, c);
                const double towards = step > 0 ? high[c] - value : value - low[c];
                drawn |= static_cast<std::uint32_t>(value + std::lround(step * towards)) << (8 * c);
            }
            out.pixels[static_cast<size_t>(y * screen.width + x)] = drawn;
        }
    }
    return out;
}

CScreenPixels Reference(const std::string& name) {
    CScreenPixels screen;
    EXPECT_TRUE(LoadScreen(std::string(ORB_SOURCE_DIR) + "/tests/screens/" + name + ".png", &screen)) << name;
    return screen;
}

// Copies the rows of pixels [from, from + count) over those from `to` on.
CScreenPixels CopyLines(CScreenPixels screen, int from, int to, int count) {
    std::copy_n(screen.pixels.begin() + from * screen.width, count * screen.width,
                screen.pixels.begin() + to * screen.width);
    return screen;
}

CScreenPixels FillLines(CScreenPixels screen, int from, int count, std::uint32_t colour) {
    std::fill_n(screen.pixels.begin() + from * screen.width, count * screen.width, colour);
    return screen;
}
} // namespace

TEST(ScreenCompare, ATwoStepDriftPassesButAFlatColourStrayPixelsOrASizeDoNot) {
    struct Case {
        const char* what;
        CScreenPixels reference;
        int changed;          // leading pixels changed
        std::uint32_t colour; // what they become
        bool matches;
    };
    const Case cases[] = {
        {"every pixel off by 2 of 255", Plain(100, 100, 0xFF202020), 10000, 0xFF222222, true},
        {"a flat colour off by 3", Plain(100, 100, 0xFF202020), 10000, 0xFF232323, false},
        {"one pixel of a flat area", Plain(100, 100, 0xFF202020), 1, 0xFFFFFFFF, false},
        {"16 stray pixels", Checkers(100, 100), 16, 0xFF808080, true},
        {"17 stray pixels", Checkers(100, 100), 17, 0xFF808080, false},
    };
    for (const Case& c : cases) {
        CScreenPixels shot = c.reference;
        for (int i = 0; i < c.changed; ++i)
            shot.pixels[static_cast<size_t>(i)] = c.colour;
        EXPECT_EQ(CompareScreens(shot, c.reference, kTourTolerance).matches, c.matches) << c.what;
    }
    const CScreenPixels reference = Plain(100, 100, 0xFF202020);
    EXPECT_FALSE(CompareScreens(Plain(100, 99, 0xFF202020), reference, kTourTolerance).matches);
    CScreenPixels shortOfPixels = reference;
    shortOfPixels.pixels.pop_back();
    EXPECT_FALSE(CompareScreens(shortOfPixels, reference, kTourTolerance).matches);
}

TEST(ScreenCompare, AReplacedRankingRowOrAShiftedTopBarFails) {
    const CScreenPixels ranking = Reference("ranking_table");
    ASSERT_EQ(ranking.width, 480);
    ASSERT_EQ(ranking.height, 720);
    struct Case {
        const char* what;
        CScreenPixels shot;
        bool matches;
    };
    // The ranking rows are 60 pixels apart from y = 128, a grey line above each.
    const Case cases[] = {
        {"as drawn", ranking, true},
        {"the second row over the third", CopyLines(ranking, 188, 248, 59), false},
        {"the black top bar turned #282828", FillLines(ranking, 0, 36, 0xFF282828), false},
    };
    for (const Case& c : cases) {
        const CScreenDiff diff = CompareScreens(c.shot, ranking, kTourTolerance);
        EXPECT_EQ(diff.matches, c.matches) << c.what << ": " << diff.differing << " counted ("
                                           << diff.flatChanged << " flat), " << diff.antiAliased << " edges";
    }
    const CScreenDiff row = CompareScreens(cases[1].shot, ranking, kTourTolerance);
    EXPECT_GT(row.differing - row.flatChanged, 100) << "the new row's glyphs are not edges of the old one's";
}

TEST(ScreenCompare, EveryReferenceScreenPassesWithItsGlyphEdgesDrawnLighterOrDarker) {
    int screens = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(ORB_SOURCE_DIR) + "/tests/screens")) {
        const std::string name = entry.path().stem().string();
        if (entry.path().extension() != ".png" || name.ends_with("_err") || name.ends_with("_diff"))
            continue;
        ++screens;
        const CScreenPixels reference = Reference(name);
        for (double step : {0.25, -0.25}) {
            const CScreenPixels shot = WithEdgesMoved(reference, step);
            const CScreenDiff diff = CompareScreens(shot, reference, kTourTolerance);
            EXPECT_TRUE(diff.matches) << name << " step " << step << ": " << diff.differing << " counted ("
                                      << diff.flatChanged << " flat), " << diff.antiAliased << " edges";
            EXPECT_GT(diff.antiAliased, 100) << name << ": the edges were not redrawn";
        }
    }
    EXPECT_GT(screens, 0);
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
