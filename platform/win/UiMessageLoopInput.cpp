// The loop's input: what the host injects is queued with everything else,
// then routed at dispatch to the window under the finger or the focused one.
#include "platform/win/UiMessageLoopImpl.h"

#include "platform/Clock.h"
#include "platform/win/UiGesture.h"
#include "platform/win/UiWin.h"

#include <cstdlib>

using loop_detail::Table;

void UiMessageLoop::InjectMouse(UINT msg, CPoint screen) {
    Item item;
    item.kind = Item::Kind::Mouse;
    item.msg = msg;
    item.point = screen;
    Enqueue(std::move(item), false);
}

void UiMessageLoop::InjectChar(char16_t ch) {
    Item item;
    item.kind = Item::Kind::Char;
    item.msg = WM_CHAR;
    item.wParam = ch;
    Enqueue(std::move(item), false);
}

void UiMessageLoop::InjectKey(int key) {
    Item item;
    item.kind = Item::Kind::Key;
    item.msg = WM_KEYDOWN;
    item.wParam = static_cast<WPARAM>(key);
    Enqueue(std::move(item), false);
}

CPressInfo UiMessageLoop::GetPress() const { return m_impl->press; }

void UiMessageLoop::MarkFrontChanged() {
    std::lock_guard<std::mutex> guard(m_impl->lock);
    m_impl->frontChangedSeq = m_impl->enqueueSeq;
}


void UiMessageLoop::RouteMouse(UINT msg, CPoint screen, std::uint64_t seq) {
    // A press queued before a modal window opened or closed was meant for
    // what was in front then: it is dropped whole, down to its release, so
    // a second tap never lands on the page the first one opened.
    if (msg == WM_LBUTTONDOWN)
        m_impl->pressDropped = seq <= m_impl->frontChangedSeq;
    if (m_impl->pressDropped) {
        if (msg == WM_LBUTTONUP)
            m_impl->pressDropped = false;
        return;
    }
    CPressInfo& press = m_impl->press;
    if (msg == WM_LBUTTONDOWN) {
        press.down = true;
        press.moved = false;
        press.start = screen;
        press.downTick = CClock::Instance().TickCount();
        ++press.serial;
    } else if (msg == WM_LBUTTONUP) {
        press.down = false;
    }
    press.last = screen;
    if (std::abs(screen.x - press.start.x) > UiGesture::kHoldSlop ||
        std::abs(screen.y - press.start.y) > UiGesture::kHoldSlop)
        press.moved = true;

    UiWin* target = UiWin::GetCapture();
    if (!target) {
        const auto& tops = Table().TopLevels();
        for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
            UiWin* top = *it;
            CRect r = top->GetRect();
            if (!top->IsVisible() || !r.Contains(screen))
                continue;
            if (top->IsEnabled())
                target = top->ChildFromPoint({screen.x - r.left, screen.y - r.top});
            break;
        }
    }
    if (!target)
        return;
    CPoint client = target->ScreenToClient(screen);
    WPARAM flags = (msg == WM_LBUTTONDOWN || (msg == WM_MOUSEMOVE && press.down)) ? WPARAM{MK_LBUTTON} : WPARAM{0};
    target->WndProc(msg, flags, MakeLParam(client.x, client.y));
}

void UiMessageLoop::RouteKey(UINT msg, WPARAM wParam) {
    UiWin* target = UiWin::GetFocus();
    if (!target || !target->IsShownOnScreen()) {
        target = nullptr;
        const auto& tops = Table().TopLevels();
        for (auto it = tops.rbegin(); it != tops.rend() && !target; ++it)
            if ((*it)->IsVisible())
                target = *it;
    }
    if (target && target->IsEnabled())
        target->WndProc(msg, wParam, 0);
}
