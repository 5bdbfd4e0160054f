// The phone-token store: one counter value per attempt, the rows of one
// application moving together, the phone's number, bound values, and a
// store that fails or holds garbage.
#include "framework/app_Fixture.h"

#include "platform/storage/CRegistry.h"
#include "platform/storage/CppSQLite3DB.h"
#include "trade/dyncode/DynCode.h"
#include "trade/dyncode/DynCodeStore.h"

namespace {
constexpr char kSeed[] = "3132333435363738393031323334353637383930"; // RFC 4226's key
constexpr char kFund[] = "000300056789";
constexpr char kHolder[] = "A300056789";
constexpr char16_t kMobile[] = u"13800138000";

class DynCodeStoreTest : public AppDataTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(CRegistry(App().MakeDataPath(CRegistry::kFileName).view()).Write(CRegRecord::kKey, u"Focus", kMobile));
        DynCodeListChanged = 0;
    }
    std::string Code(std::string_view account, bool advance, DynCodeState expected = DynCodeState::Code) {
        std::string code;
        EXPECT_EQ(GetDynCodeForAccount(App(), account, code, advance), expected) << account;
        return code;
    }
    int Counter(std::string_view account) {
        CppSQLite3DB db;
        db.open(App().MakeDataPath(kDynCodeDbFile).view());
        int counter = -1;
        db.execScalar(u"select FACTOR from Table_DynCode where ACCOUNT=?1;", counter, {CWString::CWStringFromAnsi(account).str()});
        return counter;
    }
    void Exec(std::u16string_view sql) {
        CppSQLite3DB db;
        db.open(App().MakeDataPath(kDynCodeDbFile).view());
        db.execDML(sql);
    }
};
} // namespace

TEST_F(DynCodeStoreTest, EachAdvancingLookUpUsesOneCounterValueAndTheApplicationsRowsMoveTogether) {
    ASSERT_TRUE(StoreDynCodeSeed(App(), kFund, kSeed, kMobile, true, 1700000000));
    ASSERT_TRUE(StoreDynCodeSeed(App(), kHolder, kSeed, kMobile, false, 1700000000));
    EXPECT_EQ(DynCodeListChanged, 1);
    EXPECT_EQ(Code(kFund, false), "287082") << "counter 1 after an application";
    EXPECT_EQ(Code(kFund, false), "287082") << "a look-up without advance shows the same code";
    EXPECT_EQ(Counter(kFund), 1);
    EXPECT_EQ(Code(kFund, true), "287082");
    EXPECT_EQ(Counter(kFund), 2);
    EXPECT_EQ(Counter(kHolder), 2) << "the holder row of the same seed moved on too";
    EXPECT_EQ(Code(kHolder, true), "359152");
    EXPECT_EQ(Code(kFund, false), "969429");
    EXPECT_EQ(Counter(kFund), 3);
}

TEST_F(DynCodeStoreTest, OnlyTheExactAccountOnThisPhonesNumberIsFoundAndDeleted) {
    ASSERT_TRUE(StoreDynCodeSeed(App(), kFund, kSeed, u"13900000000", true, 0));
    EXPECT_TRUE(Code(kFund, false, DynCodeState::NoToken).empty()) << "written under another number";
    ASSERT_TRUE(StoreDynCodeSeed(App(), "O'Brien;--", kSeed, kMobile, true, 0));
    EXPECT_EQ(Code("O'Brien;--", false), "287082") << "a quote is part of the account";
    for (const char* attack : {"'or 1=1--", "' or ''='", "%", "000300056789' or '1'='1"}) {
        Code(attack, true, DynCodeState::NoToken);
        EXPECT_EQ(DeleteDynCodeForAccount(App(), attack), 0) << attack;
    }
    EXPECT_EQ(Counter("O'Brien;--"), 1) << "no attempt advanced another account's counter";
    EXPECT_EQ(DeleteDynCodeForAccount(App(), kFund), 1);
    EXPECT_EQ(DeleteDynCodeForAccount(App(), "O'Brien;--"), 1);
}

TEST_F(DynCodeStoreTest, ASeedThatDoesNotOpenGivesTheEmptyKeysCode) {
    ASSERT_TRUE(StoreDynCodeSeed(App(), kFund, kSeed, kMobile, true, 0));
    Exec(u"update Table_DynCode set SEED=substr(SEED, 3);");
    EXPECT_EQ(Code(kFund, true), "812658");
    EXPECT_EQ(Counter(kFund), 2);
}

TEST_F(DynCodeStoreTest, ACounterThatCannotBeStoredGivesNoCode) {
    ASSERT_TRUE(StoreDynCodeSeed(App(), kFund, kSeed, kMobile, true, 0));
    Exec(u"create trigger refuse before update on Table_DynCode begin select raise(abort, 'read-only'); end;");
    EXPECT_TRUE(Code(kFund, true, DynCodeState::AdvanceFailed).empty());
    EXPECT_EQ(Counter(kFund), 1);
    EXPECT_EQ(Code(kFund, false), "287082") << "the look-up alone still works";
}

TEST_F(DynCodeStoreTest, AStoreThatIsMissingOrGarbageCountsAsNoToken) {
    Code(kFund, true, DynCodeState::NoToken);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "VM_DATA.db")) << "a look-up creates no store";
    WriteFile("VM_DATA.db", std::vector<uint8_t>(4096, 0x5A));
    Code(kFund, true, DynCodeState::NoToken);
    EXPECT_EQ(DeleteDynCodeForAccount(App(), kFund), -1);
    EXPECT_FALSE(StoreDynCodeSeed(App(), kFund, kSeed, kMobile, true, 0));
}
