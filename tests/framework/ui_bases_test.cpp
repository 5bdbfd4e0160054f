// The feature-window bases: the item picker's result message, the query
// tables' request and reply, the tabbed query window's tabs, the form's
// three-column rows, the combo box and the numeric keypad.
#include "ui_Fixture.h"

#include "core/CDataSetWriter.h"
#include "framework/net/NetFailure.h"
#include "framework/ui/CComboBoxWnd.h"
#include "framework/ui/CDigitInputWnd.h"
#include "framework/ui/CLayoutBaseWnd.h"
#include "framework/ui/CMakeChoiceWnd.h"
#include "framework/ui/CQueryTabBaseWnd.h"
#include "framework/ui/CQueryTableWnd.h"
#include "platform/testing/CDriverControls.h"
#include "platform/gdi/CSurface.h"
#include "platform/ui/UiEdit.h"

namespace {

// A window that keeps the picker results it receives.
class CPickerOwner : public CTestNetWnd {
public:
    using CTestNetWnd::CTestNetWnd;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WND_MSG_PICKER_RESULT) {
            const int* chosen = reinterpret_cast<const int*>(lParam);
            results.push_back({static_cast<int>(wParam), chosen[0], chosen[1]});
            FreeChoiceIndices(lParam);
            return 0;
        }
        return CTestNetWnd::OnMessage(msg, wParam, lParam);
    }
    std::vector<std::array<int, 3>> results; // caller id, choice, terminator
};

std::vector<CChoiceItem> ThreeItems() {
    std::vector<CChoiceItem> items(3);
    CLayoutBaseWnd::AddComboItem(u"红利再投资", "0", false, items[0]);
    CLayoutBaseWnd::AddComboItem(u"现金分红", "1", true, items[1]);
    CLayoutBaseWnd::AddComboItem(u"不变", "2", false, items[2]);
    return items;
}

// Logs a trade account in whose holder record carries fundId (GUI thread).
void LogInAccount(const char* fundId, const char* loginId) {
    CDataSetWriter w;
    w.AddSet("holder");
    const int fund = w.AddColumn(DataSetType::AnsiText, "fundid");
    w.AddRow();
    w.SetAnsiText(fund, fundId);
    const auto body = w.Serialize();
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    CAppData::Instance()->AddAccount(list.Detach(0), fundId, loginId, "pw", u"李四", u"");
}

std::string Request(CNetWnd& window) {
    CAString out;
    return window.BuildRequest(out) ? out.str() : "<nothing>";
}

using BasesTest = UiWindowTest;

} // namespace

TEST_F(BasesTest, APickerPostsItsOwnerTheCallerIdAndTheChosenIndexEvenWhenTheOwnerIsGone) {
    std::unique_ptr<CPickerOwner> owner;
    std::unique_ptr<CMakeChoiceWnd> picker;
    StartWithMain([&owner] {
        owner = std::make_unique<CPickerOwner>("owner", "CPickerOwner");
        owner->CreateOver(nullptr);
        owner->ShowWindow(true);
    });
    driver.RunOnGui([&] {
        picker = std::make_unique<CMakeChoiceWnd>(u"分红方式", owner.get(), 9);
        const auto items = ThreeItems();
        picker->SetItems(items.data(), 3);
        UiMessageLoop::Current()->PostTask([&picker] { picker->Choose(); });
    });
    ASSERT_EQ(Depth(), 1);
    EXPECT_TRUE(driver.ScreenShows(u"现金分红"));
    ASSERT_TRUE(CDriverControls::TapListItem(driver, CMakeChoiceWnd::kListId, 2));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 1)); // "确定"
    EXPECT_EQ(Depth(), 0);
    EXPECT_EQ(driver.RunOnGui([&owner] { return owner->results; }),
              (std::vector<std::array<int, 3>>{{9, 2, -1}}));
    // A scripted answer; the owner goes before the result is dispatched,
    // and the loop frees the array (LeakSanitizer checks).
    driver.AnswerNext(ModalKind::Picker, 0);
    driver.RunOnGui([&] {
        picker = std::make_unique<CMakeChoiceWnd>(u"分红方式", owner.get(), 1);
        const auto items = ThreeItems();
        picker->SetItems(items.data(), 3);
        owner.reset();
        EXPECT_EQ(picker->Choose(), 0);
        picker.reset();
    });
    EXPECT_TRUE(driver.WaitForRest());
}

TEST(ChoiceItems, TheHelpersCopyTheItemsAndGiveNullBeyondThem) {
    CArrayT<CChoiceItem> items;
    for (const CChoiceItem& item : ThreeItems())
        items.Append(item);
    int count = 0;
    const auto copy = CLayoutBaseWnd::CopyItemArray(items, &count);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(copy[1].value, "1");
    EXPECT_TRUE(copy[1].checked);
    EXPECT_STREQ(CLayoutBaseWnd::GetItemData(items, 2), "2");
    EXPECT_EQ(CLayoutBaseWnd::GetItemData(items, 3), nullptr);
    EXPECT_EQ(CLayoutBaseWnd::GetItemData(items, -1), nullptr);
}

TEST_F(BasesTest, AQueryRequestCarriesTheFundIdAndLoginIdWholeAndTheSameAfterAPagedReply) {
    StartWithMain();
    driver.RunOnGui([] {
        const std::string tail = "&fundid=880001&sess=AB12&operway=i";
        CQueryTableWnd table;
        ASSERT_TRUE(table.CreateOver(nullptr));
        table.SetMenuParams(3, "", "tc_mfuncno=500&tc_sfuncno=12&sign=bsflag&position=qrypos");
        EXPECT_EQ(table.GetSignField(), "bsflag");
        EXPECT_EQ(table.GetPagingKey(), "qrypos");
        EXPECT_EQ(Request(table), "<nothing>") << "no trade login";
        CQueryTabBaseWnd tabs;
        tabs.SetMenuParams(7, "", "tc_mfuncno=500&tc_sfuncno=15&position=qrypos");
        EXPECT_EQ(Request(tabs), "<nothing>");
        LogInAccount("880001", "sess=AB12&operway=i");
        CQueryTableWnd plain;
        ASSERT_TRUE(plain.CreateOver(nullptr));
        plain.SetMenuParams(3, "", "tc_mfuncno=500&tc_sfuncno=12");
        EXPECT_EQ(plain.GetPagingKey(), "poststr");
        const std::string first = Request(plain);
        EXPECT_EQ(first, "tc_mfuncno=500&tc_sfuncno=12" + tail);
        CDataSetWriter w;
        w.AddSet("orders");
        const int pos = w.AddColumn(DataSetType::AnsiText, "poststr");
        w.AddRow();
        w.SetAnsiText(pos, "p9");
        const auto body = w.Serialize();
        plain.OnNetData(body.data(), static_cast<int>(body.size()), false);
        EXPECT_EQ(plain.GetPagingCursor(), "p9"); // kept for windows that page
        EXPECT_EQ(Request(plain), first);
        // A long preset request is sent whole, never cut at a formatting cap.
        const std::string longPreset = "tc_mfuncno=500&tc_sfuncno=12&memo=" + std::string(3000, 'x');
        CQueryTableWnd long_;
        long_.SetMenuParams(3, "", longPreset.c_str());
        EXPECT_EQ(Request(long_), longPreset + tail);
        // The tabbed query sends the sealed trade query the same way.
        EXPECT_TRUE(tabs.GetSealRequest());
        EXPECT_EQ(tabs.GetPagingKey(), "qrypos");
        EXPECT_EQ(Request(tabs), "tc_mfuncno=500&tc_sfuncno=15&position=qrypos" + tail);
    });
}

TEST_F(BasesTest, TheTabbedQueryWindowPutsItsTabsUnderTheCaptionAndATappedTabShowsOnlyItsPage) {
    std::unique_ptr<CQueryTabBaseWnd> tabs;
    StartWithMain([&tabs] {
        tabs = std::make_unique<CQueryTabBaseWnd>();
        ASSERT_TRUE(tabs->CreateOver(nullptr));
        tabs->SetPageCount(2);
        tabs->GetPage(0)->SetCaption(u"资金");
        tabs->GetPage(1)->SetCaption(u"股份");
        tabs->GetPage(1)->AddLabel(u"证券名称");
        tabs->GetPage(1)->AddValue(u"浦发银行");
        tabs->LayoutPages();
        tabs->ShowWindow(true);
    });
    EXPECT_TRUE(driver.ScreenShows(u"刷新"));
    const std::optional<CRect> bar = CDriverControls::ControlScreenRect(driver, CQueryTabBaseWnd::kTabBarId);
    ASSERT_TRUE(bar);
    const CRect tab1 = driver.RunOnGui([&tabs] {
        UiTabBar& tabBar = tabs->GetTabBar();
        EXPECT_EQ(tabBar.GetRect(), CRect::FromSize(0, CBaseWnd::kCaptionHeight, tabs->GetClientRect().Width(),
                                                    CQueryTabBaseWnd::kTabBarHeight));
        EXPECT_EQ(tabBar.GetTabCount(), 2);
        EXPECT_EQ(tabBar.GetTabText(1), u"股份");
        EXPECT_EQ(tabs->GetSelectedPage(), 0);
        EXPECT_TRUE(tabs->GetPage(0)->IsVisible());
        EXPECT_FALSE(tabs->GetPage(1)->IsVisible());
        EXPECT_EQ(tabs->GetPage(1)->GetRect().top, CBaseWnd::kCaptionHeight + CQueryTabBaseWnd::kTabBarHeight);
        return tabBar.GetTabRect(1);
    });
    ASSERT_TRUE(driver.Tap(bar->left + (tab1.left + tab1.right) / 2, bar->top + (tab1.top + tab1.bottom) / 2));
    driver.RunOnGui([&tabs] {
        EXPECT_EQ(tabs->GetSelectedPage(), 1);
        EXPECT_EQ(tabs->GetTabBar().GetCurTab(), 1);
        EXPECT_FALSE(tabs->GetPage(0)->IsVisible());
        EXPECT_TRUE(tabs->GetPage(1)->IsVisible());
        tabs.reset();
    });
}

TEST_F(BasesTest, TheQueryReplyFillsTheGridColoursRowsBySignHidesSignAndPagingAndAnErrorIsShown) {
    StartWithMain();
    driver.RunOnGui([] {
        CQueryTableWnd table;
        ASSERT_TRUE(table.CreateOver(nullptr));
        CDataSetWriter w;
        w.AddSet("orders");
        const int name = w.AddColumn(DataSetType::WideText, "stkname", u"证券名称");
        const int sign = w.AddColumn(DataSetType::Int32, "sign");
        const int pos = w.AddColumn(DataSetType::AnsiText, "poststr");
        for (int i = 0; i < 2; ++i) {
            w.AddRow();
            w.SetText(name, i == 0 ? u"浦发银行" : u"平安银行");
            w.SetInt(sign, i == 0 ? 1 : -1);
            w.SetAnsiText(pos, i == 0 ? "p1" : "p2");
        }
        const auto body = w.Serialize();
        table.OnNetData(body.data(), static_cast<int>(body.size()), false);
        CGridCtrl& grid = table.GetGrid();
        ASSERT_EQ(grid.GetRowCount(), 2);
        EXPECT_EQ(grid.GetHeaderCell(0)->text, u"证券名称");
        EXPECT_EQ(*table.GetCellText(1, 0), u"平安银行");
        EXPECT_EQ(grid.GetCell(0, 0)->color, CAppData::Instance()->GetColor(15));
        EXPECT_EQ(grid.GetCell(1, 0)->color, CAppData::Instance()->GetColor(16));
        EXPECT_TRUE(grid.IsColumnHidden(1));
        EXPECT_TRUE(grid.IsColumnHidden(2));
        EXPECT_EQ(table.FindFieldColumn("STKNAME"), 0);
        EXPECT_EQ(table.FindFieldColumn("sign"), -1);
        EXPECT_EQ(table.GetPagingCursor(), "p2");
        char* a = table.GetCellTextA(0, 0);
        EXPECT_EQ(CWString::CWStringFromAnsi(a), u"浦发银行");
        std::free(a);
        EXPECT_EQ(table.GetCellTextA(5, 0), nullptr);
    });
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    driver.RunOnGui([] {
        CQueryTableWnd table;
        ASSERT_TRUE(table.CreateOver(nullptr));
        const auto body = CDataSetWriter::ErrorBody(u"无此账户");
        table.OnNetData(body.data(), static_cast<int>(body.size()), false);
        EXPECT_EQ(table.GetGrid().GetRowCount(), 0);
    });
    const auto shown = driver.Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, u"信息");
    EXPECT_EQ(shown[0].text, u"无此账户");
}

TEST_F(BasesTest, AFormsThirdColumnEndsShortOfTheRightMarginAndRowsStayApart) {
    StartWithMain();
    driver.RunOnGui([] {
        CLayoutBaseWnd form;
        ASSERT_TRUE(form.CreateOver(nullptr));
        EXPECT_EQ(form.GetRowRect(1, 2), (CRect{160, 175, 460, 245}));
        EXPECT_EQ(form.GetRowRect3(1, 0), (CRect{160, 15, 380, 85}));
        EXPECT_EQ(form.GetRowRect3(2, 0), (CRect{400, 15, 440, 85}));
        EXPECT_EQ(form.GetRowRect3(0, 1), (CRect{20, 95, 140, 165}));
    });
}

TEST_F(BasesTest, TheComboBoxGivesItemsByIndexFindsThemByDataAndCountsOnlyOnceOneIsSelected) {
    StartWithMain();
    driver.RunOnGui([] {
        CComboBoxWnd combo;
        ASSERT_TRUE(combo.CreateCombo(g_log.live.at("main"), CRect::FromSize(20, 100, 300, 50), 300));
        combo.AddItem(u"深A股东", u"0");
        combo.AddItem(u"沪A股东", u"1");
        EXPECT_EQ(combo.GetCount(), -1);
        EXPECT_EQ(combo.FindItem(u"1"), 1);
        EXPECT_EQ(combo.FindItem(u""), -1);
        EXPECT_EQ(combo.FindItem(u"9"), -1);
        combo.SetCurSel(1);
        EXPECT_EQ(combo.GetCount(), 1);
        const struct {
            int index;
            const char16_t* text;
            const char16_t* data; // null: none
        } items[] = {{0, u"深A股东", u"0"}, {1, u"沪A股东", u"1"}, {-1, u"", nullptr}, {2, u"", nullptr}, {5, u"", nullptr}};
        for (const auto& item : items) {
            EXPECT_EQ(combo.GetItemText(item.index), item.text) << item.index;
            const CWString* data = combo.GetItemData(item.index);
            ASSERT_EQ(data != nullptr, item.data != nullptr) << item.index;
            if (data) {
                EXPECT_EQ(*data, item.data) << item.index;
            }
        }
        combo.RemoveAll();
        EXPECT_EQ(combo.GetCount(), -1);
    });
}

TEST_F(BasesTest, TheOpenDropDownHidesTheControlsUnderItAndTheClosedOneShowsThemAgain) {
    StartWithMain();
    driver.RunOnGui([] {
        UiWin* main = g_log.live.at("main");
        // A red field where the list opens, made first as a form's list is.
        UiWin under;
        ASSERT_TRUE(under.Create(main, CRect::FromSize(20, 160, 300, 150), 301, true));
        under.SetBkColor(MakeRgb(255, 0, 0));
        CComboBoxWnd combo;
        ASSERT_TRUE(combo.CreateCombo(main, CRect::FromSize(20, 100, 300, 50), 300));
        combo.AddItem(u"深A股东", u"0");
        combo.ShowDropDown(true);
        UiMessageLoop* loop = UiMessageLoop::Current();
        loop->PaintNow();
        const CPoint origin = main->GetScreenRect().TopLeft();
        const CSurface& screen = loop->Screen();
        for (CPoint p : {CPoint{40, 170}, CPoint{160, 230}, CPoint{300, 290}}) // an item, empty rows
            EXPECT_NE(screen.GetPixel(origin.x + p.x, origin.y + p.y), MakeRgb(255, 0, 0)) << p.x << "," << p.y;
        combo.ShowDropDown(false);
        loop->PaintNow();
        EXPECT_EQ(screen.GetPixel(origin.x + 160, origin.y + 230), MakeRgb(255, 0, 0));
    });
}

TEST_F(BasesTest, TheKeypadTypesIntoTheEditAndCancelRestoresIt) {
    std::unique_ptr<UiEdit> edit;
    StartWithMain([&edit] {
        edit = std::make_unique<UiEdit>();
        edit->Create(g_log.live.at("main"), CRect::FromSize(20, 100, 300, 50), 400);
        edit->SetText(u"1");
    });
    driver.RunOnGui([&edit] {
        UiMessageLoop::Current()->PostTask(
            [&edit] { CWndManager::Instance().ShowDigitInput(edit.get(), u"请输入数量", g_log.live.at("main")); });
    });
    ASSERT_EQ(Depth(), 1);
    EXPECT_TRUE(driver.ScreenShows(u"请输入数量"));
    for (int key : {9, 4, 9}) // ".", "5", "." again: ignored
        ASSERT_TRUE(CDriverControls::TapControl(driver, CDigitInputWnd::kFirstKeyId + key));
    EXPECT_EQ(driver.RunOnGui([&edit] { return edit->GetText(); }), u"1.5");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 0)); // "取消"
    EXPECT_EQ(Depth(), 0);
    EXPECT_EQ(driver.RunOnGui([&edit] { return edit->GetText(); }), u"1");
    EXPECT_TRUE(driver.RunOnGui([] { return g_log.live.at("main")->IsVisible(); }));
    driver.RunOnGui([&edit] { edit.reset(); });
}

TEST(KeypadKeys, EraseDropsTheLastCharacterAndAPointComesOnce) {
    const std::pair<std::vector<int>, std::u16string> cases[] = {
        {{10, 9, 9, 0}, u"0.1"}, {{10, 9, 0, 11}, u"0."}, {{11}, u""}}; // 0 . . 1; 0 . 1 erase; erase
    for (const auto& [keys, expected] : cases) {
        std::u16string text;
        for (int key : keys)
            CDigitInputWnd::ApplyKey(text, key);
        EXPECT_EQ(text, expected);
    }
}

TEST_F(BasesTest, QueryKeysComeFromTheParameterTextUnderTheRequestsAnEmptyReplyEmptiesTheTableANetworkFailureKeepsIt) {
    StartWithMain();
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    driver.RunOnGui([] {
        CQueryTableWnd table;
        ASSERT_TRUE(table.CreateOver(nullptr));
        table.SetMenuParams(3, "sign=flag&position=pos1", "tc_mfuncno=500&tc_sfuncno=10&position=pos2");
        EXPECT_EQ(table.GetSignField(), "flag");
        EXPECT_EQ(table.GetPagingKey(), "pos2") << "the request text overrides";
        CQueryTabBaseWnd tabs;
        tabs.SetMenuParams(7, "position=qrypos", "tc_mfuncno=500&tc_sfuncno=12");
        EXPECT_EQ(tabs.GetPagingKey(), "qrypos");
        CDataSetWriter w;
        w.AddSet("orders");
        const int name = w.AddColumn(DataSetType::WideText, "stkname");
        w.AddRow();
        w.SetText(name, u"浦发银行");
        const auto body = w.Serialize();
        table.SetColorValue(0);
        table.OnNetData(body.data(), static_cast<int>(body.size()), false);
        ASSERT_EQ(table.GetGrid().GetRowCount(), 1);
        EXPECT_EQ(table.GetGrid().GetCell(0, 0)->color, 0xFFFFFFu) << "colour value 0: white";
        // An empty body and a reply without a set each leave no row to act on.
        const auto none = CDataSetWriter().Serialize();
        for (int kind = 1; kind < 3; ++kind) {
            table.OnNetData(body.data(), static_cast<int>(body.size()), false);
            ASSERT_NE(table.GetDataSet(), nullptr);
            if (kind == 1)
                table.OnNetData(nullptr, 0, false);
            else
                table.OnNetData(none.data(), static_cast<int>(none.size()), false);
            EXPECT_EQ(table.GetGrid().GetRowCount(), 0) << kind;
            EXPECT_EQ(table.GetDataSet(), nullptr) << kind;
            EXPECT_FALSE(table.GetReplyField(0, "stkname").has_value()) << kind;
        }
        // A network failure is told, and the last good rows stay.
        table.OnNetData(body.data(), static_cast<int>(body.size()), false);
        const auto failed = NetFailureBody(NET_ERR_RECEIVE);
        table.OnNetData(failed.data(), static_cast<int>(failed.size()), true);
        EXPECT_EQ(table.GetGrid().GetRowCount(), 1);
        EXPECT_EQ(table.GetReplyField(0, "stkname"), CWString(u"浦发银行"));
    });
    const auto shown = driver.Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, u"错误(4)：接收数据失败，请重试");
}

TEST_F(BasesTest, AReplysFirstSetIsReadOnlyWhenItIsThereAndAnInfoSetIsHandedOnOnlyByFirstDataSet) {
    StartWithMain();
    struct Window : CTestNetWnd {
        using CTestNetWnd::CTestNetWnd;
        void OnInfoSet(const CDataSet&) override { ++infoSets; }
        int infoSets = 0;
    };
    struct Case {
        const char* tag; // null: a reply without a set; "error": an error reply
        bool replySet, dataSet;
    };
    const Case cases[] = {{"rows", true, true}, {"hq.info", true, false}, {nullptr, false, false},
                          {"error", false, false}};
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    driver.RunOnGui([&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.tag ? c.tag : "no set");
            std::vector<std::uint8_t> body;
            if (c.tag && std::string_view(c.tag) == "error") {
                body = CDataSetWriter::ErrorBody(u"查询失败");
            } else {
                CDataSetWriter w;
                if (c.tag) {
                    w.AddSet(c.tag);
                    w.AddColumn(DataSetType::Int32, "n");
                }
                body = w.Serialize();
            }
            Window window("reader");
            ASSERT_TRUE(window.CreateOver(nullptr));
            CDataSetList a(body.data(), static_cast<int>(body.size()));
            EXPECT_EQ(window.FirstReplySet(a) != nullptr, c.replySet);
            CDataSetList b(body.data(), static_cast<int>(body.size()));
            EXPECT_EQ(window.FirstDataSet(b) != nullptr, c.dataSet);
            EXPECT_EQ(window.infoSets, c.replySet && !c.dataSet ? 1 : 0);
        }
    });
    const auto shown = driver.Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, u"查询失败");
}
