// The table grid on a form: its rows and cells as the screens fill them,
// and a finger that taps rows, scrolls the rows and slides the columns.
#include "framework/ui/widgets/CGridCtrl.h"
#include "widgets_Fixture.h"

#include <string>

namespace {

constexpr int kGridId = 171;

CWString Text(const std::string& ascii) { return CWString(std::u16string(ascii.begin(), ascii.end())); }

std::vector<CGridCell> Row(int row, int columns) {
    std::vector<CGridCell> cells;
    for (int c = 0; c < columns; ++c)
        cells.push_back({Text("r" + std::to_string(row) + "c" + std::to_string(c)), 0x2626FF, c, 0});
    return cells;
}

class GridTest : public WidgetTest {
protected:
    CGridCtrl* grid = nullptr;

    // A 480 × 480 grid at the form's top-left: six columns, three on the
    // screen with the first fixed, a header row of "head0".."head5".
    void MakeGrid(int rows, int rowLimit = 0) {
        grid = Add<CGridCtrl>({0, 0, 480, 480}, kGridId);
        ASSERT_NE(grid, nullptr);
        driver.RunOnGui([&] {
            grid->SetTable(rowLimit, 6, true, 3, 1);
            std::vector<CGridCell> header;
            for (int c = 0; c < 6; ++c)
                header.push_back({Text("head" + std::to_string(c))});
            grid->SetHeader(header.data(), 6);
            for (int r = 0; r < rows; ++r)
                grid->AddRow(Row(r, 6).data(), 6);
        });
    }
    std::u16string CellText(int row, int column) {
        return driver.RunOnGui([&] {
            const CGridCell* cell = grid->GetCell(row, column);
            return cell ? cell->text.str() : std::u16string(u"<null>");
        });
    }
};

} // namespace

TEST_F(GridTest, RowsAreCopiedInAndShortRowsGetEmptyCells) {
    MakeGrid(0);
    driver.RunOnGui([&] {
        std::vector<CGridCell> cells = Row(0, 8); // more cells than columns
        EXPECT_EQ(grid->AddRow(cells.data(), 8), 0);
        cells[0].text = u"changed after adding";
        EXPECT_EQ(grid->AddRow(cells.data(), 2), 1);
        EXPECT_EQ(grid->AddRow(nullptr, 3), 2);
        EXPECT_EQ(grid->GetRowCount(), 3);
    });
    EXPECT_EQ(CellText(0, 0), u"r0c0") << "the grid keeps its own copy";
    EXPECT_EQ(CellText(0, 5), u"r0c5");
    EXPECT_EQ(CellText(1, 1), u"r0c1");
    EXPECT_EQ(CellText(1, 2), u"");
    EXPECT_EQ(CellText(2, 0), u"");
    driver.RunOnGui([&] {
        EXPECT_EQ(grid->GetCell(0, 1)->color, 0x2626FFu);
        EXPECT_EQ(grid->GetCell(0, 4)->value, 4);
    });
}

TEST_F(GridTest, CellsOutOfRangeAreNullNeverACrash) {
    MakeGrid(2);
    driver.RunOnGui([&] {
        EXPECT_EQ(grid->GetCell(-1, 0), nullptr);
        EXPECT_EQ(grid->GetCell(2, 0), nullptr);
        EXPECT_EQ(grid->GetCell(0, -1), nullptr);
        EXPECT_EQ(grid->GetCell(0, 6), nullptr);
        EXPECT_EQ(grid->GetHeaderCell(6), nullptr);
        ASSERT_NE(grid->GetHeaderCell(5), nullptr);
        EXPECT_EQ(grid->GetHeaderCell(5)->text, u"head5");
        grid->SetSelectedRow(7);
        EXPECT_LT(grid->GetSelectedRow(), 0);
        grid->SetColumnHidden(-1, true);
        grid->SetColumnHidden(6, true);
        EXPECT_FALSE(grid->IsColumnHidden(6));
    });
}

TEST_F(GridTest, ARowBeyondTheRowLimitIsRefused) {
    MakeGrid(3, 3);
    driver.RunOnGui([&] {
        EXPECT_EQ(grid->AddRow(Row(3, 6).data(), 6), -1);
        EXPECT_EQ(grid->GetRowCount(), 3);
    });
}

TEST_F(GridTest, SettingTheTableAgainEmptiesIt) {
    MakeGrid(4);
    driver.RunOnGui([&] {
        grid->SetSelectedRow(1);
        grid->SetColumnHidden(2, true);
        grid->SetTable(10, 3, false, 3, 0);
        EXPECT_EQ(grid->GetRowCount(), 0);
        EXPECT_LT(grid->GetSelectedRow(), 0);
        EXPECT_FALSE(grid->IsColumnHidden(2));
        EXPECT_EQ(grid->GetHeaderCell(0)->text, u"");
    });
}

TEST_F(GridTest, DeletingTheTopRowsShiftsTheRestAndTheSelectionFollowsItsRow) {
    MakeGrid(10);
    driver.RunOnGui([&] {
        grid->SetSelectedRow(5);
        grid->DeleteTopRows(3);
        EXPECT_EQ(grid->GetRowCount(), 7);
        EXPECT_EQ(grid->GetSelectedRow(), 2);
        grid->DeleteTopRows(0);
        grid->DeleteTopRows(-4);
        EXPECT_EQ(grid->GetRowCount(), 7);
        grid->DeleteTopRows(3);
        EXPECT_LT(grid->GetSelectedRow(), 0) << "the selected row itself went";
    });
    EXPECT_EQ(CellText(0, 0), u"r6c0");
    EXPECT_EQ(CellText(3, 0), u"r9c0");
    driver.RunOnGui([&] {
        grid->DeleteTopRows(50);
        EXPECT_EQ(grid->GetRowCount(), 0);
        grid->AddRow(Row(0, 6).data(), 6);
        grid->DeleteAllRows();
        EXPECT_EQ(grid->GetRowCount(), 0);
        EXPECT_EQ(grid->GetHeaderCell(0)->text, u"head0") << "the header stays";
    });
}

TEST_F(GridTest, ATapOnARowSelectsItAndTellsTheWindowTheRowWithoutTheHeader) {
    MakeGrid(5);
    // Row 2 lies below the 48-pixel header band and rows 0 and 1.
    ASSERT_TRUE(TapForm(80, 48 + 2 * 48 + 24));
    EXPECT_EQ(driver.RunOnGui([&] { return grid->GetSelectedRow(); }), 2);
    const auto commands = CommandsFrom(kGridId);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].code, GRID_ROW_TAPPED);
    EXPECT_EQ(commands[0].value, 2);
    EXPECT_EQ(commands[1].code, GRID_TAPPED_AT);
    EXPECT_EQ(commands[1].value, MakeLParam(80, 168));
}

TEST_F(GridTest, ATapOnTheHeaderOrBelowTheRowsSelectsNothing) {
    MakeGrid(2);
    ASSERT_TRUE(TapForm(80, 20));
    ASSERT_TRUE(TapForm(80, 400));
    EXPECT_LT(driver.RunOnGui([&] { return grid->GetSelectedRow(); }), 0);
    for (const CReport& r : CommandsFrom(kGridId))
        EXPECT_EQ(r.code, GRID_TAPPED_AT) << "no row was tapped";
}

TEST_F(GridTest, WithNotificationsOffATapSelectsButPostsNothing) {
    MakeGrid(3);
    driver.RunOnGui([&] { grid->SetNotify(false); });
    ASSERT_TRUE(TapForm(80, 48 + 24));
    EXPECT_EQ(driver.RunOnGui([&] { return grid->GetSelectedRow(); }), 0);
    EXPECT_TRUE(CommandsFrom(kGridId).empty());
}

TEST_F(GridTest, DraggingUpScrollsTheRowsAndSelectsNothing) {
    MakeGrid(30);
    ASSERT_TRUE(DragForm({240, 400}, {240, 200}));
    driver.AdvanceClock(2000); // let momentum die out
    driver.RunOnGui([&] {
        EXPECT_GE(grid->GetScrollPos(), 150);
        EXPECT_LT(grid->GetSelectedRow(), 0);
        EXPECT_EQ(grid->GetFirstScrolled(), 0);
    });
    EXPECT_TRUE(CommandsFrom(kGridId).empty());
    EXPECT_TRUE(driver.ScreenShows(u"head0")) << "the header stays on top";
}

TEST_F(GridTest, AGridThatNeverSlidesIgnoresDrags) {
    MakeGrid(30);
    driver.RunOnGui([&] { grid->SetSlideMode(UI_SLIDE_NONE); });
    ASSERT_TRUE(DragForm({400, 400}, {100, 200}));
    driver.RunOnGui([&] {
        EXPECT_EQ(grid->GetScrollPos(), 0);
        EXPECT_EQ(grid->GetFirstScrolled(), 0);
    });
}

TEST_F(GridTest, SlidingSidewaysBringsLaterColumnsAndKeepsTheFixedOne) {
    MakeGrid(3);
    EXPECT_TRUE(driver.ScreenShows(u"head1"));
    // A column is 160 pixels wide; the finger moves one column to the left.
    ASSERT_TRUE(DragForm({400, 100}, {240, 104}));
    driver.RunOnGui([&] {
        EXPECT_EQ(grid->GetFirstScrolled(), 1);
        EXPECT_EQ(grid->GetScrollPos(), 0) << "a sideways drag moves no rows";
        const auto spans = grid->VisibleColumns();
        ASSERT_EQ(spans.size(), 3u);
        EXPECT_EQ(spans[0].column, 0);
        EXPECT_EQ(spans[1].column, 2);
        EXPECT_EQ(spans[2].column, 3);
    });
    EXPECT_TRUE(driver.ScreenShows(u"head0"));
    EXPECT_TRUE(driver.ScreenShows(u"r2c0"));
    EXPECT_TRUE(driver.ScreenShows(u"r2c3"));
    EXPECT_TRUE(driver.SaveScreen(ORB_BINARY_DIR "/screens", "widgets_grid_sideways"));
    EXPECT_FALSE(driver.ScreenShows(u"head1"));
    EXPECT_TRUE(CommandsFrom(kGridId).empty());
    // Far to the left it stops at the last columns.
    ASSERT_TRUE(DragForm({450, 100}, {10, 100}));
    EXPECT_EQ(driver.RunOnGui([&] { return grid->GetFirstScrolled(); }), 3);
    EXPECT_TRUE(driver.ScreenShows(u"head5"));
}

TEST_F(GridTest, AHiddenColumnIsNotDrawnButItsCellsStayReadable) {
    MakeGrid(2);
    driver.RunOnGui([&] { grid->SetColumnHidden(1, true); });
    EXPECT_FALSE(driver.ScreenShows(u"head1"));
    EXPECT_FALSE(driver.ScreenShows(u"r0c1"));
    EXPECT_TRUE(driver.ScreenShows(u"head2"));
    EXPECT_TRUE(driver.ScreenShows(u"head3"));
    EXPECT_EQ(CellText(0, 1), u"r0c1");
    EXPECT_EQ(driver.RunOnGui([&] { return grid->GetMaxFirstScrolled(); }), 2);
}
