// Pixel runs filled and tested in vector steps, with their last part laid
// over pixels already done: every length must fill exactly its pixels and
// find any pixel off the ground.
#include "platform/gdi/DCPixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {
constexpr COLORREF kGround = 0x203040;
constexpr COLORREF kFill = 0x14C8F0;
constexpr size_t kMargin = 20;

TEST(PixelRuns, AFillCoversItsPixelsAndNoOthers) {
    for (size_t count = 0; count <= 70; ++count) {
        std::vector<COLORREF> pixels(count + 2 * kMargin, kGround);
        dcpixels::FillPixels(pixels.data() + kMargin, count, kFill);
        for (size_t i = 0; i < pixels.size(); ++i)
            ASSERT_EQ(pixels[i], i >= kMargin && i < kMargin + count ? kFill : kGround)
                << "pixel " << i << " of a run of " << count;
    }
}

TEST(PixelRuns, APlainRunIsOneWithNoPixelOffItsGround) {
    for (size_t count = 0; count <= 70; ++count) {
        // Off-ground pixels just outside the run do not count.
        std::vector<COLORREF> pixels(count + 2 * kMargin, kFill);
        std::fill(pixels.begin() + kMargin, pixels.begin() + kMargin + count, kGround);
        ASSERT_TRUE(dcpixels::IsPlain(pixels.data() + kMargin, count, kGround)) << count;
        for (size_t odd = 0; odd < count; ++odd) {
            pixels[kMargin + odd] = kGround ^ 0x010000;
            ASSERT_FALSE(dcpixels::IsPlain(pixels.data() + kMargin, count, kGround)) << odd << " of " << count;
            pixels[kMargin + odd] = kGround;
        }
    }
}

} // namespace
