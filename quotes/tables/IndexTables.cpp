// The index tables' request, row keys and cell looks.
#include "quotes/tables/IndexTables.h"

#include "core/CDataSet.h"
#include "quotes/charts/CChartCanvas.h"
#include "quotes/tables/MyQuotesStore.h"
#include "quotes/tables/QuoteRequests.h"

#include <cstdlib>

std::string ChinaIndexRequest(std::string_view preset) {
    if (preset.empty())
        return {};
    std::string text(preset);
    if (text.back() != '&')
        text += '&';
    text += "field=";
    text += kChinaIndexFields;
    return text;
}

std::string IndexRowKey(std::string_view code, std::string_view market) {
    if (code.empty() || market.empty())
        return {};
    std::string key(code);
    key += '.';
    key += market;
    key = NormalizeStockCode(key);
    return IsRequestValue(key) ? key : std::string();
}

CWString IndexCellText(const CDataSet& set, int column, bool isCount) {
    const DataSetColumn* info = set.GetColumn(column);
    if (isCount || !info || info->GetType() != DataSetType::Number)
        return set.GetFieldText(column);
    CQuoteNumber n;
    set.GetFieldNumber(n, column);
    return n.IsInvalid() ? CWString() : n.ToWideText();
}

IndexCellLook ChinaIndexCellLook(int column, const CQuoteNumber& value, const CQuoteNumber& open,
                                 const CQuoteNumber& prevClose) {
    IndexCellLook look;
    switch (column) {
    case 1: // last
    case 6: // open
    case 8: // high
    case 9: // low
        if (open.GetValue() == 0)
            look.dash = true;
        else
            look.color = CChartCanvas::GetCompareColorIndex(prevClose, value);
        break;
    case 2: // change %
    case 3: // change
        look.color = CChartCanvas::GetCompareColorIndex(CQuoteNumber(0, 0), value);
        break;
    case 4: // volume
    case 5: // amount
        look.color = 28;
        break;
    default:
        break;
    }
    return look;
}

int WorldIndexColor(int column, std::u16string_view text) {
    if (column != 2 && column != 3 && column != 7 && column != 8 && column != 9)
        return 14;
    // The text as a decimal number: its ASCII part, up to what is not one.
    std::string ascii;
    for (char16_t c : text) {
        if (c >= 0x80)
            break;
        ascii += static_cast<char>(c);
    }
    const double value = std::strtod(ascii.c_str(), nullptr);
    if (value > 0)
        return 15;
    if (value < 0)
        return 16;
    return 14;
}
