// Data files: whole reads with their zero tail, atomic writes that never
// leave a half-written file, the default watch list, the device identity,
// the registration record and the server configuration read through the
// state.
#include "app_Fixture.h"

#include "core/CDataSetWriter.h"
#include "platform/storage/CRegistry.h"
#include "support/CFailingFileOps.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <sys/resource.h>

namespace {

using DataFiles = AppDataTest;

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST_F(DataFiles, AMissingFileReadsAsMinusOneWithANullBuffer) {
    char* buffer = reinterpret_cast<char*>(1);
    EXPECT_EQ(App().ReadDatFile("Nothing", &buffer), -1);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_FALSE(App().ReadDatFile("Nothing").has_value());
}

TEST_F(DataFiles, AReadGivesTheBytesFollowedByZeros) {
    WriteFile("Notes.dat", Bytes("abc"));
    char* buffer = nullptr;
    ASSERT_EQ(App().ReadDatFile("Notes", &buffer), 3);
    ASSERT_NE(buffer, nullptr);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(buffer[4], '\0'); // a wide text ends too
    std::free(buffer);
}

TEST_F(DataFiles, AnEmptyFileReadsAsZeroBytesWithAnEndedBuffer) {
    WriteFile("Empty.dat", {});
    char* buffer = nullptr;
    ASSERT_EQ(App().ReadDatFile("Empty", &buffer), 0);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer[0], '\0');
    std::free(buffer);
}

TEST_F(DataFiles, ANameThatLeavesTheDataDirectoryIsRefused) {
    char* buffer = nullptr;
    EXPECT_EQ(App().ReadDatFile("../etc/passwd", &buffer), -1);
    EXPECT_FALSE(App().WriteDatFile("../escape", "x", 1));
    EXPECT_FALSE(App().WriteDatFile("", "x", 1));
    EXPECT_FALSE(std::filesystem::exists(m_dir.parent_path() / "escape.dat"));
}

TEST_F(DataFiles, AWriteReplacesTheFileWithExactlyTheBytes) {
    WriteFile("MyFunds.dat", Bytes("old and longer content"));
    ASSERT_TRUE(App().WriteDatFile("MyFunds", "new", 3));
    EXPECT_EQ(ReadFile("MyFunds.dat"), Bytes("new"));
}

TEST_F(DataFiles, AWriteThatFailsMidwayKeepsTheOldFileAndLeavesNoTemporaryFile) {
    CAppData& app = App();
    WriteFile("MyQuotes.dat", Bytes("000001.02"));
    std::vector<std::string> before = FileNames();
    // The disk "fills up": no file may grow beyond 16 bytes (this holds for
    // root too, unlike a read-only directory).
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string big(4096, '7');
    bool written = app.WriteDatFile("MyQuotes", big.data(), big.size());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFile("MyQuotes.dat"), Bytes("000001.02"));
    EXPECT_EQ(FileNames().size(), before.size());
}

TEST_F(DataFiles, AWriteThatCannotReplaceTheTargetReportsFailureAndCleansUp) {
    CAppData& app = App();
    std::filesystem::create_directory(PathOf("Menus.dat"));
    WriteFile("Menus.dat/keep", Bytes("x"));
    std::vector<std::string> before = FileNames();
    EXPECT_FALSE(app.WriteDatFile("Menus", "abc", 3));
    EXPECT_EQ(FileNames().size(), before.size());
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
        std::vector<std::string> names = FileNames();
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
    // The stored form: the text and its NUL, 40 bytes.
    EXPECT_EQ(ReadFile("MyQuotes.dat"), Bytes(std::string("000001.02,399001.01,100100.03,101400.03") + '\0'));
    WriteFile("MyQuotes.dat", Bytes("600000.02"));
    ASSERT_TRUE(App().LoadMyQuotes());
    EXPECT_EQ(ReadFile("MyQuotes.dat"), Bytes("600000.02"));
}

TEST_F(DataFiles, TheDataPathNamesAFileInTheDataDirectory) {
    EXPECT_EQ(App().MakeDataPath(u"VM_DATA.db").ToUtf8(), (m_dir / "VM_DATA.db").string());
}

TEST_F(DataFiles, TheDeviceIdentityIsAFifteenDigitImeiThatStaysTheSame) {
    std::string first = App().GetDeviceId().str();
    ASSERT_EQ(first.size(), 15u);
    EXPECT_EQ(first.find_first_not_of("0123456789"), std::string::npos);
    int sum = 0; // Luhn check over all 15 digits
    for (size_t i = 0; i < first.size(); ++i) {
        int d = first[i] - '0';
        if (i % 2 == 1) {
            d = d * 2 > 9 ? d * 2 - 9 : d * 2;
        }
        sum += d;
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
}

TEST_F(DataFiles, TheServerConfigurationFollowsTheStoredConfigFile) {
    CAppData& app = App();
    EXPECT_FALSE(app.GetServerConfig().GetValue("market").has_value());
    CDataSetWriter writer;
    writer.AddSet("config");
    writer.AddColumn(DataSetType::AnsiText, "name");
    writer.AddColumn(DataSetType::WideText, "value");
    writer.AddRow();
    writer.SetAnsiText(0, "market");
    writer.SetText(1, u"沪深^1#");
    std::vector<uint8_t> body = writer.Serialize();
    ASSERT_TRUE(app.WriteDatFile("config", body.data(), body.size()));
    auto value = app.GetServerConfig().GetValue("MARKET");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, u"沪深^1#");
    EXPECT_TRUE(Restart().GetServerConfig().GetValue("market").has_value());
}

TEST_F(DataFiles, TrafficCountersAddUpFromSeveralThreads) {
    CAppData& app = App();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&app] {
            for (int i = 0; i < 1000; ++i) {
                app.AddUploadBytes(2);
                app.AddDownloadBytes(3);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(app.GetUploadBytes(), 8000u);
    EXPECT_EQ(app.GetDownloadBytes(), 12000u);
}

} // namespace
