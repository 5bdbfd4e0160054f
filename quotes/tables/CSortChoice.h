// The choice the ranking sort form hands to the ranking table with
// WND_MSG_PARAMS_CHOSEN: allocated with new by the form, deleted by the
// table that receives it, or by the loop (FreeSortChoice) when the table is
// gone. The table takes a code only when it may travel in a request
// (QuoteRequests.h).
#pragma once

#include "platform/win/Message.h"

#include <cstdint>
#include <string>

struct CSortChoice {
    // Longest code a choice carries, in bytes: the server's codes fit a
    // 10-byte field with its terminator, so a longer value is never carried.
    static constexpr size_t kMaxCodeLength = 9;

    std::string market;   // "market" group code; empty: keep the current one
    std::string category; // "type" group code (sent as "class")
    std::string field;    // "sort" group code (sent as "type")
    int32_t direction = 1; // 0 ascending "正序", 1 descending "逆序", −1 none chosen
};

// Frees the choice of a WND_MSG_PARAMS_CHOSEN message whose receiver is gone.
inline void FreeSortChoice(LPARAM lParam) {
    delete reinterpret_cast<CSortChoice*>(lParam);
}
