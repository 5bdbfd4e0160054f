// A memory device context the size of a picture control: the owner draws
// its picture into it at leisure and invalidates the control, which copies
// it to the screen when painting. Resizing starts a fresh, cleared bitmap.
#pragma once

#include "platform/gdi/CDC.h"

#include <memory>

class UiMemDC {
public:
    UiMemDC();
    ~UiMemDC();

    // Makes a width × height bitmap cleared to fill; false for an empty size.
    bool Create(int width, int height, COLORREF fill = 0);
    bool IsCreated() const { return m_dc != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The DC to draw into; null before Create.
    CDC* GetDC() const { return m_dc.get(); }
    // Clears the whole bitmap, its texts included.
    void Clear(COLORREF fill);

private:
    std::unique_ptr<CDC> m_dc;
    int m_width = 0;  // pixels
    int m_height = 0; // pixels
};
