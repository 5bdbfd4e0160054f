// The same-day table's texts; see the header.
#include "trade/queries/TradeQueryText.h"

#include "framework/app/TradeMarket.h"
#include "framework/ui/OrderOpening.h"

#include <algorithm>

namespace {
bool IsPlain(std::string_view value) {
    return !value.empty() && std::all_of(value.begin(), value.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}
} // namespace

TradeQueryVariant TradeQueryVariantOf(int menuId) {
    if (menuId == kTodayOrdersMenuId)
        return TradeQueryVariant::Orders;
    if (menuId == kCancelMenuId)
        return TradeQueryVariant::Cancel;
    return TradeQueryVariant::Plain;
}

std::array<std::u16string_view, 3> TradeQueryToolbar(TradeQueryVariant variant) {
    switch (variant) {
    case TradeQueryVariant::Orders:
        return {u"选项", u"分时", u"返回"};
    case TradeQueryVariant::Cancel:
        return {u"首页", u"撤单", u"返回"};
    case TradeQueryVariant::Plain:
        break;
    }
    return {u"首页", u"确定", u"返回"};
}

std::string MinuteChartRequest(std::string_view code, bool hasMarket, std::string_view tradeMarket) {
    if (!IsPlain(code))
        return {};
    std::string out = "date=&code=";
    out += code;
    if (!hasMarket)
        return out;
    const std::string market(tradeMarket);
    const int quoteMarket = TradeMarketToQuoteMarket(market.c_str());
    if (quoteMarket == QUOTE_MARKET_NONE)
        return {};
    out += ".0";
    out += static_cast<char>('0' + quoteMarket);
    return out;
}

std::string OrderFormRequest(std::string_view code, bool sell) {
    // A code that may not travel leaves the form blank rather than unopened.
    return OrderOpeningText(OrderOpening::Of(sell, IsPlain(code) ? std::string(code) : std::string()));
}
