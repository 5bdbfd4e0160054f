// The roads that the tour's steps of several groups share.
#include "tools/orbstock/TourHelpers.h"

#include "framework/shell/COrbApp.h"
#include "framework/ui/CBaseWnd.h"
#include "framework/ui/COrbMenuWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "platform/ui/CModalScript.h"
#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/SimMarketDay.h"
#include "trade/login/COrbTradeLoginWnd.h"
#include "trade/login/CSalesDeptSetWnd.h"
#include "trade/orders/CTradeConfirmWnd.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

bool PostToMainMenu(CTourContext& tour, UINT msg, WPARAM wParam, LPARAM lParam) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(msg, wParam, lParam);
    });
    return posted && tour.driver.WaitForRest();
}

bool OpenMainMenuChild(CTourContext& tour, int index) {
    return PostToMainMenu(tour, WND_MSG_OPEN_MENU_CHILD, 0, index);
}

bool OpenMenuPath(CTourContext& tour, int mainRow, int childRow) {
    return CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, mainRow) &&
           CDriverControls::TapListItem(tour.driver, COrbMenuWnd::kListId, childRow);
}

bool TypeInto(CTourContext& tour, int id, std::u16string_view text) {
    return CDriverControls::TapControl(tour.driver, id) && tour.driver.TypeText(text);
}

void FixChartDay(CTourContext& tour, int hour, int minute) {
    tour.simulator.SetClock(SimChinaMs(2026, 12, 4, hour, minute));
}

bool OpenChartOf(CTourContext& tour, const char* key, int hour, int minute) {
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

HWND ShownWindow(CTourContext& tour, const char* className) {
    for (const CWindowInfo& w : tour.driver.OpenWindows())
        if (w.depth == 0 && w.visible && w.className == className)
            return w.handle;
    return nullptr;
}

namespace {
// A first trade button with no department: the notice, then the department
// window, where the user adds the first department of the broker's list
// and the one of code 0003, and saves.
bool SetUpDepartments(CTourContext& tour) {
    tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
    if (!PostToMainMenu(tour, WND_MSG_CAPTION_TRADE) ||
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
} // namespace

bool OpenTradeLogin(CTourContext& tour) {
    return SetUpDepartments(tour) && PostToMainMenu(tour, WND_MSG_CAPTION_TRADE);
}

bool LogOn(CTourContext& tour, std::u16string_view account, std::u16string_view password,
           std::u16string_view passPhrase) {
    if (!TypeInto(tour, COrbTradeLoginWnd::kAccountId, account) ||
        !TypeInto(tour, COrbTradeLoginWnd::kPasswordId, password) ||
        (!passPhrase.empty() && !TypeInto(tour, COrbTradeLoginWnd::kPassPhraseId, passPhrase)))
        return false;
    tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
    return CDriverControls::PressBottomButton(tour.driver, CBaseWnd::kToolbarMiddle);
}

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
