// Blocks, images and the stock looks of the device context (see CDC.h):
// copies between surfaces (texts logged on the source move along), images
// blended by their alpha, and the gradient bars.
#include "platform/gdi/CDC.h"

#include "platform/gdi/CImage.h"
#include "platform/gdi/DCPixels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

using namespace dcpixels;

namespace {
// The pressed header column's grey gradient.
constexpr COLORREF kGradientTop = 0xDCDCDC, kGradientBottom = 0x8C8C8C;

COLORREF Lerp(COLORREF a, COLORREF b, int num, int den) {
    if (den <= 0)
        return a;
    auto mix = [num, den](int x, int y) { return static_cast<int>(x + std::int64_t{y - x} * num / den); };
    return MakeRgb(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}
} // namespace

void CDC::BitBlt(int xIn, int yIn, int wIn, int hIn, const CDC& src, int sxIn, int syIn) {
    if (!m_surface || !src.m_surface || wIn <= 0 || hIn <= 0)
        return;
    const int x = Near(xIn), y = Near(yIn), w = Near(wIn), h = Near(hIn), sx = Near(sxIn), sy = Near(syIn);
    const CSurface& from = *src.m_surface;
    CRect srcArea =
        CRect::FromSize(sx + src.m_origin.x, sy + src.m_origin.y, w, h).Intersect({0, 0, from.Width(), from.Height()});
    if (srcArea.IsEmpty())
        return;
    int dx = x + m_origin.x - (sx + src.m_origin.x); // source → destination, surface pixels
    int dy = y + m_origin.y - (sy + src.m_origin.y);
    const CRect logDst = srcArea.Offset(dx, dy).Intersect(m_logClip);
    const CRect dst = logDst.Intersect(m_clip);
    if (logDst.IsEmpty())
        return;
    // Copy through a buffer and snapshot the texts first when source and
    // destination are the same surface; another surface is copied row by
    // row straight away.
    const bool sameSurface = &from == m_surface;
    std::vector<COLORREF> block;
    if (sameSurface && !dst.IsEmpty()) {
        block.reserve(static_cast<size_t>(dst.Width()) * dst.Height());
        for (int row = dst.top; row < dst.bottom; ++row) {
            const COLORREF* p = from.Row(row - dy) + (dst.left - dx);
            block.insert(block.end(), p, p + dst.Width());
        }
    }
    std::vector<CDrawnText> texts;
    // A destination that logs nothing (a later pass of a repaint) needs no
    // copies of the texts.
    static const std::vector<CDrawnText> kNone;
    for (const auto& t : m_surface->LogsTexts() ? from.Texts() : kNone) {
        if (t.rect.left >= srcArea.left && t.rect.top >= srcArea.top && t.rect.right <= srcArea.right &&
            t.rect.bottom <= srcArea.bottom) {
            CDrawnText moved = t;
            moved.rect = t.rect.Offset(dx, dy).Intersect(logDst);
            if (!moved.rect.IsEmpty())
                texts.push_back(std::move(moved));
        }
    }
    for (int row = dst.top; !dst.IsEmpty() && row < dst.bottom; ++row) {
        const COLORREF* p = sameSurface ? block.data() + static_cast<size_t>(row - dst.top) * dst.Width()
                                        : from.Row(row - dy) + (dst.left - dx);
        std::copy_n(p, dst.Width(), m_surface->Row(row) + dst.left);
    }
    m_surface->ClearTextsIn(logDst);
    for (auto& t : texts)
        m_surface->AddText(std::move(t));
}

void CDC::DrawImage(const CImage& image, const CRect& dst) {
    bool ownSize = dst.Width() == image.Width() && dst.Height() == image.Height();
    DrawImage(image, dst, ownSize ? ImageFilter::Nearest : ImageFilter::Bilinear);
}

void CDC::DrawImage(const CImage& image, const CRect& dstRect, ImageFilter filter) {
    CRect dst = Normalized(dstRect);
    if (!m_surface || !image.IsLoaded() || dst.IsEmpty())
        return;
    const CRect target = ToSurface(dst).Intersect(m_clip);
    if (target.IsEmpty())
        return;
    const bool bilinear = filter == ImageFilter::Bilinear;
    const int width = dst.Width(), height = dst.Height();
    auto blend = [](COLORREF d, const CScaledImage::Partial& p) {
        const double keep = 1.0 - p.a / 255.0;
        return MakeRgb(static_cast<int>(std::lround(p.r + GetRValue(d) * keep)),
                       static_cast<int>(std::lround(p.g + GetGValue(d) * keep)),
                       static_cast<int>(std::lround(p.b + GetBValue(d) * keep)));
    };
    const int dx0 = target.left - m_origin.x - dst.left;
    const int dy0 = target.top - m_origin.y - dst.top;
    if (static_cast<long>(width) * height > CImage::kMaxScaledArea) {
        // Too large to keep: sample each pixel shown.
        for (int sy = target.top; sy < target.bottom; ++sy) {
            COLORREF* row = m_surface->Row(sy);
            for (int sx = target.left; sx < target.right; ++sx) {
                const CScaledImage::Partial p =
                    image.Sample(dx0 + sx - target.left, dy0 + sy - target.top, width, height, bilinear);
                if (p.a > 0)
                    row[sx] = blend(row[sx], p);
            }
        }
        return;
    }
    const CScaledImage& scaled = image.Scaled(width, height, bilinear);
    // A partial pixel over the ground it was blended over last is looked up.
    if (scaled.blendGrounds.size() != scaled.partial.size()) {
        scaled.blendGrounds.assign(scaled.partial.size(), CScaledImage::kNoGround);
        scaled.blends.assign(scaled.partial.size(), 0);
    }
    auto blendPartial = [&](COLORREF d, std::uint32_t index) {
        if (d & CScaledImage::kNoGround)
            return blend(d, scaled.partial[index]);
        if (scaled.blendGrounds[index] != d) {
            scaled.blendGrounds[index] = d;
            scaled.blends[index] = blend(d, scaled.partial[index]);
        }
        return scaled.blends[index];
    };
    for (int sy = target.top; sy < target.bottom; ++sy) {
        COLORREF* row = m_surface->Row(sy);
        const int dy = dy0 + sy - target.top;
        const size_t base = static_cast<size_t>(dy) * static_cast<size_t>(width);
        // Destination columns of the row's shown pixels.
        const CScaledImage::Span shown = scaled.shown[static_cast<size_t>(dy)];
        const int from = std::max(target.left, target.left - dx0 + shown.begin);
        const int to = std::min(target.right, target.left - dx0 + shown.end);
        for (int sx = from; sx < to; ++sx) {
            const size_t i = base + static_cast<size_t>(dx0 + sx - target.left);
            switch (scaled.kind[i]) {
            case CScaledImage::kOpaque:
                row[sx] = scaled.value[i];
                break;
            case CScaledImage::kPartial:
                row[sx] = blendPartial(row[sx], scaled.value[i]);
                break;
            default:
                break;
            }
        }
    }
}

void CDC::FillGradient(const CRect& rect, COLORREF top, COLORREF bottom) {
    CRect r = Normalized(rect);
    int span = std::max(r.Height() - 1, 1);
    // Only the rows inside the clip: a huge bar costs no more than the screen.
    const int first = std::max(r.top, m_clip.top - m_origin.y);
    const int last = std::min(r.bottom, m_clip.bottom - m_origin.y);
    for (int y = first; y < last; ++y)
        FillRect({r.left, y, r.right, y + 1}, Lerp(top, bottom, y - r.top, span));
    if (m_surface)
        m_surface->ClearTextsIn(ToSurface(r).Intersect(m_logClip));
}

void CDC::DrawGradientBar(const CRect& r) { FillGradient(r, kGradientTop, kGradientBottom); }

void CDC::DrawSelectionBand(const CRect& rect) {
    CRect r = Normalized(rect);
    if (r.IsEmpty())
        return;
    FillGradient({r.left, r.top, r.right, r.bottom - 1}, kSelectionBandTop, kSelectionBandBottom);
    FillRect({r.left, r.bottom - 1, r.right, r.bottom}, kSelectionBandEdge);
}
