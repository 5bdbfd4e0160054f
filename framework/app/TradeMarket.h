// The one mapping from a trade (shareholder) market code to a quote market,
// so that every trade window builds stock keys ("000001.02") alike.
#pragma once

// Quote markets of stock keys.
enum : int { QUOTE_MARKET_NONE = 0, QUOTE_MARKET_SHENZHEN = 1, QUOTE_MARKET_SHANGHAI = 2 };

// "0" (Shenzhen A) and "2" (Shenzhen B) give 1, "1" (Shanghai A) and "3"
// (Shanghai B) give 2; anything else, null included, gives 0.
int TradeMarketToQuoteMarket(const char* tradeMarket);
