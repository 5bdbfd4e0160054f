// The start-up screen: what the window shows while the start-up logon runs,
// so that a slow or silent server leaves something to look at and a way
// out instead of a black window. The program's name, "正在连接服务器，请稍候...",
// a progress line that moves every 100 ms and a "取消" button.
//
// A tap on "取消" runs the cancel handler once, posted to the loop, so the
// handler may delete this window.
//
// GUI thread only.
#pragma once

#include "platform/ui/CUiWnd.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiProgressBar.h"
#include "platform/ui/UiStatic.h"

#include <functional>
#include <memory>

class CStartupWnd : public CUiWnd {
public:
    static constexpr int kTitleId = 190;
    static constexpr int kTextId = 191;
    static constexpr int kProgressId = 192;
    static constexpr int kCancelId = 193;
    static constexpr UINT kStepTimer = 1;
    static constexpr int kStepIntervalMs = 100;
    static constexpr int kSteps = 20; // positions of one sweep of the line
    static constexpr const char16_t* kConnectingText = u"正在连接服务器，请稍候...";

    explicit CStartupWnd(std::function<void()> onCancel);
    ~CStartupWnd() override;
    const char* GetClassName() const override { return "CStartupWnd"; }

    // Creates the screen at rect (screen pixels), shown on top, with the
    // line running. False when a control cannot be made.
    bool Open(const CRect& rect);

    int GetProgressPos() const { return m_progress.GetPos(); }
    // The cancel button's centre in screen pixels, for a finger.
    CPoint GetCancelPoint() const;

    void OnTimer(UINT id) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSize(int width, int height) override;

private:
    void Layout();

    std::function<void()> m_onCancel;
    UiStatic m_title;
    UiStatic m_text;
    UiProgressBar m_progress;
    UiButton m_cancel;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true); // the posted cancel checks this window lives
};
