// The host without a display: presenting counts frames, waiting sleeps on a
// condition until woken or timed out. Every test runs on it, and so does
// the screenshot tour, which writes the painted screen to PNG files.
#pragma once

#include "platform/win/UiMessageLoop.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

class CHeadlessHost : public IUiHost {
public:
    void Present(const CSurface& screen) override;
    void WaitForEvents(int timeoutMs) override;
    void Wake() override;

    int PresentCount() const { return m_presents; }

    // GUI thread: paints the current screen and writes it to
    // <dir>/<name>.png, creating dir. False without a loop or on a write error.
    static bool WriteScreen(const std::string& dir, const std::string& name);

private:
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_woken = false;
    std::atomic<int> m_presents{0};
};
