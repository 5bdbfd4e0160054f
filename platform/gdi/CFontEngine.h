// The one text renderer of the drawing layer: a FreeType face found through
// fontconfig and a cache of anti-aliased glyphs.
//
// A CFont's height is the pixel height of a whole text line. The engine
// chooses the em size so that the face's ascender plus descender fill that
// height exactly (em = height × unitsPerEm / (ascender + descender)); the
// baseline lies Ascent(height) pixels below the line's top. Glyphs are
// cached by (pixel height, weight, code point). A phone screen uses a
// handful of sizes and a few thousand characters, but a zoomed chart or
// text from the server can ask for any size and any code point, so the
// cache has a byte budget and starts afresh when a new glyph would pass it.
//
// Without any usable font the engine still answers: glyphs are empty, and
// advances are half the height for Latin text and the full height for wide
// characters, so layouts and text logs keep working.
//
// A glyph is handed out shared, so it stays valid while held, whatever the
// cache drops meanwhile. Calls are serialised by a mutex, though drawing
// normally runs on the GUI thread only.
//
// Loading: the default face is loaded by the first call that needs a face,
// or ahead of it on a thread of its own (LoadDefaultFontInBackground):
// fontconfig's start takes milliseconds that a starting program can spend
// on its logon instead. A call that needs the face while that thread runs
// waits for it, so text is never drawn with a half-loaded or missing face.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

class CFontEngine {
public:
    struct CGlyph {
        int advance = 0;                 // pixels to the next pen position
        int left = 0;                    // bitmap's left edge from the pen, pixels
        int top = 0;                     // bitmap's top row above the baseline, pixels
        int width = 0;                   // bitmap columns
        int height = 0;                  // bitmap rows
        std::vector<std::uint8_t> coverage; // width × height, 0..255
        // Per row, the columns [begin, end) outside which coverage is 0, so
        // drawing skips the empty margins (begin == end for an empty row).
        struct CInk {
            std::uint16_t begin = 0, end = 0;
        };
        std::vector<CInk> ink; // height rows
    };

    static CFontEngine& Instance();

    // True when a face is loaded.
    bool HasFont() const;
    // The loaded face's file, empty without one.
    std::string FontFile() const;

    // Loads the face at index of path, dropping the cache; an empty path, or a
    // file FreeType cannot open, leaves the engine without a font (false).
    bool LoadFont(const std::string& path, int index = 0);
    // Loads the face fontconfig matches for a Simplified Chinese sans family,
    // or else the first font fontconfig lists; false when none loads.
    bool LoadDefaultFont();
    // Starts loading the default face on a thread of its own, unless a face
    // was loaded or chosen already or is being loaded; nothing waits for it
    // but the first call that needs the face. Without a thread the first use
    // loads it as before. With choiceFile (in the data directory) the face
    // fontconfig chose is kept there and loaded from it while its font file
    // stays the same (FontChoice.h). Any thread.
    void LoadDefaultFontInBackground(const std::string& choiceFile = {});
    // Back to the state of a new process: no face, no cache, fontconfig's
    // configuration released, so the next use loads afresh (a benchmark's
    // cold start). Only while nothing else in the process uses fontconfig.
    void Unload();

    // Pixels from a line's top to its baseline for a line height.
    int Ascent(int height) const;
    // The glyph of code point cp; weight 600 and above is emboldened.
    std::shared_ptr<const CGlyph> Glyph(int height, int weight, char32_t cp);
    int Advance(int height, int weight, char32_t cp) { return Glyph(height, weight, cp)->advance; }
    // The glyphs of a line's code points into out (replaced), and the sum of
    // their advances: one lock for the line, not one per character.
    void LineGlyphs(int height, int weight, std::u32string_view text, std::vector<std::shared_ptr<const CGlyph>>& out);
    int LineAdvance(int height, int weight, std::u32string_view text);

    // Changes whenever the face is dropped: what was laid out under one count
    // holds while it stays.
    std::uint64_t FaceCount() const { return m_faceCount.load(std::memory_order_acquire); }

    // Bytes of cached glyphs: every screen of the program together takes
    // under half of it.
    static constexpr std::size_t kCacheBudget = 1u << 20;
    // Bytes the cached glyphs take now, for tests.
    std::size_t CacheBytes() const;

    CFontEngine(const CFontEngine&) = delete;
    CFontEngine& operator=(const CFontEngine&) = delete;

private:
    enum class LoadState { NotStarted, Loading, Done };

    CFontEngine();
    ~CFontEngine();
    // With m_mutex held: waits out a load in flight; loads the default face
    // here when none was started or chosen.
    void EnsureLoaded(std::unique_lock<std::mutex>& lock) const;
    bool LoadFontLocked(const std::string& path, int index);
    // With m_mutex held: the face's hinting analysis made ahead of its first glyph.
    void PrepareHinting(void* faceHandle);
    bool LoadDefaultFontLocked();
    void UnloadLocked();
    // With m_mutex held and the face loaded: the cached or new glyph.
    const std::shared_ptr<const CGlyph>& GlyphLocked(int height, int weight, char32_t cp);
    CGlyph Render(int height, bool bold, char32_t cp);
    // Fills the glyph's ink rows from its coverage.
    static void MeasureInk(CGlyph& g);
    // The calling thread's glyphs looked up lately for the current face: a
    // table's lines look up the same few glyphs at every repaint, without
    // the lock.
    struct CFront;
    static CFront& Front();
    // With m_mutex held: the glyph, remembered in the thread's front.
    const std::shared_ptr<const CGlyph>& GlyphRemembered(CFront& front, int height, int weight, char32_t cp);

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_loadDone;
    // Written under m_mutex; read without it only to see that a load was
    // started, since the background load holds m_mutex until it is done.
    std::atomic<LoadState> m_loadState{LoadState::NotStarted};
    std::thread m_loader;      // the background load; joined by Unload and at exit
    void* m_library = nullptr; // FT_Library
    void* m_face = nullptr;    // FT_Face
    std::string m_file;
    std::string m_choiceFile;  // where the default face's choice is kept; empty: nowhere
    int m_sizedHeight = 0;     // line height the face is currently sized for, pixels
    long m_ascender = 0;       // face units
    long m_descender = 0;      // face units, positive below the baseline
    bool m_fontconfigUsed = false;
    std::unordered_map<std::uint64_t, std::shared_ptr<const CGlyph>> m_cache;
    // Counts the faces dropped; a thread's front is for one count only.
    std::atomic<std::uint64_t> m_faceCount{0};
    std::size_t m_cacheBytes = 0;  // coverage and bookkeeping of m_cache
};
