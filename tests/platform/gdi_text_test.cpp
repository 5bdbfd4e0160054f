// Text through the font engine: what the text log records (text, rectangle,
// colour), that glyphs really land inside the recorded rectangle, alignment,
// ellipsis, wrapping and measuring.
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFontEngine.h"

#include <gtest/gtest.h>

namespace {
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRise = 0x2626FF;
constexpr COLORREF kGrey = 0x646464;

// The box around every pixel that differs from the background inside area.
CRect InkBox(const CSurface& s, const CRect& area, COLORREF background) {
    CRect box{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (s.GetPixel(x, y) != background) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box.IsEmpty() ? CRect{} : box;
}

int CountPixels(const CSurface& s, const CRect& r, COLORREF c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += s.GetPixel(x, y) == c;
    return n;
}

bool Inside(const CRect& inner, const CRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Restores the default font when a test has taken it away.
class GdiNoFont : public ::testing::Test {
protected:
    void SetUp() override { CFontEngine::Instance().LoadFont(""); }
    void TearDown() override { CFontEngine::Instance().LoadDefaultFont(); }
};
} // namespace

TEST(GdiFontEngine, FindsAFontWithChineseGlyphs) {
    auto& engine = CFontEngine::Instance();
    ASSERT_TRUE(engine.HasFont());
    const auto& g = *engine.Glyph(22, 400, U'涨');
    EXPECT_GT(g.width, 5);
    EXPECT_GT(g.height, 5);
    EXPECT_GT(g.advance, 15);
}

TEST(GdiFontEngine, ABoldGlyphHasMoreInkThanTheRegularOne) {
    auto& engine = CFontEngine::Instance();
    auto ink = [](const CFontEngine::CGlyph& g) {
        long sum = 0;
        for (auto c : g.coverage)
            sum += c;
        return sum;
    };
    EXPECT_GT(ink(*engine.Glyph(23, 600, U'幅')), ink(*engine.Glyph(23, 400, U'幅')) * 11 / 10);
}

TEST(GdiFontEngine, TheGlyphCacheStaysWithinItsBudgetAndAHeldGlyphOutlivesAFreshStart) {
    auto& engine = CFontEngine::Instance();
    ASSERT_TRUE(engine.HasFont());
    std::shared_ptr<const CFontEngine::CGlyph> held = engine.Glyph(300, 400, U'国');
    const std::vector<std::uint8_t> coverage = held->coverage;
    // A thousand large Chinese glyphs take several times the budget.
    for (char32_t c = 0x4E00; c < 0x4E00 + 1000; ++c) {
        engine.Glyph(300, 400, c);
        ASSERT_LE(engine.CacheBytes(), CFontEngine::kCacheBudget);
    }
    EXPECT_EQ(held->coverage, coverage);
    EXPECT_EQ(engine.Glyph(300, 400, U'国')->coverage, coverage);
}

TEST(GdiFontEngine, GlyphsStayInsideTheLineHeight) {
    auto& engine = CFontEngine::Instance();
    for (int height : {12, 20, 22, 23, 40}) {
        int ascent = engine.Ascent(height);
        EXPECT_GT(ascent, height / 2);
        EXPECT_LT(ascent, height);
        for (char32_t c : {U'国', U'g', U'H', U'涨'}) {
            const auto& g = *engine.Glyph(height, 400, c);
            EXPECT_LE(g.top, ascent + 1) << "height " << height;
            EXPECT_LE(g.height - g.top, height - ascent + 1) << "height " << height;
        }
    }
}

TEST(GdiText, ChineseTextIsLoggedWithItsRectangleAndColourAndItsGlyphsAreDrawnThere) {
    CSurface s(200, 50, kGrey);
    CDC dc(&s);
    dc.SelectFont({23, 600});
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kBlack);
    CRect r{10, 0, 110, 50};
    dc.DrawText(u"涨幅", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);

    ASSERT_EQ(s.Texts().size(), 1u);
    const CDrawnText& t = s.Texts()[0];
    EXPECT_EQ(t.text, u"涨幅");
    EXPECT_EQ(t.color, kBlack);
    EXPECT_EQ(t.rect.Height(), 23);
    EXPECT_TRUE(Inside(t.rect, r));
    EXPECT_GT(CountPixels(s, t.rect, kBlack), 20);
    CRect ink = InkBox(s, {0, 0, 200, 50}, kGrey);
    EXPECT_TRUE(Inside(ink, t.rect));
    EXPECT_GT(ink.Width(), 30);
}

TEST(GdiText, TextColourIsBlendedOnlyWhereGlyphsCover) {
    CSurface s(100, 40, kWhite);
    CDC dc(&s);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kRise);
    dc.TextOut(5, 5, u"国");
    int exact = CountPixels(s, {0, 0, 100, 40}, kRise);
    int white = CountPixels(s, {0, 0, 100, 40}, kWhite);
    EXPECT_GT(exact, 10);
    EXPECT_GT(white, 100 * 40 - 22 * 22);
    ASSERT_EQ(s.Texts().size(), 1u);
    EXPECT_EQ(s.Texts()[0].rect.TopLeft(), (CPoint{5, 5}));
}

TEST(GdiText, AnOpaqueBackgroundFillsTheTextCell) {
    CSurface s(100, 40, kWhite);
    CDC dc(&s);
    dc.SetBkColor(kGrey);
    dc.TextOut(5, 5, u"ab");
    CSize size = dc.GetTextExtent(u"ab");
    EXPECT_EQ(s.GetPixel(5, 5), kGrey);
    EXPECT_EQ(s.GetPixel(5 + size.cx - 1, 5 + size.cy - 1), kGrey);
    EXPECT_EQ(s.GetPixel(5 + size.cx, 5), kWhite);
    EXPECT_EQ(s.GetPixel(5, 5 + size.cy), kWhite);
}

TEST(GdiText, CentredAndRightAlignedTextSitWhereTheirWidthSays) {
    CSurface s(300, 100, kWhite);
    CDC dc(&s);
    dc.SetBkMode(TRANSPARENT);
    CSize size = dc.GetTextExtent(u"现价12.50");
    CRect r{20, 10, 220, 60};
    dc.DrawText(u"现价12.50", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.DrawText(u"现价12.50", r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    dc.DrawText(u"现价12.50", r, DT_LEFT | DT_SINGLELINE);
    ASSERT_EQ(s.Texts().size(), 3u);
    EXPECT_EQ(s.Texts()[0].rect,
              CRect::FromSize(20 + (200 - size.cx) / 2, 10 + (50 - size.cy) / 2, size.cx, size.cy));
    EXPECT_EQ(s.Texts()[1].rect, CRect::FromSize(220 - size.cx, 60 - size.cy, size.cx, size.cy));
    EXPECT_EQ(s.Texts()[2].rect, CRect::FromSize(20, 10, size.cx, size.cy));
}

TEST(GdiText, AnOriginMovesTheLoggedRectangleToSurfacePixels) {
    CSurface s(300, 100, kWhite);
    CDC dc(&s, {50, 40}, {50, 40, 300, 100});
    dc.DrawText(u"名称", {0, 0, 100, 30}, DT_SINGLELINE);
    ASSERT_EQ(s.Texts().size(), 1u);
    EXPECT_EQ(s.Texts()[0].rect.TopLeft(), (CPoint{50, 40}));
}

TEST(GdiText, TooLongTextEndsWithAnEllipsisAndFitsItsRectangle) {
    CSurface s(300, 60, kWhite);
    CDC dc(&s);
    dc.SetBkMode(TRANSPARENT);
    CRect r{10, 10, 90, 40};
    dc.DrawText(u"上海浦东发展银行股份有限公司", r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    ASSERT_EQ(s.Texts().size(), 1u);
    const CDrawnText& t = s.Texts()[0];
    ASSERT_GE(t.text.size(), 2u);
    EXPECT_EQ(t.text.back(), u'…');
    EXPECT_TRUE(t.text.starts_with(u"上海"));
    EXPECT_TRUE(Inside(t.rect, r));
    EXPECT_LE(dc.GetTextExtent(t.text).cx, r.Width());
    EXPECT_GT(dc.GetTextExtent(t.text + u"浦").cx, r.Width() - dc.GetTextExtent(u"…").cx);
    EXPECT_TRUE(Inside(InkBox(s, {0, 0, 300, 60}, kWhite), r));
}

TEST(GdiText, TextThatFitsKeepsAllItsCharactersWithoutAnEllipsis) {
    CSurface s(300, 60, kWhite);
    CDC dc(&s);
    dc.DrawText(u"-%", {0, 0, 200, 30}, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    ASSERT_EQ(s.Texts().size(), 1u);
    EXPECT_EQ(s.Texts()[0].text, u"-%");
}

TEST(GdiText, WithoutNoClipGlyphsAreClippedToTheRectangle) {
    CSurface s(300, 60, kWhite);
    CDC dc(&s);
    dc.SetBkMode(TRANSPARENT);
    CRect r{10, 10, 50, 40};
    dc.DrawText(u"上海浦东发展银行", r, DT_LEFT | DT_SINGLELINE);
    EXPECT_TRUE(Inside(InkBox(s, {0, 0, 300, 60}, kWhite), r));
    ASSERT_EQ(s.Texts().size(), 1u);
    EXPECT_EQ(s.Texts()[0].rect.right, 50);
}

TEST(GdiText, WordBreakWrapsIntoLinesThatFitTheWidth) {
    CSurface s(300, 200, kWhite);
    CDC dc(&s);
    CRect r{0, 0, 100, 200};
    int h = dc.DrawText(u"请求异常，请通过当日委托核实", r, DT_WORDBREAK);
    EXPECT_GE(h, 2 * 22);
    ASSERT_EQ(s.Texts().size(), 1u);
    std::u16string shown = s.Texts()[0].text;
    std::erase(shown, u'\n');
    EXPECT_EQ(shown, u"请求异常，请通过当日委托核实");
    EXPECT_EQ(s.Texts()[0].rect.Height(), h);
    EXPECT_LE(s.Texts()[0].rect.Width(), 100);

    CRect calc = dc.CalcTextRect(u"请求异常，请通过当日委托核实", r, DT_WORDBREAK);
    EXPECT_EQ(calc.Height(), h);
    EXPECT_LE(calc.Width(), 100);
}

TEST(GdiText, WordBreakBreaksLatinTextAtSpaces) {
    CSurface s(300, 200, kWhite);
    CDC dc(&s);
    int oneWord = dc.GetTextExtent(u"alpha beta").cx;
    dc.DrawText(u"alpha beta gamma", {0, 0, oneWord + 2, 200}, DT_WORDBREAK);
    ASSERT_EQ(s.Texts().size(), 1u);
    EXPECT_EQ(s.Texts()[0].text, u"alpha beta\ngamma");
}

TEST(GdiText, WordBreakSplitsAWordTooLongForALineOfItsOwn) {
    CSurface s(300, 300, kWhite);
    CDC dc(&s);
    int width = dc.GetTextExtent(u"abcd").cx;
    int h = dc.DrawText(u"abcdefghij", {0, 0, width, 300}, DT_WORDBREAK);
    ASSERT_EQ(s.Texts().size(), 1u);
    EXPECT_EQ(s.Texts()[0].text, u"abcd\nefgh\nij");
    EXPECT_EQ(h, 3 * 22);
}

TEST(GdiText, ExplicitLineBreaksStartNewLinesUnlessSingleLine) {
    CSurface s(300, 200, kWhite);
    CDC dc(&s);
    EXPECT_EQ(dc.DrawText(u"一\r\n二", {0, 0, 300, 200}, 0), 44);
    EXPECT_EQ(dc.DrawText(u"一\r\n二", {0, 100, 300, 200}, DT_SINGLELINE), 22);
    ASSERT_EQ(s.Texts().size(), 2u);
    EXPECT_EQ(s.Texts()[0].text, u"一\n二");
    EXPECT_EQ(s.Texts()[1].text, u"一二");
}

TEST(GdiText, CalcRectMeasuresWithoutDrawingOrLogging) {
    CSurface s(300, 60, kWhite);
    CDC dc(&s);
    EXPECT_EQ(dc.DrawText(u"涨幅", {0, 0, 300, 60}, DT_SINGLELINE | DT_CALCRECT), 22);
    EXPECT_TRUE(s.Texts().empty());
    EXPECT_EQ(InkBox(s, {0, 0, 300, 60}, kWhite), CRect{});
    EXPECT_EQ(dc.CalcTextRect(u"涨幅", {5, 6, 300, 60}, DT_SINGLELINE),
              CRect::FromSize(5, 6, dc.GetTextExtent(u"涨幅").cx, 22));
}

TEST(GdiText, TextExtentGrowsWithLengthAndFontHeight) {
    CSurface s(10, 10);
    CDC dc(&s);
    dc.SelectFont({20, 400});
    CSize one = dc.GetTextExtent(u"国");
    CSize two = dc.GetTextExtent(u"国国");
    EXPECT_EQ(one.cy, 20);
    EXPECT_GT(one.cx, 10);
    EXPECT_EQ(two.cx, 2 * one.cx);
    EXPECT_LT(dc.GetTextExtent(u"1").cx, one.cx);
    dc.SelectFont({30, 400});
    CSize big = dc.GetTextExtent(u"国");
    EXPECT_EQ(big.cy, 30);
    EXPECT_GT(big.cx, one.cx);
    EXPECT_EQ(dc.GetTextExtent(u"").cx, 0);
}

TEST(GdiText, SurrogatePairsAreOneCharacter) {
    CSurface s(200, 40, kWhite);
    CDC dc(&s);
    std::u16string pair = u"\U00020000";
    ASSERT_EQ(pair.size(), 2u);
    EXPECT_EQ(dc.GetTextExtent(pair).cx, dc.GetTextExtent(u"\U00020001").cx);
    dc.TextOut(0, 0, pair + u"国");
    ASSERT_EQ(s.Texts().size(), 1u);
    EXPECT_EQ(s.Texts()[0].text, pair + u"国");
    // A lone surrogate is shown as a replacement character, not dropped or split.
    dc.TextOut(0, 20, std::u16string(1, u'\xD800'));
    ASSERT_EQ(s.Texts().size(), 2u);
    EXPECT_EQ(s.Texts()[1].text, u"\uFFFD");
}

TEST(GdiText, FillingOverATextDropsItsRecordAndAWholeSurfaceFillClearsTheLog) {
    CSurface s(300, 100, kWhite);
    CDC dc(&s);
    dc.DrawText(u"名称", {0, 0, 100, 30}, DT_SINGLELINE);
    dc.DrawText(u"现价", {100, 0, 200, 30}, DT_SINGLELINE);
    dc.DrawText(u"涨跌", {0, 50, 100, 80}, DT_SINGLELINE);
    dc.FillRect({0, 0, 10, 30}, kGrey); // covers part of a text only
    EXPECT_EQ(s.Texts().size(), 3u);
    dc.FillRect({0, 0, 100, 30}, kGrey);
    ASSERT_EQ(s.Texts().size(), 2u);
    EXPECT_EQ(s.Texts()[0].text, u"现价");
    dc.DrawSelectionBand({0, 45, 300, 90});
    EXPECT_EQ(s.Texts().size(), 1u);
    dc.FillRect({0, 0, 300, 100}, kWhite);
    EXPECT_TRUE(s.Texts().empty());
}

TEST(GdiText, TextClippedAwayEntirelyIsNotLogged) {
    CSurface s(100, 100, kWhite);
    CDC dc(&s, {0, 0}, {0, 0, 50, 50});
    dc.TextOut(60, 60, u"涨幅");
    dc.DrawText(u"涨幅", {0, 0, 0, 30}, DT_SINGLELINE);
    EXPECT_TRUE(s.Texts().empty());
}

TEST_F(GdiNoFont, WithoutAFontNothingIsDrawnButTheTextIsStillLogged) {
    EXPECT_FALSE(CFontEngine::Instance().HasFont());
    CSurface s(200, 40, kWhite);
    CDC dc(&s);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(u"涨幅", {0, 0, 200, 40}, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(InkBox(s, {0, 0, 200, 40}, kWhite), CRect{});
    ASSERT_EQ(s.Texts().size(), 1u);
    EXPECT_EQ(s.Texts()[0].text, u"涨幅");
    EXPECT_GT(dc.GetTextExtent(u"涨幅").cx, dc.GetTextExtent(u"涨").cx);
}
