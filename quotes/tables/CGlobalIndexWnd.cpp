// The world index table: the reply's columns, coloured by sign.
#include "quotes/tables/CGlobalIndexWnd.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
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
    grid.SetSlideMode(UI_SLIDE_NORMAL);
    grid.SetNotify(false);
    grid.SetFontSize(21);
    grid.SetRowHeight(48);
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
    if (ShowReplyError(reply))
        return;
    CDataSet* first = reply.GetCount() > 0 ? *reply.GetAt(0) : nullptr;
    if (!first)
        return;
    if (StrEqualNoCase(first->GetTag(), "hq.info") == 0) {
        OnInfoSet(*first);
        return;
    }
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
    std::vector<CWString> texts(static_cast<size_t>(columns));
    std::vector<std::uint32_t> colors(static_cast<size_t>(columns));
    std::vector<int> values(static_cast<size_t>(columns));
    for (bool more = first->MoveFirst(); more; more = first->MoveNext()) {
        for (int c = 0; c < columns; ++c) {
            texts[c] = IndexCellText(*first, c, false);
            if (texts[c].IsEmpty())
                texts[c] = CWString(u"-");
            const int color = WorldIndexColor(c, texts[c].view());
            colors[c] = app ? app->GetColor(color) : 0xFFFFFF;
            values[c] = c;
        }
        SetCells(texts.data(), colors.data(), values.data(), columns);
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
