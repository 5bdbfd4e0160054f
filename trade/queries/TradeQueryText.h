// What the same-day query tables send and open, as functions of the
// values they carry, so that it is known without a window: the table's
// variant by its menu node, its toolbar, the minute chart's and the order
// form's request texts. A code or market goes into a text only when it is
// what it should be (ASCII letters and digits), so no value adds or
// changes a parameter.
#pragma once

#include <array>
#include <string>
#include <string_view>

// Menu node ids of the server's tree that give the table its actions.
inline constexpr int kTodayOrdersMenuId = 371; // orders, with the row actions
inline constexpr int kCancelMenuId = 372;      // orders that may be cancelled

enum class TradeQueryVariant { Orders, Cancel, Plain };
TradeQueryVariant TradeQueryVariantOf(int menuId);
// The toolbar's three texts: "选项" / "分时" / "返回", "首页" / "撤单" /
// "返回" or "首页" / "确定" / "返回".
std::array<std::u16string_view, 3> TradeQueryToolbar(TradeQueryVariant variant);

// "date=&code=" and the stock key of the code in the trade market ("0" to
// "3", mapped by TradeMarketToQuoteMarket): "date=&code=600000.02"; the
// bare code when the reply has no market column (hasMarket false). Empty
// for a code that is not plain, or a market that maps to none.
std::string MinuteChartRequest(std::string_view code, bool hasMarket, std::string_view tradeMarket);
// The order form's opening text (OrderOpeningText) of code, or without a
// stock when the code is not plain.
std::string OrderFormRequest(std::string_view code, bool sell);
