// The desktop host's input rules (see the header).
#include "platform/sdl/HostInput.h"

#include "platform/win/UiGesture.h"

#include <cstdlib>

namespace {

int VirtualKey(HostKey key) {
    switch (key) {
    case HostKey::Backspace: return VK_BACK;
    case HostKey::Return: return VK_RETURN;
    case HostKey::Escape: return VK_ESCAPE;
    case HostKey::Left: return VK_LEFT;
    case HostKey::Right: return VK_RIGHT;
    case HostKey::Up: return VK_UP;
    case HostKey::Down: return VK_DOWN;
    case HostKey::Delete: return VK_DELETE;
    default: return 0;
    }
}

CLoopInput Mouse(UINT msg, CPoint at) {
    CLoopInput in;
    in.kind = CLoopInput::Kind::Mouse;
    in.msg = msg;
    in.at = at;
    return in;
}

} // namespace

std::vector<CLoopInput> CHostInput::Pinch(int code, int count) const {
    CLoopInput in;
    in.kind = CLoopInput::Kind::Gesture;
    in.value = code;
    // A wheel spun hard still zooms a few steps, not a flood of them.
    const int pinches = count < 4 ? count : 4;
    return std::vector<CLoopInput>(static_cast<size_t>(pinches * kGesturesPerPinch), in);
}

std::vector<CLoopInput> CHostInput::Translate(const CHostEvent& event) {
    switch (event.kind) {
    case CHostEvent::Kind::Quit:
        return {CLoopInput{}};
    case CHostEvent::Kind::ButtonDown:
        if (!event.leftButton)
            return {};
        m_fingerDown = true;
        return {Mouse(WM_LBUTTONDOWN, event.at)};
    case CHostEvent::Kind::ButtonUp:
        if (!event.leftButton || !m_fingerDown)
            return {};
        m_fingerDown = false;
        return {Mouse(WM_LBUTTONUP, event.at)};
    case CHostEvent::Kind::Motion:
        // A finger only moves while it touches the screen.
        if (!m_fingerDown)
            return {};
        return {Mouse(WM_MOUSEMOVE, event.at)};
    case CHostEvent::Kind::Text: {
        // Ctrl with "+" or "-" is a zoom, not typing.
        if (event.ctrl || event.text.empty())
            return {};
        CLoopInput in;
        in.kind = CLoopInput::Kind::Text;
        in.text = event.text;
        return {in};
    }
    case CHostEvent::Kind::Key: {
        if (event.ctrl && event.key == HostKey::Plus)
            return Pinch(GESTURE_PINCH_IN, 1);
        if (event.ctrl && event.key == HostKey::Minus)
            return Pinch(GESTURE_PINCH_OUT, 1);
        const int vk = VirtualKey(event.key);
        if (!vk)
            return {};
        CLoopInput in;
        in.kind = CLoopInput::Kind::Key;
        in.value = vk;
        return {in};
    }
    case CHostEvent::Kind::Wheel:
        if (event.wheel == 0)
            return {};
        return Pinch(event.wheel > 0 ? GESTURE_PINCH_IN : GESTURE_PINCH_OUT, std::abs(event.wheel));
    case CHostEvent::Kind::Exposed: {
        CLoopInput in;
        in.kind = CLoopInput::Kind::Invalidate;
        return {in};
    }
    default:
        return {};
    }
}
