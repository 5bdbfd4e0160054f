// The world index table: the reply's columns, coloured by sign.
#include "quotes/tables/CGlobalIndexWnd.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "quotes/QuoteGrid.h"
#include "quotes/tables/IndexTables.h"

#include <iterator>
#include <vector>

CGlobalIndexWnd::CGlobalIndexWnd() {
    SetAutoRefresh(false);
}

CGlobalIndexWnd::~CGlobalIndexWnd() = default;

int CGlobalIndexWnd::OnInitDialog() {
    if (!CTableWnd::OnInitDialog())
        return 0;
    CGridCtrl& grid = GetGrid();
    // No row limit: every index of the reply shows.
    SetupTable(0, 12, true, 4, 3);
    SetQuoteGridLook(grid, false, 48);
    SetImageBarButtons({std::begin(kBarImages), std::end(kBarImages)});
    LayoutGrid();
    return 1;
}

int CGlobalIndexWnd::BuildRequest(CAString& out) {
    if (GetRequestText().IsEmpty())
        return 0;
    out.Assign(GetRequestText().view());
    return 1;
}

void CGlobalIndexWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!data || length < 1)
        return;
    CDataSetList reply(data, length);
    CDataSet* first = FirstDataSet(reply);
    if (!first)
        return;
    const int columns = first->GetColumnCount();
    if (!m_headersSet) {
        m_headersSet = true;
        // The grid takes the reply's columns.
        const CGridCtrl& grid = GetGrid();
        SetupTable(0, columns, true, grid.GetColumnsOnScreen(), grid.GetFixedColumns());
        for (int c = 0; c < columns; ++c) {
            const DataSetColumn* column = first->GetColumn(c);
            AddColumnHeader(column ? std::u16string_view(column->label()) : std::u16string_view());
        }
    }
    GetGrid().DeleteAllRows();
    const CAppData* app = CAppData::Instance();
    for (bool more = first->MoveFirst(); more; more = first->MoveNext()) {
        AddColumnRow(*this, columns, [&](int c, CWString& text) -> std::uint32_t {
            text = IndexCellText(*first, c, false);
            if (text.IsEmpty())
                text = CWString(u"-");
            return app ? app->GetColor(WorldIndexColor(c, text.view())) : 0xFFFFFF;
        });
    }
    Invalidate();
    UpdateWindow();
}

void CGlobalIndexWnd::OnToolbarCommand(int index) {
    switch (index) {
    case kBarHome:
        EndWindow(0);
        break;
    case kBarSearch:
        OpenStockSearch();
        break;
    case kBarRefresh:
        Refresh();
        break;
    case kBarBack:
        EndWindow(1);
        break;
    default:
        break;
    }
}
