// The detail quote page's pure parts: its request, the reply row read into a
// model, the sixteen rows of four cells with their colours, and the texts it
// opens other windows with. Drawing and the window stay in
// CStockDetaiPriceWnd; everything here is tested without one.
//
// A value shown is "-" when it cannot be told: a stock not traded today
// (open 0), a value the server marks missing (999999999), and any sum or
// ratio with such a value, or a percentage over a previous close of 0.
#pragma once

#include "core/CQuoteNumber.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CDataSet;

// The detail page's reply fields, in the column order the page reads.
inline constexpr std::string_view kDetailFields =
    "1|2|3|4|11|13|14|15|16|17|18|32|29|30|50|51|52|53|54|55|56|57|58|59|70|71|72|73|74|75|76|77|78|79";
inline constexpr int kDetailColumns = 34;
// The page's code before its opener names one.
inline constexpr std::u16string_view kDetailInitialCode = u"1A0001";
// Quote security type of an index, and the Hong Kong quote market.
inline constexpr int kIndexType = 2;
inline constexpr int kHongKongMarket = 3;

// True when a and b name the same stock: equal ignoring ASCII case.
bool SameStockCode(std::u16string_view a, std::u16string_view b);

// preset with "code" set to key (replaced in place or appended), then
// "&field=" kDetailFields; empty when the key is refused (QuoteRequests.h).
std::string DetailQuoteRequest(std::string_view preset, std::string_view key);

// A price or count as shown: its text and number; known is false for the
// missing marker.
struct DetailValue {
    CQuoteNumber number;
    std::u16string text;
    bool known = false;
};

// One level of the book: price and volume in shares.
struct DetailLevel {
    DetailValue price;
    std::int32_t volume = 0; // shares
};

// The first row of a detail reply.
struct DetailQuote {
    int market = 0;
    int type = 0;
    std::string key;          // code, "." and two-digit market ("600000.01")
    std::u16string name;
    DetailValue prevClose, open, high, low, last, average, orderRatio;
    std::u16string volume;    // 总手, with its unit word
    std::u16string amount;    // 金额, with its unit word
    std::u16string volumeRatio;
    bool volumeKnown = false, amountKnown = false, volumeRatioKnown = false;
    std::array<DetailLevel, 5> bids; // level 1 first
    std::array<DetailLevel, 5> asks; // level 1 first
};

// The model of the set's first row (the cursor moves there); nullopt when
// the set has no row. A code
// without "." gets "." and the market with two digits. Prices show without
// a unit word, counts with theirs.
std::optional<DetailQuote> ReadDetailQuote(CDataSet& set);

// The colours the rows use (0x00BBGGRR).
struct DetailPalette {
    std::uint32_t rise = 0x2626FF;   // palette 15
    std::uint32_t fall = 0x17FF17;   // palette 16
    std::uint32_t flat = 0xFFFFFF;   // palette 17
    std::uint32_t volume = 0x00FFFF; // palette 28
    std::uint32_t label = 0xFFFFFF;  // labels and values without a comparison
};

struct DetailCell {
    std::u16string text;
    std::uint32_t color = 0xFFFFFF;
};
using DetailRow = std::array<DetailCell, 4>;

// Six rows of (label, value, label, value), then for a security that is not
// an index the ten level rows, asks 5 to 1 then bids 1 to 5 (label, price,
// empty, volume in lots of 100 shares).
std::vector<DetailRow> DetailRows(const DetailQuote& quote, const DetailPalette& palette);

// What the page's buy and sell commands do.
enum class DetailOrderStep {
    Nothing,     // no quote shown yet, or a code that may not travel
    RefuseIndex, // "大盘指数不能买卖！"
    Open,        // open the order form with the request
};
struct DetailOrder {
    DetailOrderStep step = DetailOrderStep::Nothing;
    std::u16string title;  // "买入 <name>" or "卖出 <name>"
    std::string request;   // the order form's request text
};
// The order form for quote (null: none shown yet): its opening with the
// key, market and type, and the last price unless not traded today or
// missing.
DetailOrder DetailOrderFor(const DetailQuote* quote, bool sell);
