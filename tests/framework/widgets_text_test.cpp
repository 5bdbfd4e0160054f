// The watching edit's change message while typing, and the text label:
// its link look and the tap a link reports.
#include "framework/ui/widgets/CNotifyEdit.h"
#include "framework/ui/widgets/CTextCtrl.h"
#include "platform/gdi/CDC.h"
#include "widgets_Fixture.h"

namespace {

std::vector<CReport> EditMessages(const std::vector<CReport>& reports) {
    std::vector<CReport> out;
    for (const CReport& r : reports)
        if (r.msg == UIM_EDIT_NOTIFY)
            out.push_back(r);
    return out;
}

} // namespace

TEST_F(WidgetTest, TypingInTheWatchingEditPostsTheChangeMessageWithItsIdAndCode) {
    CNotifyEdit* edit = Add<CNotifyEdit>({40, 60, 200, 120}, 176, [](CNotifyEdit& e) { e.SetLimitText(6); });
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(CDriverControls::TapControl(driver, 176));
    ASSERT_TRUE(driver.TypeText(u"60"));
    ASSERT_TRUE(driver.PressKey(VK_BACK));
    const auto messages = EditMessages(Reports());
    ASSERT_EQ(messages.size(), 3u);
    // The fixture splits wParam into halves; the whole word is the id.
    for (const CReport& m : messages) {
        EXPECT_EQ(m.id, 176);
        EXPECT_EQ(m.code, 0);
    }
    EXPECT_EQ(CNotifyEdit::NotifyEditCode(messages[0].value), UI_EDIT_CHANGE_TYPED);
    EXPECT_EQ(CNotifyEdit::NotifyEditCode(messages[1].value), UI_EDIT_CHANGE_TYPED);
    EXPECT_EQ(CNotifyEdit::NotifyEditCode(messages[2].value), UI_EDIT_CHANGE_DELETED);
    EXPECT_EQ(CNotifyEdit::NotifyEditId(MakeWParam(176, 0)), 176);
    EXPECT_EQ(driver.ControlText(176), std::u16string(u"6"));
}

TEST_F(WidgetTest, SettingTheWatchingEditsTextPostsTheSetCode) {
    CNotifyEdit* edit = Add<CNotifyEdit>({40, 60, 200, 120}, 178);
    ASSERT_NE(edit, nullptr);
    driver.RunOnGui([edit] { edit->SetText(u"0001"); });
    const auto messages = EditMessages(Reports());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].value, UI_EDIT_CHANGE_SET);
}

TEST_F(WidgetTest, ALinkIsDrawnInTheLinkColourUnderlinedAndATapReportsItsId) {
    CTextCtrl* link = Add<CTextCtrl>({20, 200, 460, 250}, 160, [](CTextCtrl& t) {
        t.SetText(u"使用说明");
        t.SetTextColor(0x000000);
        t.SetLink(true);
    });
    ASSERT_NE(link, nullptr);
    bool drawnBlue = false;
    for (const CDrawnText& t : driver.ScreenTexts())
        if (t.text == u"使用说明")
            drawnBlue = t.color == CTextCtrl::kLinkColor;
    EXPECT_TRUE(drawnBlue);
    // The underline runs under the text's cells.
    const bool underlined = driver.RunOnGui([&] {
        const CRect r = link->GetScreenRect();
        CDC dc(&UiMessageLoop::Current()->Screen());
        for (int y = r.top + 25; y < r.bottom; ++y)
            if (dc.GetPixel(r.left + 10, y) == CTextCtrl::kLinkColor)
                return true;
        return false;
    });
    EXPECT_TRUE(underlined);
    EXPECT_TRUE(driver.SaveScreen(ORB_BINARY_DIR "/screens", "widgets_link_label"));
    ASSERT_TRUE(CDriverControls::TapControl(driver, 160));
    const auto commands = CommandsFrom(160);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].code, BN_CLICKED);
}

TEST_F(WidgetTest, APlainLabelTakesNoTapAndKeepsItsColour) {
    CTextCtrl* label = Add<CTextCtrl>({20, 200, 460, 250}, 160, [](CTextCtrl& t) {
        t.SetText(u"已添加的营业部：");
        t.SetTextColor(0x00FF00);
        t.SetBold(true);
    });
    ASSERT_NE(label, nullptr);
    ASSERT_TRUE(CDriverControls::TapControl(driver, 160));
    EXPECT_TRUE(CommandsFrom(160).empty());
    EXPECT_EQ(driver.RunOnGui([label] { return label->GetDrawColor(); }), 0x00FF00u);
}

TEST_F(WidgetTest, ADragThatLeavesTheLinkReportsNoTap) {
    CTextCtrl* link = Add<CTextCtrl>({20, 200, 220, 250}, 161, [](CTextCtrl& t) {
        t.SetText(u"详情");
        t.SetLink(true);
    });
    ASSERT_NE(link, nullptr);
    ASSERT_TRUE(DragForm({60, 225}, {400, 500}));
    EXPECT_TRUE(CommandsFrom(161).empty());
}
