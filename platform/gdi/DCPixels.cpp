#include "platform/gdi/DCPixels.h"

#include <cstdint>

namespace dcpixels {

// Both are built for each vector width, the widest the machine runs chosen
// at load: a percent box's rows and a text's ink are too short for the C
// library's routines to pay off, and sixteen-byte steps take four times
// the steps of the widest. A run's last part is one step too, laid over
// pixels already done: texts' spans are short, and a tail pixel by pixel
// would cost as much as the rest.

__attribute__((target_clones("avx512f", "avx2", "default"))) void FillPixels(COLORREF* p, size_t count, COLORREF c) {
    using Lanes = std::uint32_t __attribute__((vector_size(32)));
    static_assert(sizeof(COLORREF) == sizeof(std::uint32_t));
    constexpr size_t kStep = sizeof(Lanes) / sizeof(COLORREF);
    if (count < kStep) {
        for (size_t i = 0; i < count; ++i)
            p[i] = c;
        return;
    }
    const Lanes v = Lanes{} + c;
    size_t i = 0;
    for (; i + 2 * kStep <= count; i += 2 * kStep) {
        std::memcpy(p + i, &v, sizeof v);
        std::memcpy(p + i + kStep, &v, sizeof v);
    }
    if (i + kStep <= count) {
        std::memcpy(p + i, &v, sizeof v);
        i += kStep;
    }
    if (i < count)
        std::memcpy(p + count - kStep, &v, sizeof v);
}

__attribute__((target_clones("avx512f", "avx2", "default"))) bool IsPlain(const COLORREF* p, size_t count,
                                                                           COLORREF ground) {
    using Lanes = std::uint32_t __attribute__((vector_size(32)));
    constexpr size_t kStep = sizeof(Lanes) / sizeof(COLORREF);
    if (count < kStep) {
        COLORREF any = 0;
        for (size_t i = 0; i < count; ++i)
            any |= p[i] ^ ground;
        return any == 0;
    }
    const Lanes g = Lanes{} + ground;
    // Two lanes, so the loads need not wait on one another.
    Lanes a{}, b{};
    size_t i = 0;
    for (; i + 2 * kStep <= count; i += 2 * kStep) {
        Lanes x, y;
        std::memcpy(&x, p + i, sizeof x);
        std::memcpy(&y, p + i + kStep, sizeof y);
        a |= x ^ g;
        b |= y ^ g;
    }
    if (i + kStep <= count) {
        Lanes x;
        std::memcpy(&x, p + i, sizeof x);
        a |= x ^ g;
        i += kStep;
    }
    if (i < count) {
        Lanes x;
        std::memcpy(&x, p + count - kStep, sizeof x);
        b |= x ^ g;
    }
    a |= b;
    COLORREF any = 0;
    for (size_t k = 0; k < kStep; ++k)
        any |= a[k];
    return any == 0;
}

} // namespace dcpixels
