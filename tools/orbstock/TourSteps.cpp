// The screens of the screenshot tour, in order; each step starts at the
// main menu after the start-up against the embedded simulator, except the
// start-up's own screens.
#include "framework/shell/COrbApp.h"
#include "framework/app/CStartupWnd.h"
#include "framework/ui/CBaseWnd.h"
#include "framework/ui/COrbMenuWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/Clock.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/CMyStockWnd.h"
#include "quotes/tables/COrbStockTableWnd.h"
#include "platform/ui/UiScrollWin.h"
#include "platform/win/UiGesture.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/charts/CKXChartView.h"
#include "quotes/charts/CKXFrame.h"
#include "quotes/charts/CKXParamWnd.h"
#include "tools/simulator/CBrokerSimulator.h"

#include <optional>
#include "tools/orbstock/Tour.h"

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
