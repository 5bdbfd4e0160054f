// The deal page: grid, cursors, paging and replies.
#include "quotes/info/CStockDealDetailWnd.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "framework/ui/funds/FundRequests.h"
#include "quotes/QuoteGrid.h"
#include "quotes/info/QuoteCells.h"

#include <cstdlib>
#include <memory>

const std::vector<int>& CStockDealDetailWnd::BarImages() {
    static const std::vector<int> images = {113, 124, 115, 123, 116};
    return images;
}

CStockDealDetailWnd::CStockDealDetailWnd() {
    SetAutoRefresh(false);
    SetRefreshOnShow(false);
}

CStockDealDetailWnd::~CStockDealDetailWnd() {
    Destroy();
}

int CStockDealDetailWnd::OnInitDialog() {
    if (!CTableWnd::OnInitDialog())
        return 0;
    SetBackground(0x000000);
    SetImageBarButtons(BarImages());
    CGridCtrl& grid = GetGrid();
    SetQuoteGridLook(grid, false, kRowHeight);
    SetupTable(kRowLimit, 4, true, 4, 0);
    for (const char16_t* title : {u"时间", u"价格", u"数量", u"买卖方向"})
        AddColumnHeader(title);
    LayoutGrid();
    return 1;
}

void CStockDealDetailWnd::SetMenuParams(int menuId, const char* param, const char* request) {
    const std::string code = GetUrlParamText(request, "code");
    if (!code.empty())
        m_code = code;
    const std::string date = GetUrlParamText(request, "date");
    m_date = !date.empty() ? date : "0";
    if (GetGrid().IsCreated()) {
        GetGrid().DeleteAllRows();
        UpdateCursors();
    }
    CTableWnd::SetMenuParams(menuId, param, request);
}

int CStockDealDetailWnd::GetRowTime(int row) const {
    const CWString* text = GetCellText(row, 0);
    return text ? DealRowTime(text->view()) : 0;
}

void CStockDealDetailWnd::UpdateCursors() {
    std::vector<int> times;
    for (int i = 0; i < GetGrid().GetRowCount(); ++i)
        times.push_back(GetRowTime(i));
    m_cursors = ComputeDealCursors(times);
}

void CStockDealDetailWnd::SendRefresh(RefreshCause /*cause*/) {
    if (m_requestOut)
        return;
    m_direction = DealDirection::Refresh;
    m_requestOut = PostRequest(-1, 0);
}

void CStockDealDetailWnd::Page(DealDirection direction) {
    // A press between the post and the answer would page from cursors the
    // answer is about to move.
    if (m_requestOut || IsRequestPending() || !WaitIdle(0))
        return;
    m_direction = direction;
    m_requestOut = PostRequest(-1, 0);
}

void CStockDealDetailWnd::OnNetReply(const CNetReply& reply) {
    m_requestOut = false;
    CTableWnd::OnNetReply(reply);
}

void CStockDealDetailWnd::OnRequestNotSent(NotSent /*why*/) {
    m_requestOut = false;
}

int CStockDealDetailWnd::BuildRequest(CAString& out) {
    const DealRequest r =
        MakeDealRequest(m_code, m_date, m_cursors, m_direction, GetRequestCount(GetGrid().GetRowLimit()));
    m_direction = r.kept;
    if (r.text.empty())
        return 0;
    m_asked = r.kept;
    out.Assign(r.text);
    return 1;
}

DealPalette CStockDealDetailWnd::Palette() const {
    return WithAppQuoteColors(DealPalette{});
}

std::vector<DealRow> CStockDealDetailWnd::ShownRows() {
    std::vector<DealRow> rows;
    const CGridCtrl& grid = GetGrid();
    for (int r = 0; r < grid.GetRowCount(); ++r) {
        DealRow row;
        for (int c = 0; c < 4; ++c)
            if (const CGridCell* cell = grid.GetCell(r, c))
                row[c] = {std::u16string(cell->text.view()), cell->color};
        rows.push_back(std::move(row));
    }
    return rows;
}

void CStockDealDetailWnd::ShowRows(const std::vector<DealRow>& rows) {
    GetGrid().DeleteAllRows();
    for (const DealRow& row : rows) {
        AddColoredRow(*this, row);
    }
}

void CStockDealDetailWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!data || length < 1)
        return;
    CDataSetList reply(data, length);
    CDataSet* header = FirstDataSet(reply);
    if (!header)
        return;
    CDataSet* deals = reply.GetCount() > 1 ? *reply.GetAt(1) : nullptr;
    if (!deals)
        return;
    // Without a header row the previous close and the name stay unknown.
    std::optional<CQuoteNumber> prevClose;
    std::u16string name;
    std::u16string code = AnsiToWide(m_code);
    if (header->MoveFirst()) {
        CQuoteNumber close;
        if (header->GetFieldNumberByName(close, "zrsp") == 0 && !close.IsInvalid())
            prevClose = close;
        name = header->GetFieldTextByName("name").value_or(CWString()).str();
        const std::u16string replyCode = header->GetFieldTextByName("code").value_or(CWString()).str();
        if (!replyCode.empty())
            code = replyCode;
    }
    const bool older = m_asked == DealDirection::Older;
    const std::vector<DealRow> page = DealRowsOf(*deals, prevClose, older, Palette());
    ShowRows(MergeDealRows(ShownRows(), page, older, GetRequestCount(GetGrid().GetRowLimit())));
    UpdateCursors();
    GetGrid().SetSelectedRow(GetGrid().GetRowCount() - 1);
    GetGrid().SetScrollPos(GetGrid().GetMaxScroll());
    SetCaption(DealCaption(name, code));
    Invalidate();
}

void CStockDealDetailWnd::OnToolbarCommand(int index) {
    switch (index) {
    case kButtonHome:
        EndWindow(0);
        break;
    case kButtonOlder:
        Page(DealDirection::Older);
        break;
    case kButtonRefresh:
        Page(DealDirection::Refresh);
        break;
    case kButtonNewer:
        Page(DealDirection::Newer);
        break;
    case kButtonBack:
        EndWindow(1);
        break;
    default:
        break;
    }
}
