// Writes the project's icons as RGBA PNG files named by resource id.
//
// Usage: orb_icongen <output directory>   (normally the source tree's resources/)
//        orb_icongen --help
// Exit status 0 when every icon was written, 1 otherwise, 64 for a wrong
// command line.
#include "platform/gdi/PngWrite.h"
#include "tools/icongen/Icons.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
// Averages the supersampled canvas into RGBA bytes; key-coloured samples are
// transparent and do not tint the colour.
std::vector<std::uint8_t> Downsample(const CSurface& canvas, int width, int height) {
    std::vector<std::uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int sy = 0; sy < kSupersample; ++sy) {
                for (int sx = 0; sx < kSupersample; ++sx) {
                    COLORREF c = canvas.GetPixel(x * kSupersample + sx, y * kSupersample + sy);
                    if (c == kTransparentKey)
                        continue;
                    r += GetRValue(c);
                    g += GetGValue(c);
                    b += GetBValue(c);
                    ++n;
                }
            }
            std::uint8_t* p = rgba.data() + (static_cast<size_t>(y) * width + x) * 4;
            if (n > 0) {
                p[0] = static_cast<std::uint8_t>((r + n / 2) / n);
                p[1] = static_cast<std::uint8_t>((g + n / 2) / n);
                p[2] = static_cast<std::uint8_t>((b + n / 2) / n);
                p[3] = static_cast<std::uint8_t>((n * 255 + kSupersample * kSupersample / 2) /
                                                 (kSupersample * kSupersample));
            }
        }
    }
    return rgba;
}

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: orb_icongen DIR\n"
                 "  writes the program's icons into the existing folder DIR as <resource id>.png\n"
                 "  (normally the source tree's resources/)\n");
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        PrintUsage(stdout);
        return 0;
    }
    // An option is never taken as a folder name.
    if (argc == 2 && argv[1][0] == '-')
        std::fprintf(stderr, "orb_icongen: unknown option '%s'\n", argv[1]);
    if (argc != 2 || argv[1][0] == '\0' || argv[1][0] == '-') {
        PrintUsage(stderr);
        return 64;
    }
    bool ok = true;
    for (const auto& icon : Icons()) {
        CSurface canvas(icon.width * kSupersample, icon.height * kSupersample, kTransparentKey);
        CDC dc(&canvas);
        icon.draw(dc);
        std::string path = std::string(argv[1]) + "/" + std::to_string(icon.id) + ".png";
        const std::vector<std::uint8_t> rgba = Downsample(canvas, icon.width, icon.height);
        if (WritePng(path, rgba.data(), icon.width, icon.height, PngFormat::Rgba)) {
            std::printf("%s\n", path.c_str());
        } else {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
