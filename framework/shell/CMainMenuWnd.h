// The main window: the menu window over the menu tree's root, shown over
// the work area for the program's whole run and never run modally. Every
// way a window closes itself (the caption's back button, a close message,
// the bottom bar's "首页" and "返回") becomes the application object's exit
// question instead; a swipe to the right does nothing. A child that closes
// with code 0 unwinds the chain down to here and stops, since this window
// never runs modally.
#pragma once

#include "framework/ui/COrbMenuWnd.h"

class CMainMenuWnd : public COrbMenuWnd {
public:
    CMainMenuWnd();
    ~CMainMenuWnd() override;
    const char* GetClassName() const override { return "CMainMenuWnd"; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnToolbarCommand(int index) override;
    bool IgnoresBackSwipe() const override { return true; }

private:
    void AskExit();
};
