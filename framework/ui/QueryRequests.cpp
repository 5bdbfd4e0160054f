// The trade query request; see the header.
#include "framework/ui/QueryRequests.h"

#include "framework/app/CAppData.h"

#include <algorithm>

namespace {
bool IsPlainFundId(std::string_view value) {
    return std::all_of(value.begin(), value.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.';
    });
}
} // namespace

std::string BuildQueryRequest(std::string_view preset, std::string_view fundId, std::string_view loginId) {
    if (loginId.empty() || !IsPlainFundId(fundId))
        return {};
    std::string out(preset);
    out += "&fundid=";
    out += fundId;
    out += '&';
    out += loginId;
    return out;
}

std::string BuildQueryRequest(std::string_view preset, const CAppData& app) {
    const char* loginId = app.GetLoginId();
    return BuildQueryRequest(preset, app.GetFundIdForMarket(nullptr).view(), loginId ? loginId : "");
}
