// The screens of the screenshot tour, in order; each step starts at the
// main menu after the start-up against the embedded simulator, except the
// start-up's own screens.
#include "framework/app/CAppData.h"
#include "framework/app/CStartupWnd.h"
#include "framework/ui/CComboBoxWnd.h"
#include "framework/shell/COrbApp.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/CBaseWnd.h"
#include "framework/ui/COrbMenuWnd.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/WndMessages.h"
#include "framework/ui/widgets/CTextCtrl.h"
#include "platform/Clock.h"
#include "platform/storage/CRegistry.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/UiEdit.h"
#include "platform/ui/UiScrollWin.h"
#include "platform/win/UiGesture.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/charts/CFSChartView.h"
#include "quotes/charts/CFSFrame.h"
#include "quotes/charts/CKXChartView.h"
#include "quotes/charts/CKXFrame.h"
#include "quotes/charts/CKXParamWnd.h"
#include "quotes/info/COrbInfoListWnd.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/CMyStockWnd.h"
#include "quotes/tables/COrbStockTableWnd.h"
#include "tools/orbstock/Tour.h"
#include "tools/simulator/SimMarketDay.h"
#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/CSimTradeAccounts.h"
#include "trade/dyncode/CMobileDynCodeApplyWnd.h"
#include "trade/dyncode/CMobileDynCodeCtrWnd.h"
#include "trade/dyncode/DynCodeStore.h"
#include "trade/dyncode/MobileDynCodeTxtWnd.h"
#include "trade/login/COrbTradeLoginWnd.h"
#include "trade/login/CSalesDeptRegionWnd.h"
#include "trade/login/CSalesDeptSetWnd.h"
#include "trade/login/CTradeLoginAccountWnd.h"
#include "trade/orders/CTradeBuySaleWnd.h"
#include "trade/orders/CTradeConfirmWnd.h"
#include "trade/queries/CFundTradeConfirmWnd.h"
#include "trade/queries/CTradeHisQueryTableWnd.h"
#include "trade/queries/CTradePasswordWnd.h"
#include "trade/queries/CTradeQueryTableWnd.h"
#include "trade/queries/CWarrantWnd.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <optional>
#include <vector>

// The start-up screen while the server has not answered the logon, its
// line half way through a sweep.
ORB_TOUR_STARTUP_STEP(startup_connecting) {
    for (int i = 0; i < CStartupWnd::kSteps / 2; ++i)
        tour.driver.RunOnGui([] { CClock::Instance().Advance(CStartupWnd::kStepIntervalMs); });
    return tour.driver.RunOnGui([&] { return tour.app.GetStartupScreen() != nullptr; });
}

// The main menu: the root's children from the simulator's menu tree.
ORB_TOUR_STEP(main_menu) { return tour.app.GetMainWindow() != nullptr; }

// The exit question over the main menu, as the caption's back button asks it.
ORB_TOUR_STEP(exit_confirm) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_CAPTION_BACK);
    });
    return posted && tour.driver.WaitForRest();
}

// The watch list: the main menu's first child ("自选股") over the stored list.
ORB_TOUR_STEP(watch_list) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, 0);
    });
    return posted && tour.driver.WaitForRest();
}

// The watch-list editor over the watch list, two stocks checked.
ORB_TOUR_STEP(watch_list_editor) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, 0);
    });
    return posted && tour.driver.WaitForRest() &&
           CDriverControls::PressBottomButton(tour.driver, CMyStockWnd::kBarEditor) &&
           CDriverControls::TapListItem(tour.driver, CEditMyStockWnd::kListId, 1) &&
           CDriverControls::TapListItem(tour.driver, CEditMyStockWnd::kListId, 2);
}

// The stock ranking: the main menu's second child ("沪深排名").
ORB_TOUR_STEP(ranking_table) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, 1);
    });
    return posted && tour.driver.WaitForRest();
}

// One sector's stocks, reached as a person gets there: "板块行情" on the
// main menu, then the sector "人工智能".
ORB_TOUR_STEP(sector_table) {
    return CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, 4) &&
           CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, 3);
}

// The ranking's sort form, chosen from the ranking table's option menu.
ORB_TOUR_STEP(sort_form) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, 1);
    });
    if (!posted || !tour.driver.WaitForRest())
        return false;
    tour.driver.AnswerNext(ModalKind::PopupMenu, COrbStockTableWnd::kMenuSortParams);
    return CDriverControls::PressBottomButton(tour.driver, COrbTableWnd::kBarOptions);
}

// ---- The minute chart ----

namespace {

// The simulator's day for the chart screens: a Friday after the close, so
// every chart shows its whole day.
void FixChartDay(CTourContext& tour, int hour = 15, int minute = 30) {
    tour.simulator.SetClock(SimChinaMs(2026, 12, 4, hour, minute));
}

// Opens the minute chart of key from the main menu, as a chosen search
// result does, and waits for its reply.
bool OpenChartOf(CTourContext& tour, const char* key, int hour = 15, int minute = 30) {
    FixChartDay(tour, hour, minute);
    const std::string text = std::string("date=&code=") + key;
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        char* copy = static_cast<char*>(std::malloc(text.size() + 1));
        if (!main || !copy || !UiMessageLoop::Current()) {
            std::free(copy);
            return false;
        }
        std::memcpy(copy, text.c_str(), text.size() + 1);
        return UiMessageLoop::Current()->PostOwned(main->GetHandle(), WND_MSG_OPEN_FSCHART, 0,
                                                   reinterpret_cast<LPARAM>(copy), &FreeChartRequestText);
    });
    return posted && tour.driver.WaitForRest();
}

// The handle of the shown top-level window of a class, or null (test thread).
HWND ShownWindow(CTourContext& tour, const char* className) {
    for (const CWindowInfo& w : tour.driver.OpenWindows())
        if (w.depth == 0 && w.visible && w.className == className)
            return w.handle;
    return nullptr;
}

// The chart of a handle, or null (GUI thread).
CFSFrame* ChartOf(HWND handle) {
    return dynamic_cast<CFSFrame*>(UiWin::FromHandle(handle));
}

// A point of the chart's view (picture coordinates) on the screen.
std::optional<CPoint> ChartPoint(CTourContext& tour, int x, int y) {
    const HWND chart = ShownWindow(tour, "CFSFrame");
    return tour.driver.RunOnGui([&]() -> std::optional<CPoint> {
        CFSFrame* frame = ChartOf(chart);
        if (!frame)
            return std::nullopt;
        const CRect screen = frame->GetScreenRect();
        const CRect picture = frame->GetPictureRect();
        return CPoint{screen.left + picture.left + x, screen.top + picture.top + y};
    });
}

// The view's grid and panel (picture coordinates).
std::optional<CFSLayout> ChartLayout(CTourContext& tour) {
    const HWND chart = ShownWindow(tour, "CFSFrame");
    return tour.driver.RunOnGui([&]() -> std::optional<CFSLayout> {
        CFSFrame* frame = ChartOf(chart);
        CFSChartView* view = frame ? frame->GetView() : nullptr;
        return view ? std::optional<CFSLayout>(view->GetFSLayout()) : std::nullopt;
    });
}

// Taps the side panel count times (each release turns its page).
bool TurnPanel(CTourContext& tour, int count) {
    const std::optional<CFSLayout> layout = ChartLayout(tour);
    if (!layout)
        return false;
    const CRect& panel = layout->panel;
    const std::optional<CPoint> at = ChartPoint(tour, panel.left + 40, panel.top + panel.Height() / 2);
    for (int i = 0; at && i < count; ++i)
        if (!tour.driver.Tap(at->x, at->y))
            return false;
    return at.has_value();
}

} // namespace

// A rising stock's day, reached from the ranking's first row.
ORB_TOUR_STEP(minute_chart) {
    FixChartDay(tour);
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, 1);
    });
    return posted && tour.driver.WaitForRest() &&
           CDriverControls::TapListItem(tour.driver, COrbTableWnd::kRowListId, 0) &&
           CDriverControls::TapListItem(tour.driver, COrbTableWnd::kRowListId, 0) &&
           ShownWindow(tour, "CFSFrame") != nullptr;
}

// A falling stock's day.
ORB_TOUR_STEP(minute_chart_falling) { return OpenChartOf(tour, "300147.01"); }

// A stock with information marks, the screen turned.
ORB_TOUR_STEP(minute_chart_landscape) {
    if (!OpenChartOf(tour, "600010.02"))
        return false;
    const HWND chart = ShownWindow(tour, "CFSFrame");
    bool turned = tour.driver.RunOnGui([&] {
        CFSFrame* frame = ChartOf(chart);
        if (!frame)
            return false;
        UiMessageLoop::Current()->SetScreenMode(SCREEN_MODE_0);
        frame->ApplyScreenSettings();
        return true;
    });
    return turned && tour.driver.WaitForRest();
}

// The Shanghai index with its second line overlaid.
ORB_TOUR_STEP(minute_chart_overlay) { return OpenChartOf(tour, "000001.02"); }

// The cursor read-out at a point of the afternoon.
ORB_TOUR_STEP(minute_chart_cursor) {
    if (!OpenChartOf(tour, "600010.02"))
        return false;
    const std::optional<CFSLayout> layout = ChartLayout(tour);
    if (!layout)
        return false;
    const CRect& grid = layout->grid;
    const std::optional<CPoint> at = ChartPoint(tour, grid.left + grid.Width() * 3 / 4, grid.top + grid.Height() / 2);
    return at && tour.driver.Tap(at->x, at->y) && tour.driver.WaitForRest();
}

// The side panel's four pages: quote, more figures, levels 1 to 3, levels 4 and 5.
ORB_TOUR_STEP(minute_chart_panel_1) { return OpenChartOf(tour, "600010.02"); }
ORB_TOUR_STEP(minute_chart_panel_2) { return OpenChartOf(tour, "600010.02") && TurnPanel(tour, 1); }
ORB_TOUR_STEP(minute_chart_panel_3) { return OpenChartOf(tour, "600010.02") && TurnPanel(tour, 2); }
ORB_TOUR_STEP(minute_chart_panel_4) { return OpenChartOf(tour, "600010.02") && TurnPanel(tour, 3); }

// The information page of the two marks at 10:32, tapped on the chart.
ORB_TOUR_STEP(info_mine) {
    if (!OpenChartOf(tour, "600010.02"))
        return false;
    const std::optional<CFSLayout> layout = ChartLayout(tour);
    if (!layout)
        return false;
    const CRect& grid = layout->grid;
    const int x = ChartSlotX(grid.left, grid.Width(), kFSSlots, FSMarkSlot(633));
    const std::optional<CPoint> at = ChartPoint(tour, x, grid.top + 5);
    return at && tour.driver.Tap(at->x, at->y) && tour.driver.WaitForRest() &&
           ShownWindow(tour, "CInfoMineTxtWnd") != nullptr;
}

// A stock that has not traded today: a scale around its previous close.
ORB_TOUR_STEP(minute_chart_untraded) { return OpenChartOf(tour, "600372.02"); }

// Before the opening (09:00 of the chart's day): no point yet, no price 0.
ORB_TOUR_STEP(minute_chart_preopen) { return OpenChartOf(tour, "600010.02", 9, 0); }

// The Hang Seng index turned: its five-digit labels whole in the column.
ORB_TOUR_STEP(minute_chart_hsi_landscape) {
    if (!OpenChartOf(tour, "100100.03"))
        return false;
    const HWND chart = ShownWindow(tour, "CFSFrame");
    bool turned = tour.driver.RunOnGui([&] {
        CFSFrame* frame = ChartOf(chart);
        if (!frame)
            return false;
        UiMessageLoop::Current()->SetScreenMode(SCREEN_MODE_0);
        frame->ApplyScreenSettings();
        return true;
    });
    return turned && tour.driver.WaitForRest();
}

namespace {
// The sales departments as a user without one meets them: the caption's
// trade button, its request to set one up answered, three departments
// added (the first as offered, two by their typed codes).
bool AddThreeSalesDepartments(CTourContext& tour) {
    tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_CAPTION_TRADE);
    });
    if (!posted || !tour.driver.WaitForRest() ||
        !CDriverControls::PressBottomButton(tour.driver, CSalesDeptSetWnd::kBarAdd))
        return false;
    for (const char16_t* code : {u"0003", u"0007"}) {
        if (!CDriverControls::TapControl(tour.driver, CSalesDeptSetWnd::kCodeBoxId))
            return false;
        for (int i = 0; i < CSalesDeptSetWnd::kCodeLength; ++i)
            tour.driver.PressKey(VK_BACK);
        if (!tour.driver.TypeText(code) || !CDriverControls::PressBottomButton(tour.driver, CSalesDeptSetWnd::kBarAdd))
            return false;
    }
    return true;
}
} // namespace

// The three departments added, one checked.
ORB_TOUR_STEP(sales_departments) {
    return AddThreeSalesDepartments(tour) && CDriverControls::TapListItem(tour.driver, CSalesDeptSetWnd::kListId, 1);
}

// The server's department list dropped down over the personal list: the
// drop-down hides what lies under it.
ORB_TOUR_STEP(sales_departments_dropdown) {
    if (!AddThreeSalesDepartments(tour))
        return false;
    // The drop button at the combo box's right end.
    const std::optional<CRect> combo = CDriverControls::ControlScreenRect(tour.driver, CSalesDeptSetWnd::kComboId);
    return combo && tour.driver.Tap(combo->right - CComboBoxWnd::kButtonWidth / 2, combo->top + combo->Height() / 2) &&
           tour.driver.WaitForRest();
}

// ---- Trade login ----

namespace {
// The caption bar's trade button on the window on top, as a tap on it.
bool PressTradeButton(CTourContext& tour) {
    bool posted = tour.driver.RunOnGui([] {
        UiWin* bar = CDriverControls::FindShownControl(UI_BOTTOM_BAR_ID);
        UiWin* top = bar ? bar->GetParent() : nullptr;
        return top && top->PostMessage(WND_MSG_CAPTION_TRADE);
    });
    return posted && tour.driver.WaitForRest();
}

// A first trade button with no department: the notice, then the department
// window, where the user adds the first department of the broker's list
// and the one of code 0003, and saves.
bool SetUpDepartments(CTourContext& tour) {
    tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_CAPTION_TRADE);
    });
    if (!posted || !tour.driver.WaitForRest() ||
        !CDriverControls::PressBottomButton(tour.driver, CSalesDeptSetWnd::kBarAdd) ||
        !CDriverControls::TapControl(tour.driver, CSalesDeptSetWnd::kCodeBoxId))
        return false;
    for (int i = 0; i < CSalesDeptSetWnd::kCodeLength; ++i)
        tour.driver.PressKey(VK_BACK);
    if (!tour.driver.TypeText(u"0003") ||
        !CDriverControls::PressBottomButton(tour.driver, CSalesDeptSetWnd::kBarAdd))
        return false;
    return CDriverControls::PressBottomButton(tour.driver, CSalesDeptSetWnd::kBarSave);
}

// The login form from the main menu's caption bar, departments set up.
bool OpenTradeLogin(CTourContext& tour) {
    if (!SetUpDepartments(tour))
        return false;
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_CAPTION_TRADE);
    });
    return posted && tour.driver.WaitForRest();
}

bool TypeInto(CTourContext& tour, int id, std::u16string_view text) {
    return CDriverControls::TapControl(tour.driver, id) && tour.driver.TypeText(text);
}

// Logs the customer on from the form on top and takes the success notice.
bool LogOn(CTourContext& tour, std::u16string_view account, std::u16string_view password,
           std::u16string_view passPhrase = {}) {
    if (!TypeInto(tour, COrbTradeLoginWnd::kAccountId, account) ||
        !TypeInto(tour, COrbTradeLoginWnd::kPasswordId, password) ||
        (!passPhrase.empty() && !TypeInto(tour, COrbTradeLoginWnd::kPassPhraseId, passPhrase)))
        return false;
    tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
    return CDriverControls::PressBottomButton(tour.driver, CBaseWnd::kToolbarMiddle);
}
} // namespace

// The trade login form, account and password typed, "保存账号" checked.
ORB_TOUR_STEP(trade_login) {
    return OpenTradeLogin(tour) && TypeInto(tour, COrbTradeLoginWnd::kAccountId, u"12345") &&
           TypeInto(tour, COrbTradeLoginWnd::kPasswordId, u"123456") &&
           CDriverControls::TapControl(tour.driver, COrbTradeLoginWnd::kSaveCheckId);
}

// The form for an account with a phone token on this phone: the one-time
// code in place of the pass phrase. The token row is stored directly.
ORB_TOUR_STEP(trade_login_dyncode) {
    const bool stored = tour.driver.RunOnGui([] {
        CAppData* app = CAppData::Instance();
        return app && StoreDynCodeSeed(*app, "000300056789", CSimTradeAccounts::kDefaultSeed, u"", true, 0);
    });
    if (!stored || !OpenTradeLogin(tour))
        return false;
    tour.driver.AnswerNext(ModalKind::Picker, 1); // "上海浦东南路证券营业部", code 0003
    return CDriverControls::TapControl(tour.driver, COrbTradeLoginWnd::kDeptArrowId) &&
           TypeInto(tour, COrbTradeLoginWnd::kAccountId, u"56789") &&
           TypeInto(tour, COrbTradeLoginWnd::kPasswordId, u"246810");
}

// The logged-in accounts: two customers logged on, the trade button again.
ORB_TOUR_STEP(trade_accounts) {
    if (!OpenTradeLogin(tour) || !LogOn(tour, u"12345", u"123456") || !PressTradeButton(tour) ||
        !CDriverControls::TapControl(tour.driver, CTradeLoginAccountWnd::kNewLoginId))
        return false;
    return LogOn(tour, u"12346", u"135790", u"orb2026");
}

// The history list from the login form, after two logins with "保存账号".
ORB_TOUR_STEP(account_history) {
    if (!OpenTradeLogin(tour) || !CDriverControls::TapControl(tour.driver, COrbTradeLoginWnd::kSaveCheckId) ||
        !LogOn(tour, u"12345", u"123456") || !PressTradeButton(tour) ||
        !CDriverControls::TapControl(tour.driver, CTradeLoginAccountWnd::kNewLoginId))
        return false;
    tour.driver.RunOnGui([] {
        if (auto* box = dynamic_cast<UiEdit*>(CDriverControls::FindShownControl(COrbTradeLoginWnd::kAccountId)))
            box->SetText(u"");
    });
    if (!LogOn(tour, u"12346", u"135790", u"orb2026") ||
        !CDriverControls::TapControl(tour.driver, CTradeLoginAccountWnd::kNewLoginId))
        return false;
    return CDriverControls::TapControl(tour.driver, COrbTradeLoginWnd::kHistoryButtonId);
}

// ---- The detail quote, the deal details and the confirmation page ----

// Opens a table of the main menu (child index), selects its first row and
// chooses "详细报价" from the option menu, as a person reaches the detail page.
static bool OpenDetailFromTable(CTourContext& tour, int child) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, child);
    });
    if (!posted || !tour.driver.WaitForRest() ||
        !CDriverControls::TapListItem(tour.driver, COrbTableWnd::kRowListId, 0))
        return false;
    tour.driver.AnswerNext(ModalKind::PopupMenu, COrbTableWnd::kMenuDetail);
    return CDriverControls::PressBottomButton(tour.driver, COrbTableWnd::kBarOptions);
}

// The detail page of the ranking's first stock: its figures and the book.
ORB_TOUR_STEP(stock_detail) { return OpenDetailFromTable(tour, 1); }

// The detail page of the watch list's first row, an index: six rows.
ORB_TOUR_STEP(index_detail) { return OpenDetailFromTable(tour, 0); }

// The deal details, chosen from a stock's minute chart.
ORB_TOUR_STEP(deal_details) {
    if (!OpenChartOf(tour, "600010.02"))
        return false;
    tour.driver.AnswerNext(ModalKind::PopupMenu, CFSFrame::kMenuDeals);
    return CDriverControls::PressBottomButton(tour.driver, 0);
}

// The trade confirmation page as the warrant exercise hands it a request,
// run after the step's own task so that it shows while the step goes on.
ORB_TOUR_STEP(fund_confirm) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        UiMessageLoop* loop = UiMessageLoop::Current();
        if (!main || !loop)
            return false;
        loop->PostTask([main] {
            CFundTradeConfirmWnd page(u"权证行权确认", main);
            page.SetConfirm(u"交易类型：权证行权\n行权代码：580001\n证券名称：华岳JTP1\n行权价格：4.50\n行权数量：1000\n",
                            "TC_MFUNCNO=100&TC_SFUNCNO=29&stkcode=580001&price=4.50&qty=1000");
            page.SetResultPrefix(u"委托已提交，合同序号为");
            page.Run();
        });
        return true;
    });
    return posted && tour.driver.WaitForRest();
}

namespace {
// Opens a confirmation page over the main menu, as the order form or the
// same-day table hands it over, and waits until it shows.
bool OpenConfirmPage(CTourContext& tour, const char16_t* title, ConfirmMode mode, const ConfirmEntry& entry,
                     const CPriceTypeItem* type) {
    CBaseWnd* main = tour.driver.RunOnGui([&] { return tour.app.GetMainWindow(); });
    if (!main)
        return false;
    const std::optional<CPriceTypeItem> kept = type ? std::optional<CPriceTypeItem>(*type) : std::nullopt;
    tour.driver.Loop()->PostTask([main, title, mode, entry, kept] {
        CTradeConfirmWnd::Run(main, title, mode, {entry}, kept ? &*kept : nullptr);
    });
    return tour.driver.WaitForRest() &&
           tour.driver.RunOnGui([] { return CDriverControls::FindShownControl(CTradeConfirmWnd::kLabelId) != nullptr; });
}
} // namespace

// The confirmation of a limit buy of a Shenzhen A share.
ORB_TOUR_STEP(order_confirm) {
    const CPriceTypeItem limit(u"限价委托", "0B");
    return OpenConfirmPage(tour, u"交易确认", ConfirmMode::Buy,
                           {u"000016", u"平川银行", u"11.50", u"200", u"",
                            "market=0&secuid=0100012345&fundid=000100012345"},
                           &limit);
}

// The confirmation of a cancellation, with the order's serial.
ORB_TOUR_STEP(cancel_confirm) {
    return OpenConfirmPage(tour, u"撤单确认", ConfirmMode::Cancel,
                           {u"600010", u"华岳银行", u"8.00", u"100", u"100001",
                            "market=1&secuid=A100012345&fundid=000100012345"},
                           nullptr);
}

namespace {
// Opens main-menu row, then row of the menu it opens.
bool OpenMenuPath(CTourContext& tour, int mainRow, int childRow) {
    return CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, mainRow) &&
           CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, childRow);
}

// The shown window of class T, the topmost first; GUI thread.
template <class T>
T* ShownWindow() {
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (!loop)
        return nullptr;
    const std::vector<UiWin*> tops = loop->TopLevelWindows();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if (auto* found = dynamic_cast<T*>(*it); found && found->IsVisible())
            return found;
    return nullptr;
}
} // namespace

// The domestic indices: "大盘指数", then "国内指数".
ORB_TOUR_STEP(china_index) { return OpenMenuPath(tour, 3, 0); }

// The world indices: "大盘指数", then "全球指数".
ORB_TOUR_STEP(world_index) { return OpenMenuPath(tour, 3, 1); }

// The industry sectors: "板块行情", then "行业板块".
ORB_TOUR_STEP(board_list) { return OpenMenuPath(tour, 4, 0); }

// A news column: "资讯中心", then "财经要闻".
ORB_TOUR_STEP(info_list) { return OpenMenuPath(tour, 5, 0); }

// The first article of that column.
ORB_TOUR_STEP(info_article) {
    return OpenMenuPath(tour, 5, 0) && CDriverControls::TapListItem(tour.driver, COrbInfoListWnd::kListId, 0);
}

// One stock's information menu, as a person opens it: the company
// information button of the stock's minute chart.
ORB_TOUR_STEP(stock_info_menu) {
    return OpenChartOf(tour, "600010.02") && CDriverControls::PressBottomButton(tour.driver, 3);
}

// The branch directory: "资讯中心", then "澜屿证券营业部".
ORB_TOUR_STEP(branch_regions) { return OpenMenuPath(tour, 5, 3); }

// One province's departments: a tap on "江苏" on the region page.
ORB_TOUR_STEP(branch_info) {
    if (!OpenMenuPath(tour, 5, 3))
        return false;
    const std::optional<CRect> link = tour.driver.RunOnGui([]() -> std::optional<CRect> {
        CSalesDeptRegionWnd* page = ShownWindow<CSalesDeptRegionWnd>();
        if (!page)
            return std::nullopt;
        for (int i = 0; const CTextCtrl* text = page->GetText(i); ++i)
            if (text->GetText() == u"江苏")
                return text->GetScreenRect();
        return std::nullopt;
    });
    return link && tour.driver.Tap((link->left + link->right) / 2, (link->top + link->bottom) / 2);
}

// ---- The K-line chart ----

namespace {

// Friday 2026-12-04, 15:30 in China: the bars end on a fixed day.
constexpr int64_t kKLineClockMs = 1796369400000;

// The shown K-line window's handle (test thread), and its window (GUI thread).
HWND KLineHandle(CTourContext& tour) {
    for (const CWindowInfo& w : tour.driver.OpenWindows())
        if (w.depth == 0 && w.visible && w.className == "CKXFrame")
            return w.handle;
    return nullptr;
}

CKXFrame* KLineOf(HWND handle) { return dynamic_cast<CKXFrame*>(UiWin::FromHandle(handle)); }

// The watch list, then its K-line button: the first stock's day bars.
bool OpenKLine(CTourContext& tour) {
    tour.simulator.SetClock(kKLineClockMs);
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_OPEN_MENU_CHILD, 0, 0);
    });
    return posted && tour.driver.WaitForRest() &&
           CDriverControls::PressBottomButton(tour.driver, CMyStockWnd::kBarKLine) && KLineHandle(tour) != nullptr;
}

// The chooser from the chart menu: the indicator at techIndex and the
// period at periodIndex (−1 keeps one), then "确定".
bool ChooseKLine(CTourContext& tour, int techIndex, int periodIndex) {
    tour.driver.AnswerNext(ModalKind::PopupMenu, CKXFrame::kMenuParams);
    if (!CDriverControls::PressBottomButton(tour.driver, 0))
        return false;
    // The page scrolls to a list, as a finger would, before its row is tapped.
    const auto tap = [&](int listId, int index) {
        tour.driver.RunOnGui([listId] {
            UiWin* list = CDriverControls::FindShownControl(listId);
            if (auto* page = list ? dynamic_cast<UiScrollWin*>(list->GetParent()) : nullptr)
                page->EnsureVisible(list);
        });
        return tour.driver.WaitForRest() && CDriverControls::TapListItem(tour.driver, listId, index);
    };
    if (techIndex >= 0 && !tap(CKXParamWnd::kTechListId, techIndex))
        return false;
    if (periodIndex >= 0 && !tap(CKXParamWnd::kPeriodListId, periodIndex))
        return false;
    return CDriverControls::PressBottomButton(tour.driver, 0);
}

bool PinchKLine(CTourContext& tour, int code, int times) {
    for (int i = 0; i < times; ++i)
        if (!tour.driver.Pinch(code))
            return false;
    return tour.driver.WaitForRest();
}

} // namespace

// Day candles with MA5, MA10, MA30, volume and MACD.
ORB_TOUR_STEP(kline_candles_macd) { return OpenKLine(tour); }

// OHLC bars (two pinches out of three) with BOLL.
ORB_TOUR_STEP(kline_ohlc_boll) {
    return OpenKLine(tour) && PinchKLine(tour, GESTURE_PINCH_OUT, 3) && ChooseKLine(tour, 3, -1);
}

// The week's close line with SAR.
ORB_TOUR_STEP(kline_close_sar) {
    return OpenKLine(tour) && PinchKLine(tour, GESTURE_PINCH_OUT, 6) && ChooseKLine(tour, 8, 5);
}

// The screen turned: the strip becomes a column at the right.
ORB_TOUR_STEP(kline_landscape) {
    if (!OpenKLine(tour))
        return false;
    const HWND chart = KLineHandle(tour);
    bool turned = tour.driver.RunOnGui([chart] {
        CKXFrame* frame = KLineOf(chart);
        if (!frame)
            return false;
        UiMessageLoop::Current()->SetScreenMode(SCREEN_MODE_0);
        frame->ApplyScreenSettings();
        return true;
    });
    return turned && tour.driver.WaitForRest();
}

// The cursor on an older bar, its values in the strip and the legends.
ORB_TOUR_STEP(kline_cursor) {
    if (!OpenKLine(tour))
        return false;
    const HWND chart = KLineHandle(tour);
    const std::optional<CPoint> at = tour.driver.RunOnGui([chart]() -> std::optional<CPoint> {
        CKXFrame* frame = KLineOf(chart);
        CKXChartView* view = frame ? frame->GetView() : nullptr;
        if (!view)
            return std::nullopt;
        const CRect p = CChartWnd::ChartToClient(view->GetPanels().price);
        const CPoint o = frame->GetScreenRect().TopLeft();
        return CPoint{o.x + p.left + p.Width() * 2 / 3, o.y + p.top + p.Height() / 2};
    });
    return at && tour.driver.Tap(at->x, at->y) && tour.driver.WaitForRest();
}

// The chooser of indicator and period.
ORB_TOUR_STEP(kline_params) {
    if (!OpenKLine(tour))
        return false;
    tour.driver.AnswerNext(ModalKind::PopupMenu, CKXFrame::kMenuParams);
    return CDriverControls::PressBottomButton(tour.driver, 0) &&
           CDriverControls::TapListItem(tour.driver, CKXParamWnd::kTechListId, 1);
}

// ---- The phone tokens ----

namespace {
// This phone's registered number, the trade login, its token button, then
// the road: the risk notice, the usage text ticked, the application form
// with 王芳's account under "上海浦东南路证券营业部".
bool OpenTokenForm(CTourContext& tour) {
    const bool registered = tour.driver.RunOnGui([] {
        CAppData* app = CAppData::Instance();
        return app && CRegistry(app->MakeDataPath(CRegistry::kFileName).view())
                          .Write(CRegRecord::kKey, u"Focus", u"13800138000");
    });
    if (!registered || !OpenTradeLogin(tour) ||
        !CDriverControls::TapControl(tour.driver, COrbTradeLoginWnd::kTokenButtonId) ||
        !CDriverControls::PressBottomButton(tour.driver, CMobileDynCodeCtrWnd::kBarApply) ||
        !CDriverControls::PressBottomButton(tour.driver, CBaseWnd::kToolbarMiddle) ||
        !CDriverControls::TapControl(tour.driver, MobileDynCodeTxtWnd::kCheckId) ||
        !CDriverControls::PressBottomButton(tour.driver, CBaseWnd::kToolbarMiddle))
        return false;
    tour.driver.AnswerNext(ModalKind::Picker, 1);
    return CDriverControls::TapControl(tour.driver, CMobileDynCodeApplyWnd::kDeptPickerId) &&
           TypeInto(tour, CMobileDynCodeApplyWnd::kAccountId, u"56789") &&
           TypeInto(tour, CMobileDynCodeApplyWnd::kPasswordId, u"246810");
}
} // namespace

// The usage text on the road, "我已阅读此使用说明" ticked.
ORB_TOUR_STEP(dyncode_usage) {
    const bool registered = tour.driver.RunOnGui([] {
        CAppData* app = CAppData::Instance();
        return app && CRegistry(app->MakeDataPath(CRegistry::kFileName).view())
                          .Write(CRegRecord::kKey, u"Focus", u"13800138000");
    });
    return registered && OpenTradeLogin(tour) &&
           CDriverControls::TapControl(tour.driver, COrbTradeLoginWnd::kTokenButtonId) &&
           CDriverControls::PressBottomButton(tour.driver, CMobileDynCodeCtrWnd::kBarApply) &&
           CDriverControls::PressBottomButton(tour.driver, CBaseWnd::kToolbarMiddle) &&
           CDriverControls::TapControl(tour.driver, MobileDynCodeTxtWnd::kCheckId);
}

// The token application form, filled in.
ORB_TOUR_STEP(dyncode_apply) { return OpenTokenForm(tour); }

// The phone-token window after the application: the account and the tip.
ORB_TOUR_STEP(dyncode_manage) {
    if (!OpenTokenForm(tour))
        return false;
    tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
    return CDriverControls::PressBottomButton(tour.driver, CBaseWnd::kToolbarMiddle) && tour.driver.WaitForRest();
}

// ---- Trade menu, same-day tables and funds ----

namespace {
// 张伟 logged on through the login form, back at the main menu.
bool LogOnFirstCustomer(CTourContext& tour) {
    return OpenTradeLogin(tour) && LogOn(tour, u"12345", u"123456") && tour.driver.WaitForRest();
}

// Two buys sent from the confirmation page, as the order form hands them
// over: one below the market that rests, one at it that fills.
bool PlaceTwoOrders(CTourContext& tour) {
    const CPriceTypeItem limit(u"限价委托", "0B");
    const ConfirmEntry orders[] = {
        {u"600010", u"华岳银行", u"8.00", u"100", u"", "market=1&secuid=A100012345&fundid=000100012345"},
        {u"000016", u"平川银行", u"11.50", u"200", u"", "market=0&secuid=0100012345&fundid=000100012345"},
    };
    for (const ConfirmEntry& order : orders) {
        if (!OpenConfirmPage(tour, u"交易确认", ConfirmMode::Buy, order, &limit))
            return false;
        // The contract number, and the watch list's word on a bought stock.
        tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
        tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
        // The page's OK, as its toolbar's middle button gives it.
        tour.driver.Loop()->PostTask([] {
            for (UiWin* w = CDriverControls::FindShownControl(CTradeConfirmWnd::kLabelId); w; w = w->GetParent())
                if (auto* page = dynamic_cast<CTradeConfirmWnd*>(w)) {
                    page->OnOk();
                    return;
                }
        });
        if (!tour.driver.WaitForRest())
            return false;
    }
    return true;
}

// The main menu's "股票交易", then its row (none: the menu itself).
bool OpenTradeMenuRow(CTourContext& tour, int row) {
    if (!CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, 6))
        return false;
    return row < 0 || (CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, row) &&
                       tour.driver.WaitForRest());
}
} // namespace

// The trade menu after 张伟's login: his name and account in the header.
ORB_TOUR_STEP(trade_menu) { return LogOnFirstCustomer(tour) && OpenTradeMenuRow(tour, -1); }

// Today's orders after two buys: one resting, one filled.
ORB_TOUR_STEP(today_orders) {
    return LogOnFirstCustomer(tour) && PlaceTwoOrders(tour) && OpenTradeMenuRow(tour, 3);
}

// Today's deals: the filled buy.
ORB_TOUR_STEP(today_deals) {
    return LogOnFirstCustomer(tour) && PlaceTwoOrders(tour) && OpenTradeMenuRow(tour, 4);
}

// The funds of 张伟's three currencies, the yuan page shown.
ORB_TOUR_STEP(funds) { return LogOnFirstCustomer(tour) && OpenTradeMenuRow(tour, 7); }

// The cancel road: "撤单" on the trade menu lists the resting buy; a tap on
// it brings its cancel confirmation over the table.
ORB_TOUR_STEP(today_cancel) {
    if (!LogOnFirstCustomer(tour) || !PlaceTwoOrders(tour) || !OpenTradeMenuRow(tour, 2))
        return false;
    const std::optional<CRect> grid = CDriverControls::ControlScreenRect(tour.driver, CTableWnd::kGridId);
    const int h = CTradeQueryTableWnd::kRowHeight;
    return grid && tour.driver.Tap(grid->left + 60, grid->top + h + h / 2) && tour.driver.WaitForRest() &&
           tour.driver.RunOnGui([] { return CDriverControls::FindShownControl(CTradeConfirmWnd::kLabelId) != nullptr; });
}

namespace {
// The order form as a person reaches it: 张伟 logged in, a stock's minute
// chart, then "买入委托" or "卖出委托" from its menu.
bool OpenOrderForm(CTourContext& tour, int menuItem) {
    if (!OpenTradeLogin(tour) || !LogOn(tour, u"12345", u"123456") || !OpenChartOf(tour, "600010.02"))
        return false;
    tour.driver.AnswerNext(ModalKind::PopupMenu, menuItem);
    return CDriverControls::PressBottomButton(tour.driver, 0) &&
           tour.driver.RunOnGui([] { return CDriverControls::FindShownControl(CTradeBuySaleWnd::kCodeId) != nullptr; });
}
} // namespace

// The buy form of a Shanghai A share: the holder, name, price types,
// price and the maximum the server allows.
ORB_TOUR_STEP(order_buy) { return OpenOrderForm(tour, CFSFrame::kMenuBuy); }

// The sell form of a stock the customer holds, a quantity typed, the page
// slid down to the five-level panel.
ORB_TOUR_STEP(order_sell) {
    if (!OpenOrderForm(tour, CFSFrame::kMenuSell) || !TypeInto(tour, CTradeBuySaleWnd::kQuantityId, u"300"))
        return false;
    tour.driver.RunOnGui([] {
        UiWin* code = CDriverControls::FindShownControl(CTradeBuySaleWnd::kCodeId);
        if (auto* page = code ? dynamic_cast<UiScrollWin*>(code->GetParent()) : nullptr)
            page->SetScrollPos(page->GetMaxScroll());
    });
    return tour.driver.WaitForRest();
}

namespace {
// Logs 张伟 on and opens a trade menu node's window over the main menu, as
// the trade menu opens it.
bool OpenTradeNode(CTourContext& tour, const char* keyword, int menuId, const char16_t* title, const char* request) {
    FixChartDay(tour);
    if (!OpenTradeLogin(tour) || !LogOn(tour, u"12345", u"123456"))
        return false;
    CBaseWnd* main = tour.driver.RunOnGui([&] { return tour.app.GetMainWindow(); });
    if (!main)
        return false;
    const std::string key = keyword, text = request;
    tour.driver.Loop()->PostTask([main, key, menuId, title, text] {
        CWndManager::Instance().CreateWnd(key.c_str(), menuId, title, "", text.c_str(), 0, main);
    });
    return tour.driver.WaitForRest();
}
} // namespace

// The past orders of the default 30 days up to the program's day, first
// page: the simulator's market stands on that day, after the close.
ORB_TOUR_STEP(history_query) {
    if (!OpenTradeNode(tour, "hisquery", 74, u"历史委托", "tc_mfuncno=500&tc_sfuncno=20"))
        return false;
    tour.simulator.SetClock(int64_t{1710315000} * 1000); // 13 March 2024, 15:30 in Beijing
    return CDriverControls::PressBottomButton(tour.driver, CBaseWnd::kToolbarMiddle);
}

// The past deals as they open: the date row of the default 30 days up to
// the program's day, nothing asked yet.
ORB_TOUR_STEP(history_dates) {
    return OpenTradeNode(tour, "hisquery", 75, u"历史成交", "tc_mfuncno=500&tc_sfuncno=21");
}

// The password form with the three passwords typed (shown masked).
ORB_TOUR_STEP(password_change) {
    return OpenTradeNode(tour, "xgmm", 77, u"修改密码", "tc_mfuncno=500&tc_sfuncno=13&") &&
           TypeInto(tour, CTradePasswordWnd::kOldId, u"123456") && TypeInto(tour, CTradePasswordWnd::kNewId, u"654321") &&
           TypeInto(tour, CTradePasswordWnd::kConfirmId, u"65432");
}

// The warrant form after the pre-check of 582010, a quantity typed.
ORB_TOUR_STEP(warrant_exercise) {
    return OpenTradeNode(tour, "qzxq", 78, u"权证行权", "") &&
           TypeInto(tour, CWarrantWnd::kCodeId, u"582010") && tour.driver.WaitForRest() &&
           TypeInto(tour, CWarrantWnd::kQuantityId, u"1000");
}
