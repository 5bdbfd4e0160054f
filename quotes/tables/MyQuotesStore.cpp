// The watch-list store's text rules and its one write operation.
#include "quotes/tables/MyQuotesStore.h"

#include "core/StrUtil.h"
#include "framework/app/CAppData.h"

#include <algorithm>
#include <cstring>


std::string NormalizeStockCode(std::string_view item) {
    std::string out(item);
    size_t point = out.find('.');
    if (point != std::string::npos && out.size() - point == 2) {
        out.insert(point + 1, 1, '0');
    }
    return out;
}

bool IsStoreableStockKey(std::string_view item) {
    size_t point = item.find('.');
    return point != std::string_view::npos && point > 0 && point + 1 < item.size() &&
           item.size() <= kMaxStockKeyLength && item.find(',') == std::string_view::npos;
}

std::vector<std::string> ParseMyQuotes(std::string_view text) {
    size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        size_t end = comma == std::string_view::npos ? text.size() : comma;
        if (end > start) {
            items.emplace_back(text.substr(start, end - start));
        }
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return items;
}

std::string JoinMyQuotes(const std::vector<std::string>& items, char separator) {
    std::string out;
    for (const std::string& item : items) {
        if (!out.empty()) {
            out.push_back(separator);
        }
        out += item;
    }
    return out;
}

bool SameStockKey(std::string_view a, std::string_view b) {
    return EqualsNoCase(NormalizeStockCode(a), NormalizeStockCode(b));
}

std::optional<std::string> ReadMyQuotes(const CAppData& app) {
    std::optional<std::vector<uint8_t>> bytes = app.ReadDatFile(kMyQuotesFile);
    if (!bytes) {
        return std::nullopt;
    }
    std::string text(bytes->begin(), bytes->end());
    size_t nul = text.find('\0');
    if (nul != std::string::npos) {
        text.resize(nul);
    }
    return text;
}

bool WriteMyQuotes(CAppData& app, std::string_view text) {
    // The NUL travels with the text, as the stored form has always had it.
    std::string bytes(text);
    bytes.push_back('\0');
    return app.WriteDatFile(kMyQuotesFile, bytes.data(), bytes.size());
}

AddStockResult AddStockToStore(CAppData& app, std::string_view item) {
    AddStockResult result;
    result.item = NormalizeStockCode(item);
    if (!IsStoreableStockKey(result.item)) {
        result.outcome = AddStockOutcome::NoMarket;
        return result;
    }
    std::vector<std::string> items = ParseMyQuotes(ReadMyQuotes(app).value_or(std::string()));
    bool stored = std::any_of(items.begin(), items.end(),
                              [&](const std::string& s) { return SameStockKey(s, result.item); });
    if (stored) {
        result.outcome = AddStockOutcome::Duplicate;
        return result;
    }
    items.push_back(result.item);
    result.outcome = WriteMyQuotes(app, JoinMyQuotes(items)) ? AddStockOutcome::Added
                                                            : AddStockOutcome::WriteFailed;
    return result;
}
