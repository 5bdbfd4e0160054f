// Headless presenting and waiting (see the header).
#include "platform/testing/CHeadlessHost.h"

#include "platform/gdi/CSurface.h"

#include <chrono>
#include <filesystem>

void CHeadlessHost::Present(const CSurface&) { ++m_presents; }

void CHeadlessHost::WaitForEvents(int timeoutMs) {
    std::unique_lock<std::mutex> guard(m_lock);
    if (timeoutMs < 0)
        m_wake.wait(guard, [this] { return m_woken; });
    else
        m_wake.wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] { return m_woken; });
    m_woken = false;
}

void CHeadlessHost::Wake() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_woken = true;
    }
    m_wake.notify_all();
}

bool CHeadlessHost::WriteScreen(const std::string& dir, const std::string& name) {
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (!loop || !loop->IsGuiThread())
        return false;
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        return false;
    loop->PaintNow();
    return loop->Screen().SavePng((std::filesystem::path(dir) / (name + ".png")).string());
}
