// Text lines as drawn: a line's glyphs in one text colour over one plain
// ground, kept whole for the lines drawn lately. A table draws the same
// figures in the same colours over the same ground at every repaint, and
// such a line is then one look for the ground and one copy per row instead
// of a look and a copy per glyph row. The pixels are the glyphs blended one
// after the other through the blend memo, so a copy is exactly what drawing
// glyph by glyph over that ground draws.
#pragma once

#include "platform/gdi/CBlendMemo.h"
#include "platform/gdi/CFontEngine.h"
#include "platform/gdi/Color.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

class CTextRun {
public:
    using GlyphPtr = std::shared_ptr<const CFontEngine::CGlyph>;
    struct CSpan {
        int begin = 0, end = 0; // columns of the box, [begin, end); empty when equal
    };

    // The glyphs drawn from pen 0 on baseline 0; box is the union of their
    // bitmaps (left, top relative to pen and baseline).
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<CSpan> spans;     // per box row, the columns any glyph inks
    std::vector<COLORREF> pixels; // width × height, ground where nothing is inked
    COLORREF ground = 0, color = 0;
    std::vector<GlyphPtr> glyphs; // held, so no other glyph takes their addresses

    // Lays out the glyphs' box and spans (no pixels); false when the box is
    // empty or larger than a run is kept for.
    bool Measure(const std::vector<GlyphPtr>& line);
    // The pixels over ground in colour, glyph after glyph.
    void Paint(COLORREF ground, COLORREF color, CBlendMemo& memo);
};

class CTextRunCache {
public:
    using GlyphPtr = CTextRun::GlyphPtr;
    // Larger lines (a zoomed chart's) are drawn glyph by glyph.
    static constexpr int kMaxRunPixels = 480 * 64;
    // Past this many bytes of pixels the cache starts afresh. A screen's
    // lines take 60 to 300 kB, but a finger sliding the K-line's cursor to
    // and fro shows new legends at each step: that slide takes 640 to 768 kB
    // of lines, and a smaller budget draws each of them twice.
    static constexpr size_t kBudgetBytes = size_t{1} << 20;

    // The cache of the calling thread.
    static CTextRunCache& ForThread();

    // The run of the line's glyphs in colour over the ground groundOf gives
    // for the run's measured shape, or null: when the line is not kept (too
    // large, nothing inked) or groundOf gives none (no plain ground under
    // it). A line over two grounds keeps both. The pointer holds until the
    // next call.
    template <class GroundOf>
    const CTextRun* Find(const std::vector<GlyphPtr>& line, COLORREF color, GroundOf&& groundOf, CBlendMemo& memo) {
        const size_t set = SetOf(line, color);
        CTextRun* ways[2] = {&m_slots[set * 2], &m_slots[set * 2 + 1]};
        const CTextRun* shape = nullptr;
        for (CTextRun* way : ways)
            if (Holds(*way, line, color))
                shape = way;
        CTextRun fresh;
        if (!shape) {
            if (!fresh.Measure(line))
                return nullptr;
            shape = &fresh;
        }
        const std::optional<COLORREF> ground = groundOf(*shape);
        if (!ground)
            return nullptr;
        for (CTextRun* way : ways)
            if (way->ground == *ground && Holds(*way, line, color)) {
                m_recent[set] = static_cast<unsigned char>(way - ways[0]);
                return way;
            }
        // The way used less lately takes it.
        const unsigned char taken = m_recent[set] ^ 1;
        m_recent[set] = taken;
        if (shape != &fresh)
            fresh = *shape;
        return Store(*ways[taken], std::move(fresh), line, *ground, color, memo);
    }

    size_t Count() const { return m_count; }
    size_t Bytes() const { return m_bytes; }

private:
    static constexpr size_t kSets = 1024;
    static size_t SetOf(const std::vector<GlyphPtr>& line, COLORREF color);
    static bool Holds(const CTextRun& run, const std::vector<GlyphPtr>& line, COLORREF color);
    const CTextRun* Store(CTextRun& slot, CTextRun run, const std::vector<GlyphPtr>& line, COLORREF ground,
                          COLORREF color, CBlendMemo& memo);
    void Clear();

    std::vector<CTextRun> m_slots = std::vector<CTextRun>(kSets * 2);
    std::vector<unsigned char> m_recent = std::vector<unsigned char>(kSets);
    size_t m_count = 0;
    size_t m_bytes = 0;
};
