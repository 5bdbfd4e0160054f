// The window manager: opens windows by keyword. Each subsystem registers
// its window classes at start-up (RegisterWindow: a keyword or a class
// name and a factory); CreateWnd makes the window of a keyword over the
// work area with the caller as parent, hands it its texts and runs it
// modally. Keywords and class names share one table, compared ignoring
// case; a name without a class opens nothing.
//
// Ownership (see CBaseWnd.h): CreateWnd owns the window it makes and
// deletes it when the modal run returns, so its result reports what ran,
// never a window to keep.
//
// GUI thread only.
#pragma once

#include "core/CAString.h"
#include "framework/ui/IWindowOpener.h"
#include "platform/Geometry.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

class CBaseWnd;
class UiEdit;
class UiWin;

class CWndManager : public IWindowOpener {
public:
    using Factory = std::function<std::unique_ptr<CBaseWnd>(const CWndCreateInfo&)>;

    // The one manager; made on first use, when it installs itself as the
    // windows' opener.
    static CWndManager& Instance();

    // Registers (or replaces) the class of a keyword or class name; a null
    // factory removes it.
    void RegisterWindow(std::string_view keyword, Factory factory);
    bool IsRegistered(std::string_view keyword) const override;
    // A new window of the keyword's class, not yet created on screen; null
    // for a keyword without a class.
    std::unique_ptr<CBaseWnd> MakeWindow(std::string_view keyword, const CWndCreateInfo& info = {}) override;

    // Opens the window of keyword with parent over the work area, titled
    // title, hands it (menu id, param, request) and runs it modally with
    // the show animation; deletes it when the run returns. A keyword with
    // an action (RegisterAction) runs it and opens nothing. Not opened for
    // a keyword without a class or a window that cannot be created.
    COpenResult CreateWnd(const char* keyword, int menuId, const char16_t* title, const char* param,
                          const char* request, int flag, UiWin* parent) override;
    // Registers (or, null, removes) what a keyword does instead of opening
    // a window ("tradeexit" logs the trade accounts out).
    void RegisterAction(std::string_view keyword, std::function<void()> action);
    // Runs an already made window the same way (the window is deleted
    // when the run returns) with show and hide animations.
    COpenResult RunWindow(std::unique_ptr<CBaseWnd> window, int menuId, const char16_t* title,
                          const char* param, const char* request, UiWin* parent,
                          int showAnimation = 0, int hideAnimation = 0) override;

    // The screen below the task bar.
    CRect GetWorkRect() const override;
    // A modal numeric keypad over parent typing into edit, prompt above
    // the keys; returns the keypad's close code (1 for OK).
    int ShowDigitInput(UiEdit* edit, const char16_t* prompt, UiWin* parent) override;

    void SetChartMode(unsigned char mode) override { m_chartMode = mode; }
    unsigned char GetChartMode() const override { return m_chartMode; }

    // Forgets every registration and action and the chart mode (tests).
    void Reset();

private:
    CWndManager();
    static std::string Lower(std::string_view text);

    std::map<std::string, Factory> m_factories; // by lower-case keyword
    std::map<std::string, std::function<void()>> m_actions; // by lower-case keyword
    unsigned char m_chartMode = 0;
};
