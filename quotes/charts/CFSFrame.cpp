// The minute chart window: requests, replies, menus and the windows it opens.
#include "quotes/charts/CFSFrame.h"

#include "core/FunctionNumbers.h"
#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/WndMessages.h"
#include "framework/ui/widgets/CPopMenuWnd.h"
#include "platform/ui/CUiMessageBox.h"
#include "platform/ui/CUiPopupMenu.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/charts/CChartState.h"
#include "quotes/charts/CFSChartView.h"
#include "quotes/charts/CFSData.h"
#include "quotes/charts/ChartReplySets.h"
#include "quotes/info/CInfoMineTxtWnd.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/QuoteRequests.h"

#include <cstdlib>
#include <cstring>

namespace {

// A malloc'd copy that a posted message carries (FreeChartRequestText frees it).
char* OwnedCopy(std::string_view text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy) {
        std::memcpy(copy, text.data(), text.size());
        copy[text.size()] = 0;
    }
    return copy;
}

bool PostText(HWND target, UINT msg, WPARAM wParam, std::string_view text) {
    UiMessageLoop* loop = UiMessageLoop::Current();
    char* copy = OwnedCopy(text);
    if (!loop || !copy) {
        std::free(copy);
        return false;
    }
    return loop->PostOwned(target, msg, wParam, reinterpret_cast<LPARAM>(copy), &FreeChartRequestText);
}

} // namespace

std::string CFSFrame::MinuteRequest(std::string_view code, bool addup, std::string_view time, std::string_view date,
                                    std::string_view maxvol) {
    if (!IsRequestValue(code) || !IsDigits(time) || !IsDigits(maxvol) || (!date.empty() && !IsDigits(date)))
        return {};
    std::string text = std::string(kRequestHead<kFuncMinutes>) + "&code=";
    text.append(code);
    text.append(addup ? "&addup=1" : "&addup=0");
    text.append("&time=");
    text.append(time);
    text.append("&date=");
    text.append(date);
    text.append("&maxvol=");
    text.append(maxvol);
    text.append("&freq=2&close_xxld=0");
    return text;
}

std::vector<CFSFrame::MenuItem> CFSFrame::ChartMenuItems(bool index, bool history, bool overlayOn) {
    std::vector<MenuItem> items = {{u"取消", kMenuCancel}, {u"交易明细", kMenuDeals}};
    if (!index) {
        items.push_back({u"卖出委托", kMenuSell});
        items.push_back({u"买入委托", kMenuBuy});
    }
    items.push_back({u"加入自选", kMenuAddToMyStocks});
    if (!index && !history)
        items.push_back(overlayOn ? MenuItem{u"取消叠加", kMenuOverlayOff} : MenuItem{u"叠加大盘", kMenuOverlayOn});
    return items;
}

CFSFrame::CFSFrame() : m_data(std::make_unique<CFSData>()) {
    CAppData* app = CAppData::Instance();
    const CAString on = app ? app->GetSetting("Quote_IsRefresh") : CAString();
    SetAutoRefresh(!on.IsEmpty() && on.c_str()[0] == '1');
    SetRefreshOnShow(true);
}

CFSFrame::~CFSFrame() {
    CChartState::Shared().SetPanelPage(0);
    CChartState::Shared().SetLastCursorPosition(-1);
    Destroy();
}

CFSChartView* CFSFrame::GetView() const {
    return dynamic_cast<CFSChartView*>(GetCanvas());
}

bool CFSFrame::GetOverlaySwitch() {
    return GetWindowOpener().GetChartMode() != 0;
}

void CFSFrame::SetOverlaySwitch(bool on) {
    GetWindowOpener().SetChartMode(on ? 1 : 0);
}

void CFSFrame::SetSwipeArea(const CRect& chartRect) {
    SetCaptionRect(ChartToClient(chartRect));
}

void CFSFrame::OnLevelHeld(int x, int y) {
    PostMessage(CFSChartView::kMsgLevelHeld, static_cast<WPARAM>(x), static_cast<LPARAM>(y));
}

void CFSFrame::PostInfoMine(std::string_view ids) {
    if (!ids.empty())
        PostText(GetHandle(), kMsgInfoMine, kInfoMineCode, ids);
}

// ---- Window operations ----

int CFSFrame::OnInitDialog() {
    if (!CChartWnd::OnInitDialog())
        return 0;
    SetImageBarButtons(std::vector<int>(std::begin(kToolbarImages), std::end(kToolbarImages)));
    return 1;
}

void CFSFrame::SetMenuParams(int menuId, const char* param, const char* request) {
    const std::string code = GetUrlParamText(request, "code");
    const std::string date = GetUrlParamText(request, "date");
    const bool dateChanged = !date.empty() && StrEqualNoCase(date.c_str(), m_requestedDate.c_str()) != 0;
    m_requestedDate = date;
    CChartWnd::SetMenuParams(menuId, param, request);
    if (!code.empty() && dateChanged) {
        // Another day of the same stock is another chart.
        SetStockChanged(true);
        SetFirstShow(true);
    }
}

void CFSFrame::OnWindowShown() {
    if (IsStockChanged()) {
        // Acted on once: coming back from a child keeps data, view and cursor.
        SetStockChanged(false);
        CChartState::Shared().SetLastCursorPosition(-1);
        m_data->Clear();
        SetCanvas(std::make_unique<CFSChartView>(this), kSampleText);
        Invalidate();
        SetCaption(u"分时走势");
    }
    CChartWnd::OnWindowShown();
}

int CFSFrame::BuildRequest(CAString& out) {
    std::string time = "0";
    std::string maxvol = "999999999";
    const std::string key = m_data->GetStockKey();
    const bool dataOverlay = m_data->HasOverlayTable() && !m_data->IsIndex();
    const bool canContinue = !key.empty() && IsSameCode(key.c_str()) && dataOverlay == GetOverlaySwitch();
    if (canContinue) {
        const bool history = m_data->IsHistory();
        if (!m_requestedDate.empty()) {
            if (StrEqualNoCase(m_requestedDate.c_str(), std::to_string(m_data->GetTradeDate()).c_str()) == 0) {
                // A past day is complete: nothing more to ask for.
                if (history)
                    return 0;
                time = m_data->FormatTime().str();
                maxvol = m_data->FormatVolume().str();
            } else {
                m_data->Clear();
            }
        } else if (history) {
            m_data->Clear();
        } else {
            time = m_data->FormatTime().str();
            maxvol = m_data->FormatVolume().str();
        }
    }
    const std::string text = MinuteRequest(GetCodeText(), GetOverlaySwitch(), time, m_requestedDate, maxvol);
    if (text.empty())
        return 0;
    out.Assign(text);
    return 1;
}

void CFSFrame::OnRequestNotSent(NotSent why) {
    const bool busy = why == NotSent::WorkerBusy;
    if (busy && Asked().kind == kAskOverlaySwitch)
        m_overlayResend = true;
    // A switch the worker refused, or a first request that found it busy
    // with another window's: asked again shortly (and after the reply the
    // worker was busy with), rather than at the next refresh tick.
    if (busy && (m_overlayResend || m_data->GetCount() == 0))
        SetTimer(kRetryTimer, kRetryMs);
}

void CFSFrame::OnTimer(UINT id) {
    if (id != kRetryTimer) {
        CChartWnd::OnTimer(id);
        return;
    }
    KillTimer(kRetryTimer);
    if (IsRequestPending()) {
        SetTimer(kRetryTimer, kRetryMs);
        return;
    }
    if (m_overlayResend)
        ResendOverlaySwitch();
    else if (m_data->GetCount() == 0)
        Refresh();
}

void CFSFrame::ResendOverlaySwitch() {
    m_overlayResend = false;
    // Only when no reply has brought what the switch asked for.
    const bool held = m_data->HasOverlayTable() && !m_data->IsIndex();
    if (held != GetOverlaySwitch())
        PostRequest(-1, 0, kAskOverlaySwitch);
}

void CFSFrame::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!data || length <= 0)
        return;
    CDataSetList list(data, length);
    if (!FirstDataSet(list))
        return;
    LoadMinuteData(list);
    Invalidate();
    if (m_overlayResend)
        ResendOverlaySwitch();
}

bool CFSFrame::ReadsPastErrorSet(int index) const {
    return IsMinuteReplyPartialError(index);
}

void CFSFrame::LoadMinuteData(CDataSetList& list) {
    const int taken = m_data->ParseReply(list);
    if (taken && m_data->HasHeaderRow()) {
        // Only a reply taken in, with a header row, names the stock.
        const std::string key = m_data->GetStockKey();
        if (!key.empty())
            SetCodeText(key);
        m_market = static_cast<int16_t>(m_data->GetMarket());
        m_type = static_cast<int16_t>(m_data->GetType());
        m_stockName = m_data->GetName();
        SetCaption(m_data->GetName().str() + u" " + m_data->GetCode().ToWide() + u" 分时");
    }
    CFSChartView* view = GetView();
    if (!view) {
        SetCanvas(std::make_unique<CFSChartView>(this), kSampleText);
        view = GetView();
    } else {
        view->CalcRanges();
        LayoutView();
    }
    if (view && taken && m_data->ReplyHadInfoMarks()) {
        view->ClearInfoMarks();
        view->SetInfoMarks(m_data->GetInfoMarks());
    }
}

void CFSFrame::LayoutView() {
    if (!GetView())
        return;
    const UiMessageLoop* loop = UiMessageLoop::Current();
    LayoutCanvas(!(loop && !IsPortraitMode(loop->GetScreenMode())));
    GetView()->SetDirty();
}

LRESULT CFSFrame::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == CFSChartView::kMsgLevelHeld) {
        // The finger may still be down: the pop-up takes the touches now.
        EndDrag();
        ShowLevelMenu();
        return 0;
    }
    if (msg == kMsgInfoMine && wParam == kInfoMineCode) {
        char* ids = reinterpret_cast<char*>(lParam);
        const std::string text = ids ? ids : "";
        std::free(ids);
        EndDrag();
        OpenInfoMine(GetCodeText(), std::to_string(m_data->GetTradeDate()), text);
        return 0;
    }
    if (msg == WND_MSG_OPEN_FSCHART) {
        // Another stock from the chart's own search: shown in this window.
        char* request = reinterpret_cast<char*>(lParam);
        SetMenuParams(-1, "", request);
        std::free(request);
        if (IsStockChanged())
            OnWindowShown();
        return 0;
    }
    return CChartWnd::OnMessage(msg, wParam, lParam);
}

void CFSFrame::OnToolbarCommand(int index) {
    switch (index) {
    case 0:
        ShowChartMenu();
        break;
    case 1:
        OpenStockSearch();
        break;
    case 2:
        OpenKLine();
        break;
    case 3:
        OpenF10();
        break;
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

void CFSFrame::OpenBuySell(bool buy, bool priced) {
    if (m_data->IsHistory()) {
        UiMessageBox(this, u"这是历史分时图，不能委托！", u"提示", MB_OK);
        return;
    }
    CChartWnd::OpenBuySell(buy, priced);
}

void CFSFrame::ClearData() {
    m_data->Clear();
}

// ---- Commands ----

void CFSFrame::ShowChartMenu() {
    OnMenuCommand(CPopMenuWnd::Run(
        this, ChartMenuItems(m_data->IsIndex() || m_type == 2, m_data->IsHistory(), GetOverlaySwitch())));
}

void CFSFrame::ShowLevelMenu() {
    CFSChartView* view = GetView();
    if (!view || view->GetPressedPrice().empty())
        return;
    CUiPopupMenu menu;
    menu.AppendItem(kMenuCancel, u"取消");
    if (view->IsSellLevel())
        menu.AppendItem(kMenuSell, u"卖出");
    else
        menu.AppendItem(kMenuBuy, u"买入");
    const int id = menu.TrackPopup(this, ANIM_SLIDE_UP, ANIM_SLIDE_DOWN);
    menu.Destroy();
    view->ReleasePressedCell();
    OnMenuCommand(id);
}

void CFSFrame::OnMenuCommand(int id) {
    switch (id) {
    case kMenuSell:
    case kMenuBuy: {
        CFSChartView* view = GetView();
        const std::string price = view ? view->GetPressedPrice() : std::string();
        SetPriceText(price);
        OpenBuySell(id == kMenuBuy, !price.empty());
        break;
    }
    case kMenuAddToMyStocks:
        CEditMyStockWnd::AddToMyStocks(GetCodeText(), this);
        break;
    case kMenuDeals:
        OpenDealDetails();
        break;
    case kMenuOverlayOn:
    case kMenuOverlayOff: {
        if (m_data->IsHistory())
            break;
        const bool on = id == kMenuOverlayOn;
        SetOverlaySwitch(on);
        if (CFSChartView* view = GetView())
            view->SetOverlay(on);
        if (on) {
            PostRequest(-1, 0, kAskOverlaySwitch);
        } else {
            Invalidate();
        }
        break;
    }
    default:
        break;
    }
}

void CFSFrame::OpenKLine() {
    const std::string text = StockCodeParam(GetCodeText());
    if (text.empty())
        return;
    const HWND parent = GetParentWnd();
    // Closing first: the parent is shown again before the K-line opens over it.
    SetHideAnimation(ANIM_NONE);
    EndWindow(-1);
    PostText(parent, WND_MSG_OPEN_KXCHART, 0, text);
}

void CFSFrame::OpenDealDetails() {
    const std::string code = GetCodeText();
    if (!IsRequestValue(code) || (!m_requestedDate.empty() && !IsDigits(m_requestedDate)))
        return;
    CWndCreateInfo info;
    info.keyword = kDealDetailClass;
    info.owner = this;
    std::unique_ptr<CBaseWnd> window = GetWndManager().MakeWindow(kDealDetailClass, info);
    if (!window)
        return;
    const std::string request = "code=" + code + "&date=" + m_requestedDate;
    GetWndManager().RunWindow(std::move(window), -1, u"成交明细", nullptr, request.c_str(), this, ANIM_FADE_IN,
                              ANIM_FADE_OUT);
}

void CFSFrame::OpenInfoMine(const std::string& code, const std::string& date, const std::string& ids) {
    auto page = std::make_unique<CInfoMineTxtWnd>();
    page->SetStockCode(code.c_str());
    page->SetDate(date.c_str());
    page->SetItemId(ids.c_str());
    GetWndManager().RunWindow(std::move(page), -1, u"信息地雷", nullptr, nullptr, this, ANIM_FADE_IN, ANIM_FADE_OUT);
}
