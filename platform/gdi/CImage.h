// A PNG image loaded by file name or by resource id, with its alpha.
//
// Resource ids map to files "resources/<id>.png" under the resource
// directory (SetResourceDir; the build's default is the source tree's
// resources/). Images are the project's own, drawn by tools/ generators.
#pragma once

#include "platform/gdi/Color.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CImage {
public:
    static void SetResourceDir(const std::string& dir);
    static const std::string& GetResourceDir();

    // Load any PNG as 8-bit RGBA. False for a missing or unreadable file or
    // one wider or taller than 16384 pixels; the image is unchanged then.
    bool LoadFile(const std::string& path);
    bool LoadResource(int id);
    bool IsLoaded() const { return m_width > 0; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // 0xAABBGGRR, alpha in the top byte.
    std::uint32_t Pixel(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
};
