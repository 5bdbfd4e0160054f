#include "platform/gdi/CGlyphBlendCache.h"

#include <functional>

CGlyphBlendCache& CGlyphBlendCache::ForThread() {
    thread_local CGlyphBlendCache cache;
    return cache;
}

size_t CGlyphBlendCache::CKeyHash::operator()(const CKey& k) const {
    const size_t a = std::hash<const void*>()(k.glyph);
    const size_t b = (static_cast<size_t>(k.ground) << 24) ^ k.color;
    return a ^ (b + 0x9E3779B97F4A7C15ull + (a << 6) + (a >> 2));
}

const COLORREF* CGlyphBlendCache::Pixels(const GlyphPtr& glyph, COLORREF ground, COLORREF color, CBlendMemo& memo) {
    if (!glyph || !Keeps(*glyph))
        return nullptr;
    const CKey key{glyph.get(), ground, color};
    if (auto it = m_entries.find(key); it != m_entries.end())
        return it->second.pixels.data();
    const size_t count = static_cast<size_t>(glyph->width) * static_cast<size_t>(glyph->height);
    if (m_bytes + count * sizeof(COLORREF) > kBudgetBytes) {
        m_entries.clear();
        m_bytes = 0;
    }
    CEntry entry{glyph, std::vector<COLORREF>(count)};
    for (size_t i = 0; i < count; ++i)
        entry.pixels[i] = glyph->coverage[i] ? memo.Mix(ground, color, glyph->coverage[i]) : ground;
    m_bytes += count * sizeof(COLORREF);
    return m_entries.emplace(key, std::move(entry)).first->second.pixels.data();
}
