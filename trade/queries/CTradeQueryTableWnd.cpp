// The same-day tables' variants, row actions and cancel road.
#include "trade/queries/CTradeQueryTableWnd.h"

#include "core/CWString.h"
#include "framework/app/CAppData.h"
#include "framework/app/TradeSession.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/OrderOpening.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/widgets/CPopMenuWnd.h"
#include "platform/ui/CUiMessageBox.h"
#include "platform/ui/UiDefs.h"
#include "trade/orders/CTradeConfirmWnd.h"

namespace {
constexpr char16_t kHint[] = u"提示";
constexpr char16_t kNoRow[] = u"您未选中任何记录！";

void Tell(UiWin* owner, const char16_t* text) {
    UiMessageBox(owner, text, kHint, MB_OK);
}

std::u16string Wide(const std::string& text) {
    return CWString::CWStringFromAnsi(text.c_str()).str();
}

} // namespace

CTradeQueryTableWnd::CTradeQueryTableWnd() {
    SetRefreshOnShow(true);
}

CTradeQueryTableWnd::~CTradeQueryTableWnd() {
    Destroy();
}

int CTradeQueryTableWnd::OnInitDialog() {
    if (!CQueryTableWnd::OnInitDialog())
        return 0;
    CGridCtrl& grid = GetGrid();
    grid.SetNotify(true);
    grid.SetFontSize(kFontHeight);
    grid.SetRowHeight(kRowHeight);
    SetupTable(0, 20, true, 4, 0);
    // Rows without a sign are drawn white.
    SetColorValue(0);
    ApplyToolbar();
    return 1;
}

void CTradeQueryTableWnd::ApplyToolbar() {
    const auto texts = TradeQueryToolbar(GetVariant());
    UseTextToolbar(texts[0], texts[1], texts[2]);
    LayoutGrid();
}

void CTradeQueryTableWnd::SetMenuParams(int menuId, const char* param, const char* request) {
    CQueryTableWnd::SetMenuParams(menuId, param, request);
    if (IsCreated())
        ApplyToolbar();
}

bool CTradeQueryTableWnd::CanActOnRow(int row) {
    const CDataSet* set = GetDataSet();
    return row >= 0 && set && row < set->GetRowCount() && row < GetGrid().GetRowCount() &&
           row == GetGrid().GetSelectedRow() && !IsRequestPending() && !m_requeryAwaited &&
           m_setLoginId == CurrentLoginId();
}

void CTradeQueryTableWnd::OnToolbarCommand(int index) {
    if (IsOrdersMenu())
        OnOptionsToolbar(index);
    else
        OnPlainToolbar(index);
}

void CTradeQueryTableWnd::OnOptionsToolbar(int index) {
    if (index == kToolbarLeft)
        ShowRowMenu();
    else if (index == kToolbarMiddle)
        OpenSelectedRow();
    else if (index == kToolbarRight)
        EndWindow(1);
}

void CTradeQueryTableWnd::OnPlainToolbar(int index) {
    if (index == kToolbarMiddle)
        OpenSelectedRow();
    else
        HandleHomeOrBack(index);
}

void CTradeQueryTableWnd::OpenSelectedRow() {
    const int row = GetGrid().GetSelectedRow();
    if (row < 0) {
        TellNoRow();
        return;
    }
    if (CanActOnRow(row))
        OpenMenuChild(row);
}

void CTradeQueryTableWnd::TellNoRow() {
    Tell(this, kNoRow);
}

bool CTradeQueryTableWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) == kGridId) {
        if (HighWord(wParam) == GRID_ROW_TAPPED)
            OnRowTapped(static_cast<int>(lParam));
        return true;
    }
    return CQueryTableWnd::OnCommand(wParam, lParam);
}

void CTradeQueryTableWnd::ShowRowMenu() {
    const int command = CPopMenuWnd::Run(this, {
        {u"取消", kMenuCancel},
        {u"返回首页", kMenuHome},
        {u"买入", kMenuBuy},
        {u"卖出", kMenuSell},
    });
    OnFundMenuCommand(command);
}

void CTradeQueryTableWnd::OnFundMenuCommand(int commandId) {
    if (!IsOrdersMenu())
        return;
    if (commandId == kMenuHome) {
        EndWindow(0);
        return;
    }
    if (commandId != kMenuBuy && commandId != kMenuSell)
        return;
    if (!CAppData::Instance() || !TradeLoggedInOrAsk(this, {u"", 0}))
        return;
    const bool sell = commandId == kMenuSell;
    std::u16string title = sell ? u"卖出" : u"买入";
    std::string code;
    const int row = GetGrid().GetSelectedRow();
    if (row >= 0) {
        // A row that no longer stands is not read.
        if (!CanActOnRow(row))
            return;
        code = RowField(row, "stkcode");
        const std::string name = RowField(row, "stkname");
        if (!name.empty())
            title += u" " + Wide(name);
    }
    OpenOrderForm(this, title, OrderFormRequest(code, sell));
}

int CTradeQueryTableWnd::OpenMenuChild(int row) {
    if (row < 0)
        return -1;
    if (IsCancelMenu())
        return ConfirmCancel(row);
    if (!IsOrdersMenu() || !CanActOnRow(row))
        return -1;
    const CDataSet* set = GetDataSet();
    const bool hasMarket = set->FindColumn("market") >= 0;
    const std::string request =
        MinuteChartRequest(RowField(row, "stkcode"), hasMarket, hasMarket ? RowField(row, "market") : "");
    if (request.empty())
        return -1;
    const COpenResult r =
        GetWndManager().CreateWnd(kMinuteChartKeyword, -1, u"分时走势", "", request.c_str(), 0, this);
    return r ? 1 : 0;
}

std::string CTradeQueryTableWnd::SetField(int row, const char* name) const {
    const std::optional<CWString> text = GetReplyField(row, name);
    return text ? CAString::CAStringFromWide(text->view()).str() : std::string();
}

std::string CTradeQueryTableWnd::RowField(int row, const char* name) {
    const int column = FindFieldColumn(name);
    if (column < 0)
        return SetField(row, name);
    const CWString* text = GetCellText(row, column);
    return text ? CAString::CAStringFromWide(text->view()).str() : std::string();
}

int CTradeQueryTableWnd::ConfirmCancel(int row) {
    if (row < 0) {
        Tell(this, u"请选择您要撤的单！");
        return -1;
    }
    if (!CanActOnRow(row))
        return -1;
    // The order the user sees is the one cancelled: its number must be the
    // kept reply's for that row.
    const std::string serial = RowField(row, "ordersno");
    if (serial.empty() || serial != SetField(row, "ordersno"))
        return -1;
    CAppData* app = CAppData::Instance();
    const std::string secuid = RowField(row, "secuid");
    const CAString fundId = app && !secuid.empty() ? app->GetFundIdForMarket(secuid.c_str()) : CAString();
    if (fundId.IsEmpty()) {
        Tell(this, u"该委托的股东代码不属于当前账号，不能撤单");
        return -1;
    }
    ConfirmEntry entry;
    entry.code = Wide(RowField(row, "stkcode"));
    entry.name = Wide(RowField(row, "stkname"));
    entry.price = Wide(RowField(row, "orderprice"));
    entry.quantity = Wide(RowField(row, "orderqty"));
    entry.serial = Wide(serial);
    entry.holder = "market=" + RowField(row, "market") + "&secuid=" + secuid + "&fundid=" + fundId.str();
    const int code = CTradeConfirmWnd::Run(this, u"撤单确认", ConfirmMode::Cancel, {entry});
    if (code == 1) {
        // The cancelled row stays untappable until the re-query's reply.
        m_requeryAwaited = true;
        GetGrid().SetSelectedRow(-1);
    }
    return -1;
}

int CTradeQueryTableWnd::BuildRequest(CAString& out) {
    const int built = CQueryTableWnd::BuildRequest(out);
    if (built)
        m_sentLoginId = CurrentLoginId();
    return built;
}

void CTradeQueryTableWnd::OnNetData(const std::uint8_t* data, int length, bool networkFailure) {
    // A failed exchange leaves the kept rows, still those of the login they
    // came for; a cancelled row among them stays untappable until an answer.
    if (!networkFailure) {
        m_requeryAwaited = false;
        m_setLoginId = m_sentLoginId;
    }
    CQueryTableWnd::OnNetData(data, length, networkFailure);
}

void CTradeQueryTableWnd::OnRequestNotSent(NotSent why) {
    // The rows stay as they were: a cancelled one must not be offered again.
    CQueryTableWnd::OnRequestNotSent(why);
}

void CTradeQueryTableWnd::ForgetOtherAccount() {
    if (GetDataSet() && m_setLoginId != CurrentLoginId()) {
        ClearTable();
        m_setLoginId.clear();
    }
}

void CTradeQueryTableWnd::OnWindowShown() {
    ForgetOtherAccount();
    CQueryTableWnd::OnWindowShown();
}
