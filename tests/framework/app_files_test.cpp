// Data files: whole reads with their zero tail, atomic writes that never
// leave a half-written file, the default watch list, the device identity,
// the registration record and the stored server configuration.
#include "app_Fixture.h"

#include "core/CDataSetWriter.h"
#include "platform/storage/CRegistry.h"
#include "support/CFailingFileOps.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>

namespace {

using DataFiles = AppDataTest;

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST_F(DataFiles, AReadGivesTheBytesFollowedByTwoZerosAndAMissingFileMinusOneWithANullBuffer) {
    const struct {
        const char* name;
        std::optional<std::string> stored; // nullopt: no file
        int length;
    } cases[] = {{"Notes", "abc", 3}, {"Empty", "", 0}, {"Nothing", std::nullopt, -1}, {"../etc/passwd", {}, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.stored)
            WriteFile(std::string(c.name) + ".dat", Bytes(*c.stored));
        char* buffer = reinterpret_cast<char*>(1);
        ASSERT_EQ(App().ReadDatFile(c.name, &buffer), c.length);
        EXPECT_EQ(App().ReadDatFile(c.name).has_value(), c.length >= 0);
        if (c.length < 0) {
            EXPECT_EQ(buffer, nullptr);
            continue;
        }
        ASSERT_NE(buffer, nullptr);
        EXPECT_EQ(std::string(buffer), *c.stored);
        EXPECT_EQ(buffer[c.length + 1], '\0') << "a wide text ends too";
        std::free(buffer);
    }
}

TEST_F(DataFiles, AWriteReplacesTheFileWithExactlyTheBytesAndANameLeavingTheDirectoryIsRefused) {
    WriteFile("MyFunds.dat", Bytes("old and longer content"));
    ASSERT_TRUE(App().WriteDatFile("MyFunds", "new", 3));
    EXPECT_EQ(ReadFile("MyFunds.dat"), Bytes("new"));
    EXPECT_FALSE(App().WriteDatFile("../escape", "x", 1));
    EXPECT_FALSE(App().WriteDatFile("", "x", 1));
    EXPECT_FALSE(std::filesystem::exists(m_dir.parent_path() / "escape.dat"));
}

TEST_F(DataFiles, AWriteTheDiskRefusesFailsAndKeepsTheOldFileAndNoTemporaryFile) {
    const FileFault faults[] = {
        {"read-only directory", FileOp::CreateTemporary, EACCES},
        {"read-only file system", FileOp::CreateTemporary, EROFS},
        {"disk full", FileOp::Write, ENOSPC},
        {"disk full found at the sync", FileOp::Sync, ENOSPC},
        {"read-only at the rename", FileOp::Rename, EACCES},
    };
    CAppData& app = App();
    WriteFile("MyQuotes.dat", Bytes("old"));
    auto sortedNames = [this] {
        std::vector<std::string> names = m_temp.FileNames();
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> before = sortedNames();
    for (const FileFault& fault : faults) {
        SCOPED_TRACE(fault.what);
        {
            CFailingFileOps disk(fault);
            EXPECT_FALSE(app.WriteDatFile("MyQuotes", "new", 3));
            EXPECT_GT(disk.Failures(), 0);
        }
        EXPECT_EQ(ReadFile("MyQuotes.dat"), Bytes("old"));
        EXPECT_EQ(sortedNames(), before);
    }
}

TEST_F(DataFiles, TheWatchListIsCreatedWithTheDefaultStocksOnlyWhenMissing) {
    ASSERT_TRUE(App().LoadMyQuotes());
    EXPECT_EQ(ReadFile("MyQuotes.dat"), Bytes(std::string("000001.02,399001.01,100100.03,101400.03") + '\0'));
    WriteFile("MyQuotes.dat", Bytes("600000.02"));
    ASSERT_TRUE(App().LoadMyQuotes());
    EXPECT_EQ(ReadFile("MyQuotes.dat"), Bytes("600000.02"));
}

TEST_F(DataFiles, TheDeviceIdentityIsAFifteenDigitImeiThatStaysTheSame) {
    const std::string first = App().GetDeviceId().str();
    ASSERT_EQ(first.size(), 15u);
    EXPECT_EQ(first.find_first_not_of("0123456789"), std::string::npos);
    int sum = 0; // Luhn check over all 15 digits
    for (size_t i = 0; i < first.size(); ++i) {
        const int d = (first[i] - '0') * (i % 2 == 1 ? 2 : 1);
        sum += d > 9 ? d - 9 : d;
    }
    EXPECT_EQ(sum % 10, 0);
    EXPECT_EQ(Restart().GetDeviceId().str(), first);
    EXPECT_FALSE(App().GetSystemVersion().IsEmpty());
}

TEST_F(DataFiles, TheRegistrationRecordIsEmptyWithoutARegistryAndReadsTheMobileNumber) {
    CRegRecord record;
    App().ReadRegRecord(record);
    EXPECT_TRUE(record.Focus.empty());
    CRegistry registry(App().MakeDataPath(CRegistry::kFileName).view());
    ASSERT_TRUE(registry.Write(CRegRecord::kKey, u"Focus", u"13800138000"));
    App().ReadRegRecord(record);
    EXPECT_EQ(record.Focus, u"13800138000");
    {
        // Kept between writes: a request's tail does not read the disk.
        CFailingFileOps disk({"unreadable", FileOp::OpenForReading, EACCES});
        App().ReadRegRecord(record);
        EXPECT_EQ(record.Focus, u"13800138000");
        EXPECT_EQ(disk.Failures(), 0);
    }
    ASSERT_TRUE(registry.Write(CRegRecord::kKey, u"Focus", u"139"));
    App().ReadRegRecord(record);
    EXPECT_EQ(record.Focus, u"139") << "a write through any registry object is read again";
    EXPECT_EQ(record.Values.size(), 1u);
}

TEST_F(DataFiles, TheServerConfigurationFollowsTheStoredConfigFileFromTheStart) {
    CDataSetWriter writer;
    writer.AddSet("config");
    writer.AddColumn(DataSetType::AnsiText, "name");
    writer.AddColumn(DataSetType::WideText, "value");
    writer.AddRow();
    writer.SetAnsiText(0, "market");
    writer.SetText(1, u"沪深^1#");
    const std::vector<uint8_t> body = writer.Serialize();
    ASSERT_TRUE(App().WriteDatFile("config", body.data(), body.size()));
    const auto value = Restart().GetServerConfig().GetValue("MARKET");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, u"沪深^1#");
}

} // namespace
