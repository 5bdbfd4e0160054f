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
        const CGridCell* cell = grid->GetCell(row, column);
        return cell ? cell->text.str() : std::u16string(u"<null>");
    }
    template <class F>
    auto OnGui(F fn) {
        return driver.RunOnGui(fn);
    }
};

} // namespace

TEST_F(GridTest, RowsAreCopiedInShortRowsGetEmptyCellsAndTheRowLimitHolds) {
    MakeGrid(0, 3);
    OnGui([&] {
        std::vector<CGridCell> cells = Row(0, 8); // more cells than columns
        EXPECT_EQ(grid->AddRow(cells.data(), 8), 0);
        cells[0].text = u"changed after adding";
        EXPECT_EQ(grid->AddRow(cells.data(), 2), 1);
        EXPECT_EQ(grid->AddRow(nullptr, 3), 2);
        EXPECT_EQ(grid->AddRow(cells.data(), 6), -1) << "beyond the row limit";
        EXPECT_EQ(grid->GetRowCount(), 3);
        EXPECT_EQ(CellText(0, 0), u"r0c0") << "the grid keeps its own copy";
        EXPECT_EQ(CellText(0, 5), u"r0c5");
        EXPECT_EQ(CellText(1, 1), u"r0c1");
        EXPECT_EQ(CellText(1, 2), u"");
        EXPECT_EQ(CellText(2, 0), u"");
        EXPECT_EQ(grid->GetCell(0, 1)->color, 0x2626FFu);
        EXPECT_EQ(grid->GetCell(0, 4)->value, 4);
        // Out of range: null, never a crash.
        for (auto [row, column] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 6}})
            EXPECT_EQ(grid->GetCell(row, column), nullptr) << row << "," << column;
        EXPECT_EQ(grid->GetHeaderCell(6), nullptr);
        EXPECT_EQ(grid->GetHeaderCell(5)->text, u"head5");
        grid->SetSelectedRow(7);
        EXPECT_LT(grid->GetSelectedRow(), 0);
        grid->SetColumnHidden(-1, true);
        grid->SetColumnHidden(6, true);
        EXPECT_FALSE(grid->IsColumnHidden(6));
    });
}

TEST_F(GridTest, DeletingTheTopRowsShiftsTheRestTheSelectionFollowsItsRowAndSettingTheTableEmptiesIt) {
    MakeGrid(10);
    OnGui([&] {
        grid->SetSelectedRow(5);
        grid->DeleteTopRows(3);
        EXPECT_EQ(grid->GetRowCount(), 7);
        EXPECT_EQ(grid->GetSelectedRow(), 2);
        grid->DeleteTopRows(0);
        grid->DeleteTopRows(-4);
        EXPECT_EQ(grid->GetRowCount(), 7);
        grid->DeleteTopRows(3);
        EXPECT_LT(grid->GetSelectedRow(), 0) << "the selected row itself went";
        EXPECT_EQ(CellText(0, 0), u"r6c0");
        EXPECT_EQ(CellText(3, 0), u"r9c0");
        grid->DeleteTopRows(50);
        EXPECT_EQ(grid->GetRowCount(), 0);
        grid->AddRow(Row(0, 6).data(), 6);
        grid->DeleteAllRows();
        EXPECT_EQ(grid->GetRowCount(), 0);
        EXPECT_EQ(grid->GetHeaderCell(0)->text, u"head0") << "the header stays";
        grid->AddRow(Row(0, 6).data(), 6);
        grid->SetSelectedRow(0);
        grid->SetColumnHidden(2, true);
        grid->SetTable(10, 3, false, 3, 0);
        EXPECT_EQ(grid->GetRowCount(), 0);
        EXPECT_LT(grid->GetSelectedRow(), 0);
        EXPECT_FALSE(grid->IsColumnHidden(2));
        EXPECT_EQ(grid->GetHeaderCell(0)->text, u"");
    });
}

TEST_F(GridTest, ATapOnARowSelectsItAndTellsTheWindowTheRowWithoutTheHeader) {
    MakeGrid(5);
    ASSERT_TRUE(TapForm(80, 20));  // the header
    ASSERT_TRUE(TapForm(80, 400)); // below the rows
    EXPECT_LT(OnGui([&] { return grid->GetSelectedRow(); }), 0);
    for (const CReport& r : CommandsFrom(kGridId))
        EXPECT_EQ(r.code, GRID_TAPPED_AT) << "no row was tapped";
    ClearReports();
    // Row 2 lies below the 48-pixel header band and rows 0 and 1.
    ASSERT_TRUE(TapForm(80, 48 + 2 * 48 + 24));
    EXPECT_EQ(OnGui([&] { return grid->GetSelectedRow(); }), 2);
    const auto commands = CommandsFrom(kGridId);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].code, GRID_ROW_TAPPED);
    EXPECT_EQ(commands[0].value, 2);
    EXPECT_EQ(commands[1].code, GRID_TAPPED_AT);
    EXPECT_EQ(commands[1].value, MakeLParam(80, 168));
    ClearReports();
    OnGui([&] { grid->SetNotify(false); });
    ASSERT_TRUE(TapForm(80, 48 + 24));
    EXPECT_EQ(OnGui([&] { return grid->GetSelectedRow(); }), 0);
    EXPECT_TRUE(CommandsFrom(kGridId).empty()) << "notifications off";
}

TEST_F(GridTest, DraggingUpScrollsTheRowsUnlessTheGridNeverSlides) {
    MakeGrid(30);
    ASSERT_TRUE(DragForm({240, 400}, {240, 200}));
    driver.AdvanceClock(2000); // let momentum die out
    OnGui([&] {
        EXPECT_GE(grid->GetScrollPos(), 150);
        EXPECT_LT(grid->GetSelectedRow(), 0);
        EXPECT_EQ(grid->GetFirstScrolled(), 0);
        grid->SetScrollPos(0);
        grid->SetSlideMode(UI_SLIDE_NONE);
    });
    EXPECT_TRUE(CommandsFrom(kGridId).empty());
    ASSERT_TRUE(DragForm({400, 400}, {100, 200}));
    OnGui([&] {
        EXPECT_EQ(grid->GetScrollPos(), 0);
        EXPECT_EQ(grid->GetFirstScrolled(), 0);
    });
}

TEST_F(GridTest, SlidingSidewaysBringsLaterColumnsKeepsTheFixedOneAndSkipsAHiddenOne) {
    MakeGrid(3);
    // A column is 160 pixels wide; the finger moves one column to the left.
    ASSERT_TRUE(DragForm({400, 100}, {240, 104}));
    OnGui([&] {
        EXPECT_EQ(grid->GetFirstScrolled(), 1);
        EXPECT_EQ(grid->GetScrollPos(), 0) << "a sideways drag moves no rows";
    });
    EXPECT_TRUE(driver.ScreenShows(u"head0"));
    EXPECT_TRUE(driver.ScreenShows(u"r2c3"));
    EXPECT_FALSE(driver.ScreenShows(u"head1"));
    EXPECT_TRUE(CommandsFrom(kGridId).empty());
    // Far to the left it stops at the last columns.
    ASSERT_TRUE(DragForm({450, 100}, {10, 100}));
    EXPECT_EQ(OnGui([&] { return grid->GetFirstScrolled(); }), 3);
    EXPECT_TRUE(driver.ScreenShows(u"head5"));
    // A hidden column is not drawn, but its cells stay readable.
    OnGui([&] {
        grid->SetColumnHidden(4, true);
        EXPECT_EQ(grid->GetMaxFirstScrolled(), 2);
    });
    EXPECT_FALSE(driver.ScreenShows(u"head4"));
    EXPECT_EQ(OnGui([&] { return CellText(0, 4); }), u"r0c4");
}
