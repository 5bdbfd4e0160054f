// The K-line window: requests, replies, menus, the chooser and pinches.
#include "quotes/charts/CKXFrame.h"

#include "core/FunctionNumbers.h"
#include "framework/app/CAppData.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/WndMessages.h"
#include "framework/ui/widgets/CPopMenuWnd.h"
#include "platform/ui/CUiMessageBox.h"
#include "platform/win/UiGesture.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/charts/CChartState.h"
#include "quotes/charts/CKXChartView.h"
#include "quotes/charts/CKXParamWnd.h"
#include "quotes/charts/ChartReplySets.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/QuoteRequests.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

// A malloc'd copy that a posted message carries (FreeChartRequestText frees it).
bool PostText(HWND target, UINT msg, std::string_view text) {
    UiMessageLoop* loop = UiMessageLoop::Current();
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (!loop || !copy) {
        std::free(copy);
        return false;
    }
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = 0;
    return loop->PostOwned(target, msg, 0, reinterpret_cast<LPARAM>(copy), &FreeChartRequestText);
}

bool SameName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

} // namespace

CKXFrame::CKXFrame() {
    // The chart asks only when the user does.
    SetAutoRefresh(false);
}

CKXFrame::~CKXFrame() {
    if (m_gesturesRegistered)
        UiGesture::ReleaseGestures(GetHandle());
    Destroy();
}

CKXChartView* CKXFrame::GetView() const { return dynamic_cast<CKXChartView*>(GetCanvas()); }

void CKXFrame::SetSwipeArea(const CRect& chartRect) {
    SetCaptionRect(ChartToClient(chartRect));
}

// ---- Window operations ----

int CKXFrame::OnInitDialog() {
    if (!CChartWnd::OnInitDialog())
        return 0;
    m_gesturesRegistered = UiGesture::RegisterGestures(GetHandle());
    if (!m_gesturesRegistered)
        UiMessageBox(this, u"注册多点触摸失败！", u"注册触摸", MB_OK);
    SetImageBarButtons(std::vector<int>(std::begin(kToolbarImages), std::end(kToolbarImages)));
    return 1;
}

void CKXFrame::OnWindowShown() {
    if (IsStockChanged() || !GetView()) {
        // A new window or another stock: a fresh view; coming back from a
        // child keeps the bars.
        SetStockChanged(false);
        CChartState::Shared().SetLastCursorPosition(-1);
        // At least the sample wide: the number of bars shown should not
        // change with every reply's prices.
        SetCanvas(std::make_unique<CKXChartView>(kKLineZoom[0], this), kSampleText, true);
        Invalidate();
        SetCaption(u"K线分析");
    }
    CChartWnd::OnWindowShown();
}

void CKXFrame::Close(int code) {
    if (m_gesturesRegistered) {
        UiGesture::ReleaseGestures(GetHandle());
        m_gesturesRegistered = false;
    }
    EndWindow(code);
}

LRESULT CKXFrame::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GESTURE_NOTIFY) {
        const CKLinePinch next = KLinePinchStep(m_pinch, static_cast<int>(wParam));
        const int level = next.level;
        m_pinch.counter = next.counter;
        if (level != m_pinch.level) {
            EndDrag();
            SetZoom(level);
        }
        return 0;
    }
    if (msg == WND_MSG_PARAMS_CHOSEN) {
        std::unique_ptr<CKXParamChoice> choice(reinterpret_cast<CKXParamChoice*>(lParam));
        if (choice) {
            SetPeriodType(choice->period);
            SetTechName(choice->tech.c_str());
        }
        return 0;
    }
    return CChartWnd::OnMessage(msg, wParam, lParam);
}

void CKXFrame::OnToolbarCommand(int index) {
    switch (index) {
    case 0: ShowChartMenu(); break;
    case 1: OpenStockSearch(); break;
    case 2: OpenMinuteChart(); break;
    case 3: OpenF10(); break;
    case 4: OnRefreshCommand(); break;
    case 5: Close(1); break;
    default: break;
    }
}

void CKXFrame::OnLeftSwipe() { OpenMinuteChart(); }

// ---- Requests ----

void CKXFrame::SendRefresh(RefreshCause cause) {
    // A refresh asked for while a request is out is dropped: that request
    // brings fresh bars anyway.
    if (cause == RefreshCause::Timer)
        return;
    SendKLine(kModeReload);
}

void CKXFrame::SendKLine(int mode) {
    if (!GetView())
        return;
    // Busy: a choice is applied after the reply (ApplyPending), a page is
    // asked for again by the next scroll, a refresh is not needed.
    if (m_mode != kModeIdle || IsRequestPending())
        return;
    m_mode = mode;
    m_direction = 1;
    if (!PostRequest(-1, 0))
        m_mode = kModeIdle;
}

void CKXFrame::RequestOlder() {
    if (m_noOlder)
        return;
    SendKLine(kModePage);
}

void CKXFrame::SetTechName(const char* name) {
    if (!name || !*name || !IsRequestValue(name))
        return;
    const bool same = SameName(name, m_techName);
    if (same && !IsIdle())
        return;
    m_techName = name;
    SendKLine(kModeReload); // when busy, ApplyPending sends it after the reply
}

void CKXFrame::SetPeriodType(int period) {
    if (period == m_period)
        return;
    m_period = period;
    SendKLine(kModeReload);
}

void CKXFrame::SetZoom(int level) {
    level = std::clamp(level, 0, kKLineZoomLevels - 1);
    if (level == m_pinch.level)
        return;
    m_pinch.level = level;
    CKXChartView* view = GetView();
    if (!view)
        return;
    view->SetBarMetrics(kKLineZoom[level]);
    Invalidate();
    if (view->GetData().GetCount() < view->GetVisibleCount()) {
        if (IsIdle() && !IsRequestPending())
            SendKLine(kModeReload);
        else
            m_reloadWanted = true;
    }
}

int CKXFrame::BuildRequest(CAString& out) {
    CKXChartView* view = GetView();
    if (!view || m_mode == kModeIdle)
        return 0;
    const bool page = m_mode == kModePage;
    const std::string date = page ? view->GetFirstDate() : "0";
    const std::string time = page ? view->GetFirstTime() : "0";
    const std::string text = KLineRequestText(GetCodeText(), date, time, m_period, m_direction,
                                              KLineRequestCount(view->GetVisibleCount(), m_mode), m_techName);
    if (text.empty())
        return 0;
    Asking().kind = m_mode;
    Asking().number = m_period;
    Asking().text = m_techName;
    out.Assign(text);
    return 1;
}

void CKXFrame::OnRequestNotSent(NotSent /*why*/) {
    m_mode = kModeIdle;
    m_reloadWanted = false;
}

bool CKXFrame::ReadsPastErrorSet(int index) const { return IsKLineReplyPartialError(index); }

void CKXFrame::ApplyPending(int askedPeriod, const std::string& askedTech) {
    const bool choiceChanged = askedPeriod != m_period || !SameName(askedTech, m_techName);
    if (m_reloadWanted || choiceChanged) {
        m_reloadWanted = false;
        SendKLine(kModeReload);
    }
}

void CKXFrame::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    // A reply to no request remembered is read as a reload of the choice held.
    const bool known = Asked().kind != CAsked::kUnknown;
    const int previous = Asked().kind;
    const int askedPeriod = known ? Asked().number : m_period;
    const std::string askedTech = known ? Asked().text : m_techName;
    m_mode = kModeIdle;
    CKXChartView* view = GetView();
    if (!data || length <= 0 || !view) {
        ApplyPending(askedPeriod, askedTech);
        return;
    }
    CDataSetList list(data, length);
    CAppData* app = CAppData::Instance();
    // An error shown, or the header hook's reply: nothing for the chart.
    if (!FirstDataSet(list)) {
        // A readable reply without a set is told too.
        if (list.GetCount() == 0 && !list.IsError() && app)
            app->ShowInfoMessage(list.GetErrorText().c_str(), this);
    } else if (!CKXData::IsAcceptedReply(list)) {
        ShowReplyError(list);
    } else {
        if (previous != kModePage && IsKLineReplyPartialError(list.GetErrorIndex()) && app)
            app->ShowInfoMessage(list.GetErrorText().c_str(), this);
        view->SetTechName(askedTech);
        m_shownPeriod = askedPeriod;
        if (previous != kModePage)
            view->Reset();
        const int added = view->AddReply(list);
        m_noOlder = previous == kModePage && added == 0;
        const CKXData& d = view->GetData();
        m_market = static_cast<int16_t>(d.GetMarket());
        m_type = static_cast<int16_t>(d.GetType());
        if (IsRequestValue(d.GetCode().view())) {
            char key[32];
            std::snprintf(key, sizeof key, "%.20s.%02d", d.GetCode().c_str(), d.GetMarket() % 100);
            SetCodeText(key);
        }
        m_stockName = d.GetName();
        std::u16string title(d.GetName().view());
        const std::u16string code = d.GetCode().ToWide();
        title += code + KLinePeriodTitle(askedPeriod);
        view->SetTitle(title.substr(0, CKXChartView::kTitleChars));
        Invalidate();
    }
    ApplyPending(askedPeriod, askedTech);
}

// ---- Commands ----

void CKXFrame::ShowChartMenu() {
    const int id = CPopMenuWnd::Run(this, {
        {u"取消", kMenuCancel},   {u"详细报价", kMenuDetail},     {u"卖出委托", kMenuSell},
        {u"买入委托", kMenuBuy}, {u"加入自选", kMenuAddToMyStocks}, {u"指标周期", kMenuParams},
    });
    OnMenuCommand(id);
}

void CKXFrame::OnMenuCommand(int id) {
    switch (id) {
    case kMenuSell:
    case kMenuBuy:
        // The chart has no order price: the form opens without one (an
        // empty "price=" would be refused as no price).
        OpenBuySell(id == kMenuBuy, false);
        break;
    case kMenuDetail: {
        const std::string code = GetCodeText();
        if (!IsRequestValue(code))
            break;
        const std::string param = "code=" + code;
        GetWndManager().CreateWnd(kDetailQuoteKeyword, -1, u"详细报价", param.c_str(),
                                  kRequestHead<kFuncQuoteFields>.c_str(),
                                  0, this);
        break;
    }
    case kMenuAddToMyStocks:
        CEditMyStockWnd::AddToMyStocks(GetCodeText(), this);
        break;
    case kMenuParams:
        OpenParams();
        break;
    default:
        break;
    }
}

void CKXFrame::OpenParams() {
    auto form = std::make_unique<CKXParamWnd>(u"设置技术指标周期", this);
    form->SetParams(m_techName.c_str(), m_period);
    if (!form->CreateOver(this, GetWndManager().GetWorkRect()))
        return;
    form->ShowModal(-1, nullptr, nullptr, ANIM_SLIDE_UP);
}

void CKXFrame::OpenMinuteChart() {
    const std::string code = GetCodeText();
    if (!IsRequestValue(code))
        return;
    const HWND parent = GetParentWnd();
    // Closing first: the parent is shown again before the minute chart opens over it.
    SetHideAnimation(ANIM_NONE);
    Close(-1);
    PostText(parent, WND_MSG_OPEN_FSCHART, "date=&code=" + code);
}

void CKXFrame::OpenDayMinuteChart(const std::string& request) {
    if (request.empty())
        return;
    EndDrag();
    GetWndManager().CreateWnd(kMinuteChartKeyword, -1, u"分时图", "", request.c_str(), 0, this);
}
