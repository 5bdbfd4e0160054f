// The pure parts the fund screens share with their neighbours: how many rows
// a paged query asks for, the confirmation page's request text and its
// lines. Free functions, so that what can reach the server is known without
// a window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The count a paged query asks for: the table's row limit, or 1000 when the
// limit is below 1 (a table without one).
int GetRequestCount(int rowLimit);

// The confirmation page's request: the trade login id, "&" and the kept
// request. Empty, so nothing is sent, without a login id or a kept request.
std::string FundConfirmRequest(std::string_view loginId, std::string_view keptRequest);

// The lines of a confirmation text split at "\n"; an empty last line (the
// text ended with "\n") is dropped.
std::vector<std::u16string> SplitConfirmLines(std::u16string_view text);
