// Reference-screen comparison; see the header.
#include "tools/orbstock/ScreenCompare.h"

#include "platform/gdi/CImage.h"
#include "platform/gdi/CSurface.h"
#include "platform/storage/AtomicFile.h"
#include "platform/storage/FileOps.h"

#include <cstdlib>

namespace {
int Channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance)
            return false;
    return true;
}

// A quarter of the reference's brightness, so the red marks stand out.
std::uint32_t Faded(std::uint32_t pixel) {
    const std::uint32_t r = Channel(pixel, 0) / 4, g = Channel(pixel, 8) / 4, b = Channel(pixel, 16) / 4;
    return 0xFF000000u | (b << 16) | (g << 8) | r;
}
} // namespace

CScreenDiff CompareScreens(const CScreenPixels& shot, const CScreenPixels& reference,
                           const CScreenTolerance& tolerance) {
    CScreenDiff diff;
    diff.sameSize = shot.width == reference.width && shot.height == reference.height &&
                    shot.pixels.size() == reference.pixels.size();
    if (!diff.sameSize) {
        diff.image = shot;
        return diff;
    }
    diff.total = static_cast<long>(shot.pixels.size());
    diff.image.width = shot.width;
    diff.image.height = shot.height;
    diff.image.pixels.resize(shot.pixels.size());
    for (size_t i = 0; i < shot.pixels.size(); ++i) {
        if (Near(shot.pixels[i], reference.pixels[i], tolerance.channel)) {
            diff.image.pixels[i] = Faded(reference.pixels[i]);
        } else {
            ++diff.differing;
            diff.image.pixels[i] = 0xFF0000FFu;
        }
    }
    diff.matches = static_cast<double>(diff.differing) <= tolerance.share * static_cast<double>(diff.total);
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
