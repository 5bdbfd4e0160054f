// The detail quote page: its grid, request, reply and commands.
#include "quotes/info/CStockDetaiPriceWnd.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "framework/app/CMenuTree.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/OrderOpening.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/widgets/CPopMenuWnd.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CUiMessageBox.h"
#include "quotes/QuoteGrid.h"
#include "quotes/info/QuoteCells.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/QuoteRequests.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {
constexpr std::uint32_t kCaptionColor = 0x00FFFF;
} // namespace

const std::vector<int>& CStockDetaiPriceWnd::BarImages() {
    static const std::vector<int> images = {126, 118, 122, 114, 115, 116};
    return images;
}

CStockDetaiPriceWnd::CStockDetaiPriceWnd() {
    SetRefreshOnShow(true);
    CAppData* app = CAppData::Instance();
    const CAString on = app ? app->GetSetting("Quote_IsRefresh") : CAString();
    SetAutoRefresh(!on.IsEmpty() && on.c_str()[0] == '1');
}

CStockDetaiPriceWnd::~CStockDetaiPriceWnd() {
    Destroy();
}

void CStockDetaiPriceWnd::SetStockCode(const char16_t* code) {
    if (!code)
        return;
    const std::u16string next(code);
    if (!SameStockCode(next, m_code))
        m_code = next;
}

std::string CStockDetaiPriceWnd::CodeText() const {
    return WideToAnsi(m_code);
}

CRect CStockDetaiPriceWnd::GridRect() const {
    const CRect client = GetClientRect();
    return {0, kGridTop, client.right, std::max(kGridTop, client.bottom - GetBottomBarHeight())};
}

int CStockDetaiPriceWnd::OnInitDialog() {
    if (!CTableWnd::OnInitDialog())
        return 0;
    const CRect client = GetClientRect();
    if (m_captionLabel.Create(this, CRect::FromSize(10, 52, client.Width() - 20, 40), kCaptionLabelId, true)) {
        m_captionLabel.SetFormat(DT_VCENTER | DT_SINGLELINE);
        m_captionLabel.SetTextColor(kCaptionColor);
        m_captionLabel.SetFontSize(26);
        m_captionLabel.SetText(u"详细报价:");
    }
    SetImageBarButtons(BarImages());
    CGridCtrl& grid = GetGrid();
    SetQuoteGridLook(grid, false, kRowHeight);
    SetupTable(kRows, 4, false, 4, 0);
    grid.MoveWindow(GridRect());
    return 1;
}

void CStockDetaiPriceWnd::OnLayout() {
    CTableWnd::OnLayout();
    if (GetGrid().IsCreated()) {
        GetGrid().MoveWindow(GridRect());
        GetGrid().Invalidate();
    }
    if (m_captionLabel.IsCreated())
        m_captionLabel.MoveWindow(CRect::FromSize(10, 52, GetClientRect().Width() - 20, 40));
}

void CStockDetaiPriceWnd::SetMenuParams(int menuId, const char* param, const char* request) {
    const std::string code = GetUrlParamText(param, "code");
    if (!code.empty()) {
        const std::u16string wide = AnsiToWide(code.c_str());
        // The same stock (in any letter case) needs no fresh start.
        if (!SameStockCode(wide, m_code))
            SetFirstShow(true);
        SetStockCode(wide.c_str());
    }
    CTableWnd::SetMenuParams(menuId, param, request);
}

int CStockDetaiPriceWnd::BuildRequest(CAString& out) {
    const std::string text = DetailQuoteRequest(GetRequestText().view(), CodeText());
    if (text.empty())
        return 0;
    out.Assign(text);
    return 1;
}

void CStockDetaiPriceWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!data || length <= 0)
        return;
    CDataSetList reply(data, length);
    CDataSet* first = FirstDataSet(reply);
    if (!first)
        return;
    GetGrid().DeleteAllRows();
    FillQuote(*first);
    Invalidate();
}

DetailPalette CStockDetaiPriceWnd::Palette() const {
    return WithAppQuoteColors(DetailPalette{});
}

void CStockDetaiPriceWnd::FillQuote(CDataSet& set) {
    std::optional<DetailQuote> quote = ReadDetailQuote(set);
    if (!quote) {
        // Nothing shown: buy and sell wait for the next quote.
        m_quote.reset();
        return;
    }
    m_quote = std::move(quote);
    m_code = AnsiToWide(m_quote->key);
    m_name = m_quote->name;
    for (const DetailRow& row : DetailRows(*m_quote, Palette())) {
        AddColoredRow(*this, row);
    }
}

void CStockDetaiPriceWnd::OnToolbarCommand(int index) {
    const std::string code = CodeText();
    switch (index) {
    case 0:
        ShowOptionMenu();
        break;
    case 1:
        OpenStockSearch();
        break;
    case 2: {
        const std::string request = MinuteChartRequest(code);
        if (!request.empty())
            GetWndManager().CreateWnd(kMinuteChartKeyword, -1, u"分时走势", "", request.c_str(), 0, this);
        break;
    }
    case 3: {
        const std::string request = StockCodeParam(code);
        if (!request.empty())
            GetWndManager().CreateWnd(kKLineChartKeyword, -1, u"K线分析", "", request.c_str(), 0, this);
        break;
    }
    case 4:
        OnRefreshCommand();
        break;
    case 5:
        EndWindow(1);
        break;
    default:
        break;
    }
}

void CStockDetaiPriceWnd::ShowOptionMenu() {
    const int id = CPopMenuWnd::Run(this, {
        {u"取消", kMenuCancel},
        {u"返回首页", kMenuHome},
        {u"个股资讯", kMenuStockInfo},
        {u"卖出委托", kMenuSell},
        {u"买入委托", kMenuBuy},
        {u"加入自选", kMenuAddToMyStocks},
    });
    OnMenuCommand(id);
}

void CStockDetaiPriceWnd::OnMenuCommand(int id) {
    switch (id) {
    case kMenuHome:
        EndWindow(0);
        break;
    case kMenuSell:
    case kMenuBuy:
        OpenOrder(id == kMenuSell);
        break;
    case kMenuAddToMyStocks: {
        const std::string code = CodeText();
        if (IsRequestValue(code))
            CEditMyStockWnd::AddToMyStocks(code.c_str(), this);
        break;
    }
    case kMenuStockInfo:
        OpenStockInfo();
        break;
    default:
        break;
    }
}

void CStockDetaiPriceWnd::Tell(std::u16string_view text) {
    UiMessageBox(this, text, u"提示", MB_OK);
}

void CStockDetaiPriceWnd::OpenOrder(bool sell) {
    const DetailOrder order = DetailOrderFor(m_quote ? &*m_quote : nullptr, sell);
    if (order.step == DetailOrderStep::RefuseIndex) {
        Tell(u"大盘指数不能买卖！");
        return;
    }
    if (order.step != DetailOrderStep::Open)
        return;
    if (!TradeLoggedInOrAsk(this))
        return;
    OpenOrderForm(this, order.title, order.request);
}

void CStockDetaiPriceWnd::OpenStockInfo() {
    if (m_quote && m_quote->market == kHongKongMarket) {
        Tell(u"暂不支持港股个股资讯！");
        return;
    }
    CAppData* app = CAppData::Instance();
    CMenuTree* tree = app ? app->GetMenuTree() : nullptr;
    CMenuNode* root = tree ? tree->GetRoot() : nullptr;
    const std::string code = CodeText();
    if (!root || !IsRequestValue(code))
        return;
    for (CMenuNode* child = root->firstChild; child; child = child->nextSibling) {
        if (child->keyword.EqualsNoCaseStr(kCompanyInfoKeyword)) {
            GetWndManager().CreateWnd(child->keyword.c_str(), child->id, m_name.c_str(), code.c_str(),
                                      child->request.c_str(), 0, this);
            return;
        }
    }
}
