#include "platform/gdi/CGlyphBlendCache.h"
#include "platform/system/ThreadSlot.h"

#include <cstdint>

CGlyphBlendCache& CGlyphBlendCache::ForThread() {
    static CThreadSlot<CGlyphBlendCache> cache;
    return cache.Get();
}

size_t CGlyphBlendCache::SlotOf(const CFontEngine::CGlyph* glyph, COLORREF ground, COLORREF color) {
    std::uint64_t h = reinterpret_cast<std::uintptr_t>(glyph) >> 4;
    h ^= (std::uint64_t{ground} << 24) ^ (std::uint64_t{color} << 1);
    h *= 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h >> 52) & (kSlots - 1);
}

void CGlyphBlendCache::Clear() {
    for (CSlot& slot : m_slots)
        slot = CSlot{};
    m_count = 0;
    m_bytes = 0;
}

const COLORREF* CGlyphBlendCache::Pixels(const GlyphPtr& glyph, COLORREF ground, COLORREF color, CBlendMemo& memo) {
    if (!glyph || !Keeps(*glyph))
        return nullptr;
    CSlot* slot = &m_slots[SlotOf(glyph.get(), ground, color)];
    if (slot->glyph == glyph && slot->ground == ground && slot->color == color)
        return slot->pixels.data();
    const size_t count = static_cast<size_t>(glyph->width) * static_cast<size_t>(glyph->height);
    if (slot->glyph) {
        --m_count;
        m_bytes -= slot->pixels.size() * sizeof(COLORREF);
    }
    if (m_bytes + count * sizeof(COLORREF) > kBudgetBytes)
        Clear();
    slot->glyph = glyph;
    slot->ground = ground;
    slot->color = color;
    slot->pixels.resize(count);
    for (size_t i = 0; i < count; ++i)
        slot->pixels[i] = glyph->coverage[i] ? memo.Mix(ground, color, glyph->coverage[i]) : ground;
    ++m_count;
    m_bytes += count * sizeof(COLORREF);
    return slot->pixels.data();
}
