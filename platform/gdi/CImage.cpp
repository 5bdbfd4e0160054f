// PNG loading for images and resources (see CImage.h).
#include "platform/gdi/CImage.h"

#include <png.h>

namespace {
#ifdef ORB_RESOURCE_DIR
constexpr const char* kDefaultResourceDir = ORB_RESOURCE_DIR;
#else
constexpr const char* kDefaultResourceDir = "resources";
#endif

std::string& ResourceDir() {
    static std::string dir = kDefaultResourceDir;
    return dir;
}
} // namespace

void CImage::SetResourceDir(const std::string& dir) { ResourceDir() = dir; }

const std::string& CImage::GetResourceDir() { return ResourceDir(); }

bool CImage::LoadFile(const std::string& path) {
    // libpng's simplified reader turns every colour type and depth into
    // 8-bit RGBA in memory order, which is 0xAABBGGRR read as a 32-bit word
    // on a little-endian machine; the words are assembled explicitly below.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGBA;
    if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
        png_image_free(&image);
        return false;
    }
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    int width = static_cast<int>(image.width), height = static_cast<int>(image.height);
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const std::uint8_t* p = rgba.data() + i * 4;
        pixels[i] = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    m_width = width;
    m_height = height;
    m_pixels = std::move(pixels);
    return true;
}

bool CImage::LoadResource(int id) { return LoadFile(GetResourceDir() + "/" + std::to_string(id) + ".png"); }
