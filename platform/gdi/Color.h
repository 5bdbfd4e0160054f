// Colours are 32-bit values 0x00BBGGRR, as windows store and pass them:
// red is the low byte, so palette colour 0x2626FF is a strong red.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

using COLORREF = std::uint32_t;

constexpr COLORREF MakeRgb(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

// The selected row's band: a light gradient with a darker bottom edge.
constexpr COLORREF kSelectionBandTop = MakeRgb(255, 236, 170), kSelectionBandBottom = MakeRgb(246, 196, 72),
                   kSelectionBandEdge = MakeRgb(196, 140, 30);

// The perceived lightness of c, 0 (black) to 1 (white), as the usual
// readability rule weighs the sRGB channels.
inline double RelativeLuminance(COLORREF c) {
    auto linear = [](int channel) {
        const double v = channel / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(c)) + 0.7152 * linear(GetGValue(c)) + 0.0722 * linear(GetBValue(c));
}

// How well text of one colour reads on the other: 1 (the same) to 21
// (black on white); 4.5 is the least for ordinary text.
inline double ContrastRatio(COLORREF a, COLORREF b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
