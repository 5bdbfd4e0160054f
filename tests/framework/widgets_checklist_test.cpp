// The check list: single-choice taps reported with the item index,
// multi-choice taps toggling marks, counting, and item records owned once.
#include "framework/ui/widgets/CCheckList.h"
#include "widgets_Fixture.h"

namespace {

constexpr int kListId = 170;

class CheckListTest : public WidgetTest {
protected:
    CCheckList* list = nullptr;

    // Three departments, 50-pixel rows at the form's top-left.
    void MakeList(bool single) {
        list = Add<CCheckList>({0, 0, 480, 300}, kListId, [single](CCheckList& l) {
            l.SetSingleChoice(single);
            l.SetItemHeight(50);
            l.AddCheckItem(u"深圳营业部", "0001");
            l.AddCheckItem(u"上海营业部", "0002", false);
            l.AddCheckItem(u"北京营业部", "0003");
        });
        ASSERT_NE(list, nullptr);
    }
    bool TapRow(int index) { return TapForm(100, index * 50 + 25); }
};

} // namespace

TEST_F(CheckListTest, ASingleChoiceTapReportsTheIndexOnEveryTapUnlessNotificationsAreOff) {
    MakeList(true);
    for (int row : {2, 2, 1})
        ASSERT_TRUE(TapRow(row));
    const auto commands = CommandsFrom(kListId);
    ASSERT_EQ(commands.size(), 3u);
    for (size_t i = 0; i < commands.size(); ++i) {
        EXPECT_EQ(commands[i].code, CHECKLIST_CHOSEN);
        EXPECT_EQ(commands[i].value, i < 2 ? 2 : 1) << "the selected item reports again";
    }
    EXPECT_EQ(driver.RunOnGui([this] { return list->GetCurSel(); }), 1);
    driver.RunOnGui([this] { list->SetNotify(false); });
    ASSERT_TRUE(TapRow(0));
    EXPECT_EQ(CommandsFrom(kListId).size(), 3u);
    EXPECT_EQ(driver.RunOnGui([this] { return list->GetCurSel(); }), 0);
}

TEST_F(CheckListTest, AMultiChoiceTapTogglesTheMarkAndPostsNothing) {
    MakeList(false);
    for (int row : {0, 1, 1, 1})
        ASSERT_TRUE(TapRow(row));
    ASSERT_TRUE(TapForm(100, 280)); // below the last item
    driver.RunOnGui([this] {
        EXPECT_FALSE(list->IsChecked(0));
        EXPECT_TRUE(list->IsChecked(1));
        EXPECT_TRUE(list->IsChecked(2));
        EXPECT_EQ(list->CountChecked(), 2);
    });
    EXPECT_TRUE(CommandsFrom(kListId).empty());
}

TEST_F(CheckListTest, ItemsCarryTheirValueStartCheckedIgnoreBadIndicesAndLeaveWithTheirRecordsFreedOnce) {
    // ASan reports a record freed twice or never.
    MakeList(false);
    driver.RunOnGui([this] {
        EXPECT_EQ(list->GetCheckItem(2)->GetValue().str(), "0003");
        EXPECT_EQ(list->CountChecked(), 2);
        EXPECT_FALSE(list->IsChecked(-1));
        EXPECT_FALSE(list->IsChecked(3));
        EXPECT_EQ(list->GetCheckItem(3), nullptr);
        list->SetChecked(7, true);
        EXPECT_EQ(list->CountChecked(), 2);
        list->AddCheckItem(u"空", static_cast<CCheckItem*>(nullptr));
        EXPECT_TRUE(list->IsChecked(3));
        EXPECT_TRUE(list->RemoveItem(1));
        EXPECT_FALSE(list->RemoveItem(9));
        EXPECT_EQ(list->GetCount(), 3);
        EXPECT_EQ(list->GetCheckItem(1)->GetValue().str(), "0003");
        list->RemoveAll();
        EXPECT_EQ(list->CountChecked(), 0);
        list->AddCheckItem(u"广州营业部", "0004");
    });
    // The last item goes with the list.
    driver.RunOnGui([this] {
        list->Destroy();
        controls.clear();
    });
}
