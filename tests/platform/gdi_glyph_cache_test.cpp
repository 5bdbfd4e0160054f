// Glyphs as drawn over a plain ground come from a cache; they must be the
// very pixels blending draws. Also what a later pass of a partial repaint
// leaves out: texts it neither draws nor logs, and texts copied to a
// surface that logs none.
#include "platform/gdi/CBlendMemo.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFontEngine.h"
#include "platform/gdi/CGlyphBlendCache.h"

#include <gtest/gtest.h>

namespace {
constexpr COLORREF kGround = 0x203040;
constexpr COLORREF kInk = 0x14C8F0;
constexpr int kHeight = 30;

TEST(GlyphBlendCache, KeepsTheMemosBlendsPerGroundAndColour) {
    const auto glyph = CFontEngine::Instance().Glyph(kHeight, 400, U'8');
    if (!glyph || !CGlyphBlendCache::Keeps(*glyph))
        GTEST_SKIP() << "no font";
    CGlyphBlendCache cache;
    CBlendMemo memo;
    const COLORREF* pixels = cache.Pixels(glyph, kGround, kInk, memo);
    ASSERT_NE(pixels, nullptr);
    const size_t count = static_cast<size_t>(glyph->width) * glyph->height;
    for (size_t i = 0; i < count; ++i)
        EXPECT_EQ(pixels[i], glyph->coverage[i] ? CBlendMemo().Mix(kGround, kInk, glyph->coverage[i]) : kGround)
            << "pixel " << i;
    EXPECT_EQ(cache.Pixels(glyph, kGround, kInk, memo), pixels);
    EXPECT_EQ(cache.Count(), 1u);

    const COLORREF* other = cache.Pixels(glyph, kInk, kGround, memo);
    ASSERT_NE(other, nullptr);
    for (size_t i = 0; i < count; ++i) {
        if (glyph->coverage[i] == 255) {
            EXPECT_EQ(other[i], kGround);
        }
    }
}

TEST(GlyphBlendCache, LeavesHugeGlyphsAndStaysWithinItsBudget) {
    const auto huge = CFontEngine::Instance().Glyph(400, 400, U'W');
    if (!huge || huge->width * huge->height == 0)
        GTEST_SKIP() << "no font";
    CGlyphBlendCache cache;
    CBlendMemo memo;
    EXPECT_EQ(cache.Pixels(huge, kGround, kInk, memo), nullptr);
    const auto glyph = CFontEngine::Instance().Glyph(kHeight, 400, U'W');
    for (COLORREF ground = 0; ground < 3000; ++ground)
        ASSERT_NE(cache.Pixels(glyph, ground, kInk, memo), nullptr);
    EXPECT_LE(cache.Bytes(), CGlyphBlendCache::kBudgetBytes);
    EXPECT_GT(cache.Count(), 0u);
}

// A pixel of a glyph row's ink span that the glyph does not cover, in text
// drawn by TextOut at (x, y); false when the glyph has none.
bool UncoveredInkPixel(const CFontEngine::CGlyph& g, int x, int y, CPoint& at) {
    const int gx = x + g.left, gy = y + CFontEngine::Instance().Ascent(kHeight) - g.top;
    for (int row = 0; row < g.height; ++row)
        for (int col = g.ink[row].begin; col < g.ink[row].end; ++col)
            if (g.coverage[static_cast<size_t>(row) * g.width + col] == 0) {
                at = {gx + col, gy + row};
                return true;
            }
    return false;
}

TEST(GlyphBlendCache, TextOverAPlainGroundIsTheTextBlendedPixelByPixel) {
    const auto glyph = CFontEngine::Instance().Glyph(kHeight, 400, U'0');
    CPoint odd;
    if (!glyph || !UncoveredInkPixel(*glyph, 10, 5, odd))
        GTEST_SKIP() << "no font";
    // The same text over the same ground, but for one pixel under the
    // glyph that it leaves uncovered: that row is blended pixel by pixel,
    // the others are copied.
    CSurface plain(80, 50, kGround), marked(80, 50, kGround);
    marked.SetPixel(odd.x, odd.y, kInk);
    for (CSurface* s : {&plain, &marked}) {
        CDC dc(s);
        dc.SelectFont({kHeight, 400});
        dc.SetTextColor(kInk);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(10, 5, u"00");
    }
    int differing = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 80; ++x)
            if (CPoint{x, y} != odd && plain.GetPixel(x, y) != marked.GetPixel(x, y))
                ++differing;
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(marked.GetPixel(odd.x, odd.y), kInk);
    EXPECT_EQ(plain.GetPixel(odd.x, odd.y), kGround);
}

TEST(PartialRepaintText, ALineOutsideTheDamageIsLoggedOnlyWhileLogging) {
    CSurface s(200, 100, kGround);
    s.SetDamage({0, 60, 200, 100});
    {
        CDC dc(&s);
        dc.SelectFont({20, 400});
        EXPECT_EQ(dc.DrawText(u"行情", {0, 0, 200, 30}, DT_SINGLELINE | DT_VCENTER), 20);
    }
    ASSERT_EQ(s.Texts().size(), 1u);
    EXPECT_EQ(s.Texts()[0].text, u"行情");
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(s.GetPixel(x, y), kGround);

    s.SetTextLogging(false);
    {
        CDC dc(&s);
        dc.SelectFont({20, 400});
        EXPECT_EQ(dc.DrawText(u"成交", {0, 0, 200, 30}, DT_SINGLELINE), 20);
    }
    EXPECT_EQ(s.Texts().size(), 1u);
}

TEST(PartialRepaintText, ACopyToASurfaceLoggingNothingCarriesNoTexts) {
    auto source = CDC::CreateMemoryDC(100, 40);
    source->SelectFont({20, 400});
    source->DrawText(u"12.50", {0, 0, 100, 40}, DT_SINGLELINE);
    ASSERT_EQ(source->GetSurface()->Texts().size(), 1u);
    CSurface screen(100, 40, kGround);
    screen.SetTextLogging(false);
    CDC dc(&screen);
    dc.BitBlt(0, 0, 100, 40, *source, 0, 0);
    EXPECT_TRUE(screen.Texts().empty());
    EXPECT_EQ(screen.GetPixel(0, 0), source->GetPixel(0, 0));
    screen.SetTextLogging(true);
    CDC logging(&screen);
    logging.BitBlt(0, 0, 100, 40, *source, 0, 0);
    EXPECT_EQ(screen.Texts().size(), 1u);
}

TEST(PartialRepaintText, TheDrawRectIsTheClipWithinTheDamage) {
    CSurface s(100, 100);
    CDC whole(&s, {10, 10}, {10, 10, 60, 60});
    EXPECT_EQ(whole.GetDrawRect(), whole.GetClipRect());
    s.SetDamage({40, 0, 100, 100});
    CDC part(&s, {10, 10}, {10, 10, 60, 60});
    EXPECT_EQ(part.GetClipRect(), (CRect{0, 0, 50, 50}));
    EXPECT_EQ(part.GetDrawRect(), (CRect{30, 0, 50, 50}));
}

// Text measured, then the face taken away: what is drawn next is drawn with
// no face, not with the glyphs the measuring looked up.
class GlyphsAfterTheFaceChanges : public ::testing::Test {
protected:
    void TearDown() override { CFontEngine::Instance().LoadDefaultFont(); }
};

TEST_F(GlyphsAfterTheFaceChanges, TextOutTakesNoGlyphsOfTheFaceBefore) {
    if (!CFontEngine::Instance().HasFont())
        GTEST_SKIP() << "no font";
    CSurface s(120, 40, kGround);
    CDC dc(&s);
    dc.SelectFont({kHeight, 400});
    dc.SetTextColor(kInk);
    dc.SetBkMode(TRANSPARENT);
    ASSERT_GT(dc.CalcTextRect(u"88", {0, 0, 120, 40}, DT_SINGLELINE).Width(), 0);
    CFontEngine::Instance().LoadFont("");
    dc.TextOut(2, 2, u"88");
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(s.GetPixel(x, y), kGround) << x << "," << y;
}

} // namespace
