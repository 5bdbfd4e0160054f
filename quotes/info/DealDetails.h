// The deal page's pure parts: the paging cursors over the rows shown, the
// request built from them, the reply's deals as rows, and how a page of
// deals merges with the rows shown. The window (CStockDealDetailWnd) keeps
// the grid; everything here is tested without one.
//
// Paging works by time: the server is asked for the deals before the top
// row's minute (older, direct 1) or after the bottom row's minute (newer,
// direct 0), with an offset telling how many deals of that minute the table
// shows already. A table with no time asks for the latest deals, newest
// first.
#pragma once

#include "core/CQuoteNumber.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CDataSet;

// The page's direction: what its next request asks for.
enum class DealDirection : int {
    Refresh = -1, // the newest deals after the bottom row
    Newer = 0,    // the page after the bottom row
    Older = 1,    // the page before the top row
};

// The times (hhmm) and counts of the rows at the top and the bottom that
// share the first and the last row's minute.
struct DealCursors {
    int topTime = 0;
    int topCount = 0;
    int bottomTime = 0;
    int bottomCount = 0;
};
// The cursors of rows shown with these times, top first. A time of 0 is
// skipped while no time has been found yet; no rows give all 0.
DealCursors ComputeDealCursors(const std::vector<int>& rowTimes);

// "hh:mm" -> hh × 100 + mm; 0 for a text without ":".
int DealRowTime(std::u16string_view text);
// tm (hhmm) as "%02d:%02d".
std::u16string DealTimeText(int tm);

// One request: the time and offset from the cursors, the direct sent and
// the direction the page keeps afterwards.
struct DealRequest {
    std::string text;               // empty: nothing may be sent
    int time = 0, offset = 0, direct = 0;
    DealDirection kept = DealDirection::Refresh;
};
// "tc_mfuncno=31000&tc_sfuncno=9&code=&date=&time=&offset=&direct=&count=".
// Older pages start at the top cursor, the others at the bottom one with
// direct 0; a time of 0 asks for the latest deals (offset 0, direct 1) and
// the page then keeps direction Older. Empty text when the code or the date
// is refused (letters, digits and "." only).
DealRequest MakeDealRequest(std::string_view code, std::string_view date, const DealCursors& cursors,
                            DealDirection direction, int count);

// The colours of the deal rows (0x00BBGGRR).
struct DealPalette {
    std::uint32_t rise = 0x2626FF;   // palette 15, also "B"
    std::uint32_t fall = 0x17FF17;   // palette 16, also "S"
    std::uint32_t flat = 0xFFFFFF;   // palette 17
    std::uint32_t volume = 0x00FFFF; // palette 28
    std::uint32_t plain = 0xFFFFFF;  // times and "-"
};

struct DealCell {
    std::u16string text;
    std::uint32_t color = 0xFFFFFF;
};
using DealRow = std::array<DealCell, 4>;

// The deals of set ("tm", "zjcj", "cjsl", "direct") as rows in the order
// they are shown: for an older page from the last record to the first,
// else from the first to the last. Prices are coloured against prevClose
// (flat when it is unknown); a direction byte other than 0, 1 or 2 shows "-".
std::vector<DealRow> DealRowsOf(CDataSet& set, const std::optional<CQuoteNumber>& prevClose, bool older,
                                const DealPalette& palette);

// The rows to show after a page came: an older page replaces the rows (an
// empty one keeps them); the others are appended. Either way at most limit
// rows remain (no limit when limit < 1), the newest kept.
std::vector<DealRow> MergeDealRows(std::vector<DealRow> shown, std::vector<DealRow> page, bool older, int limit);

// The page's caption: name, " ", code, " ", "成交明细"; the code alone
// before " 成交明细" without a name.
std::u16string DealCaption(std::u16string_view name, std::u16string_view code);
