// Paths that cannot name a file: the database and the registry refuse them
// in their own way (the wrapper's one exception, an empty registry) and
// touch no other file on the way.
#include "platform/storage/CRegRecord.h"
#include "platform/storage/CRegistry.h"
#include "platform/storage/CppSQLite3DB.h"
#include "support/CTempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class UnusablePath : public ::testing::Test {
protected:
    // A file name in the test directory followed by a tail that spoils it.
    std::u16string Spoilt(std::u16string_view name, std::u16string_view tail) const {
        return (m_dir / name).u16string() + std::u16string(tail);
    }
    bool DirIsEmpty() const { return std::filesystem::is_empty(m_dir); }

    CTempDir m_temp{"orb_paths"};
    const std::filesystem::path m_dir = m_temp.Path();
};

const std::u16string kLoneSurrogate(1, char16_t(0xD800));
const std::u16string kNulThenName(u"\0.db", 4);

TEST_F(UnusablePath, OpeningADatabaseThrowsTheWrapperExceptionForALoneSurrogateOrANul) {
    for (const std::u16string& tail : {kLoneSurrogate, kNulThenName}) {
        CppSQLite3DB db;
        try {
            db.open(Spoilt(u"VM_DATA", tail));
            ADD_FAILURE() << "open did not throw";
        } catch (const CppSQLite3Exception& e) {
            EXPECT_EQ(e.errorCode(), SQLITE_CANTOPEN);
        } catch (...) {
            ADD_FAILURE() << "open threw something other than CppSQLite3Exception";
        }
        EXPECT_FALSE(db.isOpen());
    }
    EXPECT_TRUE(DirIsEmpty());
}

TEST_F(UnusablePath, ARegistryOnALoneSurrogateOrANulReadsEmptyAndNeverWrites) {
    for (const std::u16string& tail : {kLoneSurrogate, kNulThenName}) {
        std::u16string path = Spoilt(u"Registry", tail);
        ASSERT_NO_THROW(CRegistry{path});
        CRegistry reg(path);
        EXPECT_FALSE(reg.Write(CRegRecord::kKey, u"Focus", u"13800000000"));
        EXPECT_FALSE(reg.Read(CRegRecord::kKey, u"Focus"));
        CRegRecord record;
        ReadRegRecord(reg, record);
        EXPECT_TRUE(record.Focus.empty());
    }
    EXPECT_TRUE(DirIsEmpty()) << "the part of the path before the NUL must not be written";
}

} // namespace
