// Whole text lines over a plain ground come from a cache; they must be the
// very pixels drawing the glyphs one by one gives, clipped or not.
#include "platform/gdi/CBlendMemo.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFontEngine.h"
#include "platform/gdi/CTextRunCache.h"

#include <gtest/gtest.h>

#include <optional>

namespace {
constexpr COLORREF kGround = 0x203040;
constexpr COLORREF kInk = 0x14C8F0;
constexpr int kHeight = 30;

std::vector<CTextRun::GlyphPtr> Glyphs(std::u32string_view text) {
    std::vector<CTextRun::GlyphPtr> out;
    CFontEngine::Instance().LineGlyphs(kHeight, 400, text, out);
    return out;
}

TEST(TextRunCache, ARunIsItsGlyphsBlendedOneAfterAnother) {
    if (!CFontEngine::Instance().HasFont())
        GTEST_SKIP() << "no font";
    const auto line = Glyphs(U"fj1.07%国");
    CTextRunCache cache;
    CBlendMemo memo;
    const CTextRun* run = cache.Find(line, kInk, [](const CTextRun&) { return std::optional(kGround); }, memo);
    ASSERT_NE(run, nullptr);
    // The reference: each glyph's coverage blended over what lies there.
    CBlendMemo reference;
    std::vector<COLORREF> expected(static_cast<size_t>(run->width) * run->height, kGround);
    int pen = 0;
    for (const auto& glyph : line) {
        for (int y = 0; y < glyph->height; ++y)
            for (int x = 0; x < glyph->width; ++x)
                if (const int alpha = glyph->coverage[static_cast<size_t>(y) * glyph->width + x]) {
                    const int bx = pen + glyph->left - run->left + x, by = -glyph->top - run->top + y;
                    ASSERT_TRUE(bx >= 0 && bx < run->width && by >= 0 && by < run->height);
                    const CTextRun::CSpan span = run->spans[static_cast<size_t>(by)];
                    EXPECT_TRUE(bx >= span.begin && bx < span.end) << "ink outside its row's span";
                    COLORREF& p = expected[static_cast<size_t>(by) * run->width + bx];
                    p = reference.Mix(p, kInk, alpha);
                }
        pen += glyph->advance;
    }
    ASSERT_EQ(run->pixels.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(run->pixels[i], expected[i]) << "pixel " << i % run->width << "," << i / run->width;
    EXPECT_EQ(cache.Count(), 1u);

    // Found again over the same ground; kept beside over another; none
    // without a plain ground.
    EXPECT_EQ(cache.Find(line, kInk, [](const CTextRun&) { return std::optional(kGround); }, memo), run);
    const CTextRun* other = cache.Find(line, kInk, [](const CTextRun&) { return std::optional(kInk); }, memo);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->ground, kInk);
    EXPECT_EQ(cache.Count(), 2u);
    EXPECT_EQ(cache.Find(line, kInk, [](const CTextRun&) { return std::optional<COLORREF>(); }, memo), nullptr);
    EXPECT_EQ(cache.Find(Glyphs(U"   "), kInk, [](const CTextRun&) { return std::optional(kGround); }, memo), nullptr);
}

TEST(TextRunCache, StaysWithinItsBudget) {
    if (!CFontEngine::Instance().HasFont())
        GTEST_SKIP() << "no font";
    const auto line = Glyphs(U"12345.678");
    CTextRunCache cache;
    CBlendMemo memo;
    for (COLORREF color = 0; color < 3000; ++color)
        ASSERT_NE(cache.Find(line, color, [](const CTextRun&) { return std::optional(kGround); }, memo), nullptr);
    EXPECT_LE(cache.Bytes(), CTextRunCache::kBudgetBytes);
    EXPECT_GT(cache.Count(), 0u);
}

// The same line drawn over a plain ground (a copied run) and over that
// ground with one odd pixel under its ink (glyph by glyph): alike but for
// that pixel, through a clip that cuts the line or not.
TEST(TextRunCache, ACopiedLineIsTheLineDrawnGlyphByGlyph) {
    if (!CFontEngine::Instance().HasFont())
        GTEST_SKIP() << "no font";
    for (const CRect clip : {CRect{0, 0, 200, 60}, CRect{23, 14, 71, 33}}) {
        CSurface plain(200, 60, kGround), marked(200, 60, kGround);
        CPoint odd{-1, -1};
        for (int x = 20; x < 120 && odd.x < 0; ++x)
            if (clip.Contains({x, 20})) {
                odd = {x, 20};
                marked.SetPixel(x, 20, 0x010101);
            }
        for (CSurface* s : {&plain, &marked}) {
            CDC dc(s, {0, 0}, clip);
            dc.SelectFont({kHeight, 400});
            dc.SetTextColor(kInk);
            dc.SetBkMode(TRANSPARENT);
            dc.DrawText(u"-0.58%  12.07", {4, 4, 200, 50}, DT_SINGLELINE);
        }
        int differing = 0, inked = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x) {
                inked += plain.GetPixel(x, y) != kGround;
                if (CPoint{x, y} != odd && plain.GetPixel(x, y) != marked.GetPixel(x, y))
                    ++differing;
                if (!clip.Contains({x, y})) {
                    EXPECT_EQ(plain.GetPixel(x, y), kGround);
                }
            }
        EXPECT_EQ(differing, 0);
        EXPECT_GT(inked, 0);
    }
}

// A single line laid out once is laid out again when what shapes it
// changes: the width that cuts it, or the face.
TEST(TextRunCache, ALineIsLaidOutAgainForAnotherWidthOrFace) {
    if (!CFontEngine::Instance().HasFont())
        GTEST_SKIP() << "no font";
    CSurface s(300, 120, kGround);
    CDC dc(&s);
    dc.SelectFont({20, 400});
    constexpr unsigned kFormat = DT_SINGLELINE | DT_END_ELLIPSIS;
    dc.DrawText(u"12345678", {0, 0, 300, 40}, kFormat);
    dc.DrawText(u"12345678", {0, 40, 40, 80}, kFormat);
    dc.DrawText(u"12345678", {0, 80, 300, 120}, kFormat);
    ASSERT_EQ(s.Texts().size(), 3u);
    EXPECT_EQ(s.Texts()[0].text, u"12345678");
    EXPECT_NE(s.Texts()[1].text, u"12345678");
    EXPECT_EQ(s.Texts()[1].text.back(), u'\u2026');
    EXPECT_EQ(s.Texts()[2].text, u"12345678");

    const CRect withFace = s.Texts()[0].rect;
    CFontEngine::Instance().LoadFont("");
    CSurface bare(300, 40, kGround);
    CDC plain(&bare);
    plain.SelectFont({20, 400});
    plain.SetBkMode(TRANSPARENT);
    plain.DrawText(u"12345678", {0, 0, 300, 40}, kFormat);
    CFontEngine::Instance().LoadDefaultFont();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 300; ++x)
            ASSERT_EQ(bare.GetPixel(x, y), kGround) << x << "," << y;
    ASSERT_EQ(bare.Texts().size(), 1u);
    EXPECT_EQ(bare.Texts()[0].rect.Width(), 8 * 10) << "the faceless width, not " << withFace.Width();
}

} // namespace
