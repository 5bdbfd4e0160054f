// The chart canvas: the shared compare-colour rule.
#include "quotes/charts/CChartCanvas.h"

#include "framework/app/CAppData.h"

int CChartCanvas::GetCompareColorIndex(const CQuoteNumber& reference, const CQuoteNumber& value) {
    if (reference < value)
        return kRiseColor;
    if (reference > value)
        return kFallColor;
    return kFlatColor;
}

COLORREF CChartCanvas::GetCompareColor(const CQuoteNumber& reference, const CQuoteNumber& value) {
    const int index = GetCompareColorIndex(reference, value);
    if (const CAppData* app = CAppData::Instance())
        return app->GetColor(index);
    // The default scheme's rise, fall and flat colours.
    switch (index) {
    case kRiseColor:
        return 0x2626FF;
    case kFallColor:
        return 0x17FF17;
    default:
        return 0xFFFFFF;
    }
}
