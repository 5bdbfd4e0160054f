// How a watch-list quote reply is matched to the stored items and how the
// store is rewritten from it, as pure functions of texts and reply keys so
// that they are tested without a window.
//
// The watch list is the user's own data: a reply only ever removes the items
// it found nothing for and widens bare codes into the keys it found, and it
// does so on the store as it is when the reply arrives, so that an edit made
// meanwhile (in the editor, from a chart) survives a late reply. A reply that
// found nothing at all (an empty set, or rows for none of the items) changes
// nothing: it is more likely a server fault than a list of dead stocks.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The key of one reply row: its "code" field and its "exchid" market.
struct WatchReplyKey {
    std::string code;
    int market = 0;

    // "code.%02d": the store's form of the row.
    std::string StoreKey() const;
};

// The reply rows a stored item matches, by row index in reply order. An item
// with a point matches the first row whose "code.%02d" or "code.%d" equals it
// ignoring case; a bare code matches every row whose store key starts with it
// (case-sensitive). An empty item matches nothing.
std::vector<int> MatchWatchItem(std::string_view item, const std::vector<WatchReplyKey>& rows);

struct WatchListMerge {
    // Reply row indices in display order: the sent items' matches in the
    // order of the sent items (a row matched by two items shows twice).
    std::vector<int> rows;
    // The store text to write, or nullopt to leave the store as it is.
    std::optional<std::string> newStore;
};

// Matches the items of sentStore (the store text the request was built
// from) with the reply rows and works out the rewrite of storeNow (the
// store text now): items sent that matched no row are dropped, sent bare
// codes that matched are replaced in place by the keys they matched (a key
// already in the list is not added twice), every other item stays where it
// is. No rewrite when the reply has no row, when no sent item matched, or
// when nothing would change.
WatchListMerge MergeWatchListReply(std::string_view sentStore, const std::vector<WatchReplyKey>& rows,
                                   std::string_view storeNow);

// The new order of a list after moving its checked items one place up
// (towards index 0) or down, as blocks: order[i] is the old index of the
// item now at i. nullopt when nothing moves: no item checked, or the first
// (up) or last (down) item checked. firstMovedTo receives the first position
// an item moved to (the lowest for up, the highest for down).
std::optional<std::vector<int>> MoveCheckedItems(const std::vector<bool>& checked, bool up, int* firstMovedTo);
