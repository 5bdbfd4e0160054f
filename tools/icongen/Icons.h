// The project's own images, drawn in code so that every picture the program
// shows can be rebuilt from source.
//
// An icon draws itself with the drawing layer's CDC on a canvas kSupersample
// times its size whose background is kTransparentKey; the generator averages
// each kSupersample × kSupersample block into one pixel, and the share of
// non-key samples becomes the alpha. To add an icon, append an entry to
// Icons() in Icons.cpp with its resource id and size.
#pragma once

#include "platform/gdi/CDC.h"

#include <functional>
#include <vector>

constexpr int kSupersample = 4;
constexpr COLORREF kTransparentKey = 0xFF00FF; // magenta, never used by an icon

struct CIconSpec {
    int id = 0;     // resource id, written as "<id>.png"
    int width = 0;  // pixels of the written image
    int height = 0; // pixels of the written image
    // Draws on a canvas of width × kSupersample by height × kSupersample.
    std::function<void(CDC&)> draw;
};

const std::vector<CIconSpec>& Icons();
