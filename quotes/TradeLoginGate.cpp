#include "quotes/TradeLoginGate.h"

#include "framework/app/CAppData.h"

bool TradeLoggedInOrAsk(UiWin* parent) {
    CAppData* app = CAppData::Instance();
    if (!app)
        return false;
    if (!app->HasHolderData()) {
        app->CheckTradeLogin(parent, -1, false);
        return false;
    }
    return true;
}
