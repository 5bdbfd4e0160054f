// The picture control and its memory DC, the label's look, and one
// screenshot of a form of every control for a person to look at.
#include "platform/gdi/CDC.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CGTestDriver.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiEdit.h"
#include "platform/ui/UiList.h"
#include "platform/ui/UiProgressBar.h"
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

// The controls sit on a black form.
class PictureTest : public FormTest {
protected:
    PictureTest() : FormTest(0) {}
};

} // namespace

TEST_F(PictureTest, WhatTheOwnerDrawsIntoTheMemoryDcShowsAtThePicturesPlace) {
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
    bool found = false;
    for (const CDrawnText& t : driver.ScreenTexts())
        if (t.text == u"分时走势") {
            found = true;
            EXPECT_GE(t.rect.left, screen.left + 20);
            EXPECT_GE(t.rect.top, screen.top + 20);
        }
    EXPECT_TRUE(found);
    const COLORREF pixel = driver.RunOnGui([&screen] {
        return UiMessageLoop::Current()->Screen().GetPixel(screen.left + 100, screen.top + 100);
    });
    EXPECT_EQ(pixel, MakeRgb(255, 0, 0));
}

TEST_F(PictureTest, ResizingThePictureStartsAFreshBitmapOfTheNewSize) {
    UiTiledImage* picture = Add<UiTiledImage>({0, 0, 200, 100}, 175);
    driver.RunOnGui([picture] {
        picture->GetDC()->TextOut(5, 5, u"旧");
        picture->MoveWindow({0, 0, 300, 150});
        EXPECT_EQ(picture->GetMemDC().Width(), 300);
        EXPECT_EQ(picture->GetMemDC().Height(), 150);
        EXPECT_TRUE(picture->GetDC()->GetSurface()->Texts().empty());
    });
    EXPECT_FALSE(driver.ScreenShows(u"旧"));
}

TEST_F(PictureTest, ALabelDrawsInItsColourAndBreaksWordsOnlyWhenAsked) {
    UiStatic* label = Add<UiStatic>({20, 20, 140, 120}, 302);
    driver.RunOnGui([label] {
        label->SetText(u"请务必认真阅读使用说明，如有疑问请咨询97413。");
        label->SetTextColor(MakeRgb(0xF0, 0x1E, 0x1E));
        label->SetFontSize(24);
    });
    // The drawn lines of the label (the text log joins lines with '\n').
    auto linesOf = [this] {
        int lines = 0;
        for (const CDrawnText& t : driver.ScreenTexts())
            if (t.color == MakeRgb(0xF0, 0x1E, 0x1E))
                lines += 1 + static_cast<int>(std::count(t.text.begin(), t.text.end(), u'\n'));
        return lines;
    };
    EXPECT_EQ(linesOf(), 1) << "one line, cut with an ellipsis";
    driver.RunOnGui([label] { label->SetFormat(DT_WORDBREAK); });
    EXPECT_GT(linesOf(), 1);
}

TEST_F(PictureTest, AFormOfEveryControlIsDrawnLegibly) {
    driver.RunOnGui([this] {
        auto add = [this](std::unique_ptr<UiWin> w, const CRect& r, int id) {
            w->Create(form.get(), r, id);
            controls.push_back(std::move(w));
        };
        auto tabs = std::make_unique<UiTabBar>();
        tabs->AddTab(u"人民币");
        tabs->AddTab(u"美元");
        tabs->SetCurTab(0);
        add(std::move(tabs), {0, 0, 480, 56}, 252);
        auto label = std::make_unique<UiStatic>();
        label->SetText(u"账       号");
        label->SetTextColor(0xFFFFFF);
        add(std::move(label), {20, 70, 140, 130}, 302);
        auto edit = std::make_unique<UiEdit>();
        edit->SetHintText(u"请输入账号...");
        add(std::move(edit), {150, 70, 460, 130}, 189);
        auto password = std::make_unique<UiEdit>();
        password->SetInputMode(UI_EDIT_INPUT_PASSWORD);
        password->SetText(u"123456");
        add(std::move(password), {150, 145, 460, 205}, 191);
        auto check = std::make_unique<UiButton>();
        check->SetStyle(UI_BTN_CHECK);
        check->SetText(u"保存账号");
        check->SetTextColor(0xFFFFFF);
        check->SetChecked(true);
        add(std::move(check), {20, 220, 220, 280}, 190);
        auto push = std::make_unique<UiButton>();
        push->SetStyle(UI_BTN_ROUND);
        push->SetText(u"查询股票");
        add(std::move(push), {240, 220, 460, 280}, 177);
        auto slider = std::make_unique<UiSlider>();
        slider->SetRange(0, 10);
        slider->SetPos(4);
        add(std::move(slider), {20, 295, 460, 345}, 181);
        auto progress = std::make_unique<UiProgressBar>();
        progress->SetPos(60);
        add(std::move(progress), {20, 360, 460, 375}, 400);
        auto list = std::make_unique<UiList>();
        list->SetTextColor(0xFFFFFF);
        list->ShowScrollBar(true);
        for (const char16_t* t : {u"深圳营业部", u"上海营业部", u"北京营业部", u"广州营业部", u"杭州营业部"})
            list->AddItem(t);
        list->SetCurSel(1);
        add(std::move(list), {0, 390, 480, 540}, 184);
        auto bar = std::make_unique<UiToolBar>();
        bar->SetTexts(u"首页", u"登录", u"返回");
        bar->EnableButton(1, false);
        const CRect c = form->GetClientRect();
        bar->CreateBar(form.get(), {0, c.bottom - UiButtonBar::kHeight, c.right, c.bottom});
        controls.push_back(std::move(bar));
    });
    EXPECT_TRUE(driver.SaveScreen(ORB_BINARY_DIR "/screens", "ui_controls"));
    for (const char16_t* t : {u"人民币", u"请输入账号...", u"保存账号", u"查询股票", u"上海营业部", u"返回"})
        EXPECT_TRUE(driver.ScreenShows(t)) << "missing a text";
}
