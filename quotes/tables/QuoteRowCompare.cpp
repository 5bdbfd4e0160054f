// Row orders of the quote tables. Keys are read from the records each time:
// the tables hold a few dozen rows, so nothing is cached.
#include "quotes/tables/QuoteRowCompare.h"

#include "quotes/tables/CQuoteRowData.h"

#include <cmath>
#include <cstdlib>
#include <string>

double ReadCellNumber(std::u16string_view text) {
    // Collect the longest prefix of the form [sign] digits [. digits].
    std::string number;
    size_t i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        number.push_back(static_cast<char>(text[i++]));
    bool digits = false;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        number.push_back(static_cast<char>(text[i++]));
        digits = true;
    }
    if (i < text.size() && text[i] == u'.') {
        size_t j = i + 1;
        std::string fraction;
        while (j < text.size() && text[j] >= u'0' && text[j] <= u'9')
            fraction.push_back(static_cast<char>(text[j++]));
        if (!fraction.empty()) {
            number.push_back('.');
            number += fraction;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

namespace {

const CQuoteRowData* RecordOf(const UiListItem& item) {
    return reinterpret_cast<const CQuoteRowData*>(item.data);
}

// Orders by key, items without a record first; descending swaps the keys
// only, so missing records stay first either way.
template <class Key>
bool Before(const UiListItem& a, const UiListItem& b, bool descending, Key key) {
    const CQuoteRowData* ra = RecordOf(a);
    const CQuoteRowData* rb = RecordOf(b);
    if (!ra || !rb)
        return !ra && rb;
    return descending ? key(*rb) < key(*ra) : key(*ra) < key(*rb);
}

std::u16string_view NameKey(const CQuoteRowData& r) { return r.GetText(CQuoteRowData::kName).view(); }
double LastKey(const CQuoteRowData& r) { return ReadCellNumber(r.GetText(CQuoteRowData::kLast).view()); }
double ChangeKey(const CQuoteRowData& r) { return ReadCellNumber(r.GetText(CQuoteRowData::kChange).view()); }
double PctKey(const CQuoteRowData& r) { return ReadCellNumber(r.GetText(CQuoteRowData::kChangePct).view()); }

} // namespace

bool CompareNameAsc(const UiListItem& a, const UiListItem& b) { return Before(a, b, false, NameKey); }
bool CompareNameDesc(const UiListItem& a, const UiListItem& b) { return Before(a, b, true, NameKey); }
bool CompareLastAsc(const UiListItem& a, const UiListItem& b) { return Before(a, b, false, LastKey); }
bool CompareLastDesc(const UiListItem& a, const UiListItem& b) { return Before(a, b, true, LastKey); }
bool CompareChangeAsc(const UiListItem& a, const UiListItem& b) { return Before(a, b, false, ChangeKey); }
bool CompareChangeDesc(const UiListItem& a, const UiListItem& b) { return Before(a, b, true, ChangeKey); }
bool CompareChangePctAsc(const UiListItem& a, const UiListItem& b) { return Before(a, b, false, PctKey); }
bool CompareChangePctDesc(const UiListItem& a, const UiListItem& b) { return Before(a, b, true, PctKey); }
