// The main window (see the header).
#include "framework/shell/CMainMenuWnd.h"

#include "framework/shell/COrbApp.h"
#include "framework/ui/WndMessages.h"

CMainMenuWnd::CMainMenuWnd() = default;

CMainMenuWnd::~CMainMenuWnd() { Destroy(); }

LRESULT CMainMenuWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WND_MSG_CLOSE:
    case WND_MSG_CAPTION_BACK:
        AskExit();
        return 0;
    default:
        return COrbMenuWnd::OnMessage(msg, wParam, lParam);
    }
}

void CMainMenuWnd::OnToolbarCommand(int index) {
    if (index == kToolbarLeft || index == kToolbarRight)
        AskExit();
    else
        COrbMenuWnd::OnToolbarCommand(index);
}

void CMainMenuWnd::AskExit() {
    if (COrbApp* app = COrbApp::Instance())
        app->ConfirmExit(this);
}
