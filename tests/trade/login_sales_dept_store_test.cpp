// The department table's add for a history account: what it refuses and
// its limit; and bound values against injection.
#include "framework/app_Fixture.h"

#include "trade/login/SalesDeptStore.h"

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
