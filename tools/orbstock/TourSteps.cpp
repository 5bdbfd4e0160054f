// The screens of the screenshot tour, in order; each step starts at the
// main menu after the start-up against the embedded simulator, except the
// start-up's own screens.
#include "framework/app/CAppData.h"
#include "framework/app/CMenuNode.h"
#include "framework/app/CMenuTree.h"
#include "framework/shell/COrbApp.h"
#include "framework/app/CStartupWnd.h"
#include "framework/ui/CBaseWnd.h"
#include "framework/ui/COrbMenuWnd.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/WndMessages.h"
#include "framework/ui/widgets/CTextCtrl.h"
#include "platform/Clock.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/info/COrbInfoListWnd.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/CMyStockWnd.h"
#include "quotes/tables/COrbStockTableWnd.h"
#include "tools/orbstock/Tour.h"
#include "trade/login/CSalesDeptRegionWnd.h"

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

// One stock's information menu, as the detail page opens it: the "F10"
// node with the stock's code and name.
ORB_TOUR_STEP(stock_info_menu) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        CMenuTree* tree = CAppData::Instance() ? CAppData::Instance()->GetMenuTree() : nullptr;
        if (!main || !tree)
            return false;
        for (CMenuNode* node = tree->GetRoot() ? tree->GetRoot()->firstChild : nullptr; node;
             node = node->nextSibling) {
            if (node->keyword.EqualsNoCaseStr(kStockInfoKeyword)) {
                const int id = node->id;
                // Posted, so the run starts from the loop as a tap's would.
                UiMessageLoop::Current()->PostTask([id, main] {
                    CBaseWnd::GetWndManager().CreateWnd(kStockInfoKeyword, id, u"华岳银行", "600010", "", 0, main);
                });
                return true;
            }
        }
        return false;
    });
    return posted && tour.driver.WaitForRest();
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
