#include "platform/gdi/CTextRunCache.h"
#include "platform/system/ThreadSlot.h"

#include <algorithm>
#include <cstdint>
#include <limits>

bool CTextRun::Measure(const std::vector<GlyphPtr>& line) {
    int pen = 0;
    int x0 = std::numeric_limits<int>::max(), y0 = x0, x1 = std::numeric_limits<int>::min(), y1 = x1;
    for (const GlyphPtr& glyph : line) {
        if (!glyph)
            return false;
        const CFontEngine::CGlyph& g = *glyph;
        if (g.width > 0 && g.height > 0) {
            x0 = std::min(x0, pen + g.left);
            x1 = std::max(x1, pen + g.left + g.width);
            y0 = std::min(y0, -g.top);
            y1 = std::max(y1, -g.top + g.height);
        }
        pen += g.advance;
    }
    if (x0 >= x1 || y0 >= y1 || static_cast<std::int64_t>(x1 - x0) * (y1 - y0) > CTextRunCache::kMaxRunPixels)
        return false;
    left = x0;
    top = y0;
    width = x1 - x0;
    height = y1 - y0;
    spans.assign(static_cast<size_t>(height), CSpan{width, 0});
    pen = 0;
    for (const GlyphPtr& glyph : line) {
        const CFontEngine::CGlyph& g = *glyph;
        const int gx = pen + g.left - left, gy = -g.top - top;
        for (int y = 0; y < g.height; ++y) {
            const auto ink = g.ink[static_cast<size_t>(y)];
            if (ink.begin >= ink.end)
                continue;
            CSpan& span = spans[static_cast<size_t>(gy + y)];
            span.begin = std::min(span.begin, gx + ink.begin);
            span.end = std::max(span.end, gx + ink.end);
        }
        pen += g.advance;
    }
    bool inked = false;
    for (CSpan& span : spans) {
        if (span.begin >= span.end)
            span = {};
        else
            inked = true;
    }
    return inked;
}

void CTextRun::Paint(COLORREF groundIn, COLORREF colorIn, CBlendMemo& memo) {
    ground = groundIn;
    color = colorIn;
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), ground);
    int pen = 0;
    for (const GlyphPtr& glyph : glyphs) {
        const CFontEngine::CGlyph& g = *glyph;
        const int gx = pen + g.left - left, gy = -g.top - top;
        for (int y = 0; y < g.height; ++y) {
            const auto ink = g.ink[static_cast<size_t>(y)];
            const std::uint8_t* cov = g.coverage.data() + static_cast<size_t>(y) * g.width;
            COLORREF* row = pixels.data() + static_cast<size_t>(gy + y) * width + gx;
            for (int x = ink.begin; x < ink.end; ++x)
                if (const int alpha = cov[x])
                    row[x] = memo.Mix(row[x], color, alpha);
        }
        pen += g.advance;
    }
}

CTextRunCache& CTextRunCache::ForThread() {
    static CThreadSlot<CTextRunCache> cache;
    return cache.Get();
}

size_t CTextRunCache::SetOf(const std::vector<GlyphPtr>& line, COLORREF color) {
    std::uint64_t h = std::uint64_t{color} * 0x9E3779B97F4A7C15ull;
    for (const GlyphPtr& glyph : line)
        h = (h ^ (reinterpret_cast<std::uintptr_t>(glyph.get()) >> 4)) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h >> 40) & (kSets - 1);
}

bool CTextRunCache::Holds(const CTextRun& run, const std::vector<GlyphPtr>& line, COLORREF color) {
    if (run.pixels.empty() || run.color != color || run.glyphs.size() != line.size())
        return false;
    for (size_t i = 0; i < line.size(); ++i)
        if (run.glyphs[i] != line[i])
            return false;
    return true;
}

const CTextRun* CTextRunCache::Store(CTextRun& slot, CTextRun run, const std::vector<GlyphPtr>& line,
                                     COLORREF ground, COLORREF color, CBlendMemo& memo) {
    if (!slot.pixels.empty()) {
        --m_count;
        m_bytes -= slot.pixels.size() * sizeof(COLORREF);
    }
    slot = CTextRun{};
    const size_t bytes = static_cast<size_t>(run.width) * static_cast<size_t>(run.height) * sizeof(COLORREF);
    if (m_bytes + bytes > kBudgetBytes)
        Clear();
    run.glyphs = line;
    run.Paint(ground, color, memo);
    slot = std::move(run);
    ++m_count;
    m_bytes += bytes;
    return &slot;
}

void CTextRunCache::Clear() {
    for (CTextRun& slot : m_slots)
        slot = CTextRun{};
    m_count = 0;
    m_bytes = 0;
}
