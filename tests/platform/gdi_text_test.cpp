// Text through the font engine: what the text log records (text, rectangle,
// colour), that glyphs really land inside the recorded rectangle, alignment,
// ellipsis, wrapping and measuring.
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFontEngine.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
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

// The face found, glyph sizes, the baseline and bold: the reference screens.
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

// The program's main and its application object both ask for the load in
// the background, and other threads may ask at the same moment: one load
// runs, and the face it makes is the one a load on first use makes.
TEST(GdiFontEngine, BackgroundLoadsAskedForAtOnceMakeOneFaceLikeALoadOnFirstUse) {
    auto& engine = CFontEngine::Instance();
    ASSERT_TRUE(engine.HasFont());
    const std::vector<std::uint8_t> coverage = engine.Glyph(20, 400, U'国')->coverage;
    for (int round = 0; round < 3; ++round) {
        engine.Unload();
        std::vector<std::thread> askers;
        for (int i = 0; i < 4; ++i)
            askers.emplace_back([&engine] { engine.LoadDefaultFontInBackground(); });
        engine.LoadDefaultFontInBackground();
        for (std::thread& asker : askers)
            asker.join();
        engine.LoadDefaultFontInBackground(); // after the load: nothing to do
        EXPECT_EQ(engine.Glyph(20, 400, U'国')->coverage, coverage);
        EXPECT_TRUE(engine.HasFont());
    }
}

// The load prepares the face's hinting with glyphs of a size of its own:
// the first glyphs drawn after it, at any height, are the ones drawn after
// other glyphs at other heights.
TEST(GdiFontEngine, TheFirstGlyphsAfterALoadAreTheOnesDrawnLater) {
    auto& engine = CFontEngine::Instance();
    ASSERT_TRUE(engine.LoadDefaultFont());
    const std::vector<std::uint8_t> first16 = engine.Glyph(16, 400, U'a')->coverage;
    const std::vector<std::uint8_t> first21 = engine.Glyph(21, 700, U'国')->coverage;
    ASSERT_FALSE(first16.empty());
    ASSERT_FALSE(first21.empty());
    for (const auto& [height, cp] : {std::pair{21, U'国'}, std::pair{16, U'a'}}) {
        ASSERT_TRUE(engine.LoadDefaultFont());
        engine.Glyph(33, 400, U'7');
        engine.Glyph(12, 700, U'中');
        EXPECT_EQ(engine.Glyph(height, height == 16 ? 400 : 700, cp)->coverage, height == 16 ? first16 : first21);
    }
}

TEST(GdiText, TextIsLoggedWithItsRectangleAndColourAndItsGlyphsAreDrawnThere) {
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
    const CRect ink = InkBox(s, {0, 0, 200, 50}, kGrey); // how the glyphs look: the reference screens
    EXPECT_GT(ink.Width(), 30);
    EXPECT_TRUE(Inside(ink, t.rect));
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
    ASSERT_EQ(s.Texts().size(), 1u);
    EXPECT_EQ(s.Texts()[0].rect, CRect::FromSize(5, 5, size.cx, size.cy));
}

TEST(GdiText, AlignmentAndTheOriginPlaceTheLoggedRectangleWhereTheWidthSays) {
    CSurface s(300, 100, kWhite);
    CDC dc(&s);
    const CSize size = dc.GetTextExtent(u"现价12.50");
    const CRect r{20, 10, 220, 60};
    dc.DrawText(u"现价12.50", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.DrawText(u"现价12.50", r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    dc.DrawText(u"现价12.50", r, DT_LEFT | DT_SINGLELINE);
    CDC moved(&s, {50, 40}, {50, 40, 300, 100});
    moved.DrawText(u"名称", {0, 0, 100, 30}, DT_SINGLELINE);
    ASSERT_EQ(s.Texts().size(), 4u);
    EXPECT_EQ(s.Texts()[0].rect,
              CRect::FromSize(20 + (200 - size.cx) / 2, 10 + (50 - size.cy) / 2, size.cx, size.cy));
    EXPECT_EQ(s.Texts()[1].rect, CRect::FromSize(220 - size.cx, 60 - size.cy, size.cx, size.cy));
    EXPECT_EQ(s.Texts()[2].rect, CRect::FromSize(20, 10, size.cx, size.cy));
    EXPECT_EQ(s.Texts()[3].rect.TopLeft(), (CPoint{50, 40}));
}

TEST(GdiText, TooLongTextEndsWithAnEllipsisAndGlyphsStayInTheirRectangle) {
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

    // Without an ellipsis the glyphs are clipped to the rectangle all the same.
    CSurface plain(300, 60, kWhite);
    CDC plainDc(&plain);
    plainDc.DrawText(u"上海浦东发展银行", {10, 10, 50, 40}, DT_LEFT | DT_SINGLELINE);
    EXPECT_TRUE(Inside(InkBox(plain, {0, 0, 300, 60}, kWhite), {10, 10, 50, 40}));
    ASSERT_EQ(plain.Texts().size(), 1u);
    EXPECT_EQ(plain.Texts()[0].rect.right, 50);
}

TEST(GdiText, LinesBreakAtSpacesInsideLongWordsAndAtLineBreaksAndFitsKeepsEveryCharacter) {
    struct Case {
        std::u16string text;
        std::u16string fits; // the rectangle is this text's width...
        int extra;           // ...and this much more
        unsigned format;
        std::u16string shown;
        int lines;
    };
    const Case cases[] = {
        {u"alpha beta gamma", u"alpha beta ga", 0, DT_WORDBREAK, u"alpha beta\ngamma", 2},
        {u"abcdefghij", u"abcd", 0, DT_WORDBREAK, u"abcd\nefgh\nij", 3},
        {u"一\r\n二", u"", 300, 0, u"一\n二", 2},
        {u"一\r\n二", u"", 300, DT_SINGLELINE, u"一二", 1},
        {u"-%", u"", 200, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS, u"-%", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.shown.begin(), c.shown.end()));
        CSurface s(300, 300, kWhite);
        CDC dc(&s);
        const CRect r{0, 0, dc.GetTextExtent(c.fits).cx + c.extra, 300};
        EXPECT_EQ(dc.DrawText(c.text, r, c.format), c.lines * 22);
        ASSERT_EQ(s.Texts().size(), 1u);
        EXPECT_EQ(s.Texts()[0].text, c.shown);
    }
}

TEST(GdiText, ChineseWrapsBetweenCharactersAndCalcRectMeasuresWithoutDrawingOrLogging) {
    CSurface s(300, 200, kWhite);
    CDC dc(&s);
    const std::u16string text = u"请求异常，请通过当日委托核实";
    const CRect r{0, 0, 100, 200};
    const CRect calc = dc.CalcTextRect(text, r, DT_WORDBREAK);
    EXPECT_EQ(dc.DrawText(text, r, DT_WORDBREAK | DT_CALCRECT), calc.Height());
    EXPECT_TRUE(s.Texts().empty());
    EXPECT_EQ(InkBox(s, {0, 0, 300, 200}, kWhite), CRect{});
    EXPECT_GE(calc.Height(), 2 * 22);
    EXPECT_LE(calc.Width(), 100);

    EXPECT_EQ(dc.DrawText(text, r, DT_WORDBREAK), calc.Height());
    ASSERT_EQ(s.Texts().size(), 1u);
    std::u16string shown = s.Texts()[0].text;
    std::erase(shown, u'\n');
    EXPECT_EQ(shown, text);
    EXPECT_EQ(s.Texts()[0].rect.Height(), calc.Height());
    EXPECT_LE(s.Texts()[0].rect.Width(), 100);
    EXPECT_EQ(dc.CalcTextRect(u"涨幅", {5, 6, 300, 60}, DT_SINGLELINE),
              CRect::FromSize(5, 6, dc.GetTextExtent(u"涨幅").cx, 22));
}

TEST(GdiText, ASurrogatePairIsOneCharacterAndALoneHalfIsShownAsAReplacement) {
    // How extents grow with the text and the font: the reference screens.
    CSurface s(200, 40, kWhite);
    CDC dc(&s);
    const std::u16string pair = u"\U00020000";
    EXPECT_EQ(dc.GetTextExtent(pair).cx, dc.GetTextExtent(u"\U00020001").cx);
    dc.TextOut(0, 0, pair + u"国");
    ASSERT_EQ(s.Texts().size(), 1u);
    EXPECT_EQ(s.Texts()[0].text, pair + u"国");
    // A lone surrogate is shown as a replacement character, not dropped or split.
    dc.TextOut(0, 20, std::u16string(1, u'\xD800'));
    ASSERT_EQ(s.Texts().size(), 2u);
    EXPECT_EQ(s.Texts()[1].text, u"\uFFFD");
}

TEST(GdiText, FillingOverATextDropsItsRecordAndTextClippedAwayIsNeverLogged) {
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

    CDC clipped(&s, {0, 0}, {0, 0, 50, 50});
    clipped.TextOut(60, 60, u"涨幅");
    clipped.DrawText(u"涨幅", {0, 0, 0, 30}, DT_SINGLELINE);
    EXPECT_TRUE(s.Texts().empty());
}

TEST(GdiText, TextOverManyGroundsAndColoursInTurnHasThePixelsOfEachDrawnAlone) {
    // Blends are kept per ground and colour on each thread: more pairs than
    // are kept, twice over, and a ground that changes under one text, must
    // give what a thread that drew nothing before gives.
    struct Use {
        COLORREF ground, rightGround, color;
    };
    std::vector<Use> uses;
    for (int i = 0; i < 12; ++i)
        uses.push_back({MakeRgb(i * 20, 255 - i * 20, 40), MakeRgb(i * 20, 255 - i * 20, 40),
                        MakeRgb(255 - i * 9, i * 21, 200)});
    uses.push_back({kBlack, kWhite, kGrey});
    uses.push_back({kWhite, kBlack, 0x2626FF});
    auto draw = [](const Use& use) {
        CSurface s(120, 30, use.ground);
        CDC dc(&s);
        dc.FillRect({60, 0, 120, 30}, use.rightGround);
        dc.SelectFont({22, 400});
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(use.color);
        dc.DrawText(u"涨幅9.8%国", {0, 0, 120, 30}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        return s;
    };
    for (int round = 0; round < 2; ++round) {
        for (const Use& use : uses) {
            const CSurface warm = draw(use);
            CSurface cold(1, 1, 0);
            std::thread([&] { cold = draw(use); }).join();
            int differing = 0;
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 120; ++x)
                    differing += warm.GetPixel(x, y) != cold.GetPixel(x, y);
            EXPECT_EQ(differing, 0) << round << ": " << use.ground << " " << use.color;
        }
    }
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
