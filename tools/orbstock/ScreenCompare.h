// The tour's reference screens: a screenshot is compared with the PNG kept
// in the repository, forgiving the anti-aliased glyph edges another FreeType
// or font build draws differently and nothing else, and a mismatch leaves
// the new image and a difference image beside the reference for a person to
// look at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the comparison forgives. A pixel differing by more than flatChannel
// in some channel is a differing pixel; it is forgiven when it is an
// anti-aliased edge in both images (lighter than one neighbour, darker than
// another, each channel within its neighbours' range give or take
// flatChannel), as image-diff tools tell edges apart. A differing
// pixel whose 3x3 neighbourhood is one colour in the reference is a changed
// flat colour and always fails; any other counts against strayPixels.
struct CScreenTolerance {
    int flatChannel = 2; // largest difference of one colour channel (0..255) that is no difference
    int strayPixels = 16; // differing pixels, neither edges nor flat, that still pass
};

// What the tour allows: glyph edges drawn lighter or darker by another
// FreeType or font build, 2 of 255 anywhere, and at most 16 other pixels
// (such a redraw of a busy table leaves about a dozen edge pixels tied with
// a neighbour); never a changed flat colour, a replaced row or a moved text.
inline constexpr CScreenTolerance kTourTolerance{2, 16};

// 8-bit RGBA pixels, one 0xAABBGGRR value per pixel, row after row.
struct CScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

struct CScreenDiff {
    bool sameSize = false;
    long differing = 0;   // pixels counted against the match: flat colour changes and strays
    long flatChanged = 0; // of those, pixels of a one-colour area in the reference
    long antiAliased = 0; // differing pixels forgiven as edges in both images
    long total = 0;       // pixels compared
    bool matches = false; // same size, no flat colour changed, strays within strayPixels
    CScreenPixels image;  // red: counted, yellow: forgiven edge, over a faded copy of the reference
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
