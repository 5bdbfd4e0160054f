// What the tour's steps of several groups drive through: the main menu,
// the minute chart, the trade login and the confirmation page. Each waits
// for the loop's rest and returns false when a part of the road failed.
#pragma once

#include "platform/Geometry.h"
#include "platform/win/Message.h"
#include "platform/testing/ShownWindow.h"
#include "platform/win/UiMessageLoop.h"
#include "platform/win/UiWin.h"
#include "tools/orbstock/Tour.h"
#include "trade/orders/OrderRequests.h"

#include <string_view>
#include <vector>

class CPriceTypeItem;

// Posts msg to the main menu, as its caption bar or a row does, and waits.
bool PostToMainMenu(CTourContext& tour, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

// Opens the main menu's child at index (0 "自选股", 1 "沪深排名", ...).
bool OpenMainMenuChild(CTourContext& tour, int index);

// Taps a main-menu row, then a row of the menu it opens.
bool OpenMenuPath(CTourContext& tour, int mainRow, int childRow);

// Taps the control and types text into it.
bool TypeInto(CTourContext& tour, int id, std::u16string_view text);

// The simulator's day for the chart screens: a Friday after the close, so
// every chart shows its whole day.
void FixChartDay(CTourContext& tour, int hour = 15, int minute = 30);

// Opens the minute chart of key from the main menu, as a chosen search
// result does, and waits for its reply.
bool OpenChartOf(CTourContext& tour, const char* key, int hour = 15, int minute = 30);

// The handle of the shown top-level window of a class, or null (test thread).
HWND ShownWindow(CTourContext& tour, const char* className);

// The shown window of class T, the topmost first; GUI thread.
template <class T>
T* ShownWindow() {
    return ShownTopWindow<T>();
}

// The login form from the main menu's caption bar, departments set up.
bool OpenTradeLogin(CTourContext& tour);

// Logs the customer on from the form on top and takes the success notice.
bool LogOn(CTourContext& tour, std::u16string_view account, std::u16string_view password,
           std::u16string_view passPhrase = {});

// Opens a confirmation page over the main menu, as the order form or the
// same-day table hands it over, and waits until it shows.
bool OpenConfirmPage(CTourContext& tour, const char16_t* title, ConfirmMode mode, const ConfirmEntry& entry,
                     const CPriceTypeItem* type);
