// The request texts of the quote tables and the watch-list editor, and the
// texts they open a stock's windows with, as functions of the values they
// carry, so that what can reach the server is known without a window.
//
// Each returns the whole text, built by appending (no length cap cuts a long
// preset or watch list short), or an empty text when a value is refused. A
// value from the user, a reply or a menu node travels only when it is what
// it should be: ASCII letters, digits and "." (a code, a key, a group code),
// letters and digits alone for what the user types. "&", "=" and "%" never
// get in, so no value adds or changes a parameter.
#pragma once

#include "core/FunctionNumbers.h"

#include <string>
#include <string_view>
#include <vector>

// The quote request that watch lists, code searches and the detail quote
// start from.
inline constexpr std::string_view kQuoteRequest = kRequestHead<kFuncQuoteFields>;
// The pinyin search's function numbers: its text carries none, the window
// posts them.
inline constexpr int kPinyinSearchMain = kFuncPinyinSearch.main;
inline constexpr int kPinyinSearchSub = kFuncPinyinSearch.sub;
// The editor's fields: name, code, market.
inline constexpr std::string_view kEditorFields = "4|3|1";

// True when value may travel as a parameter value: not empty, ASCII letters,
// digits and "." only.
bool IsRequestValue(std::string_view value);
// True when a typed text may be searched: not empty, ASCII letters and
// digits only.
bool IsSearchableText(std::u16string_view typed);
// True when a typed text is searched by pinyin initials: two or more ASCII
// letters and nothing else.
bool IsPinyinText(std::u16string_view typed);

// One page of a ranking.
struct RankingPage {
    std::string_view market;   // "market" group code
    std::string_view category; // "type" group code, sent as "class"
    std::string_view field;    // "sort" group code, sent as "type"
    int direction = 1;         // 0 ascending, 1 descending
    int offset = 0;            // the page's first row number
    int count = 0;             // rows per page
};
// preset, then "&market=&class=&type=&direct=&offset=&count=" of page and
// "&field=" with the table fields; empty when a code is refused.
std::string RankingPageRequest(std::string_view preset, const RankingPage& page);

// The members of one sector: preset (the menu node's request, naming the
// sector) and "&field=" with the table fields; empty without a preset.
std::string SectorMembersRequest(std::string_view preset);

// The items that may travel in a watch-list request, in their order.
std::vector<std::string> QuotableItems(const std::vector<std::string>& items);
// preset (kQuoteRequest when empty), then "&count=", "&code=" with the items
// joined by "|", and "&field=" fields; empty when there is no item or an
// item is refused.
std::string WatchListQuoteRequest(const std::vector<std::string>& items, std::string_view fields,
                                  std::string_view preset = kQuoteRequest);

// "type=2&pattern=" and typed in upper case; empty unless IsPinyinText.
std::string PinyinSearchRequest(std::u16string_view typed);
// kQuoteRequest, "&count=1&code=" typed and "&field=" kEditorFields; empty
// unless IsSearchableText.
std::string CodeSearchRequest(std::u16string_view typed);

// "code=" key: the K-line's request and the detail quote's parameter text;
// empty for a refused key.
std::string StockCodeParam(std::string_view key);
// "date=&code=" key: the minute chart's request; empty for a refused key.
std::string MinuteChartRequest(std::string_view key);
// The order form's opening text (OrderOpeningText) with no stock; with one,
// of its code, and empty for a refused or empty code.
std::string OrderRequest(bool sell);
std::string OrderRequest(bool sell, std::string_view code);
