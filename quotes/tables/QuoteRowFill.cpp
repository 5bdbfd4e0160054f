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

// A price, a price change or a percentage is never a count of 万 or 亿: the
// code of its packed number gives only its decimals (2 for A shares and
// indices, 3 for funds and B shares), so it shows without a unit word.
CWString UnitFreeText(const CDataSet& set, int column) {
    const DataSetColumn* info = set.GetColumn(column);
    if (!info || info->GetType() != DataSetType::Number)
        return set.GetFieldText(column);
    CQuoteNumber n;
    set.GetFieldNumber(n, column);
    return n.ToWideText();
}
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
                row->SetCell(CQuoteRowData::kLast, UnitFreeText(set, c).view(),
                             CChartCanvas::GetCompareColor(number(kPrevClose), number(kLast)),
                             CQuoteRowData::kKindLast);
            else
                row->SetCell(CQuoteRowData::kLast, u"-", plain, CQuoteRowData::kKindLast);
            break;
        case kChange:
            row->SetCell(CQuoteRowData::kChange, UnitFreeText(set, c).view(),
                         CChartCanvas::GetCompareColor(zero, number(c)), CQuoteRowData::kKindChange);
            break;
        case kChangePct:
            row->SetCell(CQuoteRowData::kChangePct, UnitFreeText(set, c).view(),
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
