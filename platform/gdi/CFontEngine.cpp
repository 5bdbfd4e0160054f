// FreeType and fontconfig behind the drawing layer's text (see CFontEngine.h).
#include "platform/system/ThreadSlot.h"
#include "platform/gdi/CFontEngine.h"

#include "platform/gdi/FontChoice.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cmath>
#include <system_error>

namespace {
FT_Library Lib(void* p) { return static_cast<FT_Library>(p); }
FT_Face Face(void* p) { return static_cast<FT_Face>(p); }

constexpr int kMaxHeight = 4096; // pixels; larger requests are clamped

// Wide (full-width) characters get a square cell when no font is loaded.
bool IsWide(char32_t cp) { return cp >= 0x2E80; }

std::uint64_t Key(int height, int weight, char32_t cp) {
    return (static_cast<std::uint64_t>(height) << 48) | (static_cast<std::uint64_t>(weight & 0xFFFF) << 32) | cp;
}

// The file and face index fontconfig offers for pattern text; false when none.
bool MatchFont(const char* patternText, std::string& file, int& index) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(patternText));
    if (!pattern)
        return false;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    bool found = false;
    if (match) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
            file = reinterpret_cast<const char*>(path);
            int i = 0;
            index = FcPatternGetInteger(match, FC_INDEX, 0, &i) == FcResultMatch ? i : 0;
            found = true;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}
} // namespace

CFontEngine& CFontEngine::Instance() {
    static CFontEngine engine;
    return engine;
}

CFontEngine::CFontEngine() {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) == 0)
        m_library = lib;
}

CFontEngine::~CFontEngine() {
    // A background load still running at exit finishes first.
    if (m_loader.joinable())
        m_loader.join();
    std::lock_guard lock(m_mutex);
    UnloadLocked();
    if (m_library)
        FT_Done_FreeType(Lib(m_library));
    // fontconfig keeps its configuration until told to let go.
    if (m_fontconfigUsed)
        FcFini();
}

void CFontEngine::EnsureLoaded(std::unique_lock<std::mutex>& lock) const {
    m_loadDone.wait(lock, [this] { return m_loadState != LoadState::Loading; });
    if (m_loadState == LoadState::NotStarted) {
        // Loading on first use is what the caller asked of an engine that is
        // itself never const; only the face it reads changes.
        auto* self = const_cast<CFontEngine*>(this);
        self->LoadDefaultFontLocked();
        self->m_loadState = LoadState::Done;
    }
}

void CFontEngine::LoadDefaultFontInBackground(const std::string& choiceFile) {
    // A second call (the program's main, then the application object) must
    // not wait on the lock the load in flight holds.
    if (m_loadState.load() != LoadState::NotStarted)
        return;
    std::lock_guard lock(m_mutex);
    if (m_loadState != LoadState::NotStarted)
        return;
    m_loadState = LoadState::Loading;
    m_choiceFile = choiceFile;
    try {
        // The lock is held for the whole load, and the state says "Loading"
        // until it is over, so no call sees a face half made.
        m_loader = std::thread([this] {
            std::lock_guard loaderLock(m_mutex);
            LoadDefaultFontLocked();
            m_loadState = LoadState::Done;
            m_loadDone.notify_all();
        });
    } catch (const std::system_error&) {
        m_loadState = LoadState::NotStarted; // the first use loads it instead
    }
}

void CFontEngine::Unload() {
    std::thread loader;
    {
        std::unique_lock lock(m_mutex);
        m_loadDone.wait(lock, [this] { return m_loadState != LoadState::Loading; });
        UnloadLocked();
        if (m_fontconfigUsed)
            FcFini();
        m_fontconfigUsed = false;
        m_choiceFile.clear();
        m_loadState = LoadState::NotStarted;
        loader = std::move(m_loader);
    }
    // Its load is over; the thread only has to leave.
    if (loader.joinable())
        loader.join();
}

void CFontEngine::UnloadLocked() {
    if (m_face)
        FT_Done_Face(Face(m_face));
    m_face = nullptr;
    m_file.clear();
    m_sizedHeight = 0;
    m_ascender = 0;
    m_descender = 0;
    m_cache.clear();
    m_cacheBytes = 0;
    m_faceCount.fetch_add(1, std::memory_order_release);
}

bool CFontEngine::HasFont() const {
    std::unique_lock lock(m_mutex);
    EnsureLoaded(lock);
    return m_face != nullptr;
}

std::string CFontEngine::FontFile() const {
    std::unique_lock lock(m_mutex);
    EnsureLoaded(lock);
    return m_file;
}

bool CFontEngine::LoadFont(const std::string& path, int index) {
    std::unique_lock lock(m_mutex);
    // A face chosen here is final: a background load in flight ends first,
    // and none starts later.
    m_loadDone.wait(lock, [this] { return m_loadState != LoadState::Loading; });
    m_loadState = LoadState::Done;
    return LoadFontLocked(path, index);
}

bool CFontEngine::LoadFontLocked(const std::string& path, int index) {
    UnloadLocked();
    if (path.empty() || !m_library)
        return false;
    FT_Face face = nullptr;
    if (FT_New_Face(Lib(m_library), path.c_str(), index, &face) != 0)
        return false;
    if (!FT_IS_SCALABLE(face)) {
        FT_Done_Face(face);
        return false;
    }
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    m_face = face;
    m_file = path;
    m_ascender = face->ascender;
    m_descender = -face->descender;
    if (m_ascender <= 0 || m_descender < 0 || m_ascender + m_descender <= 0) {
        // A face without usable line metrics: the usual 88/12 split of the em.
        m_ascender = face->units_per_EM * 88 / 100;
        m_descender = face->units_per_EM - m_ascender;
    }
    PrepareHinting(face);
    return true;
}

// The light hinting's analysis of a face (which characters belong to which
// script, and each script's reference heights and stem widths) is made on
// the first glyph of each script loaded and kept with the face; one Latin
// and one Han glyph loaded here do it while the face loads, on the loader's
// thread, instead of in the first paint. It depends on the face alone, so
// every glyph comes out as it would have.
void CFontEngine::PrepareHinting(void* faceHandle) {
    FT_Face face = Face(faceHandle);
    if (FT_Set_Char_Size(face, 0, 16 * 64, 72, 72) != 0)
        return;
    for (char32_t cp : {U'0', U'\u4E2D'}) {
        if (FT_UInt index = FT_Get_Char_Index(face, cp))
            FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT);
    }
    m_sizedHeight = 0; // the next glyph sizes the face for itself
}

bool CFontEngine::LoadDefaultFont() {
    std::unique_lock lock(m_mutex);
    m_loadDone.wait(lock, [this] { return m_loadState != LoadState::Loading; });
    m_loadState = LoadState::Done;
    return LoadDefaultFontLocked();
}

bool CFontEngine::LoadDefaultFontLocked() {
    std::string file;
    int index = 0;
    if (!m_choiceFile.empty()) {
        if (std::optional<CFontChoice> kept = ReadFontChoice(m_choiceFile);
            kept && LoadFontLocked(kept->file, kept->index))
            return true;
    }
    m_fontconfigUsed = true;
    if (FcInit() && MatchFont("sans-serif:lang=zh-cn", file, index) && LoadFontLocked(file, index)) {
        if (!m_choiceFile.empty())
            KeepFontChoice(m_choiceFile, CFontChoice{file, index});
        return true;
    }
    // Any font at all rather than none.
    bool loaded = false;
    if (FcPattern* pattern = FcPatternCreate()) {
        FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, nullptr);
        if (FcFontSet* set = FcFontList(nullptr, pattern, objects)) {
            for (int i = 0; i < set->nfont && !loaded; ++i) {
                FcChar8* path = nullptr;
                int idx = 0;
                if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &path) != FcResultMatch || !path)
                    continue;
                FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &idx);
                loaded = LoadFontLocked(reinterpret_cast<const char*>(path), idx);
            }
            FcFontSetDestroy(set);
        }
        if (objects)
            FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);
    }
    return loaded;
}

int CFontEngine::Ascent(int height) const {
    std::unique_lock lock(m_mutex);
    EnsureLoaded(lock);
    height = std::clamp(height, 0, kMaxHeight);
    if (!m_face)
        return height * 88 / 100;
    return static_cast<int>(std::lround(static_cast<double>(height) * m_ascender / (m_ascender + m_descender)));
}

struct CFontEngine::CFront {
    static constexpr std::size_t kSlots = 1024;
    struct CSlot {
        std::uint64_t key = ~std::uint64_t{0};
        std::shared_ptr<const CGlyph> glyph;
    };
    std::uint64_t faceCount = ~std::uint64_t{0};
    std::vector<CSlot> slots = std::vector<CSlot>(kSlots);

    static std::size_t SlotOf(std::uint64_t key) {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 54) & (kSlots - 1);
    }
    // The remembered glyph of key, or null.
    const std::shared_ptr<const CGlyph>* Find(std::uint64_t key) const {
        const CSlot& slot = slots[SlotOf(key)];
        return slot.key == key ? &slot.glyph : nullptr;
    }
    // For the face counted count: forgets what an earlier face drew.
    void Use(std::uint64_t count) {
        if (faceCount == count)
            return;
        for (CSlot& slot : slots)
            slot = CSlot{};
        faceCount = count;
    }
};

CFontEngine::CFront& CFontEngine::Front() {
    static CThreadSlot<CFront> front;
    return front.Get();
}

const std::shared_ptr<const CFontEngine::CGlyph>& CFontEngine::GlyphRemembered(CFront& front, int height, int weight,
                                                                                char32_t cp) {
    const std::shared_ptr<const CGlyph>& glyph = GlyphLocked(height, weight, cp);
    CFront::CSlot& slot = front.slots[CFront::SlotOf(Key(std::clamp(height, 0, kMaxHeight), weight, cp))];
    slot.key = Key(std::clamp(height, 0, kMaxHeight), weight, cp);
    slot.glyph = glyph;
    return glyph;
}

std::shared_ptr<const CFontEngine::CGlyph> CFontEngine::Glyph(int height, int weight, char32_t cp) {
    CFront& front = Front();
    if (front.faceCount == m_faceCount.load(std::memory_order_acquire))
        if (const auto* glyph = front.Find(Key(std::clamp(height, 0, kMaxHeight), weight, cp)))
            return *glyph;
    std::unique_lock lock(m_mutex);
    EnsureLoaded(lock);
    front.Use(m_faceCount.load(std::memory_order_relaxed));
    return GlyphRemembered(front, height, weight, cp);
}

void CFontEngine::LineGlyphs(int height, int weight, std::u32string_view text,
                             std::vector<std::shared_ptr<const CGlyph>>& out) {
    out.clear();
    CFront& front = Front();
    // A line whose glyphs the thread looked up lately for this face takes
    // them from its front (entries are made only with the face loaded).
    if (front.faceCount == m_faceCount.load(std::memory_order_acquire)) {
        const int h = std::clamp(height, 0, kMaxHeight);
        for (char32_t cp : text) {
            const auto* glyph = front.Find(Key(h, weight, cp));
            if (!glyph)
                break;
            out.push_back(*glyph);
        }
        if (out.size() == text.size())
            return;
    }
    std::unique_lock lock(m_mutex);
    EnsureLoaded(lock);
    front.Use(m_faceCount.load(std::memory_order_relaxed));
    out.clear();
    for (char32_t cp : text)
        out.push_back(GlyphRemembered(front, height, weight, cp));
}

int CFontEngine::LineAdvance(int height, int weight, std::u32string_view text) {
    CFront& front = Front();
    if (front.faceCount == m_faceCount.load(std::memory_order_acquire)) {
        const int h = std::clamp(height, 0, kMaxHeight);
        int width = 0;
        size_t found = 0;
        for (char32_t cp : text) {
            const auto* glyph = front.Find(Key(h, weight, cp));
            if (!glyph)
                break;
            width += (*glyph)->advance;
            ++found;
        }
        if (found == text.size())
            return width;
    }
    std::unique_lock lock(m_mutex);
    EnsureLoaded(lock);
    front.Use(m_faceCount.load(std::memory_order_relaxed));
    int width = 0;
    for (char32_t cp : text)
        width += GlyphRemembered(front, height, weight, cp)->advance;
    return width;
}

const std::shared_ptr<const CFontEngine::CGlyph>& CFontEngine::GlyphLocked(int height, int weight, char32_t cp) {
    height = std::clamp(height, 0, kMaxHeight);
    auto key = Key(height, weight, cp);
    auto it = m_cache.find(key);
    if (it != m_cache.end())
        return it->second;
    auto glyph = std::make_shared<const CGlyph>(Render(height, weight >= 600, cp));
    // 64: map node and control block
    const std::size_t bytes = sizeof(CGlyph) + glyph->coverage.size() + glyph->ink.size() * sizeof(CGlyph::CInk) + 64;
    if (m_cacheBytes + bytes > kCacheBudget) {
        m_cache.clear();
        m_cacheBytes = 0;
    }
    m_cacheBytes += bytes;
    return m_cache.emplace(key, std::move(glyph)).first->second;
}

std::size_t CFontEngine::CacheBytes() const {
    std::lock_guard lock(m_mutex);
    return m_cacheBytes;
}

void CFontEngine::MeasureInk(CGlyph& g) {
    g.ink.assign(static_cast<size_t>(g.height), {});
    for (int y = 0; y < g.height; ++y) {
        const std::uint8_t* row = g.coverage.data() + static_cast<ptrdiff_t>(y) * g.width;
        int begin = 0, end = g.width;
        while (begin < end && row[begin] == 0)
            ++begin;
        while (end > begin && row[end - 1] == 0)
            --end;
        g.ink[static_cast<size_t>(y)] = {static_cast<std::uint16_t>(begin), static_cast<std::uint16_t>(end)};
    }
}

CFontEngine::CGlyph CFontEngine::Render(int height, bool bold, char32_t cp) {
    CGlyph g;
    // Control characters (line breaks, tabs) take no room and draw nothing.
    if (cp < 0x20 || height <= 0)
        return g;
    if (!m_face) {
        g.advance = IsWide(cp) ? height : (height + 1) / 2;
        return g;
    }
    FT_Face face = Face(m_face);
    if (m_sizedHeight != height) {
        FT_F26Dot6 em = static_cast<FT_F26Dot6>(
            std::floor(static_cast<double>(height) * 64.0 * face->units_per_EM / (m_ascender + m_descender)));
        if (FT_Set_Char_Size(face, 0, std::max<FT_F26Dot6>(em, 1), 72, 72) != 0)
            return g;
        m_sizedHeight = height;
    }
    FT_UInt index = FT_Get_Char_Index(face, cp);
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT) != 0)
        return g;
    FT_GlyphSlot slot = face->glyph;
    if (bold && slot->format == FT_GLYPH_FORMAT_OUTLINE)
        FT_GlyphSlot_Embolden(slot);
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return g;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_GRAY || bm.width == 0 || bm.rows == 0)
        return g;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.height = static_cast<int>(bm.rows);
    g.coverage.resize(static_cast<size_t>(g.width) * g.height);
    for (int y = 0; y < g.height; ++y) {
        const unsigned char* src = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
        std::copy(src, src + g.width, g.coverage.begin() + static_cast<ptrdiff_t>(y) * g.width);
    }
    MeasureInk(g);
    return g;
}
