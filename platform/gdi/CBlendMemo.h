// Text blends one colour over mostly one ground, pixel after pixel. The
// pixels of the last few (ground, colour) pairs are kept per coverage value
// (0 keeps the ground, 255 is the colour), each worked out on its first
// use, so a glyph's pixel over a known ground is one look-up.
#pragma once

#include "platform/gdi/Color.h"

#include <array>
#include <cstddef>

class CBlendMemo {
public:
    // The memo of the calling thread.
    static CBlendMemo& ForThread();

    // The pixel of ground dst under colour src at coverage alpha (0..255).
    COLORREF Mix(COLORREF dst, COLORREF src, int alpha) {
        if (dst != m_current->dst || src != m_current->src)
            Select(dst, src);
        COLORREF& mixed = m_current->mixed[static_cast<size_t>(alpha)];
        if (mixed == kUnknown)
            mixed = Blend(dst, src, alpha);
        return mixed;
    }

    // The blend itself: each channel moved from dst toward src by alpha/255,
    // rounded.
    static COLORREF Blend(COLORREF dst, COLORREF src, int alpha);

private:
    // No blend has the top byte set.
    static constexpr COLORREF kUnknown = 0xFF000000;
    static constexpr size_t kPairs = 8;
    struct CPair {
        COLORREF dst = kUnknown, src = kUnknown;
        std::array<COLORREF, 256> mixed{};
    };
    // Makes the pair current, taking over the oldest when it is new.
    void Select(COLORREF dst, COLORREF src);

    std::array<CPair, kPairs> m_pairs{};
    CPair* m_current = &m_pairs[0];
    size_t m_next = 0;
};
