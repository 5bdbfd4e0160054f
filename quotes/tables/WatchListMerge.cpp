// Matching watch-list items with reply rows, the store rewrite, block moves.
#include "quotes/tables/WatchListMerge.h"

#include "core/StrUtil.h"
#include "quotes/tables/MyQuotesStore.h"

#include <cstdio>
#include <utility>
#include <strings.h>

namespace {

bool Contains(const std::vector<std::string>& items, std::string_view key) {
    for (const std::string& s : items)
        if (SameStockKey(s, key))
            return true;
    return false;
}

} // namespace

std::string WatchReplyKey::StoreKey() const {
    char market2[16];
    std::snprintf(market2, sizeof market2, "%02d", market);
    return code + "." + market2;
}

std::vector<int> MatchWatchItem(std::string_view item, const std::vector<WatchReplyKey>& rows) {
    std::vector<int> found;
    if (item.empty())
        return found;
    const bool bare = item.find('.') == std::string_view::npos;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const std::string key = rows[i].StoreKey();
        if (bare) {
            if (key.compare(0, item.size(), item) == 0)
                found.push_back(i);
            continue;
        }
        const std::string shortKey = rows[i].code + "." + std::to_string(rows[i].market);
        if (EqualsNoCase(item, key) || EqualsNoCase(item, shortKey)) {
            found.push_back(i);
            break;
        }
    }
    return found;
}

WatchListMerge MergeWatchListReply(std::string_view sentStore, const std::vector<WatchReplyKey>& rows,
                                   std::string_view storeNow) {
    WatchListMerge merge;
    std::vector<std::string> dropped;                      // sent items without a row
    std::vector<std::pair<std::string, std::vector<std::string>>> widened; // bare code -> keys
    bool anyMatch = false;
    for (const std::string& item : ParseMyQuotes(sentStore)) {
        const std::vector<int> found = MatchWatchItem(item, rows);
        merge.rows.insert(merge.rows.end(), found.begin(), found.end());
        if (found.empty()) {
            dropped.push_back(item);
            continue;
        }
        anyMatch = true;
        if (item.find('.') == std::string::npos) {
            std::vector<std::string> keys;
            for (int r : found)
                keys.push_back(rows[r].StoreKey());
            widened.emplace_back(item, std::move(keys));
        }
    }
    // The store text may also hold empty items (",,"): the parse drops them,
    // and a rewrite writes the list without them.
    if (!anyMatch || (dropped.empty() && widened.empty()))
        return merge;

    const std::vector<std::string> now = ParseMyQuotes(storeNow);
    std::vector<std::string> out;
    for (size_t i = 0; i < now.size(); ++i) {
        const std::string& item = now[i];
        bool drop = false;
        for (const std::string& d : dropped)
            drop = drop || EqualsNoCase(item, d);
        if (drop)
            continue;
        const std::vector<std::string>* keys = nullptr;
        for (const auto& [code, k] : widened)
            if (item == code)
                keys = &k;
        if (!keys) {
            out.push_back(item);
            continue;
        }
        for (const std::string& key : *keys) {
            // A key that is stored already, before or after, keeps its own place.
            const std::vector<std::string> later(now.begin() + static_cast<long>(i) + 1, now.end());
            if (!Contains(out, key) && !Contains(later, key))
                out.push_back(key);
        }
    }
    if (out != now)
        merge.newStore = JoinMyQuotes(out);
    return merge;
}

std::optional<std::vector<int>> MoveCheckedItems(const std::vector<bool>& checked, bool up, int* firstMovedTo) {
    const int n = static_cast<int>(checked.size());
    bool any = false;
    for (bool c : checked)
        any = any || c;
    if (!any || (up && checked.front()) || (!up && checked.back()))
        return std::nullopt;
    std::vector<int> order(n);
    std::vector<bool> mark = checked;
    for (int i = 0; i < n; ++i)
        order[i] = i;
    int first = -1;
    if (up) {
        for (int i = 1; i < n; ++i) {
            if (!mark[i])
                continue;
            std::swap(order[i], order[i - 1]);
            mark.swap(mark[i], mark[i - 1]);
            if (first < 0)
                first = i - 1;
        }
    } else {
        for (int i = n - 2; i >= 0; --i) {
            if (!mark[i])
                continue;
            std::swap(order[i], order[i + 1]);
            mark.swap(mark[i], mark[i + 1]);
            if (first < 0)
                first = i + 1;
        }
    }
    if (firstMovedTo)
        *firstMovedTo = first;
    return order;
}
