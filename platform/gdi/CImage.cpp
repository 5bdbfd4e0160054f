// PNG loading for images and resources (see CImage.h).
#include "platform/gdi/CImage.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <mutex>

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
    auto data = std::make_shared<Data>();
    data->pixels = std::move(pixels);
    m_width = width;
    m_height = height;
    m_data = std::move(data);
    return true;
}

CScaledImage::Partial CImage::Sample(int dx, int dy, int width, int height, bool bilinear) const {
    const double scaleX = static_cast<double>(m_width) / width;
    const double scaleY = static_cast<double>(m_height) / height;
    const double u = (dx + 0.5) * scaleX - 0.5;
    const double v = (dy + 0.5) * scaleY - 0.5;
    double r = 0, g = 0, b = 0, a = 0;
    if (!bilinear) {
        int ix = std::clamp(static_cast<int>(std::floor(u + 0.5)), 0, m_width - 1);
        int iy = std::clamp(static_cast<int>(std::floor(v + 0.5)), 0, m_height - 1);
        std::uint32_t p = Pixel(ix, iy);
        a = p >> 24;
        r = (p & 0xFF) * a / 255.0;
        g = ((p >> 8) & 0xFF) * a / 255.0;
        b = ((p >> 16) & 0xFF) * a / 255.0;
    } else {
        int x0 = static_cast<int>(std::floor(u)), y0 = static_cast<int>(std::floor(v));
        double fx = u - x0, fy = v - y0;
        for (int k = 0; k < 4; ++k) {
            int ix = std::clamp(x0 + (k & 1), 0, m_width - 1);
            int iy = std::clamp(y0 + (k >> 1), 0, m_height - 1);
            double wgt = ((k & 1) ? fx : 1 - fx) * ((k >> 1) ? fy : 1 - fy);
            std::uint32_t p = Pixel(ix, iy);
            double pa = (p >> 24) * wgt;
            a += pa;
            r += (p & 0xFF) * pa / 255.0;
            g += ((p >> 8) & 0xFF) * pa / 255.0;
            b += ((p >> 16) & 0xFF) * pa / 255.0;
        }
    }
    return {r, g, b, a};
}

const CScaledImage& CImage::Scaled(int width, int height, bool bilinear) const {
    for (const auto& kept : m_data->scaled)
        if (kept->width == width && kept->height == height && kept->bilinear == bilinear)
            return *kept;
    auto made = std::make_shared<CScaledImage>();
    made->width = width;
    made->height = height;
    made->bilinear = bilinear;
    const size_t area = static_cast<size_t>(width) * static_cast<size_t>(height);
    made->kind.resize(area);
    made->value.resize(area);
    for (int dy = 0; dy < height; ++dy) {
        for (int dx = 0; dx < width; ++dx) {
            const size_t i = static_cast<size_t>(dy) * static_cast<size_t>(width) + static_cast<size_t>(dx);
            const CScaledImage::Partial p = Sample(dx, dy, width, height, bilinear);
            if (p.a <= 0) {
                made->kind[i] = CScaledImage::kTransparent;
            } else if (p.a == 255.0) {
                // Nothing of the ground shows through: the blend is the colour.
                made->kind[i] = CScaledImage::kOpaque;
                made->value[i] = static_cast<std::uint32_t>(std::lround(p.r) & 0xFF) |
                                 static_cast<std::uint32_t>(std::lround(p.g) & 0xFF) << 8 |
                                 static_cast<std::uint32_t>(std::lround(p.b) & 0xFF) << 16;
            } else {
                made->kind[i] = CScaledImage::kPartial;
                made->value[i] = static_cast<std::uint32_t>(made->partial.size());
                made->partial.push_back(p);
            }
        }
    }
    made->shown.resize(static_cast<size_t>(height));
    for (int dy = 0; dy < height; ++dy) {
        const std::uint8_t* row = made->kind.data() + static_cast<size_t>(dy) * static_cast<size_t>(width);
        int begin = 0, end = width;
        while (begin < end && row[begin] == CScaledImage::kTransparent)
            ++begin;
        while (end > begin && row[end - 1] == CScaledImage::kTransparent)
            --end;
        made->shown[static_cast<size_t>(dy)] = {begin, end};
    }
    if (m_data->scaled.size() >= 4)
        m_data->scaled.erase(m_data->scaled.begin());
    m_data->scaled.push_back(std::move(made));
    return *m_data->scaled.back();
}

bool CImage::LoadResource(int id) {
    // A resource stays decoded while an image holds it, and the last few
    // asked for stay after their windows close, so a screen opened again
    // finds its icons; the others go with the last window that showed them.
    struct Kept {
        int width, height;
        std::weak_ptr<Data> data;
    };
    static std::mutex lock;
    static std::map<std::string, Kept> kept;          // by path
    static std::deque<std::shared_ptr<Data>> recent; // newest first
    const std::string path = GetResourceDir() + "/" + std::to_string(id) + ".png";
    auto keepRecent = [](const std::shared_ptr<Data>& data) {
        if (auto it = std::find(recent.begin(), recent.end(), data); it != recent.end())
            recent.erase(it);
        recent.push_front(data);
        if (recent.size() > kRecentResources)
            recent.pop_back();
    };
    {
        std::lock_guard<std::mutex> guard(lock);
        if (auto it = kept.find(path); it != kept.end()) {
            if (std::shared_ptr<Data> data = it->second.data.lock()) {
                m_width = it->second.width;
                m_height = it->second.height;
                m_data = std::move(data);
                keepRecent(m_data);
                return true;
            }
        }
    }
    if (!LoadFile(path))
        return false;
    std::lock_guard<std::mutex> guard(lock);
    // Another thread may have decoded it meanwhile: one copy is shared.
    Kept& entry = kept[path];
    if (std::shared_ptr<Data> data = entry.data.lock()) {
        m_width = entry.width;
        m_height = entry.height;
        m_data = std::move(data);
    } else {
        entry = {m_width, m_height, m_data};
    }
    keepRecent(m_data);
    return true;
}
