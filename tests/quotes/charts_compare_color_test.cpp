// The compare colour every quote screen uses.
#include "framework/app/CAppData.h"
#include "quotes/charts/CChartCanvas.h"
#include "support/CTempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(CompareColor, AValueAboveItsReferenceRisesBelowFallsAndEqualIsFlatInTheSchemeOrTheDefaultOne) {
    CQuoteNumber missing;
    missing.FromPacked(CQuoteNumber::kMissingPacked);
    const std::tuple<CQuoteNumber, CQuoteNumber, int, COLORREF> cases[] = {
        {CQuoteNumber(10.0, 2), CQuoteNumber(10.5, 2), 15, 0x2626FF},
        {CQuoteNumber(10.0, 2), CQuoteNumber(9.99, 2), 16, 0x17FF17},
        {CQuoteNumber(10.0, 2), CQuoteNumber(10.0, 3), 17, 0xFFFFFF}, // codes are not compared
        {CQuoteNumber(), CQuoteNumber(-0.01, 3), 16, 0x17FF17},
        {missing, missing, 17, 0xFFFFFF},
    };
    ASSERT_EQ(CAppData::Instance(), nullptr);
    for (const auto& [value, ref, index, color] : cases) {
        EXPECT_EQ(CChartCanvas::GetCompareColorIndex(value, ref), index) << ref.GetValue();
        EXPECT_EQ(CChartCanvas::GetCompareColor(value, ref), color) << ref.GetValue();
    }
    const CTempDir dir("orb_color");
    CAppData* app = CAppData::Create(dir.Path().string());
    ASSERT_NE(app, nullptr);
    for (const auto& [value, ref, index, color] : cases)
        EXPECT_EQ(CChartCanvas::GetCompareColor(value, ref), app->GetColor(index));
    CAppData::Destroy();
}

} // namespace
