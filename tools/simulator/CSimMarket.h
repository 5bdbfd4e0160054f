// The simulated market behind the quote functions: a fixed, deterministic
// list of A shares, funds and B shares of both exchanges (invented names),
// the domestic, Hong Kong and world indices, and the sectors. Each day's
// figures are derived from a previous close and a change in basis points,
// so every run shows the same rises, falls, a flat stock, a stock that has
// not opened (open 0) and fields the server does not know (the packed
// missing marker). What the stocks show is their day up to the market's
// clock (SetNow, SimMarketDay.h): every route reads the same values.
// Every price lies on its security's tick: 0.01 for A shares and indices,
// 0.001 for funds and B shares.
//
// Quote fields travel by number (the "field=4|3|16|..." lists of the
// requests); AddFieldColumns and WriteFieldRow turn a list into columns and
// rows, so a new quote function is a route that picks stocks and calls them.
#pragma once

#include "core/CDataSetWriter.h"
#include "tools/simulator/SimMarketDay.h"
#include "tools/simulator/SimStock.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct SimSector {
    std::string kind;          // sector kind as the menu tree names it ("hy", "gn", "dq")
    std::string code;          // "HY01"
    std::u16string name;
};

// One row of the world-index table (its columns come from the reply).
struct SimWorldIndex {
    std::u16string name;
    std::u16string area;
    double last = 0, change = 0, changePct = 0, open = 0, prevClose = 0, high = 0, low = 0;
    double weekPct = 0, monthPct = 0, yearPct = 0; // changes over five days, a month, the year; percent
    std::string code;          // the market's own key of the index, when it quotes it ("100100.03")
};

class CSimMarket {
public:
    // The marker of a value the server does not know.
    static constexpr double kMissing = kSimMissing;

    CSimMarket();

    // Moves every stock to the clock: its day's path up to the minute shown.
    // Until the first call the market shows its whole day.
    void SetNow(int64_t nowMs);
    const SimMarketTime& Now() const { return m_now; }

    // The stocks as the clock shows them.
    const std::vector<SimStock>& Stocks() const;
    const std::vector<SimSector>& Sectors() const { return m_sectors; }
    const std::vector<SimWorldIndex>& WorldIndices() const { return m_world; }

    // The stock or index of a key "600010.02" / "600010.2", or of a bare
    // code (the first one with that code); null when unknown.
    const SimStock* Find(std::string_view key) const;
    // The stock's definition (its whole day), to change in a test; what the
    // stocks show follows it.
    SimStock* FindMutable(std::string_view key);
    // The members of a sector, in list order.
    std::vector<const SimStock*> SectorMembers(std::string_view sectorCode) const;
    // Stocks whose pinyin initials start with the pattern (ignoring case).
    std::vector<const SimStock*> SearchPinyin(std::string_view pattern) const;

    // Holds a stock's last price at a value, rounded to its tick (and high
    // and low around it), whatever the clock; false when unknown.
    bool SetLast(std::string_view key, double last);
    // The type of a listed (non-index) code of a market: B shares 900xxx
    // (Shanghai) and 200xxx (Shenzhen); funds 50xxxx and 51xxxx
    // (Shanghai), 15xxxx and 16xxxx (Shenzhen); A shares otherwise.
    static int TypeOfCode(std::string_view code, int market);

    // Adds one column per field number of "4|3|16|..." to the writer's
    // current set; unknown numbers get an 8-bit text column "f<n>" left empty.
    static void AddFieldColumns(CDataSetWriter& writer, const std::vector<int>& fields);
    // Appends the stock's row for those fields.
    static void WriteFieldRow(CDataSetWriter& writer, const std::vector<int>& fields, const SimStock& stock);
    // "4|3|16" -> {4, 3, 16}; items that are not numbers are skipped, and
    // numbers past the first kMaxFields are dropped, so that a long list
    // from the peer cannot make a reply of gigabytes (every row holds
    // every field).
    static std::vector<int> ParseFieldList(std::string_view text);
    static constexpr size_t kMaxFields = 128;

private:
    // A listed security; its type follows from its code (TypeOfCode).
    void AddStock(const char* code, int market, const char16_t* name, const char* pinyin,
                  double prevClose, int changeBp, double volume, const char* sectors);
    void Add(const char* code, int market, int secType, const char16_t* name, const char* pinyin,
             double prevClose, int changeBp, double volume, const char* sectors);
    void AddIndex(const char* code, int market, const char16_t* name, double prevClose, int changeBp,
                  double volume);

    // The index of the stock of a key; -1 when unknown.
    int IndexOf(std::string_view key) const;
    void Refresh() const;

    std::vector<SimStock> m_days;           // the definitions
    mutable std::vector<SimStock> m_stocks; // as the clock shows them, same order
    mutable bool m_stale = true;
    std::vector<std::pair<size_t, double>> m_held; // SetLast's prices
    SimMarketTime m_now{0, 0, 0, 2400};
    std::vector<SimSector> m_sectors;
    std::vector<SimWorldIndex> m_world;
};
