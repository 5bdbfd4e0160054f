// The chart window base: the shown stock, the picture, the canvas, touches
// and the F10 and order jumps.
#include "quotes/charts/CChartWnd.h"

#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/app/CMenuNode.h"
#include "framework/app/CMenuTree.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/OrderOpening.h"
#include "framework/ui/WindowKeywords.h"
#include "platform/ui/CUiMessageBox.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/tables/QuoteRequests.h"

#include <cstdlib>
#include <cstring>

namespace {

// The market after the first "." of text, or fallback without a point;
// code gets the text before it.
int SplitKey(std::string_view text, std::string_view* code, int fallback) {
    const size_t dot = text.find('.');
    if (dot == std::string_view::npos) {
        *code = text;
        return fallback;
    }
    *code = text.substr(0, dot);
    const std::string rest(text.substr(dot + 1));
    return static_cast<int>(std::strtol(rest.c_str(), nullptr, 10));
}

} // namespace

CChartWnd::CChartWnd() = default;

CChartWnd::~CChartWnd() {
    // The canvas goes before the picture it paints into.
    m_canvas.reset();
}

// ---- Pure rules ----

bool CChartWnd::IsInChartBand(int y, int clientBottom) {
    return kCaptionHeight < y && y < clientBottom - kBottomBarHeight;
}

CRect CChartWnd::ChartPictureRect(const CRect& client, int barHeight) {
    const int bottom = std::max(kCaptionHeight, client.bottom - barHeight);
    return {0, kCaptionHeight, client.right, bottom};
}

int CChartWnd::SameStockCode(const char* a, const char* b) {
    if (!a || !*a || !b)
        return 0;
    std::string_view codeA;
    std::string_view codeB;
    const int marketA = SplitKey(a, &codeA, -1);
    const int marketB = SplitKey(b, &codeB, -2);
    return marketA == marketB && EqualsNoCase(codeA, codeB) ? 1 : 0;
}

std::string CChartWnd::BuySellRequest(std::string_view codeText, std::string_view priceText, int market, int type,
                                      bool buy, bool priced) {
    if (codeText.empty() || (priced && priceText.empty()))
        return {};
    OrderOpening opening = OrderOpening::Of(!buy, std::string(codeText));
    if (priced)
        opening.price = priceText;
    opening.market = market;
    opening.type = type;
    return OrderOpeningText(opening);
}

std::string CChartWnd::F10CodeParam(std::string_view codeText) {
    std::string_view code = codeText.substr(0, std::min(codeText.size(), kF10CodeChars));
    code = code.substr(0, code.find('.'));
    return IsRequestValue(code) ? std::string(code) : std::string();
}

// ---- The shown stock ----

int CChartWnd::IsSameCode(const char* codeText) const { return SameStockCode(codeText, m_codeText.c_str()); }

void CChartWnd::SetPriceText(std::string_view text) {
    m_priceText.Assign(text.substr(0, std::min(text.size(), kPriceTextChars)));
}

void CChartWnd::SetMenuParams(int menuId, const char* param, const char* request) {
    const std::string code = GetUrlParamText(request, "code");
    // Only a plain key can name the stock: the code text goes into requests.
    if (!code.empty() && IsRequestValue(code)) {
        if (!IsSameCode(code.c_str())) {
            SetFirstShow(true);
            m_stockChanged = true;
        }
        m_codeText.Assign(code.c_str());
    }
    CNetWnd::SetMenuParams(menuId, param, request);
}

// ---- The canvas ----

CRect CChartWnd::GetPictureRect() const { return m_picture.IsCreated() ? m_picture.GetRect() : CRect{}; }

CSize CChartWnd::MeasureLabel(const char16_t* text) const {
    if (!m_canvas)
        return {};
    const std::u16string_view view = text ? std::u16string_view(text) : std::u16string_view();
    if (CDC* dc = const_cast<UiTiledImage&>(m_picture).GetDC())
        return m_canvas->TextExtent(*dc, view);
    const std::unique_ptr<CDC> scratch = CDC::CreateMemoryDC(1, 1);
    return scratch ? m_canvas->TextExtent(*scratch, view) : CSize{};
}

void CChartWnd::SetCanvas(std::unique_ptr<CChartCanvas> canvas, const char* sample, bool sampleIsLeast) {
    if (!canvas || canvas.get() == m_canvas.get())
        return;
    m_canvas = std::move(canvas);
    m_sampleIsLeast = sampleIsLeast;
    m_labelSample = CWString::CWStringFromAnsi(sample ? sample : "");
    LayoutCanvas(GetClientRect().Width() == 480);
    Invalidate();
}

void CChartWnd::LayoutCanvas(bool portrait) {
    if (!m_canvas)
        return;
    const CRect picture = GetPictureRect();
    const CRect area{0, 0, picture.Width(), picture.Height()};
    const CSize label = MeasureLabel(m_labelSample.c_str());
    if (portrait)
        m_canvas->LayoutPortrait(label, area);
    else
        m_canvas->LayoutLandscape(label, area);
    m_canvas->CalcRanges();
    FitLabelColumn();
}

void CChartWnd::FitLabelColumn() {
    if (!m_canvas)
        return;
    const CSize sample = MeasureLabel(m_labelSample.c_str());
    CDC* dc = m_picture.GetDC();
    std::unique_ptr<CDC> scratch;
    if (!dc) {
        scratch = CDC::CreateMemoryDC(1, 1);
        dc = scratch.get();
    }
    if (!dc)
        return;
    const int least = m_sampleIsLeast ? sample.cx : 0;
    // A K-line's labels change with the bars a new width shows: a few
    // rounds settle it.
    for (int round = 0; round < 3; ++round)
        if (!m_canvas->FitLabelColumn(*dc, sample.cx, least))
            break;
}

void CChartWnd::LayoutChart(int orientation) {
    if (!m_canvas)
        return;
    EndDrag();
    m_canvas->ResetBitmap();
    if (m_picture.IsCreated()) {
        m_picture.MoveWindow(ChartPictureRect(GetClientRect(), GetBottomBarHeight()));
        m_picture.GetMemDC().Clear(0);
    }
    if (orientation == 1 || orientation == 4)
        LayoutCanvas(true);
    else if (orientation == 0 || orientation == 2)
        LayoutCanvas(false);
    else
        m_canvas->CalcRanges();
    Invalidate();
}

// ---- Window operations ----

int CChartWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    // The picture sits straight on the window, so its presses, moves and
    // releases come here in client coordinates.
    RemoveClientArea();
    m_picture.SetBkColor(0);
    if (!m_picture.Create(this, ChartPictureRect(GetClientRect(), kBottomBarHeight), kPictureId, true))
        return 0;
    m_picture.GetMemDC().Clear(0);
    SetBackground(0);
    SetCaptionRect({});
    return 1;
}

void CChartWnd::OnLayout() {
    CNetWnd::OnLayout();
    if (m_picture.IsCreated())
        m_picture.MoveWindow(ChartPictureRect(GetClientRect(), GetBottomBarHeight()));
    const UiMessageLoop* loop = UiMessageLoop::Current();
    LayoutChart(loop ? loop->GetScreenMode() : SCREEN_MODE_1);
}

void CChartWnd::OnPaint(CDC& dc) {
    CNetWnd::OnPaint(dc);
    // Whatever changes the chart marks the whole window, but for a cursor
    // move, which has drawn its strips into the picture already
    // (RepaintChart): a paint of part of the window shows the picture as it
    // is.
    if (dc.GetDrawRect() != dc.GetClipRect())
        return;
    if (m_canvas)
        if (CDC* picture = m_picture.GetDC()) {
            // A reply or a scroll may bring a wider label than the column has.
            FitLabelColumn();
            m_canvas->Paint(*picture);
        }
}

void CChartWnd::RepaintChart() {
    CDC* picture = m_canvas && m_picture.IsCreated() ? m_picture.GetDC() : nullptr;
    std::vector<CRect> changed;
    if (!picture || !IsShownOnScreen() || !m_canvas->PaintChanged(*picture, changed)) {
        Invalidate();
        return;
    }
    for (const CRect& r : changed)
        m_picture.InvalidateRect(r);
}

void CChartWnd::EndDrag() {
    if (!m_dragging)
        return;
    m_dragging = false;
    if (UiWin::GetCapture() == this)
        UiWin::ReleaseCapture();
}

void CChartWnd::OnLButtonDown(UINT flags, CPoint pt) {
    CNetWnd::OnLButtonDown(flags, pt);
    if (!IsInChartBand(pt.y, GetClientRect().bottom))
        return;
    m_dragging = true;
    SetCapture();
    if (m_canvas) {
        m_canvas->OnTouch(this, CChartCanvas::kTouchPress, pt.x, pt.y - kCaptionHeight);
        RepaintChart();
    }
}

void CChartWnd::OnLButtonUp(UINT flags, CPoint pt) {
    CNetWnd::OnLButtonUp(flags, pt);
    // Every release ends the drag; only one in the band is a chart touch.
    EndDrag();
    if (!IsInChartBand(pt.y, GetClientRect().bottom) || !m_canvas)
        return;
    m_canvas->OnTouch(this, CChartCanvas::kTouchRelease, pt.x, pt.y - kCaptionHeight);
    RepaintChart();
}

void CChartWnd::OnMouseMove(UINT flags, CPoint pt) {
    CNetWnd::OnMouseMove(flags, pt);
    if (!m_dragging || !m_canvas)
        return;
    m_canvas->OnTouch(this, CChartCanvas::kTouchMove, pt.x, pt.y - kCaptionHeight);
    RepaintChart();
}

int CChartWnd::CursorDirectionOfKey(int key) {
    switch (key) {
    case VK_LEFT: return 0;
    case VK_RIGHT: return 1;
    case VK_UP: return 2;
    case VK_DOWN: return 3;
    case VK_RETURN: return 4;
    default: return -1;
    }
}

void CChartWnd::OnKeyDown(int key) {
    const int direction = CursorDirectionOfKey(key);
    if (direction < 0 || !m_canvas || m_dragging) {
        CNetWnd::OnKeyDown(key);
        return;
    }
    m_canvas->MoveCursor(direction, 0);
    Invalidate();
}

// ---- Jumps ----

void CChartWnd::OpenF10() {
    if (m_market == 3) {
        UiMessageBox(this, u"暂不支持港股个股资讯！", u"Err");
        return;
    }
    if (m_type == 2) {
        UiMessageBox(this, u"大盘无相关资讯！", u"Err");
        return;
    }
    CAppData* app = CAppData::Instance();
    CMenuTree* tree = app ? app->GetMenuTree() : nullptr;
    const CMenuNode* root = tree ? tree->GetRoot() : nullptr;
    const CMenuNode* node = root ? root->firstChild : nullptr;
    while (node && !node->keyword.EqualsNoCaseStr(kCompanyInfoKeyword))
        node = node->nextSibling;
    if (!node)
        return;
    const std::string code = F10CodeParam(m_codeText.view());
    if (code.empty())
        return;
    const CWString title = m_stockName.IsEmpty() ? CWString(u"未获取到股票名称") : m_stockName;
    GetWndManager().CreateWnd(node->keyword.c_str(), node->id, title.c_str(), code.c_str(), node->request.c_str(), 0,
                              this);
}

void CChartWnd::OpenBuySell(bool buy, bool priced) {
    const int type = m_type;
    const int market = m_market;
    if (type == 2) {
        UiMessageBox(this, u"大盘你也要买卖？^_^", u"提示");
        return;
    }
    if (market == 3) {
        UiMessageBox(this, u"暂不能买卖港股！", u"提示");
        return;
    }
    if (!TradeLoggedInOrAsk(this, {u"请先登录交易系统！"}))
        return;
    CWString title(buy ? u"买入 " : u"卖出 ");
    title.Append((m_stockName.IsEmpty() && m_canvas ? m_canvas->GetName() : m_stockName).view());
    const std::string request = BuySellRequest(m_codeText.view(), m_priceText.view(), market, type, buy, priced);
    if (!OpenOrderForm(this, title.view(), request))
        UiMessageBox(this, u"股票代码或价格无效！", u"提示");
}
