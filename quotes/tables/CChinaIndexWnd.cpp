// The domestic index table: its request, rows, colours and commands.
#include "quotes/tables/CChinaIndexWnd.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/app/CAppData.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/widgets/CPopMenuWnd.h"
#include "platform/ui/CUiMessageBox.h"
#include "quotes/QuoteGrid.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/IndexTables.h"
#include "quotes/tables/QuoteRequests.h"

#include <iterator>
#include <vector>

namespace {
std::uint32_t Palette(int index) {
    const CAppData* app = CAppData::Instance();
    return app ? app->GetColor(index) : 0xFFFFFF;
}
} // namespace

CChinaIndexWnd::CChinaIndexWnd() {
    const CAppData* app = CAppData::Instance();
    const CAString on = app ? app->GetSetting("Quote_IsRefresh") : CAString();
    SetAutoRefresh(!on.IsEmpty() && on.c_str()[0] == '1');
}

CChinaIndexWnd::~CChinaIndexWnd() = default;

int CChinaIndexWnd::OnInitDialog() {
    if (!CTableWnd::OnInitDialog())
        return 0;
    SetBackground(0x000000);
    CGridCtrl& grid = GetGrid();
    // No row limit: every index the node names shows.
    SetupTable(0, kChinaIndexColumns, true, 3, 2);
    SetQuoteGridLook(grid, true, 48);
    SetHeaders();
    SetImageBarButtons({std::begin(kBarImages), std::end(kBarImages)});
    LayoutGrid();
    return 1;
}

void CChinaIndexWnd::SetHeaders() {
    if (m_codeColumn >= 0)
        return;
    for (const char16_t* header : kChinaIndexHeaders)
        AddColumnHeader(header);
    m_codeColumn = kChinaIndexCodeColumn;
    m_marketColumn = kChinaIndexMarketColumn;
}

int CChinaIndexWnd::BuildRequest(CAString& out) {
    const std::string text = ChinaIndexRequest(GetRequestText().view());
    if (text.empty())
        return 0;
    out.Assign(std::string_view(text));
    return 1;
}

void CChinaIndexWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!data || length < 1)
        return;
    CDataSetList reply(data, length);
    CDataSet* first = FirstDataSet(reply);
    if (!first)
        return;
    SetHeaders();
    CGridCtrl& grid = GetGrid();
    grid.DeleteAllRows();
    const int columns = first->GetColumnCount();
    const int openColumn = first->FindColumn("jrkp");
    const int closeColumn = first->FindColumn("zrsp");
    for (bool more = first->MoveFirst(); more; more = first->MoveNext()) {
        CQuoteNumber open;
        CQuoteNumber prevClose;
        if (openColumn >= 0)
            first->GetFieldNumber(open, openColumn);
        if (closeColumn >= 0)
            first->GetFieldNumber(prevClose, closeColumn);
        AddColumnRow(*this, columns, [&](int c, CWString& text) {
            CQuoteNumber value;
            first->GetFieldNumber(value, c);
            const IndexCellLook look = ChinaIndexCellLook(c, value, open, prevClose);
            text = look.dash ? CWString(u"-") : IndexCellText(*first, c, c == 4 || c == 5);
            return Palette(look.color);
        });
    }
    Invalidate();
    UpdateWindow();
}

std::string CChinaIndexWnd::RowKey(int row) const {
    if (row < 0 || m_codeColumn < 0 || m_marketColumn < 0)
        return {};
    const CWString* code = GetCellText(row, m_codeColumn);
    const CWString* market = GetCellText(row, m_marketColumn);
    if (!code || !market)
        return {};
    return IndexRowKey(CAString::CAStringFromWide(code->view()).c_str(),
                       CAString::CAStringFromWide(market->view()).c_str());
}

bool CChinaIndexWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) == kGridId) {
        if (HighWord(wParam) == GRID_ROW_TAPPED)
            OpenMenuChild(static_cast<int>(lParam));
        return true;
    }
    return CTableWnd::OnCommand(wParam, lParam);
}

int CChinaIndexWnd::OpenMenuChild(int row) {
    const std::string request = MinuteChartRequest(RowKey(row));
    if (request.empty())
        return -1;
    return GetWndManager().CreateWnd(kMinuteChartKeyword, -1, u"分时走势", "", request.c_str(), 0, this) ? 1 : 0;
}

void CChinaIndexWnd::OpenKLine() {
    const int row = GetGrid().GetSelectedRow();
    if (row < 0) {
        Tell(u"您未选中任何记录！");
        return;
    }
    const std::string request = StockCodeParam(RowKey(row));
    if (request.empty())
        return;
    GetWndManager().CreateWnd(kKLineChartKeyword, -1, u"K线分析", "", request.c_str(), 0, this);
}

void CChinaIndexWnd::OnToolbarCommand(int index) {
    switch (index) {
    case kBarOptions: {
        const int id = CPopMenuWnd::Run(this, {
            {u"取消", kMenuCancel},
            {u"返回首页", kMenuHome},
            {u"加入自选", kMenuAddToMyStocks},
        });
        OnMenuCommand(id);
        break;
    }
    case kBarSearch:
        OpenStockSearch();
        break;
    case kBarRefresh:
        Refresh();
        break;
    case kBarKLine:
        OpenKLine();
        break;
    case kBarBack:
        EndWindow(1);
        break;
    default:
        break;
    }
}

void CChinaIndexWnd::OnMenuCommand(int id) {
    switch (id) {
    case kMenuHome:
        EndWindow(0);
        break;
    case kMenuAddToMyStocks: {
        const int row = GetGrid().GetSelectedRow();
        if (row < 0) {
            Tell(u"您未选中任何指数！");
            break;
        }
        const std::string key = RowKey(row);
        if (!key.empty())
            CEditMyStockWnd::AddToMyStocks(key.c_str(), this);
        break;
    }
    default:
        break;
    }
}

void CChinaIndexWnd::Tell(const char16_t* text) {
    UiMessageBox(this, text, u"提示", MB_OK);
}
