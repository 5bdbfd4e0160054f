#include "platform/gdi/CBlendMemo.h"
#include "platform/system/ThreadSlot.h"

namespace {
// n / 255 rounded toward zero for |n| ≤ 65152 (every blend term), by a
// multiply and a shift instead of a division: text blending runs per pixel.
inline int DivideBy255(int n) {
    return n >= 0 ? static_cast<int>((static_cast<unsigned>(n) * 32897u) >> 23)
                  : -static_cast<int>((static_cast<unsigned>(-n) * 32897u) >> 23);
}
} // namespace

CBlendMemo& CBlendMemo::ForThread() {
    static CThreadSlot<CBlendMemo> memo;
    return memo.Get();
}

COLORREF CBlendMemo::Blend(COLORREF dst, COLORREF src, int alpha) {
    auto mix = [alpha](int d, int s) { return d + DivideBy255((s - d) * alpha + 127); };
    return MakeRgb(mix(GetRValue(dst), GetRValue(src)), mix(GetGValue(dst), GetGValue(src)),
                   mix(GetBValue(dst), GetBValue(src)));
}

void CBlendMemo::Select(COLORREF dst, COLORREF src) {
    for (CPair& pair : m_pairs)
        if (pair.dst == dst && pair.src == src) {
            m_current = &pair;
            return;
        }
    CPair& pair = m_pairs[m_next];
    m_next = (m_next + 1) % kPairs;
    pair.dst = dst;
    pair.src = src;
    pair.mixed.fill(kUnknown);
    pair.mixed[0] = dst;
    pair.mixed[255] = src;
    m_current = &pair;
}
