// A 32-bit pixel surface (the screen, a window's bitmap, a memory bitmap)
// and the texts drawn onto it.
//
// Pixels hold COLORREF values (0x00BBGGRR). Besides the pixels a surface
// keeps a log of the texts drawn on it (text, rectangle, colour), so a test
// reads what a window shows without comparing pixels: block transfers carry
// the texts of the copied area along, and filling a whole surface clears it.
#pragma once

#include "platform/Geometry.h"
#include "platform/gdi/Color.h"

#include <string>
#include <vector>

struct CDrawnText {
    std::u16string text; // as drawn (after ellipsis)
    CRect rect;          // the glyphs' box in surface pixels: the drawn lines' cells
                         // (advance width × font height), clipped as drawn
    COLORREF color = 0;
};

class CSurface {
public:
    CSurface() = default;
    CSurface(int width, int height, COLORREF fill = 0);

    void Resize(int width, int height, COLORREF fill = 0); // clears pixels and texts
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF GetPixel(int x, int y) const;     // 0xFFFFFFFF outside
    void SetPixel(int x, int y, COLORREF c);   // ignored outside
    COLORREF* Row(int y) { return m_pixels.data() + static_cast<size_t>(y) * m_width; }
    const COLORREF* Row(int y) const { return m_pixels.data() + static_cast<size_t>(y) * m_width; }

    const std::vector<CDrawnText>& Texts() const { return m_texts; }
    void AddText(CDrawnText t) {
        if (m_logTexts)
            m_texts.push_back(std::move(t));
    }
    void ClearTexts() {
        if (m_logTexts)
            m_texts.clear();
    }
    // Drops the texts lying wholly inside rect (it was painted over).
    void ClearTextsIn(const CRect& rect);

    // A partial repaint: while a damage rectangle is set, every drawing
    // context made on the surface draws only inside it, but logs texts and
    // clears them as the full paint would, so the log reads the same.
    void SetDamage(const CRect& rect) {
        m_damage = rect;
        m_hasDamage = true;
    }
    void ClearDamage() { m_hasDamage = false; }
    bool HasDamage() const { return m_hasDamage; }
    const CRect& GetDamage() const { return m_damage; }
    // Off while the second and later rectangles of one repaint are drawn:
    // the first pass has logged every text already.
    void SetTextLogging(bool on) { m_logTexts = on; }
    bool LogsTexts() const { return m_logTexts; }

    // Writes the surface as an 8-bit RGB PNG; false on failure.
    bool SavePng(const std::string& path) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels;
    std::vector<CDrawnText> m_texts;
    CRect m_damage;
    bool m_hasDamage = false;
    bool m_logTexts = true;
};
