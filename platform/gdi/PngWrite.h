// Writing 8-bit PNG files from pixel rows in memory: the one writer behind
// a surface's screenshot and the icon generator's images.
#pragma once

#include <cstdint>
#include <string>

enum class PngFormat {
    Rgb,  // 3 bytes a pixel: red, green, blue
    Rgba, // 4 bytes a pixel: red, green, blue, alpha (straight, not premultiplied)
};

// Writes width × height pixels, rows top to bottom with no padding between
// them, as a PNG file at path. False for an empty size, no pixels or a file
// that cannot be written.
bool WritePng(const std::string& path, const std::uint8_t* pixels, int width, int height, PngFormat format);
