// The fund screens' shared request rules.
#include "framework/ui/funds/FundRequests.h"

int GetRequestCount(int rowLimit) {
    return rowLimit < 1 ? 1000 : rowLimit;
}

std::string FundConfirmRequest(std::string_view loginId, std::string_view keptRequest) {
    if (loginId.empty() || keptRequest.empty())
        return {};
    return std::string(loginId).append("&").append(keptRequest);
}

std::vector<std::u16string> SplitConfirmLines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    while (!text.empty()) {
        const size_t end = text.find(u'\n');
        lines.emplace_back(text.substr(0, end));
        if (end == std::u16string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}
