// The tour's charts: the minute chart (its days, the turned screen, the
// cursor, the side panel's pages, an information mark) and the K-line
// chart (its kinds of bars, indicators, cursor and chooser).
#include "framework/shell/COrbApp.h"
#include "framework/ui/CBaseWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/UiScrollWin.h"
#include "platform/win/UiGesture.h"
#include "quotes/charts/CFSChartView.h"
#include "quotes/charts/CFSFrame.h"
#include "quotes/charts/CKXChartView.h"
#include "quotes/charts/CKXFrame.h"
#include "quotes/charts/CKXParamWnd.h"
#include "quotes/tables/CMyStockWnd.h"
#include "quotes/tables/COrbTableWnd.h"
#include "tools/orbstock/TourHelpers.h"
#include "tools/simulator/CBrokerSimulator.h"

#include <cstdint>
#include <functional>
#include <optional>

// ---- The minute chart ----

namespace {

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

// Opens the minute chart of 600010 and taps its grid at where(grid), a
// point of the view (picture coordinates).
bool TapChartGrid(CTourContext& tour, const std::function<CPoint(const CRect& grid)>& where) {
    if (!OpenChartOf(tour, "600010.02"))
        return false;
    const std::optional<CFSLayout> layout = ChartLayout(tour);
    if (!layout)
        return false;
    const CPoint point = where(layout->grid);
    const std::optional<CPoint> at = ChartPoint(tour, point.x, point.y);
    return at && tour.driver.Tap(at->x, at->y) && tour.driver.WaitForRest();
}

// Turns the screen of the shown chart of a class to landscape.
bool TurnChart(CTourContext& tour, const char* className) {
    const HWND chart = ShownWindow(tour, className);
    bool turned = tour.driver.RunOnGui([chart] {
        auto* frame = dynamic_cast<CChartWnd*>(UiWin::FromHandle(chart));
        if (!frame)
            return false;
        UiMessageLoop::Current()->SetScreenMode(SCREEN_MODE_0);
        frame->ApplyScreenSettings();
        return true;
    });
    return turned && tour.driver.WaitForRest();
}

} // namespace

// A rising stock's day, reached from the ranking's first row.
ORB_TOUR_STEP(minute_chart, 90) {
    FixChartDay(tour);
    return OpenMainMenuChild(tour, 1) &&
           CDriverControls::TapListItem(tour.driver, COrbTableWnd::kRowListId, 0) &&
           CDriverControls::TapListItem(tour.driver, COrbTableWnd::kRowListId, 0) &&
           ShownWindow(tour, "CFSFrame") != nullptr;
}

// A falling stock's day.
ORB_TOUR_STEP(minute_chart_falling, 100) { return OpenChartOf(tour, "300147.01"); }

// A stock with information marks, the screen turned.
ORB_TOUR_STEP(minute_chart_landscape, 110) { return OpenChartOf(tour, "600010.02") && TurnChart(tour, "CFSFrame"); }

// The Shanghai index with its second line overlaid.
ORB_TOUR_STEP(minute_chart_overlay, 120) { return OpenChartOf(tour, "000001.02"); }

// The cursor read-out at a point of the afternoon.
ORB_TOUR_STEP(minute_chart_cursor, 130) {
    return TapChartGrid(tour, [](const CRect& grid) {
        return CPoint{grid.left + grid.Width() * 3 / 4, grid.top + grid.Height() / 2};
    });
}

// The side panel's four pages: quote, more figures, levels 1 to 3, levels 4 and 5.
ORB_TOUR_STEP(minute_chart_panel_1, 140) { return OpenChartOf(tour, "600010.02"); }
ORB_TOUR_STEP(minute_chart_panel_2, 150) { return OpenChartOf(tour, "600010.02") && TurnPanel(tour, 1); }
ORB_TOUR_STEP(minute_chart_panel_3, 160) { return OpenChartOf(tour, "600010.02") && TurnPanel(tour, 2); }
ORB_TOUR_STEP(minute_chart_panel_4, 170) { return OpenChartOf(tour, "600010.02") && TurnPanel(tour, 3); }

// The information page of the two marks at 10:32, tapped on the chart.
ORB_TOUR_STEP(info_mine, 180) {
    return TapChartGrid(tour,
                        [](const CRect& grid) {
                            return CPoint{ChartSlotX(grid.left, grid.Width(), kFSSlots, FSMarkSlot(633)), grid.top + 5};
                        }) &&
           ShownWindow(tour, "CInfoMineTxtWnd") != nullptr;
}

// A stock that has not traded today: a scale around its previous close.
ORB_TOUR_STEP(minute_chart_untraded, 190) { return OpenChartOf(tour, "600372.02"); }

// Before the opening (09:00 of the chart's day): no point yet, no price 0.
ORB_TOUR_STEP(minute_chart_preopen, 200) { return OpenChartOf(tour, "600010.02", 9, 0); }

// The Hang Seng index turned: its five-digit labels whole in the column.
ORB_TOUR_STEP(minute_chart_hsi_landscape, 210) { return OpenChartOf(tour, "100100.03") && TurnChart(tour, "CFSFrame"); }

// ---- The K-line chart ----

namespace {

// Friday 2026-12-04, 15:30 in China: the bars end on a fixed day.
constexpr int64_t kKLineClockMs = 1796369400000;

// The shown K-line window's handle (test thread), and its window (GUI thread).
HWND KLineHandle(CTourContext& tour) { return ShownWindow(tour, "CKXFrame"); }

CKXFrame* KLineOf(HWND handle) { return dynamic_cast<CKXFrame*>(UiWin::FromHandle(handle)); }

// The watch list, then its K-line button: the first stock's day bars.
bool OpenKLine(CTourContext& tour) {
    tour.simulator.SetClock(kKLineClockMs);
    return OpenMainMenuChild(tour, 0) &&
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
ORB_TOUR_STEP(kline_candles_macd, 420) { return OpenKLine(tour); }

// OHLC bars (two pinches out of three) with BOLL.
ORB_TOUR_STEP(kline_ohlc_boll, 430) {
    return OpenKLine(tour) && PinchKLine(tour, GESTURE_PINCH_OUT, 3) && ChooseKLine(tour, 3, -1);
}

// The week's close line with SAR.
ORB_TOUR_STEP(kline_close_sar, 440) {
    return OpenKLine(tour) && PinchKLine(tour, GESTURE_PINCH_OUT, 6) && ChooseKLine(tour, 8, 5);
}

// The screen turned: the strip becomes a column at the right.
ORB_TOUR_STEP(kline_landscape, 450) { return OpenKLine(tour) && TurnChart(tour, "CKXFrame"); }

// The cursor on an older bar, its values in the strip and the legends.
ORB_TOUR_STEP(kline_cursor, 460) {
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
ORB_TOUR_STEP(kline_params, 470) {
    if (!OpenKLine(tour))
        return false;
    tour.driver.AnswerNext(ModalKind::PopupMenu, CKXFrame::kMenuParams);
    return CDriverControls::PressBottomButton(tour.driver, 0) &&
           CDriverControls::TapListItem(tour.driver, CKXParamWnd::kTechListId, 1);
}
