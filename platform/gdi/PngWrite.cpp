// PNG output through libpng's simplified writer (see PngWrite.h).
#include "platform/gdi/PngWrite.h"

#include <png.h>

bool WritePng(const std::string& path, const std::uint8_t* pixels, int width, int height, PngFormat format) {
    if (!pixels || width <= 0 || height <= 0)
        return false;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = format == PngFormat::Rgba ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    const bool ok = png_image_write_to_file(&image, path.c_str(), 0, pixels, 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}
