// Window message numbers and the packing of their parameters.
//
// The numbers below 0x10000 are the platform's own; application windows use
// private numbers of their own (0xFFF2xxxx) that pass through untouched.
#pragma once

#include <cstdint>

using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// Opaque window handle. Handles are never reused, so a handle kept past its
// window's life resolves to nothing instead of to another window.
using HWND = struct UiWindowHandle*;

enum : UINT {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,        // lParam: MakeLParam(width, height)
    WM_ACTIVATE = 0x0006,    // wParam: 1 active, 0 inactive
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_SHOWWINDOW = 0x0018,  // wParam: 1 shown, 0 hidden
    WM_KEYDOWN = 0x0100,     // wParam: key code
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,        // wParam: one UTF-16 unit
    WM_COMMAND = 0x0111,     // wParam: MakeWParam(control id, code); lParam: a value
    WM_TIMER = 0x0113,       // wParam: timer id
    WM_MOUSEMOVE = 0x0200,   // lParam: MakeLParam(x, y) in client coordinates
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_CAPTURECHANGED = 0x0215,
    WM_USER = 0x0400,
};

// Mouse message flags (wParam): the finger is down.
enum : UINT { MK_LBUTTON = 0x0001 };

// Key codes carried by WM_KEYDOWN.
enum : int {
    VK_BACK = 0x08,
    VK_RETURN = 0x0D,
    VK_ESCAPE = 0x1B,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_DELETE = 0x2E,
};

constexpr WPARAM MakeWParam(int low, int high) {
    return static_cast<WPARAM>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                               ((static_cast<std::uint32_t>(high) & 0xFFFF) << 16));
}
constexpr LPARAM MakeLParam(int low, int high) {
    return static_cast<LPARAM>(static_cast<std::int32_t>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                                                         ((static_cast<std::uint32_t>(high) & 0xFFFF) << 16)));
}
constexpr int LowWord(std::uintptr_t v) { return static_cast<int>(v & 0xFFFF); }
constexpr int HighWord(std::uintptr_t v) { return static_cast<int>((v >> 16) & 0xFFFF); }
// Signed halves, for coordinates that may be negative (a drag past the edge).
constexpr int SignedLow(std::intptr_t v) { return static_cast<std::int16_t>(v & 0xFFFF); }
constexpr int SignedHigh(std::intptr_t v) { return static_cast<std::int16_t>((v >> 16) & 0xFFFF); }
