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

// One scaling of an image to a destination size, kept so that a repaint
// only blends: each destination pixel is transparent, opaque (its colour
// final), or partly covering (its premultiplied channels kept exactly as
// the blend reads them, so the pixels are those of scaling every time).
struct CScaledImage {
    enum : std::uint8_t { kTransparent, kOpaque, kPartial };
    struct Partial {
        double r, g, b; // premultiplied by alpha, 0..255
        double a;       // 0..255
    };
    int width = 0;
    int height = 0;
    bool bilinear = false;
    std::vector<std::uint8_t> kind;     // per pixel, row after row
    std::vector<std::uint32_t> value;   // opaque: the colour (0x00BBGGRR); partial: an index into partial
    std::vector<Partial> partial;
    // Per row, the columns [begin, end) outside which every pixel is
    // transparent.
    struct Span {
        int begin = 0, end = 0;
    };
    std::vector<Span> shown;
    // Per partial pixel, the ground it was last blended over and that
    // blend, kept from one repaint to the next: an image mostly lies over
    // the same ground pixel for pixel, even one moved over a chart whose
    // lines cross a few of its pixels. A ground of kNoGround is none yet
    // (surface pixels never have the top byte set). GUI thread.
    static constexpr COLORREF kNoGround = 0xFF000000;
    mutable std::vector<COLORREF> blendGrounds;
    mutable std::vector<COLORREF> blends;
};

class CImage {
public:
    // The largest destination (in pixels) whose scaling is kept.
    static constexpr long kMaxScaledArea = 1L << 20;
    // How many of the resources asked for last stay decoded when no image
    // holds them any more: a screen's icons, for the screen opened again.
    static constexpr size_t kRecentResources = 8;
    static void SetResourceDir(const std::string& dir);
    static const std::string& GetResourceDir();

    // Load any PNG as 8-bit RGBA. False for a missing or unreadable file or
    // one wider or taller than 16384 pixels; the image is unchanged then.
    bool LoadFile(const std::string& path);
    // Every image of the same id shares one decoding, its pixels and its kept
    // scalings (resources never change while the program runs). The decoding
    // is freed once no image holds it and it is not among the
    // kRecentResources asked for last; the next image decodes it again.
    bool LoadResource(int id);
    bool IsLoaded() const { return m_width > 0; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // 0xAABBGGRR, alpha in the top byte.
    std::uint32_t Pixel(int x, int y) const { return m_data->pixels[static_cast<size_t>(y) * m_width + x]; }

    // The premultiplied channels and alpha of destination pixel (dx, dy) of
    // a width × height destination, sampled nearest or bilinear.
    CScaledImage::Partial Sample(int dx, int dy, int width, int height, bool bilinear) const;
    // The image scaled to width × height (at most kMaxScaledArea pixels),
    // made on first use and kept (the last four sizes).
    const CScaledImage& Scaled(int width, int height, bool bilinear) const;

private:
    struct Data {
        std::vector<std::uint32_t> pixels;
        std::vector<std::shared_ptr<const CScaledImage>> scaled; // newest last; GUI thread
    };
    int m_width = 0;
    int m_height = 0;
    std::shared_ptr<Data> m_data; // shared by the images of one resource
};
