// The quote tables' request texts and the checks of what they carry.
#include "quotes/tables/QuoteRequests.h"

#include "core/StrUtil.h"
#include "framework/ui/OrderOpening.h"
#include "quotes/tables/QuoteRowFill.h"

#include <algorithm>
#include <iterator>

namespace {

// A char widens to char16_t with its sign: no byte above 0x7F is a letter.
bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The typed text, checked ASCII already, as 8-bit text.
std::string Narrow(std::u16string_view typed) {
    std::string out;
    out.reserve(typed.size());
    for (char16_t c : typed)
        out.push_back(static_cast<char>(c));
    return out;
}

} // namespace

bool IsRequestValue(std::string_view value) {
    return !value.empty() && IsPlainRequestText(value);
}

bool IsSearchableText(std::u16string_view typed) {
    return !typed.empty() && std::all_of(typed.begin(), typed.end(),
                                         [](char16_t c) { return IsAsciiLetter(c) || IsAsciiDigit(c); });
}

bool IsPinyinText(std::u16string_view typed) {
    return typed.size() >= 2 &&
           std::all_of(typed.begin(), typed.end(), [](char16_t c) { return IsAsciiLetter(c); });
}

std::string RankingPageRequest(std::string_view preset, const RankingPage& page) {
    if (!IsRequestValue(page.market) || !IsRequestValue(page.category) || !IsRequestValue(page.field))
        return {};
    std::string text(preset);
    text.append("&market=").append(page.market);
    text.append("&class=").append(page.category);
    text.append("&type=").append(page.field);
    text.append("&direct=").append(std::to_string(page.direction));
    text.append("&offset=").append(std::to_string(page.offset));
    text.append("&count=").append(std::to_string(page.count));
    return text.append("&field=").append(kQuoteRowFields);
}

std::string SectorMembersRequest(std::string_view preset) {
    if (preset.empty())
        return {};
    return std::string(preset).append("&field=").append(kQuoteRowFields);
}

std::vector<std::string> QuotableItems(const std::vector<std::string>& items) {
    std::vector<std::string> out;
    std::copy_if(items.begin(), items.end(), std::back_inserter(out),
                 [](const std::string& item) { return IsRequestValue(item); });
    return out;
}

std::string WatchListQuoteRequest(const std::vector<std::string>& items, std::string_view fields,
                                  std::string_view preset) {
    const auto refused = [](const std::string& item) { return !IsRequestValue(item); };
    if (items.empty() || std::any_of(items.begin(), items.end(), refused))
        return {};
    std::string text(preset.empty() ? kQuoteRequest : preset);
    text.append("&count=").append(std::to_string(items.size())).append("&code=");
    for (size_t i = 0; i < items.size(); ++i)
        text.append(i ? "|" : "").append(items[i]);
    return text.append("&field=").append(fields);
}

std::string PinyinSearchRequest(std::u16string_view typed) {
    if (!IsPinyinText(typed))
        return {};
    std::string pattern = Narrow(typed);
    for (char& c : pattern)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return "type=2&pattern=" + pattern;
}

std::string CodeSearchRequest(std::u16string_view typed) {
    if (!IsSearchableText(typed))
        return {};
    return std::string(kQuoteRequest)
        .append("&count=1&code=")
        .append(Narrow(typed))
        .append("&field=")
        .append(kEditorFields);
}

std::string StockCodeParam(std::string_view key) {
    return IsRequestValue(key) ? std::string("code=").append(key) : std::string();
}

std::string MinuteChartRequest(std::string_view key) {
    return IsRequestValue(key) ? std::string("date=&code=").append(key) : std::string();
}

std::string OrderRequest(bool sell) { return OrderOpeningText(OrderOpening::Of(sell)); }

std::string OrderRequest(bool sell, std::string_view code) {
    // A row without a code opens nothing, rather than a blank form.
    return code.empty() ? std::string() : OrderOpeningText(OrderOpening::Of(sell, std::string(code)));
}
