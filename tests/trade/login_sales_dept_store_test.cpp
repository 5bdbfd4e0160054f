// The department table's add for a history account: what it refuses and
// its limit; and bound values against injection.
#include "framework/app_Fixture.h"

#include "framework/app/SalesDeptCheck.h"
#include "support/CFailingFileOps.h"
#include "trade/dyncode/DynCodeStore.h"
#include "trade/login/SalesDeptStore.h"

#include <cerrno>

namespace {
class SalesDeptStoreTest : public AppDataTest {};
} // namespace

TEST_F(SalesDeptStoreTest, AHistoryAccountsDepartmentIsAddedOnlyWhenItIsOneAndTheListHasRoom) {
    struct Step {
        const char16_t* name;
        const char* code;
        SalesDeptAdd result;
    };
    const Step steps[] = {
        {u"深圳深南中路证券营业部", "0001", SalesDeptAdd::Added},
        {u"另一个名字", "0001", SalesDeptAdd::Present},
        {kUnknownSalesDeptName, "0002", SalesDeptAdd::Refused},
        {u"无代码", "", SalesDeptAdd::Refused},
        {u"", "0002", SalesDeptAdd::Refused},
        {u"注入", "0002' or '1'='1", SalesDeptAdd::Refused},
        {u"O'Neil营业部", "0002", SalesDeptAdd::Added},
    };
    for (const Step& s : steps)
        EXPECT_EQ(AddSalesDeptIfMissing(App(), s.name, s.code), s.result) << s.code;
    for (int i = 3; i <= kMaxSalesDepts; ++i)
        ASSERT_EQ(AddSalesDeptIfMissing(App(), u"营业部", "00" + std::to_string(10 + i)), SalesDeptAdd::Added);
    EXPECT_EQ(AddSalesDeptIfMissing(App(), u"第十一个", "0099"), SalesDeptAdd::Full);
    const auto stored = LoadSalesDepts(App());
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->size(), static_cast<size_t>(kMaxSalesDepts));
    EXPECT_EQ((*stored)[1], (SalesDept{"0002", u"O'Neil营业部"}));
}

TEST_F(SalesDeptStoreTest, AStoreThatCannotBeWrittenIsReadAndEveryChangeFailsWithTheOldRowsStanding) {
    const std::vector<SalesDept> two = {{"0001", u"深南中路"}, {"0003", u"浦东南路"}};
    ASSERT_TRUE(SaveSalesDepts(App(), two));
    ASSERT_TRUE(StoreDynCodeSeed(App(), "000300056789", "12345678901234567890", u"", true, 0));
    for (const FileFault fault : {FileFault{"read-only file", FileOp::OpenForLocking, EACCES},
                                  FileFault{"full disk", FileOp::OpenForLocking, ENOSPC}}) {
        SCOPED_TRACE(fault.what);
        CFailingFileOps disk(fault);
        // What the trade entry and the login form read.
        EXPECT_TRUE(IsSalesDeptConfiged(App()));
        EXPECT_EQ(LoadSalesDepts(App()), std::optional(two));
        EXPECT_TRUE(EnsureSalesDeptTable(App())) << "the table is there; nothing to write";
        EXPECT_TRUE(EnsureDynCodeTable(App()));
        std::string code;
        EXPECT_EQ(GetDynCodeForAccount(App(), "000300056789", code, false), DynCodeState::Code);
        // A code whose counter cannot move on is not given out.
        EXPECT_EQ(GetDynCodeForAccount(App(), "000300056789", code, true), DynCodeState::AdvanceFailed);
        EXPECT_TRUE(code.empty());
        // Every change is refused, and says so.
        EXPECT_FALSE(SaveSalesDepts(App(), {{"0009", u"新营业部"}}));
        EXPECT_EQ(AddSalesDeptIfMissing(App(), u"新营业部", "0009"), SalesDeptAdd::Failed);
        EXPECT_EQ(DeleteDynCodeForAccount(App(), "000300056789"), -1);
        EXPECT_GT(disk.Failures(), 0);
    }
    EXPECT_EQ(LoadSalesDepts(App()), std::optional(two));
    std::string code;
    EXPECT_EQ(GetDynCodeForAccount(App(), "000300056789", code, false), DynCodeState::Code);
}
