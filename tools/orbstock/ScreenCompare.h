// The tour's reference screens: a screenshot is compared with the PNG kept
// in the repository, tolerating the small anti-aliasing differences another
// FreeType or font build makes, and a mismatch leaves the new image and a
// difference image beside the reference for a person to look at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How far two images may differ and still be the same screen.
struct CScreenTolerance {
    int channel = 40;        // largest difference of one colour channel (0..255) that is no difference
    double share = 0.005;    // largest share of pixels (0..1) that may differ beyond channel
};

// What the tour allows: a channel may be off by 40 of 255 and at most 0.5%
// of the pixels beyond that — room for another build's anti-aliasing, not
// for a moved text or a changed colour.
inline constexpr CScreenTolerance kTourTolerance{40, 0.005};

// 8-bit RGBA pixels, one 0xAABBGGRR value per pixel, row after row.
struct CScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

struct CScreenDiff {
    bool sameSize = false;
    long differing = 0;  // pixels beyond the channel tolerance
    long total = 0;      // pixels compared
    bool matches = false; // same size and differing within the share
    CScreenPixels image; // the difference: differing pixels red over a faded copy of the reference
};

// Compares shot with reference (alpha ignored).
CScreenDiff CompareScreens(const CScreenPixels& shot, const CScreenPixels& reference, const CScreenTolerance& tolerance);

// Loads a PNG as pixels; false for a missing or unreadable file.
bool LoadScreen(const std::string& path, CScreenPixels* out);
// Writes pixels as an RGB PNG; false on failure.
bool SaveScreen(const std::string& path, const CScreenPixels& image);

// The outcome of checking one screenshot against its reference.
enum class ScreenCheck {
    Matches,
    NoReference, // nothing to compare with: the screenshot is kept as <name>_err.png
    Differs,     // <name>_err.png and <name>_diff.png written beside the reference
    Unreadable,  // the screenshot could not be read
};
// Checks shotPath against referenceDir/<name>.png; a stale _err/_diff pair
// from an earlier run is removed on a match.
ScreenCheck CheckScreen(const std::string& shotPath, const std::string& referenceDir, const std::string& name,
                        const CScreenTolerance& tolerance, CScreenDiff* diff);
