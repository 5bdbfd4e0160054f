#include "platform/gdi/DCPixels.h"

#include <cstdint>

namespace dcpixels {

// Built for each vector width, the widest the machine runs chosen at load:
// a percent box's rows are too short for the C library's fills to pay off,
// and sixteen-byte stores take four times the steps of the widest.
__attribute__((target_clones("avx512f", "avx2", "default"))) void FillPixels(COLORREF* p, size_t count, COLORREF c) {
    using Lanes = std::uint32_t __attribute__((vector_size(64)));
    static_assert(sizeof(COLORREF) == sizeof(std::uint32_t));
    const Lanes v = Lanes{} + c;
    size_t i = 0;
    for (; i + 16 <= count; i += 16)
        std::memcpy(p + i, &v, sizeof v);
    for (; i < count; ++i)
        p[i] = c;
}

// In two lanes, so the loads need not wait on one another.
__attribute__((target_clones("avx512f", "avx2", "default"))) bool IsPlain(const COLORREF* p, size_t count,
                                                                           COLORREF ground) {
    using Lanes = std::uint32_t __attribute__((vector_size(32)));
    const Lanes g = Lanes{} + ground;
    Lanes a{}, b{};
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        Lanes x, y;
        std::memcpy(&x, p + i, sizeof x);
        std::memcpy(&y, p + i + 8, sizeof y);
        a |= x ^ g;
        b |= y ^ g;
    }
    a |= b;
    COLORREF rest = 0;
    for (size_t k = 0; k < 8; ++k)
        rest |= a[k];
    for (; i < count; ++i)
        rest |= p[i] ^ ground;
    return rest == 0;
}

} // namespace dcpixels
