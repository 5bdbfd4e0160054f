// A data file written again with the bytes it holds is left as it is.
#include "app_Fixture.h"

#include "support/CFailingFileOps.h"

#include <cerrno>

namespace {

using UnchangedFiles = AppDataTest;

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST_F(UnchangedFiles, WritingTheStoredBytesAgainReplacesNothingAndSucceeds) {
    // A disk that refuses every new file shows whether a replace was tried.
    CAppData& app = App();
    ASSERT_TRUE(app.WriteDatFile("Menus", "same bytes", 10));
    {
        CFailingFileOps disk({"read-only directory", FileOp::CreateTemporary, EACCES});
        EXPECT_TRUE(app.WriteDatFile("Menus", "same bytes", 10));
        EXPECT_EQ(disk.Failures(), 0) << "the unchanged file was replaced";
        EXPECT_FALSE(app.WriteDatFile("Menus", "same byteS", 10));
        EXPECT_FALSE(app.WriteDatFile("Menus", "same bytes!", 11));
        EXPECT_EQ(disk.Failures(), 2);
    }
    EXPECT_EQ(ReadFile("Menus.dat"), Bytes("same bytes"));
}

} // namespace
