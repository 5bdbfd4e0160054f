// The picture control's memory DC.
#include "platform/ui/UiMemDC.h"

UiMemDC::UiMemDC() = default;

UiMemDC::~UiMemDC() = default;

bool UiMemDC::Create(int width, int height, COLORREF fill) {
    if (width <= 0 || height <= 0) {
        m_dc.reset();
        m_width = m_height = 0;
        return false;
    }
    m_dc = CDC::CreateMemoryDC(width, height);
    m_width = width;
    m_height = height;
    Clear(fill);
    return m_dc != nullptr;
}

void UiMemDC::Clear(COLORREF fill) {
    if (!m_dc)
        return;
    m_dc->FillRect({0, 0, m_width, m_height}, fill);
    if (CSurface* s = m_dc->GetSurface())
        s->ClearTexts();
}
