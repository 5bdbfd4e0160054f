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
    int RowY(int index) const { return index * 50 + 25; }
};

} // namespace

TEST_F(CheckListTest, ItemsCarryTheirValueAndStartChecked) {
    MakeList(false);
    driver.RunOnGui([this] {
        ASSERT_NE(list->GetCheckItem(0), nullptr);
        EXPECT_EQ(list->GetCheckItem(2)->GetValue().str(), "0003");
        EXPECT_TRUE(list->IsChecked(0));
        EXPECT_FALSE(list->IsChecked(1));
        EXPECT_EQ(list->CountChecked(), 2);
        EXPECT_TRUE(CCheckItem("x").IsChecked()) << "a new record starts checked";
        EXPECT_EQ(CCheckItem(nullptr).GetValue().str(), "");
    });
}

TEST_F(CheckListTest, IndicesOutOfRangeAreUncheckedAndIgnored) {
    MakeList(false);
    driver.RunOnGui([this] {
        EXPECT_FALSE(list->IsChecked(-1));
        EXPECT_FALSE(list->IsChecked(3));
        EXPECT_EQ(list->GetCheckItem(3), nullptr);
        list->SetChecked(7, true);
        EXPECT_EQ(list->CountChecked(), 2);
    });
}

TEST_F(CheckListTest, ASingleChoiceTapPostsCommandTwoWithTheIndexOnEveryTap) {
    MakeList(true);
    ASSERT_TRUE(TapForm(100, RowY(2)));
    ASSERT_TRUE(TapForm(100, RowY(2)));
    ASSERT_TRUE(TapForm(100, RowY(1)));
    const auto commands = CommandsFrom(kListId);
    ASSERT_EQ(commands.size(), 3u);
    for (const CReport& r : commands)
        EXPECT_EQ(r.code, CHECKLIST_CHOSEN);
    EXPECT_EQ(commands[0].value, 2);
    EXPECT_EQ(commands[1].value, 2) << "the selected item reports again";
    EXPECT_EQ(commands[2].value, 1);
    EXPECT_EQ(driver.RunOnGui([this] { return list->GetCurSel(); }), 1);
}

TEST_F(CheckListTest, ASingleChoiceListWithoutNotificationsOnlySelects) {
    MakeList(true);
    driver.RunOnGui([this] { list->SetNotify(false); });
    ASSERT_TRUE(TapForm(100, RowY(0)));
    EXPECT_TRUE(CommandsFrom(kListId).empty());
    EXPECT_EQ(driver.RunOnGui([this] { return list->GetCurSel(); }), 0);
}

TEST_F(CheckListTest, AMultiChoiceTapTogglesTheMarkAndPostsNothing) {
    MakeList(false);
    ASSERT_TRUE(TapForm(100, RowY(0)));
    ASSERT_TRUE(TapForm(100, RowY(1)));
    ASSERT_TRUE(TapForm(100, RowY(1)));
    ASSERT_TRUE(TapForm(100, RowY(1)));
    driver.RunOnGui([this] {
        EXPECT_FALSE(list->IsChecked(0));
        EXPECT_TRUE(list->IsChecked(1));
        EXPECT_TRUE(list->IsChecked(2));
        EXPECT_EQ(list->CountChecked(), 2);
    });
    EXPECT_TRUE(CommandsFrom(kListId).empty());
    EXPECT_TRUE(driver.SaveScreen(ORB_BINARY_DIR "/screens", "widgets_check_list"));
    ASSERT_TRUE(TapForm(100, 280)); // below the last item
    EXPECT_EQ(driver.RunOnGui([this] { return list->CountChecked(); }), 2);
}

TEST_F(CheckListTest, ItemsLeaveWithTheirRecordsFreedOnce) {
    // ASan reports a record freed twice or never.
    MakeList(false);
    driver.RunOnGui([this] {
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
