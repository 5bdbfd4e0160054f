// Reference-screen comparison; see the header.
#include "tools/orbstock/ScreenCompare.h"

#include "platform/gdi/CImage.h"
#include "platform/gdi/CSurface.h"
#include "platform/storage/AtomicFile.h"
#include "platform/storage/FileOps.h"

#include <algorithm>
#include <cstdlib>

namespace {
int Channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance)
            return false;
    return true;
}

// Brightness as image-diff tools weigh it (the Y of YIQ, times 1000).
int Luma(std::uint32_t pixel) { return 299 * Channel(pixel, 0) + 587 * Channel(pixel, 8) + 114 * Channel(pixel, 16); }

std::uint32_t At(const CScreenPixels& image, int x, int y) {
    return image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
}

// Calls visit with each of the up to eight neighbours of (x, y) inside the image.
template <typename Visit> void ForNeighbours(const CScreenPixels& image, int x, int y, Visit visit) {
    for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, image.height - 1); ++ny)
        for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, image.width - 1); ++nx)
            if (nx != x || ny != y)
                visit(At(image, nx, ny));
}

// Every neighbour has the pixel's own colour: a flat area, which another
// font build has no reason to touch.
bool Flat(const CScreenPixels& image, int x, int y) {
    const std::uint32_t centre = At(image, x, y) & 0x00FFFFFFu;
    bool flat = true;
    ForNeighbours(image, x, y, [&](std::uint32_t n) { flat = flat && (n & 0x00FFFFFFu) == centre; });
    return flat;
}

// An anti-aliased edge pixel: a blend of the colours around it. It has a
// darker and a lighter neighbour, and each channel lies within its
// neighbours' range give or take slack (two edge pixels of nearly equal
// coverage may swap order by a step when redrawn).
bool Edge(const CScreenPixels& image, int x, int y, int slack) {
    const std::uint32_t centre = At(image, x, y) & 0x00FFFFFFu;
    const int luma = Luma(centre);
    bool darker = false, lighter = false;
    int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
    ForNeighbours(image, x, y, [&](std::uint32_t n) {
        n &= 0x00FFFFFFu;
        darker = darker || Luma(n) < luma;
        lighter = lighter || Luma(n) > luma;
        for (int c = 0; c < 3; ++c) {
            low[c] = std::min(low[c], Channel(n, 8 * c));
            high[c] = std::max(high[c], Channel(n, 8 * c));
        }
    });
    if (!darker || !lighter)
        return false;
    for (int c = 0; c < 3; ++c)
        if (Channel(centre, 8 * c) < low[c] - slack || Channel(centre, 8 * c) > high[c] + slack)
            return false;
    return true;
}

// A quarter of the reference's brightness, so the marks stand out.
std::uint32_t Faded(std::uint32_t pixel) {
    const std::uint32_t r = Channel(pixel, 0) / 4, g = Channel(pixel, 8) / 4, b = Channel(pixel, 16) / 4;
    return 0xFF000000u | (b << 16) | (g << 8) | r;
}

constexpr std::uint32_t kCountedMark = 0xFF0000FFu;  // red
constexpr std::uint32_t kForgivenMark = 0xFF00FFFFu; // yellow
} // namespace

CScreenDiff CompareScreens(const CScreenPixels& shot, const CScreenPixels& reference,
                           const CScreenTolerance& tolerance) {
    CScreenDiff diff;
    diff.sameSize = shot.width == reference.width && shot.height == reference.height &&
                    shot.pixels.size() == reference.pixels.size() &&
                    shot.pixels.size() == static_cast<size_t>(shot.width) * static_cast<size_t>(shot.height);
    if (!diff.sameSize) {
        diff.image = shot;
        return diff;
    }
    diff.total = static_cast<long>(shot.pixels.size());
    diff.image.width = shot.width;
    diff.image.height = shot.height;
    diff.image.pixels.resize(shot.pixels.size());
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(shot.width) + static_cast<size_t>(x);
            std::uint32_t& mark = diff.image.pixels[i];
            if (Near(shot.pixels[i], reference.pixels[i], tolerance.flatChannel)) {
                mark = Faded(reference.pixels[i]);
            } else if (Flat(reference, x, y)) {
                ++diff.flatChanged;
                ++diff.differing;
                mark = kCountedMark;
            } else if (Edge(reference, x, y, tolerance.flatChannel) && Edge(shot, x, y, tolerance.flatChannel)) {
                ++diff.antiAliased;
                mark = kForgivenMark;
            } else {
                ++diff.differing;
                mark = kCountedMark;
            }
        }
    }
    diff.matches = diff.flatChanged == 0 && diff.differing <= tolerance.strayPixels;
    return diff;
}

bool LoadScreen(const std::string& path, CScreenPixels* out) {
    CImage image;
    if (!image.LoadFile(path))
        return false;
    out->width = image.Width();
    out->height = image.Height();
    out->pixels.resize(static_cast<size_t>(out->width) * static_cast<size_t>(out->height));
    for (int y = 0; y < out->height; ++y)
        for (int x = 0; x < out->width; ++x)
            out->pixels[static_cast<size_t>(y) * static_cast<size_t>(out->width) + static_cast<size_t>(x)] =
                image.Pixel(x, y);
    return true;
}

bool SaveScreen(const std::string& path, const CScreenPixels& image) {
    CSurface surface(image.width, image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            surface.SetPixel(x, y,
                             image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) +
                                          static_cast<size_t>(x)] &
                                 0x00FFFFFFu);
    return surface.SavePng(path);
}

ScreenCheck CheckScreen(const std::string& shotPath, const std::string& referenceDir, const std::string& name,
                        const CScreenTolerance& tolerance, CScreenDiff* diff) {
    const std::string base = referenceDir + "/" + name;
    const std::string errPath = base + "_err.png";
    const std::string diffPath = base + "_diff.png";
    CScreenPixels shot, reference;
    if (!LoadScreen(shotPath, &shot))
        return ScreenCheck::Unreadable;
    if (!LoadScreen(base + ".png", &reference)) {
        CopyFileAtomically(shotPath, errPath);
        return ScreenCheck::NoReference;
    }
    CScreenDiff result = CompareScreens(shot, reference, tolerance);
    const bool matches = result.matches;
    if (matches) {
        FileOps().Remove(errPath);
        FileOps().Remove(diffPath);
    } else {
        CopyFileAtomically(shotPath, errPath);
        SaveScreen(diffPath, result.image);
    }
    if (diff)
        *diff = std::move(result);
    return matches ? ScreenCheck::Matches : ScreenCheck::Differs;
}
