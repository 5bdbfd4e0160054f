// The registry file and the registration record, one fresh directory per
// test: missing keys, values that need escaping, writes that must leave
// either the old file or the new one, and paths that cannot name a file.
#include "platform/storage/CRegRecord.h"
#include "platform/storage/CRegistry.h"
#include "platform/storage/CppSQLite3DB.h"
#include "support/CFailingFileOps.h"
#include "support/CTempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

class Registry : public ::testing::Test {
protected:
    std::vector<std::string> Files() const { return m_temp.FileNames(); }

    CTempDir m_temp{"orb_registry"};
    const std::filesystem::path m_dir = m_temp.Path();
    const std::filesystem::path m_file = m_dir / "Registry.dat";
};

TEST_F(Registry, TheRecordGivesTheRegisteredMobileNumberAndIsEmptyWithoutTheFileOrTheKey) {
    CRegRecord record;
    record.Focus = u"stale";
    record.Values[u"stale"] = u"stale";
    const auto expectRecord = [&](std::u16string focus, size_t values) {
        ReadRegRecord(CRegistry(m_file.u16string()), record);
        EXPECT_EQ(record.Focus, focus);
        EXPECT_EQ(record.Values.size(), values);
    };
    expectRecord(u"", 0); // no file
    ASSERT_TRUE(CRegistry(m_file.u16string()).Write(u"Other", u"Focus", u"13800000000"));
    expectRecord(u"", 0); // no key
    EXPECT_FALSE(CRegistry(m_file.u16string()).Read(u"Other", u"Missing"));
    ASSERT_TRUE(CRegistry(m_file.u16string()).Write(CRegRecord::kKey, u"Focus", u"13912345678"));
    ASSERT_TRUE(CRegistry(m_file.u16string()).Write(CRegRecord::kKey, u"Code", u"A1"));
    expectRecord(u"13912345678", 2);
    EXPECT_EQ(record.Values[u"Code"], u"A1");
}

TEST_F(Registry, ValuesNeedingEscapesReadBackExactlyFromANewObject) {
    const std::u16string key = u"Soft\\Orb\tKey";
    const std::u16string tricky = u"line1\nline2\r\ttab \\n 注册号码\\";
    ASSERT_TRUE(CRegistry(m_file.u16string()).Write(key, u"na\nme", tricky));
    ASSERT_TRUE(CRegistry(m_file.u16string()).Write(key, u"empty", u""));
    ASSERT_TRUE(CRegistry(m_file.u16string()).Write(key, u"na\nme", tricky + u"2"));
    CRegistry reg(m_file.u16string());
    EXPECT_EQ(reg.Read(key, u"na\nme"), tricky + u"2");
    EXPECT_EQ(reg.Read(key, u"empty"), u"");
    EXPECT_EQ(reg.ReadKey(key).size(), 2u);
}

TEST_F(Registry, AWriteLeavesOnlyTheFileReadableByItsOwner) {
    CRegistry reg(m_file.u16string());
    ASSERT_TRUE(reg.Write(u"K", u"V", u"1"));
    ASSERT_TRUE(reg.Write(u"K", u"V", u"2"));
    EXPECT_EQ(Files(), std::vector<std::string>{"Registry.dat"});
    struct stat st {};
    ASSERT_EQ(stat(m_file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(Registry, AWriteTheDiskRefusesFailsAndKeepsTheOldValueAndNoTemporaryFile) {
    const FileFault faults[] = {
        {"unwritable directory", FileOp::CreateTemporary, EACCES},
        {"read-only file system", FileOp::CreateTemporary, EROFS},
        {"disk full", FileOp::Write, ENOSPC},
        {"disk full found at the sync", FileOp::Sync, ENOSPC},
        {"quota found at the close", FileOp::Close, EDQUOT},
        {"read-only at the rename", FileOp::Rename, EROFS},
        {"old file unreadable", FileOp::OpenForReading, EACCES},
    };
    for (const FileFault& fault : faults) {
        SCOPED_TRACE(fault.what);
        CRegistry reg(m_file.u16string());
        ASSERT_TRUE(reg.Write(u"K", u"V", u"old"));
        {
            CFailingFileOps disk(fault);
            EXPECT_FALSE(reg.Write(u"K", u"V", u"new"));
            EXPECT_GT(disk.Failures(), 0);
        }
        EXPECT_EQ(reg.Read(u"K", u"V"), u"old");
        EXPECT_EQ(Files(), std::vector<std::string>{"Registry.dat"});
    }
}

TEST_F(Registry, AnUnreadableRegistryPathIsNotOverwritten) {
    // A directory in the file's place reads as an error, not as "no values".
    std::filesystem::create_directory(m_file);
    CRegistry reg(m_file.u16string());
    EXPECT_FALSE(reg.Write(u"K", u"V", u"1"));
    EXPECT_FALSE(reg.Read(u"K", u"V"));
    EXPECT_TRUE(std::filesystem::is_directory(m_file));
    EXPECT_EQ(Files(), std::vector<std::string>{"Registry.dat"});
}

} // namespace

// Paths that cannot name a file: the database refuses them with the wrapper's one
// exception, the registry reads empty, and neither touches another file.
TEST(UnusablePath, ALoneSurrogateOrANulMakesTheDatabaseThrowAndTheRegistryReadEmptyAndNeverWrite) {
    CTempDir temp{"orb_paths"};
    const std::u16string kLoneSurrogate(1, char16_t(0xD800));
    const std::u16string kNulThenName(u"\0.db", 4);
    for (const std::u16string& tail : {kLoneSurrogate, kNulThenName}) {
        CppSQLite3DB db;
        try {
            db.open((temp.Path() / "VM_DATA").u16string() + tail);
            ADD_FAILURE() << "open did not throw";
        } catch (const CppSQLite3Exception& e) {
            EXPECT_EQ(e.errorCode(), SQLITE_CANTOPEN);
        } catch (...) {
            ADD_FAILURE() << "open threw something other than the wrapper's exception";
        }
        EXPECT_FALSE(db.isOpen());

        const std::u16string path = (temp.Path() / "Registry").u16string() + tail;
        ASSERT_NO_THROW(CRegistry{path});
        CRegistry reg(path);
        EXPECT_FALSE(reg.Write(CRegRecord::kKey, u"Focus", u"13800000000"));
        EXPECT_FALSE(reg.Read(CRegRecord::kKey, u"Focus"));
        CRegRecord record;
        ReadRegRecord(reg, record);
        EXPECT_TRUE(record.Focus.empty());
    }
    EXPECT_TRUE(std::filesystem::is_empty(temp.Path())) << "the path before the NUL must not be written";
}
