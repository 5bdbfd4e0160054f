// Quote table row records from reply rows.
#include "quotes/tables/QuoteRowFill.h"

#include "core/CDataSet.h"
#include "core/CQuoteNumber.h"
#include "framework/app/CAppData.h"
#include "quotes/charts/CChartCanvas.h"
#include "quotes/tables/CQuoteRowData.h"

#include <string>

namespace {
enum Column : int { kName, kCode, kLast, kChange, kChangePct, kOpen, kPrevClose, kMarket };
constexpr int kDefaultColorIndex = 14; // palette: default table text
constexpr COLORREF kDefaultColor = 0xFFFFFF;
} // namespace

CQuoteRowData* MakeQuoteRow(const CDataSet& set, bool widenMarket) {
    CAppData* app = CAppData::Instance();
    const COLORREF plain = app ? app->GetColor(kDefaultColorIndex) : kDefaultColor;
    auto* row = new CQuoteRowData();
    const int columns = set.GetColumnCount();
    const CQuoteNumber zero;
    auto number = [&](int column) {
        CQuoteNumber n;
        set.GetFieldNumber(n, column);
        return n;
    };
    for (int c = 0; c < columns; ++c) {
        switch (c) {
        case kName:
            row->SetCell(CQuoteRowData::kName, set.GetFieldText(c).view(), plain, CQuoteRowData::kKindName);
            break;
        case kCode:
            row->SetCell(CQuoteRowData::kCode, set.GetFieldText(c).view(), plain, CQuoteRowData::kKindCode);
            break;
        case kLast:
            // A stock not traded today (open 0) has no last price to show.
            if (number(kOpen) != zero)
                row->SetCell(CQuoteRowData::kLast, set.GetFieldText(c).view(),
                             CChartCanvas::GetCompareColor(number(kPrevClose), number(kLast)),
                             CQuoteRowData::kKindLast);
            else
                row->SetCell(CQuoteRowData::kLast, u"-", plain, CQuoteRowData::kKindLast);
            break;
        case kChange:
            row->SetCell(CQuoteRowData::kChange, set.GetFieldText(c).view(),
                         CChartCanvas::GetCompareColor(zero, number(c)), CQuoteRowData::kKindChange);
            break;
        case kChangePct:
            row->SetCell(CQuoteRowData::kChangePct, set.GetFieldText(c).view(),
                         CChartCanvas::GetCompareColor(zero, number(c)), CQuoteRowData::kKindChangePct);
            break;
        case kMarket: {
            std::u16string market = set.GetFieldText(c).str();
            if (widenMarket && market.size() == 1)
                market.insert(market.begin(), u'0');
            row->SetCell(CQuoteRowData::kMarket, market, plain, CQuoteRowData::kKindMarket);
            break;
        }
        default:
            break;
        }
    }
    return row;
}
