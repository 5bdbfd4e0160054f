// The watch-list store "MyQuotes": the user's stocks kept on the device as
// one 8-bit text of items joined by "," and ended by a NUL that is written
// with the text (MyQuotes.dat in the data directory). An item is a stock
// key: the code, a point and the two-digit quote market ("000001.02"), at
// most kMaxItemLength characters; the list order is the display order.
//
// The text rules are free functions so that they are tested without a
// window; the messages a person sees are the callers' (the watch-list
// editor's AddToMyStocks shows one per outcome).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CAppData;

// The data-file name of the store.
inline constexpr const char* kMyQuotesFile = "MyQuotes";
// Longest stock key the store keeps, in characters.
inline constexpr size_t kMaxStockKeyLength = 11;

// Widens a one-digit market: when the text from the point on is exactly a
// point and one character, a "0" is put after the point ("600000.1" gives
// "600000.01"); any other text comes back unchanged.
std::string NormalizeStockCode(std::string_view item);

// True when the item is a key the store may hold: a non-empty code, a
// point, a non-empty market, at most kMaxStockKeyLength characters.
bool IsStoreableStockKey(std::string_view item);

// The items of a store text in order: the text up to its first NUL, split
// at ","; empty items (",," or a trailing ",") are skipped.
std::vector<std::string> ParseMyQuotes(std::string_view text);

// The items joined with separator (the store uses ","; the quote requests
// use "|"). No leading or trailing separator.
std::string JoinMyQuotes(const std::vector<std::string>& items, char separator = ',');

// True when a and b are the same key: equal length and equal ignoring
// ASCII case, after widening both with NormalizeStockCode.
bool SameStockKey(std::string_view a, std::string_view b);

// The stored text (up to its NUL); nullopt when the file is missing or
// unreadable. An existing empty file gives an empty text.
std::optional<std::string> ReadMyQuotes(const CAppData& app);

// Writes the text followed by its NUL; false when the write failed (the
// old file is then intact).
bool WriteMyQuotes(CAppData& app, std::string_view text);

// The outcome of adding one stock to the store.
enum class AddStockOutcome {
    Added,       // the store now ends with the item
    Duplicate,   // the item is stored already; nothing written
    NoMarket,    // the item is not a storeable key (no point, empty code or
                 // market, longer than 11 characters); nothing written
    WriteFailed, // the new text could not be written; the old store stays
};

struct AddStockResult {
    AddStockOutcome outcome = AddStockOutcome::NoMarket;
    std::string item; // the normalised item (shown in the duplicate message)
};

// The store's add rule: normalises the item, refuses an item without a
// market (whatever the store holds, so no bare code is ever stored),
// refuses an item already stored, and otherwise writes the stored items
// followed by the new one (the item alone when the store is missing or
// empty).
AddStockResult AddStockToStore(CAppData& app, std::string_view item);
