// The compare colour every quote screen uses.
#include "framework/app/CAppData.h"
#include "quotes/charts/CChartCanvas.h"
#include "support/CTempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

TEST(CompareColor, AValueAboveItsReferenceRisesBelowFallsAndEqualIsFlat) {
    EXPECT_EQ(CChartCanvas::GetCompareColorIndex(CQuoteNumber(10.0, 2), CQuoteNumber(10.5, 2)), 15);
    EXPECT_EQ(CChartCanvas::GetCompareColorIndex(CQuoteNumber(10.0, 2), CQuoteNumber(9.99, 2)), 16);
    EXPECT_EQ(CChartCanvas::GetCompareColorIndex(CQuoteNumber(10.0, 2), CQuoteNumber(10.0, 3)), 17)
        << "codes are not compared";
    EXPECT_EQ(CChartCanvas::GetCompareColorIndex(CQuoteNumber(), CQuoteNumber(-0.01, 3)), 16);
}

TEST(CompareColor, TwoMissingMarkersAreEqualAndFlat) {
    CQuoteNumber missing;
    missing.FromPacked(CQuoteNumber::kMissingPacked);
    EXPECT_EQ(CChartCanvas::GetCompareColorIndex(missing, missing), 17);
}

TEST(CompareColor, TheColoursAreThoseOfTheSchemeOrTheDefaultSchemeWithoutOne) {
    ASSERT_EQ(CAppData::Instance(), nullptr);
    EXPECT_EQ(CChartCanvas::GetCompareColor(CQuoteNumber(1, 0), CQuoteNumber(2, 0)), 0x2626FFu);
    EXPECT_EQ(CChartCanvas::GetCompareColor(CQuoteNumber(2, 0), CQuoteNumber(1, 0)), 0x17FF17u);
    EXPECT_EQ(CChartCanvas::GetCompareColor(CQuoteNumber(1, 0), CQuoteNumber(1, 0)), 0xFFFFFFu);

    const CTempDir dir("orb_color");
    CAppData* app = CAppData::Create(dir.Path().string());
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(CChartCanvas::GetCompareColor(CQuoteNumber(1, 0), CQuoteNumber(2, 0)), app->GetColor(15));
    EXPECT_EQ(CChartCanvas::GetCompareColor(CQuoteNumber(2, 0), CQuoteNumber(1, 0)), app->GetColor(16));
    EXPECT_EQ(CChartCanvas::GetCompareColor(CQuoteNumber(1, 0), CQuoteNumber(1, 0)), app->GetColor(17));
    CAppData::Destroy();
}

} // namespace
