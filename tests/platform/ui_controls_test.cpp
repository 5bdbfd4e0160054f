// Buttons, edits, bottom bars, tabs, slider, the picture and the scrolling page,
// driven by taps and typing through the test driver; each test reads what
// the form heard from its controls.
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CGTestDriver.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiChoiceList.h"
#include "platform/ui/UiEdit.h"
#include "platform/ui/UiImageBar.h"
#include "platform/ui/UiScrollWin.h"
#include "platform/ui/UiSip.h"
#include "platform/ui/UiSlider.h"
#include "platform/ui/UiStatic.h"
#include "platform/ui/UiTabBar.h"
#include "platform/ui/UiTiledImage.h"
#include "platform/ui/UiToolBar.h"
#include "platform/win/UiMessageLoop.h"
#include "support/FormTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// The soft input panel starts hidden in every test.
class ControlsTest : public FormTest {
protected:
    void SetUp() override {
        UiSip::Reset();
        FormTest::SetUp();
    }
};

} // namespace

TEST_F(ControlsTest, AButtonReportsATapEndingOnItAndACheckButtonTogglesButDisabledNeitherDoes) {
    struct Case {
        const char* what;
        int style;
        bool enabled;
        bool slideOff; // the finger leaves the button before it is lifted
        size_t reports;
        bool checked;
    };
    const Case cases[] = {
        {"a push button", UI_BTN_ROUND, true, false, 1, false},
        {"a push button slid off", UI_BTN_ROUND, true, true, 0, false},
        {"a disabled push button", UI_BTN_ROUND, false, false, 0, false},
        {"a check button", UI_BTN_CHECK, true, false, 1, true},
        {"a disabled check button", UI_BTN_CHECK_ALT, false, false, 0, false},
    };
    int id = 240;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UiButton* button = Add<UiButton>({20, 20, 220, 90}, ++id, [&c](UiButton& b) {
            b.SetStyle(c.style);
            b.SetText(u"查询股票");
            b.EnableWindow(c.enabled);
        });
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(driver.ScreenShows(u"查询股票"));
        const CRect r = *CDriverControls::ControlScreenRect(driver, id);
        auto pressed = [&] { return driver.RunOnGui([button] { return button->IsPressed(); }); };
        ASSERT_TRUE(driver.Press(r.left + 10, r.top + 10));
        EXPECT_EQ(pressed(), c.enabled);
        const int x = c.slideOff ? r.right + 50 : r.left + 10;
        ASSERT_TRUE(driver.Move(x, r.top + 10));
        EXPECT_EQ(pressed(), c.enabled && !c.slideOff);
        ASSERT_TRUE(driver.Release(x, r.top + 10));
        const auto commands = CommandsFrom(id);
        ASSERT_EQ(commands.size(), c.reports);
        if (c.reports > 0) {
            EXPECT_EQ(commands[0].code, BN_CLICKED);
        }
        EXPECT_EQ(driver.RunOnGui([button] { return button->IsChecked(); }), c.checked);
        // Enabled (again), every tap reports and a check button toggles back and forth.
        driver.RunOnGui([button] { button->EnableWindow(true); });
        ASSERT_TRUE(CDriverControls::TapControl(driver, id));
        EXPECT_EQ(CommandsFrom(id).size(), c.reports + 1);
        const bool toggles = c.style != UI_BTN_ROUND;
        EXPECT_EQ(driver.RunOnGui([button] { return button->IsChecked(); }), toggles && !c.checked);
        driver.RunOnGui([button] { button->ShowWindow(false); });
    }
}

TEST_F(ControlsTest, TheToolbarReportsCommand101WithTheButtonIndexInBothHalves) {
    UiToolBar* bar = driver.RunOnGui([this] {
        auto toolbar = std::make_unique<UiToolBar>();
        toolbar->SetTexts(u"首页", u"登录", u"返回");
        const CRect client = form->GetClientRect();
        toolbar->CreateBar(form.get(), {0, client.bottom - UiButtonBar::kHeight, client.right, client.bottom});
        UiToolBar* raw = toolbar.get();
        controls.push_back(std::move(toolbar));
        return raw;
    });
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 0));
    const auto commands = CommandsFrom(UI_BOTTOM_BAR_ID);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].code, 2);
    EXPECT_EQ(BarButtonIndex(MakeWParam(101, 2), commands[0].value), 2);
    EXPECT_EQ(commands[1].code, 0);
    EXPECT_EQ(commands[1].value, 0);
    EXPECT_TRUE(driver.ScreenShows(u"登录"));

    // A disabled or hidden button posts nothing; the others still do.
    driver.RunOnGui([bar] {
        bar->EnableButton(1, false);
        bar->ShowButton(2, false);
    });
    EXPECT_TRUE(CDriverControls::PressBottomButton(driver, 1));
    EXPECT_FALSE(CDriverControls::PressBottomButton(driver, 2)) << "a hidden button cannot be found";
    const CRect r = *CDriverControls::ControlScreenRect(driver, UI_BOTTOM_BAR_ID);
    ASSERT_TRUE(driver.Tap(r.right - 20, r.top + 20)); // where the hidden button was
    EXPECT_EQ(CommandsFrom(UI_BOTTOM_BAR_ID).size(), 2u);
    driver.RunOnGui([bar] { bar->EnableAll(true); bar->SetMiddleText(u"修改"); });
    EXPECT_TRUE(CDriverControls::PressBottomButton(driver, 1));
    EXPECT_EQ(CommandsFrom(UI_BOTTOM_BAR_ID).size(), 3u);
    EXPECT_TRUE(driver.ScreenShows(u"修改"));

    // Disabled while the finger is down (a request went out), the release posts nothing.
    const CRect middle = driver.RunOnGui([bar] { return bar->GetButtonRect(1); }).Offset(r.left, r.top);
    ASSERT_TRUE(driver.Press(middle.left + 20, middle.top + 20));
    driver.RunOnGui([bar] { bar->EnableButton(1, false); });
    ASSERT_TRUE(driver.Release(middle.left + 20, middle.top + 20));
    EXPECT_EQ(CommandsFrom(UI_BOTTOM_BAR_ID).size(), 3u);
}

TEST_F(ControlsTest, TheImageBarTakesAtMostTenButtonsAndReportsTheIndex) {
    UiImageBar* bar = driver.RunOnGui([this] {
        auto imageBar = std::make_unique<UiImageBar>();
        const CRect client = form->GetClientRect();
        imageBar->CreateBar(form.get(), {0, client.bottom - UiButtonBar::kHeight, client.right, client.bottom});
        imageBar->SetImages({126, 118, 124, 123, 140, 116, 1, 2, 3, 4, 5, 6});
        UiImageBar* raw = imageBar.get();
        controls.push_back(std::move(imageBar));
        return raw;
    });
    EXPECT_EQ(driver.RunOnGui([bar] { return bar->GetButtonCount(); }), 10);
    EXPECT_EQ(driver.RunOnGui([bar] { return bar->GetImageId(5); }), 116);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 5));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 9));
    const auto commands = CommandsFrom(UI_BOTTOM_BAR_ID);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].value, 5);
    EXPECT_EQ(commands[1].value, 9);
}

TEST_F(ControlsTest, AnEditStopsAtItsMaximumLengthAndReportsEveryChange) {
    UiEdit* edit = Add<UiEdit>({20, 20, 300, 80}, 216, [](UiEdit& e) {
        e.SetLimitText(6);
        e.SetSipMode(9, 65);
    });
    ASSERT_TRUE(CDriverControls::TapControl(driver, 216));
    EXPECT_TRUE(driver.RunOnGui([edit] { return edit->HasFocus(); }));
    EXPECT_EQ(UiSip::LastType(), 9);
    EXPECT_EQ(UiSip::LastOption(), 65);
    EXPECT_TRUE(UiSip::IsShown());
    ASSERT_TRUE(driver.TypeText(u"60000123"));
    EXPECT_EQ(driver.ControlText(216), u"600001");
    ASSERT_TRUE(driver.PressKey(VK_BACK));
    EXPECT_EQ(driver.ControlText(216), u"60000");

    std::vector<int> codes;
    std::vector<LPARAM> kinds;
    for (const CReport& r : Reports())
        if (r.id == 216)
            r.msg == WM_COMMAND ? codes.push_back(r.code) : kinds.push_back(r.value);
    std::vector<int> expected(8, EN_CHANGE);
    expected[0] = EN_SETFOCUS;
    EXPECT_EQ(codes, expected) << "six typed, one erased; the two past the limit change nothing";
    EXPECT_EQ(kinds, (std::vector<LPARAM>{1, 1, 1, 1, 1, 1, 2}));
}

TEST_F(ControlsTest, AnEditLimitNeverSplitsACharacterOfTwoUnits) {
    const std::u16string wide = u"\U00020BB7"; // one character, two UTF-16 units
    UiEdit* edit = Add<UiEdit>({20, 20, 300, 80}, 217, [](UiEdit& e) { e.SetLimitText(4); });
    ASSERT_TRUE(CDriverControls::TapControl(driver, 217));
    ASSERT_TRUE(driver.TypeText(u"ab" + wide));
    EXPECT_EQ(driver.ControlText(217), u"ab" + wide) << "exactly at the limit";
    ASSERT_TRUE(driver.PressKey(VK_BACK));
    EXPECT_EQ(driver.ControlText(217), u"ab") << "backspace erases the whole character";

    // One unit of room: the whole character is refused, neither half stays.
    ASSERT_TRUE(driver.TypeText(u"c" + wide));
    EXPECT_EQ(driver.ControlText(217), u"abc");
    ASSERT_TRUE(driver.TypeText(u"d"));
    EXPECT_EQ(driver.ControlText(217), u"abcd") << "the refused character left no half behind";

    // A program text cut at the limit drops a pair that does not fit whole.
    driver.RunOnGui([edit] { edit->SetText(u"xyz\U00020BB7"); });
    EXPECT_EQ(driver.ControlText(217), u"xyz");
    driver.RunOnGui([edit] {
        edit->SetLimitText(0);
        edit->SetText(u"12\U00020BB7");
        edit->SetLimitText(3);
    });
    EXPECT_EQ(driver.ControlText(217), u"12");
}

TEST_F(ControlsTest, APasswordShowsAsDotsAndNeverReachesTheTextLogThePixelsOrTheWindowListing) {
    UiEdit* edit = Add<UiEdit>({20, 20, 460, 80}, 191, [](UiEdit& e) {
        e.SetInputMode(UI_EDIT_INPUT_PASSWORD);
        e.SetLimitText(6);
        e.SetHintText(u"请输入交易密码...");
    });
    EXPECT_TRUE(driver.ScreenShows(u"请输入交易密码...")) << "the hint shows while empty";
    ASSERT_TRUE(CDriverControls::TapControl(driver, 191));
    ASSERT_TRUE(driver.TypeText(u"135790"));
    EXPECT_EQ(driver.ControlText(191), u"135790");
    EXPECT_TRUE(driver.ScreenShows(u"●●●●●●"));
    EXPECT_FALSE(driver.ScreenShows(u"请输入交易密码...")) << "the hint goes once there is text";
    for (const CDrawnText& t : driver.ScreenTexts())
        for (char16_t digit : std::u16string_view(u"135790"))
            EXPECT_EQ(t.text.find(digit), std::u16string::npos) << "a password digit is in the text log";
    for (const CWindowInfo& w : driver.OpenWindows())
        EXPECT_NE(w.text, u"135790") << "a failure listing would print the password";
    EXPECT_EQ(driver.DescribeWindows().find("135790"), std::string::npos);

    // The screen, as a PNG holds it, is the same whatever password of that length was typed.
    auto pixels = [this] {
        return driver.RunOnGui([] {
            const CSurface& screen = UiMessageLoop::Current()->Screen();
            std::vector<COLORREF> out;
            for (int y = 0; y < screen.Height(); ++y)
                out.insert(out.end(), screen.Row(y), screen.Row(y) + screen.Width());
            return out;
        });
    };
    const std::vector<COLORREF> first = pixels();
    driver.RunOnGui([edit] { edit->SetText(u"888888"); });
    EXPECT_TRUE(pixels() == first) << "the drawn password depends on its characters";

    // A program text is cut to the limit and reported as set; a character of two units is one dot.
    driver.RunOnGui([edit] { edit->SetText(u"123456789"); });
    EXPECT_EQ(driver.ControlText(191), u"123456");
    const auto reports = Reports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().msg, UIM_EDIT_NOTIFY);
    EXPECT_EQ(reports.back().value, UI_EDIT_CHANGE_SET);
    driver.RunOnGui([edit] { edit->SetText(u"a\U00020BB7"); });
    EXPECT_EQ(driver.RunOnGui([edit] { return edit->GetDisplayText(); }), u"●●");
}

TEST_F(ControlsTest, AReadOnlyEditTakesNoTypingAndFocusMovesAreReported) {
    UiEdit* first = Add<UiEdit>({20, 20, 300, 80}, 300, [](UiEdit& e) {
        e.SetReadOnly(true);
        e.SetText(u"未设置营业部信息");
    });
    Add<UiEdit>({20, 100, 300, 160}, 189);
    ASSERT_TRUE(CDriverControls::TapControl(driver, 300));
    EXPECT_FALSE(UiSip::IsShown()) << "no keyboard for a box that takes no typing";
    ASSERT_TRUE(driver.TypeText(u"abc"));
    ASSERT_TRUE(driver.PressKey(VK_BACK));
    EXPECT_EQ(driver.ControlText(300), u"未设置营业部信息");
    EXPECT_TRUE(CommandsFrom(300).size() == 1u && CommandsFrom(300)[0].code == EN_SETFOCUS)
        << "no change is reported";
    ASSERT_TRUE(CDriverControls::TapControl(driver, 189));
    EXPECT_FALSE(driver.RunOnGui([first] { return first->HasFocus(); }));
    const auto reports = Reports();
    std::vector<std::pair<int, int>> focus;
    for (const CReport& r : reports)
        if (r.msg == WM_COMMAND && (r.code == EN_SETFOCUS || r.code == EN_KILLFOCUS))
            focus.emplace_back(r.id, r.code);
    EXPECT_EQ(focus, (std::vector<std::pair<int, int>>{{300, EN_SETFOCUS}, {300, EN_KILLFOCUS}, {189, EN_SETFOCUS}}));
}

TEST_F(ControlsTest, ATabPressMakesItCurrentButAnUnpressableOrHiddenTabOrASlideOffReportsNothing) {
    UiTabBar* tabs = Add<UiTabBar>({0, 0, 480, 60}, 252, [](UiTabBar& t) {
        t.AddTab(u"人民币", true, false);
        t.AddTab(u"美元", false, false);
        t.AddTab(u"港元", false, false);
    });
    EXPECT_EQ(driver.RunOnGui([tabs] { return tabs->GetTabRect(0); }), (CRect{0, 0, 480, 60}))
        << "the one shown tab takes the whole width";
    ASSERT_TRUE(CDriverControls::TapControl(driver, 252));
    EXPECT_TRUE(CommandsFrom(252).empty()) << "not yet pressable";
    driver.RunOnGui([tabs] {
        tabs->SetTabPressable(0, true);
        tabs->ShowTab(2, true);
        tabs->SetTabPressable(2, true);
    });
    EXPECT_EQ(driver.RunOnGui([tabs] { return tabs->GetTabRect(2); }), (CRect{240, 0, 480, 60}));
    EXPECT_TRUE(driver.RunOnGui([tabs] { return tabs->GetTabRect(1).IsEmpty(); }));
    EXPECT_TRUE(driver.ScreenShows(u"港元"));
    EXPECT_FALSE(driver.ScreenShows(u"美元"));
    const CRect r = *CDriverControls::ControlScreenRect(driver, 252);
    ASSERT_TRUE(driver.Tap(r.left + 250, r.top + 30)); // where the hidden tab's text would be
    const auto commands = CommandsFrom(252);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].code, UI_TAB_PRESSED);
    EXPECT_EQ(commands[0].value, 2);

    // Down on one tab, up on another: nothing, and the current tab stays.
    ASSERT_TRUE(driver.Press(r.left + 20, r.top + 30));
    ASSERT_TRUE(driver.Move(r.left + 400, r.top + 30));
    ASSERT_TRUE(driver.Release(r.left + 400, r.top + 30));
    EXPECT_EQ(CommandsFrom(252).size(), 1u);
    EXPECT_EQ(driver.RunOnGui([tabs] { return tabs->GetCurTab(); }), 2);
    EXPECT_EQ(driver.RunOnGui([tabs] { tabs->SetCurTab(3); return tabs->GetCurTab(); }), -1);
}

TEST_F(ControlsTest, ASliderReportsOnlyAsTheFingerLeavesStopsAtItsEndsAndDisabledNeitherMovesNorReports) {
    UiSlider* slider = Add<UiSlider>({28, 100, 452, 160}, 181, [](UiSlider& s) { s.SetRange(100, -100); });
    EXPECT_EQ(driver.RunOnGui([slider] { return slider->GetRangeMin(); }), -100) << "a reversed range is swapped";
    const CRect r = *CDriverControls::ControlScreenRect(driver, 181);
    ASSERT_TRUE(driver.Drag({r.left + 200, r.top + 30}, {r.left - 20, r.top + 30}, 4));
    ASSERT_TRUE(driver.Drag({r.left + 200, r.top + 30}, {r.right + 20, r.top + 30}, 4));
    const auto commands = CommandsFrom(181);
    ASSERT_EQ(commands.size(), 2u) << "only the releases report";
    EXPECT_EQ(commands[0].code, UI_SLIDER_RELEASED);
    EXPECT_EQ(commands[0].value, -100);
    EXPECT_EQ(commands[1].value, 100);
    driver.RunOnGui([slider] { slider->EnableWindow(false); });
    ASSERT_TRUE(driver.Drag({r.left + 200, r.top + 30}, {r.left + 12, r.top + 30}, 4));
    EXPECT_EQ(CommandsFrom(181).size(), 2u);
    EXPECT_EQ(driver.RunOnGui([slider] { return slider->GetPos(); }), 100);
    driver.RunOnGui([slider] {
        // The thumb's centre runs from half a thumb in to half a thumb before the end.
        EXPECT_EQ(slider->XFromValue(-100), 12);
        EXPECT_EQ(slider->XFromValue(100), 412);
        EXPECT_EQ(slider->XFromValue(0), 212);
        EXPECT_EQ(slider->ValueFromX(212), 0);
        // A range wider than an int: the ends and the middle, no overflow.
        slider->SetRange(-2000000000, 2000000000);
        EXPECT_EQ(slider->ValueFromX(0), -2000000000);
        EXPECT_EQ(slider->ValueFromX(424), 2000000000);
        EXPECT_EQ(slider->ValueFromX(212), 0);
        EXPECT_EQ(slider->XFromValue(2000000000), 412);
        // A range of one value.
        slider->SetRange(5, 5);
        EXPECT_EQ(slider->GetPos(), 5);
        EXPECT_EQ(slider->ValueFromX(400), 5);
    });
}

TEST_F(ControlsTest, AScrollingPageScrollsFromItsLabelsAndPassesItsControlsReportsOn) {
    UiScrollWin* page = Add<UiScrollWin>({0, 0, 480, 400}, 165);
    UiButton* button = driver.RunOnGui([this, page] {
        auto label = std::make_unique<UiStatic>();
        label->SetText(u"交易密码");
        label->Create(page, {20, 20, 460, 100}, 302);
        auto b = std::make_unique<UiButton>();
        b->Create(page, {20, 700, 460, 780}, 217);
        UiButton* raw = b.get();
        controls.push_back(std::move(label));
        controls.push_back(std::move(b));
        return raw;
    });
    EXPECT_EQ(driver.RunOnGui([page] { return page->GetMaxScroll(); }), 380);
    const CRect r = *CDriverControls::ControlScreenRect(driver, 165);
    ASSERT_TRUE(driver.Drag({r.left + 200, r.top + 90}, {r.left + 200, r.top + 10}, 4));
    EXPECT_EQ(driver.RunOnGui([page] { return page->GetScrollPos(); }), 80);
    EXPECT_EQ(driver.RunOnGui([button] { return button->GetRect().top; }), 620);

    driver.RunOnGui([page, button] { page->EnsureVisible(button); });
    EXPECT_EQ(driver.RunOnGui([button] { return button->GetRect().bottom; }), 400);
    ASSERT_TRUE(CDriverControls::TapControl(driver, 217));
    EXPECT_EQ(CommandsFrom(217).size(), 1u) << "the page passes its button's click to the form";
}

TEST_F(ControlsTest, AListThatNeverSlidesLetsThePageScrollAndStillTakesItsTaps) {
    UiScrollWin* page = Add<UiScrollWin>({0, 0, 480, 400}, 165);
    UiChoiceList* list = driver.RunOnGui([this, page] {
        auto l = std::make_unique<UiChoiceList>();
        l->SetSlideMode(UI_SLIDE_NONE);
        l->SetItemHeight(45);
        for (const char16_t* t : {u"日线", u"周线", u"月线", u"季线", u"年线", u"5分钟", u"15分钟", u"30分钟", u"60分钟"})
            l->AddItem(t);
        l->Create(page, {40, 100, 440, 415}, 301);
        UiChoiceList* raw = l.get();
        controls.push_back(std::move(l));
        return raw;
    });
    driver.RunOnGui([page] { page->SetContentHeight(600); });
    const CRect r = *CDriverControls::ControlScreenRect(driver, 301);
    ASSERT_TRUE(driver.Drag({r.left + 100, r.top + 150}, {r.left + 100, r.top + 50}, 4));
    EXPECT_EQ(driver.RunOnGui([page] { return page->GetScrollPos(); }), 100);
    EXPECT_EQ(driver.RunOnGui([list] { return list->GetScrollPos(); }), 0);
    EXPECT_TRUE(CommandsFrom(301).empty()) << "a drag chooses nothing";

    ASSERT_TRUE(CDriverControls::TapListItem(driver, 301, 2));
    const auto commands = CommandsFrom(301);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].code, UI_LIST_CHOSEN);
    EXPECT_EQ(commands[0].value, 2);
    EXPECT_EQ(driver.RunOnGui([list] { return list->GetCurSel(); }), 2);
}

TEST_F(ControlsTest, WhatAPicturesOwnerDrawsIntoItsMemoryDcShowsInItsPlaceAndAResizeStartsAfresh) {
    UiTiledImage* picture = Add<UiTiledImage>({10, 50, 410, 350}, 175);
    ASSERT_NE(picture, nullptr);
    driver.RunOnGui([picture] {
        CDC* dc = picture->GetDC();
        ASSERT_NE(dc, nullptr);
        EXPECT_EQ(picture->GetMemDC().Width(), 400);
        EXPECT_EQ(picture->GetMemDC().Height(), 300);
        dc->FillRect({0, 0, 400, 300}, MakeRgb(0, 0, 0x40));
        dc->SetTextColor(MakeRgb(255, 255, 0));
        dc->TextOut(20, 20, u"分时走势");
        dc->FillRect({100, 100, 101, 101}, MakeRgb(255, 0, 0));
        picture->Invalidate();
    });
    const CRect screen = *CDriverControls::ControlScreenRect(driver, 175);
    const std::vector<CDrawnText> texts = driver.ScreenTexts();
    const auto shown =
        std::find_if(texts.begin(), texts.end(), [](const CDrawnText& t) { return t.text == u"分时走势"; });
    ASSERT_NE(shown, texts.end());
    EXPECT_EQ(shown->rect.TopLeft(), (CPoint{screen.left + 20, screen.top + 20}));
    const COLORREF pixel = driver.RunOnGui([&screen] {
        return UiMessageLoop::Current()->Screen().GetPixel(screen.left + 100, screen.top + 100);
    });
    EXPECT_EQ(pixel, MakeRgb(255, 0, 0));

    driver.RunOnGui([picture] {
        picture->MoveWindow({0, 0, 300, 150});
        EXPECT_EQ(picture->GetMemDC().Width(), 300);
        EXPECT_EQ(picture->GetMemDC().Height(), 150);
        EXPECT_TRUE(picture->GetDC()->GetSurface()->Texts().empty());
    });
    EXPECT_FALSE(driver.ScreenShows(u"分时走势"));
}
