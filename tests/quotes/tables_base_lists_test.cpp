// The quote table base on the screen: what its two lists report to the
// window for taps, drags and flings, a selected row's name, and the layout
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

class TableBaseTest : public AppWindowTest {
protected:
    TableBaseTest() : AppWindowTest("orb_tbase") {}

    std::unique_ptr<CProbeTableWnd> table;

    void ReleaseWindows() override { table.reset(); }
    // Shows a table of rows rows.
    void Start(int rows) {
        ASSERT_TRUE(driver.Start([this, rows] {
            CAppData::Create(dir.string());
            table = std::make_unique<CProbeTableWnd>();
            table->SetCaption(u"表格");
            ASSERT_TRUE(table->CreateOver(nullptr));
            for (int i = 0; i < rows; ++i) {
                auto* r = new CQuoteRowData;
                r->SetCell(CQuoteRowData::kName, u"行", 0xFFFFFF, CQuoteRowData::kKindName);
                table->AddRow(r);
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

class TableGestures;
struct Gesture {
    const char* what;
    void (*run)(TableGestures&);
    std::vector<Command> commands;
    int selected;
};

void PrintTo(const Gesture& g, std::ostream* os) { *os << g.what; }

class TableGestures : public TableBaseTest, public ::testing::WithParamInterface<Gesture> {
public:
    using TableBaseTest::ClearCommands, TableBaseTest::driver, TableBaseTest::HeaderRect, TableBaseTest::RowRect,
        TableBaseTest::table;
    void Tap(int row) { ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, row)); }
};

TEST_P(TableGestures, OnlyTapsOnTheSelectedRowOrInTheRightFifthAreReported) {
    SCOPED_TRACE(GetParam().what);
    Start(40);
    GetParam().run(*this);
    EXPECT_EQ(Commands(), GetParam().commands);
    EXPECT_EQ(Selected(), GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(Rows, TableGestures, ::testing::Values(
    Gesture{"a tap outside the right fifth only selects", [](TableGestures& t) {
        t.Tap(1);
    }, {}, 1},
    Gesture{"the selected row reports every tap", [](TableGestures& t) {
        for (int i = 0; i < 3; ++i)
            t.Tap(1);
    }, {{171, 0x0A, 1}, {171, 0x0A, 1}}, 1},
    Gesture{"the right fifth of another row reports and selects", [](TableGestures& t) {
        const CRect r = t.RowRect(2);
        ASSERT_TRUE(t.driver.Tap(r.right - 10, (r.top + r.bottom) / 2));
    }, {{171, 4, 2}}, 2},
    Gesture{"drags on rows and header report nothing", [](TableGestures& t) {
        const CRect r = t.RowRect(3);
        ASSERT_TRUE(t.driver.Drag({r.right - 10, r.bottom}, {r.right - 10, r.top - 200}, 6));
        const CRect h = t.HeaderRect();
        ASSERT_TRUE(t.driver.Drag({h.right - 10, h.top + 25}, {h.right - 40, h.top + 25}, 4));
    }, {}, -1},
    Gesture{"a tap that stops a fling reports nothing", [](TableGestures& t) {
        t.Tap(0);
        const CRect r = t.RowRect(6);
        const int x = r.right - 10;
        // A quick upward drag on the program clock, released while moving.
        ASSERT_TRUE(t.driver.Press(x, r.bottom));
        for (int i = 1; i <= 4; ++i) {
            ASSERT_TRUE(t.driver.AdvanceClock(10));
            ASSERT_TRUE(t.driver.Move(x, r.bottom - i * 40));
        }
        ASSERT_TRUE(t.driver.Release(x, r.bottom - 160));
        ASSERT_TRUE(t.driver.RunOnGui([&t] { return t.table->GetRowList().IsScrolling(); })) << "the fling runs";
        t.ClearCommands();
        ASSERT_TRUE(t.driver.Tap(x, r.top + 5));
    }, {}, 0}));

TEST_F(TableBaseTest, ASelectedRowDrawsItsNameBlack) {
    Start(3);
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 1));
    EXPECT_EQ(ColorOf(TextsIn(RowRect(1)), u"行"), 0x000000u);
    EXPECT_EQ(ColorOf(TextsIn(RowRect(0)), u"行"), 0xFFFFFFu);
}

TEST_F(TableBaseTest, OnlyTheLastTitleReactsUntilAllColumnsAreOn) {
    Start(3);
    const CRect h = HeaderRect();
    const auto tapAt = [&](double share) { return driver.Tap(h.left + static_cast<int>(h.Width() * share), (h.top + h.bottom) / 2); };
    for (double share : {0.1, 0.4, 0.6, 0.9, 0.9})
        ASSERT_TRUE(tapAt(share));
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

} // namespace
