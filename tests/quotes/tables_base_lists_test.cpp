// The quote table base on the screen: what its two lists report to the
// window for taps, drags and flings, how rows are drawn, and the layout
// after the screen turns.
#include "framework/app/CAppData.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/WndMessages.h"
#include "platform/Clock.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CGTestDriver.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/tables/COrbTableWnd.h"
#include "support/AppWindowTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Command = std::tuple<int, int, long>; // control id, code, value

// A table window that keeps the commands its lists send.
class CProbeTableWnd : public COrbTableWnd {
public:
    ~CProbeTableWnd() override { Destroy(); }
    bool OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.emplace_back(LowWord(wParam), HighWord(wParam), static_cast<long>(lParam));
        return true;
    }
    std::vector<Command> commands;
};

CQuoteRowData* MakeRow(std::u16string_view name, std::u16string_view last, COLORREF lastColor,
                       std::u16string_view pct, COLORREF pctColor) {
    auto* r = new CQuoteRowData;
    r->SetCell(CQuoteRowData::kName, name, 0xFFFFFF, CQuoteRowData::kKindName);
    r->SetCell(CQuoteRowData::kCode, u"600010", 0xFFFFFF, CQuoteRowData::kKindCode);
    r->SetCell(CQuoteRowData::kLast, last, lastColor, CQuoteRowData::kKindLast);
    r->SetCell(CQuoteRowData::kChange, u"0.10", lastColor, CQuoteRowData::kKindChange);
    r->SetCell(CQuoteRowData::kChangePct, pct, pctColor, CQuoteRowData::kKindChangePct);
    r->SetCell(CQuoteRowData::kMarket, u"2", 0xFFFFFF, CQuoteRowData::kKindMarket);
    return r;
}

class TableBaseTest : public AppWindowTest {
protected:
    TableBaseTest() : AppWindowTest("orb_tbase") {}

    std::unique_ptr<CProbeTableWnd> table;

    void ReleaseWindows() override { table.reset(); }
    // Shows a table of rows rows (row i named "第i行"; row 2 in a colour of
    // no scheme, row 3 with "-" as its change in percent).
    void Start(int rows) {
        ASSERT_TRUE(driver.Start([this, rows] {
            CAppData::Create(dir.string());
            table = std::make_unique<CProbeTableWnd>();
            table->SetCaption(u"表格");
            ASSERT_TRUE(table->CreateOver(nullptr));
            for (int i = 0; i < rows; ++i) {
                const std::u16string name = u"第" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u"行";
                const COLORREF color = i == 2 ? 0x00A5FF : 0x2626FF;
                table->AddRow(MakeRow(name, u"10.00", color, i == 3 ? u"-" : u"1.00", 0x2626FF));
            }
            table->ShowWindow(true);
        }));
    }
    std::vector<Command> Commands() {
        return driver.RunOnGui([this] { return table->commands; });
    }
    void ClearCommands() {
        driver.RunOnGui([this] { table->commands.clear(); });
    }
    int Selected() {
        return driver.RunOnGui([this] { return table->GetSelectedRow(); });
    }
    CRect RowRect(int index) {
        return driver.RunOnGui([this, index] {
            CQuoteRowList& list = table->GetRowList();
            const CRect screen = list.GetScreenRect();
            return list.GetItemRect(index).Offset(screen.left, screen.top);
        });
    }
    CRect HeaderRect() {
        return CDriverControls::ControlScreenRect(driver, COrbTableWnd::kHeaderListId).value_or(CRect{});
    }
};

TEST_F(TableBaseTest, TheListsSitBetweenTheCaptionAndTheBottomBar) {
    Start(3);
    const CRect header = HeaderRect();
    const CRect rows = CDriverControls::ControlScreenRect(driver, COrbTableWnd::kRowListId).value();
    const CRect window = driver.RunOnGui([this] { return table->GetScreenRect(); });
    EXPECT_EQ(header, CRect::FromSize(window.left, window.top + 42, window.Width(), 50));
    EXPECT_EQ(rows, (CRect{window.left, window.top + 92, window.right, window.bottom - 65}));
    EXPECT_EQ(driver.RunOnGui([this] { return table->GetClientArea(); }), nullptr);
}

TEST_F(TableBaseTest, AfterTheScreenTurnsTheListsTakeTheNewWidth) {
    Start(3);
    driver.RunOnGui([this] {
        UiMessageLoop::Current()->SetScreenMode(SCREEN_MODE_0);
        table->ApplyScreenSettings();
    });
    driver.WaitForRest();
    const CRect window = driver.RunOnGui([this] { return table->GetScreenRect(); });
    EXPECT_EQ(window.Width(), driver.RunOnGui([] { return UiMessageLoop::Current()->GetWorkRect().Width(); }));
    EXPECT_EQ(HeaderRect().Width(), window.Width());
    const CRect rows = CDriverControls::ControlScreenRect(driver, COrbTableWnd::kRowListId).value();
    EXPECT_EQ(rows.bottom, window.bottom - 65);
}

TEST_F(TableBaseTest, TheSelectedRowReportsEveryTapAndAnotherRowIsOnlySelected) {
    Start(5);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 1));
    EXPECT_TRUE(Commands().empty()) << "a tap outside the right fifth only selects";
    EXPECT_EQ(Selected(), 1);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 1));
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 1));
    EXPECT_EQ(Commands(), (std::vector<Command>{{171, 0x0A, 1}, {171, 0x0A, 1}}));
    EXPECT_EQ(Selected(), 1);
}

TEST_F(TableBaseTest, ATapInTheRightFifthOfAnotherRowReportsItAndSelectsIt) {
    Start(5);
    const CRect r = RowRect(2);
    ASSERT_TRUE(driver.Tap(r.right - 10, (r.top + r.bottom) / 2));
    EXPECT_EQ(Commands(), (std::vector<Command>{{171, 4, 2}}));
    EXPECT_EQ(Selected(), 2);
}

TEST_F(TableBaseTest, ADragReportsNothingAndSelectsNothing) {
    Start(30);
    const CRect r = RowRect(3);
    ASSERT_TRUE(driver.Drag({r.right - 10, r.bottom}, {r.right - 10, r.top - 200}, 6));
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(Selected(), -1);
    const CRect h = HeaderRect();
    ASSERT_TRUE(driver.Drag({h.right - 10, h.top + 25}, {h.right - 40, h.top + 25}, 4));
    EXPECT_TRUE(Commands().empty());
}

TEST_F(TableBaseTest, ATapThatStopsAFlingReportsNothingAndChangesNoSelection) {
    Start(40);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 0));
    const CRect r = RowRect(6);
    const int x = r.right - 10;
    // A quick upward drag on the program clock, released while moving.
    ASSERT_TRUE(driver.Press(x, r.bottom));
    for (int i = 1; i <= 4; ++i) {
        ASSERT_TRUE(driver.AdvanceClock(10));
        ASSERT_TRUE(driver.Move(x, r.bottom - i * 40));
    }
    ASSERT_TRUE(driver.Release(x, r.bottom - 160));
    ASSERT_TRUE(driver.RunOnGui([this] { return table->GetRowList().IsScrolling(); })) << "the fling runs";
    ClearCommands();
    ASSERT_TRUE(driver.Tap(x, r.top + 5));
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(Selected(), 0);
}

TEST_F(TableBaseTest, OnlyTheLastTitleReactsUntilAllColumnsAreOn) {
    Start(3);
    const CRect h = HeaderRect();
    const int y = (h.top + h.bottom) / 2;
    const auto tapAt = [&](double share) { return driver.Tap(h.left + static_cast<int>(h.Width() * share), y); };
    ASSERT_TRUE(tapAt(0.1));
    ASSERT_TRUE(tapAt(0.4));
    ASSERT_TRUE(tapAt(0.6));
    EXPECT_TRUE(Commands().empty());
    ASSERT_TRUE(tapAt(0.9));
    ASSERT_TRUE(tapAt(0.9));
    EXPECT_EQ(Commands(), (std::vector<Command>{{172, 4, 1}, {172, 4, 0}}));

    ClearCommands();
    driver.RunOnGui([this] { table->GetHeaderList().SetAllColumns(true); });
    for (double share : {0.1, 0.4, 0.6, 0.77})
        ASSERT_TRUE(tapAt(share));
    EXPECT_EQ(Commands(), (std::vector<Command>{{172, 1, 0}, {172, 2, 0}, {172, 3, 0}}));

    ClearCommands();
    driver.RunOnGui([this] { table->GetHeaderList().SetNotify(false); });
    ASSERT_TRUE(tapAt(0.9));
    EXPECT_TRUE(Commands().empty()) << "notifications off: the header is mute";
}

TEST_F(TableBaseTest, RowsDrawThePercentWithItsSignAndKeepColoursOutsideTheScheme) {
    Start(5);
    std::vector<CDrawnText> row3 = TextsIn(RowRect(3));
    EXPECT_EQ(ColorOf(row3, u"-%"), 0xE6E6E6u) << "a dash is followed by % like any value";
    std::vector<CDrawnText> row2 = TextsIn(RowRect(2));
    EXPECT_EQ(ColorOf(row2, u"10.00"), 0x00A5FFu);
    EXPECT_EQ(ColorOf(row2, u"第2行"), 0xFFFFFFu);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 2));
    row2 = TextsIn(RowRect(2));
    EXPECT_EQ(ColorOf(row2, u"10.00"), 0x00A5FFu) << "selected or not";
    EXPECT_EQ(ColorOf(row2, u"第2行"), 0x000000u);
    EXPECT_EQ(ColorOf(row2, u"600010"), 0x000000u);
}

TEST_F(TableBaseTest, TheDetailQuoteOpensWithTheStockInItsParameterText) {
    std::string param, request;
    Start(1);
    driver.RunOnGui([&] {
        CWndManager::Instance().RegisterWindow("xxhq", [&](const CWndCreateInfo&) {
            struct Stub : CNetWnd {
                std::string *param, *request;
                ~Stub() override { Destroy(); }
                void SetMenuParams(int, const char* p, const char* r) override {
                    *param = p ? p : "";
                    *request = r ? r : "";
                }
                void OnWindowShown() override { PostMessage(WND_MSG_CLOSE, 0, 1); }
            };
            auto stub = std::make_unique<Stub>();
            stub->param = &param;
            stub->request = &request;
            return std::unique_ptr<CBaseWnd>(std::move(stub));
        });
    });
    driver.RunOnGui([this] { table->OpenDetailQuote("600010.02"); });
    EXPECT_EQ(param, "code=600010.02");
    EXPECT_EQ(request, "tc_mfuncno=31000&tc_sfuncno=4");
}

} // namespace
