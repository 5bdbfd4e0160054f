// Block transfers, memory DCs, PNG output and input, stretched images and
// the project's resource images.
#include "platform/gdi/CDC.h"
#include "platform/gdi/CImage.h"
#include "platform/gdi/PngWrite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace {
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRise = 0x2626FF;
constexpr COLORREF kFall = 0x17FF17;
constexpr COLORREF kBlue = 0xFF0000;

std::string TempPath(const std::string& name) {
    return (std::filesystem::path(ORB_BINARY_DIR) / ("gdi_test_" + name)).string();
}

// A w × h image file with the given RGBA bytes.
std::string WriteRgbaPng(const std::string& name, int w, int h, const std::vector<std::uint8_t>& rgba) {
    std::string path = TempPath(name);
    EXPECT_TRUE(WritePng(path, rgba.data(), w, h, PngFormat::Rgba));
    return path;
}

class GdiResources : public ::testing::Test {
protected:
    void TearDown() override { CImage::SetResourceDir(m_saved); }
    std::string m_saved = CImage::GetResourceDir();
};
} // namespace

TEST(GdiBlocks, BitBltCopiesPixelsAndTheTextsWhollyInsideTheCopiedAreaInPlaceOfThoseItCovers) {
    auto mem = CDC::CreateMemoryDC(100, 40);
    ASSERT_NE(mem->GetSurface(), nullptr);
    EXPECT_EQ(mem->GetSurface()->Width(), 100);
    mem->FillRect({0, 0, 100, 40}, kWhite);
    mem->SetTextColor(kRise);
    mem->SetBkMode(TRANSPARENT);
    mem->DrawText(u"涨幅", {0, 0, 60, 40}, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    mem->DrawText(u"现价", {60, 0, 100, 40}, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    mem->SetPixel(0, 0, kBlue);

    CSurface screen(300, 200, 0);
    CDC dc(&screen, {100, 50}, {0, 0, 300, 200});
    dc.DrawText(u"旧文字", {10, 20, 70, 60}, DT_SINGLELINE);
    dc.BitBlt(10, 20, 60, 40, *mem, 0, 0);

    EXPECT_EQ(screen.GetPixel(110, 70), kBlue);
    EXPECT_EQ(screen.GetPixel(111, 70), kWhite);
    EXPECT_EQ(screen.GetPixel(169, 109), kWhite);
    EXPECT_EQ(screen.GetPixel(170, 70), 0u);
    EXPECT_EQ(screen.GetPixel(110, 110), 0u);
    ASSERT_EQ(screen.Texts().size(), 1u) << "the old text is covered, 现价 lies partly outside";
    const CDrawnText& t = screen.Texts()[0];
    EXPECT_EQ(t.text, u"涨幅");
    EXPECT_EQ(t.color, kRise);
    EXPECT_EQ(t.rect, mem->GetSurface()->Texts()[0].rect.Offset(110, 70));
}

TEST(GdiBlocks, BitBltIsClippedAtBothSurfacesAndTheDestinationClipAndMayCopyWithinOneSurface) {
    auto mem = CDC::CreateMemoryDC(20, 20);
    mem->FillRect({0, 0, 20, 20}, kRise);
    CSurface screen(50, 50, kWhite);
    CDC dc(&screen, {0, 0}, {0, 0, 30, 30});
    dc.BitBlt(20, 20, 40, 40, *mem, 10, 10); // a 10 × 10 source block, then clipped to 30
    dc.BitBlt(-5, -5, 20, 20, *mem, -5, -5);  // source starts outside its surface
    int red = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x)
            red += screen.GetPixel(x, y) == kRise;
    EXPECT_EQ(red, 10 * 10 + 15 * 15);
    EXPECT_EQ(screen.GetPixel(29, 29), kRise);
    EXPECT_EQ(screen.GetPixel(30, 29), kWhite);
    EXPECT_EQ(screen.GetPixel(14, 14), kRise);
    EXPECT_EQ(screen.GetPixel(15, 14), kWhite);

    // Overlapping source and destination: the original pixels are copied.
    CSurface s(10, 1, kWhite);
    CDC row(&s);
    for (int x = 0; x < 5; ++x)
        row.SetPixel(x, 0, static_cast<COLORREF>(x));
    row.BitBlt(2, 0, 5, 1, row, 0, 0);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(s.GetPixel(x + 2, 0), static_cast<COLORREF>(x));
}

TEST(GdiPng, ASavedSurfaceLoadsBackWithTheSamePixels) {
    CSurface s(37, 23, 0x123456);
    CDC dc(&s);
    dc.SelectPen({PS_SOLID, 2, kRise});
    dc.MoveTo(0, 0);
    dc.LineTo(36, 22);
    dc.FillRect({5, 5, 15, 10}, kFall);
    dc.SetTextColor(kWhite);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(10, 0, u"国");
    std::string path = TempPath("roundtrip.png");
    ASSERT_TRUE(s.SavePng(path)); // the colour order on disk: the reference screens

    CImage image;
    ASSERT_TRUE(image.LoadFile(path));
    ASSERT_EQ(image.Width(), 37);
    ASSERT_EQ(image.Height(), 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(image.Pixel(x, y), 0xFF000000u | s.GetPixel(x, y)) << x << "," << y;
}

TEST(GdiPng, WritingNothingOrWhereNoFileCanBeFailsAndLeavesNoFile) {
    const std::uint8_t rgba[4] = {1, 2, 3, 4};
    const std::string path = TempPath("refused.png");
    std::filesystem::remove(path);
    EXPECT_FALSE(WritePng(path, nullptr, 1, 1, PngFormat::Rgba));
    EXPECT_FALSE(WritePng(path, rgba, 0, 1, PngFormat::Rgba));
    EXPECT_FALSE(WritePng(path, rgba, 1, -1, PngFormat::Rgb));
    EXPECT_FALSE(CSurface().SavePng(path));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(CSurface(4, 4).SavePng(TempPath("no/such/dir/x.png")));
}

TEST(GdiPng, LoadingAMissingOrBrokenFileFailsAndLeavesTheImageAsItWas) {
    CImage image;
    EXPECT_FALSE(image.LoadFile(TempPath("missing.png")));
    std::string broken = TempPath("broken.png");
    std::ofstream(broken, std::ios::binary) << "\x89PNG\r\n\x1a\n garbage";
    EXPECT_FALSE(image.LoadFile(broken));
    EXPECT_FALSE(image.IsLoaded());

    std::string good = TempPath("good.png");
    ASSERT_TRUE(CSurface(3, 2, kRise).SavePng(good));
    ASSERT_TRUE(image.LoadFile(good));
    EXPECT_FALSE(image.LoadFile(broken));
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Pixel(2, 1), 0xFF000000u | kRise);
}

TEST(GdiImages, AnImageDrawnAtItsOwnSizeIsCopiedExactlyWhereOpaqueAndAnUnloadedOneDrawsNothing) {
    std::vector<std::uint8_t> rgba = {0xFF, 0x26, 0x26, 0xFF, 0x00, 0x00, 0xFF, 0xFF,
                                      0x00, 0x00, 0x00, 0x00, 0x17, 0xFF, 0x17, 0xFF};
    CImage image;
    ASSERT_TRUE(image.LoadFile(WriteRgbaPng("2x2.png", 2, 2, rgba)));
    EXPECT_EQ(image.Pixel(0, 0), 0xFF2626FFu);
    CSurface s(10, 10, kWhite);
    CDC dc(&s, {3, 3}, {0, 0, 10, 10});
    dc.DrawImage(image, {0, 0, 2, 2});
    dc.DrawImage(CImage(), {3, 3, 7, 7});
    EXPECT_EQ(s.GetPixel(3, 3), kRise);
    EXPECT_EQ(s.GetPixel(4, 3), kBlue);
    EXPECT_EQ(s.GetPixel(3, 4), kWhite); // fully transparent
    EXPECT_EQ(s.GetPixel(4, 4), kFall);
    EXPECT_EQ(s.GetPixel(5, 5), kWhite);
    EXPECT_EQ(s.GetPixel(7, 7), kWhite);
}

TEST(GdiImages, AStretchedImageFillsItsRectangleAndBlendsHalfTransparentPixels) {
    // Left column opaque red, right column half-transparent blue.
    std::vector<std::uint8_t> rgba = {0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0x80, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0x80};
    CImage image;
    ASSERT_TRUE(image.LoadFile(WriteRgbaPng("half.png", 2, 2, rgba)));
    CSurface s(40, 20, kWhite);
    CDC dc(&s);
    dc.DrawImage(image, {0, 0, 20, 20}, CDC::ImageFilter::Nearest);
    dc.DrawImage(image, {20, 0, 40, 20}, CDC::ImageFilter::Bilinear);

    EXPECT_EQ(s.GetPixel(0, 0), 0x0000FFu);
    EXPECT_EQ(s.GetPixel(9, 19), 0x0000FFu);
    COLORREF half = s.GetPixel(10, 0);
    EXPECT_NEAR(GetBValue(half), 255, 1);
    EXPECT_NEAR(GetRValue(half), 127, 2);
    EXPECT_EQ(s.GetPixel(19, 19), half);
    // Bilinear: pure at the outer columns, a blend between them.
    EXPECT_EQ(s.GetPixel(20, 10), 0x0000FFu);
    EXPECT_EQ(s.GetPixel(39, 10), half);
    COLORREF mid = s.GetPixel(30, 10);
    EXPECT_GT(GetRValue(mid), GetRValue(half));
    EXPECT_LT(GetRValue(mid), 255);
    EXPECT_GT(GetBValue(mid), 0);
}

TEST(GdiImages, AKeptScalingDrawsThePixelsOfAFreshOneForEachSizeFilterAndGround) {
    // Opaque, half and fully transparent pixels, so every kind of kept pixel shows.
    std::vector<std::uint8_t> rgba = {0xFF, 0, 0, 0xFF, 0, 0xFF, 0, 0x80, 0, 0, 0xFF, 0,
                                      0x20, 0x40, 0x60, 0xFF, 0xFF, 0xFF, 0, 0x40, 0, 0, 0, 0xC0};
    const std::string path = WriteRgbaPng("kept.png", 3, 2, rgba);
    CImage kept;
    ASSERT_TRUE(kept.LoadFile(path));
    struct Use {
        int width, height;
        CDC::ImageFilter filter;
        COLORREF ground, rightGround; // the ground's left and right halves
    };
    // More sizes than are kept, then the first again after it was dropped;
    // the kept blends over one ground must not show over another.
    const COLORREF kBlue = MakeRgb(0x33, 0x66, 0x99);
    const Use uses[] = {{7, 5, CDC::ImageFilter::Nearest, kWhite, kWhite},
                        {7, 5, CDC::ImageFilter::Bilinear, kWhite, kWhite},
                        {7, 5, CDC::ImageFilter::Bilinear, kBlue, kBlue},
                        {7, 5, CDC::ImageFilter::Bilinear, kWhite, kBlue},
                        {5, 7, CDC::ImageFilter::Nearest, kWhite, kWhite},
                        {9, 9, CDC::ImageFilter::Bilinear, kBlue, kWhite},
                        {3, 4, CDC::ImageFilter::Nearest, kWhite, kWhite},
                        {7, 5, CDC::ImageFilter::Nearest, kBlue, kBlue},
                        {7, 5, CDC::ImageFilter::Bilinear, kWhite, kWhite}};
    for (const Use& use : uses) {
        SCOPED_TRACE(std::to_string(use.width) + "x" + std::to_string(use.height));
        CImage fresh;
        ASSERT_TRUE(fresh.LoadFile(path));
        CSurface a(10, 10, use.ground), b(10, 10, use.ground);
        CDC(&a).FillRect({5, 0, 10, 10}, use.rightGround);
        CDC(&b).FillRect({5, 0, 10, 10}, use.rightGround);
        CDC(&a).DrawImage(kept, {1, 1, 1 + use.width, 1 + use.height}, use.filter);
        CDC(&b).DrawImage(fresh, {1, 1, 1 + use.width, 1 + use.height}, use.filter);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(a.GetPixel(x, y), b.GetPixel(x, y)) << x << "," << y;
    }
}

TEST_F(GdiResources, TheSortArrowsPointUpAndDownAndAnotherDirectoryIsUsedOnceSet) {
    CImage up, down;
    ASSERT_TRUE(up.LoadResource(137));
    ASSERT_TRUE(down.LoadResource(138));
    EXPECT_EQ(up.Width(), 16);
    EXPECT_EQ(down.Height(), 20);
    // Opaque pixels per row: the up arrow is widest near its top half, the
    // down arrow near its bottom half.
    auto rowInk = [](const CImage& image, int y) {
        int n = 0;
        for (int x = 0; x < image.Width(); ++x)
            n += (image.Pixel(x, y) >> 24) > 128;
        return n;
    };
    EXPECT_GT(rowInk(up, 9), rowInk(up, 15));
    EXPECT_GT(rowInk(down, 10), rowInk(down, 4));

    CImage::SetResourceDir(TempPath("nowhere"));
    CImage image;
    EXPECT_FALSE(image.LoadResource(137));
    std::filesystem::create_directories(TempPath("res"));
    CSurface(3, 2, kRise).SavePng(TempPath("res") + "/900.png");
    CImage::SetResourceDir(TempPath("res"));
    ASSERT_TRUE(image.LoadResource(900));
    EXPECT_EQ(image.Width(), 3);
}

// A resource is shared while an image holds it and stays decoded while it is
// among the last few asked for; past that, with no image left holding it,
// it is let go, and the next image decodes the file again (here a file
// rewritten meanwhile shows which of the two an image got).
TEST_F(GdiResources, AResourceGoesWithItsLastImageOnceOthersWereAskedForSince) {
    const std::string dir = TempPath("res_kept");
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    CImage::SetResourceDir(dir);
    auto write = [&](int id, int width) { CSurface(width, 2, kRise).SavePng(dir + "/" + std::to_string(id) + ".png"); };
    auto widthOf = [](int id) {
        CImage image;
        return image.LoadResource(id) ? image.Width() : -1;
    };
    // Asks for as many other resources as are kept after their images.
    auto askForOthers = [&](int firstId) {
        for (int i = 0; i < static_cast<int>(CImage::kRecentResources); ++i) {
            write(firstId + i, 1);
            ASSERT_EQ(widthOf(firstId + i), 1);
        }
    };

    write(900, 3);
    auto held = std::make_unique<CImage>();
    ASSERT_TRUE(held->LoadResource(900));
    write(900, 4);
    EXPECT_EQ(widthOf(900), 3) << "shared while held";
    askForOthers(910);
    EXPECT_EQ(widthOf(900), 3) << "held, however many were asked for since";

    held.reset();
    EXPECT_EQ(widthOf(900), 3) << "kept: among the last asked for";
    askForOthers(920);
    EXPECT_EQ(widthOf(900), 4) << "let go, then decoded again";

    // A missing file is still refused, and refused again.
    EXPECT_EQ(widthOf(999), -1);
    EXPECT_EQ(widthOf(999), -1);
}
