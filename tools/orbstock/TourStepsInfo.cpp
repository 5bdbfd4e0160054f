// The tour's detail and information pages: a stock's and an index's
// detail quote, the deal details, the news, a stock's information menu
// and the branch directory.
#include "framework/ui/widgets/CTextCtrl.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "platform/ui/CModalScript.h"
#include "quotes/charts/CFSFrame.h"
#include "quotes/info/COrbInfoListWnd.h"
#include "quotes/tables/COrbTableWnd.h"
#include "tools/orbstock/TourHelpers.h"
#include "trade/login/CSalesDeptRegionWnd.h"

#include <optional>

// ---- The detail quote and the deal details ----

namespace {
// Opens a table of the main menu (child index), selects its first row and
// chooses "详细报价" from the option menu, as a person reaches the detail page.
bool OpenDetailFromTable(CTourContext& tour, int child) {
    if (!OpenMainMenuChild(tour, child) || !CDriverControls::TapListItem(tour.driver, COrbTableWnd::kRowListId, 0))
        return false;
    tour.driver.AnswerNext(ModalKind::PopupMenu, COrbTableWnd::kMenuDetail);
    return CDriverControls::PressBottomButton(tour.driver, COrbTableWnd::kBarOptions);
}
} // namespace

// The detail page of the ranking's first stock: its figures and the book.
ORB_TOUR_STEP(stock_detail, 280) { return OpenDetailFromTable(tour, 1); }

// The detail page of the watch list's first row, an index: six rows.
ORB_TOUR_STEP(index_detail, 290) { return OpenDetailFromTable(tour, 0); }

// The deal details, chosen from a stock's minute chart.
ORB_TOUR_STEP(deal_details, 300) {
    if (!OpenChartOf(tour, "600010.02"))
        return false;
    tour.driver.AnswerNext(ModalKind::PopupMenu, CFSFrame::kMenuDeals);
    return CDriverControls::PressBottomButton(tour.driver, 0);
}

// ---- News, company information and the branch directory ----

// A news column: "资讯中心", then "财经要闻".
ORB_TOUR_STEP(info_list, 370) { return OpenMenuPath(tour, 5, 0); }

// The first article of that column.
ORB_TOUR_STEP(info_article, 380) {
    return OpenMenuPath(tour, 5, 0) && CDriverControls::TapListItem(tour.driver, COrbInfoListWnd::kListId, 0);
}

// One stock's information menu, as a person opens it: the company
// information button of the stock's minute chart.
ORB_TOUR_STEP(stock_info_menu, 390) {
    return OpenChartOf(tour, "600010.02") && CDriverControls::PressBottomButton(tour.driver, 3);
}

// The branch directory: "资讯中心", then "澜屿证券营业部".
ORB_TOUR_STEP(branch_regions, 400) { return OpenMenuPath(tour, 5, 3); }

// One province's departments: a tap on "江苏" on the region page.
ORB_TOUR_STEP(branch_info, 410) {
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
