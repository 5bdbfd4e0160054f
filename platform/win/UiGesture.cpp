// Gesture registration and tap-and-hold recognition (see the header).
#include "platform/win/UiGesture.h"

#include "platform/Clock.h"
#include "platform/win/UiMessageLoop.h"
#include "platform/win/UiWin.h"

#include <algorithm>
#include <atomic>
#include <mutex>

namespace {
std::mutex g_lock;
std::vector<HWND> g_registered; // oldest first
std::atomic<bool> g_fails{false};
} // namespace

bool UiGesture::RegisterGestures(HWND window) {
    if (g_fails || !UiWin::IsWindow(window))
        return false;
    std::lock_guard<std::mutex> guard(g_lock);
    if (std::find(g_registered.begin(), g_registered.end(), window) == g_registered.end())
        g_registered.push_back(window);
    return true;
}

void UiGesture::ReleaseGestures(HWND window) {
    std::lock_guard<std::mutex> guard(g_lock);
    std::erase(g_registered, window);
}

bool UiGesture::IsRegistered(HWND window) {
    std::lock_guard<std::mutex> guard(g_lock);
    return std::find(g_registered.begin(), g_registered.end(), window) != g_registered.end();
}

std::vector<HWND> UiGesture::RegisteredWindows() {
    std::vector<HWND> copy;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        copy = g_registered;
    }
    std::erase_if(copy, [](HWND w) { return !UiWin::IsWindow(w); });
    return copy;
}

void UiGesture::SetRegistrationFails(bool fails) { g_fails = fails; }

bool UiGesture::RecognizeHold() {
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (!loop || !loop->IsGuiThread())
        return false;
    const CPressInfo start = loop->GetPress();
    if (!start.down)
        return false;
    auto held = [&] {
        return CClock::Instance().TickCount() >= start.downTick + static_cast<std::uint64_t>(kHoldMs);
    };
    auto over = [&] {
        CPressInfo now = loop->GetPress();
        return !now.down || now.moved || now.serial != start.serial || held();
    };
    loop->RunUntil(over, start.downTick + kHoldMs);
    CPressInfo now = loop->GetPress();
    return now.down && !now.moved && now.serial == start.serial && held();
}
