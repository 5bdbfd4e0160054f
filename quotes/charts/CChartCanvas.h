// The chart canvas of the minute and K-line charts. For now it holds the
// colour rule every quote screen shares: how a value compares with its
// reference (the previous close for prices, 0 for changes).
#pragma once

#include "core/CQuoteNumber.h"
#include "platform/gdi/Color.h"

class CChartCanvas {
public:
    // Palette indexes of the rule.
    static constexpr int kRiseColor = 15;
    static constexpr int kFallColor = 16;
    static constexpr int kFlatColor = 17;

    // 15 when reference < value, 16 when reference > value, 17 when equal
    // (the double values compared; two missing markers are equal).
    static int GetCompareColorIndex(const CQuoteNumber& reference, const CQuoteNumber& value);
    // The palette colour of that index in the application state's scheme,
    // or of the default scheme without one.
    static COLORREF GetCompareColor(const CQuoteNumber& reference, const CQuoteNumber& value);
};
