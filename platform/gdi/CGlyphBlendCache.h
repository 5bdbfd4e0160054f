// Glyphs as drawn: a glyph's pixels over one plain ground in one text
// colour, kept for the glyphs drawn lately. A table draws the same digits
// in the same colours over the same ground row after row, and a glyph row
// over a plain ground is then one copy instead of a blend per pixel. The
// pixels are the blend memo's, so a copy is exactly what blending draws.
#pragma once

#include "platform/gdi/CBlendMemo.h"
#include "platform/gdi/CFontEngine.h"
#include "platform/gdi/Color.h"

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

class CGlyphBlendCache {
public:
    using GlyphPtr = std::shared_ptr<const CFontEngine::CGlyph>;
    // Larger glyphs (a zoomed chart's) are blended pixel by pixel.
    static constexpr int kMaxGlyphPixels = 64 * 64;
    // Past this many bytes of pixels the cache starts afresh.
    static constexpr size_t kBudgetBytes = size_t{1} << 19;

    // The cache of the calling thread.
    static CGlyphBlendCache& ForThread();

    static bool Keeps(const CFontEngine::CGlyph& glyph) {
        return glyph.width > 0 && glyph.height > 0 && glyph.width * glyph.height <= kMaxGlyphPixels;
    }
    // The glyph's width × height pixels over ground in colour (a row after
    // row), made through memo on first use; null for a glyph not kept. The
    // pointer holds until the next call.
    const COLORREF* Pixels(const GlyphPtr& glyph, COLORREF ground, COLORREF color, CBlendMemo& memo);

    size_t Count() const { return m_count; }
    size_t Bytes() const { return m_bytes; }

private:
    // Direct-mapped: a glyph drawn in new colours takes its slot's place,
    // so a look-up is one comparison.
    static constexpr size_t kSlots = 4096;
    struct CSlot {
        GlyphPtr glyph; // held, so no other glyph takes its address
        COLORREF ground = 0, color = 0;
        std::vector<COLORREF> pixels;
    };
    static size_t SlotOf(const CFontEngine::CGlyph* glyph, COLORREF ground, COLORREF color);
    void Clear();

    std::vector<CSlot> m_slots = std::vector<CSlot>(kSlots);
    size_t m_count = 0;
    size_t m_bytes = 0;
};
