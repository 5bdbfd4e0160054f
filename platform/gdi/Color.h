// Colours are 32-bit values 0x00BBGGRR, as windows store and pass them:
// red is the low byte, so palette colour 0x2626FF is a strong red.
#pragma once

#include <cstdint>

using COLORREF = std::uint32_t;

constexpr COLORREF MakeRgb(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }
