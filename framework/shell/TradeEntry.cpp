// The trade entry point of the application state: which trade window the
// user meets first. The trade windows register their classes with the
// window manager; until they do, this runs nothing. The window manager
// installs this road into the application state when it is made.
#include "framework/shell/TradeEntry.h"

#include "framework/app/CAppData.h"

#include "framework/app/SalesDeptCheck.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/CBaseWnd.h"
#include "framework/ui/WindowKeywords.h"
#include "platform/ui/CUiMessageBox.h"
#include "platform/win/UiWin.h"

namespace {
// The close code for "no window ran".
constexpr int kNothingDone = -1;
} // namespace

int RunTradeEntry(CAppData& app, UiWin* parent, int notifyValue, bool newLogin) {
    CWndManager& manager = CWndManager::Instance();
    CWndCreateInfo info;
    info.owner = parent;
    const char* className = nullptr;
    const char16_t* title = nullptr;
    if (!IsSalesDeptConfiged(app)) {
        UiMessageBox(parent, u"请先设置好营业部（之后也可以在“软件设置”中添加和删除营业部）", u"提示", MB_OK);
        className = kSalesDeptClass;
        title = u"营业部设置";
    } else if (newLogin) {
        // A new login from the account list reports to nobody: its caller
        // reads the close code.
        className = kTradeLoginClass;
        title = u"交易登录";
    } else if (app.HasHolderData()) {
        className = kTradeAccountsClass;
        title = u"已登录账号";
        info.flag = CWndManager::kFlagLoggedInMode;
    } else {
        // The login window takes the notify value from the info
        // (SetNotifyParam) when its factory makes it.
        className = kTradeLoginClass;
        title = u"交易登录";
        info.notifyValue = notifyValue;
    }
    std::unique_ptr<CBaseWnd> window = manager.MakeWindow(className, info);
    if (!window)
        return kNothingDone;
    const COpenResult result =
        manager.RunWindow(std::move(window), -1, title, nullptr, nullptr, parent, ANIM_PAGE_IN, ANIM_PAGE_OUT);
    return result ? result.closeCode : kNothingDone;
}
