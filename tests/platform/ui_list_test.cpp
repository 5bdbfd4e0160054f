// The owner-drawn list: taps against drags and flings, hit testing at item
// edges, sorting with a comparator, and the owner's hook for every item
// that leaves the list.
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CGTestDriver.h"
#include "platform/testing/CHeadlessHost.h"
#include "platform/ui/UiList.h"
#include "platform/win/UiMessageLoop.h"
#include "support/FormTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr int kListId = 171;
constexpr int kRowHeight = 60;

// A row record owned by the list's owner through the item's data word.
struct CRowRecord {
    std::u16string name;
    double price = 0;
};

// A list in the manner of the quote table: items carry records that the
// hook deletes; a release that is a tap selects the row under the finger.
class CRecordList : public UiList {
public:
    ~CRecordList() override {
        RemoveAll();
        Destroy();
    }
    struct Release {
        bool wasScrolling = false;
        bool moved = false;
        int item = -1;
    };
    std::vector<Release> releases;
    std::vector<std::pair<int, std::uintptr_t>> removed;
    int hookCalls = 0;

    void AddRecord(std::u16string name, double price) {
        AddItem(u"", reinterpret_cast<std::uintptr_t>(new CRowRecord{std::move(name), price}));
    }
    static const CRowRecord* Record(const UiListItem& item) {
        return reinterpret_cast<const CRowRecord*>(item.data);
    }
    const CRowRecord* RecordAt(int index) const { return reinterpret_cast<const CRowRecord*>(GetItemData(index)); }

    void OnLButtonUp(UINT flags, CPoint pt) override {
        UiList::OnLButtonUp(flags, pt);
        releases.push_back({WasScrollingAtPress(), FingerMoved(), HitTest(pt)});
        if (IsTap() && HitTest(pt) >= 0)
            SetCurSel(HitTest(pt));
    }
    void OnRemoveItem(int index, std::uintptr_t data) override {
        ++hookCalls;
        removed.emplace_back(index, data);
        delete reinterpret_cast<CRowRecord*>(data);
    }
};

std::u16string Name(int i) {
    const std::string s = "row" + std::to_string(i);
    return std::u16string(s.begin(), s.end());
}

// A form with a 600-pixel-high list of 40 rows, run by the test driver.
class ListDriverTest : public FormTest {
protected:
    CRecordList* list = nullptr;

    void SetUp() override {
        FormTest::SetUp();
        list = Add<CRecordList>({0, 0, 480, 600}, kListId, [](CRecordList& l) {
            l.SetItemHeight(kRowHeight);
            l.ShowScrollBar(true);
            for (int i = 0; i < 40; ++i)
                l.AddRecord(Name(i), i);
        });
        ASSERT_NE(list, nullptr);
    }
    int ScreenTop() { return CDriverControls::ControlScreenRect(driver, kListId)->top; }
    int ScrollPos() {
        return driver.RunOnGui([this] { return list->GetScrollPos(); });
    }
    bool Scrolling() {
        return driver.RunOnGui([this] { return list->IsScrolling(); });
    }
    CRecordList::Release LastRelease() {
        return driver.RunOnGui([this] { return list->releases.back(); });
    }
    // A quick upward flick over the list (the clock does not move meanwhile).
    void Fling() {
        const int top = ScreenTop();
        ASSERT_TRUE(driver.Drag({240, top + 500}, {240, top + 200}, 6));
    }
};

} // namespace

TEST_F(ListDriverTest, ATapSelectsADragFollowsTheFingerAndAFlingGlidesOnUntilItRestsOrAPressStopsIt) {
    const int top = ScreenTop();
    ASSERT_TRUE(driver.Tap(240, top + 2 * kRowHeight + 10));
    EXPECT_EQ(CDriverControls::ListSelection(driver, kListId), 2);

    // A slow drag (the clock advances between the moves): no selection change, no glide.
    ASSERT_TRUE(driver.Press(240, top + 300));
    for (int y = 290; y >= 200; y -= 10) {
        ASSERT_TRUE(driver.AdvanceClock(200));
        ASSERT_TRUE(driver.Move(240, top + y));
    }
    ASSERT_TRUE(driver.AdvanceClock(200));
    ASSERT_TRUE(driver.Release(240, top + 200));
    EXPECT_EQ(CDriverControls::ListSelection(driver, kListId), 2);
    EXPECT_EQ(ScrollPos(), 100) << "the rows follow the finger";
    EXPECT_TRUE(LastRelease().moved);
    EXPECT_FALSE(LastRelease().wasScrolling);
    EXPECT_FALSE(Scrolling());

    Fling();
    EXPECT_EQ(ScrollPos(), 400) << "the drag moved the rows by the finger's whole travel";
    EXPECT_TRUE(Scrolling());
    ASSERT_TRUE(driver.AdvanceClock(3000));
    EXPECT_GT(ScrollPos(), 500);
    EXPECT_LE(ScrollPos(), 400 + static_cast<int>(CMouseTracker::kMaxSpeed * CMouseTracker::kDecayMs) + 1);
    EXPECT_FALSE(Scrolling());

    // A press on the gliding list stops it: still scrolling at the press, so no tap.
    Fling();
    ASSERT_TRUE(driver.AdvanceClock(50));
    ASSERT_TRUE(Scrolling());
    ASSERT_TRUE(driver.Tap(240, top + 100));
    EXPECT_TRUE(LastRelease().wasScrolling);
    EXPECT_FALSE(LastRelease().moved);
    EXPECT_GT(LastRelease().item, 2);
    EXPECT_EQ(CDriverControls::ListSelection(driver, kListId), 2);
    EXPECT_FALSE(Scrolling());
    const int stopped = ScrollPos();
    ASSERT_TRUE(driver.AdvanceClock(1000));
    EXPECT_EQ(ScrollPos(), stopped);
    ASSERT_TRUE(driver.Tap(240, top + 100));
    EXPECT_EQ(CDriverControls::ListSelection(driver, kListId), LastRelease().item) << "the next tap selects";
}

// Geometry and item bookkeeping, on the test thread with a plain loop.
class ListTest : public ::testing::Test {
protected:
    CHeadlessHost host;
    UiMessageLoop loop{&host};
    CTestForm form;
    std::unique_ptr<CRecordList> list = std::make_unique<CRecordList>();

    void SetUp() override {
        ASSERT_TRUE(form.CreateForm(nullptr, {0, 0, 480, 720}, true));
        list->SetItemHeight(kRowHeight);
        ASSERT_TRUE(list->Create(&form, {0, 100, 480, 400}, kListId));
    }
};

TEST_F(ListTest, HitTestGivesEachRowItsTopPixelAndNotTheNextRowsTop) {
    for (int i = 0; i < 10; ++i)
        list->AddRecord(Name(i), i);
    EXPECT_EQ(list->HitTest({10, 0}), 0);
    EXPECT_EQ(list->HitTest({10, kRowHeight - 1}), 0);
    EXPECT_EQ(list->HitTest({10, kRowHeight}), 1);
    EXPECT_EQ(list->HitTest({10, -1}), -1);
    EXPECT_EQ(list->HitTest({-1, 10}), -1);
    EXPECT_EQ(list->HitTest({480, 10}), -1) << "the right edge is outside";
    EXPECT_EQ(list->HitTest({479, 299}), 4);
    EXPECT_EQ(list->HitTest({10, 300}), -1) << "below the control";

    list->SetScrollPos(30);
    EXPECT_EQ(list->HitTest({10, 29}), 0);
    EXPECT_EQ(list->HitTest({10, 30}), 1);
    EXPECT_EQ(list->GetItemRect(1), (CRect{0, 30, 480, 90}));
}

TEST_F(ListTest, TheScrollStaysWithinTheRowsAsRowsComeAndGo) {
    for (int i = 0; i < 10; ++i)
        list->AddRecord(Name(i), i);
    EXPECT_EQ(list->GetMaxScroll(), 10 * kRowHeight - 300);
    list->SetScrollPos(10000);
    EXPECT_EQ(list->GetScrollPos(), 300);
    list->SetScrollPos(-5);
    EXPECT_EQ(list->GetScrollPos(), 0);

    // Scrolled to the end, rows removed: the last row stays at the bottom.
    list->SetScrollPos(300);
    list->RemoveItem(9);
    list->RemoveItem(0);
    EXPECT_EQ(list->GetScrollPos(), 8 * kRowHeight - 300);
    EXPECT_EQ(list->HitTest({10, 299}), 7);
    // Down to a list that fits: no scrolling, and nothing below the last row.
    while (list->GetCount() > 2)
        list->RemoveItem(list->GetCount() - 1);
    EXPECT_EQ(list->GetScrollPos(), 0);
    EXPECT_EQ(list->GetMaxScroll(), 0);
    EXPECT_EQ(list->HitTest({10, 2 * kRowHeight - 1}), 1);
    EXPECT_EQ(list->HitTest({10, 2 * kRowHeight}), -1);
    list->SetScrollPos(50);
    EXPECT_EQ(list->GetScrollPos(), 0) << "a list that fits never scrolls";
}

TEST_F(ListTest, TheSelectionFollowsItsRowThroughInsertsRemovalsAndSortsAndIgnoresBadIndices) {
    const double prices[] = {3.5, -1, 12, 3.5, 0, 7.25, 3.5, 100, -20};
    for (int i = 0; i < 9; ++i)
        list->AddRecord(Name(i), prices[i]);
    const auto dearestFirst = [](const UiListItem& a, const UiListItem& b) {
        return CRecordList::Record(a)->price > CRecordList::Record(b)->price;
    };
    auto selected = [this] { return list->RecordAt(list->GetCurSel())->name; };
    list->SetCurSel(5); // row5, 7.25
    list->SortItems(dearestFirst);
    const std::vector<std::u16string> expected = {u"row7", u"row2", u"row5", u"row0", u"row3",
                                                  u"row6", u"row4", u"row1", u"row8"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(list->RecordAt(i)->name, expected[i]) << "position " << i;
        EXPECT_EQ(list->RecordAt(i)->price, prices[list->RecordAt(i)->name.back() - u'0']);
    }
    EXPECT_EQ(list->GetCurSel(), 2);
    // A part sorted the other way: the rest stays, the selection follows its row.
    list->SetCurSel(1); // row2
    list->SortItems([&](const UiListItem& a, const UiListItem& b) { return dearestFirst(b, a); }, 1, 3);
    EXPECT_EQ(list->RecordAt(0)->name, u"row7");
    EXPECT_EQ(list->RecordAt(1)->name, u"row0");
    EXPECT_EQ(list->RecordAt(2)->name, u"row5");
    EXPECT_EQ(list->RecordAt(4)->name, u"row3");
    EXPECT_EQ(list->GetCurSel(), 3);
    list->SortItems(dearestFirst, 5, 4);
    EXPECT_EQ(list->GetCurSel(), 3) << "outside the sorted part";
    EXPECT_EQ(selected(), u"row2");

    list->InsertItem(0, u"above");
    list->InsertItem(4, u"at the selected place"); // goes before the selected row
    list->InsertItem(99, u"at the end");           // clamped to the end
    EXPECT_EQ(list->GetCurSel(), 5);
    EXPECT_EQ(list->GetItemText(list->GetCount() - 1), u"at the end");
    EXPECT_EQ(selected(), u"row2");
    list->RemoveItem(6); // below: no change
    list->RemoveItem(0); // above
    EXPECT_EQ(list->GetCurSel(), 4);
    EXPECT_EQ(selected(), u"row2");
    list->RemoveItem(4); // the selected row itself
    EXPECT_EQ(list->GetCurSel(), -1);

    list->SetCurSel(list->GetCount());
    EXPECT_EQ(list->GetCurSel(), -1) << "out of range means none";
    list->SetItemText(99, u"x");
    list->SetItemData(-1, 7);
    EXPECT_EQ(list->GetItemText(99), u"");
    EXPECT_EQ(list->GetItemData(99), 0u);
}

TEST_F(ListTest, TheOwnersHookRunsExactlyOnceForEveryItemThatLeavesAfterItLeft) {
    for (int i = 0; i < 5; ++i)
        list->AddRecord(Name(i), i);
    const std::uintptr_t second = list->GetItemData(1);
    EXPECT_TRUE(list->RemoveItem(1));
    EXPECT_FALSE(list->RemoveItem(7));
    EXPECT_FALSE(list->RemoveItem(-1));
    ASSERT_EQ(list->hookCalls, 1);
    EXPECT_EQ(list->removed[0], std::make_pair(1, second));
    EXPECT_EQ(list->GetCount(), 4);
    EXPECT_EQ(list->RecordAt(1)->name, u"row2");
    list->RemoveAll();
    EXPECT_EQ(list->hookCalls, 5);
    EXPECT_EQ(list->GetCount(), 0);
    list->RemoveAll();
    EXPECT_EQ(list->hookCalls, 5) << "an empty list calls nothing";

    // The form's destruction takes the rows through the hook, once.
    for (int i = 0; i < 3; ++i)
        list->AddRecord(Name(i), i);
    form.Destroy();
    EXPECT_EQ(list->hookCalls, 8);
    EXPECT_EQ(list->GetCount(), 0);
    list.reset(); // its own RemoveAll finds nothing left: no double free

    // A hook that reads the list sees the item already gone.
    class CProbe : public UiList {
    public:
        std::vector<int> countsSeen;
        void OnRemoveItem(int, std::uintptr_t) override { countsSeen.push_back(GetCount()); }
    };
    CProbe probe;
    probe.AddItem(u"a");
    probe.AddItem(u"b");
    probe.RemoveItem(0);
    probe.RemoveAll();
    EXPECT_EQ(probe.countsSeen, (std::vector<int>{1, 0}));
}
