// The tour's quote tables: the watch list and its editor, the ranking and
// its sort form, a sector's stocks, the indices and the sector lists.
#include "framework/ui/COrbMenuWnd.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "platform/ui/CModalScript.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/CMyStockWnd.h"
#include "quotes/tables/COrbStockTableWnd.h"
#include "tools/orbstock/TourHelpers.h"

// The watch list: the main menu's first child ("自选股") over the stored list.
ORB_TOUR_STEP(watch_list, 40) { return OpenMainMenuChild(tour, 0); }

// The watch-list editor over the watch list, two stocks checked.
ORB_TOUR_STEP(watch_list_editor, 50) {
    return OpenMainMenuChild(tour, 0) &&
           CDriverControls::PressBottomButton(tour.driver, CMyStockWnd::kBarEditor) &&
           CDriverControls::TapListItem(tour.driver, CEditMyStockWnd::kListId, 1) &&
           CDriverControls::TapListItem(tour.driver, CEditMyStockWnd::kListId, 2);
}

// The stock ranking: the main menu's second child ("沪深排名").
ORB_TOUR_STEP(ranking_table, 60) { return OpenMainMenuChild(tour, 1); }

// One sector's stocks, reached as a person gets there: "板块行情" on the
// main menu, then the sector "人工智能".
ORB_TOUR_STEP(sector_table, 70) {
    return CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, 4) &&
           CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, 3);
}

// The ranking's sort form, chosen from the ranking table's option menu.
ORB_TOUR_STEP(sort_form, 80) {
    if (!OpenMainMenuChild(tour, 1))
        return false;
    tour.driver.AnswerNext(ModalKind::PopupMenu, COrbStockTableWnd::kMenuSortParams);
    return CDriverControls::PressBottomButton(tour.driver, COrbTableWnd::kBarOptions);
}

// The domestic indices: "大盘指数", then "国内指数".
ORB_TOUR_STEP(china_index, 340) { return OpenMenuPath(tour, 3, 0); }

// The world indices: "大盘指数", then "全球指数".
ORB_TOUR_STEP(world_index, 350) { return OpenMenuPath(tour, 3, 1); }

// The industry sectors: "板块行情", then "行业板块".
ORB_TOUR_STEP(board_list, 360) { return OpenMenuPath(tour, 4, 0); }
