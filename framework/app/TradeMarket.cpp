// Trade market to quote market.
#include "framework/app/TradeMarket.h"

int TradeMarketToQuoteMarket(const char* tradeMarket) {
    if (tradeMarket == nullptr || tradeMarket[0] == '\0' || tradeMarket[1] != '\0') {
        return QUOTE_MARKET_NONE;
    }
    switch (tradeMarket[0]) {
    case '0':
    case '2': return QUOTE_MARKET_SHENZHEN;
    case '1':
    case '3': return QUOTE_MARKET_SHANGHAI;
    default: return QUOTE_MARKET_NONE;
    }
}
