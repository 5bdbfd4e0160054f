// What a window needs of the window manager, which lives in the layer above
// (framework/shell): making and running windows by keyword. The manager
// installs itself as the opener when it is first made; until one is
// installed nothing opens (every call reports that no window ran).
//
// GUI thread only.
#pragma once

#include "platform/Geometry.h"

#include <memory>
#include <string>
#include <string_view>

class CBaseWnd;
class UiEdit;
class UiWin;

// What a factory is told about the window it makes.
struct CWndCreateInfo {
    std::string keyword;  // as registered (lower case)
    int flag = 0;         // CreateWnd's flag: a mode of the window class
    int notifyValue = -1; // the caller's notify value (trade login)
    UiWin* owner = nullptr;
};

// What CreateWnd did: whether a window ran, and its close code.
struct COpenResult {
    bool opened = false;
    int closeCode = -1;
    explicit operator bool() const { return opened; }
};

class IWindowOpener {
public:
    // Window modes passed as the flag.
    static constexpr int kFlagSearchMode = 1;   // the watch-list editor as stock search
    static constexpr int kFlagLoggedInMode = 1; // the account list of the logged-in accounts

    virtual ~IWindowOpener() = default;

    // A new window of the keyword's class, not yet created on screen; null
    // for a keyword without a class.
    virtual std::unique_ptr<CBaseWnd> MakeWindow(std::string_view keyword, const CWndCreateInfo& info) = 0;
    // True when keyword has a window class (a screen this build has).
    virtual bool IsRegistered(std::string_view keyword) const = 0;
    // Opens the window of keyword with parent over the work area, titled
    // title, hands it (menu id, param, request) and runs it modally; deletes
    // it when the run returns.
    virtual COpenResult CreateWnd(const char* keyword, int menuId, const char16_t* title, const char* param,
                                  const char* request, int flag, UiWin* parent) = 0;
    // Runs an already made window the same way, with show and hide animations.
    virtual COpenResult RunWindow(std::unique_ptr<CBaseWnd> window, int menuId, const char16_t* title,
                                  const char* param, const char* request, UiWin* parent, int showAnimation = 0,
                                  int hideAnimation = 0) = 0;
    // The screen below the task bar.
    virtual CRect GetWorkRect() const = 0;
    // A modal numeric keypad over parent typing into edit; its close code.
    virtual int ShowDigitInput(UiEdit* edit, const char16_t* prompt, UiWin* parent) = 0;
    // A process-wide byte the charts keep.
    virtual void SetChartMode(unsigned char mode) = 0;
    virtual unsigned char GetChartMode() const = 0;
};

// The installed opener, or one that opens nothing.
IWindowOpener& GetWindowOpener();
// Installs opener (not owned; null: back to opening nothing).
void SetWindowOpener(IWindowOpener* opener);
