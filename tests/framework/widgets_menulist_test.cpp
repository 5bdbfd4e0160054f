// The menu list: rows with their records, each record freed exactly once
// however its row leaves, and taps reported with the row index.
#include "framework/ui/widgets/CMenuListCtrl.h"
#include "widgets_Fixture.h"

namespace {

constexpr int kListId = 165;

// A row record that counts its deletions in a counter the test owns.
struct CountedRecord {
    explicit CountedRecord(int* deletions) : deleted(deletions) {}
    ~CountedRecord() { ++*deleted; }
    int* deleted;
};

class MenuListTest : public WidgetTest {
protected:
    CMenuListCtrl* list = nullptr;
    int deletions = 0;

    void MakeList(int rows) {
        list = Add<CMenuListCtrl>({0, 0, 480, 400}, kListId, [this, rows](CMenuListCtrl& l) {
            for (int i = 0; i < rows; ++i)
                l.AddRow(u"营业部", u"深圳市福田区", std::make_unique<CountedRecord>(&deletions));
        });
        ASSERT_NE(list, nullptr);
    }
};

} // namespace

TEST_F(MenuListTest, EachRowsRecordIsFreedExactlyOnceHoweverTheRowLeaves) {
    MakeList(5);
    driver.RunOnGui([this] {
        EXPECT_EQ(list->GetRowData(5), nullptr);
        EXPECT_TRUE(list->GetRowTitle(-1).IsEmpty());
        EXPECT_TRUE(list->RemoveItem(1));
        EXPECT_EQ(deletions, 1);
        EXPECT_FALSE(list->RemoveItem(10));
        EXPECT_EQ(deletions, 1);
        list->RemoveAll();
        EXPECT_EQ(deletions, 5);
        list->RemoveAll();
        EXPECT_EQ(deletions, 5);
        int shared = 0; // a row without a deleter only refers to its data
        list->AddRow(u"外部", u"", &shared);
        EXPECT_EQ(list->GetRowData(0), &shared);
        list->AddRow(u"甲", u"", std::make_unique<CountedRecord>(&deletions));
        list->Destroy(); // the rows go with the window
        EXPECT_EQ(deletions, 6);
    });
    driver.RunOnGui([this] { controls.clear(); });
    EXPECT_EQ(deletions, 6) << "deleting the destroyed list frees nothing again";
    MakeList(3);
    driver.RunOnGui([this] { controls.clear(); }); // a live list
    EXPECT_EQ(deletions, 9);
}

TEST_F(MenuListTest, ATapOnARowSelectsItAndPostsItsIndex) {
    MakeList(3);
    ASSERT_TRUE(TapForm(200, 2 * 80 + 40)); // rows are 80 pixels high
    const auto commands = CommandsFrom(kListId);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].code, MENULIST_CHOSEN);
    EXPECT_EQ(commands[0].value, 2);
    EXPECT_EQ(driver.RunOnGui([this] { return list->GetCurSel(); }), 2);
    ASSERT_TRUE(TapForm(200, 350)); // below the rows
    EXPECT_EQ(CommandsFrom(kListId).size(), 1u);
}
