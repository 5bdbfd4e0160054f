// Modal choices: message boxes (scripted and real), the pop-up menu, the
// item picker, the date picker, and modal runs of forms ending in turn.
// Real choices run from inside a window procedure, as on a screen, and the
// test answers them with taps while they run.
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CGTestDriver.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/CUiMessageBox.h"
#include "platform/ui/CUiPopupMenu.h"
#include "platform/ui/UiDateTimePicker.h"
#include "platform/ui/UiPicker.h"
#include "platform/win/UiMessageLoop.h"
#include "support/FormTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ModalTest : public FormTest {
protected:
    // Starts action from the form's window procedure and returns once the
    // choice it opens is at rest on the screen.
    void Open(std::function<int()> action) {
        driver.RunOnGui([this, action = std::move(action)] {
            form->modalAction = action;
            form->modalResult = INT_MIN;
            form->PostMessage(CTestForm::kRunModal);
        });
    }
    int Result() {
        return driver.RunOnGui([this] { return form->modalResult; });
    }
    int Depth() {
        return driver.RunOnGui([] { return UiMessageLoop::Current()->ModalDepth(); });
    }
};

} // namespace

// A scripted box answers at once and is recorded: the screens' message tests.
TEST_F(ModalTest, ARealMessageBoxLaysOutItsButtonsInOrderAndAnswersTheTappedButtonOrAKey) {
    struct Case {
        int buttons;
        std::vector<std::pair<int, std::u16string>> expected; // left to right
        int key;                                              // answers instead of a tap of the last button
        int answer;
    };
    const Case cases[] = {
        {MB_OK, {{IDOK, u"确定"}}, 0, IDOK},
        {MB_OKCANCEL, {{IDOK, u"确定"}, {IDCANCEL, u"取消"}}, VK_ESCAPE, IDCANCEL},
        {MB_OKCANCEL, {{IDOK, u"确定"}, {IDCANCEL, u"取消"}}, VK_RETURN, IDOK},
        {MB_YESNO, {{IDYES, u"是"}, {IDNO, u"否"}}, 0, IDNO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        Open([this, c] { return UiMessageBox(form.get(), u"您确定退出系统？", u"退出系统", c.buttons); });
        EXPECT_EQ(Depth(), 1);
        EXPECT_EQ(Result(), INT_MIN) << "the box is still open";
        EXPECT_TRUE(driver.ScreenShows(u"您确定退出系统？"));
        EXPECT_TRUE(driver.ScreenShows(u"退出系统"));
        int lastRight = 0;
        for (const auto& [id, text] : c.expected) {
            EXPECT_EQ(driver.ControlText(id), text);
            const std::optional<CRect> r = CDriverControls::ControlScreenRect(driver, id);
            ASSERT_TRUE(r.has_value());
            EXPECT_GT(r->left, lastRight) << "buttons stand apart, in order";
            EXPECT_TRUE(driver.ScreenShows(text));
            lastRight = r->right;
        }
        EXPECT_LE(lastRight, 480);
        ASSERT_TRUE(c.key ? driver.PressKey(c.key) : CDriverControls::TapControl(driver, c.expected.back().first));
        EXPECT_EQ(Result(), c.answer);
        EXPECT_EQ(Depth(), 0);
        EXPECT_FALSE(driver.ScreenShows(u"您确定退出系统？")) << "the box is gone";
        ASSERT_FALSE(driver.Shown().empty());
        EXPECT_EQ(driver.Shown().back().caption, u"退出系统");
        EXPECT_EQ(driver.Shown().back().answer, c.answer);
    }
}

TEST_F(ModalTest, ATapBesideTheBoxOrOnTheFormBelowDoesNotReachTheForm) {
    UiButton* below = driver.RunOnGui([this] {
        auto* button = new UiButton();
        button->Create(form.get(), {0, 0, 480, 200}, 177);
        return button;
    });
    Open([this] { return UiMessageBox(form.get(), u"请输入账号！", u"提示", MB_OK); });
    ASSERT_TRUE(driver.Tap(20, 100));
    EXPECT_EQ(Result(), INT_MIN) << "a tap outside the panel leaves the box open";
    EXPECT_TRUE(driver.RunOnGui([this] { return form->CommandsFrom(177).empty(); }))
        << "the button under the box heard nothing";
    ASSERT_TRUE(CDriverControls::TapControl(driver, IDOK));
    EXPECT_EQ(Result(), IDOK);
    driver.RunOnGui([below] { delete below; });
}

TEST_F(ModalTest, APopupMenuReturnsTheIdOfTheTappedRowAndZeroWhenDismissed) {
    auto menu = std::make_shared<CUiPopupMenu>();
    driver.RunOnGui([menu] {
        menu->AppendItem(121, u"取消");
        menu->AppendItem(122, u"卖出");
    });
    Open([this, menu] { return menu->TrackPopup(form.get()); });
    EXPECT_TRUE(driver.ScreenShows(u"卖出"));
    EXPECT_EQ(CDriverControls::ListItems(driver, 1), (std::vector<std::u16string>{u"取消", u"卖出"}));
    ASSERT_TRUE(CDriverControls::TapListItem(driver, 1, 1));
    EXPECT_EQ(Result(), 122);
    EXPECT_EQ(driver.RunOnGui([menu] { return menu->GetLastShowAnimation(); }), ANIM_SLIDE_UP);
    EXPECT_EQ(driver.RunOnGui([menu] { return menu->GetLastHideAnimation(); }), ANIM_SLIDE_DOWN);

    // Again, dismissed by a tap above the rows.
    Open([this, menu] { return menu->TrackPopup(form.get()); });
    ASSERT_TRUE(driver.Tap(240, 100));
    EXPECT_EQ(Result(), 0);

    // Scripted: no window, the texts recorded.
    driver.AnswerNext(ModalKind::PopupMenu, 121);
    EXPECT_EQ(driver.RunOnGui([this, menu] { return menu->TrackPopup(form.get()); }), 121);
    const auto shown = driver.Shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].answer, 122);
    EXPECT_EQ(shown[1].answer, 0);
    EXPECT_EQ(shown[2].items, (std::vector<std::u16string>{u"取消", u"卖出"}));
    driver.RunOnGui([&menu] { menu.reset(); });
}

TEST_F(ModalTest, ThePickerReturnsTheTappedIndexOrMinusOneWhenCancelled) {
    auto picker = std::make_shared<UiPicker>();
    driver.RunOnGui([picker] {
        picker->SetTitle(u"选择营业部");
        picker->SetItems({u"深圳营业部", u"上海营业部", u"北京营业部"});
        picker->SetInitial(0);
    });
    Open([this, picker] { return picker->Pick(form.get()); });
    EXPECT_TRUE(driver.ScreenShows(u"选择营业部"));
    ASSERT_TRUE(CDriverControls::TapListItem(driver, UiPicker::kListId, 2));
    EXPECT_EQ(Result(), 2);
    Open([this, picker] { return picker->Pick(form.get()); });
    ASSERT_TRUE(CDriverControls::TapControl(driver, UiPicker::kCancelId));
    EXPECT_EQ(Result(), -1);
    driver.AnswerNext(ModalKind::Picker, 1);
    EXPECT_EQ(driver.RunOnGui([this, picker] { return picker->Pick(form.get()); }), 1);
    EXPECT_EQ(driver.Shown().back().caption, u"选择营业部");
    driver.RunOnGui([&picker] { picker.reset(); });
}

TEST_F(ModalTest, TheDatePickerReturnsTheChosenOrAScriptedRealDateAsYyyymmdd) {
    auto picker = std::make_shared<UiDateTimePicker>();
    driver.RunOnGui([picker] { picker->SetDate(2024, 1, 31); });
    EXPECT_EQ(driver.RunOnGui([picker] { return picker->GetDateValue(); }), 20240131);
    Open([this, picker] { return picker->DoModal(form.get()); });
    EXPECT_EQ(CDriverControls::ListItems(driver, UiDateTimePicker::kYearList)->size(), 2024u - 1923u + 1u)
        << "years from 1923 to the clock's year";
    // February of the leap year: the 31st becomes the 29th.
    ASSERT_TRUE(CDriverControls::TapListItem(driver, UiDateTimePicker::kMonthList, 1));
    EXPECT_EQ(CDriverControls::ListItems(driver, UiDateTimePicker::kDayList)->size(), 29u);
    EXPECT_EQ(CDriverControls::ListSelection(driver, UiDateTimePicker::kDayList), 28);
    // 2023: February has 28 days.
    ASSERT_TRUE(CDriverControls::TapListItem(driver, UiDateTimePicker::kYearList, 100));
    EXPECT_EQ(CDriverControls::ListItems(driver, UiDateTimePicker::kDayList)->size(), 28u);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, UiDateTimePicker::kDayList, 4));
    ASSERT_TRUE(CDriverControls::TapControl(driver, IDOK));
    EXPECT_EQ(Result(), IDOK);
    EXPECT_EQ(driver.RunOnGui([picker] { return picker->GetDateValue(); }), 20230205);
    EXPECT_EQ(driver.Shown().back().answer, 20230205);

    // Cancelled: the answer is IDCANCEL and recorded as 0.
    Open([this, picker] { return picker->DoModal(form.get()); });
    ASSERT_TRUE(CDriverControls::TapControl(driver, IDCANCEL));
    EXPECT_EQ(Result(), IDCANCEL);
    EXPECT_EQ(driver.Shown().back().answer, 0);

    // Scripted: a real date is taken, anything else cancels and leaves the date.
    for (int answer : {20240105, 20230229, 0}) {
        driver.AnswerNext(ModalKind::DatePicker, answer);
        EXPECT_EQ(driver.RunOnGui([this, picker] { return picker->DoModal(form.get()); }),
                  answer == 20240105 ? IDOK : IDCANCEL);
        EXPECT_EQ(driver.RunOnGui([picker] { return picker->GetDateValue(); }), 20240105);
    }
    driver.RunOnGui([&picker] { picker.reset(); });
}

TEST_F(ModalTest, TheDatePickerClampsMonthDayAndYearIntoRealDates) {
    driver.RunOnGui([] {
        UiDateTimePicker picker;
        picker.SetYearRange(2000, 2024);
        const int cases[][4] = {{2023, 2, 31, 20230228}, {2024, 2, 30, 20240229}, {2023, 4, 31, 20230430},
                                {2023, 13, 0, 20231201}, {2023, 0, 40, 20230131}, {1999, 6, 15, 20000615},
                                {2030, 6, 15, 20240615}};
        for (const auto& c : cases) {
            picker.SetDate(c[0], c[1], c[2]);
            EXPECT_EQ(picker.GetDateValue(), c[3]) << c[0] << "-" << c[1] << "-" << c[2];
        }
        picker.SetYearRange(2010, 2005); // a narrower range, given backwards, clamps the date already set
        EXPECT_EQ(picker.GetDateValue(), 20100615);
        EXPECT_EQ(UiDateTimePicker::DaysInMonth(1900, 2), 28) << "a century is no leap year";
        EXPECT_EQ(UiDateTimePicker::DaysInMonth(2000, 2), 29) << "but every fourth century is";
    });
}

TEST_F(ModalTest, AFormEndedWhileABoxRunsAboveItEndsAsSoonAsTheBoxCloses) {
    auto inner = std::make_shared<CTestForm>();
    // The form runs modally; from inside it a box opens; the form is ended
    // (a reply arriving, say) while the box is still up.
    Open([inner] {
        inner->CreateForm(nullptr, UiMessageLoop::Current()->GetWorkRect());
        CTestForm* raw = inner.get(); // no self-reference: the form owns this action
        inner->modalAction = [raw] { return UiMessageBox(raw, u"请求异常，请通过当日委托核实", u"提示"); };
        inner->PostMessage(CTestForm::kRunModal);
        return inner->DoModal();
    });
    EXPECT_EQ(Depth(), 2);
    driver.RunOnGui([inner] { inner->EndModal(7); });
    EXPECT_EQ(Depth(), 2) << "the box above keeps running";
    ASSERT_TRUE(CDriverControls::TapControl(driver, IDOK));
    EXPECT_EQ(Depth(), 0);
    EXPECT_EQ(Result(), 7);
    EXPECT_EQ(driver.RunOnGui([inner] { return inner->modalResult; }), IDOK);
    driver.RunOnGui([&inner] { inner.reset(); });
}

TEST_F(ModalTest, ATapQueuedBeforeAFormOpensOverItsTargetIsDroppedWholeAndTheNextTapCounts) {
    // A button on the form, and a form that opens over it with its own
    // button at the same spot: a quick finger's second tap, queued before
    // the new form showed, must not press the new form's button.
    const CRect spot{0, 200, 480, 300};
    auto below = std::make_shared<UiButton>();
    auto above = std::make_shared<UiButton>();
    auto inner = std::make_shared<CTestForm>();
    driver.RunOnGui([this, spot, below] { below->Create(form.get(), spot, 177); });
    driver.RunOnGui([this, inner, above, spot] {
        form->modalAction = [inner, above, spot] {
            inner->CreateForm(nullptr, UiMessageLoop::Current()->GetWorkRect());
            above->Create(inner.get(), spot, 178);
            return inner->DoModal();
        };
        form->modalResult = INT_MIN;
        form->PostMessage(CTestForm::kRunModal);
        const CPoint p{form->GetRect().left + 240, form->GetRect().top + 250};
        UiMessageLoop::Current()->InjectMouse(WM_LBUTTONDOWN, p);
        UiMessageLoop::Current()->InjectMouse(WM_LBUTTONUP, p);
    });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Depth(), 1);
    EXPECT_TRUE(driver.RunOnGui([inner] { return inner->CommandsFrom(178).empty(); }));
    EXPECT_TRUE(driver.RunOnGui([this] { return form->CommandsFrom(177).empty(); }));
    EXPECT_TRUE(driver.RunOnGui([this, inner] { return form->HasModalAbove() && !inner->HasModalAbove(); }));

    ASSERT_TRUE(CDriverControls::TapControl(driver, 178));
    EXPECT_EQ(driver.RunOnGui([inner] { return inner->CommandsFrom(178).size(); }), 1u);
    driver.RunOnGui([inner] {
        inner->EndModal(3);
        inner->ShowWindow(false);
    });
    EXPECT_EQ(Result(), 3);
    EXPECT_FALSE(driver.RunOnGui([this] { return form->HasModalAbove(); }));
    // Two taps queued together on the form, now in front, both count.
    const std::optional<CRect> r = CDriverControls::ControlScreenRect(driver, 177);
    ASSERT_TRUE(r);
    const CPoint c{(r->left + r->right) / 2, (r->top + r->bottom) / 2};
    ASSERT_TRUE(driver.TapAll({c, c}));
    EXPECT_EQ(driver.RunOnGui([this] { return form->CommandsFrom(177).size(); }), 2u);
    driver.RunOnGui([&] {
        above.reset();
        below.reset();
        inner.reset();
    });
}
