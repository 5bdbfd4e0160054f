// The watching edit's change message while typing, and the text label:
// its link look and the tap a link reports.
#include "framework/ui/widgets/CNotifyEdit.h"
#include "framework/ui/widgets/CTextCtrl.h"
#include "platform/gdi/CDC.h"
#include "widgets_Fixture.h"

TEST_F(WidgetTest, TheWatchingEditPostsItsIdAndWhetherTextWasTypedDeletedOrSet) {
    CNotifyEdit* edit = Add<CNotifyEdit>({40, 60, 200, 120}, 176, [](CNotifyEdit& e) { e.SetLimitText(6); });
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(CDriverControls::TapControl(driver, 176));
    ASSERT_TRUE(driver.TypeText(u"60"));
    ASSERT_TRUE(driver.PressKey(VK_BACK));
    driver.RunOnGui([edit] { edit->SetText(u"0001"); });
    std::vector<int> codes;
    for (const CReport& r : Reports()) {
        if (r.msg != UIM_EDIT_NOTIFY)
            continue;
        // The fixture splits wParam into halves; the whole word is the id.
        EXPECT_EQ(r.id, 176);
        EXPECT_EQ(r.code, 0);
        codes.push_back(CNotifyEdit::NotifyEditCode(r.value));
    }
    EXPECT_EQ(codes, (std::vector<int>{UI_EDIT_CHANGE_TYPED, UI_EDIT_CHANGE_TYPED, UI_EDIT_CHANGE_DELETED,
                                       UI_EDIT_CHANGE_SET}));
    EXPECT_EQ(CNotifyEdit::NotifyEditId(MakeWParam(176, 0)), 176);
    EXPECT_EQ(driver.ControlText(176), std::u16string(u"0001"));
}

TEST_F(WidgetTest, ALinkIsDrawnInTheLinkColourUnderlinedAndATapReportsItsIdButADragLeavingItDoesNot) {
    CTextCtrl* link = Add<CTextCtrl>({20, 200, 460, 250}, 160, [](CTextCtrl& t) {
        t.SetText(u"使用说明");
        t.SetTextColor(0x000000);
        t.SetLink(true);
    });
    ASSERT_NE(link, nullptr);
    std::optional<COLORREF> drawn;
    for (const CDrawnText& t : driver.ScreenTexts())
        if (t.text == u"使用说明")
            drawn = t.color;
    EXPECT_EQ(drawn, std::optional<COLORREF>(CTextCtrl::kLinkColor));
    // The underline runs under the text's cells.
    EXPECT_TRUE(driver.RunOnGui([&] {
        const CRect r = link->GetScreenRect();
        CDC dc(&UiMessageLoop::Current()->Screen());
        for (int y = r.top + 25; y < r.bottom; ++y)
            if (dc.GetPixel(r.left + 10, y) == CTextCtrl::kLinkColor)
                return true;
        return false;
    }));
    ASSERT_TRUE(DragForm({60, 225}, {400, 500}));
    EXPECT_TRUE(CommandsFrom(160).empty());
    ASSERT_TRUE(CDriverControls::TapControl(driver, 160));
    const auto commands = CommandsFrom(160);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].code, BN_CLICKED);
    // Links that share an id are told apart by the handle they send.
    EXPECT_EQ(commands[0].value, driver.RunOnGui([link] { return reinterpret_cast<LPARAM>(link->GetHandle()); }));
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
