// The kept font choice: a later start loads the face fontconfig chose while
// its font file stays the one chosen, and asks fontconfig again otherwise.
#include "platform/gdi/CFontEngine.h"
#include "platform/gdi/FontChoice.h"
#include "platform/storage/AtomicFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

class FontChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("orb_font_choice_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        std::filesystem::create_directories(m_dir);
        m_font = (m_dir / "face.ttc").string();
        m_kept = (m_dir / "FontFace.dat").string();
        Write(m_font, "not really a font, but a file of some size");
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    static void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

    std::filesystem::path m_dir;
    std::string m_font;
    std::string m_kept;
};

TEST_F(FontChoiceTest, AKeptChoiceHoldsWhileItsFileIsUnchangedOnly) {
    ASSERT_TRUE(KeepFontChoice(m_kept, {m_font, 2}));
    std::optional<CFontChoice> read = ReadFontChoice(m_kept);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->file, m_font);
    EXPECT_EQ(read->index, 2);

    // Another file in its place (another size), then a newer one of the same size.
    Write(m_font, "another file");
    EXPECT_FALSE(ReadFontChoice(m_kept));
    ASSERT_TRUE(KeepFontChoice(m_kept, {m_font, 0}));
    const auto stamp = std::filesystem::last_write_time(m_font);
    std::filesystem::last_write_time(m_font, stamp + std::chrono::seconds(5));
    EXPECT_FALSE(ReadFontChoice(m_kept));

    // Gone.
    ASSERT_TRUE(KeepFontChoice(m_kept, {m_font, 0}));
    std::filesystem::remove(m_font);
    EXPECT_FALSE(ReadFontChoice(m_kept));
}

TEST_F(FontChoiceTest, DamagedMissingOrUnfitChoicesAreNone) {
    EXPECT_FALSE(ReadFontChoice(m_kept)) << "none kept";
    for (const char* text : {"", "/x\n0\n1\n", "relative.ttf\n0\n1\n2\n", "/x\n-1\n1\n2\n", "/x\nzero\n1\n2\n",
                             "/x\n0\n1\n2\nextra\n"}) {
        ASSERT_TRUE(WriteFileAtomically(m_kept, text, std::strlen(text)));
        EXPECT_FALSE(ReadFontChoice(m_kept)) << text;
    }
    EXPECT_FALSE(KeepFontChoice(m_kept, {"relative.ttf", 0}));
    EXPECT_FALSE(KeepFontChoice(m_kept, {m_dir.string() + "/a\nb", 0}));
    EXPECT_FALSE(KeepFontChoice(m_kept, {(m_dir / "missing.ttf").string(), 0}));
    EXPECT_FALSE(KeepFontChoice((m_dir / "no" / "such" / "dir").string(), {m_font, 0}));
}

TEST(FontEngineChoice, TheDefaultFaceIsKeptAndLoadedFromTheChoiceNextTime) {
    CFontEngine& engine = CFontEngine::Instance();
    const auto dir = std::filesystem::temp_directory_path() / "orb_font_choice_engine";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string kept = (dir / "FontFace.dat").string();

    engine.Unload();
    engine.LoadDefaultFontInBackground(kept);
    const std::string chosen = engine.FontFile();
    if (chosen.empty()) {
        std::filesystem::remove_all(dir);
        GTEST_SKIP() << "no font on this machine";
    }
    std::optional<CFontChoice> read = ReadFontChoice(kept);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->file, chosen);

    // A later start takes the kept face, even one fontconfig would not choose.
    const std::string other = (dir / "copy.font").string();
    std::filesystem::copy_file(chosen, other);
    ASSERT_TRUE(KeepFontChoice(kept, {other, read->index}));
    engine.Unload();
    engine.LoadDefaultFontInBackground(kept);
    EXPECT_EQ(engine.FontFile(), other);

    // A kept face FreeType cannot open falls back to fontconfig's choice.

    std::ofstream(other, std::ios::binary | std::ios::trunc) << "broken";
    ASSERT_TRUE(KeepFontChoice(kept, {other, 0}));
    engine.Unload();
    engine.LoadDefaultFontInBackground(kept);
    EXPECT_EQ(engine.FontFile(), chosen);

    engine.Unload();
    engine.LoadDefaultFontInBackground();
    EXPECT_FALSE(engine.FontFile().empty());
    std::filesystem::remove_all(dir);
}

} // namespace
