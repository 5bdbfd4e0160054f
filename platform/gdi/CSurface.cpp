// Pixel storage, the text log and PNG output of a surface (see CSurface.h).
#include "platform/gdi/CSurface.h"

#include "platform/gdi/PngWrite.h"

#include <algorithm>
#include <cstdint>

CSurface::CSurface(int width, int height, COLORREF fill) { Resize(width, height, fill); }

void CSurface::Resize(int width, int height, COLORREF fill) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_pixels.assign(static_cast<size_t>(m_width) * m_height, fill);
    m_texts.clear();
}

COLORREF CSurface::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0xFFFFFFFF;
    return m_pixels[static_cast<size_t>(y) * m_width + x];
}

void CSurface::SetPixel(int x, int y, COLORREF c) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_pixels[static_cast<size_t>(y) * m_width + x] = c & 0x00FFFFFF;
}

void CSurface::ClearTextsIn(const CRect& rect) {
    if (!m_logTexts)
        return;
    std::erase_if(m_texts, [&](const CDrawnText& t) {
        return t.rect.left >= rect.left && t.rect.top >= rect.top && t.rect.right <= rect.right &&
               t.rect.bottom <= rect.bottom;
    });
}

bool CSurface::SavePng(const std::string& path) const {
    if (m_width <= 0 || m_height <= 0)
        return false;
    std::vector<std::uint8_t> rgb(static_cast<size_t>(m_width) * m_height * 3);
    for (size_t i = 0; i < m_pixels.size(); ++i) {
        rgb[i * 3] = static_cast<std::uint8_t>(GetRValue(m_pixels[i]));
        rgb[i * 3 + 1] = static_cast<std::uint8_t>(GetGValue(m_pixels[i]));
        rgb[i * 3 + 2] = static_cast<std::uint8_t>(GetBValue(m_pixels[i]));
    }
    return WritePng(path, rgb.data(), m_width, m_height, PngFormat::Rgb);
}
